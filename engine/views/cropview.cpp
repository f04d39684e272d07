#include "engine/views/cropview.h"

#include "engine/core/geometry.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/samplers.h"
#include "engine/core/tasks.h"
#include "engine/core/textures.h"
#include "engine/filters/filterframe.h"
#include "engine/views/viewarea.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#ifdef MP_FILTERS_X86
#include <immintrin.h>
#endif

using mp_views::Area;

namespace {

// Where the bilinear samples of the geometry view's area columns read: the
// offsets of their two source columns in a row (3 values per pixel) and the
// weight of the right one, one array each.
struct ColumnTaps {
    const int* o0 = nullptr;
    const int* o1 = nullptr;
    const int* fx = nullptr;
};

// What the bands of one view read. Band ranges count rows from `first`.
struct ViewArgs {
    Area area;
    int first = 0;
    int viewW = 0;
    int srcW = 0, srcH = 0;
    const uint16_t* src = nullptr;
    uint32_t* out = nullptr;
    // crop view
    int cl = 0, cr = 0, ct = 0, cb = 0;
    // geometry view
    bool masks = false;
    int g = 0;
    const MP_Params* params = nullptr;
    ColumnTaps columns; // per area column
};

// The geometry view's column taps (three arrays in one block), grown when a
// wider view needs more.
int* s_columnTaps = nullptr;
size_t s_columnTapsSize = 0;

bool growColumnTaps(size_t columns)
{
    if (3 * columns <= s_columnTapsSize)
        return true;
    auto* p = static_cast<int*>(std::malloc(3 * columns * sizeof(int)));
    if (!p)
        return false;
    std::free(s_columnTaps);
    s_columnTaps = p;
    s_columnTapsSize = 3 * columns;
    return true;
}

struct ShadowArgs {
    uint16_t* image = nullptr;
    const uint16_t* mask = nullptr;
    int imageW = 0, maskW = 0, maskH = 0;
    int x0 = 0, x1 = 0, y0 = 0;
    int cropLeft = 0, cropTop = 0;
};

// The arguments of a view that shows the whole source fitted into it.
ViewArgs fittedView(int viewW, int viewH, int srcW, int srcH, const uint16_t* src, uint32_t* out)
{
    ViewArgs args;
    args.area = mp_views::fitArea(viewW, viewH, srcW, srcH);
    args.first = args.area.top;
    args.viewW = viewW;
    args.srcW = srcW;
    args.srcH = srcH;
    args.src = src;
    args.out = out;
    return args;
}

void run(MP_TaskFunc fn, const void* args, int rows)
{
    if (rows > 0)
        MP_runSinglePass(fn, MP_makeTask(nullptr, args), rows);
}

float saneFraction(float v)
{
    if (!std::isfinite(v))
        return 0.0f;
    return v < -4.0f ? -4.0f : (v > 4.0f ? 4.0f : v);
}

void storeOutputs(float* l, float* t, float* r, float* b, float vl, float vt, float vr, float vb)
{
    if (l)
        *l = vl;
    if (t)
        *t = vt;
    if (r)
        *r = vr;
    if (b)
        *b = vb;
}

// Rows [start, end) of a band, in view rows.
template <typename RowFn>
void forBandRows(const TaskFuncParams& p, const ViewArgs& a, RowFn&& row)
{
    const int end = a.first + MP_taskEnd(p);
    for (int y = a.first + MP_taskStart(p); y < end; ++y)
        row(y, a.out + static_cast<size_t>(y) * static_cast<size_t>(a.viewW));
}

// Sample position of area pixel (c, r) for the texture and geometry views.
inline float sampleX(const ViewArgs& a, int c)
{
    return static_cast<float>(c) * (static_cast<float>(a.srcW) / static_cast<float>(a.area.width() + 1));
}
inline float sampleY(const ViewArgs& a, int r)
{
    return static_cast<float>(r) / static_cast<float>(a.area.height() + 1) * static_cast<float>(a.srcH);
}

} // namespace

