#pragma once
// Geometry masks: up to 32 soft elliptical / rectangular regions per operator,
// held as 32 sets of 8 floats in the operator's geometry slot of MP_Params.
//
// A driver calls MP_calcPrepareGeometry once before its bands run; it
// normalises the sets in place, fills per-column and per-row distance terms
// (fixed point, 2^28 = 1.0), a falloff table per set and per-row lists of the
// sets that reach each row. The band workers then ask MP_calcGeometryMethodOpacity
// for the mask opacity of a pixel and mix with MP_calcGeometryMethodBlend.
// Both are inline: they run once per pixel and only read the prepared tables.
//
// Set layout (p[slot][8i .. 8i+7]) as stored by the caller / after preparation:
//   0 direction   0 off, 1 additive, 2 subtractive (other non-zero: active, in no list)
//   1 sizeh       half width as a fraction of the width  -> 1 / ((0.999 s + 0.001) * width)
//   2 sizev       half height as a fraction of the height -> 1 / ((0.999 s + 0.001) * height)
//   3 sharpness   0..1 -> (1 - s) * 1.999 + 0.001
//   4 exponent    0..1 -> superellipse exponent 1.002 .. 18.0
//   5 intensity   peak opacity (unchanged)
//   6 centerx     fraction of the width  -> pixels
//   7 centery     fraction of the height -> pixels

#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"

#include <cstdint>

constexpr int MP_GEO_VALUES_PER_SET = 8;
constexpr int MP_GEO_ONE = 1 << 28;          // distance term of the rim (u = 1)
constexpr int MP_GEO_OUTSIDE = 1 << 29;      // distance term of a coordinate outside the set
constexpr int MP_GEO_FALLOFF_SIZE = 16384;   // entries of a falloff table
constexpr int MP_GEO_FALLOFF_SHIFT = 14;     // distance sum >> 14 = falloff index

// Per set: int array of 2 * capacity entries; entry 2x = x term of column x,
// entry 2y + 1 = y term of row y.
extern int* MP_geo_table[MP_MAX_GEOMETRYSETS];
extern int MP_geo_size[MP_MAX_GEOMETRYSETS]; // capacity in coordinates
// Per set: falloff table, entry t = opacity at distance sum t << 14.
extern float MP_geo_exponent2[MP_MAX_GEOMETRYSETS][MP_GEO_FALLOFF_SIZE];
// Per set: the normalised (sharpness, exponent, intensity) its falloff table was built from.
extern float MP_geo_exponent2_par[MP_MAX_GEOMETRYSETS][3];
// Per row: the additive / subtractive sets whose vertical extent holds the row
// (32 set indices per row) and how many there are.
extern uint8_t* MP_geo_lineaddidx;
extern uint8_t* MP_geo_linesubidx;
extern int* MP_geo_lineaddam;
extern int* MP_geo_linesubam;
extern int MP_geo_lineaddsize; // capacity of the four per-row arrays in rows
// Per set: the first and the last column whose x term lies inside the set
// (first > last when there is none). A column outside this span never gets
// the set's falloff, so runs of pixels skip it there.
extern int MP_geo_colfirst[MP_MAX_GEOMETRYSETS];
extern int MP_geo_collast[MP_MAX_GEOMETRYSETS];

// Grows the per-set arrays to max(width, height) coordinates and the per-row
// arrays to height rows; buffers never shrink. Returns 0, or -1 when memory
// cannot be had: then every buffer is as it was.
int MP_geometryAllocBuffers(int width, int height);
// Frees every geometry buffer, sets all capacities to 0 and forgets every
// falloff table (engine start and release).
void MP_geometryFreeBuffers();

// Prepares the geometry sets of p[slot] for an image of width x height: fills
// geometry_addidx/addam, geometry_subidx/subam and geometry_needed, normalises
// the active sets in place and builds the tables the opacity reads.
// Returns 0; -1 when the buffers cannot be had (checked first: then neither
// the block nor any table has been written); -2 for a null block or a slot
// outside 0..9 (nothing written).
int MP_calcPrepareGeometry(int width, int height, int slot, MP_Params* params);

// Test hook: allocation number n (0 = the next) of the geometry buffers fails;
// negative: no failure. Counts only the geometry module's own allocations.
void MP_geometryTestFailAllocation(int n);

// The largest falloff value among the `count` sets listed in `sets` whose
// shape covers the pixel with table columns xi (x term) and yi (y term);
// -1 when none covers it.
inline float MP_geometryStrongestFalloff(const uint8_t* sets, int count, size_t xi, size_t yi)
{
    float strongest = -1.0f;
    for (int k = 0; k < count; ++k) {
        const int s = sets[k];
        const int* terms = MP_geo_table[s];
        const int tx = terms[xi];
        if (tx <= MP_GEO_ONE - 1) {
            const int t = tx + terms[yi];
            if (t <= MP_GEO_ONE - 1) {
                const float f = MP_geo_exponent2[s][t >> MP_GEO_FALLOFF_SHIFT];
                if (f > strongest)
                    strongest = f;
            }
        }
    }
    return strongest;
}

// Mask opacity 0..1 of pixel (x, y) of the prepared image. width, height and
// slot are not read; the tables of the last MP_calcPrepareGeometry are.
inline float MP_calcGeometryMethodOpacity(int x, int y, int width, int height, int slot, const MP_Params* params)
{
    (void)width;
    (void)height;
    (void)slot;
    const size_t row = static_cast<size_t>(y) * MP_MAX_GEOMETRYSETS;
    const size_t xi = 2 * static_cast<size_t>(x);
    const size_t yi = 2 * static_cast<size_t>(y) + 1;

    float add = MP_geometryStrongestFalloff(MP_geo_lineaddidx + row, MP_geo_lineaddam[y], xi, yi);
    const float sub = MP_geometryStrongestFalloff(MP_geo_linesubidx + row, MP_geo_linesubam[y], xi, yi);

    // No additive set covers the pixel: hidden when the slot has additive
    // sets, otherwise everything starts revealed.
    if (add < 0.0f)
        add = params->geometry_addam > 0 ? 0.0f : 1.0f;
    const float o = sub >= 0.0f ? add - sub : add;
    if (o < 0.0f)
        return 0.0f;
    return o < 1.0f ? o : 1.0f;
}

// Mask opacities of the pixels x0 .. x1 - 1 of row y of the prepared image
// into out[0 .. x1 - x0): bit for bit what MP_calcGeometryMethodOpacity gives
// each of them, a row's set lists and terms fetched once and every set
// handled only over the columns it reaches. scratch holds x1 - x0 floats.
// Runs with AVX2 where the processor has it (unless the filters' portable
// switch is set), the same operations in the same order either way.
void MP_calcGeometryOpacityRow(int y, int x0, int x1, const MP_Params* params, float* out, float* scratch);

// e * A + c0 * (1 - A) per channel.
inline MP_float3 MP_calcGeometryMethodBlend(MP_float3 c0, MP_float3 e, float a)
{
    const float ia = 1.0f - a;
    return {e.x * a + c0.x * ia, e.y * a + c0.y * ia, e.z * a + c0.z * ia};
}

// Opacity and blend in one call.
inline MP_float3 MP_calcGeometryMethod(int x, int y, int width, int height, int slot, const MP_Params* params,
                                       MP_float3 c0, MP_float3 e)
{
    return MP_calcGeometryMethodBlend(c0, e, MP_calcGeometryMethodOpacity(x, y, width, height, slot, params));
}
