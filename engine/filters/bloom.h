#pragma once
// "Bildleuchten" (MP_calcPixelImageBloom): bright surroundings glow into a
// pixel. The mean of the luminance plane over a flat window of the chosen
// radius gives a squared glow, tinted by a colour temperature and weighted by
// the "Maskierung" curve of the pixel's own luminance.
//
// p[0][0] "Radius" (size factor 500, loop step, box weights), p[1][0]
// "Stärke" (s = 0.5 p), p[2][0] "Temperatur" (1000 + 15500 p kelvin), slot 3
// "Maskierung", slot 4 combo, slot 5 geometry. The workers write an output
// image in the scratch buffer (followed by the luminance plane), copied to
// dst at the end, so src may equal dst.
//
// Returns 0; -1 without the scratch buffer or geometry masks (dst untouched);
// -2 for missing buffers or block, or bytes per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelImageBloom(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
