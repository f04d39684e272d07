#pragma once
// "Körnung hinzufügen" (MP_calcPixelAddGrain): film grain. A noise plane, a
// closed hash of the pixel position and the engine's random seed, is softened
// by the engine's box blur and added to all three channels, weighted by the
// "Maskierung" curve of the pixel's luminance. The same seed gives the same
// grain in every run and any band split.
//
// p[0][0] "Körnung", p[1][0] "Glättung", slot 2 "Maskierung", slot 3 combo,
// slot 4 geometry. Releases the engine scratch buffer and reseeds the standard
// library's generator (srand) with the engine seed.
//
// Returns 0; -1 when the plane or the blur's working memory cannot be had or
// the geometry masks fail (dst untouched); -2 for missing buffers or block, or
// bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelAddGrain(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// The grain amplitude A for "Körnung" g on a picture whose larger side is
// `longSide`: min(32767, (int)(1 + g * 32766 * longSide / 4000)), at least 1.
int MP_grainAmplitude(float g, int longSide);
// The unblurred grain value at (x, y): -A .. A - 1.
int MP_grainNoise(int x, int y, int seed, int A);
// MP_grainNoise(x, y, seed, A) as shorts for x in 0..width-1 and y in y0..y1-1
// into `rows` (row y0 first, `width` values a row), vectorised.
void MP_grainNoiseRows(short* rows, int width, int y0, int y1, int seed, int A);
