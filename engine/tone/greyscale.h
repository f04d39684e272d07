#pragma once
// Greyscale conversions: "Graustufenumwandlung" (grey through six hue
// filters) and "Bleach Bypass" (S-curve through the luminance, then a partial
// desaturation under a "Maskierung" curve). Both return 0 (-2 for a missing
// buffer or block, -1 when the geometry buffers cannot be had); source and
// destination may be the same buffer.

#include "engine/core/mp_params.h"

typedef unsigned short ushort;

// "Graustufenumwandlung"
int MP_calcPixelGreyscale(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
// "Bleach Bypass"
int MP_calcPixelBleachBypass(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
