#pragma once
// Weather overlays: "Regen" draws seeded streaks of falling rain, "Schnee"
// snow flakes from the flake sheet of texture 32 in ten depth layers (no
// flakes without it). Particles that leave an edge re-enter at the opposite
// one.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelRain(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelSnow(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
