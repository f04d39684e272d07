#pragma once
// Stretched texture overlays: "Struktur (Vignette)", "Struktur (Projektion)"
// and "Struktur (Filmrahmen)". One texture picture covers the whole image.
// An empty texture slot gives -1, dst untouched.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelStructureVignette(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params);
int MP_calcPixelStructureProjection(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                    MP_Params* params);
int MP_calcPixelStructureFilmframe(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                   MP_Params* params);
