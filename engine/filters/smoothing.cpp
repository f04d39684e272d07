#include "engine/filters/smoothing.h"

#include "engine/MP_calccl.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <cstdint>
#include <memory>
#include <new>

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#include <immintrin.h>
#define MP_SMOOTH_AVX512 1
#endif

using namespace mp_filters;

namespace mp_filters {
int g_smoothPath = 1;
}

#ifdef MP_SMOOTH_AVX512
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vl")
// GCC 12 takes the intrinsics' undefined start values for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "engine/filters/windowwalk512.h"
namespace {

// The bilateral colour sums of a run of pixels (MP_gatherColourSums), sixteen
// pixels per instruction, the samples' luminance read from the plane (the
// same 14-bit weights): for each group of sixteen pixels, its five sums stay
// in registers over the whole window. Every pixel's sums take the same
// operations in the same order as its own walk, so the same bits. False when
// a pixel of the run has no sample (the caller then walks each pixel).
// The sums of sixteen samples: L their plane luminance, lo16 and hi16 their
// 48 interleaved channel words (the first 32 and the next 16), m the lanes
// that take part.
template <bool Edge> struct ColourLanes {
    __m512i L0;
    __m512i iR, iG, iB; // word indices placing red, green, blue in the low half of each lane
    __m512 k, eps, one;
    __m512 W, SR, SG, SB, E;

    inline void add(__mmask16 m, float ws, __m512i L, __m512i lo16, __m512i hi16)
    {
        // Each channel word zero-extended into its lane by one permute (the odd words are zeroed).
        const __mmask32 even = 0x55555555u;
        const __m512 R = _mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo16, iR, hi16));
        const __m512 G = _mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo16, iG, hi16));
        const __m512 B = _mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo16, iB, hi16));
        const __m512i d = _mm512_abs_epi32(_mm512_sub_epi32(L0, L));
        const __m512 x = _mm512_mul_ps(_mm512_cvtepi32_ps(d), k);
        const __m512 w = _mm512_maskz_mul_ps(m, _mm512_set1_ps(ws), _mm512_div_ps(one, _mm512_add_ps(x, eps)));
        W = _mm512_mask_add_ps(W, m, W, w);
        SR = _mm512_mask_add_ps(SR, m, SR, _mm512_mul_ps(w, R));
        SG = _mm512_mask_add_ps(SG, m, SG, _mm512_mul_ps(w, G));
        SB = _mm512_mask_add_ps(SB, m, SB, _mm512_mul_ps(w, B));
        if constexpr (Edge)
            E = _mm512_mask_add_ps(E, m, E, _mm512_mul_ps(w, _mm512_mask_i32gather_ps(w, m, d, MP_temp_table, 4)));
    }
};

