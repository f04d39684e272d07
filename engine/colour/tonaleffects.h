#pragma once
// Tonal colour effects: "Solarize" (MP_calcPixelColorSolarize: the luminance
// folded like a triangle wave, the colour direction kept), "Posterize"
// (MP_calcPixelPosterize: the luminance lowered to the step below it) and
// "Negativ" (MP_calcPixelNegative: every channel inverted).

#include "engine/core/driverframe.h"

int MP_calcPixelColorSolarize(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelPosterize(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelNegative(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
