#pragma once
// Auto-setting estimators: one property of an RGB48 image (three unsigned
// 16-bit values per pixel, rows packed) as a single float: noise, mean level,
// local contrast, colourfulness, sharpness, detail. Every measure works on the
// channel sum S = R + G + B of a pixel; sums are single-precision floats.
//
// Images too small for a positive divisor give 0. The five estimators the
// application calls and the multi-threaded measure print no timing line while
// the engine's animation mode is 1.
//
// A second family measures noise in selected flat tiles: the tile search fills
// the NoiseGrid* list, which the tile display and the combined estimate read.

#include "engine/core/tasks.h"

#include <cstdint>

// K: a sum of absolute mask responses of channel sums as an average per
// channel in 0..1.
constexpr float MP_ESTIMATE_K = 0.33333f * (1.0f / 65535.0f) * 1.2533141f;

// 10 x the average noise level of the 3 x 3 noise mask on a grid of step
// max(step, 1).
float MP_UI_CalcOptimizeDeNoiseValue(int width, int height, const uint16_t* rgb48, int step);
// Laplacian response on a grid of step max(step, 1) (the divisor uses 3).
float MP_UI_CalcOptimizeSharpenValue(int width, int height, int step, const uint16_t* rgb48);
// Mean level 0..1 over the pixels with even x and y.
float MP_UI_CalcOptimizeGammaValue(int width, int height, const uint16_t* rgb48);
// Mean relative chroma deviation over every third pixel of every third row.
float MP_UI_CalcOptimizeColorValue(int width, int height, const uint16_t* rgb48);
// Noise-mask response of a copy of at most 400,000 pixels; 0.01 without
// memory. Uses the engine's scratch buffer.
float MP_UI_CalcOptimizeContrastValue(int width, int height, const uint16_t* rgb48);
// Mean detail response on a grid of step max(step, 1).
float MP_UI_CalcDetailValue(int width, int height, const uint16_t* rgb48, int step);
// Whole-image noise with the 3 x 3, 5 x 5 or 7 x 7 mask (anything else: 3)
// in row bands on the thread pool; band sums are added in band order.
float MP_MT_CalcOptimizeDeNoiseValue(int width, int height, const uint16_t* rgb48, int step, int maskSize);
void MP_task3x3_CalcOptimizeDeNoiseValue(TaskFuncParams p);
void MP_task5x5_CalcOptimizeDeNoiseValue(TaskFuncParams p);
void MP_task7x7_CalcOptimizeDeNoiseValue(TaskFuncParams p);

// ---- Tiles -------------------------------------------------------------------
constexpr int MP_NOISEGRID_SIZE = 1000;
constexpr int MP_NOISEGRID_MAX = 999;
extern int NoiseGridk[MP_NOISEGRID_SIZE];
extern float NoiseGridx1[MP_NOISEGRID_SIZE];
extern float NoiseGridx2[MP_NOISEGRID_SIZE];
extern float NoiseGridy1[MP_NOISEGRID_SIZE];
extern float NoiseGridy2[MP_NOISEGRID_SIZE];
extern float NoiseGridv[MP_NOISEGRID_SIZE];
extern int NoiseGridam;
extern int NoiseGridkmin;
extern int NoiseGridkspread;
extern float VarianceSum;

// Fills the tile list with the flat tiles of the image and their categories.
void MP_UI_FindBestDeNoiseRectangles(int width, int height, const uint16_t* rgb48);
// Dims the image outside the chosen tiles and outlines them, in place.
void MP_UI_ShowDeNoiseRectangles(int width, int height, uint16_t* rgb48);
// Noise of the rectangle [x1, x2) x [y1, y2) in pixels.
float MP_CalcOptimizeDeNoiseValuePattern3x3(int x1, int x2, int y1, int y2, int width, int height, int step,
                                            const uint16_t* rgb48);
// Task form: word 0 the x range, word 1 the y range (start low, end high 32
// bits), word 2 the entry index; stores NoiseGridv[index].
void MP_MT_CalcOptimizeDeNoiseValuePattern3x3(TaskFuncParams p);
// The combined noise level 0..0.999 of the tile list (or the whole image
// when it is empty), at full size and at a third.
float MP_MT_GetOptimizeDeNoiseValue(int width, int height, const uint16_t* rgb48, int step);
