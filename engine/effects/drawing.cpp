// Drawing filters: "Comic-Stil" (ComicPaint) and "Bleistiftzeichnung"
// (PencilPaint).
//
// Both average a power of the absolute luminance difference between the
// pixel (D = (int)(65535 L0)) and its window samples (14-bit luminance, read
// from a plane the prepass fills: the same values the samples would give)
// from the table T1. "Comic-Stil" samples every second row and column from
// the first inside the image and sums the samples' colours as well; it writes
// a scratch image. "Bleistiftzeichnung" samples every row and column and
// writes dst directly.
//
// Row half-widths come from lx refilled for the driver's radius (the
// dispatcher's rows may belong to a smaller radius or an earlier run).
// Pixels whose window lies inside their row are gathered eight at a time,
// each with its samples in the same order as alone.

#include "engine/effects/drawing.h"

#include "engine/MP_calccl.h"
#include "engine/core/cpuclones.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"
#include "engine/filters/filterframe.h"
#include "engine/openclmanager.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

bool g_comicReference = false;
bool g_comicPortable = false;

namespace {

constexpr int kMaxR = 50;
constexpr int kRun = 8;

struct DrawWindow {
    int R = 1;
    int step = 1;
    bool panorama = false;
    int widest = 0;
    int hw[2 * kMaxR + 1] = {}; // index ky + 50, 0..R + 1
};

// Refills lx for radius R and copies its rows, held to 0..R + 1.
void prepareWindow(DrawWindow& win, MP_Params* params, int R, int step)
{
    win.R = R;
    win.step = step;
    win.panorama = MP_UI_GetPanoramaMode() != 0;
    OpenCLManager::getInstance()->setKernelSuperquadricTable(R, params);
    win.widest = 0;
    for (int ky = -R; ky <= R; ++ky) {
        const int h = MP_imin(MP_imax(params->lx[MP_MAX_KERNEL_HEIGHT + ky], 0), R + 1);
        win.hw[ky + kMaxR] = h;
        win.widest = MP_imax(win.widest, h);
    }
}

// Calls f(sampleIndex) for the window samples of pixel (x, y) in order.
template <class F> inline void forEachSample(const DrawWindow& win, int w, int h, int x, int y, F&& f)
{
    const int s = win.step;
    const int y1 = MP_imin(win.R, h - 1 - y);
    for (int ky = MP_imax(-win.R, -y); ky <= y1; ky += s) {
        const int l = win.hw[ky + kMaxR];
        const size_t row = static_cast<size_t>(y + ky) * static_cast<size_t>(w);
        if (win.panorama) {
            for (int kx = -l; kx <= l; kx += s)
                f(row + static_cast<size_t>(MP_wrapIndex(x + kx, w)));
        } else {
            const int x2 = MP_imin(l, w - 1 - x);
            for (int kx = MP_imax(-l, -x); kx <= x2; kx += s)
                f(row + static_cast<size_t>(x + kx));
        }
    }
}

// True when the window of every pixel x0 .. x0 + kRun - 1 lies inside its row.
inline bool interiorRun(const DrawWindow& win, int w, int x0)
{
    return x0 - win.widest >= 0 && x0 + kRun - 1 + win.widest <= w - 1;
}

struct PlaneArgs {
    const ushort* src;
    ushort* plane;
    int width;
    mp_filters::LumWeights lw;
};

void MP_TaskPre2_calcPixelDrawing(TaskFuncParams t)
{
    const PlaneArgs& a = *MP_taskArgs<PlaneArgs>(t);
    const size_t w = static_cast<size_t>(a.width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a.src + static_cast<size_t>(y) * w * 3;
        ushort* l = a.plane + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x, s += 3)
            l[x] = static_cast<ushort>(a.lw.of(s));
    }
}

void fillPlane(const ushort* src, ushort* plane, int w, int h, MP_Params* params)
{
    PlaneArgs a{src, plane, w, mp_filters::LumWeights::of(params)};
    MP_runSinglePass(MP_TaskPre2_calcPixelDrawing, MP_makeTask(params, &a), h);
}

// ---- "Comic-Stil" ----------------------------------------------------------------------

struct ComicArgs {
    MP_DriverRun run;
    DrawWindow win;
    const ushort* plane = nullptr;
    float a = 0.0f;        // T1 exponent less 0.001
    float strength = 1.0f; // solarising
    float level = 0.1f;    // posterising
    MP_float3 line{0, 0, 0};
};

