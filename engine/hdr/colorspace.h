#pragma once
// Colour-space conversion of a freshly loaded image and the combined load
// pre-pass. Parameter slots:
//   p[0][0]       noise-reduction strength s (negative: off)
//   p[1][0]       dark-area colour optimisation weight g (1 on, 0 off)
//   p[2][0..2]    white values wr, wg, wb (1, 1, 1: no white balance)
//   p[3][0..8]    3x3 matrix RGB -> XYZ, row-major
//   p[4][0..8]    3x3 matrix XYZ -> target RGB, row-major
// Neither kernel blends, masks or posts progress; both accept one buffer as
// source and destination.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

// The two matrices in integer arithmetic with 10-bit coefficients
// ((int)(c * 1024)). Returns 0 (-2 for a missing buffer or block).
int MP_calcPixelColorSpaceConversion(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                     MP_Params* params);

// Noise reduction, dark-area colour optimisation, white balance and the two
// matrices in one pass (float). The 3x3 window wraps horizontally when the
// engine's panorama switch is on. Bands write into the scratch buffer, which
// is copied to dst at the end: 0, -1 when the scratch buffer cannot be had
// (nothing written), -2 for a missing buffer or block.
int MP_calcPixelCombinedPrePass(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);