void MP_task_previewCropView(TaskFuncParams p)
{
    const ViewArgs& a = *MP_taskArgs<const ViewArgs>(p);
    const float aw = static_cast<float>(a.area.width()), ah = static_cast<float>(a.area.height());
    forBandRows(p, a, [&](int y, uint32_t* out) {
        int sy = static_cast<int>(static_cast<float>(y - a.area.top) / ah * static_cast<float>(a.srcH));
        sy = MP_iclamp(sy, 0, a.srcH - 1);
        const uint16_t* srcRow = a.src + static_cast<size_t>(sy) * static_cast<size_t>(a.srcW) * 3;
        const bool rowInside = a.ct < y && y < a.cb;
        for (int x = a.area.left; x < a.area.right; ++x) {
            int sx = static_cast<int>(static_cast<float>(x - a.area.left) / aw * static_cast<float>(a.srcW));
            sx = MP_iclamp(sx, 0, a.srcW - 1);
            const uint16_t* px = srcRow + static_cast<size_t>(sx) * 3;
            const uint32_t R = px[0] >> 8, G = px[1] >> 8, B = px[2] >> 8;
            if (rowInside && a.cl < x && x < a.cr) {
                out[x] = mp_views::opaque(R, G, B);
            } else {
                const uint32_t v = (((R + 2 * G + B) >> 2) + 32) >> 1;
                out[x] = mp_views::opaque(v, v, v);
            }
        }
    });
}

int MP_UI_previewCropView(int viewWidth, int viewHeight, unsigned int* argbOut, int srcWidth, int srcHeight,
                          const unsigned short* src, float cropLeft, float cropTop, float cropRight, float cropBottom,
                          float* outLeft, float* outTop, float* outRight, float* outBottom)
{
    if (!argbOut || !src || viewWidth <= 0 || viewHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) {
        storeOutputs(outLeft, outTop, outRight, outBottom, -1.0f, -1.0f, -1.0f, -1.0f);
        return 0;
    }
    ViewArgs args = fittedView(viewWidth, viewHeight, srcWidth, srcHeight, src, argbOut);
    const Area a = args.area;
    const float vw = static_cast<float>(viewWidth), vh = static_cast<float>(viewHeight);
    storeOutputs(outLeft, outTop, outRight, outBottom, static_cast<float>(a.left) / vw, static_cast<float>(a.top) / vh,
                 static_cast<float>(a.right) / vw, static_cast<float>(a.bottom) / vh);
    if (outLeft && outTop && outRight)
        return 1; // measuring only

    const uint32_t bg = mp_views::backgroundPixel();
    const size_t n = static_cast<size_t>(viewWidth) * static_cast<size_t>(viewHeight);
    for (size_t i = 0; i < n; ++i)
        argbOut[i] = bg;
    if (a.empty())
        return 1;

    const float aw1 = static_cast<float>(a.width() - 1), ah1 = static_cast<float>(a.height() - 1);
    cropLeft = saneFraction(cropLeft);
    cropTop = saneFraction(cropTop);
    cropRight = saneFraction(cropRight);
    cropBottom = saneFraction(cropBottom);
    args.cl = a.left + MP_f2int(aw1 * cropLeft) - (cropLeft >= 0.5f ? 1 : 0);
    args.cr = a.left + MP_f2int(aw1 * cropRight) + (cropRight <= 0.5f ? 1 : 0);
    args.ct = a.top + MP_f2int(ah1 * cropTop) - (cropTop >= 0.5f ? 1 : 0);
    args.cb = a.top + MP_f2int(ah1 * cropBottom) + (cropBottom <= 0.5f ? 1 : 0);
    run(MP_task_previewCropView, &args, a.height());
    return 1;
}

