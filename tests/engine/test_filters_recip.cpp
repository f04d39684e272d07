// The window filters' reciprocal without the divide unit (filterrecip.h):
// for every integer difference d 0..65535 and every epsilon the filters use,
// the eight- and sixteen-lane sequences give the bits of the division
// 1.0f / (d k + eps) that the portable code and the divisor tables take.

#include "engine/filters/filterrecip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using mp_filters::divisor;
using mp_filters::kRecipEpsilons;

uint32_t bits(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

// x = (float)d * MP_k + eps for every d, as the sums compute it (two roundings).
std::vector<float> inputs(float eps)
{
    std::vector<float> x(65536);
    for (int d = 0; d < 65536; ++d) {
        const volatile float p = static_cast<float>(d) * MP_k;
        x[static_cast<size_t>(d)] = p + eps;
    }
    return x;
}

#ifdef MP_FILTER_RECIP_X86
__attribute__((target("avx2,fma"))) void recip256(const float* x, float* r, size_t n)
{
    for (size_t i = 0; i < n; i += 8)
        _mm256_storeu_ps(r + i, mp_filters::MP_exactRecip256(_mm256_loadu_ps(x + i)));
}
__attribute__((target("avx512f"))) void recip512(const float* x, float* r, size_t n)
{
    for (size_t i = 0; i < n; i += 16)
        _mm512_storeu_ps(r + i, mp_filters::MP_exactRecip512(_mm512_loadu_ps(x + i)));
}
#endif

// Every lane of `path` against the division, for every d and eps; returns
// the number of differing results and reports the first few.
template <class Path> int mismatches(Path path)
{
    int bad = 0;
    for (float eps : kRecipEpsilons) {
        const std::vector<float> x = inputs(eps);
        std::vector<float> r(x.size());
        path(x.data(), r.data(), x.size());
        for (int d = 0; d < 65536; ++d) {
            const float want = divisor(d, eps);
            if (bits(r[static_cast<size_t>(d)]) != bits(want) && ++bad <= 5)
                ADD_FAILURE() << "eps " << eps << " d " << d << ": " << r[static_cast<size_t>(d)] << " for " << want;
            // The division itself (the portable code) is what the divisor table holds.
            if (bits(1.0f / x[static_cast<size_t>(d)]) != bits(want) && ++bad <= 5)
                ADD_FAILURE() << "eps " << eps << " d " << d << ": the division differs from the table";
        }
    }
    return bad;
}

TEST(FilterRecip, EightLanesEqualTheDivisionForEveryDifference)
{
#ifdef MP_FILTER_RECIP_X86
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma"))
        GTEST_SKIP() << "no AVX2 and FMA";
    EXPECT_EQ(mismatches(recip256), 0);
#else
    GTEST_SKIP() << "not an x86 build";
#endif
}

TEST(FilterRecip, SixteenLanesEqualTheDivisionForEveryDifference)
{
#ifdef MP_FILTER_RECIP_X86
    if (!__builtin_cpu_supports("avx512f"))
        GTEST_SKIP() << "no AVX-512";
    EXPECT_EQ(mismatches(recip512), 0);
#else
    GTEST_SKIP() << "not an x86 build";
#endif
}

// Only the proven epsilons take the vector sums: the sequence is not correctly
// rounded for every float (1 / 1.99999988 is one it misses), so another eps
// keeps the division.
TEST(FilterRecip, OnlyProvenEpsilonsAreAccepted)
{
    for (float eps : kRecipEpsilons)
        EXPECT_TRUE(mp_filters::MP_exactRecipProven(eps)) << eps;
    EXPECT_TRUE(mp_filters::MP_exactRecipProven(10.0f * 0.001f));
    EXPECT_FALSE(mp_filters::MP_exactRecipProven(0.01f)); // 0.0099999998, not 10 * 0.001
    EXPECT_FALSE(mp_filters::MP_exactRecipProven(0.3f));
    EXPECT_FALSE(mp_filters::MP_exactRecipProven(0.0f));
}

} // namespace
