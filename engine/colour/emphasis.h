#pragma once
// Colour emphasis operators: "Farbleuchtkraft" (MP_calcPixelColorIntensity),
// "Sin City" and "Sin City Invers" (MP_calcPixelSinCity,
// MP_calcPixelInvSinCity), "Farbton hinzumischen" (MP_calcPixelColorMix),
// "graue Tinte" (MP_calcPixelColorTint) and "Rote Augen"
// (MP_calcPixelRedEyes, run only by its kernel name).

#include "engine/core/driverframe.h"

int MP_calcPixelColorIntensity(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelSinCity(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelInvSinCity(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);
int MP_calcPixelColorMix(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelColorTint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelRedEyes(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
