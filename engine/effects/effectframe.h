#pragma once
// The frame of the effect drivers (engine/effects/): what they add to the
// driver frame of engine/core/driverframe.h.
//
// An effect driver with a scratch image does, in this order:
//   1. MP_beginEffectDriver: checks the buffers (both 6 bytes a pixel), takes
//      the scratch image, then MP_beginDriver with run.dst = the scratch and
//      the blend combo in the slot before the geometry slot;
//   2. its prepasses (MP_runTablePass ...);
//   3. MP_runDriverBands into the scratch image;
//   4. MP_finishEffectDriver: the banded copy of the scratch image to dst,
//      skipped under a cancel request (dst then stays as it was).
// Nothing is written to dst before step 4, so every failure of steps 1-3
// leaves dst untouched, also when src and dst are one buffer.

#include "engine/core/driverframe.h"
#include "engine/core/samplers.h"

#include <cmath>
#include <cstdint>
#include <memory>

// Starts an effect driver: -2 for a missing buffer or block, a negative size
// or a pixel size other than 6 bytes; -1 when the scratch image (width x
// height x 6 bytes, sized in size_t) or the geometry buffers cannot be had;
// else 0 with run.dst pointing to the scratch image. comboSlot defaults to
// geoSlot - 1.
int MP_beginEffectDriver(MP_DriverRun& run, int sizex, int sizey, const ushort* src, ushort* dst, int srcBpp,
                         int dstBpp, MP_Params* params, int geoSlot, int comboSlot = -2);
// Bytes of a scratch image of bytesPerPixel bytes a pixel (at least one
// pixel's worth, so that an empty image runs as one without rows).
size_t MP_effectScratchBytes(int sizex, int sizey, size_t bytesPerPixel);
// The final copy of the scratch image run.dst into dst, in row bands; under a
// cancel request nothing is copied. Returns 0.
int MP_finishEffectDriver(const MP_DriverRun& run, ushort* dst);
// The checks of step 1 alone, for drivers that write dst directly: 0 or -2.
int MP_checkEffectBuffers(int sizex, int sizey, const ushort* src, const ushort* dst, int srcBpp, int dstBpp,
                          const MP_Params* params);
// Copies rows of RGB48 images in bands on the thread pool (no progress).
void MP_copyImageBanded(const ushort* src, ushort* dst, int width, int height);

// ---- Weather scheme -------------------------------------------------------------------
// Particle overlays (rain, snow, aurora, bubbles) draw onto a copy of the
// source in the scratch image, then:
//   MP_beginWeather: MP_beginEffectDriver (-2, -1 as there, nothing
//     written) and the banded copy of src into the scratch image run.dst;
//   ... the particles are drawn into run.dst ...
//   MP_finishWeather: with a blend mode, an opacity below 100 % or a mask,
//     the layer pass mixes the source (o) with the particle picture (e) into
//     dst (geometry opacity, layer blend, geometry blend); otherwise the
//     particle picture is copied to dst as drawn. Under a cancel request dst
//     stays as it was. Returns 0.
// src and dst may be one buffer: nothing reaches dst before the last pass.
int MP_beginWeather(MP_DriverRun& run, int sizex, int sizey, const ushort* src, ushort* dst, int srcBpp, int dstBpp,
                    MP_Params* params, int geoSlot);
int MP_finishWeather(const MP_DriverRun& run, ushort* dst, int progressPeriod);

// ---- Textures -----------------------------------------------------------------------
// A texture picked by a "Typ" slider: slot base + (int)(n * typ + 0.05), the
// index held to 0..n (NaN gives 0). Empty (px null) when the slot is.
struct MP_EffectTexture {
    const ushort* px = nullptr;
    int w = 0;
    int h = 0;
    int id = -1;
};
int MP_effectTextureIndex(float typ, int n);
MP_EffectTexture MP_effectTexture(float typ, int base, int n);
MP_EffectTexture MP_effectTextureAt(int id);

// A copy of the texture turned about its centre by MP_UI_RotateBuffer with
// angle a (twist 0.5, zoom 0, centre 0.5, 0.5), wrapped around or black
// outside; null when the copy or the rotation's own block cannot be had.
std::unique_ptr<ushort[]> MP_turnedTexture(const MP_EffectTexture& tex, int seamless, float a);

// ---- Wrapped indices ------------------------------------------------------------------
// The low 16 bits of the integer part of v (two's complement), for table
// indices that wrap around: (int)v & 0xFFFF where v fits an int, the same
// bits of the whole number beyond; NaN and infinity give 0.
inline int MP_low16(float v)
{
    if (std::fabs(v) < 2147483648.0f)
        return static_cast<int>(v) & 0xFFFF;
    if (!std::isfinite(v))
        return 0;
    // Floats this large are whole numbers; fmod keeps the sign.
    const int m = static_cast<int>(std::fmod(v, 65536.0f));
    return m & 0xFFFF;
}

// A sample computed in 0..65535 units, stored truncated and held to
// 0..65535 (NaN gives 0); written without branches so that pixel loops
// vectorise.
inline ushort MP_store16(float v)
{
    float c = v > 0.0f ? v : 0.0f;
    c = c < 65535.0f ? c : 65535.0f;
    return static_cast<ushort>(static_cast<int>(c));
}

// v wrapped into 0..n-1 by a full non-negative modulo (n > 0).
inline int MP_wrapIndex(int v, int n)
{
    v %= n;
    return v < 0 ? v + n : v;
}

