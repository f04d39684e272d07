#include "engine/filters/smalldenoise.h"

#include "engine/core/pointrows.h"

#include "engine/MP_calccl.h"
#include "engine/core/pointrows.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>

using namespace mp_filters;

namespace {

constexpr int kMaskSlot = 1;
constexpr int kComboSlot = 2;
constexpr int kGeoSlot = 3;

// The clamped 3 x 3 neighbourhood: rows clamped into the image, columns
// wrapped in panorama mode and clamped otherwise.
struct Neighbourhood {
    int rows[3];
    int cols[3];
    Neighbourhood(int x, int y, int w, int h, bool panorama)
    {
        rows[0] = y > 0 ? y - 1 : 0;
        rows[1] = y;
        rows[2] = y + 1 < h ? y + 1 : h - 1;
        cols[1] = x;
        if (panorama) {
            cols[0] = x > 0 ? x - 1 : w - 1;
            cols[2] = x + 1 < w ? x + 1 : 0;
        } else {
            cols[0] = x > 0 ? x - 1 : 0;
            cols[2] = x + 1 < w ? x + 1 : w - 1;
        }
    }
    size_t at(int i, int j, int w) const
    {
        return static_cast<size_t>(rows[i]) * static_cast<size_t>(w) + static_cast<size_t>(cols[j]);
    }
};

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// ---- Average ------------------------------------------------------------------

struct AverageArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    float e = 0.0f; // exponent of the edge power table
    const float* mask = nullptr;
    LumWeights lw;
    bool panorama = false;

    struct Cache {
        int Lc[kChunk];
        float J[kChunk];
        unsigned S[3 * kChunk]; // channel sums of the nine samples
    };

    // J and the channel sums of pixels x0 .. x0+n-1 of row y.
    void gather(int y, int x0, int n, Cache& c) const
    {
        const int w = run.width, h = run.height;
        const size_t rowLen = static_cast<size_t>(w) * 3;
        const ushort* mid = run.src + static_cast<size_t>(y) * rowLen;
        for (int i = 0; i < n; ++i)
            c.Lc[i] = lumIndex(run.params, MP_loadRGB48(mid + 3 * static_cast<size_t>(x0 + i)));
        if (g_filterRunWalk && y > 0 && y < h - 1 && x0 > 0 && x0 + n < w) {
            // Inside the image: the neighbourhood is the plain 3 x 3 block.
            const ushort* rows[3] = {mid - rowLen, mid, mid + rowLen};
            int L[3][kChunk + 2];
            for (int r = 0; r < 3; ++r)
                for (int i = 0; i < n + 2; ++i)
                    L[r][i] = static_cast<int>(lw.of(rows[r] + 3 * static_cast<size_t>(x0 - 1 + i)));
            for (int i = 0; i < n; ++i) {
                const int Lc = c.Lc[i];
                const auto T = [Lc](int v) {
                    const int d = Lc - v;
                    return MP_temp_table[d < 0 ? -d : d];
                };
                float J = 0.0f;
                J += T(L[0][i]);
                J += T(L[0][i + 1]);
                J += T(L[0][i + 2]);
                J += T(L[1][i]);
                J += T(L[1][i + 2]);
                J += T(L[2][i]);
                J += T(L[2][i + 1]);
                J += T(L[2][i + 2]);
                c.J[i] = J;
            }
            const size_t j0 = static_cast<size_t>(x0) * 3;
            for (int j = 0; j < 3 * n; ++j) {
                unsigned sum = 0;
                for (int r = 0; r < 3; ++r) {
                    const ushort* q = rows[r] + j0 + j;
                    sum += static_cast<unsigned>(q[-3]) + q[0] + q[3];
                }
                c.S[j] = sum;
            }
            return;
        }
        for (int i = 0; i < n; ++i) {
            const Neighbourhood nb(x0 + i, y, w, h, panorama);
            float J = 0.0f;
            unsigned sr = 0, sg = 0, sb = 0;
            for (int r = 0; r < 3; ++r)
                for (int k = 0; k < 3; ++k) {
                    const ushort* px = run.src + nb.at(r, k, w) * 3;
                    sr += px[0];
                    sg += px[1];
                    sb += px[2];
                    if (r == 1 && k == 1)
                        continue;
                    const int d = c.Lc[i] - static_cast<int>(lw.of(px));
                    J += MP_temp_table[d < 0 ? -d : d];
                }
            c.J[i] = J;
            c.S[3 * i] = sr;
            c.S[3 * i + 1] = sg;
            c.S[3 * i + 2] = sb;
        }
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const float J = cache.J[i] * 0.11111111f;
        const float kj = (1.0f - J) * 1.6954469e-06f;
        const MP_float3 e{c.x * J + static_cast<float>(cache.S[3 * i]) * kj,
                          c.y * J + static_cast<float>(cache.S[3 * i + 1]) * kj,
                          c.z * J + static_cast<float>(cache.S[3 * i + 2]) * kj};
        const float a = MP_temp2_table[cache.Lc[i]];
        const float k = 1.0f - a;
        return {c.x * k + e.x * a, c.y * k + e.y * a, c.z * k + e.z * a};
    }
};

