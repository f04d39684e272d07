#pragma once
// The spatial window weights shared by the tone-mapping operators, the HDR
// weight maps and the neighbourhood filters: one weight per window offset
// (kx, ky). Rows cover ky = -500..500. Columns cover kx = -501..501: a window
// row's half-width lx[500 + ky] is odd and may exceed the radius by one, so a
// window of radius 500 samples column offsets up to 501.
// Always index through MP_localexpIndex.

#include <cstddef>

struct MP_Params;

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

// Half-width of window row ky as a window may use it: lx[500 + ky] of the
// block held to 0..501 (the table comes from the caller's block). ky must lie
// in -500..500.
int MP_windowRowHalfWidth(const MP_Params* params, int ky);

// The weight prepass of every windowed kernel: fills the rows ky = -r..r of
// `localexp` with MP_exp_table[min((int)((kx*kx + ky*ky) * scale), 65535)]
// (the sum of squares as float, the product truncated) for every column
// offset the window can sample in that row: |kx| up to r and up to the row's
// half-width (MP_windowRowHalfWidth) when params is given. r is held to
// 0..500. Rows are shared among MP_idealThreadCount tasks (task j ends at row
// min(r, (int)(j * (2r + 1) / N) - r), the next begins after it); waits.
// Gaussian windows pass scale = 65535 / (2 r^2), flat windows 1 / r^2.
void MP_runWindowWeightsPass(int r, float scale, const MP_Params* params);
// The same for rows first..last only, on the calling thread.
void MP_fillWindowWeightRows(int first, int last, int r, float scale, const MP_Params* params);
