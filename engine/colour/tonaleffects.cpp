// Tonal colour effects: "Solarize", "Posterize" and "Negativ".

#include "engine/colour/tonaleffects.h"

#include "engine/MP_calccl.h"
#include "engine/colour/hsv.h"
#include "engine/core/rgb48avx2.h"

#include <cmath>

namespace {

// ---- "Solarize" ---------------------------------------------------------------------------
// Slots: 0 "Stärke", 1 combo, 2 geometry.

struct SolarizeArgs {
    MP_DriverRun run;
    float strength; // p[0][0] * 5 + 0.999
};

// The luminance folded back and forth (a triangle wave of period 2), the
// colour scaled so that its brightest channel equals the folded tone.
inline MP_float3 solarizeEffect(const SolarizeArgs& a, MP_float3 c)
{
    const MP_Params* p = a.run.params;
    const float lum = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
    float w = lum * a.strength;
    if (w >= 2.0f)
        w -= 2.0f;
    if (w >= 2.0f)
        w -= 2.0f;
    const float L = w > 1.0f ? 2.0f - w : w;
    if (w > 0.0f && lum > 0.0f) {
        const float n = 1.0f / std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z + 0.001f);
        const float M = MP_max(MP_max(c.x * n, c.y * n), c.z * n);
        return {c.x * n * L / M, c.y * n * L / M, c.z * n * L / M};
    }
    return c;
}

void MP_Task_calcPixelColorSolarize(TaskFuncParams t)
{
    const SolarizeArgs* a = MP_taskArgs<SolarizeArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return solarizeEffect(*a, c); });
}

// Clamped before the conversion: a "Stärke" beyond the slider range folds
// tones below 0, which must not wrap around as 16-bit values.
void MP_Task_calcPixelColorSolarizeReduced(TaskFuncParams t)
{
    const SolarizeArgs* a = MP_taskArgs<SolarizeArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return solarizeEffect(*a, c); });
}

// ---- "Posterize" --------------------------------------------------------------------------
// Slots: 0 "Abstufungen", 1 combo, 2 geometry. Table: posterise ratio table in
// MP_temp_table, indexed by the 14-bit fixed-point luminance of the raw values.

struct PosterizeArgs {
    MP_DriverRun run;
    float step;
    int wr, wg, wb; // luminance weights * 16384, truncated
};

// (wr R + wg G + wb B) >> 14. With non-negative weights summing to at most
// 16384 (every normalised weight set) the index fits the table as it is;
// other weights take the guarded path.
inline bool weightsFitTable(const PosterizeArgs& a)
{
    return a.wr >= 0 && a.wg >= 0 && a.wb >= 0 && a.wr + a.wg + a.wb <= 16384;
}

inline int posterizeIndex(const PosterizeArgs& a, const ushort* s)
{
    const int64_t v = (static_cast<int64_t>(a.wr) * s[0] + static_cast<int64_t>(a.wg) * s[1] +
                       static_cast<int64_t>(a.wb) * s[2]) >> 14;
    return v < 0 ? 0 : (v > 65535 ? 65535 : static_cast<int>(v));
}

// X * factor as a 16-bit value: above 65535 gives 65535, truncated otherwise
// (NaN, from a step of 0, gives 0). Branch-free, so the row loop vectorises.
inline ushort posterizeChannel(float v)
{
    const float c = v > 0.0f ? (v < 65535.0f ? v : 65535.0f) : 0.0f;
    return static_cast<ushort>(static_cast<int>(c));
}

// Pixels x0..width of one row, one at a time.
template <bool Fits>
inline void posterizePixels(const PosterizeArgs& a, const ushort* s, ushort* d, int x0, int width)
{
    const int wr = a.wr, wg = a.wg, wb = a.wb;
    s += static_cast<size_t>(x0) * 3;
    d += static_cast<size_t>(x0) * 3;
    for (int x = x0; x < width; ++x, s += 3, d += 3) {
        const int index = Fits ? ((wr * s[0] + wg * s[1] + wb * s[2]) >> 14) : posterizeIndex(a, s);
        const float f = MP_temp_table[index];
        d[0] = posterizeChannel(static_cast<float>(s[0]) * f);
        d[1] = posterizeChannel(static_cast<float>(s[1]) * f);
        d[2] = posterizeChannel(static_cast<float>(s[2]) * f);
    }
}

template <bool Fits>
void posterizeReducedRows(const PosterizeArgs& a, int start, int end)
{
    const MP_DriverRun& run = a.run;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        posterizePixels<Fits>(a, run.src + row, run.dst + row, 0, run.width);
    }
}

