#include "engine/hdr/tmwindow.h"

#include "engine/core/exactrecip.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/rgb48avx2.h"
#include "engine/core/windowweights.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MP_TM_X86 1
#endif

namespace mp_tm {
namespace {

// The walkers at the width every x86-64 processor has (or with lane-wise
// roots elsewhere).
namespace portable {
#define TMV_BYTES 16
#ifdef MP_TM_X86
#define TMV_SQRT(v) reinterpret_cast<vf>(_mm_sqrt_ps(reinterpret_cast<__m128>(v)))
#else
typedef float vf4 __attribute__((vector_size(16)));
inline vf4 laneSqrt(vf4 v)
{
    for (int i = 0; i < 4; ++i)
        v[i] = std::sqrt(v[i]);
    return v;
}
#define TMV_SQRT(v) laneSqrt(v)
#endif
#define TMV_QUOTIENT(a) ((a) / splat(65535.0f))
#define TMV_RANGE_RECIP(v) (splat(1.0f) / (v))
#include "engine/hdr/tmwindow_body.h"
#undef TMV_RANGE_RECIP
#undef TMV_QUOTIENT
#undef TMV_SQRT
#undef TMV_BYTES
} // namespace portable

#ifdef MP_TM_X86
// The same walkers eight lanes wide, for processors with AVX2 (and FMA,
// which every one of them has). (Table lookups by gathers instead of the
// divisions and roots are slower here.)
//
// a / 65535 for the integers a = 0..65535 without a second division: the
// product q = a * (1/65535) is corrected by its exact remainder,
// q + (a - q * 65535) * (1/65535) with both steps fused, which gives the
// correctly rounded quotient for every one of them (the tests check all).
#pragma GCC push_options
#pragma GCC target("avx2,fma")
namespace avx2 {
#define TMV_BYTES 32
#define TMV_SQRT(v) reinterpret_cast<vf>(_mm256_sqrt_ps(reinterpret_cast<__m256>(v)))
inline __m256 quotient65535(__m256 a)
{
    const __m256 k = _mm256_set1_ps(1.0f / 65535.0f);
    const __m256 q = _mm256_mul_ps(a, k);
    const __m256 r = _mm256_fnmadd_ps(q, _mm256_set1_ps(65535.0f), a);
    return _mm256_fmadd_ps(r, k, q);
}
#define TMV_QUOTIENT(a) reinterpret_cast<vf>(quotient65535(reinterpret_cast<__m256>(a)))
#define TMV_RANGE_RECIP(v) (splat(1.0f) / (v))
#include "engine/hdr/tmwindow_body.h"
#undef TMV_RANGE_RECIP
#undef TMV_QUOTIENT
#undef TMV_SQRT
#undef TMV_BYTES
} // namespace avx2
#pragma GCC pop_options

// Sixteen lanes, for processors with AVX-512 (F, BW, VL, DQ). The divide and
// root unit takes as long per lane at this width as at eight lanes, so here
// the range weight's reciprocal is a sequence on the multiply-add units
// (engine/core/exactrecip.h) that gives the division's bits for every
// a = 0..65535 (the tests check all of them). The roots stay on the divide
// unit, which then has time for them (the root sequence is slower here).
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vl,avx512dq,avx2,fma")
// GCC 12 takes the intrinsics' undefined start values for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
namespace avx512 {
#define TMV_BYTES 64
#define TMV_SQRT(v) reinterpret_cast<vf>(_mm512_sqrt_ps(reinterpret_cast<__m512>(v)))
// a / 65535 for the integers a = 0..65535 in two steps: a * k plus a times
// the error of k (1/65535 - k = 0x1.0001p-48 in single precision), fused,
// which rounds as the division does for every one of them (the tests check all).
inline __m512 quotient65535(__m512 a)
{
    const __m512 t = _mm512_mul_ps(a, _mm512_set1_ps(0x1.0001p-48f));
    return _mm512_fmadd_ps(a, _mm512_set1_ps(1.0f / 65535.0f), t);
}
#define TMV_QUOTIENT(a) reinterpret_cast<vf>(quotient65535(reinterpret_cast<__m512>(a)))
#define TMV_RANGE_RECIP(v) reinterpret_cast<vf>(mp_exact::exactReciprocalWindow(reinterpret_cast<__m512>(v)))
#include "engine/hdr/tmwindow_body.h"
#undef TMV_RANGE_RECIP
#undef TMV_QUOTIENT
#undef TMV_SQRT
#undef TMV_BYTES
} // namespace avx512
#pragma GCC diagnostic pop
#pragma GCC pop_options

std::atomic<int> s_widest{static_cast<int>(WalkerSet::Best)};

bool cpuHasAvx2()
{
    static const bool yes = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return yes;
}

bool cpuHasAvx512()
{
    static const bool yes = cpuHasAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq");
    return yes;
}

bool hasAvx2()
{
    return cpuHasAvx2() && s_widest.load(std::memory_order_relaxed) >= static_cast<int>(WalkerSet::Avx2);
}

bool hasAvx512()
{
    return cpuHasAvx512() && s_widest.load(std::memory_order_relaxed) >= static_cast<int>(WalkerSet::Best);
}
#endif

// The walker of each set of sums, indexed by the set.
#define MP_TM_STATS_TABLE(ns)                                                                                     \
    {ns::stats<0>, ns::stats<1>, ns::stats<2>, ns::stats<3>, ns::stats<4>, ns::stats<5>, ns::stats<6>,         \
     ns::stats<7>}

} // namespace

size_t colourPlaneSize(int width, int height, int widest)
{
    const size_t pad = static_cast<size_t>(widest) + kChunk;
    return (static_cast<size_t>(width) + 2 * pad) * 4 * static_cast<size_t>(height);
}

void attachColourPlanes(ColourWindow& win, ushort* buffer, int widest)
{
    win.pad = widest + kChunk;
    win.stride = static_cast<ptrdiff_t>(win.width) + 2 * win.pad;
    win.planes = buffer + win.pad;
}

void fillColourPlaneRows(const ColourWindow& win, int start, int end)
{
    const int w = win.width;
    const unsigned wr = static_cast<unsigned>(win.wr), wg = static_cast<unsigned>(win.wg),
                   wb = static_cast<unsigned>(win.wb);
    for (int y = start; y < end; ++y) {
        const ushort* s = win.src + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        ushort* lum = win.planes + static_cast<ptrdiff_t>(y) * 4 * win.stride;
        ushort* red = lum + win.stride;
        ushort* green = red + win.stride;
        ushort* blue = green + win.stride;
        for (int x = 0; x < w; ++x) {
            const unsigned R = s[3 * x], G = s[3 * x + 1], B = s[3 * x + 2];
            // Weights of 0..16384 keep the sum inside 32 unsigned bits.
            const unsigned L = (wr * R + wg * G + wb * B) >> 14;
            lum[x] = static_cast<ushort>(L > 65535u ? 65535u : L);
            red[x] = static_cast<ushort>(R);
            green[x] = static_cast<ushort>(G);
            blue[x] = static_cast<ushort>(B);
        }
        for (ushort* row : {lum, red, green, blue})
            for (int i = 1; i <= win.pad; ++i) {
                row[-i] = win.panorama ? row[((-i % w) + w) % w] : 0;
                row[w - 1 + i] = win.panorama ? row[(w - 1 + i) % w] : 0;
            }
    }
}

void useWalkers(WalkerSet widest)
{
#ifdef MP_TM_X86
    s_widest.store(static_cast<int>(widest), std::memory_order_relaxed);
#else
    (void)widest;
#endif
}

void usePortableWalkers(bool portable) { useWalkers(portable ? WalkerSet::Portable : WalkerSet::Best); }

bool walkersAvailable(WalkerSet set)
{
#ifdef MP_TM_X86
    switch (set) {
    case WalkerSet::Portable:
        return true;
    case WalkerSet::Avx2:
        return cpuHasAvx2();
    case WalkerSet::Best:
        return cpuHasAvx512();
    }
    return false;
#else
    return set == WalkerSet::Portable;
#endif
}

StatsFn portableStatsFunction(unsigned sums)
{
    static const StatsFn table[8] = MP_TM_STATS_TABLE(portable);
    return table[sums & 7u];
}

ColourStatsFn portableColourStatsFunction() { return portable::colourStats; }

TailFn portableTailFunction() { return portable::tail; }

const ChunkSteps& portableChunkSteps()
{
    static const ChunkSteps steps{portable::loadChunk, portable::localChunk, portable::compressChunk,
                                  portable::tableGainChunk, portable::formulaGainChunk, portable::colourGainChunk, portable::storeBlendChunk};
    return steps;
}

const ChunkSteps& chunkSteps()
{
#ifdef MP_TM_X86
    static const ChunkSteps wide{avx512::loadChunk, avx512::localChunk, avx512::compressChunk,
                                 avx512::tableGainChunk, avx512::formulaGainChunk, avx512::colourGainChunk, avx512::storeBlendChunk};
    static const ChunkSteps eight{avx2::loadChunk, avx2::localChunk, avx2::compressChunk, avx2::tableGainChunk, avx2::formulaGainChunk, avx2::colourGainChunk,
                                  avx2::storeBlendChunk};
    if (hasAvx512())
        return wide;
    if (hasAvx2())
        return eight;
#endif
    return portableChunkSteps();
}

TailFn tailFunction()
{
#ifdef MP_TM_X86
    if (hasAvx512())
        return avx512::tail;
    if (hasAvx2())
        return avx2::tail;
#endif
    return portableTailFunction();
}

StatsFn statsFunction(unsigned sums)
{
#ifdef MP_TM_X86
    static const StatsFn wide[8] = MP_TM_STATS_TABLE(avx512);
    static const StatsFn table[8] = MP_TM_STATS_TABLE(avx2);
    if (hasAvx512())
        return wide[sums & 7u];
    if (hasAvx2())
        return table[sums & 7u];
#endif
    return portableStatsFunction(sums);
}

ColourStatsFn colourStatsFunction()
{
#ifdef MP_TM_X86
    if (hasAvx512())
        return avx512::colourStats;
    if (hasAvx2())
        return avx2::colourStats;
#endif
    return portableColourStatsFunction();
}

} // namespace mp_tm
