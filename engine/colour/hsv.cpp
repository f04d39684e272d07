// Hue, saturation and value operators: "Farbton Sättigung Belichtung",
// "Psychedelic" and "Pop-Art".

#include "engine/colour/hsv.h"

#include "engine/MP_calccl.h"
#include "engine/core/samplers.h"
#include "engine/core/textures.h"

#include <cstring>

void MP_posteriseRatioTable(int start, int end, float* table, float step)
{
    for (int i = start; i < end; ++i) {
        if (i == 0) {
            table[0] = 0.0f;
            continue;
        }
        const float x = static_cast<float>(i) * MP_k;
        table[i] = ((x - std::fmod(x, step)) / x) * 0.99f + 0.005f;
    }
}

namespace {

// The RGB48 size of an image; 0 when it has no pixels.
size_t rgb48Bytes(int sizex, int sizey)
{
    return static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 3 * sizeof(ushort);
}

inline float luminance(const MP_Params* p, MP_float3 c) { return p->lumr * c.x + p->lumg * c.y + p->lumb * c.z; }

// c0 * (1 - m) + e * m per channel.
inline MP_float3 maskMix(MP_float3 c0, MP_float3 e, float m)
{
    const float k = 1.0f - m;
    return {c0.x * k + e.x * m, c0.y * k + e.y * m, c0.z * k + e.z * m};
}

// ---- "Farbton Sättigung Belichtung" ------------------------------------------------
// Slots: 0 "Farbton", 1 "Sättigung", 2 "Belichtung", 3 "Maskierung", 4 combo, 5 geometry.

struct HslArgs {
    MP_DriverRun run;
    float turn;       // 360 * (p[0][0] - 0.5) degrees
    float satOffset;  // 2 * p[1][0] - 1
    float valOffset;  // 2 * p[2][0] - 1
    const float* mask;
};

inline MP_float3 hslEffect(const HslArgs& a, MP_float3 c)
{
    const MP_hsv hsv = MP_rgbToHsv(c.x, c.y, c.z);
    const float lum = luminance(a.run.params, c);
    const float s = MP_clamp(hsv.s + a.satOffset, 0.001f, 1.0f);
    // One correction each way covers the slider range of +-180 degrees.
    float h = hsv.h + a.turn;
    if (h < 0.0f)
        h += 360.0f;
    if (h >= 360.0f)
        h -= 360.0f;
    const float v = MP_clamp(hsv.v + a.valOffset, 0.0f, 1.0f);
    const MP_float3 e = MP_hsvToRgb(h, s, v, c);
    return maskMix(c, e, a.mask[MP_tableIndex(lum)]);
}

void MP_Task_calcPixelHSL(TaskFuncParams t)
{
    const HslArgs* a = MP_taskArgs<HslArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a](MP_float3 c, int, int) { return hslEffect(*a, c); });
}

void MP_Task_calcPixelHSLReduced(TaskFuncParams t)
{
    const HslArgs* a = MP_taskArgs<HslArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return hslEffect(*a, c); });
}

// ---- "Psychedelic" --------------------------------------------------------------------
// Slots: 0 "Farbton", 1 "Sättigung", 2 "Farbabstand", 3 "Maskierung", 4 combo, 5 geometry.

struct PsychoArgs {
    MP_DriverRun run; // dst is the scratch buffer
    float turn;       // 360 * (p[0][0] - 0.5) degrees
    float satOffset;  // 2 * p[1][0] - 1
    float spread;     // 10 * p[2][0]: hue turns per unit of luminance
    const float* mask;
};

inline MP_float3 psychoEffect(const PsychoArgs& a, MP_float3 c)
{
    const MP_hsv hsv = MP_rgbToHsv(c.x, c.y, c.z);
    const float lum = luminance(a.run.params, c);
    const float v = MP_clamp(hsv.v, 0.0f, 1.0f);
    const float h = MP_wrapHueTurns(((lum - 0.5f) * a.spread * 360.0f + a.turn) + hsv.h);
    const float s = MP_clamp(hsv.s + a.satOffset, 0.001f, 1.0f);
    const MP_float3 e = MP_hsvToRgb(h, s, v, c);
    return maskMix(c, e, a.mask[MP_tableIndex(lum)]);
}

void MP_Task_calcPixelPsycho(TaskFuncParams t)
{
    const PsychoArgs* a = MP_taskArgs<PsychoArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return psychoEffect(*a, c); });
}

void MP_Task_calcPixelPsychoReduced(TaskFuncParams t)
{
    const PsychoArgs* a = MP_taskArgs<PsychoArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return psychoEffect(*a, c); });
}

// ---- "Pop-Art" --------------------------------------------------------------------------
// Slots: 0 "Anzahl", 1 "Farbton", 2 "Sättigung", 3 "Farbabstand", 4 "Abstufungen",
// 5 combo, 6 geometry.

struct PopartArgs {
    MP_DriverRun run;  // dst is the scratch buffer
    int n;             // tiles per row and column, 1..10
    float tileTurn;    // D * 0.8 / (n * n): hue turns from one tile to the next
    float turn;        // 360 * (p[1][0] - 0.5) degrees
    float satOffset;   // 2 * p[2][0] - 1
    const float* ratio; // posterise ratio table
};

