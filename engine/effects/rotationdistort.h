#pragma once
// Rotation distortions: "Horizont ausrichten", "Drehung", "Verwirbeln" and
// "Motiv verkleinern". Each resamples the image through an inverse mapping
// about a centre; source points outside the image give black.

#include "engine/core/mp_params.h"

using ushort = unsigned short;

int MP_calcPixelHorizon(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelRotate(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelTwirl(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelAddFrame(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