void averagePowerTask(TaskFuncParams t)
{
    const AverageArgs* a = MP_taskArgs<AverageArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = MP_pow(static_cast<float>(i) * MP_k, a->e);
}

void maskTask(TaskFuncParams t)
{
    MP_splineSlotTable(MP_taskArgs<const float>(t), MP_taskStart(t), MP_taskEnd(t), MP_temp2_table);
}

void runMaskPass(MP_Params* params, const float* knots)
{
    MP_runTablePass(maskTask, MP_makeTask(params, knots));
}

// ---- Median -------------------------------------------------------------------

struct MedianArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    float p = 0.0f;
    bool panorama = false;

    MP_float3 effect(MP_float3 c, int x, int y) const
    {
        const int w = run.width, h = run.height;
        const int y1 = y - 1 < 0 ? -y : -1;
        const int y2 = y + 1 < h - 1 ? 1 : h - 1 - y;
        int x1 = -1, x2 = 1;
        if (!panorama) {
            x1 = x - 1 < 0 ? -x : -1;
            x2 = x + 1 < w - 1 ? 1 : w - 1 - x;
        }
        ushort r[9], g[9], b[9];
        int n = 0;
        for (int ky = y1; ky <= y2; ++ky)
            for (int kx = x1; kx <= x2; ++kx) {
                int col = x + kx;
                if (panorama)
                    col = ((col % w) + w) % w;
                const ushort* px = run.src + (static_cast<size_t>(y + ky) * static_cast<size_t>(w) + col) * 3;
                r[n] = px[0];
                g[n] = px[1];
                b[n] = px[2];
                ++n;
            }
        return mix(c, MP_medianSelect(r, n), MP_medianSelect(g, n), MP_medianSelect(b, n));
    }

    // mix() for n pixels at once (source, medians and output RGB48), stored
    // clamped.
    void mixRun(const ushort* src, const ushort* med, int n, ushort* out) const
    {
        const float k = 1.0f - p;
        const float pk = p * MP_k;
        const float lr = run.params->lumr, lg = run.params->lumg, lb = run.params->lumb;
        for (int i = 0; i < n; ++i) {
            const float cx = static_cast<float>(src[3 * i]) * MP_k;
            const float cy = static_cast<float>(src[3 * i + 1]) * MP_k;
            const float cz = static_cast<float>(src[3 * i + 2]) * MP_k;
            const float mx = static_cast<float>(med[3 * i]) * pk + cx * k;
            const float my = static_cast<float>(med[3 * i + 1]) * pk + cy * k;
            const float mz = static_cast<float>(med[3 * i + 2]) * pk + cz * k;
            const float a = MP_temp2_table[MP_tableIndex(lr * cx + lg * cy + lb * cz)];
            const float ka = 1.0f - a;
            out[3 * i] = static_cast<ushort>(static_cast<int>(mp_blend_detail::clampUnit(cx * ka + mx * a) * 65535.0f));
            out[3 * i + 1] =
                static_cast<ushort>(static_cast<int>(mp_blend_detail::clampUnit(cy * ka + my * a) * 65535.0f));
            out[3 * i + 2] =
                static_cast<ushort>(static_cast<int>(mp_blend_detail::clampUnit(cz * ka + mz * a) * 65535.0f));
        }
    }

    // The median mixed in by "Schärfe", then masked at the centre luminance.
    MP_float3 mix(MP_float3 c, ushort mr, ushort mg, ushort mb) const
    {
        const float k = 1.0f - p;
        const float pk = p * MP_k;
        const MP_float3 m{static_cast<float>(mr) * pk + c.x * k, static_cast<float>(mg) * pk + c.y * k,
                          static_cast<float>(mb) * pk + c.z * k};
        const float a = MP_temp2_table[lumIndex(run.params, c)];
        const float ka = 1.0f - a;
        return {c.x * ka + m.x * a, c.y * ka + m.y * a, c.z * ka + m.z * a};
    }
};

