#include "enginefixture.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

class MathWrappers : public EngineTest {};
class LookupTables : public EngineTest {};
class RandomNumbers : public EngineTest {};
class PointSplines : public EngineTest {};

TEST_F(MathWrappers, RoundingAndSign)
{
    struct Case {
        float x;
        int rounded;
    };
    const Case cases[] = {{2.5f, 3}, {-2.5f, -3}, {1.49f, 1}, {-1.49f, -1}, {0.0f, 0}, {-0.0f, 0}, {65534.5f, 65535}};
    for (const Case& c : cases)
        EXPECT_EQ(MP_f2int(c.x), c.rounded) << c.x;

    EXPECT_EQ(MP_sign(-0.0f), 0.0f);
    EXPECT_FALSE(std::signbit(MP_sign(-0.0f)));
    EXPECT_EQ(MP_sign(1e-30f), 1.0f);
    EXPECT_EQ(MP_sign(-3.0f), -1.0f);
    EXPECT_EQ(MP_sign(std::nanf("")), -1.0f); // "otherwise"

    EXPECT_FALSE(std::signbit(MP_fabs(-0.0f)));
    EXPECT_EQ(MP_fabs(-2.0f), 2.0f);
}

TEST_F(MathWrappers, ClampsAndVectors)
{
    EXPECT_EQ(MP_clamp(-1.0f, 0.0f, 1.0f), 0.0f);
    EXPECT_EQ(MP_clamp(2.0f, 0.0f, 1.0f), 1.0f);
    EXPECT_EQ(MP_clamp(0.25f, 0.0f, 1.0f), 0.25f);
    EXPECT_EQ(MP_iclamp(9, 0, 9), 9);
    EXPECT_EQ(MP_iclamp(-4, 0, 9), 0);
    EXPECT_EQ(MP_imin(3, -2), -2);
    EXPECT_EQ(MP_imax(3, -2), 3);

    const MP_float3 zero = MP_normalize({0.0f, 0.0f, 0.0f});
    EXPECT_EQ(zero.x, 0.57735f);
    EXPECT_EQ(zero.y, 0.57735f);
    EXPECT_EQ(zero.z, 0.57735f);
    const MP_float3 n = MP_normalize({3.0f, 0.0f, 4.0f});
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
    EXPECT_EQ(MP_dot({1.0f, 2.0f, 3.0f}, {4.0f, 5.0f, 6.0f}), 32.0f);
    EXPECT_FLOAT_EQ(MP_log2(8.0f), 3.0f);
    EXPECT_FLOAT_EQ(MP_logb(100.0f, 10.0f), 2.0f);

    float a = 1.0f, b = 2.0f;
    MP_swapf(&a, &b);
    EXPECT_EQ(a, 2.0f);
    EXPECT_EQ(b, 1.0f);
}

TEST_F(MathWrappers, TexelFetchStaysInsideTheBuffer)
{
    // 3 x 2 texels; texel (x, y) holds (10y + x, 100 + 10y + x, 200 + 10y + x).
    float texels[18];
    float values[6];
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const float v = static_cast<float>(10 * y + x);
            texels[(y * 3 + x) * 3 + 0] = v;
            texels[(y * 3 + x) * 3 + 1] = 100.0f + v;
            texels[(y * 3 + x) * 3 + 2] = 200.0f + v;
            values[y * 3 + x] = v;
        }
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float x, y, expected;
    };
    const Case cases[] = {
        {1.9f, 0.9f, 1.0f},   {2.9f, 1.7f, 12.0f}, {-5.0f, 1.0f, 10.0f}, {100.0f, -1.0f, 2.0f},
        {-0.5f, -0.5f, 0.0f}, {nan, nan, 0.0f},    {inf, inf, 12.0f},    {-inf, 1.0f, 10.0f},
    };
    for (const Case& c : cases) {
        const MP_float3 t = MP_tex2D(texels, c.x, c.y, 3.0f, 2.0f);
        EXPECT_EQ(t.x, c.expected) << c.x << "," << c.y;
        EXPECT_EQ(t.y, 100.0f + c.expected);
        EXPECT_EQ(t.z, 200.0f + c.expected);
        EXPECT_EQ(MP_val2D(values, c.x, c.y, 3.0f, 2.0f), c.expected) << c.x << "," << c.y;
    }
    // The row length is the truncated width.
    EXPECT_EQ(MP_val2D(values, 0.0f, 1.0f, 3.7f, 2.0f), 10.0f);
    // No texel to read: zeros instead of a read before the buffer.
    EXPECT_EQ(MP_val2D(values, 0.0f, 0.0f, 0.0f, 2.0f), 0.0f);
    EXPECT_EQ(MP_val2D(values, 0.0f, 0.0f, 3.0f, -1.0f), 0.0f);
    EXPECT_EQ(MP_val2D(nullptr, 0.0f, 0.0f, 3.0f, 2.0f), 0.0f);
    EXPECT_EQ(MP_tex2D(texels, 1.0f, 1.0f, nan, 2.0f).x, 0.0f);
}

