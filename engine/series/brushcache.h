#pragma once
// The cached brush-cursor image of the weight-map brush painter: one ARGB32
// picture (width x height words, 0xAARRGGBB) and the key it was made for
// (brush type, size and colour). Null while no cursor is cached; the block
// is allocated with std::malloc.

#include <cstdint>

extern uint32_t* MP_Brush_buffer;
extern int MP_Brush_type;
extern int MP_Brush_sx;
extern int MP_Brush_sy;
extern int MP_Brush_red;
extern int MP_Brush_grn;
extern int MP_Brush_blu;

// Frees the cached cursor (if any), sets MP_Brush_buffer to null and clears
// its key. The engine's release calls it; calling it again does nothing.
void MP_UI_BrushReleaseBuffer();
