// The edge enhancer's reciprocal and square root without the divider
// (engine/filters/filterrecip.h): for every sample difference d = 0 .. 65535
// they give exactly the bits of 1.0f / (d k + 0.001f) and sqrtf(d k), on the
// sixteen-lane and on the eight-lane form.

#include "filterfixture.h"

#include "engine/core/driverframe.h"
#include "engine/filters/edgeenhance.h"
#include "engine/filters/filterrecip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)

using namespace mp_filters;

namespace {

uint32_t bitsOf(float v)
{
    uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// The enhancer's inputs of differences d .. d + 15: x = d k and v = x + eps.
void inputs(int d, float* x, float* v)
{
    for (int i = 0; i < 16; ++i) {
        x[i] = static_cast<float>(d + i) * MP_k;
        v[i] = x[i] + 0.001f;
    }
}

// Counts the differences whose results differ from the divider's.
struct Mismatches {
    int recip = 0, root = 0;
    int firstRecip = -1, firstRoot = -1;
    void check(int d, const float* v, const float* x, const float* r, const float* s, int lanes)
    {
        for (int i = 0; i < lanes; ++i) {
            volatile float vi = v[i], xi = x[i]; // the divider, not a folded constant
            if (bitsOf(r[i]) != bitsOf(1.0f / vi) && recip++ == 0)
                firstRecip = d + i;
            if (bitsOf(s[i]) != bitsOf(std::sqrt(xi)) && root++ == 0)
                firstRoot = d + i;
        }
    }
};

__attribute__((target("avx512f,fma"))) void allDifferences512(Mismatches& m)
{
    for (int d = 0; d < 65536; d += 16) {
        float x[16], v[16], r[16], s[16];
        inputs(d, x, v);
        _mm512_storeu_ps(r, MP_exactRecip512(_mm512_loadu_ps(v)));
        _mm512_storeu_ps(s, MP_exactSqrt512(_mm512_loadu_ps(x)));
        m.check(d, v, x, r, s, 16);
    }
}

__attribute__((target("avx2,fma"))) void allDifferences256(Mismatches& m)
{
    for (int d = 0; d < 65536; d += 16) {
        float x[16], v[16], r[16], s[16];
        inputs(d, x, v);
        for (int h = 0; h < 16; h += 8) {
            _mm256_storeu_ps(r + h, MP_exactRecip256(_mm256_loadu_ps(v + h)));
            _mm256_storeu_ps(s + h, MP_exactSqrt256(_mm256_loadu_ps(x + h)));
        }
        m.check(d, v, x, r, s, 16);
    }
}

TEST(EnhanceReciprocal, SixteenLanesEqualTheDividerForEveryDifference)
{
    if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("fma"))
        GTEST_SKIP() << "no AVX-512 on this processor";
    Mismatches m;
    allDifferences512(m);
    EXPECT_EQ(m.recip, 0) << "first at d = " << m.firstRecip;
    EXPECT_EQ(m.root, 0) << "first at d = " << m.firstRoot;
}

TEST(EnhanceReciprocal, EightLanesEqualTheDividerForEveryDifference)
{
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma"))
        GTEST_SKIP() << "no AVX2 with FMA on this processor";
    Mismatches m;
    allDifferences256(m);
    EXPECT_EQ(m.recip, 0) << "first at d = " << m.firstRecip;
    EXPECT_EQ(m.root, 0) << "first at d = " << m.firstRoot;
}

// The enhancer's sixteen-lane, eight-lane and portable runs give the bits of
// each pixel's own walk, on a picture wide enough for interior runs.
TEST_F(FilterTest, EnhancerCodePathsGiveTheSameBits)
{
    const int w = 300, h = 24;
    const Image src = testPicture(w, h);
    MP_Params p = blankParams();
    p.p[0][0] = 0.04f; // R 20
    p.p[1][0] = 0.6f;
    p.p[2][0] = 0.3f;
    setMask(p.p[3], 1.0f);
    p.p[4][1] = 100.0f;
    OpenCLManager::getInstance()->setKernelSuperquadricTable(20, &p);
    mp_filters::g_filterRunWalk = false;
    const Image walk = runCopy("MP_calcPixelEnhance", w, h, src, p);
    mp_filters::g_filterRunWalk = true;
    for (int path = 0; path < 3; ++path) {
        g_enhanceNo512 = path == 1;
        mp_filters::g_filterPortable = path == 2;
        EXPECT_EQ(runCopy("MP_calcPixelEnhance", w, h, src, p), walk) << "path " << path;
    }
    g_enhanceNo512 = false;
    mp_filters::g_filterPortable = false;
}

} // namespace

#endif
