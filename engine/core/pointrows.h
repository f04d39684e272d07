#pragma once
// Row loops of the point operators' reduced workers, written so that the
// compiler vectorises them: a row is taken in blocks of MP_POINT_BLOCK pixels,
// spread into three float planes (v * MP_k, as MP_loadRGB48), worked on plane
// by plane with selects instead of branches, and stored back clamped and
// truncated exactly as MP_storeRGB48Clamped does. Table lookups are loops of
// their own over index planes (the compiler's generic tuning makes no vector
// gathers, and they are slow on many processors), between the vector loops.
// Every pixel sees the same
// single-precision operations in the same order as the per-pixel effect, so
// the bits agree; the per-pixel loops stay selectable (MP_SetPlainPointLoops)
// as the reference of the tests and the bench.
//
// Also here: tables kept between runs (MP_KeptTable), for the lookup tables
// that depend on a few parameters only and cost 65,536 pow/log calls to fill.

#include "engine/core/cpuclones.h"
#include "engine/core/driverframe.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

constexpr int MP_POINT_BLOCK = 128;

// A row function of these loops is written once as a body (MP_POINT_BODY)
// and compiled three times by MP_POINT_ROWS_COPIES: for AVX-512, for AVX2 and
// for the baseline processor. Only the vector width differs: every copy does
// the same single-precision operations in the same order (-ffp-contract=off:
// never fused), so their results agree bit for bit, and the tests run each
// copy (MP_SetPointVectorLimit). Two optimiser settings that change no value
// go with them: -fno-trapping-math, so that the compiler may compute both
// arms of a select although a floating-point operation in one of them could
// raise an exception flag (no code here looks at the flags), and
// -fno-thread-jumps, so that selects testing the same value twice (the hue
// ranges) stay selects instead of becoming jumps; without them such a loop
// stays scalar. A body may call only helpers that are always inlined (those
// below): others (MP_max, MP_clamp) are not inlined into a function of other
// options, so the bodies write them out.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__) && \
    !defined(LUMIVEX_NO_FUNCTION_CLONES)
#define MP_POINT_INLINE inline __attribute__((always_inline))
#define MP_POINT_OPTIONS __attribute__((optimize("no-trapping-math", "no-thread-jumps")))
#define MP_POINT_BODY inline __attribute__((always_inline)) MP_POINT_OPTIONS
#define MP_POINT_ROWS_COPIES(name, Args)                                                                         \
    __attribute__((target("avx512f,avx512bw,avx512dq,avx512vl"))) MP_POINT_OPTIONS void name##Avx512(          \
        const Args& a, int start, int end)                                                                       \
    {                                                                                                            \
        name##Body(a, start, end);                                                                               \
    }                                                                                                            \
    __attribute__((target("avx2"))) MP_POINT_OPTIONS void name##Avx2(const Args& a, int start, int end)         \
    {                                                                                                            \
        name##Body(a, start, end);                                                                               \
    }                                                                                                            \
    MP_POINT_OPTIONS void name##Base(const Args& a, int start, int end) { name##Body(a, start, end); }          \
    void name(const Args& a, int start, int end)                                                                 \
    {                                                                                                            \
        const int level = MP_pointVectorLevel();                                                                 \
        if (level >= 2)                                                                                          \
            name##Avx512(a, start, end);                                                                         \
        else if (level == 1)                                                                                     \
            name##Avx2(a, start, end);                                                                           \
        else                                                                                                     \
            name##Base(a, start, end);                                                                           \
    }
