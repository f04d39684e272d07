#pragma once
// De-ghosting: three-class bitmaps (0 darker than the lower threshold, 1
// brighter than the upper, 2 undecided) of an exposure and of the reference
// exposure are compared block by block on the preview images; where they
// disagree, negative parabolic strokes go into the exposure's manual weight
// maps (preview and full size) so that the fusion takes the area from the
// reference.

#include "engine/core/tasks.h"

#include <cstdint>

struct MP_FusionParams;

// Global class map: 45th / 55th percentile of the key (R + 2G + B) >> 4.
// p45 and p55 (0..1) are written when not null.
void MP_convertToDeGhostMTB(const uint16_t* rgb48, uint8_t* classes, int width, int height, float* p45, float* p55);
// Class map from the percentiles of each pixel's diamond neighbourhood
// (radius 7) of the code (R + 2G + B) >> 10; p45, p55 are the global ones.
void MP_convertToDeGhostMTBlocal(const uint16_t* rgb48, uint8_t* classes, int width, int height, float* p45,
                                 float* p55);

// Paints the de-ghost strokes of one exposure (preview image of width x
// height, the reference's class map of the same size) into its preview and
// full-size manual weight maps. Returns 1 when it painted, 0 when not (or the
// image is nearly all dark or all bright), -1 without memory. Paints with the
// parabolic brush whatever the global brush type (which it leaves alone), so
// several jobs may run at once on different exposures.
int MP_CalcDeGhost(int width, int height, int fullWidth, int fullHeight, const uint16_t* rgb48,
                   const uint8_t* referenceClasses, float strength, int16_t* weightMap, int16_t* fullWeightMap);

// Operations no caller in the program uses.
// Argument block of the two band tasks below (task word 4); rows from word 1.
struct MP_DeGhostTaskArgs {
    int width;
    int height;
    const MP_FusionParams* fusion; // manual weight maps of its exposures
    uint16_t* output;              // one-channel map (sum task)
    uint16_t* imageA;              // RGB48 image balanced in place (balance task)
    const uint16_t* imageB;        // RGB48 reference image
    const uint16_t* map;           // one-channel balance weights (0..16383 = 0..1)
};
// Per pixel over the descriptor's manual maps: sum of (-v) >> 1 over the
// negative values (at most 32767) minus the largest non-negative one, not
// below 0; 0 where the descriptor has no map.
void MP_task_CalcDeGhostSumManualWeights(TaskFuncParams t);
// Moves A's brightness towards B's by the map's weight.
void MP_task_CalcDeGhostLuminanceBalnce(TaskFuncParams t);
// Does nothing; 0.
int MP_CalcDeGhostLuminanceBalance();
