#include "engine/series/brushcache.h"

#include <cstdlib>

uint32_t* MP_Brush_buffer = nullptr;
int MP_Brush_type = 0;
int MP_Brush_sx = 0;
int MP_Brush_sy = 0;
int MP_Brush_red = 0;
int MP_Brush_grn = 0;
int MP_Brush_blu = 0;

void MP_UI_BrushReleaseBuffer()
{
    std::free(MP_Brush_buffer);
    MP_Brush_buffer = nullptr;
    MP_Brush_type = 0;
    MP_Brush_sx = 0;
    MP_Brush_sy = 0;
    MP_Brush_red = 0;
    MP_Brush_grn = 0;
    MP_Brush_blu = 0;
}