// The nine-sample network on whole runs of channel values: entry j of the
// row and its neighbours j - 3 and j + 3 (the same channel of the pixels to
// the left and right) in the rows above and below. A compare-exchange keeps
// the smaller value at its first place, so min and max give the same values
// as the exchanges.
inline void medianRun(const ushort* up, const ushort* mid, const ushort* down, int n, ushort* out)
{
    for (int j = 0; j < n; ++j) {
        ushort v[9] = {up[j - 3],  up[j],  up[j + 3],  mid[j - 3], mid[j],
                       mid[j + 3], down[j - 3], down[j], down[j + 3]};
        const auto cx = [&v](int a, int b) {
            const ushort lo = v[a] < v[b] ? v[a] : v[b];
            const ushort hi = v[a] < v[b] ? v[b] : v[a];
            v[a] = lo;
            v[b] = hi;
        };
        cx(1, 2); cx(4, 5); cx(7, 8); cx(0, 1); cx(3, 4); cx(6, 7); cx(1, 2); cx(4, 5); cx(7, 8); cx(0, 3);
        cx(5, 8); cx(4, 7); cx(3, 6); cx(1, 4); cx(2, 5); cx(4, 7); cx(4, 2); cx(6, 4); cx(4, 2);
        out[j] = v[4];
    }
}

// The reduced median worker over rows [start, end): rows and columns inside
// the image take the whole-run network, the border pixels their own windows.
template <int = 0> inline void medianReducedRows(const MedianArgs* a, int start, int end)
{
    const MP_DriverRun& run = a->run;
    const int w = run.width, h = run.height;
    const size_t rowLen = static_cast<size_t>(w) * 3;
    ushort med[kChunk * 3];
    for (int y = start; y < end; ++y) {
        const ushort* s = run.src + static_cast<size_t>(y) * rowLen;
        ushort* d = a->out + static_cast<size_t>(y) * rowLen;
        const bool inner = g_filterRunWalk && y > 0 && y < h - 1 && w >= 3;
        const auto edgePixel = [&](int x) { MP_storeRGB48Clamped(d + 3 * x, a->effect(MP_loadRGB48(s + 3 * x), x, y)); };
        if (!inner) {
            for (int x = 0; x < w; ++x)
                edgePixel(x);
            continue;
        }
        edgePixel(0);
        for (int x0 = 1; x0 < w - 1; x0 += kChunk) {
            const int n = MP_imin(kChunk, w - 1 - x0);
            const size_t j = static_cast<size_t>(x0) * 3;
            medianRun(s - rowLen + j, s + j, s + rowLen + j, 3 * n, med);
            a->mixRun(s + j, med, n, d + j);
        }
        edgePixel(w - 1);
    }
}

#ifdef MP_FILTERS_X86
__attribute__((target("avx2"), flatten)) void medianReducedRowsAvx2(const MedianArgs* a, int start, int end)
{
    medianReducedRows(a, start, end);
}
#endif

