#include "engine/hdr/tmwindow.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/windowweights.h"

#include <atomic>
#include <cstdint>
#include <cstring>

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
#include "engine/hdr/tmwindow_body.h"
#undef TMV_SQRT
#undef TMV_BYTES
} // namespace portable

#ifdef MP_TM_X86
// The same walkers eight lanes wide, for processors with AVX2. (Table
// lookups by gathers instead of the divisions and roots are slower here.)
#pragma GCC push_options
#pragma GCC target("avx2")
namespace avx2 {
#define TMV_BYTES 32
#define TMV_SQRT(v) reinterpret_cast<vf>(_mm256_sqrt_ps(reinterpret_cast<__m256>(v)))
#include "engine/hdr/tmwindow_body.h"
#undef TMV_SQRT
#undef TMV_BYTES
} // namespace avx2
#pragma GCC pop_options

std::atomic<bool> s_portableOnly{false};

bool hasAvx2()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes && !s_portableOnly.load(std::memory_order_relaxed);
}
#endif

// The walker of each set of sums, indexed by the set.
#define MP_TM_STATS_TABLE(ns)                                                                                     \
    {ns::stats<0>, ns::stats<1>, ns::stats<2>, ns::stats<3>, ns::stats<4>, ns::stats<5>, ns::stats<6>,         \
     ns::stats<7>}

} // namespace

void usePortableWalkers(bool portable)
{
#ifdef MP_TM_X86
    s_portableOnly.store(portable, std::memory_order_relaxed);
#else
    (void)portable;
#endif
}

StatsFn portableStatsFunction(unsigned sums)
{
    static const StatsFn table[8] = MP_TM_STATS_TABLE(portable);
    return table[sums & 7u];
}

ColourStatsFn portableColourStatsFunction() { return portable::colourStats; }

TailFn portableTailFunction() { return portable::tail; }

TailFn tailFunction()
{
#ifdef MP_TM_X86
    if (hasAvx2())
        return avx2::tail;
#endif
    return portableTailFunction();
}

StatsFn statsFunction(unsigned sums)
{
#ifdef MP_TM_X86
    static const StatsFn table[8] = MP_TM_STATS_TABLE(avx2);
    if (hasAvx2())
        return table[sums & 7u];
#endif
    return portableStatsFunction(sums);
}

ColourStatsFn colourStatsFunction()
{
#ifdef MP_TM_X86
    if (hasAvx2())
        return avx2::colourStats;
#endif
    return portableColourStatsFunction();
}

} // namespace mp_tm
