#pragma once
// "Bokeh" (MP_calcPixelBokehBlur): a lens blur whose out-of-focus highlights
// take the shape of an aperture picture. Every pixel of a scaled-down copy
// gathers its neighbours through the aperture (bright ones weigh more); the
// blurred copy is enlarged again and blended over the picture.
//
// Slots: p[0][0] "Typ" (aperture texture 68 + (int)(31 p + 0.05)),
// p[1][0] "Unschärfe", p[2][0] "Winkel", p[3][0] "Leuchten" (weighting
// exponent 2 p), p[4][0] "Sättigung" (sigma = (1 - p) 2 - 1), p[5][0]
// "Präzision" (working scale 0.2 p + 0.3), slot 6 blend, slot 7 geometry
// (the mask opacity sets the blur size per pixel).
//
// Returns 0; -1 when the aperture texture is not loaded, a buffer cannot be
// had, or the aperture rotation or the masks fail (nothing written); -2 for
// missing buffers or block, or bytes per pixel other than 6.

#include <cstddef>

typedef unsigned short ushort;
struct MP_Params;
struct TaskFuncParams;

int MP_calcPixelBokehBlur(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// The aperture mask of a turned aperture texture (tw x th RGB48): tw x th
// shape bytes (the high byte of green, turned by 180 degrees), then per row
// the first column whose byte is at least 9 (tw when none) and the last such
// column (0 when none). Where tw <= 255 and th <= tw the row tables are
// bytes (tw x (th + 2) bytes in all); otherwise they are 32-bit integers
// behind the shape bytes. Does nothing when a side is below 1.
size_t MP_bokehMaskBytes(int tw, int th);
void MP_prepare_calcPixelBokehBlur(const ushort* turned, unsigned char* mask, int tw, int th);
// The row tables of such a mask.
int MP_bokehRowStart(const unsigned char* mask, int tw, int th, int row);
int MP_bokehRowEnd(const unsigned char* mask, int tw, int th, int row);

// The band tasks: the power table (table indices), the pixel records (rows
// of the working image), the gather (rows of the working image) and the
// blend (rows of the picture); the last two take the j-th of n equal column
// blocks of their rows, j and n in the low and high half of word 2.
void MP_TaskPre1_calcPixelBokehBlur(TaskFuncParams t);
void MP_TaskPre2_calcPixelBokehBlur(TaskFuncParams t);
void MP_Task_calcPixelBokehBlur(TaskFuncParams t);
void MP_TaskBlend_calcPixelBokehBlur(TaskFuncParams t);