// The bilateral colour sums of a run of pixels (MP_gatherColourSums), sixteen
// pixels per instruction, the samples' luminance read from the plane (the
// same 14-bit weights): for each group of sixteen pixels, its five sums stay
// in registers over the whole window. Every pixel's sums take the same
// operations in the same order as its own walk, so the same bits. False when
// a pixel of the run has no sample (the caller then walks each pixel). Only
// the groups of sixteen pixels with their bit g / 16 set in `groups` are
// summed.
template <bool Edge>
__attribute__((noinline)) bool colourSums512(const Window& win, const ushort* src, const ushort* plane, float eps,
                                             int y, int x0, int n, ColourSums& c, unsigned groups = ~0u)
{
    const size_t base = static_cast<size_t>(y) * static_cast<size_t>(win.width) + static_cast<size_t>(x0);
    ColourLanes<Edge> s;
    alignas(64) short idx[3][32] = {};
    for (int ch = 0; ch < 3; ++ch)
        for (int j = 0; j < 16; ++j)
            idx[ch][2 * j] = static_cast<short>(3 * j + ch);
    s.iR = _mm512_load_si512(idx[0]);
    s.iG = _mm512_load_si512(idx[1]);
    s.iB = _mm512_load_si512(idx[2]);
    s.k = _mm512_set1_ps(MP_k);
    s.eps = _mm512_set1_ps(eps);
    s.one = _mm512_set1_ps(1.0f);
    for (int g = 0; g < n; g += 16) {
        if (!(groups >> (g / 16) & 1u))
            continue;
        const int gn = MP_imin(16, n - g);
        s.L0 = _mm512_maskz_loadu_epi32(MP_laneMask16(0, gn), c.L0 + g);
        s.W = s.SR = s.SG = s.SB = s.E = _mm512_setzero_ps();
        const bool walked = MP_forEachWindowOffset512(win, x0, n, y, [&](ptrdiff_t off, float ws, int lo, int hi) {
            const ptrdiff_t at = static_cast<ptrdiff_t>(base) + off + g;
            const ushort* q = src + at * 3;
            if (lo <= g && hi >= g + 16) { // every lane
                s.add(0xFFFF, ws, _mm512_cvtepu16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(plane + at))),
                      _mm512_loadu_si512(q), _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 32))));
                return;
            }
            const int a0 = MP_imax(lo - g, 0), a1 = MP_imin(hi - g, gn);
            if (a0 >= a1)
                return;
            const __mmask16 m = static_cast<__mmask16>(MP_laneMask16(0, a1) & ~MP_laneMask16(0, a0));
            // Lanes before a0 or from a1 on read as 0 (their words may lie outside the image).
            const unsigned w0 = 3u * static_cast<unsigned>(a0), w1 = 3u * static_cast<unsigned>(a1);
            const uint64_t words = (w1 >= 64 ? ~0ull : (1ull << w1) - 1ull) & ~((1ull << w0) - 1ull);
            s.add(m, ws, _mm512_cvtepu16_epi32(_mm256_maskz_loadu_epi16(m, plane + at)),
                  _mm512_maskz_loadu_epi16(static_cast<__mmask32>(words), q),
                  _mm512_maskz_loadu_epi16(static_cast<__mmask32>(words >> 32), q + 32));
        });
        if (!walked)
            return false;
        const __mmask16 mg = MP_laneMask16(0, gn);
        _mm512_mask_storeu_ps(c.W + g, mg, s.W);
        _mm512_mask_storeu_ps(c.SR + g, mg, s.SR);
        _mm512_mask_storeu_ps(c.SG + g, mg, s.SG);
        _mm512_mask_storeu_ps(c.SB + g, mg, s.SB);
        _mm512_mask_storeu_ps(c.E + g, mg, s.E);
    }
    return true;
}

