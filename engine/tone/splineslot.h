#pragma once
// Filling a curve table from a spline slot of the parameter block (six knots,
// x and y interleaved in p[s][0..11]), as the tone prepasses do for their
// "Maskierung" and gradation curves.

#include "engine/core/splines.h"

// table[i] = the slot's curve at i / 65535, clamped to 0..1, for start <= i < end.
inline void MP_splineSlotTable(const float* knots, int start, int end, float* table)
{
    const float* k = knots;
    MP_cubicSplineTable(start, end, table, k[0], k[2], k[4], k[6], k[8], k[10], k[1], k[3], k[5], k[7], k[9], k[11]);
}
