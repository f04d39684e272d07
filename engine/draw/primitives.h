#pragma once
// Point, grid and line primitives of the engine's control painters.
//
// 16-bit buffers hold R, G, B per pixel, rows top-down, `pitch` pixels apart
// (functions without a pitch use the width). ARGB buffers hold one 0xAARRGGBB
// word per pixel. Every pixel written is clipped to the buffer.

#include <cstdint>

// A 9 x 9 (radius 4) or larger square marker: the centre is first moved to
// 1..width-2, 1..height-2; the square's border gets 0x3FFF, its inside 0xFFFF.
void MP_paintPoint(int x, int y, int width, int height, int pitch, int radius, uint16_t* buf);
void MP_paintPixel(int x, int y, int width, int height, int pitch, uint16_t* buf, int red, int green, int blue);
// Dotted grid (every second pixel, 0xBFFF) of divisions + 1 rows and columns:
// row trunc((h-1) - i (h-1) / divisions), column trunc(i (w-1) / divisions).
// Nothing for divisions < 0; divisions 0 draws the bottom row and left column.
void MP_UI_paintGrid(uint16_t* buf, int width, int height, int pitch, int divisions);

// Lines: trunc(L) samples for a line of length L, sample i at
// p0 + (i + 0.5) * unit direction, both coordinates truncated; a line of
// length 0 is one sample at p0; a line shorter than one pixel or of
// non-finite length paints nothing. Only the samples that can touch the
// buffer are visited, so the work never exceeds the buffer's extent whatever
// the length. Results: -2 for a missing buffer, else 0.
int MP_lineToBuffer(uint16_t* buf, int width, int height, int red, int green, int blue, float x0, float y0, float x1,
                    float y1);
// The same with the 3 x 3 block around each sample.
int MP_lineToBuffer3x3(uint16_t* buf, int width, int height, int red, int green, int blue, float x0, float y0,
                       float x1, float y1);
// Into an ARGB picture: opaque colour (red, green, blue as bytes).
int MP_lineToArgbPitchBuffer(uint32_t* argb, int pitch, int width, int height, int red, int green, float x0,
                             float y0, float x1, float y1, int blue);

// The samples [first, last] of a line that can touch a width x height buffer
// when each sample paints the block of `margin` pixels around it (0: the
// pixel alone). Returns their number (0: none; first and last then untouched).
int64_t MP_lineStepRange(float x0, float y0, float x1, float y1, int width, int height, int margin, int64_t* first,
                         int64_t* last);
