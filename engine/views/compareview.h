#pragma once
// Renderers of the before/after comparison and of the luminance bar beneath
// it, into packed 32-bit ARGB views (0xAARRGGBB, alpha 255).

#include <cstdint>

// The letterbox frame of an imageWidth x imageHeight picture in the view, as
// fractions of the view (left and right of its width, top and bottom of its
// height), into each pointer that is not null. An empty view or picture gives
// an empty frame (all 0). Returns 1.
int MP_UI_previewCompareViewCalcValues(int viewWidth, int viewHeight, int imageWidth, int imageHeight, float* left,
                                       float* top, float* right, float* bottom);

// Renders first (side A) and second (side B) of one size into the view: left
// of the divider through (x1, y1)-(x2, y2) (fractions of the frame; above it
// when it is horizontal) side A, the rest side B; swap exchanges the sides.
// gammaFirst / gammaSecond show an image through the HDR gamma. lumMode 1
// marks bands of +-0.05 around lumLow and lumHigh, 2 the range between them,
// 3 everything outside it (an inverted cross-hatch of period 4); 0 and any
// other value mark nothing. Outside the frame the style background. Returns 1;
// 0 without drawing for a missing buffer, an empty view or no memory.
int MP_UI_previewCompareViewLumMode(int viewWidth, int viewHeight, unsigned int* argbOut, int imageWidth,
                                    int imageHeight, const unsigned short* first, float x1, float y1, float x2,
                                    float y2, float lumLow, float lumHigh, const unsigned short* second, int gammaFirst,
                                    int gammaSecond, int swap, int lumMode);

// The grey ramp of the luminance bar (level (i x 255) / width in column i; a
// dim ramp 63..126 in mode 0) with the marked levels shown by a cross-hatch of
// period 6 shifted by phase. Returns 1; 0 for a null buffer or empty size.
int MP_UI_previewCompareViewBarLumMode(int width, int height, unsigned int* argbOut, int lumMode, int phase,
                                       float lumLow, float lumHigh);

struct TaskFuncParams;
void MP_task_previewCompareView(TaskFuncParams p);
