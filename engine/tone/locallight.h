#pragma once
// Local light and threshold operators: "Lichttuner" (relights the picture
// from a direction by the local luminance slope) and "Schwarz-Weiß" (a local
// threshold at a share of the window's luminance histogram). Both read their
// window from a luminance map in the engine's scratch buffer, so source and
// destination may be the same buffer. They return 0, -1 when the scratch
// buffer (or the geometry buffers) cannot be had (nothing written), -2 for a
// missing buffer or block.
//
// The window rows are the half-widths lx of the block, which the dispatcher
// fills for the kernel's radius. Where the driver's own radius reaches rows
// the dispatcher did not fill (its radius is truncated at another step, or
// lies beyond the table), the driver fills lx for its own radius first.

#include "engine/core/mp_params.h"

typedef unsigned short ushort;

// "Lichttuner"
int MP_calcPixelLightTuner(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
// "Schwarz-Weiß"
int MP_calcPixelBlackWhite(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
