#pragma once
// Re-exposure: a power-law tone curve between two exposure slider values
// (0..1, 0.5 neutral). p[0][0] is the value the image has now, p[1][0] the
// value wanted; every channel v becomes 65535 * (v/65535)^E with
//   E = (1.5 - p1)^1.3 / (1.5 - p0)^1.3,
// through a 65,536-entry table. E = 1 when p0 = p1.

#include "engine/core/mp_params.h"

#include <cstdint>

using ushort = unsigned short;

// The exponent E of the slider values p0 (now) and p1 (wanted), single precision.
float MP_reExposeExponent(float p0, float p1);

// The kernel: table in parallel (double-precision power), rows in N tasks.
// src and dst may be the same buffer. 0, -1 when the table cannot be had
// (nothing written), -2 for a missing buffer or block.
int MP_calcPixelReExposePicture(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);

// The same curve on the calling thread in single precision; reentrant.
int MP_calcOptimizeReExposePicture(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                   MP_Params* params);

// Searches, in at most seven tries on a quarter-size copy of image B, the
// exposure value that brings B's mean luminance from `current` to `target`
// and re-exposes A (widthA x heightA) and B (widthB x heightB) in place with
// the best value found (nothing when no try beat the image's own mean).
// imageA2 is not read. Runs on the calling thread and queues no tasks:
// several worker jobs may call it at once on different images.
// 0, -1 when its working copies cannot be had, -2 for missing images.
int MP_UI_OptimizeSingleExpose(int widthA, int heightA, int widthB, int heightB, ushort* imageA, ushort* imageA2,
                               float current, float target, ushort* imageB);

// A second curve family with a luminance-dependent gain: s = p[0][0] above 0.5
// brightens, below darkens (no operation runs it).
int MP_calcPixelSyntheticExposePicture(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                       MP_Params* params);