void medianReducedTask(TaskFuncParams t)
{
    const MedianArgs* a = MP_taskArgs<MedianArgs>(t);
#ifdef MP_FILTERS_X86
    if (MP_filterHasAvx2()) {
        medianReducedRowsAvx2(a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
#endif
    medianReducedRows(a, MP_taskStart(t), MP_taskEnd(t));
}

// ---- Min-Max ------------------------------------------------------------------

struct MinMaxArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    const ushort* plane = nullptr;
    float g = 0.0f, b = 0.0f;
    bool panorama = false;

    // The factor f of pixel (x, y) from its plane neighbourhood's range mx - mn
    // and sum, or 1 where the step leaves it.
    static float factorOf(int Lc, int mx, int mn, int sum, float g, float b)
    {
        float Y = static_cast<float>(mx - mn) * MP_k * g;
        Y = Y > 1.0f ? 1.0f : Y;
        const float f =
            1.0f - b + ((static_cast<float>(sum) * 0.111111f) / (static_cast<float>(Lc) + 0.001f) * (1.0f - Y) + Y) * b;
        return Lc == 0 || mx - mn <= 0 ? 1.0f : f;
    }

    // The factors of pixels x0 .. x0+n-1 of row y, and their plane values.
    static void factors(const ushort* plane, int w, int h, bool panorama, float g, float b, int y, int x0, int n,
                        float* f, int* Lc)
    {
        const ushort* mid = plane + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int i = 0; i < n; ++i)
            Lc[i] = mid[x0 + i];
        if (g_filterRunWalk && y > 0 && y < h - 1 && x0 > 0 && x0 + n < w) {
            const ushort* up = mid - w + x0 - 1;
            const ushort* md = mid + x0 - 1;
            const ushort* dn = mid + w + x0 - 1;
            int MX[kChunk], MN[kChunk], SUM[kChunk];
            for (int i = 0; i < n; ++i) {
                const int v0 = up[i], v1 = up[i + 1], v2 = up[i + 2];
                const int v3 = md[i], v4 = md[i + 1], v5 = md[i + 2];
                const int v6 = dn[i], v7 = dn[i + 1], v8 = dn[i + 2];
                const int m012 = std::max(std::max(v0, v1), v2), m345 = std::max(std::max(v3, v4), v5);
                const int m678 = std::max(std::max(v6, v7), v8);
                const int n012 = std::min(std::min(v0, v1), v2), n345 = std::min(std::min(v3, v4), v5);
                const int n678 = std::min(std::min(v6, v7), v8);
                MX[i] = std::max(std::max(m012, m345), m678);
                MN[i] = std::min(std::min(n012, n345), n678);
                SUM[i] = v0 + v1 + v2 + v3 + v4 + v5 + v6 + v7 + v8;
            }
            for (int i = 0; i < n; ++i)
                f[i] = factorOf(Lc[i], MX[i], MN[i], SUM[i], g, b);
            return;
        }
        for (int i = 0; i < n; ++i) {
            const Neighbourhood nb(x0 + i, y, w, h, panorama);
            int mx = 0, mn = 65535, sum = 0;
            for (int r = 0; r < 3; ++r)
                for (int k = 0; k < 3; ++k) {
                    const int v = plane[nb.at(r, k, w)];
                    mx = v > mx ? v : mx;
                    mn = v < mn ? v : mn;
                    sum += v;
                }
            f[i] = factorOf(Lc[i], mx, mn, sum, g, b);
        }
    }

    struct Cache {
        float f[kChunk];
        int Lc[kChunk];
    };

    void gather(int y, int x0, int n, Cache& c) const
    {
        factors(plane, run.width, run.height, panorama, g, b, y, x0, n, c.f, c.Lc);
    }

    MP_float3 effect(MP_float3 c, int, int, const Cache& cache, int i) const
    {
        const float f = cache.f[i];
        const float a = MP_temp2_table[cache.Lc[i]];
        const float k = 1.0f - a;
        return {c.x * k + c.x * f * a, c.y * k + c.y * f * a, c.z * k + c.z * f * a};
    }
};

void minMaxReducedTask(TaskFuncParams t)
{
    const MinMaxArgs* a = MP_taskArgs<MinMaxArgs>(t);
    const MP_MinMaxStep step{a->run.src, a->plane,  a->out,        a->run.width, a->run.height,
                             a->g,       a->b,      MP_temp2_table, a->panorama};
    MP_minMaxStepRows(step, MP_taskStart(t), MP_taskEnd(t));
}

// ---- SubDeNoiseAverage --------------------------------------------------------

struct SubArgs {
    MP_DriverRun run;
    ushort* out = nullptr;
    float intensity = 0.0f, scale = 0.0f;
    int64_t m = 0;
    int64_t vr = 0, vg = 0, vb = 0;
    bool panorama = false;
};

inline ushort clamp16(float v) { return static_cast<ushort>(MP_safeTrunc(v, 0, 65535)); }

