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

// Benchmarks: true runs "Comic-Stil" the way it ran before its run rework,
// for old-against-new figures in one run. The same bits either way.
extern bool g_comicReference;
// Tests: true runs "Comic-Stil"'s effect one pixel at a time with the
// library's fmod (the reference its vector code must equal).
extern bool g_comicPortable;