inline MP_float3 popartEffect(const PopartArgs& a, int x, int y)
{
    const int w = a.run.width, hgt = a.run.height;
    float tx = static_cast<float>(x) * static_cast<float>(a.n);
    float ty = static_cast<float>(y) * static_cast<float>(a.n);
    int tile = 0;
    for (int k = 1; k <= 9; ++k) {
        if (tx >= static_cast<float>(k * w))
            tile += 1;
        if (ty >= static_cast<float>(k * hgt))
            tile += a.n;
    }
    // At most n - 1 subtractions: x < w, so tx < n * w.
    while (tx > static_cast<float>(w))
        tx -= static_cast<float>(w);
    while (ty > static_cast<float>(hgt))
        ty -= static_cast<float>(hgt);
    const MP_float3 cs = MP_tex2D16intBilinearSeemless(w, hgt, a.run.src, tx, ty);
    const MP_hsv hsv = MP_rgbToHsv(cs.x, cs.y, cs.z);
    const float v = MP_clamp(hsv.v, 0.0f, 1.0f);
    const float h = MP_wrapHueTurns((static_cast<float>(tile) * a.tileTurn - 0.4f) * 360.0f + a.turn + hsv.h);
    const float s = MP_clamp(hsv.s + a.satOffset, 0.001f, 1.0f);
    const MP_float3 e = MP_hsvToRgb(h, s, v, cs);
    const float factor = a.ratio[MP_tableIndex(luminance(a.run.params, cs))];
    return {MP_min(1.0f, e.x * factor), MP_min(1.0f, e.y * factor), MP_min(1.0f, e.z * factor)};
}

void MP_Task_calcPixelPopart(TaskFuncParams t)
{
    const PopartArgs* a = MP_taskArgs<PopartArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3, int x, int y) { return popartEffect(*a, x, y); });
}

void MP_Task_calcPixelPopartReduced(TaskFuncParams t)
{
    const PopartArgs* a = MP_taskArgs<PopartArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3, int x, int y) { return popartEffect(*a, x, y); });
}

struct PosteriseTableArgs {
    float step;
};

void MP_TaskPre1_calcPixelPopart(TaskFuncParams t)
{
    MP_posteriseRatioTable(MP_taskStart(t), MP_taskEnd(t), MP_temp_table,
                           MP_taskArgs<PosteriseTableArgs>(t)->step);
}

// Psycho and Pop-Art write into the scratch buffer and copy it into the
// destination at the end. The buffer is asked for first: without it the
// driver returns -1 and nothing is written.
ushort* scratchFor(int sizex, int sizey)
{
    return static_cast<ushort*>(MP_UpdateBuffer(rgb48Bytes(sizex, sizey)));
}

} // namespace

int MP_calcPixelHSL(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    HslArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 5, 4))
        return r;
    a.turn = 360.0f * (params->p[0][0] - 0.5f);
    a.satOffset = 2.0f * params->p[1][0] - 1.0f;
    a.valOffset = 2.0f * params->p[2][0] - 1.0f;
    a.mask = MP_temp2_table;
    MP_runSplineTablePass(params, 3, MP_temp2_table);
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelHSL, MP_Task_calcPixelHSLReduced, 8);
}

int MP_calcPixelPsycho(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    const size_t bytes = rgb48Bytes(sizex, sizey);
    if (bytes == 0)
        return 0;
    ushort* scratch = scratchFor(sizex, sizey);
    if (!scratch)
        return -1;
    PsychoArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, scratch, params, 5, 4))
        return r;
    a.turn = 360.0f * (params->p[0][0] - 0.5f);
    a.satOffset = 2.0f * params->p[1][0] - 1.0f;
    a.spread = 10.0f * params->p[2][0];
    a.mask = MP_temp2_table;
    MP_runSplineTablePass(params, 3, MP_temp2_table);
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelPsycho, MP_Task_calcPixelPsychoReduced, 8);
    std::memcpy(dst, scratch, bytes);
    return 0;
}

int MP_calcPixelPopart(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    const size_t bytes = rgb48Bytes(sizex, sizey);
    if (bytes == 0)
        return 0;
    ushort* scratch = scratchFor(sizex, sizey);
    if (!scratch)
        return -1;
    PopartArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, scratch, params, 6, 5))
        return r;
    // "Anzahl" 1..10; a value from a file outside the slider range is held
    // there, so the tile count stays a small positive number.
    a.n = MP_safeTrunc(9.01f * params->p[0][0] + 1.0f, 1, 10);
    a.turn = 360.0f * (params->p[1][0] - 0.5f);
    a.satOffset = 2.0f * params->p[2][0] - 1.0f;
    const float spread = 1.0f + 10.0f * params->p[3][0];
    a.tileTurn = spread * 0.8f / static_cast<float>(a.n * a.n);
    a.ratio = MP_temp_table;
    PosteriseTableArgs table{(0.5f - 0.5f * params->p[4][0]) * 0.99f + 0.005f};
    MP_runTablePass(MP_TaskPre1_calcPixelPopart, MP_makeTask(params, &table));
    MP_runDriverBands(a.run, &a, MP_Task_calcPixelPopart, MP_Task_calcPixelPopartReduced, 8);
    std::memcpy(dst, scratch, bytes);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelHSL", MP_calcPixelHSL},
    {"MP_calcPixelPsycho", MP_calcPixelPsycho},
    {"MP_calcPixelPopart", MP_calcPixelPopart},
};
} // namespace
extern const MP_DriverTable MP_drivers_hsv = MP_driverTable(kDrivers);
