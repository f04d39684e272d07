#pragma once
// Embossed texture overlays: "Struktur (Stoffe)", "Struktur (Risse)",
// "Struktur (Papier)", "Struktur (Metalle)", "Struktur (Puzzle)" and
// "Struktur (Stein)". A tiled relief texture shifts the sample point and
// scales the brightness. An empty texture slot gives -1, dst untouched.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelStructureCloth(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelStructureCrack(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelStructurePaper(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelStructureMetal(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelStructurePuzzle(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);
int MP_calcPixelStructureStone(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
