#pragma once
// "Polarlicht": an aurora curtain hanging from a line, wavering along it by
// sums of sines with seeded frequencies ("Variante" picks another set).

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelPolarLight(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