void MP_task_calcCropViewShadowedText(TaskFuncParams p)
{
    const ShadowArgs& a = *MP_taskArgs<const ShadowArgs>(p);
    const int end = a.y0 + MP_taskEnd(p);
    for (int y = a.y0 + MP_taskStart(p); y < end; ++y) {
        const int my = y - a.cropTop;
        const int r0 = my - 5 > 0 ? my - 5 : 0;
        const int r1 = my + 5 < a.maskH - 1 ? my + 5 : a.maskH - 1;
        for (int x = a.x0; x < a.x1; ++x) {
            const int mx = x - a.cropLeft;
            if (mx < 0 || my < 0 || mx >= a.maskW || my >= a.maskH)
                continue;
            if (a.mask[(static_cast<size_t>(my) * static_cast<size_t>(a.maskW) + static_cast<size_t>(mx)) * 3] != 0)
                continue;
            const int c0 = mx - 5 > 0 ? mx - 5 : 0;
            const int c1 = mx + 5 < a.maskW - 1 ? mx + 5 : a.maskW - 1;
            const int area = (r1 - r0 + 1) * (c1 - c0 + 1);
            if (area <= 0)
                continue;
            int set = 0;
            for (int wy = r0; wy <= r1; ++wy) {
                const uint16_t* m = a.mask + (static_cast<size_t>(wy) * static_cast<size_t>(a.maskW)) * 3;
                for (int wx = c0; wx <= c1; ++wx)
                    set += m[static_cast<size_t>(wx) * 3] != 0;
            }
            const uint32_t f = static_cast<uint32_t>(static_cast<float>(area - set) / static_cast<float>(area) * 256.0f);
            uint16_t* px = a.image + (static_cast<size_t>(y) * static_cast<size_t>(a.imageW) + static_cast<size_t>(x)) * 3;
            for (int ch = 0; ch < 3; ++ch)
                px[ch] = static_cast<uint16_t>((px[ch] * f) >> 8);
        }
    }
}

void MP_UI_calcCropViewShadowedText(unsigned short* image, const unsigned short* mask, int imageWidth, int maskWidth,
                                    int maskHeight, int boxLeft, int boxRight, int boxTop, int boxBottom, int cropLeft,
                                    int cropRight, int cropTop, int cropBottom)
{
    if (!image || !mask || imageWidth <= 0 || maskWidth <= 0 || maskHeight <= 0)
        return;
    auto clamp = [](int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); };
    ShadowArgs a;
    a.image = image;
    a.mask = mask;
    a.imageW = imageWidth;
    a.maskW = maskWidth;
    a.maskH = maskHeight;
    a.cropLeft = cropLeft;
    a.cropTop = cropTop;
    a.x0 = clamp(boxLeft - 5, cropLeft, cropRight);
    a.x1 = clamp(boxRight + 5, cropLeft, cropRight);
    a.y0 = clamp(boxTop - 5, cropTop, cropBottom);
    const int y1 = clamp(boxBottom + 5, cropTop, cropBottom);
    if (a.x1 > a.x0)
        run(MP_task_calcCropViewShadowedText, &a, y1 - a.y0);
}

void MP_task_previewTextureView(TaskFuncParams p)
{
    const ViewArgs& a = *MP_taskArgs<const ViewArgs>(p);
    forBandRows(p, a, [&](int y, uint32_t* out) {
        const float fy = sampleY(a, y - a.area.top);
        for (int x = a.area.left; x < a.area.right; ++x) {
            const uint32_t v =
                static_cast<uint32_t>(MP_tex2D16intBilinearGreenToInt(a.srcW, a.srcH, a.src, sampleX(a, x - a.area.left), fy)) >> 8;
            out[x] = mp_views::opaque(v, v, v);
        }
    });
}

int MP_UI_previewTextureView(int viewWidth, int viewHeight, unsigned int* argbOut, int slot)
{
    const uint16_t* tex = MP_UI_GetTexturePointer(slot);
    const int tw = MP_UI_GetTextureSizeX(slot), th = MP_UI_GetTextureSizeY(slot);
    if (!argbOut || !tex || tw <= 0 || th <= 0 || viewWidth <= 0 || viewHeight <= 0)
        return 0;
    ViewArgs args = fittedView(viewWidth, viewHeight, tw, th, tex, argbOut);
    mp_views::fillOutside(argbOut, viewWidth, viewHeight, args.area, mp_views::backgroundPixel());
    if (!args.area.empty())
        run(MP_task_previewTextureView, &args, args.area.height());
    return 1;
}

