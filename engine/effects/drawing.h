#pragma once
// Drawing filters: "Comic-Stil" draws lines where the neighbourhood's
// luminance differs from the pixel's over a solarised, posterised mean
// colour; "Bleistiftzeichnung" draws grey pencil strokes on white where a
// curve over the luminance lets the drawing through.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelComicPaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
// Writes dst directly (a task reads from src only the pixel it writes).
int MP_calcPixelPencilPaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