void MP_TaskPre1_calcPixelComicPaint(TaskFuncParams t)
{
    const ComicArgs& a = *MP_taskArgs<ComicArgs>(t);
    const float e = a.a + 0.001f;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = std::pow(static_cast<float>(i) * MP_k, e);
}

struct ComicSums {
    float P = 0.0f;
    int n = 0;
    int64_t r = 0, g = 0, b = 0;
};

// The window sums of a run of kRun pixels of row y from x0 (D: their plane
// luminance), in the window's order; returns the samples a pixel took. The
// caller's arrays start at zero; Sum is wide enough for 51 x 51 samples.
template <typename Sum>
__attribute__((always_inline)) inline int comicRunSums(const ComicArgs& a, int x0, int y, const int* D, float* P,
                                                       Sum* sr, Sum* sg, Sum* sb)
{
    const MP_DriverRun& run = a.run;
    const int w = run.width, s = a.win.step;
    int n = 0;
    const int y1 = MP_imin(a.win.R, run.height - 1 - y);
    for (int ky = MP_imax(-a.win.R, -y); ky <= y1; ky += s) {
        const int l = a.win.hw[ky + kMaxR];
        const size_t row = static_cast<size_t>(y + ky) * static_cast<size_t>(w) + static_cast<size_t>(x0);
        for (int kx = -l; kx <= l; kx += s, ++n) {
            const ushort* q = a.plane + row + kx;
            const ushort* c = run.src + (row + kx) * 3;
            for (int i = 0; i < kRun; ++i) {
                P[i] += MP_temp_table[std::abs(D[i] - static_cast<int>(q[i]))];
                sr[i] += c[3 * i];
                sg[i] += c[3 * i + 1];
                sb[i] += c[3 * i + 2];
            }
        }
    }
    return n;
}

MP_CPU_CLONES void comicRun(const ComicArgs& a, int x0, int y, const int* D, ComicSums* out)
{
    float P[kRun] = {};
    int64_t sr[kRun] = {}, sg[kRun] = {}, sb[kRun] = {};
    const int n = comicRunSums(a, x0, y, D, P, sr, sg, sb);
    for (int i = 0; i < kRun; ++i)
        out[i] = {P[i], n, sr[i], sg[i], sb[i]};
}

ComicSums comicPixel(const ComicArgs& a, int x, int y, int D)
{
    ComicSums s;
    forEachSample(a.win, a.run.width, a.run.height, x, y, [&](size_t j) {
        ++s.n;
        s.P += MP_temp_table[std::abs(D - static_cast<int>(a.plane[j]))];
        const ushort* c = a.run.src + j * 3;
        s.r += c[0];
        s.g += c[1];
        s.b += c[2];
    });
    return s;
}

MP_float3 comicEffect(const ComicArgs& a, float L0, const ComicSums& s)
{
    float E = -1.0f;
    MP_float3 m{0.0f, 0.0f, 0.0f};
    if (s.n > 0) {
        E = (s.P / static_cast<float>(s.n) - 0.5f) * 2.0f;
        const float f = (1.0f / static_cast<float>(s.n)) * MP_k;
        m = {static_cast<float>(s.r) * f, static_cast<float>(s.g) * f, static_cast<float>(s.b) * f};
    }
    float S = std::fmod(L0 * a.strength, 2.0f);
    if (S > 1.0f)
        S = 1.0f - (S - 1.0f);
    if (S > 0.0f && L0 > 0.0f) {
        m = MP_normalize(m);
        const float mx = std::fmax(std::fmax(m.x, m.y), m.z);
        const float k = (mx > 0.0f ? 1.0f / mx : mx) * S;
        m = {m.x * k, m.y * k, m.z * k};
    }
    float V = 1.0f, U = 0.0f;
    if (E >= 0.0f) {
        const float r = 1.0f - std::sqrt(std::sqrt(E));
        V = r * r;
        U = 1.0f - V;
    }
    const float f = (L0 - std::fmod(L0, a.level)) / (L0 > 0.0f ? L0 : 0.001f);
    const float inv = 1.0f / std::log(2.0f);
    return {(a.line.x * U + std::log(1.0f + m.x) * inv * V) * f, (a.line.y * U + std::log(1.0f + m.y) * inv * V) * f,
            (a.line.z * U + std::log(1.0f + m.z) * inv * V) * f};
}

