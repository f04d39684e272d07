#pragma once
// The HDR weight-map kernels: one unsigned 16-bit weight per pixel of an
// exposure, saying how much that pixel counts in the fusion. A weight w
// (nominally 0..1) is stored as (int)(clamp(w, 0, 1) * 65534 + 1), so stored
// values run from 1 (weight 0) to 65535 (weight 1).
//
// Every kernel has the driver signature (src = RGB48 exposure, dst = weight
// map, srcBpp 6, dstBpp 2) and returns 0, -1 when a buffer it needs cannot be
// had (nothing written then) or -2 for a missing buffer or parameter block.
//
// Parameter slots (the HDR operator catalogue's five sliders, as fractions):
//   p[0][0] radius, p[1][0] halo (bilateral exponent bp = (1 - p) * 1.99 + 0.001),
//   p[2][0] the exposure's weight (wt = (2 p)^3 in all but HDRaverage),
//   p[3][0] day/night target dn (threshold factor of the focus-stacking kernels),
//   p[5][0] per-exposure value g (luminance exponent).
//
// The system runs MP_calcPixelHDRaverage only; the rest complete the family.

#include "engine/core/mp_params.h"

#include <cstdint>

using ushort = unsigned short;

// The constant map: every value = (int)(clamp(p[2][0], 0, 1) * 65534 + 1).
int MP_calcPixelHDRaverage(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);

// Per-pixel kernels (no window).
int MP_calcPixelFastHDRentropy(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);
int MP_calcPixelFastHDRdistance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);
int MP_calcPixelFastHDRrgrbgb(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelFastHDRabsdist(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params);

// Windowed kernels.
int MP_calcPixelHDRlinear(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                          MP_Params* params);
int MP_calcPixelHDRloglinear(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);
int MP_calcPixelHDRquadriclinear(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
int MP_calcPixelHDRsatlig(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                          MP_Params* params);
int MP_calcPixelHDRlumrgb(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                          MP_Params* params);
int MP_calcPixelHDRlumentropy(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params);
int MP_calcPixelHDRdetail(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                          MP_Params* params);
int MP_calcPixelHDRrgbdetail(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                             MP_Params* params);

// Windowed kernels that run on the calling thread without tasks and post
// progress themselves (reached by no kernel name).
int MP_calcPixelHDRdistance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
int MP_calcPixelHDRrgrbgb(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                          MP_Params* params);
int MP_calcPixelHDRgradient(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                            MP_Params* params);
int MP_calcPixelHDRentropy(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                           MP_Params* params);

// Focus-stacking kernels: local sharpness F, stored from v = F * wt - thr.
int MP_calcPixelHDRfocusstacklin(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
int MP_calcPixelHDRfocusstacklum(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
int MP_calcPixelHDRfocusstackrgb(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
int MP_calcPixelHDRfocusstackvar(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
int MP_calcPixelHDRfocusstackmse(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
int MP_calcPixelHDRfocusstackmce(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
// The mse and mce sharpness at full, half and quarter size, averaged.
int MP_calcPixelHDRfocusstackpyramidmse(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                        MP_Params* params);
int MP_calcPixelHDRfocusstackpyramidmce(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                        MP_Params* params);

// The focus-stacking threshold for an image of width x height pixels: the base
// threshold divided by megapixels^exponent (above one megapixel), then scaled
// by the radius slider (3.625 times at 0, 1 at 0.75, 0.55 at 1).
float CalcThresholdByResolution(int width, int height, float threshold, float exponent, float radius);

// Iterated box blur of a one-channel 16-bit map on the calling thread:
// radius r = (int)(p[0][0] / p[1][0]) over (int)p[1][0] passes (at most
// MP_MAX_BLUR_PASSES), horizontal
// then vertical, each pass reading src and writing dst. Returns 0 without
// writing when r < 1 or there is no pass; a pass whose radius the map's width
// reduces to 0 is skipped. -1 when its buffers cannot be had.
int MP_calcPixelHDRlinBlurHorVer(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                 MP_Params* params);