#else
#define MP_POINT_INLINE inline
#define MP_POINT_BODY inline
#define MP_POINT_ROWS_COPIES(name, Args)                                                                         \
    void name(const Args& a, int start, int end) { name##Body(a, start, end); }
#endif

// The copy of the row functions that runs: 2 AVX-512, 1 AVX2, 0 baseline;
// the processor's best, at most the limit (2 unless a test lowers it).
int MP_pointVectorLevel();
void MP_SetPointVectorLimit(int level);

// Off (the default): the vector row loops and kept tables. On: the plain
// per-pixel loops and a table fill on every run (tests, bench).
void MP_SetPlainPointLoops(bool plain);
bool MP_plainPointLoops();

// Pixels [0, n) of s into the planes r, g, b (v * MP_k).
MP_POINT_INLINE void MP_pointLoad(const ushort* s, int n, float* r, float* g, float* b)
{
    for (int i = 0; i < n; ++i) {
        r[i] = static_cast<float>(s[3 * i]) * MP_k;
        g[i] = static_cast<float>(s[3 * i + 1]) * MP_k;
        b[i] = static_cast<float>(s[3 * i + 2]) * MP_k;
    }
}

// A colour channel held to 0..1 (NaN gives 0) and truncated to 16 bits, as
// MP_storeRGB48Clamped. Held after the scaling instead of before, with the
// same result for every x (x * 65535 is at least 65535 exactly when x is at
// least 1, and positive exactly when x is): the compiler splits the loop at a
// constant 1 * 65535 otherwise and does not vectorise it.
MP_POINT_INLINE ushort MP_pointStore1(float x)
{
    float c = x * 65535.0f;
    c = c > 0.0f ? c : 0.0f;
    c = c < 65535.0f ? c : 65535.0f;
    return static_cast<ushort>(static_cast<int>(c));
}

MP_POINT_INLINE void MP_pointStore(ushort* d, int n, const float* r, const float* g, const float* b)
{
    for (int i = 0; i < n; ++i) {
        d[3 * i] = MP_pointStore1(r[i]);
        d[3 * i + 1] = MP_pointStore1(g[i]);
        d[3 * i + 2] = MP_pointStore1(b[i]);
    }
}

// Correctly rounded square roots of q[0, n) in place, n a multiple of 4 or
// the rest of q padded (q holds a multiple of 4 values): a std::sqrt loop
// stays scalar for its errno branch.
// out[i] = table[index[i]] for i in [0, n).
MP_POINT_INLINE void MP_pointLookup(const float* table, const int* index, float* out, int n)
{
    for (int i = 0; i < n; ++i)
        out[i] = table[index[i]];
}

MP_POINT_INLINE void MP_pointSqrt(float* q, int n)
{
#if defined(__SSE2__)
    for (int i = 0; i < n; i += 4)
        _mm_storeu_ps(q + i, _mm_sqrt_ps(_mm_loadu_ps(q + i)));
#else
    for (int i = 0; i < n; ++i)
        q[i] = std::sqrt(q[i]);
#endif
}

// The table index of MP_tableIndex without its function call boundary (the
// same selects), for plane loops.
MP_POINT_INLINE int MP_pointIndex(float v)
{
    float x = v * 65535.0f;
    x = x > 0.0f ? x : 0.0f;
    x = x < 65535.0f ? x : 65535.0f;
    return static_cast<int>(x);
}

// MP_safeTrunc(x, lo, hi) as selects: NaN and x <= lo give lo, x >= hi gives
// hi. Exact for lo and hi of at most 24 bits.
MP_POINT_INLINE int MP_pointTrunc(float x, int lo, int hi)
{
    const float flo = static_cast<float>(lo), fhi = static_cast<float>(hi);
    x = x > flo ? x : flo;
    x = x < fhi ? x : fhi;
    return static_cast<int>(x);
}

// A 65,536-entry table that keeps its values between runs while the key (the
// bits of the parameters it is made from) stays the same. The engine runs one
// operation at a time, so one table per operator is enough.
template <int N> struct MP_KeptTable {
    float table[MP_TEMP_TABLE_SIZE];
    uint32_t key[N] = {};
    bool valid = false;

    // True when the table must be filled for these parameters; it then counts
    // as empty until filled() says the fill ran to its end.
    bool needsFill(const float (&params)[N])
    {
        uint32_t k[N];
        std::memcpy(k, params, sizeof k);
        if (valid && !MP_plainPointLoops() && std::memcmp(k, key, sizeof k) == 0)
            return false;
        std::memcpy(key, k, sizeof k);
        valid = false;
        return true;
    }
    // After the fill: a cancelled engine run may have skipped part of it.
    void filled();
};

bool MP_pointCancelRequested();

template <int N> void MP_KeptTable<N>::filled() { valid = !MP_pointCancelRequested(); }
