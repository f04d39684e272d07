#pragma once
// Edge enhancers: "Kantenverstärker" (MP_calcPixelEnhance) and
// "künstlerischer Kantenverstärker" (MP_calcPixelArtworkEnhance). Both
// measure over a bilateral window how much brighter or darker a pixel is than
// its surroundings and scale its colour by that measure.
//
// Enhance: p[0][0] "Radius", p[1][0] "Makrodetail", p[2][0] "Mikrodetail",
// slot 3 the "Maskierung" spline, slot 4 the combo, slot 5 the geometry.
// ArtworkEnhance: p[0][0] "Radius", p[1][0] "Detail", slot 2 the combo,
// slot 3 the geometry (flat window weights).
//
// Drivers: 0; -1 without the luminance plane (nothing written); -2 for
// missing buffers or block, or bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelEnhance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelArtworkEnhance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);

// Benchmarks: true runs the edge enhancer as before its rework (the
// sixteen-lane sums with the divider, each pixel's factors alone), for
// old-against-new figures in one run. The same bits either way.
extern bool g_enhanceDivide;
// Tests: true keeps the edge enhancer off its AVX-512 code, so that an
// AVX-512 processor runs the AVX2 code that processors without it take.
extern bool g_enhanceNo512;
