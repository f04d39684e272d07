#pragma once
// Zooms of the preview renderers: a window (x0, y0)-(x1, y1) of a source
// buffer scaled to dstW x dstH pixels of a destination buffer.
//
// Common arguments: source, destination, four ints that are not read (callers
// pass 0), then the floats dstW, dstH, dstStride (destination row length in
// pixels), srcW (also the source row length), srcH, and the window x0, y0, x1,
// y1 in source pixels. Only the (int)dstW x (int)dstH target pixels are
// written. Invalid arguments (a null buffer, a size below one pixel, a row
// length shorter than a row, a value that is not finite or absurdly large)
// make the call return without writing.
//
// The dispatchers choose: an exact copy of the window when it has the target
// size, bilinear interpolation when either direction is reduced by less than
// 2 (every enlargement too), an area average otherwise.

#include <cstdint>

struct TaskFuncParams;

// Multi-threaded dispatcher: the scaling paths run in row bands on the thread
// pool (one band per ideal thread); returns when all bands are done.
void MP_MT_zoomPreviewPicture(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW, float dstH,
                              float dstStride, float srcW, float srcH, float x0, float y0, float x1, float y1);
// The same decision on the caller's thread; keeps no state, so worker jobs may
// call it concurrently on different buffers.
void MP_UI_zoomPreviewPicture(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW, float dstH,
                              float dstStride, float srcW, float srcH, float x0, float y0, float x1, float y1);

// The exact copy: destination row r takes (int)dstW pixels of source row
// (int)y0 + r from column (int)x0 on. Rows and columns outside the source
// repeat the nearest edge pixel.
void MP_UI_zoomPreviewPictureSimple(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW, float dstH,
                                    float dstStride, float srcW, float srcH, float x0, float y0, float x1, float y1);

// Bilinear interpolation with 14-bit weights; samples left of or above the
// source repeat its first column or row.
void MP_MT_zoomPreviewPictureInterpolate(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW,
                                         float dstH, float dstStride, float srcW, float srcH, float x0, float y0,
                                         float x1, float y1);
void MP_UI_zoomPreviewPictureInterpolate(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW,
                                         float dstH, float dstStride, float srcW, float srcH, float x0, float y0,
                                         float x1, float y1);

// Area average over a window of 2 * (int)(step / 2) pixels each way, anchored
// at the sample point; an empty window gives 0.
void MP_MT_zoomPreviewPictureInterpolateLowQuantize(const uint16_t* src, uint16_t* dst, int, int, int, int,
                                                    float dstW, float dstH, float dstStride, float srcW, float srcH,
                                                    float x0, float y0, float x1, float y1);
void MP_UI_zoomPreviewPictureInterpolateLowQuantize(const uint16_t* src, uint16_t* dst, int, int, int, int,
                                                    float dstW, float dstH, float dstStride, float srcW, float srcH,
                                                    float x0, float y0, float x1, float y1);

// Area average of a signed 16-bit map (one value per pixel), window bounds
// inclusive; used to shrink a manual weight map into its preview.
void MP_UI_zoomPreviewWeightmapInterpolateLowQuantize(const int16_t* src, int16_t* dst, int, int, int, int,
                                                      float dstW, float dstH, float dstStride, float srcW,
                                                      float srcH, float x0, float y0, float x1, float y1);

// Bilinear resampling of a one-channel unsigned 16-bit map in row bands on the
// thread pool; source coordinates clamped to the map.
void MP_MT_zoomWeightBufferInterpolate(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW,
                                       float dstH, float dstStride, float srcStride, float srcH, float x0, float y0,
                                       float x1, float y1);

// Band tasks of the multi-threaded drivers (rows [start, end) of the word-1
// range; word 4 holds the call's argument block).
void MP_task_zoomPreviewPictureInterpolate(TaskFuncParams p);
void MP_task_zoomPreviewPictureInterpolateLowQuantize(TaskFuncParams p);