namespace {

// Pixels of a geometry view row handled together: their mask opacities come
// from one call, set by set.
constexpr int kGeometryRun = 256;
// Pixels the vectorised path samples together, and the source values it
// mixes vertically for them at most; a block reaching wider (a view more
// than 21 times smaller than the source) is sampled pixel by pixel.
constexpr int kSampleBlock = 64;
constexpr int kVerticalMax = 4096;

// The two source rows of a view row and the weight of the lower one.
struct SourceRows {
    const uint16_t* row0;
    const uint16_t* row1;
    int fy;
};

// The pixel of an area column: the bilinear sample of the clamped sampler,
// without masks its top 8 bits, with them (A + (256 - g) v) >> 17 with
// A = int(opacity x 65535) g (0 when no set is active).
struct GeometryPixel {
    bool masks;
    bool anyActive;
    uint32_t g, keep;
};

inline void geometryPixels(const ViewArgs& a, const GeometryPixel& px, const SourceRows& s, int c0, int n,
                           const float* opacity, uint32_t* out)
{
    for (int i = 0; i < n; ++i) {
        const int c = c0 + i;
        const int o0 = a.columns.o0[c], o1 = a.columns.o1[c], fx = a.columns.fx[c];
        uint32_t ch[3];
        for (int k = 0; k < 3; ++k) {
            const int left = (s.fy * s.row1[o0 + k] + (16384 - s.fy) * s.row0[o0 + k]) >> 14;
            const int right = (s.fy * s.row1[o1 + k] + (16384 - s.fy) * s.row0[o1 + k]) >> 14;
            ch[k] = static_cast<uint32_t>((fx * right + (16384 - fx) * left) >> 14);
        }
        if (!px.masks) {
            for (int k = 0; k < 3; ++k)
                ch[k] >>= 8;
        } else {
            const uint32_t A = px.anyActive ? static_cast<uint32_t>(static_cast<int>(opacity[i] * 65535.0f)) * px.g : 0;
            for (int k = 0; k < 3; ++k)
                ch[k] = (A + px.keep * ch[k]) >> 17;
        }
        out[i] = mp_views::opaque(ch[0], ch[1], ch[2]);
    }
}

#ifdef MP_FILTERS_X86
// The three vertically mixed values at offsets idx[0..7] of `vertical`, as
// one vector per channel: four values from each offset (the fourth is not
// used), two pixels per load pair, transposed.
__attribute__((target("avx2"))) inline void loadTriples(const int* vertical, const int* idx, __m256i ch[3])
{
    __m256i q[4];
    for (int k = 0; k < 4; ++k)
        q[k] = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(vertical + idx[k]))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(vertical + idx[k + 4])), 1);
    const __m256i rg01 = _mm256_unpacklo_epi32(q[0], q[1]); // R0 R1 G0 G1 | R4 R5 G4 G5
    const __m256i b01 = _mm256_unpackhi_epi32(q[0], q[1]);  // B0 B1 .. .. | B4 B5 .. ..
    const __m256i rg23 = _mm256_unpacklo_epi32(q[2], q[3]);
    const __m256i b23 = _mm256_unpackhi_epi32(q[2], q[3]);
    ch[0] = _mm256_unpacklo_epi64(rg01, rg23);
    ch[1] = _mm256_unpackhi_epi64(rg01, rg23);
    ch[2] = _mm256_unpacklo_epi64(b01, b23);
}

