#pragma once
// Image statistics on the luminance weights of luminance.h. The RGB48 buffers
// hold three unsigned 16-bit values per pixel (R, G, B), rows packed top-down.
// Width and height arrive as floats and are truncated; every output pointer
// may be null (that output is skipped). Each statistic reads the weights once,
// when it starts; all run single-threaded on the caller's thread.

#include <cstdint>

// Mean luminance 0..1 of every 4th pixel of every 4th row, with the 8-bit
// weights. The row sums are divided by (H >> 2) * (W >> 2); a side below 4
// pixels divides by the number of samples instead. Null buffer: 0.
float MP_UI_GetAverageLuminance(const uint16_t* rgb48, float width, float height);
// Mean luminance 0..1 of every pixel, with the float weights. Null or empty: 0.
float MP_UI_GetAverageLuminanceFull(const uint16_t* rgb48, float width, float height);

// Smallest and largest luminance with the 14-bit weights, as fractions of
// 65535 * 16384. Without any pixel the outputs are 2.0000305 and 0.
void MP_UI_GetMinMaxLuminance(const uint16_t* rgb48, float* min, float* max, float width, float height);
// The same counting only luminances inside [band, 1 - band] of full scale;
// with none inside, the outputs are 2.0000305 and 0.
void MP_UI_GetMinMaxLuminancePercent(const uint16_t* rgb48, float* min, float* max, float band, float width,
                                     float height);
// The same where black (luminance 0) cannot become the smallest.
void MP_UI_GetMinMaxLuminanceNoBlack(const uint16_t* rgb48, float* min, float* max, float width, float height);
// Smallest and largest R + G + B, divided by 3 * 65535.
void MP_UI_EstimateMinMaxLuminance(const uint16_t* rgb48, float* min, float* max, float width, float height);

// Mean colour of the outer strips (1/25 of each side, at most 10 pixels) of
// an ARGB view, sampled at every 4th pixel along each strip. When nothing is
// sampled (no buffer, or both sides below 25 pixels) the outputs are left as
// they are.
void MP_UI_GetBorderColorFromBuffer(int width, int height, const uint32_t* argb, uint8_t* r, uint8_t* g,
                                    uint8_t* b);

// Weighted luminance of one colour with the current float weights.
float MP_dotLum(float r, float g, float b);
// Smallest (starting at 1e8) and largest (starting at 0) float luminance of a
// buffer of three floats per pixel.
float MP_GetMinLuminance(const float* rgb, float width, float height);
float MP_GetMaxLuminance(const float* rgb, float width, float height);
// Root of the mean squared distance of the sampled luminances (grid as
// MP_UI_GetAverageLuminance) from mean. Null buffer or no sample: 0.
float MP_UI_GetAverageLuminanceDistance(const uint16_t* rgb48, float width, float height, float mean);
