#pragma once
// Functions of the fusion descriptor besides the fusion itself: the
// false-colour luminance map, the dynamic-range figure and the depth map.
// The luminance map and the depth map are called on disjoint row ranges from
// several worker jobs at once; they queue no tasks.

#include "engine/hdr/fusion.h"

// The exposure-value range the dynamics formula reads. The series sets them
// (1e-8, 1e10, 1e10) before its fusion; nothing in the engine writes them.
extern float EVmax;
extern float EVmin;
extern float EVmin2;

// Palette entry i (0..255) of the false-colour map: magenta, blue, cyan,
// green, yellow, red, spread over the 256 entries; RGB48 into rgb[3].
void MP_HDRLuminancePaletteEntry(int i, uint16_t rgb[3]);

// Rows [rowStart, rowEnd) of `output`: each pixel the palette entry of its
// grey value (R + G + B) / 3 >> 8; magenta everywhere without an exposure.
void MP_UI_calcHDRLuminanceMap(MP_FusionParams* desc, int rowStart, int rowEnd);

// The dynamic-range figure high / low from the EV globals (1 when low is not
// positive); stores low and high when the pointers are set.
double MP_UI_calcHDRDynamik(MP_FusionParams* desc, float* low, float* high);

// Rows of `depthmap`: the depth of the chosen slot, which with the single slot
// is 0 (65535 with invert). Writes nothing when a buffer is missing.
void MP_UI_calcDepthMapFusion(MP_FusionParams* desc, int rowStart, int rowEnd, int invert);