// colourSums512 for the groups of sixteen pixels (bit g / 16 of `groups`)
// whose windows lie inside the image's columns (no lane masks; every group
// holds sixteen pixels): the walk written out with the constants in
// registers. The same samples in the same order, the same operations on
// each, so the same bits.
template <bool Edge>
__attribute__((noinline)) bool colourSumsInterior512(const Window& win, const ushort* src, const ushort* plane,
                                                     float eps, int y, int x0, int n, ColourSums& c, unsigned groups)
{
    const int R = win.R, s = win.step;
    const ptrdiff_t w = win.width;
    int y1, y2;
    MP_windowRows(win, y, &y1, &y2);
    if (y1 > y2)
        return false;
    alignas(64) short idx[3][32] = {};
    for (int ch = 0; ch < 3; ++ch)
        for (int j = 0; j < 16; ++j)
            idx[ch][2 * j] = static_cast<short>(3 * j + ch);
    const __m512i iR = _mm512_load_si512(idx[0]), iG = _mm512_load_si512(idx[1]), iB = _mm512_load_si512(idx[2]);
    const __m512 k = _mm512_set1_ps(MP_k), ve = _mm512_set1_ps(eps), one = _mm512_set1_ps(1.0f);
    const __mmask32 even = 0x55555555u;
    const ptrdiff_t base = static_cast<ptrdiff_t>(y) * w + x0;
    for (int g = 0; g < n; g += 16) {
        if (!(groups >> (g / 16) & 1u))
            continue;
        const int gn = MP_imin(16, n - g);
        const __m512i L0 = _mm512_maskz_loadu_epi32(MP_laneMask16(0, gn), c.L0 + g);
        __m512 W = _mm512_setzero_ps(), SR = W, SG = W, SB = W, E = W;
        for (int ky = y1; ky <= y2; ky += s) {
            const int l = win.halfWidth[ky + R];
            const float* ws = &localexp[MP_localexpIndex(0, ky)];
            const ptrdiff_t at0 = base + static_cast<ptrdiff_t>(ky) * w + g;
            for (int kx = -l; kx <= l; kx += s) {
                const ptrdiff_t at = at0 + kx;
                const ushort* q = src + at * 3;
                const __m512i lo16 = _mm512_loadu_si512(q);
                const __m512i hi16 = _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 32)));
                const __m512i L = _mm512_cvtepu16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(plane + at)));
                const __m512i d = _mm512_abs_epi32(_mm512_sub_epi32(L0, L));
                const __m512 x = _mm512_add_ps(_mm512_mul_ps(_mm512_cvtepi32_ps(d), k), ve);
                const __m512 r = _mm512_div_ps(one, x);
                const __m512 wv = _mm512_mul_ps(_mm512_set1_ps(ws[kx]), r);
                const __m512 Rc = _mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo16, iR, hi16));
                const __m512 Gc = _mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo16, iG, hi16));
                const __m512 Bc = _mm512_cvtepi32_ps(_mm512_maskz_permutex2var_epi16(even, lo16, iB, hi16));
                W = _mm512_add_ps(W, wv);
                SR = _mm512_add_ps(SR, _mm512_mul_ps(wv, Rc));
                SG = _mm512_add_ps(SG, _mm512_mul_ps(wv, Gc));
                SB = _mm512_add_ps(SB, _mm512_mul_ps(wv, Bc));
                if constexpr (Edge)
                    E = _mm512_add_ps(E, _mm512_mul_ps(wv, _mm512_i32gather_ps(d, MP_temp_table, 4)));
            }
        }
        const __mmask16 mg = MP_laneMask16(0, gn);
        _mm512_mask_storeu_ps(c.W + g, mg, W);
        _mm512_mask_storeu_ps(c.SR + g, mg, SR);
        _mm512_mask_storeu_ps(c.SG + g, mg, SG);
        _mm512_mask_storeu_ps(c.SB + g, mg, SB);
        _mm512_mask_storeu_ps(c.E + g, mg, E);
    }
    return true;
}

// The ImageSmooth colour of a run of pixels (SmoothArgs::effect), sixteen
// pixels per instruction from their sums: the same operations in the same
// order on each pixel, so the same bits. out[0..2] get red, green, blue.
__attribute__((noinline)) void imageEffect512(const ushort* px, const ColourSums& c, int n, float* outR, float* outG,
                                              float* outB)
{
    const MP_Rgb48Lanes ix = MP_rgb48Lanes();
    const __m512 k = _mm512_set1_ps(MP_k), one = _mm512_set1_ps(1.0f);
    for (int g = 0; g < n; g += 16, px += 48) {
        const int t = MP_imin(16, n - g);
        const __mmask16 m = MP_laneMask16(0, t);
        __m512 cx, cy, cz;
        MP_loadRgb48Scaled(ix, px, t, k, cx, cy, cz);
        // Lanes past the run divide 1 by 1 (no exception flags matter: nothing reads them).
        const __m512 W = _mm512_mask_loadu_ps(one, m, c.W + g);
        const __m512 inv = _mm512_div_ps(one, W);
        const __m512 mx = _mm512_mul_ps(_mm512_mul_ps(_mm512_maskz_loadu_ps(m, c.SR + g), inv), k);
        const __m512 my = _mm512_mul_ps(_mm512_mul_ps(_mm512_maskz_loadu_ps(m, c.SG + g), inv), k);
        const __m512 mz = _mm512_mul_ps(_mm512_mul_ps(_mm512_maskz_loadu_ps(m, c.SB + g), inv), k);
        const __m512 e = _mm512_mul_ps(_mm512_maskz_loadu_ps(m, c.E + g), inv);
        const __m512 ke = _mm512_sub_ps(one, e);
        const __m512 sx = _mm512_add_ps(_mm512_mul_ps(cx, e), _mm512_mul_ps(mx, ke));
        const __m512 sy = _mm512_add_ps(_mm512_mul_ps(cy, e), _mm512_mul_ps(my, ke));
        const __m512 sz = _mm512_add_ps(_mm512_mul_ps(cz, e), _mm512_mul_ps(mz, ke));
        const __m512i L0 = _mm512_maskz_loadu_epi32(m, c.L0 + g);
        const __m512 a = _mm512_mask_i32gather_ps(_mm512_setzero_ps(), m, L0, MP_temp2_table, 4);
        const __m512 ka = _mm512_sub_ps(one, a);
        _mm512_mask_storeu_ps(outR + g, m, _mm512_add_ps(_mm512_mul_ps(cx, ka), _mm512_mul_ps(sx, a)));
        _mm512_mask_storeu_ps(outG + g, m, _mm512_add_ps(_mm512_mul_ps(cy, ka), _mm512_mul_ps(sy, a)));
        _mm512_mask_storeu_ps(outB + g, m, _mm512_add_ps(_mm512_mul_ps(cz, ka), _mm512_mul_ps(sz, a)));
    }
}