TEST_F(LookupTables, EndEntries)
{
    EXPECT_EQ(MP_exp_table[0], 1.0f);
    EXPECT_FLOAT_EQ(MP_exp_table[65535], std::exp(-1.0f));
    EXPECT_EQ(MP_sqrt_table[0], 0.0f);
    EXPECT_EQ(MP_sqrt_table[65535], 1.0f);
    EXPECT_FLOAT_EQ(MP_sqrt_table[16384], std::sqrt(16384.0f / 65535.0f));
    EXPECT_EQ(MP_log2_table[0], 0.001f);
    EXPECT_EQ(MP_log2_table[65535], 1.0f);
    EXPECT_GT(MP_log2_table[1], 0.0f);
    EXPECT_EQ(MP_sin_table[0], 0.0f);
    EXPECT_EQ(MP_cos_table[0], 1.0f);
    EXPECT_EQ(MP_sin_table[4096], 1.0f);
    EXPECT_NEAR(MP_cos_table[4096], 0.0f, 1e-6f);
    EXPECT_NEAR(MP_sin_table[8192], 0.0f, 1e-6f);
    EXPECT_EQ(MP_cos_table[8192], -1.0f);
    for (int i = 1; i < MP_TABLE_SIZE; ++i) {
        ASSERT_LE(MP_exp_table[i], MP_exp_table[i - 1]) << i;
        ASSERT_GE(MP_sqrt_table[i], MP_sqrt_table[i - 1]) << i;
    }
}

TEST_F(LookupTables, ZoomTableEntries)
{
    struct Case {
        int type, index, value;
    };
    const Case cases[] = {
        {1, 0, 0},     {1, 16384, 4096},  {1, 32768, 8192}, {1, 65535, 16384},
        {4, 16384, 2399}, {4, 49151, 13984},
    };
    for (const Case& c : cases) {
        MP_fillZoomTable(c.type);
        EXPECT_EQ(MP_izoomtable[c.index], c.value) << "type " << c.type << " entry " << c.index;
    }
    for (int type = 1; type <= 6; ++type) {
        MP_fillZoomTable(type);
        EXPECT_EQ(MP_izoomtable[0], 0) << type;
        EXPECT_EQ(MP_izoomtable[65535], 16384) << type;
        for (int i = 1; i < MP_TABLE_SIZE; ++i)
            ASSERT_GE(MP_izoomtable[i], MP_izoomtable[i - 1]) << "type " << type << " entry " << i;
    }
    for (int type : {9, 0, -1}) {
        MP_fillZoomTable(1);
        MP_fillZoomTable(type);
        for (int i = 0; i < MP_TABLE_SIZE; ++i)
            ASSERT_EQ(MP_izoomtable[i], 0) << "type " << type << " entry " << i;
    }
}

TEST_F(LookupTables, CalcZoomTableReportsItsType)
{
    testing::internal::CaptureStdout();
    MP_UI_CalcZoomTable(4);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "MP_UI_CalcZoomTable: 4\r\n");
    EXPECT_EQ(MP_izoomtable[16384], 2399);
}

TEST_F(RandomNumbers, LinearCongruentialSequence)
{
    EXPECT_EQ(MP_UI_GetRandomSeed(), 2134756169);
    // From the initial seed (wrapping past 2^31 on the way).
    EXPECT_EQ(MP_rand(), 20039);
    EXPECT_EQ(MP_rand(), 32453);
    EXPECT_EQ(MP_rand(), 1130);
    EXPECT_EQ(MP_UI_GetRandomSeed(), -2073397598);

    MP_UI_SetRandomSeed(1);
    EXPECT_EQ(MP_rand(), 41);
    EXPECT_EQ(MP_UI_GetRandomSeed(), 2745024);
}

