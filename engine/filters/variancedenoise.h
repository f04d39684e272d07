#pragma once
// Noise filters on a window the user sizes: "Entrauschen (Varianz)"
// (MP_calcPixelDeNoiseVariance), the bilateral smoothing of
// "kantenerhaltende Weichzeichnung" on a window of up to 50 pixels sampled
// without a step, and "Entrauschen (Iterativ)" (MP_calcPixelDeNoiseIterative),
// which runs the variance filter on a private block, repeats the Min-Max step
// with a falling strength and blends the result onto the source.
//
// Variance: p[0][0] "Radius", p[1][0] "Schärfe", slot 2 "Maskierung", slot 3
// combo, slot 4 geometry. Iterative: p[0][0] "Radius", p[1][0]
// "Iterationen", p[2][0] "Schärfe", slot 3 "Maskierung", slot 4 combo,
// slot 5 geometry.
//
// Drivers: 0; -1 when a buffer cannot be had or the masks cannot be prepared
// (destination untouched); -2 for missing buffers or block, or bytes per
// pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelDeNoiseVariance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);
int MP_calcPixelDeNoiseIterative(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);

// The number of Min-Max passes for "Iterationen" p: (int)(p * 9 + 1) held to
// 1..10 (NaN gives 1).
int MP_deNoiseIterations(float p);
