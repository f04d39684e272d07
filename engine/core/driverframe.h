#pragma once
// The frame every operator driver is written on.
//
// A driver (MP_calcPixel<Name>) does, in this order:
//   1. MP_beginDriver: reads blend mode and opacity from its combo slot,
//      prepares the geometry masks of its geometry slot and chooses between
//      the full and the reduced worker (returns -1 / -2 before anything is
//      written when that fails);
//   2. its lookup-table prepasses (MP_runTablePass, each waits);
//   3. MP_runDriverBands: its worker over the rows in bands, with progress.
// The full worker is MP_fullWorkerRows with the operator's effect as a lambda:
// it adds the common per-pixel tail (geometry opacity, "Maskierung" mask,
// blend with opacity, geometry blend). The reduced worker is the operator's
// own loop, usually MP_reducedWorkerRows.
//
// A typical driver:
//
//   struct FooArgs { MP_DriverRun run; float gain; };
//   static void MP_Task_calcPixelFoo(TaskFuncParams t) {
//       const FooArgs* a = MP_taskArgs<FooArgs>(t);
//       MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
//                         [a](MP_float3 c, int, int) { return MP_float3{c.x * a->gain, ...}; });
//   }
//   static void MP_Task_calcPixelFooReduced(TaskFuncParams t) { ...MP_reducedWorkerRows... }
//   int MP_calcPixelFoo(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params) {
//       FooArgs a;
//       if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot)) return r;
//       a.gain = params->p[0][0] * 2.0f;
//       return MP_runDriverBands(a.run, &a, MP_Task_calcPixelFoo, MP_Task_calcPixelFooReduced, 4);
//   }

#include "engine/core/blend.h"
#include "engine/core/geometry.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/tasks.h"

#include <cstdint>

using ushort = unsigned short;

// The single-precision value nearest 1/65535: a channel v enters the float
// formulas as v * MP_k and leaves as (int)(c * 65535).
constexpr float MP_k = 1.0f / 65535.0f;

inline MP_float3 MP_loadRGB48(const ushort* px)
{
    return {static_cast<float>(px[0]) * MP_k, static_cast<float>(px[1]) * MP_k, static_cast<float>(px[2]) * MP_k};
}
// Truncating store of a colour already in 0..1.
inline void MP_storeRGB48(ushort* px, MP_float3 c)
{
    px[0] = static_cast<ushort>(static_cast<int>(c.x * 65535.0f));
    px[1] = static_cast<ushort>(static_cast<int>(c.y * 65535.0f));
    px[2] = static_cast<ushort>(static_cast<int>(c.z * 65535.0f));
}
// Store of a colour that may lie outside 0..1 (or be NaN): clamped first.
inline void MP_storeRGB48Clamped(ushort* px, MP_float3 c)
{
    MP_storeRGB48(px, {mp_blend_detail::clampUnit(c.x), mp_blend_detail::clampUnit(c.y), mp_blend_detail::clampUnit(c.z)});
}
// A working luminance 0..1 as an index into a 65,536-entry table: truncated,
// held to 0..65535 (NaN gives 0). Written without branches so that table
// lookups in pixel loops do not stall on them.
inline int MP_tableIndex(float v)
{
    float x = v * 65535.0f;
    x = x > 0.0f ? x : 0.0f;
    x = x < 65535.0f ? x : 65535.0f;
    return static_cast<int>(x);
}

// Scratch lookup tables of the running driver (65,536 entries used, 65,664
// reserved); valid for one run only.
constexpr int MP_TEMP_TABLE_SIZE = 65664;
extern float MP_temp_table[MP_TEMP_TABLE_SIZE];
extern float MP_temp2_table[MP_TEMP_TABLE_SIZE];
extern float MP_temp3_table[MP_TEMP_TABLE_SIZE];
extern float MP_temp4_table[MP_TEMP_TABLE_SIZE];
extern int MP_itemp_table[MP_TEMP_TABLE_SIZE];
extern int MP_itemp2_table[MP_TEMP_TABLE_SIZE];

