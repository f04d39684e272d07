#include "enginefixture.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

struct Knots {
    float x[6];
    float y[6];
};

constexpr int kTable = 65536;

std::vector<float> table(const Knots& k, int start = 0, int end = kTable)
{
    std::vector<float> t(kTable, -7.0f);
    MP_cubicSplineTable(start, end, t.data(), k.x[0], k.x[1], k.x[2], k.x[3], k.x[4], k.x[5], k.y[0], k.y[1], k.y[2],
                        k.y[3], k.y[4], k.y[5]);
    return t;
}

// The spline at x from its coefficients, literally: the piece of the last knot
// at or left of x (piece 1 below knot 2), its Horner form, clamped to 0..1.
float hornerAt(const MP_Params& p, float x)
{
    int s = 1;
    for (int j = 6; j >= 2; --j)
        if (x >= p.xp[j]) {
            s = j;
            break;
        }
    const float u = x - p.xp[s];
    const float v = ((p.d[s] * u + p.c[s]) * u + p.b[s]) * u + p.a[s];
    return MP_clamp(v, 0.0f, 1.0f);
}

float curve(const Knots& k, float x, int clamp)
{
    return MP_cubicSpline(clamp, x, k.x[0], k.x[1], k.x[2], k.x[3], k.x[4], k.x[5], k.y[0], k.y[1], k.y[2], k.y[3],
                          k.y[4], k.y[5]);
}

MP_Params coefficients(const Knots& k)
{
    MP_Params p{};
    MP_cubicSplineCoefficients(&p, k.x[0], k.x[1], k.x[2], k.x[3], k.x[4], k.x[5], k.y[0], k.y[1], k.y[2], k.y[3],
                               k.y[4], k.y[5]);
    return p;
}

const Knots kIdentity{{0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f}, {0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f}};

uint32_t bits(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return u;
}

// The natural spline exactly as the device kernels compute it, written out
// independently: valid knots must give these coefficients to the last bit.
struct Reference {
    float xp[7], a[7], b[7], c[7], d[7];
};
Reference reference(const Knots& k)
{
    Reference r{};
    const float xs[7] = {0, -0.01f, k.x[1], k.x[2], k.x[3], k.x[4], 1.01f};
    for (int i = 1; i <= 6; ++i) {
        r.xp[i] = xs[i];
        r.a[i] = k.y[i - 1];
    }
    float T[7] = {}, A[7] = {}, L[7] = {}, U[7] = {}, Z[7] = {};
    for (int i = 1; i <= 5; ++i)
        T[i] = xs[i + 1] - xs[i];
    for (int i = 2; i <= 5; ++i) {
        const float num = r.a[i + 1] * T[i - 1] - r.a[i] * (xs[i + 1] - xs[i - 1]) + r.a[i - 1] * T[i];
        A[i] = 3.0f * num / (T[i] * T[i - 1]);
    }
    L[1] = 1.0f;
    for (int i = 2; i <= 5; ++i) {
        L[i] = 2.0f * (xs[i + 1] - xs[i - 1]) - T[i - 1] * U[i - 1];
        if (L[i] == 0.0f)
            L[i] = 0.001f;
        U[i] = T[i] / L[i];
        Z[i] = (A[i] - T[i - 1] * Z[i - 1]) / L[i];
    }
    for (int j = 5; j >= 1; --j) {
        r.c[j] = Z[j] - U[j] * r.c[j + 1];
        if (T[j] == 0.0f)
            T[j] = 0.001f;
        r.b[j] = (r.a[j + 1] - r.a[j]) / T[j] - T[j] * (r.c[j + 1] + 2.0f * r.c[j]) / 3.0f;
        r.d[j] = (r.c[j + 1] - r.c[j]) / (3.0f * T[j]);
    }
    return r;
}

} // namespace

TEST(Splines, IdentityKnotsMeetInnerKnotsButNotTheEnds)
{
    const std::vector<float> t = table(kIdentity);
    EXPECT_NEAR(t[0], 0.0094f, 0.00005f);
    EXPECT_NEAR(t[65535], 0.9906f, 0.00005f);
    EXPECT_GT(t[0], 0.0f);
    EXPECT_LT(t[65535], 1.0f);
    // On an inner knot t = 0: the value is the knot's y exactly.
    EXPECT_EQ(curve(kIdentity, 0.2f, 0), 0.2f);
    EXPECT_EQ(curve(kIdentity, 0.6f, 1), 0.6f);
    EXPECT_NEAR(curve(kIdentity, 0.5f, 0), 0.5f, 1e-6f);
    for (int i = 1; i < kTable; ++i)
        ASSERT_GE(t[i], t[i - 1]) << i;
}

