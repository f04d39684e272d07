#pragma once
// Perspective view into an equirectangular panorama (width 360 degrees of
// longitude, height 180 degrees of latitude), into 32-bit ARGB rows.

#include <cstdint>

// Renders the view turned by yaw and pitch (radians) at zoom (1: about 110
// degrees across) into argbOut (viewHeight rows of rowStride pixels). The
// view is worked in 16 x 16 blocks whose inner pixels are interpolated from
// exact corners; blocks over the 360-degree seam or near a pole are computed
// per pixel. Sides that are not multiples of 16 are drawn up to the edge.
// Draws nothing for a null buffer, a side not positive, a stride below the
// width, or a direction or zoom that is not finite (zoom also not positive).
void MP_MT_CalcPanoramaView(int viewWidth, int viewHeight, int rowStride, int srcWidth, int srcHeight,
                            const unsigned short* src, float yaw, float pitch, float zoom, unsigned int* argbOut);

struct TaskFuncParams;
void MP_task_CalcPanoramaView(TaskFuncParams p);
