// The vector pieces of the edge-preserving smoothing: the reciprocal that
// replaces the division of the bilateral weight must give the division's
// bits for every argument the weights can have.

#include "engine/filters/filterframe.h"
#include "engine/filters/smoothrecip.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

namespace {

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