TEST(Splines, ConstantCurves)
{
    const Knots ones{{0, 0.2f, 0.4f, 0.6f, 0.8f, 1}, {1, 1, 1, 1, 1, 1}};
    for (float v : table(ones))
        ASSERT_EQ(v, 1.0f);
    // The shortcut returns y1 unclamped, the table clamps.
    const Knots high{{0, 0.2f, 0.4f, 0.6f, 0.8f, 1}, {1.5f, 1.5f, 1.5f, 1.5f, 1.5f, 1.5f}};
    EXPECT_EQ(curve(high, 0.3f, 1), 1.5f);
    EXPECT_EQ(table(high)[100], 1.0f);
}

TEST(Splines, FirstKnotXIsIgnoredAndRangesAreHonoured)
{
    Knots moved = kIdentity;
    moved.x[0] = 0.7f;
    moved.x[5] = 0.1f;
    const std::vector<float> a = table(kIdentity);
    const std::vector<float> b = table(moved);
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(float)), 0);

    // Only [start, end) is written.
    const std::vector<float> part = table(kIdentity, 100, 200);
    EXPECT_EQ(part[99], -7.0f);
    EXPECT_EQ(part[100], a[100]);
    EXPECT_EQ(part[199], a[199]);
    EXPECT_EQ(part[200], -7.0f);
}

TEST(Splines, CoefficientsDescribeTheTableAndTheCurve)
{
    const Knots k{{0, 0.15f, 0.35f, 0.7f, 0.9f, 1}, {0.1f, 0.3f, 0.2f, 0.8f, 0.95f, 0.6f}};
    const MP_Params p = coefficients(k);
    EXPECT_EQ(p.xp[0], -0.02f);
    EXPECT_EQ(p.xp[1], -0.01f);
    EXPECT_EQ(p.xp[2], 0.15f);
    EXPECT_EQ(p.xp[5], 0.9f);
    EXPECT_EQ(p.xp[6], 1.01f);
    EXPECT_EQ(p.a[0], 0.0f);
    EXPECT_EQ(p.b[0], 0.0f);
    EXPECT_EQ(p.c[1], 0.0f); // natural spline: no curvature at the ends
    EXPECT_EQ(p.c[6], 0.0f);
    EXPECT_EQ(p.b[6], 0.0f);
    EXPECT_EQ(p.d[6], 0.0f);
    EXPECT_EQ(p.a[6], 0.6f);

    // The table is the Horner form of the coefficients, clamped.
    const std::vector<float> t = table(k);
    const float step = 1.0f / 65535.0f;
    for (int i = 0; i < kTable; i += 97)
        ASSERT_EQ(t[i], hornerAt(p, static_cast<float>(i) * step)) << i;

    // Below -0.01 the first piece extrapolates (a + bt + ct^2 + dt^3), then clamps.
    const float x = -0.5f;
    const float u = x - p.xp[1];
    const float v = p.a[1] + p.b[1] * u + p.c[1] * (u * u) + p.d[1] * (u * u * u);
    EXPECT_EQ(curve(k, x, 0), v);
    EXPECT_EQ(curve(k, x, 1), MP_clamp(v, 0.0f, 1.0f));
}

TEST(Splines, ValidKnotsAreSolvedExactlyAsGiven)
{
    const Knots cases[] = {
        kIdentity,
        {{0, 0.15f, 0.35f, 0.7f, 0.9f, 1}, {0.1f, 0.3f, 0.2f, 0.8f, 0.95f, 0.6f}},
        {{0, 0.0f, 0.25f, 0.5f, 1.0f, 1}, {0, 1, 0, 1, 0, 1}},
        // Close but distinct inner knots are valid: no repair.
        {{0, 0.3f, 0.30001f, 0.6f, 0.8f, 1}, {0.2f, 0.25f, 0.75f, 0.5f, 0.5f, 0.9f}},
        // Knots out of order do not divide by zero either.
        {{0, 0.6f, 0.4f, 0.2f, 0.8f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}},
        // Inner knots just inside the end knots are valid too.
        {{0, -0.005f, 0.4f, 0.6f, 1.005f, 1}, {0.3f, 0.1f, 0.4f, 0.6f, 0.9f, 0.2f}},
    };
    for (const Knots& k : cases) {
        const MP_Params p = coefficients(k);
        const Reference r = reference(k);
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(bits(p.xp[i]), bits(r.xp[i])) << i;
            EXPECT_EQ(bits(p.a[i]), bits(r.a[i])) << i;
            EXPECT_EQ(bits(p.b[i]), bits(r.b[i])) << i;
            EXPECT_EQ(bits(p.c[i]), bits(r.c[i])) << i;
            EXPECT_EQ(bits(p.d[i]), bits(r.d[i])) << i;
        }
    }
}

