#pragma once
// Renderers of other windows' small views, into packed 32-bit ARGB views
// (0xAARRGGBB, alpha 255): the crop window's preview and the caption shadow
// of the export, the texture selector's thumbnails and the geometry mask
// painter's picture. Each fits its source into the view keeping the aspect
// ratio, fills the rest with the style background and returns 1 when it has
// drawn, 0 for a missing (null or empty) buffer.

#include <cstdint>

// The source fitted into the view; inside the crop rectangle (fractions of the
// image, the test strict) its colours, elsewhere dimmed grey 16..143. With
// outLeft, outTop and outRight all given it only measures: it draws nothing
// and stores the image area as fractions of the view. When drawing it stores
// whichever outputs are given. A missing output or source (null, or a side not
// positive) returns 0 and stores -1 into each given output.
int MP_UI_previewCropView(int viewWidth, int viewHeight, unsigned int* argbOut, int srcWidth, int srcHeight,
                          const unsigned short* src, float cropLeft, float cropTop, float cropRight, float cropBottom,
                          float* outLeft, float* outTop, float* outRight, float* outBottom);

// Darkens the image around the caption: each pixel of the caption box plus a
// 5-pixel margin (clipped to the crop area) that is not a glyph pixel keeps
// (area - n) / area of its value, n the glyph pixels of its 11 x 11 window
// (clipped to the mask). The mask covers the crop area exactly.
void MP_UI_calcCropViewShadowedText(unsigned short* image, const unsigned short* mask, int imageWidth, int maskWidth,
                                    int maskHeight, int boxLeft, int boxRight, int boxTop, int boxBottom, int cropLeft,
                                    int cropRight, int cropTop, int cropBottom);

// The green channel of texture slot `slot` as a grey thumbnail (bilinear).
// 0 when the buffer is null or the slot holds no picture.
int MP_UI_previewTextureView(int viewWidth, int viewHeight, unsigned int* argbOut, int slot);

// The source (bilinear) with the geometry masks of `geometry` (count floats,
// at most 256 read, in the layout of one operator parameter row) over it:
// with masks the image at (256 - g) / 512 of its brightness plus the mask
// opacity as grey at g / 2, g = int(intensity x 256), intensity held to 0..1.
// A null array shows the plain image. 0 for a missing buffer or when the mask
// tables or the sampler's column taps cannot be had.
int MP_UI_previewGeometryViewGeometries(int viewWidth, int viewHeight, unsigned int* argbOut, int srcWidth,
                                        int srcHeight, const unsigned short* src, float intensity,
                                        const float* geometry, int count);

struct TaskFuncParams;
void MP_task_previewCropView(TaskFuncParams p);
void MP_task_calcCropViewShadowedText(TaskFuncParams p);
void MP_task_previewTextureView(TaskFuncParams p);
void MP_task_previewGeometryView(TaskFuncParams p);
