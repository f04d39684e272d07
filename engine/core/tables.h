#pragma once
// The engine's global lookup tables and the point interpolations.
//
// The exp, sqrt and log2 tables are indexed with an unsigned 16-bit value v
// standing for v / 65535; the sin and cos tables with an angle index i standing
// for i / 16384 of a full turn. They are filled once at engine start and only
// read afterwards. The zoom table holds interpolation weights (16384 = 1.0)
// for the fraction i / 65535 and is rebuilt by the alignment before its passes.

constexpr int MP_TABLE_SIZE = 65536;
constexpr int MP_ANGLE_TABLE_SIZE = 16384;

extern float MP_exp_table[MP_TABLE_SIZE];  // exp(-i / 65535)
extern float MP_sqrt_table[MP_TABLE_SIZE]; // sqrt(i / 65535)
extern float MP_log2_table[MP_TABLE_SIZE]; // log2(1 + i / 65535), entry 0 stored as 0.001
extern float MP_sin_table[MP_ANGLE_TABLE_SIZE];
extern float MP_cos_table[MP_ANGLE_TABLE_SIZE];
extern int MP_izoomtable[MP_TABLE_SIZE];

// Fills the exp, sqrt, log2, sin and cos tables (engine start).
void MP_fillLookupTables();

// Rebuilds the zoom table with interpolation type 1 (linear), 2 (square-root
// S-curve), 3 (power 0.333), 4 (sine), 5 and 6 (sine of types 2 and 3); any
// other type fills it with zeros. Writes the type to standard output.
void MP_UI_CalcZoomTable(int type);
// The same without the output line.
void MP_fillZoomTable(int type);

// Natural cubic spline through the n points (x[k], y[k]) (x ascending),
// evaluated at t; the end segments are extended beyond the knots.
float MP_CubicNPtSpline(int n, const float* x, const float* y, float t);
// Lagrange polynomial through the n points, evaluated at t; 0 for n <= 0.
float MP_LagrangeNPtSpline(int n, const float* x, const float* y, float t);