// Eight pixels at a time: the block's source columns are mixed vertically
// once (the same left and right values the sampler mixes per pixel), then
// fetched per pixel and mixed horizontally; the same integer values, so the
// same bits.
__attribute__((target("avx2"))) void geometryBlockAvx2(const ViewArgs& a, const GeometryPixel& px,
                                                        const SourceRows& s, int c0, int n, const float* opacity,
                                                        uint32_t* out)
{
    const int e0 = a.columns.o0[c0];
    const int e1 = a.columns.o1[c0 + n - 1] + 3;
    if (n < 8 || e1 - e0 > kVerticalMax) {
        geometryPixels(a, px, s, c0, n, opacity, out);
        return;
    }
    // One value more than the run reaches: the fourth value of the last load.
    alignas(32) int vertical[kVerticalMax + 1];
    vertical[e1 - e0] = 0;
    // fy p1 + (16384 - fy) p0 is computed as (p0 << 14) + fy (p1 - p0): the
    // same integer, one multiplication fewer (likewise horizontally).
    const __m256i fy = _mm256_set1_epi32(s.fy);
    int j = e0;
    for (; j + 8 <= e1; j += 8) {
        const __m256i p0 = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s.row0 + j)));
        const __m256i p1 = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s.row1 + j)));
        const __m256i v = _mm256_add_epi32(_mm256_slli_epi32(p0, 14), _mm256_mullo_epi32(fy, _mm256_sub_epi32(p1, p0)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(vertical + (j - e0)), _mm256_srai_epi32(v, 14));
    }
    for (; j < e1; ++j)
        vertical[j - e0] = (s.fy * s.row1[j] + (16384 - s.fy) * s.row0[j]) >> 14;

    const __m256i g = _mm256_set1_epi32(static_cast<int>(px.g));
    const __m256i keep = _mm256_set1_epi32(static_cast<int>(px.keep));
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256 scale = _mm256_set1_ps(65535.0f);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const int c = c0 + i;
        int i0[8], i1[8];
        for (int k = 0; k < 8; ++k) {
            i0[k] = a.columns.o0[c + k] - e0;
            i1[k] = a.columns.o1[c + k] - e0;
        }
        __m256i left[3], right[3];
        loadTriples(vertical, i0, left);
        loadTriples(vertical, i1, right);
        const __m256i fx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a.columns.fx + c));
        __m256i A = _mm256_setzero_si256();
        if (px.anyActive)
            A = _mm256_mullo_epi32(_mm256_cvttps_epi32(_mm256_mul_ps(_mm256_loadu_ps(opacity + i), scale)), g);
        __m256i ch[3];
        for (int k = 0; k < 3; ++k) {
            const __m256i v = _mm256_srai_epi32(
                _mm256_add_epi32(_mm256_slli_epi32(left[k], 14),
                                 _mm256_mullo_epi32(fx, _mm256_sub_epi32(right[k], left[k]))),
                14);
            ch[k] = px.masks ? _mm256_srli_epi32(_mm256_add_epi32(A, _mm256_mullo_epi32(keep, v)), 17)
                             : _mm256_srli_epi32(v, 8);
        }
        const __m256i argb = _mm256_or_si256(
            _mm256_or_si256(alpha, _mm256_slli_epi32(ch[0], 16)), _mm256_or_si256(_mm256_slli_epi32(ch[1], 8), ch[2]));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), argb);
    }
    if (i < n)
        geometryPixels(a, px, s, c0 + i, n - i, opacity + i, out + i);
}

__attribute__((target("avx2"))) void geometryPixelsAvx2(const ViewArgs& a, const GeometryPixel& px,
                                                        const SourceRows& s, int c0, int n, const float* opacity,
                                                        uint32_t* out)
{
    for (int b = 0; b < n; b += kSampleBlock)
        geometryBlockAvx2(a, px, s, c0 + b, MP_imin(kSampleBlock, n - b), opacity + b, out + b);
}
#endif

