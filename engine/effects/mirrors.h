#pragma once
// Mirror operators: "Spiegelung horizontal" (left-right) and "Spiegelung
// vertikal" (top-bottom). Samples are copied, never converted.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelXFlip(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelYFlip(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