// One pixel from the channel sums of its n samples (n a constant where it is
// known, so that the divisions become multiplications); o < 1 blends with
// the geometry opacity.
template <class N>
inline void subPixel(const SubArgs& a, const ushort* C, int64_t sr, int64_t sg, int64_t sb, N n, float o, ushort* d)
{
    const int64_t F = (a.vr * C[0] + a.vg * C[1] + a.vb * C[2]) >> 14;
    const int64_t M = ((a.vr * sr + a.vg * sg + a.vb * sb) / n) >> 14;
    const int64_t B = (a.m * M + (16384 - a.m) * F) >> 14;
    const int64_t D = F - B / n;
    const float inv = 1.0f / static_cast<float>(n);
    const float Nd = static_cast<float>(D < 0 ? -D : D) * inv * MP_k;
    const float wS = inv * a.scale * (1.0f - Nd) * a.intensity;
    const float wC = ((1.0f - a.scale) * (1.0f - Nd) + Nd) * a.intensity + (1.0f - a.intensity);
    MP_float3 e{static_cast<float>(sr) * wS + static_cast<float>(C[0]) * wC,
                static_cast<float>(sg) * wS + static_cast<float>(C[1]) * wC,
                static_cast<float>(sb) * wS + static_cast<float>(C[2]) * wC};
    if (o < 1.0f)
        e = MP_calcGeometryMethodBlend({static_cast<float>(C[0]), static_cast<float>(C[1]), static_cast<float>(C[2])},
                                       e, o);
    d[0] = clamp16(e.x);
    d[1] = clamp16(e.y);
    d[2] = clamp16(e.z);
}

// The reduced worker's columns 1 .. w-2 of row y without panorama: nine
// samples each, from the column sums of the three rows.
inline void subInnerColumns(const SubArgs& a, int y)
{
    const int w = a.run.width, h = a.run.height;
    const size_t rowLen = static_cast<size_t>(w) * 3;
    const ushort* mid = a.run.src + static_cast<size_t>(y) * rowLen;
    const ushort* up = y > 0 ? mid - rowLen : mid;
    const ushort* down = y + 1 < h ? mid + rowLen : mid;
    ushort* out = a.out + static_cast<size_t>(y) * rowLen;
    unsigned cs[3 * (kChunk + 2)];
    for (int x0 = 1; x0 < w - 1; x0 += kChunk) {
        const int n = MP_imin(kChunk, w - 1 - x0);
        const size_t j0 = static_cast<size_t>(x0 - 1) * 3;
        for (int j = 0; j < 3 * (n + 2); ++j)
            cs[j] = static_cast<unsigned>(up[j0 + j]) + mid[j0 + j] + down[j0 + j];
        for (int i = 0; i < n; ++i) {
            const unsigned* c = cs + 3 * i;
            const size_t x = static_cast<size_t>(x0 + i);
            subPixel(a, mid + 3 * x, c[0] + c[3] + c[6], c[1] + c[4] + c[7], c[2] + c[5] + c[8],
                     std::integral_constant<int, 9>{}, 1.0f, out + 3 * x);
        }
    }
}

// The same columns in 32-bit integers, for the blocks the chain hands over
// (luminance weights summing to at most 16384, scale 0..1: 0 <= m <= 16384).
// Then every term stays inside 32 bits and is the same integer as in
// subPixel: F <= 65535; the weighted sum T of the channel sums (up to 2^34)
// is taken as 16384 * Hi + Lo from the high and low 14 bits of the sums, so
// T >> 14 = Hi + (Lo >> 14) and M = (T / 9) >> 14 = (T >> 14) / 9; B is a
// weighted mean of M and F times 16384 and never negative, so B / 9 is the
// unsigned quotient. The float steps are subPixel's in its order.
inline void subInnerColumns32(const SubArgs& a, int y)
{
    const int w = a.run.width, h = a.run.height;
    const size_t rowLen = static_cast<size_t>(w) * 3;
    const ushort* mid = a.run.src + static_cast<size_t>(y) * rowLen;
    const ushort* up = y > 0 ? mid - rowLen : mid;
    const ushort* down = y + 1 < h ? mid + rowLen : mid;
    ushort* out = a.out + static_cast<size_t>(y) * rowLen;
    const unsigned vr = static_cast<unsigned>(a.vr), vg = static_cast<unsigned>(a.vg), vb = static_cast<unsigned>(a.vb);
    const unsigned m = static_cast<unsigned>(a.m), mc = 16384u - m;
    const float inv = 1.0f / 9.0f;
    const float scale = a.scale, intensity = a.intensity;
    const float keepScale = 1.0f - scale, keepIntensity = 1.0f - intensity;
    unsigned cs[3 * (kChunk + 2)];
    float e[3 * kChunk];
    for (int x0 = 1; x0 < w - 1; x0 += kChunk) {
        const int n = MP_imin(kChunk, w - 1 - x0);
        const size_t j0 = static_cast<size_t>(x0 - 1) * 3;
        for (int j = 0; j < 3 * (n + 2); ++j)
            cs[j] = static_cast<unsigned>(up[j0 + j]) + mid[j0 + j] + down[j0 + j];
        const ushort* C = mid + static_cast<size_t>(x0) * 3;
        for (int i = 0; i < n; ++i) {
            const unsigned* c = cs + 3 * i;
            const unsigned sr = c[0] + c[3] + c[6], sg = c[1] + c[4] + c[7], sb = c[2] + c[5] + c[8];
            const unsigned c0 = C[3 * i], c1 = C[3 * i + 1], c2 = C[3 * i + 2];
            const unsigned F = (vr * c0 + vg * c1 + vb * c2) >> 14;
            const unsigned hi = vr * (sr >> 14) + vg * (sg >> 14) + vb * (sb >> 14);
            const unsigned lo = vr * (sr & 16383u) + vg * (sg & 16383u) + vb * (sb & 16383u);
            const unsigned M = (hi + (lo >> 14)) / 9u;
            const unsigned B = (m * M + mc * F) >> 14;
            const int D = static_cast<int>(F) - static_cast<int>(B / 9u);
            const float Nd = static_cast<float>(D < 0 ? -D : D) * inv * MP_k;
            const float wS = inv * scale * (1.0f - Nd) * intensity;
            const float wC = (keepScale * (1.0f - Nd) + Nd) * intensity + keepIntensity;
            e[3 * i] = static_cast<float>(sr) * wS + static_cast<float>(c0) * wC;
            e[3 * i + 1] = static_cast<float>(sg) * wS + static_cast<float>(c1) * wC;
            e[3 * i + 2] = static_cast<float>(sb) * wS + static_cast<float>(c2) * wC;
        }
        // clamp16 without branches: NaN and below 0 give 0, 65535 and above 65535.
        ushort* d = out + static_cast<size_t>(x0) * 3;
        for (int j = 0; j < 3 * n; ++j) {
            float v = e[j] == e[j] ? e[j] : 0.0f;
            v = v > 0.0f ? v : 0.0f;
            v = v < 65535.0f ? v : 65535.0f;
            d[j] = static_cast<ushort>(static_cast<int>(v));
        }
    }
}

