#pragma once
// Warps and displacements: "Perspektive", "Wellen", "Glasstruktur" and
// "Warp".

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelPerspective(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
int MP_calcPixelWaveDistort(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
int MP_calcPixelGlasStruct(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
int MP_calcPixelWarp(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
