#pragma once
// Radial distortions: "Magnet", "Airbag", "Linsenkorrektur" and
// "Chromatische Verschiebung". Each moves image content along rays through a
// point; source points outside the image give black.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelMagnet(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelAirbag(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelLensCorrection(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelChromaticMove(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
