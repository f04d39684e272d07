#pragma once
// Median-threshold bitmaps: one byte per pixel holding the level of the
// pixel's luminance key (R + 2G + B) >> 4 (0..16383) among percentiles of
// the image's own key histogram, and the congruence (share of equal levels)
// of two such bitmaps. Every alignment decision compares images this way.
//
// The builders sample the histogram on a grid of about 400 x 400 points
// (steps w / 400 and h / 400, at least 1) and apply the level table to every
// pixel. They report the 17th, 50th and 83rd percentile bins divided by 16383
// through the pointers that are not null. Nothing here keeps state: worker
// jobs call these functions at once on different buffers.

#include <cstdint>

// Four levels (0..3) at the 17th, 50th and 83rd percentile. MP_convertToMTB
// forwards to MP_convertToMTB4.
void MP_convertToMTB(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83);
void MP_convertToMTB4(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83);
// Two levels (at the 50th percentile).
void MP_convertToMTB2(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83);
// Six levels (17th, 33rd, 50th, 66th, 83rd percentile).
void MP_convertToMTB6(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83);
// Twelve levels (8th, 17th, 25th, ... 92nd percentile).
void MP_convertToMTB12(const uint16_t* rgb48, uint8_t* bitmap, int w, int h, float* p17, float* p50, float* p83);

// Smooths the bitmap in place with a 2m x 2m box (offsets -m+1..m, edges
// repeated, truncated mean in two separable passes, m = n, or w - 1 when
// n >= w). n <= 0, or m < 1 (a one-pixel-wide bitmap), leaves it unchanged,
// and so does a failed allocation. scratch holds w x h bytes.
void MP_smoothMTB(int n, int w, int h, uint8_t* bitmap, uint8_t* scratch);
// The two paths of MP_smoothMTB: the 4 x 4 box (m = 2, w > 4, h > 4) and any m.
void MP_smoothMTB4x4(int w, int h, uint8_t* bitmap, uint8_t* scratch);
void MP_smoothMTBNxN(int n, int w, int h, uint8_t* bitmap, uint8_t* scratch);

// Share of equal bytes at every 4th pixel of every 4th row: count / (w h / 16)
// (slightly above the share for sizes that are not multiples of 4). 0 for a
// null bitmap or an empty size.
float MP_calcMTBcongruence(const uint8_t* a, const uint8_t* b, int w, int h);
// Share of equal bytes over all pixels; 0 for a null bitmap or an empty size.
float MP_calcMTBcongruenceFull(const uint8_t* a, const uint8_t* b, int w, int h);
// 1 - mean distance of the unit colour directions of the two images; 0 for a
// null image or an empty size.
float MP_calcRGBcongruenceFull(const uint16_t* a, const uint16_t* b, int w, int h);

// Builds the four-level bitmap of the image into `bitmap`, smooths it (n = 2)
// with `scratch` and returns its full congruence with the (already smoothed)
// reference.
float MP_UI_CalcImageCongruenceConstantSrc(const uint8_t* reference, uint8_t* scratch, uint8_t* bitmap,
                                           const uint16_t* rgb48, int w, int h);
// Full congruence of the smoothed bitmaps of two images; 0 for a null image
// or when its buffers cannot be had.
float MP_UI_CalcImageCongruence(const uint16_t* a, const uint16_t* b, unsigned w, unsigned h);
// 1 when the image has enough tonal range to be aligned (p17 <= 0.97 and
// p83 >= 0.03), else 0 (also for a null image or a failed allocation).
int MP_UI_CalcImageCongruencePossible(const uint16_t* rgb48, unsigned w, unsigned h);
