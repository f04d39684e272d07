#pragma once
// Sharpening on the 3 x 3 luminance neighbourhood: "Schärfen"
// (MP_calcPixelSharpen) stretches the local contrast of each pixel, mixed in
// by a strength and a masking curve, with blend and masks; SubSharpen
// (MP_calcPixelSubSharpen) is the same kind of stretch pulled toward the
// pixel's own luminance, run by the post-processing chain between passes.
//
// Sharpen: p[0][0] "Stärke", slot 1 "Maskierung", slot 2 combo, slot 3
// geometry. SubSharpen: p[0][0] intensity i, p[1][0] scale sigma, slot 2
// geometry (no blend; the full worker runs only with a mask).
// The neighbourhood rows are clamped to the picture; its columns too, or wrap
// around in panorama mode.
//
// Returns 0; -1 without the luminance plane (scratch buffer) or geometry
// masks (nothing written); -2 for missing buffers or block, or bytes per
// pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelSharpen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelSubSharpen(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
