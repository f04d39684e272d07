#pragma once
// The fusion descriptor and the weighted fusion of an exposure series into the
// 16-bit working image.
//
// The descriptor is filled by its caller (the series' HDR calculation), which
// owns it and every buffer it points to. It has room for exactly one exposure
// slot; the slot counts when image, weight_auto and weight_manual are all set.
//
// The fusion functions queue no band tasks: worker jobs call them on disjoint
// row ranges of one descriptor at the same time. Each call allocates its own
// row buffers, reads the shared inputs and writes only its own rows.

#include "engine/core/mp_params.h"

#include <cstdint>

struct FIBITMAP;

struct MP_FusionParams {
    int width;                 // size of every buffer below
    int height;
    uint16_t* image;           // RGB48 exposure of the slot
    uint16_t* weight_auto;     // automatic weight map of the slot (1..65535)
    int16_t* weight_manual;    // painted weight map of the slot (signed)
    int exposure_flag;         // synthetic flag of the slot (caller's own use)
    float exposure_weight;     // global weight of the slot (caller's own use)
    float exposure_luminance;  // mean luminance of the slot (caller's own use)
    uint16_t* reference;       // RGB48 reference exposure (caller's own use)
    uint16_t* output;          // RGB48 result of the fusion and the luminance map
    uint16_t* depthmap;        // 16-bit map of the depth-map function
    float p[MP_MAX_PARAMETER][MP_MAX_PARAMETERSETS]; // the HDR operator's parameter values
    float fScale;              // 1.0, or the preview scaling factor in the preview pass
    float sigmoid;             // the fusion's compression slider, 0..1
    FIBITMAP* fibitmap;        // FIT_RGBF target of the float form
};

// Clamps the row range [start, end) of a worker job to the descriptor's
// image; false when nothing is left to do (or the image is empty).
bool MP_fusionClampRows(const MP_FusionParams* desc, int& start, int& end);

// 1 when image, weight_auto and weight_manual are all set, else 0.
int MP_fusionSlotCount(const MP_FusionParams* desc);

// Fuses rows [rowStart, rowEnd) into `output`: per pixel the slot weight
// w = weight_auto + 2 * weight_manual (at least 32) is normalised in 13-bit
// fixed point and the colour accumulated; channels clamped to 0..65535.
// Without `output`, or when its row buffers cannot be had, nothing is written.
void MP_UI_calcHDRfusion(MP_FusionParams* desc, int rowStart, int rowEnd);

// Fuses rows [rowStart, rowEnd) as floats into `fibitmap` (a FIT_RGBF bitmap of
// width x height; image row 0 lands in the bitmap's last scan line),
// normalises them by their own minimum and maximum and applies the HDR gamma;
// posts progress in `category`. A flat result stores 0. A missing or
// mismatched bitmap, or a failed allocation, leaves the bitmap untouched.
void MP_UI_calcHDRfusionf32toFiBitmap(MP_FusionParams* desc, int rowStart, int rowEnd, int category);

// The float form with later slots counting less: slot j contributes
// weight * value * 2^-29 * (S - j) / S. Same target and normalisation.
void MP_UI_calcHDRfusionf32toLightmap(MP_FusionParams* desc, int rowStart, int rowEnd, int category);

// Does nothing.
void MP_UI_normalizeWeightmaps(MP_FusionParams* desc, int rowStart, int rowEnd, int category);