// The sums and effect colours of a run of pixels. The colour sums fit 32
// bits: at most 51 x 51 samples of 65535.
struct ComicRun {
    float L0[kRun] = {};
    float P[kRun] = {};
    int n[kRun] = {};
    int32_t r[kRun] = {}, g[kRun] = {}, b[kRun] = {};
    MP_float3 out[kRun] = {};
};

MP_CPU_CLONES void comicRun32(const ComicArgs& a, int x0, int y, const int* D, ComicRun& out)
{
    float P[kRun] = {};
    int32_t sr[kRun] = {}, sg[kRun] = {}, sb[kRun] = {};
    const int n = comicRunSums(a, x0, y, D, P, sr, sg, sb);
    for (int i = 0; i < kRun; ++i) {
        out.P[i] = P[i];
        out.n[i] = n;
        out.r[i] = sr[i];
        out.g[i] = sg[i];
        out.b[i] = sb[i];
    }
}

// comicEffect of the first `count` pixels of a run, one pixel at a time.
void comicEffectsPortable(const ComicArgs& a, ComicRun& r, int count)
{
    for (int i = 0; i < count; ++i)
        r.out[i] = comicEffect(a, r.L0[i], ComicSums{r.P[i], r.n[i], r.r[i], r.g[i], r.b[i]});
}

#if defined(__x86_64__) && defined(__GNUC__)
#define MP_COMIC_VECTOR 1
// The same for all kRun lanes at once (lanes beyond `count` are computed
// and dropped) in one AVX register, written with intrinsics, each the
// operation of comicEffect (a comparison C takes as false on NaN is an
// ordered one here); the logarithms stay library calls. Where comicEffect
// calls fmod:
//  - fmod(x, 2) is x - 2 trunc(x / 2): halving and doubling are exact, and
//    the difference is exact because fmod's result is representable; NaN
//    and infinities give NaN as fmod does; only the sign of a zero may
//    differ, and S is only compared with 0 and 1 when it is zero;
//  - fmod(L0, level) for 0 <= L0, 0 < level and L0 / level < 2^22: with
//    q = trunc(L0 / level), the rounded quotient, q is the true one or one
//    above it; fma(-q, level, L0) rounds the exact remainder once, which is
//    representable, so it is exact, and negative exactly when q is one too
//    many. Other lanes call fmod.
// The colour means are finite and not negative, so fmax is the comparison.
#define MP_COMIC_AVX2 __attribute__((target("avx2,fma"), always_inline)) inline
MP_COMIC_AVX2 __m256 gt(__m256 x, __m256 y) { return _mm256_cmp_ps(x, y, _CMP_GT_OQ); }
MP_COMIC_AVX2 __m256 pick(__m256 no, __m256 yes, __m256 mask) { return _mm256_blendv_ps(no, yes, mask); }
MP_COMIC_AVX2 __m256 trunc8(__m256 x) { return _mm256_round_ps(x, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC); }
// The colour mean sum * f of the lanes with samples, 0 elsewhere.
MP_COMIC_AVX2 __m256 mean8(const int32_t* sum, __m256 f, __m256 has)
{
    const __m256 v = _mm256_cvtepi32_ps(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(sum)));
    return pick(_mm256_setzero_ps(), _mm256_mul_ps(v, f), has);
}

