#pragma once
// Rotation of an RGB48 buffer about a centre, combined with a zoom and a
// twist (an extra turn that grows with the distance from the centre). Effect
// kernels turn their textures with it before they blend them in; the
// seamless form treats the source as a tile repeating in both directions, so
// a turned texture has no empty corners.

#include "engine/core/tasks.h"

#include <cstdint>

// Resamples src (width x height RGB48) into dst of the same size:
//   a       angle: the pixel at angle phi from the centre takes its colour
//           from angle phi + (a - 0.5) full turns (a = 0.5: no turn);
//   t       twist: (0.5 - t) * 0.01 radians more per pixel of distance
//           (t = 0.5: none);
//   z       zoom: the picture is magnified by (1 + z) / 0.9995;
//   u, v    centre as fractions of width and height.
// The plain form leaves pixels whose source point lies outside the source
// black; the seamless form wraps around. src and dst may be the same buffer
// (the result is built in a private block and copied at the end). Runs in row
// bands on the thread pool and overwrites MP_temp_table (its sine table).
// Returns 0; -1 when the private block cannot be had (nothing written); -2
// for a missing buffer or a negative size.
int MP_UI_RotateBuffer(int width, int height, const uint16_t* src, uint16_t* dst, int seamless, float a, float t,
                       float z, float u, float v);

// Band workers: the sine-table prepass over a table range, the plain and the
// seamless rows.
void MP_TaskPre1_RotateBuffer(TaskFuncParams p);
void MP_Task_RotateBuffer(TaskFuncParams p);
void MP_Task_RotateBufferSeemless(TaskFuncParams p);

// For tests: makes the next private-block allocations fail (true) or succeed.
void MP_rotationTestFailAllocation(bool fail);
