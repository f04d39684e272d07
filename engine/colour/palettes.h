#pragma once
// Colour palettes: operators that recolour pixels by fixed colour sets.
//
//   MP_calcPixelColorPalette  "Farbpalette"  saturation raised or lowered around eight hue anchors
//   MP_calcPixelC64           "C64 Farben"   blocks of one colour from a fixed 16-colour palette
//   MP_calcPixelUnderWater    "Unter Wasser" red, green and blue absorbed with a depth growing down the image
//   MP_calcPixeldarktogrey    dark pixels drawn toward their grey (not a kernel of the dispatcher)
//
// Drivers of the kernel frame (engine/core/driverframe.h) on RGB48 buffers;
// source and destination may be the same buffer. They return 0, -2 for a
// missing buffer or block, -1 when the geometry masks (or, for darktogrey, the
// scratch buffer) cannot be had.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelColorPalette(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
// Single-threaded: blocks of n rows by 2n columns, n = "Raster" 1..10.
int MP_calcPixelC64(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelUnderWater(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
// Single-threaded, through the engine's scratch buffer; only RGB48
// destinations (dstBpp 6) are accepted.
int MP_calcPixeldarktogrey(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// The C64 palette: 16 colours with 8-bit channels, in search order.
extern const unsigned char MP_c64Palette[16][3];
// Block size of a "Raster" slider value: (int)(9 p + 1 + 0.05), held to 1..10.
int MP_c64BlockSize(float raster);
