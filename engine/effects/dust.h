#pragma once
// "Struktur (Staub)": up to 128 dust specks cut from a sheet of 4 x 4 tiles of
// 128 x 128 texels (texture slots 61-67, at least 512 x 512) darken or
// brighten the image at reproducible positions. An empty or too small sheet
// gives -1, dst untouched. The engine's random seed stays where the position
// draw ended.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelStructureDust(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