__attribute__((target("avx2,fma"), noinline)) void comicEffectsVector(const ComicArgs& a, ComicRun& r, int count)
{
    static_assert(kRun == 8, "one AVX register of lanes");
    const __m256 zero = _mm256_setzero_ps(), one = _mm256_set1_ps(1.0f), two = _mm256_set1_ps(2.0f);
    const __m256 half = _mm256_set1_ps(0.5f);

    const __m256i n = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r.n));
    const __m256 has = _mm256_castsi256_ps(_mm256_cmpgt_epi32(n, _mm256_setzero_si256()));
    const __m256 nf = _mm256_cvtepi32_ps(n);
    const __m256 f = _mm256_mul_ps(_mm256_div_ps(one, nf), _mm256_set1_ps(MP_k));
    const __m256 E =
        pick(_mm256_set1_ps(-1.0f), _mm256_mul_ps(_mm256_sub_ps(_mm256_div_ps(_mm256_loadu_ps(r.P), nf), half), two), has);
    const __m256 x = mean8(r.r, f, has), y = mean8(r.g, f, has), z = mean8(r.b, f, has);
    const __m256 L0 = _mm256_loadu_ps(r.L0);
    const __m256 t = _mm256_mul_ps(L0, _mm256_set1_ps(a.strength));
    __m256 S = _mm256_sub_ps(t, _mm256_mul_ps(two, trunc8(_mm256_mul_ps(t, half))));
    S = pick(S, _mm256_sub_ps(one, _mm256_sub_ps(S, one)), gt(S, one));
    // MP_normalize, the largest component, the solarised scale.
    const __m256 len =
        _mm256_sqrt_ps(_mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(x, x), _mm256_mul_ps(y, y)), _mm256_mul_ps(z, z)));
    const __m256 inv = _mm256_div_ps(one, len);
    const __m256 lenPos = gt(len, zero), third = _mm256_set1_ps(0.57735f);
    const __m256 nx = pick(third, _mm256_mul_ps(x, inv), lenPos);
    const __m256 ny = pick(third, _mm256_mul_ps(y, inv), lenPos);
    const __m256 nz = pick(third, _mm256_mul_ps(z, inv), lenPos);
    const __m256 m01 = pick(ny, nx, gt(nx, ny));
    const __m256 m = pick(nz, m01, gt(m01, nz));
    const __m256 k = _mm256_mul_ps(pick(m, _mm256_div_ps(one, m), gt(m, zero)), S);
    const __m256 scale = _mm256_and_ps(gt(S, zero), gt(L0, zero));
    float mx[kRun], my[kRun], mz[kRun], V[kRun], U[kRun], F[kRun], rem[kRun];
    _mm256_storeu_ps(mx, pick(x, _mm256_mul_ps(nx, k), scale));
    _mm256_storeu_ps(my, pick(y, _mm256_mul_ps(ny, k), scale));
    _mm256_storeu_ps(mz, pick(z, _mm256_mul_ps(nz, k), scale));
    // The line weights.
    const __m256 q = _mm256_sub_ps(one, _mm256_sqrt_ps(_mm256_sqrt_ps(E)));
    const __m256 vq = _mm256_mul_ps(q, q);
    const __m256 ge = _mm256_cmp_ps(E, zero, _CMP_GE_OQ);
    _mm256_storeu_ps(V, pick(one, vq, ge));
    _mm256_storeu_ps(U, pick(zero, _mm256_sub_ps(one, vq), ge));
    // fmod(L0, level).
    const float level = a.level;
    const __m256 lv = _mm256_set1_ps(level);
    const __m256 qt = trunc8(_mm256_div_ps(L0, lv));
    const __m256 rm = _mm256_fnmadd_ps(qt, lv, L0);
    const __m256 rd = _mm256_fnmadd_ps(_mm256_sub_ps(qt, one), lv, L0);
    _mm256_storeu_ps(rem, pick(rm, rd, _mm256_cmp_ps(rm, zero, _CMP_LT_OQ)));
    const bool levelOk = level > 0.0f && level < INFINITY;
    for (int i = 0; i < count; ++i) {
        const float L0 = r.L0[i];
        if (!(levelOk && L0 >= 0.0f && L0 / level < 4194304.0f))
            rem[i] = std::fmod(L0, level);
    }
    _mm256_storeu_ps(F, _mm256_div_ps(_mm256_sub_ps(L0, _mm256_loadu_ps(rem)),
                                      pick(_mm256_set1_ps(0.001f), L0, gt(L0, zero))));
    const float invLn2 = 1.0f / std::log(2.0f);
    for (int i = 0; i < count; ++i) {
        r.out[i] = {(a.line.x * U[i] + std::log(1.0f + mx[i]) * invLn2 * V[i]) * F[i],
                    (a.line.y * U[i] + std::log(1.0f + my[i]) * invLn2 * V[i]) * F[i],
                    (a.line.z * U[i] + std::log(1.0f + mz[i]) * invLn2 * V[i]) * F[i]};
    }
}

bool comicHasVector()
{
    static const bool yes = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return yes && !g_comicPortable;
}
#else
bool comicHasVector() { return false; }
void comicEffectsVector(const ComicArgs& a, ComicRun& r, int count) { comicEffectsPortable(a, r, count); }
#endif

