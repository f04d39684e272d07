#pragma once
// Edge-preserving smoothing: "kantenerhaltende Weichzeichnung"
// (MP_calcPixelImageSmooth), "Farbkanal Weichzeichnung"
// (MP_calcPixelChannelSmooth), "Farbton Weichzeichnung"
// (MP_calcPixelColorSmooth) and "Himmel entrauschen" (MP_calcPixelSkySmooth,
// the same operator with other catalogue defaults). All four mix the
// bilateral local mean of their window into the pixel.
//
// ImageSmooth: p[0][0] "Radius", p[1][0] "Schärfe", slot 2 "Maskierung",
// slot 3 combo, slot 4 geometry. ChannelSmooth: p[0][0] "Radius", p[1..3][0]
// the red, green and blue amounts, slot 4 combo, slot 5 geometry.
// ColorSmooth, SkySmooth: p[0][0] "Radius", p[1][0] "Schärfe", colour slot 2
// (red, green, blue in entries 2..4), slot 3 combo, slot 4 geometry.
//
// Drivers: 0; -1 without the output scratch (nothing written); -2 for missing
// buffers or block, or bytes per pixel other than 6.

#include "engine/core/windowsize.h"

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelImageSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
int MP_calcPixelChannelSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelColorSmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
int MP_calcPixelSkySmooth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                          MP_Params* params);

// The ImageSmooth driver with its edge exponent q and window size given (the
// variance noise filter runs it with its own): slots as ImageSmooth's.
int MP_runImageSmooth(const char* kernel, const MP_WindowSize& size, float q, int sizex, int sizey, ushort* src,
                      ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

namespace mp_filters {
// The sixteen-lane gather the smoothing operators run (benchmarks compare
// them; every one gives the same bits): 0 the first one, with a division per
// sample; 1 (the default) the current one.
extern int g_smoothPath;
} // namespace mp_filters