// The centre luminance indices of a run (lumIndex of each pixel), sixteen
// pixels per instruction: (lumr R + lumg G) + lumb B of the scaled channels,
// times 65535, held to 0..65535 (NaN to 0) and truncated, as MP_tableIndex.
// E is cleared.
__attribute__((noinline)) void centreIndices512(const ushort* px, const MP_Params* p, int n, ColourSums& c)
{
    const MP_Rgb48Lanes ix = MP_rgb48Lanes();
    const __m512 k = _mm512_set1_ps(MP_k), top = _mm512_set1_ps(65535.0f);
    const __m512 lr = _mm512_set1_ps(p->lumr), lg = _mm512_set1_ps(p->lumg), lb = _mm512_set1_ps(p->lumb);
    for (int g = 0; g < n; g += 16, px += 48) {
        const int t = MP_imin(16, n - g);
        const __mmask16 m = MP_laneMask16(0, t);
        __m512 cx, cy, cz;
        MP_loadRgb48Scaled(ix, px, t, k, cx, cy, cz);
        const __m512 v = _mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(lr, cx), _mm512_mul_ps(lg, cy)), _mm512_mul_ps(lb, cz));
        // max(x, 0) gives its second operand, 0, for NaN; min(x, 65535) holds the top.
        const __m512 x = _mm512_min_ps(_mm512_max_ps(_mm512_mul_ps(v, top), _mm512_setzero_ps()), top);
        _mm512_mask_storeu_epi32(c.L0 + g, m, _mm512_cvttps_epi32(x));
        _mm512_mask_storeu_ps(c.E + g, m, _mm512_setzero_ps());
    }
}

} // namespace
#pragma GCC diagnostic pop
#pragma GCC pop_options
#endif

namespace {

enum class Op { Image, Channel, Colour };

struct SmoothArgs {
    MP_DriverRun run;
    Window win;
    Op op = Op::Image;
    ushort* out = nullptr;
    LumWeights lw;
    float q = 1.0f;              // edge exponent
    const float* mask = nullptr; // ImageSmooth: knots of slot 2
    MP_float3 amount{};          // ChannelSmooth
    MP_float3 target{};          // ColorSmooth: normalised colour direction

    void fillTables(int start, int end) const
    {
        for (int i = start; i < end; ++i)
            if (op != Op::Channel)
                MP_temp_table[i] = MP_pow(static_cast<float>(i) * MP_k, q);
        if (op == Op::Image)
            MP_splineSlotTable(mask, start, end, MP_temp2_table);
        for (int i = start; i < end; ++i) {
            if (op == Op::Colour)
                MP_temp2_table[i] = MP_pow(static_cast<float>(i) * MP_k, 24.0f);
            MP_temp3_table[i] = divisor(i, 0.05f);
        }
    }

