#pragma once
// "Gemälde": a pixel in the middle of its neighbourhood's brightness range
// keeps its colour; one darker or brighter than most of its neighbours takes
// the neighbourhood's mean colour.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelOilpaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
