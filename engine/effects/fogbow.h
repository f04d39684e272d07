#pragma once
// Fog and rainbow overlays: "Nebel" lays a band of coloured fog along a line,
// thinning with the distance from it and with the picture's brightness;
// "Regenbogen" adds a rainbow arc around a position. Both write dst directly
// (a task reads from src only the pixel it writes) and always return 0 for
// valid buffers.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelTiltFog(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelRegenbogen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
