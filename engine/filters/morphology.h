#pragma once
// Luminance-guided grey-level morphology: "Erosion" (MP_calcPixelErode) pulls
// each pixel toward the mean of its darker neighbours, "Dilatation"
// (MP_calcPixelDilate) toward its brighter ones, "Doppler"
// (MP_calcPixelDoppler) toward all of different luminance; each neighbour
// weighs by its luminance distance and a spatial weight from box to Gaussian.
//
// p[0][0] "Qualität" (radius o = (int)(9 p + 1.01), 1..10), p[1][0]
// "Schärfe" (sigma = o (0.5 + 0.5 s), Gaussian share s^0.75), slot 2
// "Maskierung", slot 3 combo, slot 4 geometry. The window is the square of
// radius o, cut at the picture's edges, wrapping around horizontally in
// panorama mode. The workers write the output scratch (copied to dst at the
// end), so src may equal dst. Bands of about 16 rows.
//
// Returns 0; -1 without the plane, the output scratch or geometry masks
// (nothing written); -2 for missing buffers or block, or bytes per pixel
// other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelErode(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelDilate(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelDoppler(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// The window radius o of "Qualität" q: (int)(9 q + 1.01) held to 1..10 (NaN: 1).
int MP_morphologyRadius(float q);
