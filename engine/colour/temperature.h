#pragma once
// Colour temperature and balance: six per-pixel colour operators.
//
//   MP_calcPixelColorTemperature  "Farbtemperatur"          gains from the white of a temperature, Q15 mask
//   MP_calcPixelWhitebalance      "manueller Weißabgleich"  squared gains from a picked colour
//   MP_calcPixelGammaColor        "Farbkanal Gamma"         one gamma per channel
//   MP_calcPixelColorBalance      "Farbbalance"             the gammas, each corrected by the other two
//   MP_calcPixelSepia             "Sepia Tönung"            luminance tinted with a tone colour
//   MP_calcPixelTiltColor         "Farbverlauf"             a tint growing with the distance from a line
//
// All are drivers of the kernel frame (engine/core/driverframe.h): they take
// RGB48 buffers (source and destination may be the same), return 0, -2 for a
// missing buffer or block and -1 when the geometry masks cannot be prepared.
// Slider values outside 0..1 are used as they stand; only table indices and
// float-to-int conversions are guarded.

#include "engine/core/driverframe.h"
#include "engine/core/mp_params.h"

#include <cstdint>

using ushort = unsigned short;

int MP_calcPixelColorTemperature(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
int MP_calcPixelWhitebalance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
int MP_calcPixelGammaColor(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelColorBalance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
int MP_calcPixelSepia(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTiltColor(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// ---- Fixed-point core of the colour-temperature operators ---------------------
// ColorTemperature and Daytime work per pixel in 32-bit integers: Q14
// luminance weights and gains, a Q15 mask (0..32767) from an int table indexed
// by the Q14 luminance.

struct MP_ColorTempFixed {
    uint32_t lr, lg, lb; // Q14 luminance weights, each held to 0..16384
    uint32_t gain[3];    // Q14 gains 1 + mean(white) - white_c (16384 = 1.0)
};

// The weights and gains of one run; white values are expected in 0..1 (the
// white of a temperature always is), the products are guarded all the same.
MP_ColorTempFixed MP_colorTempFixed(float lumr, float lumg, float lumb, float whiter, float whiteg, float whiteb);

// Q15 mask entry of a curve value: clamped to 0..1 (NaN: 0), times 32767.0.
int MP_colorTempMaskEntry(float curve);

// mask[i] = MP_colorTempMaskEntry of the clamped curve of a spline slot
// (p[s][0..11]) at i/65535, for start <= i < end: the mask prepass of
// ColorTemperature and Daytime.
void MP_colorTempMaskTable(const float* knots, int start, int end, int* mask);

// One pixel: L = luminance index, S = mask[L] (0..32767), e_c = gained channel
// (0..65535); out_c = (e'_c * S + (32767 - S) * C) >> 15 where e'_c is e_c, or
// curve[e_c] (0..65535) when a curve table is given.
template <bool WithCurve>
inline void MP_colorTempPixel(const MP_ColorTempFixed& f, const int* mask, const int* curve, const ushort* in,
                              uint32_t out[3])
{
    const uint32_t R = in[0], G = in[1], B = in[2];
    uint32_t L = (f.lr * R + f.lg * G + f.lb * B) >> 14;
    L = L < 65535u ? L : 65535u;
    const uint32_t S = static_cast<uint32_t>(mask[L]);
    const uint32_t keep = 32767u - S;
    uint32_t er = (f.gain[0] * R) >> 14;
    uint32_t eg = (f.gain[1] * G) >> 14;
    uint32_t eb = (f.gain[2] * B) >> 14;
    er = er < 65535u ? er : 65535u;
    eg = eg < 65535u ? eg : 65535u;
    eb = eb < 65535u ? eb : 65535u;
    if constexpr (WithCurve) {
        er = static_cast<uint32_t>(curve[er]);
        eg = static_cast<uint32_t>(curve[eg]);
        eb = static_cast<uint32_t>(curve[eb]);
    }
    out[0] = (er * S + keep * R) >> 15;
    out[1] = (eg * S + keep * G) >> 15;
    out[2] = (eb * S + keep * B) >> 15;
}

// A run of the fixed-point colour temperature: the frame's run, the white of
// the temperature, the mask table (0..32767 by luminance index, filled by
// MP_colorTempMaskTable) and the curve table (0..65535, nullptr: none).
// MP_Task_colorTempRows is the full worker over a task's rows (the frame's
// blend, opacity and geometry on top), MP_Task_colorTempRowsReduced the
// reduced one (several pixels at a time where the processor allows, with the
// same bits); both take an MP_ColorTempRun as their arguments. The workers of
// ColorTemperature and Daytime.
struct MP_ColorTempRun {
    MP_DriverRun run;
    float whiter = 0.0f, whiteg = 0.0f, whiteb = 0.0f;
    const int* mask = nullptr;
    const int* curve = nullptr;
};
void MP_Task_colorTempRows(TaskFuncParams t);
void MP_Task_colorTempRowsReduced(TaskFuncParams t);
