#pragma once
// "Linsenreflexion": the reflections a bright light leaves in a lens, a glow
// at the light and discs and rings along the line through the image centre.
// The flare is drawn into dst; a blend pass mixes it with the saved input
// only when a blend mode, an opacity below 100 % or a mask is active.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelLensFlare(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
