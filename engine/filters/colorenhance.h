#pragma once
// The driver of "Farbton Kantenverstärker" (hue edge enhancer). Its per-pixel
// workers live with the other hue operators; they are handed to
// MP_runColorEnhance, which runs the frame around them:
//   p[0][0] "Radius" (size factor 500, loop step), p[1][0] "Makrodetail",
//   p[2][0] "Mikrodetail", colour slot 3 "Farbton" (red, green, blue in
//   entries 2..4), slot 4 combo, slot 5 geometry.
//
// Order: size rule; the luminance plane in the scratch buffer (-1 when it
// cannot be had); the output image (a separate heap image: the workers read
// the neighbours' colours from the source, so the run writes there and copies
// to the destination after the last chunk; -1 when it cannot be had);
// geometry (slot 5); Pre2 the plane; Pre3 the Gaussian weights; Pre1 the
// tables:
//   MP_temp_table  x^q, q = 1 + p[1][0] * (-0.5)
//   MP_temp2_table x^24
//   MP_temp3_table 1 / (x + 0.001)
// worker choice on slot 4; the main pass with progress after every chunk;
// the copy. Returns 0, -1, or -2 for missing buffers or block or bytes per
// pixel other than 6.

#include "engine/filters/filterframe.h"

struct MP_ColorEnhanceRun {
    MP_DriverRun run;            // src, dst (the run's destination), blend mode, opacity, geometry slot 5
    mp_filters::Window win;      // radius, loop step, panorama, row half-widths
    const ushort* plane = nullptr; // 16-bit luminance plane (14-bit weights)
    ushort* out = nullptr;       // the image the workers write (not the source)
    float micro = 0.0f;          // p[2][0]
    MP_float3 hue{};             // p[3][2], p[3][3], p[3][4] as given
    float q = 1.0f;              // exponent of MP_temp_table
};

// Runs the driver with the workers `full` and `reduced` (tasks over image
// rows; their argument block is the MP_ColorEnhanceRun).
int MP_runColorEnhance(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params,
                       MP_TaskFunc full, MP_TaskFunc reduced);
