#pragma once
// Hue-range operators: "Farbtöne anpassen" (MP_calcPixelHueShift) turns the
// hue of each of six hue ranges, "Farbtöne belichten" (MP_calcPixelHueExpose)
// brightens or darkens each range. Both classify a pixel by the hue of its
// squared channels (MP_rgbToHsv) and weight the change by the distance to the
// centre of its range and by the saturation.

#include "engine/colour/hsv.h"

// Hue ranges of 60 degrees around red (0), yellow (60), green (120), cyan
// (180), blue (240) and violet (300); red spans 330..360 and 0..30.
// Returns the range 0..5 (the slider slot) and the distance to its centre in
// *d (0..30); -1 for a hue in no range (NaN), *d untouched then.
inline int MP_hueRange(float h, float* d)
{
    if (h >= 330.0f) {
        *d = 360.0f - h;
        return 0;
    }
    if (h < 30.0f) {
        *d = h;
        return 0;
    }
    if (h >= 30.0f && h < 90.0f) {
        *d = MP_fabs(60.0f - h);
        return 1;
    }
    if (h >= 90.0f && h < 150.0f) {
        *d = MP_fabs(120.0f - h);
        return 2;
    }
    if (h >= 150.0f && h < 210.0f) {
        *d = MP_fabs(180.0f - h);
        return 3;
    }
    if (h >= 210.0f && h < 270.0f) {
        *d = MP_fabs(240.0f - h);
        return 4;
    }
    if (h >= 270.0f && h < 330.0f) {
        *d = MP_fabs(300.0f - h);
        return 5;
    }
    return -1;
}

int MP_calcPixelHueShift(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
int MP_calcPixelHueExpose(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params);