// The code before the run rework (g_comicReference).
void comicReferenceTask(TaskFuncParams t)
{
    const ComicArgs& a = *MP_taskArgs<ComicArgs>(t);
    const MP_Params* p = a.run.params;
    const int w = a.run.width;
    float L0[kRun] = {};
    ComicSums s[kRun];
    MP_effectRunRows<true, kRun>(
        a.run, MP_taskStart(t), MP_taskEnd(t),
        [&](int y, int x0, int n, const MP_float3* c) {
            int D[kRun] = {};
            for (int i = 0; i < n; ++i) {
                L0[i] = p->lumr * c[i].x + p->lumg * c[i].y + p->lumb * c[i].z;
                D[i] = MP_tableIndex(L0[i]);
            }
            if (n == kRun && interiorRun(a.win, w, x0))
                comicRun(a, x0, y, D, s);
            else
                for (int i = 0; i < n; ++i)
                    s[i] = comicPixel(a, x0 + i, y, D[i]);
        },
        [&](int i, MP_float3) { return comicEffect(a, L0[i], s[i]); });
}

void MP_Task_calcPixelComicPaint(TaskFuncParams t)
{
    if (g_comicReference) {
        comicReferenceTask(t);
        return;
    }
    const ComicArgs& a = *MP_taskArgs<ComicArgs>(t);
    const MP_Params* p = a.run.params;
    const int w = a.run.width;
    const bool vector = comicHasVector();
    ComicRun r;
    MP_effectRunRows<true, kRun>(
        a.run, MP_taskStart(t), MP_taskEnd(t),
        [&](int y, int x0, int n, const MP_float3* c) {
            int D[kRun] = {};
            for (int i = 0; i < n; ++i) {
                r.L0[i] = p->lumr * c[i].x + p->lumg * c[i].y + p->lumb * c[i].z;
                D[i] = MP_tableIndex(r.L0[i]);
            }
            if (n == kRun && interiorRun(a.win, w, x0)) {
                comicRun32(a, x0, y, D, r);
            } else {
                for (int i = 0; i < n; ++i) {
                    const ComicSums s = comicPixel(a, x0 + i, y, D[i]);
                    r.P[i] = s.P;
                    r.n[i] = s.n;
                    r.r[i] = static_cast<int32_t>(s.r);
                    r.g[i] = static_cast<int32_t>(s.g);
                    r.b[i] = static_cast<int32_t>(s.b);
                }
            }
            if (vector)
                comicEffectsVector(a, r, n);
            else
                comicEffectsPortable(a, r, n);
        },
        [&](int i, MP_float3) { return r.out[i]; });
}

// ---- "Bleistiftzeichnung" -----------------------------------------------------------------

struct PencilArgs {
    MP_DriverRun run;
    DrawWindow win;
    const ushort* plane = nullptr;
    float e1 = 1.0f; // T1 exponent
    float e3 = 1.0f; // T3 exponent
};

void MP_TaskPre1_calcPixelPencilPaint(TaskFuncParams t)
{
    const PencilArgs& a = *MP_taskArgs<PencilArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i) {
        const float x = static_cast<float>(i) * MP_k;
        MP_temp_table[i] = std::pow(x, a.e1);
        MP_temp3_table[i] = std::pow(x, a.e3);
    }
}

MP_CPU_CLONES void pencilRun(const PencilArgs& a, int x0, int y, const int* D, float* P, int& n)
{
    const int w = a.run.width;
    float S[kRun] = {};
    int count = 0;
    const int y1 = MP_imin(a.win.R, a.run.height - 1 - y);
    for (int ky = MP_imax(-a.win.R, -y); ky <= y1; ++ky) {
        const int l = a.win.hw[ky + kMaxR];
        const ushort* q = a.plane + static_cast<size_t>(y + ky) * static_cast<size_t>(w) + static_cast<size_t>(x0);
        for (int kx = -l; kx <= l; ++kx, ++count)
            for (int i = 0; i < kRun; ++i)
                S[i] += MP_temp_table[std::abs(D[i] - static_cast<int>(q[kx + i]))];
    }
    for (int i = 0; i < kRun; ++i)
        P[i] = S[i];
    n = count;
}

inline MP_float3 pencilEffect(MP_float3 c, int D, float P, int n)
{
    const float u = (P / static_cast<float>(n) - 0.4f) * 1.66666f;
    const float F = u < 0.0f ? 1.0f : 1.0f - MP_temp3_table[MP_low16(u * 65535.0f)];
    const float G = MP_temp2_table[D & 0xFFFF];
    const float k = 1.0f - G;
    return {c.x * k + G * F, c.y * k + G * F, c.z * k + G * F};
}

