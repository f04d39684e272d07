#pragma once
// Structure detection: splits an RGB48 image into up to four class masks by
// scene type (kinds 1 Landscape, 2 Altstadt, 3 Beach, 4 Blumen, 5 Wald,
// 6 Wuste, 7 Schneeberg; 8 Sharpness, 9 Luminance, 10 Saturation), smooths
// them, and uses them to blend a processed image with its source or to paint
// them. The per-pixel structure record holds five unsigned 16-bit values:
// luminance Y = (R + 2G + B) >> 2, local detail D and the colour direction
// (nR, nG, nB) = RGB / |RGB| x 65535 (37836 each for black).
// The drivers run band tasks on the thread pool and the detection keeps its
// record in the engine's scratch buffer: one engine operation at a time.
// No caller in the program uses this family.

#include "engine/core/tasks.h"

#include <cstdint>

// Builds the record (scratch buffer), clears and fills the four signed masks
// (0x7FFF where a class wins) and blurs them by a radius growing with
// strength. The destination is only handed on to the tasks.
void MP_calcStructureDetection(int kind, const uint16_t* src, uint16_t* dst, int w, int h, int16_t* mask1,
                               int16_t* mask2, int16_t* mask3, int16_t* mask4, float strength);
// The structure record of an image (w x h x 5 values).
void MP_calcStructureBuffer(const uint16_t* src, int w, int h, uint16_t* record);
// destination = source + (destination - source) x weighted masks.
void MP_blendStructureDetection(const uint16_t* src, uint16_t* dst, int w, int h, const int16_t* mask1,
                                const int16_t* mask2, const int16_t* mask3, const int16_t* mask4, float weight1,
                                float weight2, float weight3, float weight4);
// Paints the masks in their colours (0xRRGGBB) into the destination.
void MP_showStructureDetection(const uint16_t* src, uint16_t* dst, int w, int h, const int16_t* mask1,
                               const int16_t* mask2, const int16_t* mask3, const int16_t* mask4, float factor1,
                               float factor2, float factor3, float factor4, int colour1, int colour2, int colour3,
                               int colour4);
// (Y, Y, Y), (D, D, D) or (nR, nG, nB) of the record into every output pixel.
void MP_showStructureLuminance(const void* ignored, uint16_t* out, int w, int h, const uint16_t* record);
void MP_showStructureDetail(const void* ignored, uint16_t* out, int w, int h, const uint16_t* record);
void MP_showStructureChrominance(const void* ignored, uint16_t* out, int w, int h, const uint16_t* record);
// Moves the destination towards the source: intensity 0 gives the source, 1 keeps the destination.
void MP_blendBufferIntensity(const uint16_t* src, uint16_t* dst, int w, int h, float intensity);
// Grey image through a hue filter (hue 0..6, wrapped into that range) of the given strength.
void MP_UI_calcGreyConversion(const uint16_t* src, uint16_t* dst, int w, int h, float hue, float strength);

// The band tasks (argument block in structure.cpp).
void MP_task_calcStructureBuffer(TaskFuncParams t);
void MP_task_calcStructureDetection_Landscape(TaskFuncParams t);
void MP_task_calcStructureDetection_Altstadt(TaskFuncParams t);
void MP_task_calcStructureDetection_Beach(TaskFuncParams t);
void MP_task_calcStructureDetection_Blumen(TaskFuncParams t);
void MP_task_calcStructureDetection_Wald(TaskFuncParams t);
void MP_task_calcStructureDetection_Wuste(TaskFuncParams t);
void MP_task_calcStructureDetection_Schneeberg(TaskFuncParams t);
void MP_task_calcStructureDetection_Sharpness(TaskFuncParams t);
void MP_task_calcStructureDetection_Luminance(TaskFuncParams t);
void MP_task_calcStructureDetection_Saturation(TaskFuncParams t);
void MP_task_blurStructureDetection(TaskFuncParams t);
void MP_task_blendStructureDetection(TaskFuncParams t);
void MP_task_showStructureDetection(TaskFuncParams t);
void MP_task_blendBufferIntensity(TaskFuncParams t);
void MP_task_calcGreyConversion(TaskFuncParams t);
