#pragma once
// Noise filters on the 3 x 3 neighbourhood of every pixel: "Entrauschen"
// (MP_calcPixelDeNoiseAverage, a bilateral average), "Entrauschen (Median)"
// (MP_calcPixelDeNoiseMedian, a per-channel median), "Entrauschen (Min-Max)"
// (MP_calcPixelDeNoiseMinMax, the luminance drawn toward the local mean
// unless the local range is large), and MP_calcPixelSubDeNoiseAverage, which
// the post-processing chain runs in place between sub-sharpening passes.
//
// The catalogue three: p[0][0] "Schärfe", slot 1 "Maskierung", slot 2 combo,
// slot 3 geometry. SubDeNoiseAverage: p[0][0] intensity, p[1][0] scale,
// slot 2 geometry.
//
// Drivers: 0; -1 when the output buffer cannot be had (nothing written); -2
// for missing buffers or block, or bytes per pixel other than 6.

#include "engine/core/tasks.h"

#include <cstddef>

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelDeNoiseAverage(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelDeNoiseMedian(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelDeNoiseMinMax(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelSubDeNoiseAverage(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params);

// The selection networks of the median: sorts the first n entries of v far
// enough to give the median entry (n 9, 6 and 4 by their networks, other n
// untouched) and returns the selected entry.
ushort MP_medianSelect(ushort* v, int n);

// The Min-Max step's factors from its strength s: g = 1 + (1 - s^4) * 10,
// b = s^0.25.
void MP_minMaxFactors(float s, float* g, float* b);

// The Min-Max step in its reduced form (16-bit arithmetic, masking curve
// `mask` at the plane luminance, no blend): rows [start, end) of out from src
// and its luminance plane.
struct MP_MinMaxStep {
    const ushort* src;
    const ushort* plane;
    ushort* out;
    int width, height;
    float g, b;
    const float* mask;
    bool panorama;
};
void MP_minMaxStepRows(const MP_MinMaxStep& step, int start, int end);
