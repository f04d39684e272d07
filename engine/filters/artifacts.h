#pragma once
// "Artefakte reduzieren" (MP_calcPixelRemoveArtifacts): banding and block
// artefacts. A parallel multi-scale pass replaces flat regions by a weighted
// mean of growing boxes and records each pixel's flatness; a sequential pass
// then quantises the picture with Floyd-Steinberg error diffusion whose share
// per neighbour is scaled by that neighbour's flatness.
//
// p[0][0] "Korrektur", p[1][0] "Streuung" (levels n = (int)(1 + 8 p)),
// p[2][0] "Dither" (quantisation levels), slot 3 combo, slot 4 geometry.
// Reads and writes dst only (src is not read): it runs in place. Pixels
// outside every mask keep their value and pass no error on.
//
// Returns 0; -1 when its working image, flatness plane or the geometry masks
// cannot be had (dst untouched); -2 for missing buffers or block, or bytes
// per pixel other than 6.

typedef unsigned short ushort;
struct MP_Params;

int MP_calcPixelRemoveArtifacts(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                MP_Params* params);

// The quantisation levels H = (1 - dither^0.001) * 65521 + 14, held to
// 1..65535 (NaN: 65535).
float MP_artifactLevels(float dither);
// The level of the working value v (0..65535) with H levels, 0..1.
inline float MP_artifactQuantise(float H, int v)
{
    return static_cast<float>(static_cast<int>(H * (static_cast<float>(v) * (1.0f / 65535.0f)))) * (1.0f / H);
}
// The level count n of "Streuung" s: (int)(1 + 8 s) held to 1..30 (NaN: 1).
int MP_artifactLevelCount(float s);