void geometryViewRows(const ViewArgs& a, int start, int end)
{
    GeometryPixel px;
    px.masks = a.masks;
    px.anyActive = a.masks && a.params->geometry_needed != 0;
    px.g = static_cast<uint32_t>(a.g);
    px.keep = static_cast<uint32_t>(256 - a.g);
#ifdef MP_FILTERS_X86
    const bool avx2 = mp_filters::MP_filterHasAvx2();
#endif
    const int aw = a.area.width();
    const size_t rowStride = static_cast<size_t>(a.srcW) * 3;
    float opacity[kGeometryRun];
    float scratch[kGeometryRun];
    for (int y = a.first + start; y < a.first + end; ++y) {
        const int r = y - a.area.top;
        const mp_sampler_detail::Axis ay = mp_sampler_detail::clampedAxis(sampleY(a, r), a.srcH);
        const SourceRows rows{a.src + static_cast<size_t>(ay.i0) * rowStride,
                              a.src + static_cast<size_t>(ay.i1) * rowStride, ay.f};
        uint32_t* out = a.out + static_cast<size_t>(y) * static_cast<size_t>(a.viewW) + a.area.left;
        for (int c0 = 0; c0 < aw; c0 += kGeometryRun) {
            const int n = MP_imin(kGeometryRun, aw - c0);
            if (px.anyActive)
                MP_calcGeometryOpacityRow(r, c0, c0 + n, a.params, opacity, scratch);
#ifdef MP_FILTERS_X86
            if (avx2) {
                geometryPixelsAvx2(a, px, rows, c0, n, opacity, out + c0);
                continue;
            }
#endif
            geometryPixels(a, px, rows, c0, n, opacity, out + c0);
        }
    }
}

} // namespace

void MP_task_previewGeometryView(TaskFuncParams p)
{
    geometryViewRows(*MP_taskArgs<const ViewArgs>(p), MP_taskStart(p), MP_taskEnd(p));
}

int MP_UI_previewGeometryViewGeometries(int viewWidth, int viewHeight, unsigned int* argbOut, int srcWidth,
                                        int srcHeight, const unsigned short* src, float intensity,
                                        const float* geometry, int count)
{
    if (!argbOut || !src || viewWidth <= 0 || viewHeight <= 0 || srcWidth <= 0 || srcHeight <= 0)
        return 0;
    ViewArgs args = fittedView(viewWidth, viewHeight, srcWidth, srcHeight, src, argbOut);
    if (!std::isfinite(intensity) || intensity < 0.0f)
        intensity = 0.0f;
    if (intensity > 1.0f)
        intensity = 1.0f;
    args.g = static_cast<int>(intensity * 256.0f);
    args.masks = geometry != nullptr;

    MP_Params params;
    std::memset(&params, 0, sizeof params);
    args.params = &params;
    if (args.masks && !args.area.empty()) {
        const int n = count < MP_MAX_PARAMETERSETS ? count : MP_MAX_PARAMETERSETS;
        if (n > 0)
            std::memcpy(params.p[0], geometry, static_cast<size_t>(n) * sizeof(float));
        if (MP_calcPrepareGeometry(args.area.width(), args.area.height(), 0, &params) != 0)
            return 0;
    }
    if (!args.area.empty()) {
        // The bilinear sampler's column taps, the same for every row.
        const int aw = args.area.width();
        if (srcWidth > (INT_MAX - 3) / 3 || !growColumnTaps(static_cast<size_t>(aw)))
            return 0;
        int* o0 = s_columnTaps;
        int* o1 = o0 + aw;
        int* fx = o1 + aw;
        for (int c = 0; c < aw; ++c) {
            const mp_sampler_detail::Axis ax = mp_sampler_detail::clampedAxis(sampleX(args, c), srcWidth);
            o0[c] = ax.i0 * 3;
            o1[c] = ax.i1 * 3;
            fx[c] = ax.f;
        }
        args.columns = {o0, o1, fx};
    }
    mp_views::fillOutside(argbOut, viewWidth, viewHeight, args.area, mp_views::backgroundPixel());
    if (!args.area.empty())
        run(MP_task_previewGeometryView, &args, args.area.height());
    return 1;
}