TEST(Splines, DegenerateKnotsGiveFiniteCurves)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        Knots k;
    };
    const Case cases[] = {
        {"x2 = x3", {{0, 0.4f, 0.4f, 0.6f, 0.8f, 1}, {0, 0.2f, 0.5f, 0.6f, 0.8f, 1}}},
        {"x4 = x5", {{0, 0.2f, 0.4f, 0.7f, 0.7f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.9f, 1}}},
        {"all inner x equal", {{0, 0.5f, 0.5f, 0.5f, 0.5f, 1}, {0, 0.1f, 0.9f, 0.2f, 0.8f, 1}}},
        {"x2 at -0.01", {{0, -0.01f, 0.4f, 0.6f, 0.8f, 1}, {0.5f, 0.2f, 0.4f, 0.6f, 0.8f, 1}}},
        {"x5 at 1.01", {{0, 0.2f, 0.4f, 0.6f, 1.01f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 0.3f}}},
        {"inner x at 1.01 twice", {{0, 0.2f, 0.4f, 1.01f, 1.01f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}}},
        {"NaN x", {{0, 0.2f, nan, 0.6f, 0.8f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}}},
        {"NaN y", {{0, 0.2f, 0.4f, 0.6f, 0.8f, 1}, {0, 0.2f, nan, 0.6f, 0.8f, 1}}},
        {"infinite x and y", {{0, -inf, 0.4f, inf, 0.8f, 1}, {0, inf, 0.4f, -inf, 0.8f, 1}}},
        {"huge x", {{0, 0.2f, 3e38f, -3e38f, 0.8f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}}},
        // Finite inner knots outside -0.01..1.01.
        {"x4 = -1e30", {{0, 0.2f, 0.4f, -1e30f, 0.8f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}}},
        {"x4 = 1e10", {{0, 0.2f, 0.4f, 1e10f, 0.8f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}}},
        {"x2 = -0.5, x5 = 1.5", {{0, -0.5f, 0.4f, 0.6f, 1.5f, 1}, {0.1f, 0.9f, 0.4f, 0.6f, 0.2f, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<float> t = table(c.k);
        for (int i = 0; i < kTable; ++i)
            ASSERT_TRUE(t[i] >= 0.0f && t[i] <= 1.0f) << i << " " << t[i];
        for (float x : {0.0f, 0.25f, 0.4f, 0.5f, 1.0f})
            EXPECT_TRUE(std::isfinite(curve(c.k, x, 0))) << x;
        // The clamped curve keeps its promise of 0..1 (NaN fails both tests).
        for (float x : {-1.0f, 0.0f, 0.1f, 0.3f, 0.45f, 0.7f, 0.9f, 1.0f, 2.0f, nan}) {
            const float v = curve(c.k, x, 1);
            EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << x << " " << v;
        }
        const MP_Params p = coefficients(c.k);
        for (int i = 0; i <= 6; ++i) {
            EXPECT_TRUE(std::isfinite(p.a[i]) && std::isfinite(p.b[i]) && std::isfinite(p.c[i]) &&
                        std::isfinite(p.d[i]) && std::isfinite(p.xp[i]))
                << i;
        }
        // The table and the coefficients come from the same repaired knots.
        for (int i = 0; i < kTable; i += 4099)
            EXPECT_EQ(t[i], hornerAt(p, static_cast<float>(i) * (1.0f / 65535.0f))) << i;
    }
    // A repaired duplicate still passes near its other knots.
    const Knots dup{{0, 0.2f, 0.2f, 0.6f, 0.8f, 1}, {0, 0.2f, 0.2f, 0.6f, 0.8f, 1}};
    EXPECT_NEAR(curve(dup, 0.6f, 0), 0.6f, 1e-6f);
}

TEST(Splines, LagrangeAndParabolas)
{
    const Knots line{{0, 0.2f, 0.4f, 0.6f, 0.8f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}};
    auto lagrange = [](const Knots& k, float x) {
        return MP_lagrangePolynom(x, k.x[0], k.x[1], k.x[2], k.x[3], k.x[4], k.x[5], k.y[0], k.y[1], k.y[2], k.y[3],
                                  k.y[4], k.y[5]);
    };
    auto parabel = [](const Knots& k, float x) {
        return MP_parabelPolynom(x, k.x[0], k.x[1], k.x[2], k.x[3], k.x[4], k.x[5], k.y[0], k.y[1], k.y[2], k.y[3],
                                 k.y[4], k.y[5]);
    };
    // Both reproduce a straight line through the knots; the ends are not pinned.
    for (float x : {0.0f, 0.1f, 0.3f, 0.5f, 0.75f, 0.9f, 1.0f}) {
        EXPECT_NEAR(lagrange(line, x), x, 1e-5f) << x;
        EXPECT_NEAR(parabel(line, x), x, 1e-5f) << x;
    }
    EXPECT_EQ(parabel(line, 1.5f), 0.0f);  // outside [x1, x6]
    EXPECT_EQ(parabel(line, -0.1f), 0.0f);
    EXPECT_EQ(lagrange(line, 1.5f), 1.0f); // clamped

    // Between x2 and x3 the two parabolas mix with weight x - x2.
    const Knots bend{{0, 0.2f, 0.4f, 0.6f, 0.8f, 1}, {0, 0.5f, 0.3f, 0.6f, 0.2f, 0.9f}};
    const float x = 0.3f;
    auto para = [&](int k) {
        const float* X = bend.x + k;
        const float* Y = bend.y + k;
        return Y[0] * (x - X[1]) * (x - X[2]) / ((X[0] - X[1]) * (X[0] - X[2])) +
               Y[1] * (x - X[0]) * (x - X[2]) / ((X[1] - X[0]) * (X[1] - X[2])) +
               Y[2] * (x - X[0]) * (x - X[1]) / ((X[2] - X[0]) * (X[2] - X[1]));
    };
    const float w = x - bend.x[1];
    EXPECT_EQ(parabel(bend, x), MP_clamp((1.0f - w) * para(0) + w * para(1), 0.0f, 1.0f));

    // Two knots on one x leave the polynomial undefined: 0, not NaN.
    const Knots dup{{0, 0.2f, 0.2f, 0.6f, 0.8f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}};
    EXPECT_EQ(lagrange(dup, 0.5f), 0.0f);
}

namespace {

// The many-point form gives the bits of one MP_cubicSpline call per point,
// clamped or not, for ordinary, flat (also outside 0..1) and repaired knots,
// for the whole range and for a part of it.
TEST(Splines, PointsAreTheCurveAtEveryEntry)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Knots cases[] = {
        kIdentity,
        {{0, 0.15f, 0.35f, 0.7f, 0.9f, 1}, {0.1f, 0.3f, 0.2f, 0.8f, 0.95f, 0.6f}},
        {{0, 0.2f, 0.4f, 0.6f, 0.8f, 1}, {1.4f, 1.2f, 0.5f, -0.2f, -0.5f, 2.0f}},
        {{0, 0.2f, 0.4f, 0.6f, 0.8f, 1}, {1.5f, 1.5f, 1.5f, 1.5f, 1.5f, 1.5f}},
        {{0, 0.4f, 0.4f, 0.6f, 0.8f, 1}, {0, 0.2f, 0.5f, 0.6f, 0.8f, 1}},
        {{0, 0.2f, nan, 0.6f, 0.8f, 1}, {0, 0.2f, 0.4f, 0.6f, 0.8f, 1}},
    };
    const int ranges[][2] = {{0, kTable}, {30000, 30517}, {65535, 65536}};
    for (const Knots& k : cases) {
        for (int clamp : {0, 1}) {
            for (const auto& r : ranges) {
                std::vector<float> out(static_cast<size_t>(r[1] - r[0]) + 1, -7.0f);
                MP_cubicSplinePoints(clamp, r[0], r[1], out.data(), k.x[0], k.x[1], k.x[2], k.x[3], k.x[4], k.x[5],
                                     k.y[0], k.y[1], k.y[2], k.y[3], k.y[4], k.y[5]);
                for (int i = r[0]; i < r[1]; ++i)
                    ASSERT_EQ(bits(out[static_cast<size_t>(i - r[0])]),
                              bits(curve(k, static_cast<float>(i) * (1.0f / 65535.0f), clamp)))
                        << "y2 " << k.y[1] << " clamp " << clamp << " entry " << i;
                EXPECT_EQ(out.back(), -7.0f); // nothing written past the end
            }
        }
    }
}

} // namespace