// Whether subInnerColumns32 holds for the block.
inline bool subFitsInt(const SubArgs& a)
{
    return a.vr + a.vg + a.vb <= 16384 && a.m >= 0 && a.m <= 16384;
}

#ifdef MP_FILTERS_X86
__attribute__((target("avx2"), flatten)) void subInnerColumnsAvx2(const SubArgs& a, int y) { subInnerColumns(a, y); }
__attribute__((target("avx2"), flatten)) void subInnerColumns32Avx2(const SubArgs& a, int y)
{
    subInnerColumns32(a, y);
}
// Sixteen lanes wide: the same operations in the same order.
__attribute__((target("avx512f,avx512bw,avx512dq,avx512vl"), flatten)) void
subInnerColumns32Avx512(const SubArgs& a, int y)
{
    subInnerColumns32(a, y);
}
#endif

template <bool Full> void subTask(TaskFuncParams t)
{
    const SubArgs* a = MP_taskArgs<SubArgs>(t);
    const int w = a->run.width, h = a->run.height;
    const MP_Params* params = a->run.params;
    const bool geometry = Full && params->geometry_needed != 0;
    const ushort* src = a->run.src;
    const bool inner = !Full && !a->panorama && w >= 3 && g_filterRunWalk && !MP_plainPointLoops();
    const bool fitsInt = subFitsInt(*a);
    const int level = MP_filterHasAvx2() ? MP_pointVectorLevel() : 0;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        if (inner && fitsInt) {
#ifdef MP_FILTERS_X86
            if (level >= 2)
                subInnerColumns32Avx512(*a, y);
            else if (level == 1)
                subInnerColumns32Avx2(*a, y);
            else
#endif
                subInnerColumns32(*a, y);
        } else if (inner) {
#ifdef MP_FILTERS_X86
            if (level >= 1)
                subInnerColumnsAvx2(*a, y);
            else
#endif
                subInnerColumns(*a, y);
        }
        for (int x = 0; x < w; ++x) {
            if (inner && x == 1)
                x = w - 1; // columns 1 .. w-2 are done

            const size_t ci = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            const ushort* C = src + ci * 3;
            ushort* d = a->out + ci * 3;
            float o = 1.0f;
            if (geometry) {
                o = MP_calcGeometryMethodOpacity(x, y, w, h, 2, params);
                if (!(o > 0.0f)) {
                    d[0] = C[0];
                    d[1] = C[1];
                    d[2] = C[2];
                    continue;
                }
            }
            int64_t sr = 0, sg = 0, sb = 0;
            int n = 0;
            const auto add = [&](int col, int row) {
                const ushort* px = src + (static_cast<size_t>(row) * static_cast<size_t>(w) + col) * 3;
                sr += px[0];
                sg += px[1];
                sb += px[2];
                ++n;
            };
            if (!a->panorama) {
                const int yu = y > 0 ? y - 1 : 0, yd = y + 1 < h ? y + 1 : h - 1;
                const auto column = [&](int col) {
                    add(col, yu);
                    add(col, y);
                    add(col, yd);
                };
                if (x > 0)
                    column(x - 1);
                column(x);
                if (x + 1 < w)
                    column(x + 1);
            } else {
                const int xl = x > 0 ? x - 1 : w - 1, xr = x + 1 < w ? x + 1 : 0;
                const auto row = [&](int r) {
                    add(xl, r);
                    add(x, r);
                    add(xr, r);
                };
                if (y > 0)
                    row(y - 1);
                row(y);
                if (y + 1 < h)
                    row(y + 1);
            }
            subPixel(*a, C, sr, sg, sb, n, geometry ? o : 1.0f, d);
        }
    }
}

