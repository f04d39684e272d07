#pragma once
// Blurs along a path through each pixel: "gerichtete Weichzeichnung"
// (MP_calcPixelDirBlur) averages along a straight line with an optional glow,
// "Bewegungsunschärfe reduzieren" (MP_calcPixelDirSharpen) pushes the pixel
// away from that line mean, "Kreis-Weichzeichnung" (MP_calcPixelRadialBlur)
// averages along an arc around the picture's centre.
//
// DirBlur: p[0][0] "Leuchten", line slot 1 "Richtung" (p[1][0..3] = x1, y1,
// x2, y2 as fractions of width and height), slot 2 "Maskierung", slot 3
// combo, slot 4 geometry. DirSharpen: the same with p[0][0] "Stärke".
// RadialBlur: p[0][0] "Länge", p[1][0] "Winkel", slot 2 combo, slot 3
// geometry.
// The line runs over a quarter of the "Richtung" line, centred on the pixel,
// at most 500 px (times the preview scale); its samples stick to the border
// rows, and to the border columns or wrap around in panorama mode. Arc
// samples outside the picture are skipped. One worker each; the output goes
// through the scratch buffer, so src may equal dst.
//
// Returns 0; -1 without the scratch buffer or geometry masks (dst untouched);
// -2 for missing buffers or block, or bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelDirBlur(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelDirSharpen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
int MP_calcPixelRadialBlur(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
