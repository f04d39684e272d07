#pragma once
// Region painting: "Pinselzeichnung" grows regions over the four direct
// neighbours under a tolerance that shrinks along the path; "Barock Gemälde"
// grows them over all eight by luminance, darkest neighbour first, and then
// relights the painted picture with "Wachsbild". Each region takes its mean
// source colour.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelPainting(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelOelbild(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