// Sine table of the turn index: MP_temp_table[i] = sin(i / 65535 * 2 pi),
// filled by the table pass (waits).
void MP_runSineTablePass(MP_Params* params);
// Turn index of an angle in radians: the low 16 bits of (int)(a * 10430.378).
inline int MP_turnIndex(float a) { return MP_low16(a * 10430.378f); }
inline float MP_tableSin(int n) { return MP_temp_table[n]; }
inline float MP_tableCos(int n) { return MP_temp_table[(n + 16384) & 0xFFFF]; }

// ---- Worker helpers
// Rows [start, end) of the run: row(y, s, d) with the row's first source
// pixel and its first destination pixel (in the scratch image).
template <typename Row>
inline void MP_forEachRunRow(const MP_DriverRun& run, int start, int end, Row&& row)
{
    const size_t stride = static_cast<size_t>(run.width) * 3;
    for (int y = start; y < end; ++y)
        row(y, run.src + static_cast<size_t>(y) * stride, run.dst + static_cast<size_t>(y) * stride);
}

// Full and reduced worker rows of an operator whose effect is
// effect(args, c0, x, y) on the argument block of the task (its first member
// the MP_DriverRun `run`); the reduced worker clamps to 0..1 and truncates.
template <typename Args, typename Effect>
inline void MP_effectFullTask(TaskFuncParams t, Effect&& effect)
{
    const Args* a = MP_taskArgs<Args>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a, &effect](MP_float3 c, int x, int y) { return effect(*a, c, x, y); });
}
template <typename Args, typename Effect>
inline void MP_effectReducedTask(TaskFuncParams t, Effect&& effect)
{
    const Args* a = MP_taskArgs<Args>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a, &effect](MP_float3 c, int x, int y) { return effect(*a, c, x, y); });
}

// Rows [start, end) of a window operator that gathers runs of up to Run
// neighbouring pixels at once: gather(y, x0, n, c) with the run's source
// colours c[0..n-1], then effect(i, c[i]) gives pixel x0 + i's colour, stored
// through the full worker's tail (Full) or clamped (reduced) into run.dst.
template <bool Full, int Run, class Gather, class Effect>
inline void MP_effectRunRows(const MP_DriverRun& run, int start, int end, Gather&& gather, Effect&& effect)
{
    const bool geometry = run.params->geometry_needed != 0;
    const int w = run.width;
    for (int y = start; y < end; ++y) {
        const size_t off = static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        for (int x0 = 0; x0 < w; x0 += Run) {
            const int n = w - x0 < Run ? w - x0 : Run;
            MP_float3 c[Run];
            for (int i = 0; i < n; ++i)
                c[i] = MP_loadRGB48(run.src + off + static_cast<size_t>(x0 + i) * 3);
            gather(y, x0, n, c);
            for (int i = 0; i < n; ++i) {
                ushort* d = run.dst + off + static_cast<size_t>(x0 + i) * 3;
                if constexpr (Full)
                    MP_fullWorkerPixel(run, geometry, x0 + i, y, c[i], d, [&] { return effect(i, c[i]); });
                else
                    MP_storeRGB48Clamped(d, effect(i, c[i]));
            }
        }
    }
}

// The effect colour of a resampling operator: the clamped bilinear sample of
// the source at (xs, ys) when 0 <= xs < w and 0 <= ys < h (tested on the
// floats, so NaN and huge positions fail), black otherwise.
inline bool MP_insideImage(const MP_DriverRun& run, float xs, float ys)
{
    return xs >= 0.0f && xs < static_cast<float>(run.width) && ys >= 0.0f && ys < static_cast<float>(run.height);
}

inline MP_float3 MP_sampleInside(const MP_DriverRun& run, float xs, float ys)
{
    if (!MP_insideImage(run, xs, ys))
        return {0.0f, 0.0f, 0.0f};
    return MP_tex2D16intBilinear(run.width, run.height, run.src, xs, ys);
}

// What the reduced worker stores for a sample v: (int)(v / 65535 * 65535),
// the float trip, for every v (65,536 entries).
const uint16_t* MP_tripTable();

// The workers of a resampling operator whose effect colour is the source at
// point(args, x, y, xs, ys), black outside. The reduced worker interpolates
// in integers and stores the float trip of the result from MP_tripTable:
// the same bits as storing the float sample.
template <typename Args, typename Point>
inline void MP_resampleFullTask(TaskFuncParams t, Point&& point)
{
    MP_effectFullTask<Args>(t, [&point](const Args& a, MP_float3, int x, int y) {
        float xs, ys;
        point(a, x, y, xs, ys);
        return MP_sampleInside(a.run, xs, ys);
    });
}
template <typename Args, typename Point>
inline void MP_resampleReducedTask(TaskFuncParams t, Point&& point)
{
    const Args& a = *MP_taskArgs<Args>(t);
    const MP_DriverRun& run = a.run;
    const uint16_t* trip = MP_tripTable();
    MP_forEachRunRow(run, MP_taskStart(t), MP_taskEnd(t), [&](int y, const ushort*, ushort* d) {
        for (int x = 0; x < run.width; ++x, d += 3) {
            float xs, ys;
            point(a, x, y, xs, ys);
            int v[3] = {0, 0, 0};
            if (MP_insideImage(run, xs, ys))
                MP_tex2D16intBilinearToInt(run.width, run.height, run.src, &v[0], &v[1], &v[2], xs, ys);
            d[0] = trip[v[0]];
            d[1] = trip[v[1]];
            d[2] = trip[v[2]];
        }
    });
}