// MP_copyFilterOutput in row bands on the engine's threads (the chain runs
// this pass between the tone mapping's sharpening passes, where a copy on one
// thread would cost as much as the pass itself).
struct CopyArgs {
    ushort* dst;
    const ushort* out;
    size_t rowLen;
};

void copyRowsTask(TaskFuncParams t)
{
    const CopyArgs* a = MP_taskArgs<CopyArgs>(t);
    const size_t first = static_cast<size_t>(MP_taskStart(t)), last = static_cast<size_t>(MP_taskEnd(t));
    if (last > first)
        std::memcpy(a->dst + first * a->rowLen, a->out + first * a->rowLen, (last - first) * a->rowLen * sizeof(ushort));
}

void copyOutputInBands(ushort* dst, const ushort* out, int sizex, int sizey)
{
    if (MP_filterCancelled() || dst == out)
        return;
    CopyArgs a{dst, out, static_cast<size_t>(sizex) * 3};
    MP_runSinglePass(copyRowsTask, MP_makeTask(nullptr, &a), sizey);
}

} // namespace

// ---- Public pieces ------------------------------------------------------------

ushort MP_medianSelect(ushort* v, int n)
{
    const auto cx = [v](int i, int j) {
        if (v[i] > v[j]) {
            const ushort t = v[i];
            v[i] = v[j];
            v[j] = t;
        }
    };
    switch (n) {
    case 9: {
        static const int pairs[19][2] = {{1, 2}, {4, 5}, {7, 8}, {0, 1}, {3, 4}, {6, 7}, {1, 2}, {4, 5}, {7, 8}, {0, 3},
                                         {5, 8}, {4, 7}, {3, 6}, {1, 4}, {2, 5}, {4, 7}, {4, 2}, {6, 4}, {4, 2}};
        for (const auto& p : pairs)
            cx(p[0], p[1]);
        return v[4];
    }
    case 6:
        cx(0, 1);
        cx(4, 5);
        cx(1, 2);
        cx(3, 4);
        cx(2, 3);
        return v[3];
    case 4:
        cx(0, 1);
        cx(2, 3);
        cx(1, 2);
        return v[2];
    default:
        return n > 0 ? v[n / 2] : 0;
    }
}

void MP_minMaxFactors(float s, float* g, float* b)
{
    *g = 1.0f + (1.0f - MP_pow(s, 4.0f)) * 10.0f;
    *b = MP_pow(s, 0.25f);
}

namespace {

template <int = 0> inline void minMaxStepRows(const MP_MinMaxStep& st, int start, int end)
{
    const int w = st.width;
    float f[kChunk];
    int Lc[kChunk];
    for (int y = start; y < end; ++y)
        for (int x0 = 0; x0 < w; x0 += kChunk) {
            const int n = MP_imin(kChunk, w - x0);
            MinMaxArgs::factors(st.plane, w, st.height, st.panorama, st.g, st.b, y, x0, n, f, Lc);
            const size_t i0 = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x0);
            const ushort* s = st.src + i0 * 3;
            ushort* d = st.out + i0 * 3;
            for (int i = 0; i < n; ++i) {
                const float a = st.mask[Lc[i]];
                const float k = 1.0f - a;
                const float fi = f[i];
                for (int ch = 0; ch < 3; ++ch) {
                    const float c = static_cast<float>(s[3 * i + ch]);
                    d[3 * i + ch] = clamp16(c * k + c * fi * a);
                }
            }
        }
}

