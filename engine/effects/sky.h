#pragma once
// Night-sky overlays: "Sternenhimmel" scatters seeded stars where the picture
// looks like sky (above the horizon, near the sky colour, dark); "Mond" adds
// a lit moon disc from texture 1 with a phase, a colour and a glow. Both
// draw their overlay into the scratch image, then mix it into dst.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelStars(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
// -1 when texture 1 (the moon's face) is missing; nothing written.
int MP_calcPixelMoon(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