// What every worker of a run reads: the common part of a driver's argument block.
struct MP_DriverRun {
    int width = 0;
    int height = 0;
    const ushort* src = nullptr;
    ushort* dst = nullptr;
    int mode = 0;          // blend mode, truncated (negative counts as none)
    float opacity = 1.0f;  // 0..1 (percent * 0.01)
    int geoSlot = -1;      // geometry slot, -1: none
    MP_Params* params = nullptr;
    bool full = false;     // the full worker runs (blend, opacity or geometry)
    const float* maskTable = nullptr; // "Maskierung" spline table, or none
};

// Steps 1, 3 and 5 of a driver. comboSlot -1: no blend (mode 0, opacity 1).
// Returns 0; -2 for missing buffers or block; -1 when the geometry buffers
// cannot be had (nothing written).
int MP_beginDriver(MP_DriverRun& run, int sizex, int sizey, const ushort* src, ushort* dst, MP_Params* params,
                   int geoSlot, int comboSlot);

// Runs full or reduced (reduced null: always full) over the rows in bands;
// progress every `progressPeriod` chunks (0: none). Returns 0.
int MP_runDriverBands(const MP_DriverRun& run, const void* args, MP_TaskFunc full, MP_TaskFunc reduced,
                      int progressPeriod);

// The loop step of window loops: loopstep + kernelsize / (int)cpu_loopstep_mulitplier,
// with a loopstep below 1 taken as 1 and the result held to 1..INT32_MAX.
int MP_calcLoopstep(int loopstep, int kernelsize, const MP_Params* params);

// The full worker's steps for one pixel (x, y) with source colour c0, stored
// at d: geometry opacity (a pixel outside every mask is written back),
// effect() for the operator's colour, "Maskierung" mask, blend with opacity,
// geometry blend. `geometry` is params->geometry_needed != 0. Workers that
// compute their effects for several pixels at once call it per pixel.
template <typename Effect>
inline void MP_fullWorkerPixel(const MP_DriverRun& run, bool geometry, int x, int y, MP_float3 c0, ushort* d,
                               Effect&& effect)
{
    const MP_Params* params = run.params;
    float a = 1.0f;
    if (geometry) {
        a = MP_calcGeometryMethodOpacity(x, y, run.width, run.height, run.geoSlot, params);
        if (!(a > 0.0f)) {
            MP_storeRGB48(d, c0);
            return;
        }
    }
    MP_float3 e = effect();
    if (run.maskTable) {
        const float m =
            run.maskTable[MP_tableIndex(params->lumr * c0.x + params->lumg * c0.y + params->lumb * c0.z)];
        const float k = 1.0f - m;
        e = {c0.x * k + e.x * m, c0.y * k + e.y * m, c0.z * k + e.z * m};
    }
    e = MP_calcLayerMethodOpacity(run.mode, c0, e, run.opacity);
    MP_storeRGB48(d, MP_calcGeometryMethodBlend(c0, e, a));
}

// Full worker over rows [start, end): effect(c0, x, y) gives the operator's
// colour, the frame adds mask, blend, opacity and geometry.
template <typename Effect>
inline void MP_fullWorkerRows(const MP_DriverRun& run, int start, int end, Effect&& effect)
{
    const bool geometry = run.params->geometry_needed != 0;
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        const ushort* s = run.src + row;
        ushort* d = run.dst + row;
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            const MP_float3 c0 = MP_loadRGB48(s);
            MP_fullWorkerPixel(run, geometry, x, y, c0, d, [&] { return effect(c0, x, y); });
        }
    }
}

// Reduced worker over rows [start, end): effect(c0, x, y) gives the colour,
// stored clamped to 0..1 and truncated. Operators whose reduced worker
// converts differently write their own loop.
template <typename Effect>
inline void MP_reducedWorkerRows(const MP_DriverRun& run, int start, int end, Effect&& effect)
{
    for (int y = start; y < end; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(run.width) * 3;
        const ushort* s = run.src + row;
        ushort* d = run.dst + row;
        for (int x = 0; x < run.width; ++x, s += 3, d += 3)
            MP_storeRGB48Clamped(d, effect(MP_loadRGB48(s), x, y));
    }
}

// Lookup-table prepass of a spline slot ("Maskierung", gradation curves):
// table[i] = the curve of p[slot] at i/65535, clamped to 0..1, for all 65,536
// entries, filled by the table pass (waits before it returns).
void MP_runSplineTablePass(MP_Params* params, int slot, float* table);
