// The vector pieces of the edge-preserving smoothing: the reciprocal that
// may replace the division of the bilateral weight must give the division's
// bits for every argument the weights can have, and the sixteen-lane runs
// (unmasked inside, masked at the left and right edges) must give each
// pixel's own walk.

#include "filterfixture.h"

#include "engine/filters/filterframe.h"
#include "engine/filters/smoothing.h"
#include "engine/filters/smoothrecip.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

namespace {

// A window of R 60 with step 5 on a noisy picture 331 pixels wide: runs with
// groups inside and groups at both edges, a last run of 11 pixels, rows
// whose windows are cut at the top and bottom. Every gather path, the
// portable code and the pixel walk give the same bits, for ImageSmooth,
// ChannelSmooth and ColorSmooth.
TEST_F(FilterTest, SmoothingRunsEqualThePixelWalk)
{
    const int w = 331, h = 23;
    Image src = noisy(w, h, 30000, 22000, 15000, 12000);
    for (int x = 150; x < w; ++x) // a hard edge inside the window
        for (int y = 0; y < h; ++y)
            src[(static_cast<size_t>(y) * w + x) * 3] = 60000;
    struct Case {
        const char* name;
        int comboSlot;
    };
    for (const Case c : {Case{"MP_calcPixelImageSmooth", 3}, Case{"MP_calcPixelChannelSmooth", 4},
                         Case{"MP_calcPixelColorSmooth", 3}}) {
        MP_Params p = blankParams();
        p.kernel_exponent = 4.0f;
        p.p[0][0] = 0.12f; // R 60, step 5
        p.p[1][0] = 0.4f;
        if (c.comboSlot == 4)
            p.p[2][0] = p.p[3][0] = 0.6f;
        else
            setMask(p.p[2], 1.0f);
        p.p[2][2] = p.p[2][3] = p.p[2][4] = 1.0f;
        p.p[c.comboSlot][1] = 100.0f;
        OpenCLManager::getInstance()->setKernelSuperquadricTable(60, &p);
        mp_filters::g_filterRunWalk = false;
        const Image walk = runCopy(c.name, w, h, src, p);
        mp_filters::g_filterRunWalk = true;
        EXPECT_NE(walk, roundTripped(src)) << c.name; // the operator did something
        for (int path : {0, 1}) {
            mp_filters::g_smoothPath = path;
            EXPECT_EQ(runCopy(c.name, w, h, src, p), walk) << c.name << " path " << path;
        }
        mp_filters::g_smoothPath = 1;
        mp_filters::g_filterPortable = true;
        EXPECT_EQ(runCopy(c.name, w, h, src, p), walk) << c.name << " portable";
        mp_filters::g_filterPortable = false;
    }
}

#if defined(__x86_64__) && defined(__GNUC__)

bool hasAvx512() { return __builtin_cpu_supports("avx512f"); }
bool hasAvx2Fma() { return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"); }

// The reciprocals of n floats (n a multiple of 16).
__attribute__((target("avx512f"))) void recip512(const float* x, float* r, size_t n)
{
    for (size_t i = 0; i < n; i += 16)
        _mm512_storeu_ps(r + i, MP_exactRecip512(_mm512_loadu_ps(x + i)));
}
__attribute__((target("avx2,fma"))) void recip256(const float* x, float* r, size_t n)
{
    for (size_t i = 0; i < n; i += 8)
        _mm256_storeu_ps(r + i, MP_exactRecip256(_mm256_loadu_ps(x + i)));
}

struct Lanes {
    const char* name;
    bool (*has)();
    void (*run)(const float*, float*, size_t);
};
const Lanes kLanes[] = {{"AVX-512", hasAvx512, recip512}, {"AVX2", hasAvx2Fma, recip256}};

// The first argument (as bits) whose reciprocal differs from 1 / x, or 0.
uint32_t firstMismatch(const Lanes& l, const std::vector<float>& x)
{
    std::vector<float> r(x.size());
    l.run(x.data(), r.data(), x.size());
    for (size_t i = 0; i < x.size(); ++i)
        if (std::bit_cast<uint32_t>(r[i]) != std::bit_cast<uint32_t>(1.0f / x[i]))
            return std::bit_cast<uint32_t>(x[i]);
    return 0;
}

// Every float of [2^-10, 4): twelve binades, 2^23 floats each.
TEST(SmoothingRecip, EqualsTheDivisionForEveryFloatOfItsRange)
{
    const uint32_t lo = std::bit_cast<uint32_t>(0x1p-10f), hi = std::bit_cast<uint32_t>(4.0f);
    std::vector<float> x(size_t{1} << 23);
    for (const Lanes& l : kLanes) {
        if (!l.has())
            continue;
        for (uint32_t b = lo; b < hi; b += static_cast<uint32_t>(x.size())) {
            for (size_t i = 0; i < x.size(); ++i)
                x[i] = std::bit_cast<float>(b + static_cast<uint32_t>(i));
            const uint32_t bad = firstMismatch(l, x);
            ASSERT_EQ(bad, 0u) << l.name << " differs at " << std::bit_cast<float>(bad);
        }
    }
}

// Every entry of the divisor tables 1 / (d k + eps), d 0..65535, for the
// constants the window filters use.
TEST(SmoothingRecip, EqualsTheDivisorTables)
{
    for (const float eps : {0.05f, mp_filters::kEps10, mp_filters::kEps5, 0.01f, 0.001f}) {
        std::vector<float> x(65536);
        for (int d = 0; d < 65536; ++d)
            x[d] = static_cast<float>(d) * MP_k + eps;
        for (const Lanes& l : kLanes) {
            if (!l.has())
                continue;
            std::vector<float> r(x.size());
            l.run(x.data(), r.data(), x.size());
            for (int d = 0; d < 65536; ++d)
                ASSERT_EQ(std::bit_cast<uint32_t>(r[d]), std::bit_cast<uint32_t>(mp_filters::divisor(d, eps)))
                    << l.name << " eps " << eps << " d " << d;
        }
    }
}

#endif

} // namespace