    // The sums of a run and, when `ready`, the ImageSmooth colours of its
    // pixels computed sixteen at a time (imageEffect512).
    struct Cache : ColourSums {
        float OR[kChunk], OG[kChunk], OB[kChunk];
        bool ready = false;
    };

    // The luminance plane of the source when the sixteen-lane gather runs.
    const ushort* plane = nullptr;

    void gather(int y, int x0, int n, Cache& c) const
    {
        c.ready = false;
#ifdef MP_SMOOTH_AVX512
        if (plane && MP_chunkWalkable(win, x0, n) && MP_filterHasAvx512()) {
            const size_t base = static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x0);
            if (g_smoothPath != 0) {
                centreIndices512(run.src + base * 3, run.params, n, c);
            } else {
                for (int i = 0; i < n; ++i) {
                    c.L0[i] = lumIndex(run.params, MP_loadRGB48(run.src + (base + i) * 3));
                    c.E[i] = 0.0f;
                }
            }
            // Full groups whose windows lie inside the image's columns take the
            // unmasked loop (its loads read sixteen pixels), the others the
            // masked walk.
            unsigned inner = 0;
            if (g_smoothPath != 0)
                for (int g = 0; g < n; g += 16)
                    if (x0 + g - win.widest >= 0 && x0 + g + 15 + win.widest <= win.width - 1)
                        inner |= 1u << (g / 16);
            const unsigned all = (1u << ((n + 15) / 16)) - 1u;
            bool done = true;
            if (inner)
                done = op == Op::Channel
                           ? colourSumsInterior512<false>(win, run.src, plane, 0.05f, y, x0, n, c, inner)
                           : colourSumsInterior512<true>(win, run.src, plane, 0.05f, y, x0, n, c, inner);
            if (done && inner != all)
                done = op == Op::Channel ? colourSums512<false>(win, run.src, plane, 0.05f, y, x0, n, c, all & ~inner)
                                         : colourSums512<true>(win, run.src, plane, 0.05f, y, x0, n, c, all & ~inner);
            if (done) {
                if (op == Op::Image && g_smoothPath != 0) {
                    imageEffect512(run.src + base * 3, c, n, c.OR, c.OG, c.OB);
                    c.ready = true;
                }
                return;
            }
        }
#endif
        if (op == Op::Channel)
            MP_gatherColourSums<false, false>(win, run, lw, 0.05f, y, x0, n, c);
        else
            MP_gatherColourSums<true>(win, run, lw, 0.05f, y, x0, n, c);
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        if (cache.ready)
            return {cache.OR[i], cache.OG[i], cache.OB[i]};
        const int L0 = cache.L0[i];
        const float W = cache.W[i], SR = cache.SR[i], SG = cache.SG[i], SB = cache.SB[i];
        if (op == Op::Channel) {
            MP_float3 mu{0.0f, 0.0f, 0.0f};
            if (W > 0.0f) {
                const float inv = 1.0f / W;
                mu = {SR * inv * MP_k, SG * inv * MP_k, SB * inv * MP_k};
            }
            return {c.x * (1.0f - amount.x) + mu.x * amount.x, c.y * (1.0f - amount.y) + mu.y * amount.y,
                    c.z * (1.0f - amount.z) + mu.z * amount.z};
        }
        const float inv = 1.0f / W;
        const MP_float3 mu{SR * inv * MP_k, SG * inv * MP_k, SB * inv * MP_k};
        const float e = cache.E[i] * inv;
        const float ke = 1.0f - e;
        const MP_float3 s{c.x * e + mu.x * ke, c.y * e + mu.y * ke, c.z * e + mu.z * ke};
        float a;
        if (op == Op::Image) {
            a = MP_temp2_table[L0];
        } else {
            const MP_float3 m0{SR + 0.001f, SG + 0.001f, SB + 0.001f};
            const float r = 1.0f / MP_sqrt(m0.x * m0.x + m0.y * m0.y + m0.z * m0.z);
            const MP_float3 m{m0.x * r, m0.y * r, m0.z * r};
            const float v =
                (MP_fabs(target.x - m.x) + MP_fabs(target.y - m.y) + MP_fabs(target.z - m.z)) * 0.33333f;
            a = MP_temp2_table[MP_tableIndex(1.0f - v)];
        }
        const float k = 1.0f - a;
        return {c.x * k + s.x * a, c.y * k + s.y * a, c.z * k + s.z * a};
    }
};