TEST_F(RandomNumbers, NewSeedIsTheNextDraw)
{
    MP_UI_SetRandomSeed(1);
    MP_UI_SetNewRandomSeed();
    EXPECT_EQ(MP_UI_GetRandomSeed(), 41);

    auto sequence = [] {
        std::vector<int> v;
        for (int i = 0; i < 4; ++i) {
            MP_UI_SetNewRandomSeed();
            v.push_back(MP_UI_GetRandomSeed());
            v.push_back(MP_rand());
        }
        return v;
    };
    MP_UI_SetRandomSeed(-123456789);
    const std::vector<int> first = sequence();
    MP_UI_SetRandomSeed(-123456789);
    EXPECT_EQ(sequence(), first);
    for (size_t i = 0; i < first.size(); i += 2) {
        EXPECT_GE(first[i], 0);
        EXPECT_LE(first[i], 32767);
    }
}

TEST_F(RandomNumbers, PositionHashKeepsTheSeed)
{
    struct Case {
        int seed, x, y, value;
    };
    const Case cases[] = {{1, 0, 0, 12552}, {2134756169, 3, 5, 25271}, {-5, -2, 7, 24129}};
    for (const Case& c : cases) {
        MP_UI_SetRandomSeed(c.seed);
        EXPECT_EQ(MP_randXY(c.x, c.y), c.value);
        EXPECT_EQ(MP_randXY(c.x, c.y), c.value);
        EXPECT_EQ(MP_UI_GetRandomSeed(), c.seed);
    }
}

TEST_F(PointSplines, CubicThroughItsKnots)
{
    // Natural spline of (0,0), (1,1), (2,0): second derivative -3 at x = 1.
    const float x[] = {0.0f, 1.0f, 2.0f};
    const float y[] = {0.0f, 1.0f, 0.0f};
    EXPECT_FLOAT_EQ(MP_CubicNPtSpline(3, x, y, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(MP_CubicNPtSpline(3, x, y, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(MP_CubicNPtSpline(3, x, y, 2.0f), 0.0f);
    EXPECT_FLOAT_EQ(MP_CubicNPtSpline(3, x, y, 0.5f), 0.6875f);
    EXPECT_FLOAT_EQ(MP_CubicNPtSpline(3, x, y, 1.5f), 0.6875f);

    // Points on a line give the line, also beyond the knots.
    const float lx[] = {0.0f, 0.5f, 2.0f, 3.0f, 4.5f};
    float ly[5];
    for (int i = 0; i < 5; ++i)
        ly[i] = 2.0f * lx[i] + 1.0f;
    for (float t : {-1.0f, 0.25f, 1.0f, 2.5f, 4.5f, 6.0f})
        EXPECT_NEAR(MP_CubicNPtSpline(5, lx, ly, t), 2.0f * t + 1.0f, 1e-4f) << t;
}

TEST_F(PointSplines, CubicDegenerateInput)
{
    const float x[] = {0.0f, 1.0f, 1.0f, 2.0f};
    const float y[] = {0.0f, 1.0f, 1.0f, 0.0f};
    EXPECT_TRUE(std::isfinite(MP_CubicNPtSpline(4, x, y, 1.5f)));
    EXPECT_EQ(MP_CubicNPtSpline(1, x, y, 5.0f), 0.0f);
    EXPECT_EQ(MP_CubicNPtSpline(1, x + 1, y + 1, 5.0f), 1.0f);
    EXPECT_EQ(MP_CubicNPtSpline(0, x, y, 0.5f), 0.0f);
    EXPECT_EQ(MP_CubicNPtSpline(3, nullptr, y, 0.5f), 0.0f);
    EXPECT_FLOAT_EQ(MP_CubicNPtSpline(2, x, y, 0.25f), 0.25f);
}

TEST_F(PointSplines, LagrangePolynomial)
{
    const float x[] = {0.0f, 1.0f, 2.0f};
    const float y[] = {0.0f, 1.0f, 4.0f};
    EXPECT_FLOAT_EQ(MP_LagrangeNPtSpline(3, x, y, 3.0f), 9.0f);
    EXPECT_FLOAT_EQ(MP_LagrangeNPtSpline(3, x, y, 1.5f), 2.25f);
    EXPECT_FLOAT_EQ(MP_LagrangeNPtSpline(1, x + 2, y + 2, -7.0f), 4.0f);
    EXPECT_EQ(MP_LagrangeNPtSpline(0, x, y, 1.0f), 0.0f);
    EXPECT_EQ(MP_LagrangeNPtSpline(-2, x, y, 1.0f), 0.0f);
}

} // namespace
