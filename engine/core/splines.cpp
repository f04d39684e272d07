#include "engine/core/splines.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"

#include <cmath>

namespace {

constexpr float kLeftEnd = -0.01f;  // x of the first knot, whatever the slot says
constexpr float kRightEnd = 1.01f;  // x of the sixth knot
constexpr float kMinStep = 0.001f;  // stand-in for a zero pivot or knot spacing
constexpr float kTableStep = 1.0f / 65535.0f; // the float nearest 1/65535

// A natural cubic spline through six knots; index 1..6 (0 unused).
struct Curve {
    float xp[7];
    float a[7], b[7], c[7], d[7];
};

// Coefficients of the natural spline through (xp[i], a[i]), in single precision
// and in the order of operations the device kernels use.
void solve(Curve& k)
{
    const float* xp = k.xp;
    const float* a = k.a;
    float T[7] = {};
    for (int i = 1; i <= 5; ++i)
        T[i] = xp[i + 1] - xp[i];
    float A[7] = {};
    for (int i = 2; i <= 5; ++i)
        A[i] = 3.0f * (a[i + 1] * T[i - 1] - a[i] * (xp[i + 1] - xp[i - 1]) + a[i - 1] * T[i]) / (T[i] * T[i - 1]);
    float L[7] = {}, U[7] = {}, Z[7] = {};
    L[1] = 1.0f;
    for (int i = 2; i <= 5; ++i) {
        L[i] = 2.0f * (xp[i + 1] - xp[i - 1]) - T[i - 1] * U[i - 1];
        if (L[i] == 0.0f)
            L[i] = kMinStep;
        U[i] = T[i] / L[i];
        Z[i] = (A[i] - T[i - 1] * Z[i - 1]) / L[i];
    }
    k.c[6] = 0.0f;
    for (int j = 5; j >= 1; --j) {
        k.c[j] = Z[j] - U[j] * k.c[j + 1];
        if (T[j] == 0.0f)
            T[j] = kMinStep;
        k.b[j] = (a[j + 1] - a[j]) / T[j] - T[j] * (k.c[j + 1] + 2.0f * k.c[j]) / 3.0f;
        k.d[j] = (k.c[j + 1] - k.c[j]) / (3.0f * T[j]);
    }
    k.b[6] = 0.0f;
    k.d[6] = 0.0f;
}

bool finiteCurve(const Curve& k)
{
    for (int i = 1; i <= 6; ++i)
        if (!std::isfinite(k.xp[i]) || !std::isfinite(k.a[i]) || !std::isfinite(k.b[i]) ||
            !std::isfinite(k.c[i]) || !std::isfinite(k.d[i]))
            return false;
    return true;
}

float unitOrZero(float v) { return v != v ? 0.0f : MP_clamp(v, 0.0f, 1.0f); }

// An inner knot outside the end knots' range (NaN and infinities included):
// its pieces reach far beyond the curve's 0..1, where the power sum overflows.
bool innerKnotOutside(const Curve& k)
{
    for (int i = 2; i <= 5; ++i)
        if (!(k.xp[i] >= kLeftEnd && k.xp[i] <= kRightEnd))
            return true;
    return false;
}

// Knots that leave the spline undefined: a NaN or infinite knot, an inner
// knot outside -0.01..1.01, two inner knots on the same x, an inner knot on an
// end knot's x. Non-finite y get finite ones, inner x outside the range move
// to the nearer end knot's x, then each zero spacing is opened to kMinStep
// (the spacing the solver itself substitutes for a zero one).
void repairKnots(Curve& k)
{
    for (int i = 1; i <= 6; ++i)
        if (!std::isfinite(k.a[i]))
            k.a[i] = k.a[i] > 0.0f ? 1.0f : 0.0f; // NaN and -inf give 0, +inf gives 1
    for (int i = 2; i <= 5; ++i) {
        if (k.xp[i] != k.xp[i])
            k.xp[i] = k.xp[i - 1];
        else if (k.xp[i] < kLeftEnd)
            k.xp[i] = kLeftEnd;
        else if (k.xp[i] > kRightEnd)
            k.xp[i] = kRightEnd;
    }
    for (int i = 2; i <= 5; ++i)
        if (k.xp[i] == k.xp[i - 1])
            k.xp[i] = k.xp[i - 1] + kMinStep;
    if (k.xp[6] == k.xp[5]) {
        k.xp[5] = kRightEnd - kMinStep;
        for (int i = 4; i >= 2; --i)
            if (k.xp[i] == k.xp[i + 1])
                k.xp[i] = k.xp[i + 1] - kMinStep;
    }
}

// Last resort when repaired knots still overflow (far outside 0..1): evenly
// spaced inner knots with the y values held to 0..1.
void evenKnots(Curve& k)
{
    for (int i = 2; i <= 5; ++i)
        k.xp[i] = 0.2f * static_cast<float>(i - 1);
    for (int i = 1; i <= 6; ++i)
        k.a[i] = unitOrZero(k.a[i]);
}

// The one place where the three spline entry points get their coefficients.
// Valid knots are solved exactly as given; only knots outside the curve's
// range or whose spline would not be finite are repaired, on this local copy.
Curve buildCurve(float x2, float x3, float x4, float x5, float y1, float y2, float y3, float y4, float y5, float y6)
{
    Curve k{};
    k.xp[1] = kLeftEnd;
    k.xp[2] = x2;
    k.xp[3] = x3;
    k.xp[4] = x4;
    k.xp[5] = x5;
    k.xp[6] = kRightEnd;
    k.a[1] = y1;
    k.a[2] = y2;
    k.a[3] = y3;
    k.a[4] = y4;
    k.a[5] = y5;
    k.a[6] = y6;
    if (!innerKnotOutside(k)) {
        solve(k);
        if (finiteCurve(k))
            return k;
    }
    repairKnots(k);
    solve(k);
    if (finiteCurve(k))
        return k;
    evenKnots(k);
    solve(k);
    return k;
}

// Piece i is the largest i with x >= xp[i]; piece 1 below the first knot.
int pieceOf(const Curve& k, float x)
{
    for (int i = 6; i >= 2; --i)
        if (x >= k.xp[i])
            return i;
    return 1;
}

// The curve on piece i at t = x - xp[i] as MP_cubicSpline sums it: a + b t +
// c t^2 + d t^3, left to right; clamped to 0..1 when clamp is not 0 (NaN, from
// an x of NaN, then gives 0).
float powerSum(const Curve& k, int i, float t, int clamp)
{
    const float t2 = t * t;
    const float t3 = t2 * t;
    const float v = k.a[i] + k.b[i] * t + k.c[i] * t2 + k.d[i] * t3;
    return clamp ? unitOrZero(v) : v;
}

// out[0 .. end - start) = value(piece, t) of the entries start..end at
// x = entry / 65535.
template <typename Value>
void fillEntries(const Curve& k, int start, int end, float* out, Value value)
{
    for (int idx = start; idx < end; ++idx) {
        const float x = static_cast<float>(idx) * kTableStep;
        const int i = pieceOf(k, x);
        *out++ = value(i, x - k.xp[i]);
    }
}

} // namespace