#ifdef MP_HAS_X86_SIMD
// The reduced worker for weights that fit the table, eight pixels at a time:
// the same integer index (no sum exceeds 2^31), the factor gathered, one
// single-precision product per channel and the limits of posterizeChannel
// (max with 0 first, so NaN gives 0). The pixels left over at the end of a
// row go one at a time.
__attribute__((target("avx2"))) void posterizeRows8(const PosterizeArgs& a, int start, int end)
{
    const __m256i wr = _mm256_set1_epi32(a.wr), wg = _mm256_set1_epi32(a.wg), wb = _mm256_set1_epi32(a.wb);
    const __m256 zero = _mm256_setzero_ps(), top = _mm256_set1_ps(65535.0f);
    MP_rowsRGB48By8(
        a.run.src, a.run.dst, a.run.width, start, end,
        [&](__m256i& r, __m256i& g, __m256i& b) __attribute__((target("avx2"))) {
            const __m256i index = _mm256_srli_epi32(
                _mm256_add_epi32(_mm256_add_epi32(_mm256_mullo_epi32(wr, r), _mm256_mullo_epi32(wg, g)),
                                 _mm256_mullo_epi32(wb, b)),
                14);
            const __m256 f = _mm256_i32gather_ps(MP_temp_table, index, 4);
            __m256i* planes[3] = {&r, &g, &b};
            for (__m256i* c : planes) {
                const __m256 v = _mm256_mul_ps(_mm256_cvtepi32_ps(*c), f);
                *c = _mm256_cvttps_epi32(_mm256_min_ps(_mm256_max_ps(v, zero), top));
            }
        },
        [&](const ushort* s, ushort* d, int x) { posterizePixels<true>(a, s, d, x, a.run.width); });
}
#endif

void MP_TaskPre1_calcPixelPosterize(TaskFuncParams t)
{
    MP_posteriseRatioTable(MP_taskStart(t), MP_taskEnd(t), MP_temp_table, MP_taskArgs<PosterizeArgs>(t)->step);
}

void MP_Task_calcPixelPosterize(TaskFuncParams t)
{
    const PosterizeArgs* a = MP_taskArgs<PosterizeArgs>(t);
    const ushort* src = a->run.src;
    const size_t width = static_cast<size_t>(a->run.width);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, src, width](MP_float3, int x, int y) {
        const ushort* s = src + (static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 3;
        const float f = MP_temp_table[posterizeIndex(*a, s)] * MP_k;
        return MP_float3{MP_min(1.0f, static_cast<float>(s[0]) * f), MP_min(1.0f, static_cast<float>(s[1]) * f),
                         MP_min(1.0f, static_cast<float>(s[2]) * f)};
    });
}

void MP_Task_calcPixelPosterizeReduced(TaskFuncParams t)
{
    const PosterizeArgs* a = MP_taskArgs<PosterizeArgs>(t);
    if (weightsFitTable(*a)) {
#ifdef MP_HAS_X86_SIMD
        if (MP_hasAvx2()) {
            posterizeRows8(*a, MP_taskStart(t), MP_taskEnd(t));
            return;
        }
#endif
        posterizeReducedRows<true>(*a, MP_taskStart(t), MP_taskEnd(t));
    } else {
        posterizeReducedRows<false>(*a, MP_taskStart(t), MP_taskEnd(t));
    }
}

// ---- "Negativ" ----------------------------------------------------------------------------
// Slots: 0 combo, 1 geometry.

struct NegativeArgs {
    MP_DriverRun run;
};

void MP_Task_calcPixelNegative(TaskFuncParams t)
{
    const NegativeArgs* a = MP_taskArgs<NegativeArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [](MP_float3 c, int, int) { return MP_float3{1.0f - c.x, 1.0f - c.y, 1.0f - c.z}; });
}

// Exact: 65535 - v, so two runs give the image back bit for bit.
void MP_Task_calcPixelNegativeReduced(TaskFuncParams t)
{
    const MP_DriverRun& run = MP_taskArgs<NegativeArgs>(t)->run;
    const size_t row = static_cast<size_t>(run.width) * 3;
    const size_t first = static_cast<size_t>(MP_taskStart(t)) * row;
    const size_t last = static_cast<size_t>(MP_taskEnd(t)) * row;
    for (size_t i = first; i < last; ++i)
        run.dst[i] = static_cast<ushort>(65535 - run.src[i]);
}

} // namespace

int MP_calcPixelColorSolarize(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    SolarizeArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, 1))
        return r;
    a.strength = params->p[0][0] * 5.0f + 0.999f;
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelColorSolarize, MP_Task_calcPixelColorSolarizeReduced, 8);
}

int MP_calcPixelPosterize(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    PosterizeArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, 1))
        return r;
    a.step = (-0.3f * params->p[0][0] + 0.3f) * 0.99f + 0.005f;
    // Weights outside -4..4 cannot come from a weight set; held there so the
    // products stay inside 64 bits.
    a.wr = MP_safeTrunc(params->lumr * 16384.0f, -65536, 65536);
    a.wg = MP_safeTrunc(params->lumg * 16384.0f, -65536, 65536);
    a.wb = MP_safeTrunc(params->lumb * 16384.0f, -65536, 65536);
    MP_runTablePass(MP_TaskPre1_calcPixelPosterize, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelPosterize, MP_Task_calcPixelPosterizeReduced, 4);
}

int MP_calcPixelNegative(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    NegativeArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 1, 0))
        return r;
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelNegative, MP_Task_calcPixelNegativeReduced, 8);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelColorSolarize", MP_calcPixelColorSolarize},
    {"MP_calcPixelPosterize", MP_calcPixelPosterize},
    {"MP_calcPixelNegative", MP_calcPixelNegative},
};
} // namespace
extern const MP_DriverTable MP_drivers_tonaleffects = MP_driverTable(kDrivers);
