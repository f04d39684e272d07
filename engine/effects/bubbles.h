#pragma once
// Bubble overlays: "Luftblasen" lets grey air bubbles rise and drift from an
// emitter, "Seifenblasen" spreads coloured soap bubbles around it; sprites
// from textures 40..45 (no bubbles when one is missing or smaller than 40).

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelAirBubbles(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
int MP_calcPixelSoapBubbles(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
