#pragma once
// Black and white points: six kernels that stretch an RGB48 image so that a
// black point becomes 0 and a white point full scale. They differ in how the
// points are found.
//
// The lummin / lummax handshake: MP_calcPixelbwpoint and
// MP_calcPixelautomaticbwpoint stretch between the parameter block's lummin and
// lummax as the caller filled them; MP_calcPixelmanualbwpoint,
// MP_calcPixelManualRGBpoint and MP_calcPixelWeighedBW write the points they
// use into the caller's block, where they stay after the run.
//
// Every driver accepts one buffer as source and destination, returns 0, -1
// when a working buffer cannot be had (nothing written, lummin / lummax not
// touched) or -2 for a missing buffer or block.

#include "engine/core/mp_params.h"

#include <cstdint>

using ushort = unsigned short;

// Internal stretch from lummin / lummax; no blend, no mask.
int MP_calcPixelbwpoint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
// "automatischer Schwarz/Weißpunkt": the same with blend (slot 0) and geometry (slot 1).
int MP_calcPixelautomaticbwpoint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
// "manueller Schwarz/Weißpunkt": lummin = 0.499 p[0][0], lummax = 0.501 + 0.499 p[1][0].
int MP_calcPixelmanualbwpoint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
// "manueller RGB-Punkt": one point pair and table per channel.
int MP_calcPixelManualRGBpoint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
// "Percentile justieren": shadow, mid-tone and light points at percentiles of
// the luminance histogram and a three-piece curve through them.
int MP_calcPixelpercentbwpoint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
// "gewogener Schwarz/Weißpunkt": points averaged over reduced copies, then the
// internal stretch.
int MP_calcPixelWeighedBW(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);

// The percentile point of "Percentile justieren": the first of the 65,536
// bins whose cumulative count reaches the threshold (int)product, the
// threshold held inside 0..count. With the threshold at the count this is the
// highest occupied bin, also where single precision rounds the product above
// a pixel count it cannot hold exactly.
int MP_bwPercentileBin(const uint64_t* cumulative, float product, int64_t count);
