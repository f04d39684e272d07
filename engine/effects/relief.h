#pragma once
// Relief lighting filters: "Wachsbild", "Folie", "Weiches Relief" and
// "Foto-Reflektor". The image's luminance is taken as a relief; its slope at
// every pixel, from signed distance-weighted luminance differences in a
// window, gives a surface normal that a light from the position slot shades.
// The drivers write dst directly (a task reads from src only the pixel it
// writes), so src and dst may be one buffer.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelWaxPaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelPlastics(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelSoftRelief(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
int MP_calcPixelAddReflector(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
