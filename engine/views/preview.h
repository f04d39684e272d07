#pragma once
// Views of the preview renderers: RGB48 or weight maps to 32-bit ARGB view
// buffers (0xAARRGGBB, alpha 255) by nearest sample, the magnifier's pixel
// grid, and the size of the preview buffers for a megapixel budget.
//
// The views take the destination size and row length, the source row length
// (srcStride) and row count (srcH) and the window x0, y0, x1, y1, all as
// floats. Samples are taken at row (int)(r * stepY + y0) and at the column of
// a 14-bit fixed-point position that starts at (int)(x0 * 16384) and grows by
// (int)(stepX * 16384) per target column; samples that fall outside the
// source take the nearest edge pixel. Invalid arguments (a null buffer, a size
// below one pixel, values that are not finite) make a view return without
// writing. None keeps state between calls.

#include <cstdint>

// Colour view. With the engine's limit-pixel mode on, the clipping highlight
// (blue towards black, grey in between, yellow to red towards white); else,
// with `gamma` non-zero, each channel through the HDR gamma; else the high
// bytes.
void MP_UI_previewColor(const uint16_t* src, uint32_t* dst, int gamma, float dstW, float dstH, float dstStride,
                        float srcStride, float srcH, float x0, float y0, float x1, float y1);
// The same sampling, high bytes only.
void MP_UI_previewColorSimple(const uint16_t* src, uint32_t* dst, float dstW, float dstH, float dstStride,
                              float srcStride, float srcH, float x0, float y0, float x1, float y1);
// Grey view of automatic plus twice the manual weight: black below 0, white
// above 255 (after >> 8).
void MP_UI_previewWeightmap(const uint16_t* weightAuto, const int16_t* weightManual, uint32_t* dst, float dstW,
                            float dstH, float dstStride, float srcStride, float srcH, float x0, float y0, float x1,
                            float y1);
// The colour view (plain or gamma) tinted by up to three exposures' weights:
// the weight of exposure k (automatic + 2 x manual, 0..65535, a slot counts
// when both its maps are given) replaces channel k (red, green, blue) of the
// picture in the share `amount` (0..1; 0 shows the plain picture, 1 the
// weights alone), computed on the high bytes:
// out = ((255 - A) x picture + A x (weight >> 8)) / 255 with A = (int)(amount x 255).
void MP_UI_previewWeightmapFusion(float dstW, float dstH, float dstStride, float srcW, float srcH,
                                  const uint16_t* image, float x0, float y0, float x1, float y1, float amount,
                                  const uint16_t* auto1, const uint16_t* auto2, const uint16_t* auto3,
                                  const int16_t* manual1, const int16_t* manual2, const int16_t* manual3,
                                  uint32_t* dst, int gamma);

// Draws cellsX x cellsY colours (row by row) as framed squares of
// outW / cellsX by outH / cellsY pixels into an outW x outH view (row length
// outW): white on the outer edge of the picture, grey 46 around each cell,
// white around the centre cell; the cell colours inside with alpha 255.
void MP_UI_previewPixelGrid(int outW, int outH, int cellsX, int cellsY, const uint32_t* cells, uint32_t* out);

// Preview size of a w x h image for a budget of `megapixels`: the factor runs
// down from 0.999 in steps of 0.001 (at most 980 tries) until the area fits;
// sizes truncated. Stores the factor through `factor` (may be null) and always
// as the engine's preview scaling factor. A size within the budget (or an
// empty or invalid one) keeps its size with factor 1.
void MP_UI_calcPreviewResolution(float* outW, float* outH, float* factor, float w, float h, float megapixels);
// The same sizes and factor without storing the factor in the engine: for
// worker jobs, which write no engine setting.
void MP_UI_calcPreviewResolutionSize(float* outW, float* outH, float* factor, float w, float h, float megapixels);
// max(w2, h2) / max(w1, h1); 1 when the first size is empty.
float MP_UI_GetPreviewScalingFactorFromResolution(int w1, int h1, int w2, int h2);
