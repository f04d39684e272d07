#pragma once
// Colour of a light of a given temperature, and the white-balance weights of
// a picture. RGB48 buffers: three unsigned 16-bit values per pixel, rows
// packed top-down. Output pointers may be null (that output is skipped).

#include <cstdint>

// The colour of a light of kelvin degrees as squared weights 0..1 per channel
// (a closed-form fit in the 0..255 scale, clipped, normalised and squared).
// A kelvin of 0 or less gives black.
void MP_UI_GetRGBFromTemperatur(float* r, float* g, float* b, float kelvin);
// White-balance weights: from the temperature when kelvin >= 0 (the picture is
// not read), otherwise the squared grey-world means of the picture.
void MP_UI_GetWhiteValue(const uint16_t* rgb48, float* r, float* g, float* b, float kelvin, float width,
                         float height);
// Means 0..1 of the three channels over every 4th pixel of every 4th row.
// With nothing to sample (no buffer, a side of 0 or less) the means are 1, so
// the white value is neutral.
void MP_GetWhiteValueFromPicture(const uint16_t* rgb48, float* r, float* g, float* b, float width, float height);
