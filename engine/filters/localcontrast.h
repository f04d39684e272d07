#pragma once
// Bilateral local-contrast operators: "Local Contrast", "Local Contour",
// "Color Contrast" and "Veiling Glare". Each compares a pixel with the
// edge-preserving (bilateral) mean of its window and pushes it away from or
// toward that mean, masked by its "Maskierung" curve over the centre
// luminance.
//
// Slots of all four: p[0][0] "Radius" (size factor 500), p[1][0] "Stärke",
// slot 2 the "Maskierung" spline, slot 3 the combo (blend mode, opacity in
// percent), slot 4 the geometry sets.
//
// Drivers: 0; -1 when the scratch buffer cannot be had (nothing written);
// -2 for missing buffers or block, or bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelLocalContrast(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelLocalContour(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
int MP_calcPixelColorContrast(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelVeilingGlare(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