template <bool Full> void pencilRows(TaskFuncParams t)
{
    const PencilArgs& a = *MP_taskArgs<PencilArgs>(t);
    const MP_Params* p = a.run.params;
    const int w = a.run.width;
    int D[kRun] = {}, n[kRun] = {};
    float P[kRun] = {};
    MP_effectRunRows<Full, kRun>(
        a.run, MP_taskStart(t), MP_taskEnd(t),
        [&](int y, int x0, int nb, const MP_float3* c) {
            for (int i = 0; i < nb; ++i) {
                D[i] = MP_tableIndex(p->lumr * c[i].x + p->lumg * c[i].y + p->lumb * c[i].z);
                P[i] = 0.0f;
                n[i] = 0;
            }
            if (nb == kRun && interiorRun(a.win, w, x0)) {
                int count = 0;
                pencilRun(a, x0, y, D, P, count);
                for (int i = 0; i < kRun; ++i)
                    n[i] = count;
            } else {
                for (int i = 0; i < nb; ++i)
                    forEachSample(a.win, w, a.run.height, x0 + i, y, [&](size_t j) {
                        ++n[i];
                        P[i] += MP_temp_table[std::abs(D[i] - static_cast<int>(a.plane[j]))];
                    });
            }
        },
        [&](int i, MP_float3 c) { return pencilEffect(c, D[i], P[i], n[i]); });
}

void MP_Task_calcPixelPencilPaint(TaskFuncParams t) { pencilRows<true>(t); }
void MP_Task_calcPixelPencilPaintReduced(TaskFuncParams t) { pencilRows<false>(t); }

} // namespace

int MP_calcPixelComicPaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    // The output image and, behind it, the luminance plane (8 bytes a pixel).
    if (!MP_UpdateBuffer(MP_effectScratchBytes(sizex, sizey, 8)))
        return -1;
    auto a = std::make_unique<ComicArgs>();
    if (int r = MP_beginEffectDriver(a->run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6))
        return r;
    const int R = MP_imax(1, MP_safeTrunc(50.0f * params->p[0][0] * params->previewscalingfactor *
                                              params->unit_kernel_multiplier,
                                          0, kMaxR));
    prepareWindow(a->win, params, R, 2);
    ushort* plane = a->run.dst + static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 3;
    fillPlane(src, plane, sizex, sizey, params);
    a->plane = plane;
    a->a = 1.0f - (0.08f * params->p[1][0] + 0.82f);
    const TaskFuncParams task = MP_makeTask(params, a.get());
    MP_runTablePass(MP_TaskPre1_calcPixelComicPaint, task);
    a->strength = 1.0f + 2.0f * params->p[2][0];
    a->level = (0.3f - 0.3f * params->p[3][0]) * 0.99f + 0.005f;
    a->line = {params->p[4][2], params->p[4][3], params->p[4][4]};
    MP_runDriverBands(a->run, a.get(), MP_Task_calcPixelComicPaint, nullptr, 1);
    return MP_finishEffectDriver(a->run, dst);
}

int MP_calcPixelPencilPaint(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    auto* plane = static_cast<ushort*>(MP_UpdateBuffer(MP_effectScratchBytes(sizex, sizey, 2)));
    if (!plane)
        return -1;
    auto a = std::make_unique<PencilArgs>();
    if (int r = MP_beginDriver(a->run, sizex, sizey, src, dst, params, 4, 3))
        return r;
    fillPlane(src, plane, sizex, sizey, params);
    a->plane = plane;
    const int R = MP_safeTrunc(25.0f * params->previewscalingfactor * params->unit_kernel_multiplier, 0, 25);
    prepareWindow(a->win, params, MP_imax(R, 2), 1);
    a->e1 = 1.0f - (0.16f * params->p[0][0] + 0.74f) + 0.001f;
    a->e3 = (1.0f - params->p[1][0]) * 0.5f + 0.4f;
    const TaskFuncParams task = MP_makeTask(params, a.get());
    MP_runTablePass(MP_TaskPre1_calcPixelPencilPaint, task);
    MP_runSplineTablePass(params, 2, MP_temp2_table);
    return MP_runDriverBands(a->run, a.get(), MP_Task_calcPixelPencilPaint, MP_Task_calcPixelPencilPaintReduced, 1);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelComicPaint", MP_calcPixelComicPaint},
    {"MP_calcPixelPencilPaint", MP_calcPixelPencilPaint},
};
} // namespace
extern const MP_DriverTable MP_drivers_drawing = MP_driverTable(kDrivers);
