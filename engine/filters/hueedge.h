#pragma once
// "Farbton Kantenverstärker" (MP_calcPixelColorEnhance): local contrast
// (macro and micro detail from a bilateral window of the pixel's luminance)
// boosted only where the window's mean colour has the hue of "Farbton". The
// driver frame is MP_runColorEnhance (engine/filters/colorenhance.h); these
// are its workers. Slots as there.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelColorEnhance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
