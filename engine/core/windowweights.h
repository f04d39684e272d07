#pragma once
// The spatial window weights shared by the tone-mapping operators, the HDR
// weight maps and the neighbourhood filters: one weight per window offset
// (kx, ky). Rows cover ky = -500..500. Columns cover kx = -501..501: a window
// row's half-width lx[500 + ky] is odd and may exceed the radius by one, so a
// window of radius 500 samples column offsets up to 501.
// Always index through MP_localexpIndex.

#include <cstddef>

constexpr int MP_LOCALEXP_RADIUS = 500;                     // largest |ky|
constexpr int MP_LOCALEXP_COLUMN_RADIUS = 501;              // largest |kx|
constexpr int MP_LOCALEXP_STRIDE = 2 * MP_LOCALEXP_COLUMN_RADIUS + 1; // 1003
constexpr int MP_LOCALEXP_ROWS = 2 * MP_LOCALEXP_RADIUS + 1;          // 1001
constexpr size_t MP_LOCALEXP_SIZE = size_t(MP_LOCALEXP_ROWS) * MP_LOCALEXP_STRIDE;

extern float localexp[MP_LOCALEXP_SIZE];

inline size_t MP_localexpIndex(int kx, int ky)
{
    return size_t(ky + MP_LOCALEXP_RADIUS) * MP_LOCALEXP_STRIDE + size_t(kx + MP_LOCALEXP_COLUMN_RADIUS);
}
inline float& MP_localexpAt(int kx, int ky) { return localexp[MP_localexpIndex(kx, ky)]; }