float MP_cubicSpline(int clamp, float x, float x1, float x2, float x3, float x4, float x5, float x6, float y1,
                     float y2, float y3, float y4, float y5, float y6)
{
    (void)x1;
    (void)x6;
    if (y1 == y2 && y1 == y3 && y1 == y4 && y1 == y5 && y1 == y6)
        return y1;
    const Curve k = buildCurve(x2, x3, x4, x5, y1, y2, y3, y4, y5, y6);
    const int i = pieceOf(k, x);
    return powerSum(k, i, x - k.xp[i], clamp);
}

void MP_cubicSplinePoints(int clamp, int start, int end, float* out, float x1, float x2, float x3, float x4, float x5,
                          float x6, float y1, float y2, float y3, float y4, float y5, float y6)
{
    (void)x1;
    (void)x6;
    if (!out || start >= end)
        return;
    if (y1 == y2 && y1 == y3 && y1 == y4 && y1 == y5 && y1 == y6) {
        for (int idx = start; idx < end; ++idx)
            out[idx - start] = y1;
        return;
    }
    const Curve k = buildCurve(x2, x3, x4, x5, y1, y2, y3, y4, y5, y6);
    fillEntries(k, start, end, out, [&k, clamp](int i, float t) { return powerSum(k, i, t, clamp); });
}