#ifdef MP_FILTERS_X86
__attribute__((target("avx2"), flatten)) void minMaxStepRowsAvx2(const MP_MinMaxStep& st, int start, int end)
{
    minMaxStepRows(st, start, end);
}
#endif

} // namespace

void MP_minMaxStepRows(const MP_MinMaxStep& st, int start, int end)
{
#ifdef MP_FILTERS_X86
    if (MP_filterHasAvx2()) {
        minMaxStepRowsAvx2(st, start, end);
        return;
    }
#endif
    minMaxStepRows(st, start, end);
}

int MP_calcPixelDeNoiseAverage(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                               MP_Params* params)
{
    AverageArgs a;
    ushort* out = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 6, kGeoSlot, kComboSlot, &out))
        return MP_beginFilterResult(e);
    const size_t pixels = pixelCount(sizex, sizey);
    a.out = out;
    a.e = params->p[0][0] + kEps5;
    a.lw = LumWeights::of(params, 16383.0f);
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_runTablePass(averagePowerTask, MP_makeTask(params, &a));
    runMaskPass(params, params->p[kMaskSlot]);
    MP_runFilterBands(a, 4);
    MP_copyFilterOutput(dst, out, pixels);
    return 0;
}

int MP_calcPixelDeNoiseMedian(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels > SIZE_MAX / 6)
        return -1;
    std::unique_ptr<ushort, FreeDeleter> result(static_cast<ushort*>(std::malloc(pixels > 0 ? pixels * 6 : 1)));
    if (!result)
        return -1;
    MedianArgs a;
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return e;
    if (pixels == 0)
        return 0;
    a.out = result.get();
    a.p = params->p[0][0];
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    runMaskPass(params, params->p[kMaskSlot]);
    MP_runDriverBands(a.run, &a, MP_filterTask<MedianArgs, true>, medianReducedTask, 8);
    MP_copyFilterOutput(dst, a.out, pixels);
    return 0;
}

int MP_calcPixelDeNoiseMinMax(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                              MP_Params* params)
{
    MinMaxArgs a;
    ushort* scratch = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, 8, kGeoSlot, kComboSlot,
                               &scratch))
        return MP_beginFilterResult(e);
    const size_t pixels = pixelCount(sizex, sizey);
    a.out = scratch;
    ushort* plane = scratch + pixels * 3;
    a.plane = plane;
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_minMaxFactors(MP_pow(params->p[0][0], 0.25f) * 0.99f, &a.g, &a.b);
    MP_runFilterPlanePass(src, plane, sizex, sizey, params);
    runMaskPass(params, params->p[kMaskSlot]);
    MP_runDriverBands(a.run, &a, MP_filterTask<MinMaxArgs, true>, minMaxReducedTask, 8);
    MP_copyFilterOutput(dst, a.out, pixels);
    return 0;
}

int MP_calcPixelSubDeNoiseAverage(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                                  MP_Params* params)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    SubArgs a;
    // The masks first, then the scratch buffer.
    if (int e = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, -1))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    ushort* out = static_cast<ushort*>(MP_UpdateBuffer(pixels * 6));
    if (!out)
        return -1;
    if (pixels == 0)
        return 0;
    a.out = out;
    a.intensity = params->p[0][0];
    a.scale = params->p[1][0];
    a.m = MP_safeTrunc(a.scale * 16384.0f, -(1 << 30), 1 << 30);
    const LumWeights lw = LumWeights::of(params, 16383.0f);
    a.vr = lw.wr;
    a.vg = lw.wg;
    a.vb = lw.wb;
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    MP_runDriverBands(a.run, &a, subTask<true>, subTask<false>, 8);
    copyOutputInBands(dst, out, sizex, sizey);
    return 0;
}

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelDeNoiseAverage", MP_calcPixelDeNoiseAverage},
    {"MP_calcPixelDeNoiseMedian", MP_calcPixelDeNoiseMedian},
    {"MP_calcPixelDeNoiseMinMax", MP_calcPixelDeNoiseMinMax},
    {"MP_calcPixelSubDeNoiseAverage", MP_calcPixelSubDeNoiseAverage},
};
extern const MP_DriverTable MP_drivers_smalldenoise = MP_driverTable(kDrivers);
