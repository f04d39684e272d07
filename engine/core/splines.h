#pragma once
// Curves of the operator catalogue: six knots (x1, y1) .. (x6, y6) from a
// spline slot (p[s][0..11] = x1, y1, x2, y2, ...) turned into a natural cubic
// spline on 0..1. The end knots always sit at x = -0.01 and x = 1.01,
// whatever x1 and x6 say; the four inner x are expected strictly increasing
// inside 0..1. Single precision throughout.
//
// Knots that leave the spline undefined (two inner knots with the same x, an
// inner knot on an end knot's x or outside -0.01..1.01, a NaN or infinite
// knot) are repaired on a local copy before the coefficients are computed, so
// curves stay finite; valid knots are used exactly as given.

struct MP_Params;

// The curve at x; clamped to 0..1 when clamp is not 0 (never NaN then). When
// all six y are equal it returns y1 at once, unclamped.
float MP_cubicSpline(int clamp, float x, float x1, float x2, float x3, float x4, float x5, float x6, float y1,
                     float y2, float y3, float y4, float y5, float y6);

// out[i - start] = MP_cubicSpline(clamp, i * (1/65535), ...) for start <= i <
// end, bit for bit, with the coefficients computed once for all entries.
void MP_cubicSplinePoints(int clamp, int start, int end, float* out, float x1, float x2, float x3, float x4, float x5,
                          float x6, float y1, float y2, float y3, float y4, float y5, float y6);

// table[i] = the curve at i * (1/65535), clamped to 0..1, for start <= i < end.
void MP_cubicSplineTable(int start, int end, float* table, float x1, float x2, float x3, float x4, float x5, float x6,
                         float y1, float y2, float y3, float y4, float y5, float y6);

// Writes the coefficients a, b, c, d, xp of the block: entries 1..6 are the
// pieces (piece i from xp[i] on), entry 0 is zero with xp[0] = -0.02.
void MP_cubicSplineCoefficients(MP_Params* params, float x1, float x2, float x3, float x4, float x5, float x6,
                                float y1, float y2, float y3, float y4, float y5, float y6);

// Lagrange polynomial of degree 5 through the six knots at their own x,
// clamped to 0..1.
float MP_lagrangePolynom(float x, float x1, float x2, float x3, float x4, float x5, float x6, float y1, float y2,
                         float y3, float y4, float y5, float y6);

// Blended parabolas through consecutive knot triples, clamped to 0..1; 0
// outside [x1, x6].
float MP_parabelPolynom(float x, float x1, float x2, float x3, float x4, float x5, float x6, float y1, float y2,
                        float y3, float y4, float y5, float y6);

// Fills table[start, end) from a spline slot of the parameter block (six
// knots, x and y interleaved in p[s][0..11]): the "Maskierung" and gradation
// curves of the operators.
inline void MP_splineSlotTable(const float* knots, int start, int end, float* table)
{
    const float* k = knots;
    MP_cubicSplineTable(start, end, table, k[0], k[2], k[4], k[6], k[8], k[10], k[1], k[3], k[5], k[7], k[9], k[11]);
}
