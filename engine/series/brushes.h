#pragma once
// Weight-map brushes: strokes into an exposure's manual weight map (signed
// 16-bit, every write clamped to -32767..32767), the brush cursor image, and
// the smoothing and flattening brushes. The global brush type
// (MP_UI_SetBrushTypeMode, 0..9) selects the shape; type 0 is the parabolic
// disc: strength x 32767 x (1 - d^2 / radius^2) added at distance d.
// Centre and radius are truncated for the pixel range. A null map, a centre
// or radius that is not finite, and for types 1..9 a radius <= 0, paint
// nothing.

#include <cstdint>

void MP_UI_BrushPaint(int width, int height, int16_t* map, float x, float y, float radius, float strength);
// The same with an explicit brush type instead of the global one: worker jobs
// paint with it so they never touch the engine setting.
void MP_UI_BrushPaintType(int type, int width, int height, int16_t* map, float x, float y, float radius,
                          float strength);

// Makes the cached cursor (MP_Brush_buffer, engine/series/brushcache.h) for
// the current brush type, size and colour; keeps it when that key is
// unchanged. The cache stays null when the image cannot be allocated.
void MP_UI_BrushGenerateToBuffer(int width, int height, int red, int green, int blue);

// Blends a blurred copy (radius 35) of the area around the stroke into the
// map with the current type's profile.
void MP_UI_BrushSmooth(int width, int height, int16_t* map, float x, float y, float radius);
// Sets the map to 0 inside the current type's region.
void MP_UI_BrushFlat(int width, int height, int16_t* map, float x, float y, float radius);

// Dashed circle outline into an RGB48 image: centre (width x, height y) and
// radius min(width, height) radius / 2 as fractions; a dash of 1 is solid.
void MP_paintCircle(int dash, int width, int height, uint16_t* rgb48, int red, int green, float x, float y,
                    float radius, int blue);
