#pragma once
// Clone correction: each unit copies a source disc over a destination disc
// (the blemish). Positions cross this interface as fractions: x of the image
// width, y of the height, radii of min(width, height). Also the variation
// view that makes texture visible, and the search for a unit's best source
// position. The variation view and the search use the thread pool, the
// shared lookup table and the result arrays below: one at a time, on the
// thread that calls them.

#include "engine/core/tasks.h"

#include <cstdint>

// Results of the search tasks, one slot per task (32).
constexpr int MP_STENCIL_TASKS = 32;
extern float stencil_bestx[MP_STENCIL_TASKS];
extern float stencil_besty[MP_STENCIL_TASKS];
extern float stencil_bestdist[MP_STENCIL_TASKS];

// Marks the disc (centre x, y, radius as fractions) in a one-byte-per-pixel
// mask with 1. 0, or -2 for a null mask.
int MP_StencilSetForbidden(int width, int height, uint8_t* mask, float x, float y, float radius);

// Blends one unit's source disc into the destination image with the weight
// 1 - (d / R)^6 (12-bit). 0, or -2 when an image is null.
int MP_UI_StencilCopy(int width, int height, uint16_t* dst, const uint16_t* src, float dstX, float dstY,
                      float radius, float srcX, float srcY);
// Every unit whose four coordinates lie in 0..1, in array order.
void MP_UI_StencilCopyAll(int count, const float* dstX, const float* dstY, const float* radius, const float* srcX,
                          const float* srcY, int width, int height, uint16_t* dst, const uint16_t* src);

// Variation view of intensity s (0..1 in use; src and dst may be the same
// buffer): the local root-mean-square luminance difference through a curve,
// mixed into the image, then stretched to the full range. Without memory the
// destination stays as it is.
void MP_UI_StencilCalcVariationToBuffer(int width, int height, const uint16_t* src, uint16_t* dst, float intensity);

// Best source position (fractions, into outX / outY) for unit `index`,
// avoiding every unit's destination disc. quality < 1 searches a reduced
// copy. 0 found; -1 no memory (outputs -1); -2 a null argument or an index
// outside the units (outputs untouched); -3 destination outside the image or
// no admissible position (outputs negative).
int MP_MT_StencilFindBestMatch(int count, int index, const float* dstX, const float* dstY, const float* radius,
                               int width, float quality, int height, const uint16_t* rgb48, float* outX, float* outY);

// Overlay of every unit (line with arrow head, dashed source circle, solid
// destination circle) into an RGB48 image; no caller in the program.
void MP_UI_StencilPaint2BufferAll(int count, const float* dstX, const float* dstY, const float* radius,
                                  const float* srcX, const float* srcY, int width, int height, uint16_t* rgb48);

// Band tasks of the variation view and the search (argument blocks in stencil.cpp).
void MP_TaskPre2_StencilCalcVariationToBuffer(TaskFuncParams t);
void MP_TaskPre1_StencilCalcVariationToBuffer(TaskFuncParams t);
void MP_MT_StencilCalcVariationToBuffer(TaskFuncParams t);
void MP_task_StencilFindBestMatch(TaskFuncParams t);
