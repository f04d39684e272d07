#pragma once
// Local colour corrections over a bilateral window:
// "automatischer lokaler Weißabgleich" (MP_calcPixelLocalWhitebalance) takes
// the window's mean colour as the local cast and evens out its channels;
// "chromatische Aberrationen korrigieren" (MP_calcPixelChromaticAberration)
// pulls pixels whose colour differs much from their small neighbourhood
// toward their own grey.
//
// Both: p[0][0] "Radius", p[1][0] "Stärke" / "Schärfe", slot 2 combo, slot 3
// geometry. Drivers: 0; -1 when a buffer cannot be had (nothing written); -2
// for missing buffers or block, or bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelLocalWhitebalance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params);
int MP_calcPixelChromaticAberration(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                    MP_Params* params);
