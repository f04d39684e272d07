#pragma once
// "Rahmen": a plain coloured frame on all four sides with rounded, softened
// inner corners. Writes dst directly (no scratch image).

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelBorder(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
