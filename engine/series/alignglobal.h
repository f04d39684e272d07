#pragma once
// Global alignment of one exposure to the master: a whole-pixel shift, a
// scaling about a centre or a rotation about a centre, found by comparing the
// exposure's median-threshold bitmap with the master's (smoothed) bitmap on a
// sample grid, and applied to the exposure's RGB48 image in place.
//
// Work area: null, or caller storage of at least 8 w h bytes (bitmap,
// smoothing scratch, resampled image); a given area is never freed.
// Results: 0 aligned and applied; -1 reference missing or no memory; -2 the
// master's or the exposure's image missing; -3 flat image; -4 already
// congruent (before >= 0.99); -5 no usable improvement. The image changes only
// on 0. `before` may be null; `after` must be valid. The rectangle is where the
// aligned image still holds content (right and bottom exclusive); the shift
// builder sets it itself, zoom and rotation expect 0, 0, w, h preset.
// Worker jobs run these at once on different exposures; they only read the
// tuning table and the zoom table.

#include <cstdint>

int MP_UI_buildAlignmentScroll(void* work, const uint16_t* source, uint16_t* image, int w, int h, float* before,
                               float ignored, float factor, float* after, int* left, int* top, int* right,
                               int* bottom, const uint8_t* reference);

// interpolation 0: nearest neighbour; above 0: the zoom-table samplers.
int MP_UI_buildAlignmentZoom(int pass, void* work, const uint16_t* source, uint16_t* image, int w, int h,
                             float ignored1, float ignored2, float ignored3, int interpolation, float* before,
                             float* after, int* left, int* top, int* right, int* bottom, const uint8_t* reference);
int MP_UI_buildAlignmentRotate(int pass, void* work, const uint16_t* source, uint16_t* image, int w, int h,
                               float ignored1, float ignored2, float ignored3, int interpolation, float* before,
                               float* after, int* left, int* top, int* right, int* bottom,
                               const uint8_t* reference);

// Scores of one candidate: share of sampled reference pixels whose level the
// bitmap holds at the mapped position. A threshold above 0 lets the scorer
// give up once the candidate cannot reach it. columnMap: at least w ints
// (zoom) or 2 w floats (rotation), or null (then the scorer makes its own);
// every image size is scored the same way.
float MP_buildAlignmentZoomSingle(int* columnMap, const uint8_t* reference, const uint8_t* bitmap, int w, int h,
                                  float scale, float cx, float cy, float threshold);
float MP_buildAlignmentRotateSingle(float* columnMap, const uint8_t* reference, const uint8_t* bitmap, int w, int h,
                                    float angle, float cx, float cy, float threshold);
