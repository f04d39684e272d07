#include "engine/views/cropview.h"

#include "engine/core/geometry.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/samplers.h"
#include "engine/core/tasks.h"
#include "engine/core/textures.h"
#include "engine/views/viewarea.h"

#include <cmath>
#include <cstring>

using mp_views::Area;

namespace {

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
};

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

void MP_task_previewGeometryView(TaskFuncParams p)
{
    const ViewArgs& a = *MP_taskArgs<const ViewArgs>(p);
    const int aw = a.area.width(), ah = a.area.height();
    const bool anyActive = a.masks && a.params->geometry_needed != 0;
    const uint32_t keep = static_cast<uint32_t>(256 - a.g);
    forBandRows(p, a, [&](int y, uint32_t* out) {
        const int r = y - a.area.top;
        const float fy = sampleY(a, r);
        for (int x = a.area.left; x < a.area.right; ++x) {
            const int c = x - a.area.left;
            int v[3];
            MP_tex2D16intBilinearToInt(a.srcW, a.srcH, a.src, &v[0], &v[1], &v[2], sampleX(a, c), fy);
            uint32_t ch[3];
            if (!a.masks) {
                for (int k = 0; k < 3; ++k)
                    ch[k] = static_cast<uint32_t>(v[k]) >> 8;
            } else {
                uint32_t A = 0;
                if (anyActive) {
                    const float o = MP_calcGeometryMethodOpacity(c, r, aw, ah, 0, a.params);
                    A = static_cast<uint32_t>(static_cast<int>(o * 65535.0f)) * static_cast<uint32_t>(a.g);
                }
                for (int k = 0; k < 3; ++k)
                    ch[k] = (A + keep * static_cast<uint32_t>(v[k])) >> 17;
            }
            out[x] = mp_views::opaque(ch[0], ch[1], ch[2]);
        }
    });
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
    mp_views::fillOutside(argbOut, viewWidth, viewHeight, args.area, mp_views::backgroundPixel());
    if (!args.area.empty())
        run(MP_task_previewGeometryView, &args, args.area.height());
    return 1;
}
