// The reciprocal and root sequences of engine/core/exactrecip.h against the
// division and std::sqrt, bit for bit, over every input they are documented
// for: all 65,536 range-weight denominators and roots of the tone-mapping
// walk, and every significand of the binades that cover all normal floats.
#include "engine/core/exactrecip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)

// GCC 12 takes the intrinsics' undefined start values for uninitialised reads.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace {

uint32_t bits(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

float fromBits(uint32_t u)
{
    float v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

bool hasAvx2() { return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"); }
bool hasAvx512() { return __builtin_cpu_supports("avx512f"); }

// A sequence applied to a buffer, `lanes` values at a time.
using Apply = std::function<void(const float* in, float* out, size_t n)>;

__attribute__((target("avx2,fma"))) void apply8(__m256 (*f)(__m256), const float* in, float* out, size_t n)
{
    for (size_t i = 0; i < n; i += 8)
        _mm256_storeu_ps(out + i, f(_mm256_loadu_ps(in + i)));
}

__attribute__((target("avx512f"))) void apply16(__m512 (*f)(__m512), const float* in, float* out, size_t n)
{
    for (size_t i = 0; i < n; i += 16)
        _mm512_storeu_ps(out + i, f(_mm512_loadu_ps(in + i)));
}

struct Sequence {
    const char* name;
    bool avx512; // needs AVX-512 (else AVX2 with FMA)
    bool root;   // compares with std::sqrt (else with 1.0f / x)
    Apply apply;
};

// A wrapper that takes the overload of each width.
__attribute__((target("avx2,fma"))) __m256 recip8(__m256 x) { return mp_exact::exactReciprocal(x); }
__attribute__((target("avx2,fma"))) __m256 recipWindow8(__m256 x) { return mp_exact::exactReciprocalWindow(x); }
__attribute__((target("avx2,fma"))) __m256 root8(__m256 x) { return mp_exact::exactSquareRoot(x); }
__attribute__((target("avx512f"))) __m512 recip16(__m512 x) { return mp_exact::exactReciprocal(x); }
__attribute__((target("avx512f"))) __m512 recipWindow16(__m512 x) { return mp_exact::exactReciprocalWindow(x); }
__attribute__((target("avx512f"))) __m512 root16(__m512 x) { return mp_exact::exactSquareRoot(x); }
__attribute__((target("avx512f"))) __m512 rootWindow16(__m512 x) { return mp_exact::exactSquareRootWindow(x); }

std::vector<Sequence> sequences(bool windowOnly)
{
    std::vector<Sequence> s = {
        {"exactReciprocal 8", false, false, [](const float* i, float* o, size_t n) { apply8(recip8, i, o, n); }},
        {"exactSquareRoot 8", false, true, [](const float* i, float* o, size_t n) { apply8(root8, i, o, n); }},
        {"exactReciprocal 16", true, false, [](const float* i, float* o, size_t n) { apply16(recip16, i, o, n); }},
        {"exactSquareRoot 16", true, true, [](const float* i, float* o, size_t n) { apply16(root16, i, o, n); }},
    };
    if (windowOnly) {
        s.push_back({"exactReciprocalWindow 8", false, false,
                     [](const float* i, float* o, size_t n) { apply8(recipWindow8, i, o, n); }});
        s.push_back({"exactReciprocalWindow 16", true, false,
                     [](const float* i, float* o, size_t n) { apply16(recipWindow16, i, o, n); }});
        s.push_back({"exactSquareRootWindow 16", true, true,
                     [](const float* i, float* o, size_t n) { apply16(rootWindow16, i, o, n); }});
    }
    return s;
}

bool available(const Sequence& s) { return s.avx512 ? hasAvx512() : hasAvx2(); }

// Inputs that differ from the division or the root, at most `show` of them listed.
std::string mismatches(const Sequence& s, const std::vector<float>& in, size_t* count)
{
    std::vector<float> padded(in);
    padded.resize((in.size() + 15) / 16 * 16, 1.0f);
    std::vector<float> out(padded.size());
    s.apply(padded.data(), out.data(), padded.size());
    std::string listed;
    *count = 0;
    for (size_t i = 0; i < in.size(); ++i) {
        const float want = s.root ? std::sqrt(in[i]) : 1.0f / in[i];
        if (bits(out[i]) != bits(want)) {
            if (++*count <= 5) {
                char line[96];
                std::snprintf(line, sizeof line, " x=%a want %a got %a;", in[i], want, out[i]);
                listed += line;
            }
        }
    }
    return listed;
}

// The walk's inputs, with the operations of the walk (each step rounded).
std::vector<float> windowInputs(bool root, bool quotient)
{
    std::vector<float> v(65536);
    const volatile float k = 1.0f / 65535.0f;
    const volatile float eps = 0.001f;
    for (int a = 0; a < 65536; ++a) {
        const volatile float ak = static_cast<float>(a) * k;
        v[a] = quotient ? static_cast<float>(a) / 65535.0f : root ? ak : ak + eps;
    }
    return v;
}

TEST(ExactReciprocal, EveryRangeWeightDenominatorAndRootOfTheWalk)
{
    int ran = 0;
    for (const Sequence& s : sequences(true)) {
        if (!available(s))
            continue;
        ++ran;
        SCOPED_TRACE(s.name);
        // Reciprocals of a*k + 0.001; roots of a*k and of the rounded a/65535.
        for (bool quotient : {false, true}) {
            if (quotient && !s.root)
                continue;
            size_t count = 0;
            const std::string listed = mismatches(s, windowInputs(s.root, quotient), &count);
            EXPECT_EQ(count, 0u) << (quotient ? "a / 65535:" : "a * k:") << listed;
        }
    }
    if (ran == 0)
        GTEST_SKIP() << "no AVX2 on this processor";
}

TEST(ExactReciprocal, EverySignificandOfTheGeneralSequences)
{
    // [1, 2) for the reciprocal, [1, 4) for the root: every significand (and
    // every exponent parity for the root), which the estimates and the steps
    // treat alike at every exponent; a few exponents besides.
    std::vector<float> in;
    in.reserve(size_t(1) << 24);
    for (uint32_t u = 0x3f800000u; u < 0x40800000u; ++u)
        in.push_back(fromBits(u));
    const size_t oneBinade = size_t(1) << 23;
    int ran = 0;
    for (const Sequence& s : sequences(false)) {
        if (!available(s))
            continue;
        ++ran;
        SCOPED_TRACE(s.name);
        if (s.root) {
            std::vector<float> all = in;
            all.push_back(0.0f);
            for (float scale : {0x1p-100f, 0x1p-20f, 0x1p+30f, 0x1p+100f})
                for (size_t i = 0; i < in.size(); i += 4099)
                    all.push_back(in[i] * scale);
            size_t count = 0;
            const std::string listed = mismatches(s, all, &count);
            EXPECT_EQ(count, 0u) << listed;
        } else {
            std::vector<float> all(in.begin(), in.begin() + oneBinade);
            for (float scale : {0x1p-100f, 0x1p-20f, 0x1p+30f, 0x1p+100f, -1.0f})
                for (size_t i = 0; i < oneBinade; i += 4099)
                    all.push_back(in[i] * scale);
            // The documented exception: the significand of all ones, one unit low.
            size_t count = 0;
            const std::string listed = mismatches(s, all, &count);
            EXPECT_EQ(count, 1u) << listed;
            std::vector<float> ones = {0x1.fffffep+0f};
            std::vector<float> out(16);
            ones.resize(16, 1.0f);
            s.apply(ones.data(), out.data(), 16);
            EXPECT_EQ(bits(out[0]) + 1, bits(1.0f / 0x1.fffffep+0f));
        }
    }
    if (ran == 0)
        GTEST_SKIP() << "no AVX2 on this processor";
}

} // namespace

#endif
