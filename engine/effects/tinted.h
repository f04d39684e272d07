#pragma once
// Tinted texture overlays: "Struktur (Licht)", "Struktur (Doppelbelichtung)"
// and "Struktur (Tonung)". A texture recoloured in hue, saturation and value
// is mixed in through the "Maskierung" luminance curve. An empty texture slot
// gives -1 with dst and the parameter block untouched.
//
// "Struktur (Licht)" rewrites the caller's parameter block after its pass
// (slot 0 its blend, slot 1 its geometry sets, lummin / lummax of the
// result) and stretches dst with MP_calcPixelautomaticbwpoint.
// "Struktur (Doppelbelichtung)" with the first texture scales the source
// into texture slot 280 first (the slot keeps it).

#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelStructureLight(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelStructureDouble(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);
int MP_calcPixelStructureTone(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);

// The texel (r, g, b) in 0..1 with its hue turned by H degrees and its
// saturation raised by sigma (held to 0.001..1).
MP_float3 MP_recolourTexel(MP_float3 c, float H, float sigma);
// The share of the turned texture that "Struktur (Tonung)" shows for "Winkel"
// W: 0.95 at multiples of 90 degrees, 0.525 at odd multiples of 45.
float MP_toneWindowZoom(float W);
