#pragma once
// "Würfel" covers the picture with a brick pattern of shaded cube sprites
// (texture 3, each cube the mean colour under it) mixed with the photograph
// through a curve; "Bubble-Tea" covers it with a grid of lit hemispheres
// whose size follows the brightness of their cell.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

// -1 when texture 3 is missing or too small for the sprite of the size class.
int MP_calcPixelCubify(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelBubble(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