// The luminance plane of the source for the sixteen-lane gather: none
// without AVX-512, or when its memory cannot be had (then every sample's
// luminance is computed where it is read, with the same result).
std::unique_ptr<ushort[]> smoothingPlane(int sizex, int sizey, const ushort* src, const MP_Params* params)
{
#ifdef MP_SMOOTH_AVX512
    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels == 0 || !MP_filterHasAvx512())
        return nullptr;
    std::unique_ptr<ushort[]> plane(new (std::nothrow) ushort[pixels]);
    if (plane)
        MP_runFilterPlanePass(src, plane.get(), sizex, sizey, params);
    return plane;
#else
    (void)sizex, (void)sizey, (void)src, (void)params;
    return nullptr;
#endif
}

inline float edgeExponent(const MP_Params* p) { return (p->p[1][0] * 0.999f + 0.001f) * 2.0f; }

int colourSmooth(const char* kernel, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                 MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    SmoothArgs a;
    a.op = Op::Colour;
    a.lw = LumWeights::of(params);
    a.q = edgeExponent(params);
    a.target = MP_normalize({params->p[2][2] + 0.001f, params->p[2][3] + 0.001f, params->p[2][4] + 0.001f});
    const auto plane = smoothingPlane(sizex, sizey, src, params);
    a.plane = plane.get();
    return MP_runWindowFilter(a, FilterPlan{kernel, MP_calcWindowSize(params, 500.0f), 4, 3, false}, sizex, sizey, src,
                              dst, srcBpp, dstBpp, params);
}

} // namespace

int MP_runImageSmooth(const char* kernel, const MP_WindowSize& size, float q, int sizex, int sizey, ushort* src,
                      ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    SmoothArgs a;
    a.op = Op::Image;
    a.lw = LumWeights::of(params);
    a.q = q;
    a.mask = params->p[2];
    const auto plane = smoothingPlane(sizex, sizey, src, params);
    a.plane = plane.get();
    return MP_runWindowFilter(a, FilterPlan{kernel, size, 4, 3, false}, sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelImageSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params)
{
    if (!params)
        return -2;
    return MP_runImageSmooth("MP_calcPixelImageSmooth", MP_calcWindowSize(params, 500.0f), edgeExponent(params),
                             sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelChannelSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    SmoothArgs a;
    a.op = Op::Channel;
    a.lw = LumWeights::of(params);
    a.amount = {params->p[1][0], params->p[2][0], params->p[3][0]};
    const auto plane = smoothingPlane(sizex, sizey, src, params);
    a.plane = plane.get();
    return MP_runWindowFilter(a, FilterPlan{"MP_calcPixelChannelSmooth", MP_calcWindowSize(params, 500.0f), 5, 4, false},
                              sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelColorSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params)
{
    return colourSmooth("MP_calcPixelColorSmooth", sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

int MP_calcPixelSkySmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    return colourSmooth("MP_calcPixelSkySmooth", sizex, sizey, src, dst, srcBpp, dstBpp, params);
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelImageSmooth", MP_calcPixelImageSmooth},
    {"MP_calcPixelChannelSmooth", MP_calcPixelChannelSmooth},
    {"MP_calcPixelColorSmooth", MP_calcPixelColorSmooth},
    {"MP_calcPixelSkySmooth", MP_calcPixelSkySmooth},
};
extern const MP_DriverTable MP_drivers_smoothing = MP_driverTable(kDrivers);
