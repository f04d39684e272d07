#pragma once
// Separable running-sum box blur of one-channel 16-bit maps, repeated over a
// number of passes (two passes give a tent, more approach a Gaussian). Each
// pass costs the same whatever the radius.
//
// Parameters come from the block: p[0][0] the total radius R, p[1][0] the
// number of passes P; one pass has the radius r = (int)(R / P), clamped to
// width - 1. A pass whose radius is below 1 is not run (nor are the later
// ones), so such a map is left unchanged. The first pass reads src, each later
// pass the result of the previous one in dst; callers pass one buffer as both.
//
// The number of passes is held to MP_MAX_BLUR_PASSES: callers give 2, and a
// box blur reaches its fixed point long before, so a hostile count cannot keep
// the blur running for minutes.
//
// The blurs run on the caller's thread, queue no band tasks and share no
// mutable state: several worker jobs may blur their own maps at once.
// Results: 0 (also when nothing was done), -1 when the working memory cannot
// be had (the map is left unchanged), -2 for a null pointer.
// The fifth argument is not read; the intermediate map always holds 16-bit
// samples, so bytesPerSample (2 at every caller) is not needed either.

#include <cstdint>

struct MP_Params;

// The most passes any iterated box blur of the engine runs.
constexpr int MP_MAX_BLUR_PASSES = 1000;

// Signed samples, edges extended (indices outside repeat the first or last sample).
int MP_BlurSignedShortBuffer(int width, int height, int16_t* src, int16_t* dst, int, int bytesPerSample,
                             const MP_Params* params);
// Signed samples, wrapping around horizontally and vertically (360-degree panoramas).
int MP_BlurSignedShortBufferNoClip(int width, int height, int16_t* src, int16_t* dst, int, int bytesPerSample,
                                   const MP_Params* params);
// Unsigned samples, edges extended.
int MP_BlurUnsignedShortBuffer(int width, int height, const uint16_t* src, uint16_t* dst, int,
                               int bytesPerSample, const MP_Params* params);