void MP_cubicSplineTable(int start, int end, float* table, float x1, float x2, float x3, float x4, float x5, float x6,
                         float y1, float y2, float y3, float y4, float y5, float y6)
{
    (void)x1;
    (void)x6;
    if (!table)
        return;
    if (start < 0)
        start = 0;
    if (start >= end)
        return;
    const Curve k = buildCurve(x2, x3, x4, x5, y1, y2, y3, y4, y5, y6);
    fillEntries(k, start, end, table + start, [&k](int i, float t) {
        return unitOrZero(((k.d[i] * t + k.c[i]) * t + k.b[i]) * t + k.a[i]);
    });
}

void MP_cubicSplineCoefficients(MP_Params* params, float x1, float x2, float x3, float x4, float x5, float x6,
                                float y1, float y2, float y3, float y4, float y5, float y6)
{
    (void)x1;
    (void)x6;
    if (!params)
        return;
    const Curve k = buildCurve(x2, x3, x4, x5, y1, y2, y3, y4, y5, y6);
    params->a[0] = params->b[0] = params->c[0] = params->d[0] = 0.0f;
    params->xp[0] = -0.02f;
    for (int i = 1; i <= 6; ++i) {
        params->a[i] = k.a[i];
        params->b[i] = k.b[i];
        params->c[i] = k.c[i];
        params->d[i] = k.d[i];
        params->xp[i] = k.xp[i];
    }
}

float MP_lagrangePolynom(float x, float x1, float x2, float x3, float x4, float x5, float x6, float y1, float y2,
                         float y3, float y4, float y5, float y6)
{
    const float xs[6] = {x1, x2, x3, x4, x5, x6};
    const float ys[6] = {y1, y2, y3, y4, y5, y6};
    float sum = 0.0f;
    for (int i = 0; i < 6; ++i) {
        float term = ys[i];
        for (int j = 0; j < 6; ++j)
            if (j != i)
                term = term * (x - xs[j]) / (xs[i] - xs[j]);
        sum += term;
    }
    // Two knots on one x leave the polynomial undefined: report 0.
    if (!std::isfinite(sum))
        return 0.0f;
    return MP_clamp(sum, 0.0f, 1.0f);
}

namespace {
// The parabola through (xa, ya), (xb, yb), (xc, yc) at x, in Lagrange form.
float parabola(float x, float xa, float xb, float xc, float ya, float yb, float yc)
{
    return ya * (x - xb) * (x - xc) / ((xa - xb) * (xa - xc)) + yb * (x - xa) * (x - xc) / ((xb - xa) * (xb - xc)) +
           yc * (x - xa) * (x - xb) / ((xc - xa) * (xc - xb));
}
} // namespace

float MP_parabelPolynom(float x, float x1, float x2, float x3, float x4, float x5, float x6, float y1, float y2,
                        float y3, float y4, float y5, float y6)
{
    const float xs[7] = {0.0f, x1, x2, x3, x4, x5, x6};
    const float ys[7] = {0.0f, y1, y2, y3, y4, y5, y6};
    // P(k): the parabola through knots k, k+1, k+2 (k = 1..4).
    auto P = [&](int k) { return parabola(x, xs[k], xs[k + 1], xs[k + 2], ys[k], ys[k + 1], ys[k + 2]); };
    if (x >= xs[1] && x < xs[2])
        return unitOrZero(P(1));
    for (int k = 2; k <= 4; ++k) {
        if (x >= xs[k] && x < xs[k + 1]) {
            const float w = x - xs[k]; // the plain distance from x_k
            return unitOrZero((1.0f - w) * P(k - 1) + w * P(k));
        }
    }
    if (x >= xs[5] && x <= xs[6])
        return unitOrZero(P(4));
    return 0.0f;
}
