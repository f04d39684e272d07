#include "engine/filters/nlmeans.h"

#include "engine/MP_calccl.h"
#include "engine/core/progress.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"
#include "engine/filters/filterframe.h"

#include <cmath>
#include <cstdint>
#include <vector>

using namespace mp_filters;

bool g_nlGeneralPathOnly = false;
bool g_nlSharedDifferences = true;

namespace {

enum class NLKind { DenoiseLum, DenoiseChrom, SharpenLum, SharpenChrom };

constexpr bool isLuminance(NLKind k) { return k == NLKind::DenoiseLum || k == NLKind::SharpenLum; }

// Radii the workers accept (the drivers hand at most K = 3, L = 10).
constexpr int kMaxLumPatch = 5;
constexpr int kMaxChromPatch = 20;
constexpr int kMaxSearch = 20;

constexpr int kPatchRadius[10] = {1, 1, 2, 2, 2, 3, 3, 3, 3, 3};

struct NLArgs {
    MP_DriverRun run;
    const float* copy = nullptr; // 4 (luminance) or 3 floats per pixel
    int sizex = 0, sizey = 0;
    float a = 1.0f; // width of the Gaussian patch weights
    float h = 0.000001f;
    int K = 1, L = 1;

    // Both tables over [start, end): the match weights and the masking curve.
    void fillTables(int start, int end) const
    {
        const float inv = 1.0f / (h * h);
        for (int i = start; i < end; ++i) {
            const float fi = static_cast<float>(i);
            MP_temp_table[i] = expf(-(fi * (fi * MP_k)) * MP_k * inv);
        }
        MP_splineSlotTable(run.params->p[2], start, end, MP_temp2_table);
    }
};

// The patch shape: the diamond |dx| + |dy| <= K in row order, without the
// offsets at distance 3 from the axes for the luminance operators; with the
// Gaussian weight g of each offset and g * 65535 / S (S their sum) for the
// interior path.
struct PatchShape {
    std::vector<int> dx, dy;
    std::vector<float> g, gn;
    float S = 0.0f;

    PatchShape(int K, bool luminance, float a)
    {
        const float a2 = a * a;
        for (int y = -K; y <= K; ++y)
            for (int x = -K; x <= K; ++x) {
                const int ax = x < 0 ? -x : x, ay = y < 0 ? -y : y;
                if (ax + ay > K || (luminance && (ax == 3 || ay == 3)))
                    continue;
                dx.push_back(x);
                dy.push_back(y);
                g.push_back(expf(-static_cast<float>(x * x + y * y) / a2));
            }
        for (float v : g)
            S += v;
        for (float v : g)
            gn.push_back(v * 65535.0f / S);
    }
    int size() const { return static_cast<int>(g.size()); }
};

inline int distanceIndex(float v)
{
    // The weights of an index sum to 65535 and every squared difference is
    // at most 1; rounding can only add a hair.
    return v < 65535.0f ? static_cast<int>(v) : 65535;
}

// The float copy is kept as planes (R, G, B and, for the luminance
// operators, Y), each sizex * sizey floats, so that neighbouring pixels lie
// side by side.
template <NLKind Kind> constexpr int planeCount() { return isLuminance(Kind) ? 4 : 3; }
// The planes the match is measured on: Y, or R, G, B.
template <NLKind Kind> constexpr int firstMatchPlane() { return isLuminance(Kind) ? 3 : 0; }
template <NLKind Kind> constexpr int matchPlanes() { return isLuminance(Kind) ? 1 : 3; }

inline size_t pixelIndex(int w, int x, int y)
{
    return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
}

// The non-local mean f of pixel (x, y) on the clipped path: patch and
// candidates clipped to the picture, the weights normalised per pixel.
template <NLKind Kind>
MP_float3 nlMeanGeneral(const NLArgs& a, const PatchShape& shape, int x, int y)
{
    constexpr int mp = matchPlanes<Kind>();
    const size_t npix = pixelCount(a.sizex, a.sizey);
    const float* R = a.copy;
    const float* G = R + npix;
    const float* B = G + npix;
    const float* M = a.copy + static_cast<size_t>(firstMatchPlane<Kind>()) * npix;
    const int w = a.sizex, h = a.sizey, K = a.K, L = a.L;
    const int dxmin = MP_imax(-K, -x), dxmax = MP_imin(K, w - 1 - x);
    const int dymin = MP_imax(-K, -y), dymax = MP_imin(K, h - 1 - y);
    // The offsets of the pixel's patch P (relative positions) and weights.
    ptrdiff_t off[(2 * kMaxChromPatch + 1) * (2 * kMaxChromPatch + 1)];
    float g[(2 * kMaxChromPatch + 1) * (2 * kMaxChromPatch + 1)];
    int n = 0;
    float sumG = 0.0f;
    for (int i = 0; i < shape.size(); ++i) {
        const int ox = shape.dx[i], oy = shape.dy[i];
        if (ox < dxmin || ox > dxmax || oy < dymin || oy > dymax)
            continue;
        off[n] = static_cast<ptrdiff_t>(oy) * w + ox;
        g[n] = shape.g[i];
        sumG += shape.g[i];
        ++n;
    }
    const float inv = 65535.0f / sumG;
    const size_t centre = pixelIndex(w, x, y);
    float W[3] = {0.0f, 0.0f, 0.0f}, S[3] = {0.0f, 0.0f, 0.0f};
    const int yc1 = MP_imax(-dymin, y - L), yc2 = MP_imin(h - 1 - dymax, y + L);
    for (int yc = yc1; yc <= yc2; ++yc) {
        const int r = L - (yc > y ? yc - y : y - yc);
        const int xc1 = MP_imax(-dxmin, x - r), xc2 = MP_imin(w - 1 - dxmax, x + r);
        for (int xc = xc1; xc <= xc2; ++xc) {
            const size_t cand = pixelIndex(w, xc, yc);
            const float col[3] = {R[cand], G[cand], B[cand]};
            float acc[3] = {0.0f, 0.0f, 0.0f};
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < mp; ++c) {
                    const float* P = M + static_cast<size_t>(c) * npix;
                    const float d = P[static_cast<ptrdiff_t>(cand) + off[i]] - P[static_cast<ptrdiff_t>(centre) + off[i]];
                    acc[c] += g[i] * (d * d);
                }
            if constexpr (isLuminance(Kind)) {
                const float wt = MP_temp_table[distanceIndex(inv * acc[0])];
                W[0] += wt;
                S[0] += wt * col[0];
                S[1] += wt * col[1];
                S[2] += wt * col[2];
            } else {
                for (int c = 0; c < 3; ++c) {
                    const float wt = MP_temp_table[distanceIndex(inv * acc[c])];
                    W[c] += wt;
                    S[c] += wt * col[c];
                }
            }
        }
    }
    if constexpr (isLuminance(Kind))
        return {S[0] / W[0], S[1] / W[0], S[2] / W[0]};
    else
        return {S[0] / W[0], S[1] / W[1], S[2] / W[2]};
}

// Pixels the interior path handles side by side.
constexpr int kRun = 8;

// The means of the pixels x .. x + N - 1 of row y, whose patches and
// search windows all lie inside the picture: the full patch with
// pre-normalised weights. Each pixel sums its candidates and each
// candidate's patch in the same order as the clipped path; only the
// normalisation of the weights differs.
template <NLKind Kind, int N>
void nlMeanInteriorRun(const NLArgs& a, const PatchShape& shape, const ptrdiff_t* off, float* centre, int x, int y,
                       MP_float3* f)
{
    constexpr int mp = matchPlanes<Kind>();
    const size_t npix = pixelCount(a.sizex, a.sizey);
    const float* R = a.copy;
    const float* G = R + npix;
    const float* B = G + npix;
    const float* M = a.copy + static_cast<size_t>(firstMatchPlane<Kind>()) * npix;
    const int w = a.sizex, L = a.L, np = shape.size();
    const float* gn = shape.gn.data();
    const ptrdiff_t base = static_cast<ptrdiff_t>(pixelIndex(w, x, y));
    // The run's own patch values, offset by offset.
    for (int o = 0; o < np; ++o)
        for (int c = 0; c < mp; ++c) {
            const float* P = M + static_cast<size_t>(c) * npix + base + off[o];
            for (int i = 0; i < N; ++i)
                centre[(o * mp + c) * N + i] = P[i];
        }
    float W[3][N] = {}, S[3][N] = {};
    for (int dyc = -L; dyc <= L; ++dyc) {
        const int r = L - (dyc < 0 ? -dyc : dyc);
        for (int dxc = -r; dxc <= r; ++dxc) {
            const ptrdiff_t cand = base + static_cast<ptrdiff_t>(dyc) * w + dxc;
            float acc[mp][N] = {};
            for (int o = 0; o < np; ++o) {
                const float go = gn[o];
                for (int c = 0; c < mp; ++c) {
                    const float* P = M + static_cast<size_t>(c) * npix + cand + off[o];
                    const float* cv = centre + (o * mp + c) * N;
                    for (int i = 0; i < N; ++i) {
                        const float d = P[i] - cv[i];
                        acc[c][i] += go * (d * d);
                    }
                }
            }
            const float* cr = R + cand;
            const float* cg = G + cand;
            const float* cb = B + cand;
            if constexpr (isLuminance(Kind)) {
                float wt[N];
                for (int i = 0; i < N; ++i)
                    wt[i] = MP_temp_table[distanceIndex(acc[0][i])];
                for (int i = 0; i < N; ++i) {
                    W[0][i] += wt[i];
                    S[0][i] += wt[i] * cr[i];
                    S[1][i] += wt[i] * cg[i];
                    S[2][i] += wt[i] * cb[i];
                }
            } else {
                const float* col[3] = {cr, cg, cb};
                for (int c = 0; c < 3; ++c) {
                    float wt[N];
                    for (int i = 0; i < N; ++i)
                        wt[i] = MP_temp_table[distanceIndex(acc[c][i])];
                    for (int i = 0; i < N; ++i) {
                        W[c][i] += wt[i];
                        S[c][i] += wt[i] * col[c][i];
                    }
                }
            }
        }
    }
    for (int i = 0; i < N; ++i) {
        if constexpr (isLuminance(Kind))
            f[i] = {S[0][i] / W[0][i], S[1][i] / W[0][i], S[2][i] / W[0][i]};
        else
            f[i] = {S[0][i] / W[0][i], S[1][i] / W[1][i], S[2][i] / W[2][i]};
    }
}

// The shared-difference path. For one candidate offset, the squared
// difference of a patch position q, (M[q + offset] - M[q])^2, is the same
// float for every pixel whose patch covers q: it is worked out once per
// position (and, for the luminance operators, kept for the rows below while
// the position stays in reach) instead of once per pixel and patch offset.
// Each pixel still adds its weighted squares in the order of the patch
// offsets and its candidates in the order of the search window, so the
// means are the bits of nlMeanInteriorRun.
constexpr int kLanes = 8; // the lane list of the table look-up below names all eight
typedef float NLVec __attribute__((vector_size(kLanes * sizeof(float))));
typedef int NLIVec __attribute__((vector_size(kLanes * sizeof(int))));
// Widest span of one chrominance block (the luminance tasks are narrow
// column strips and take their whole span).
constexpr int kChromBlock = 64;

struct NLSpanScratch {
    std::vector<int> cdx, cdy; // the candidate offsets in search order
    std::vector<float> sq;     // squared differences [candidate][row slot][plane][column]
    std::vector<float> W, S;   // the sums per pixel: W [plane][x], S [plane][x]
    int ringXa = -1, ringN = 0, ringRow = -2; // luminance: the rows held (last one)
};

// The means of the pixels xa .. xa + n - 1 of row y (n at least kLanes),
// all on the interior path.
// The AVX2 instantiation is never called outside the AVX2 rows, so the
// vector-ABI note for it does not apply.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
// Avx2: only ever inlined into the AVX2 rows, where the eight table weights
// of a lane group come in one gather (the same floats as eight loads).
template <NLKind Kind, bool Avx2>
void nlMeanShared(const NLArgs& a, const PatchShape& shape, NLSpanScratch& s, int xa, int n, int y, MP_float3* f)
{
    constexpr int mp = matchPlanes<Kind>();
    constexpr bool ring = isLuminance(Kind);
    constexpr int nw = isLuminance(Kind) ? 1 : 3;
    const size_t npix = pixelCount(a.sizex, a.sizey);
    const float* R = a.copy;
    const float* G_ = R + npix;
    const float* B = G_ + npix;
    const float* M = a.copy + static_cast<size_t>(firstMatchPlane<Kind>()) * npix;
    const int w = a.sizex, K = a.K, rows = 2 * K + 1, np = shape.size();
    const int ext = n + 2 * K;
    const size_t stride = static_cast<size_t>(ext + kLanes - 1) / kLanes * kLanes;
    const size_t perCand = static_cast<size_t>(rows) * mp * stride;
    const int nc = static_cast<int>(s.cdx.size());
    const float* gn = shape.gn.data();
    // The patch offsets as (row slot, column) in the squared differences.

    // Rows to work out: all 2K + 1, or only the new bottom row when the ring
    // holds the rows above for the same span.
    int firstRow = y - K;
    if constexpr (ring) {
        if (s.ringXa == xa && s.ringN == n && s.ringRow == y + K - 1)
            firstRow = y + K;
        const size_t need = perCand * static_cast<size_t>(nc);
        if (s.sq.size() < need)
            s.sq.resize(need);
        s.ringXa = xa;
        s.ringN = n;
        s.ringRow = y + K;
    } else if (s.sq.size() < perCand) {
        s.sq.resize(perCand);
    }
    // Whole lane groups, then (n at least kLanes) one group ending at the end.
    const int n8 = n / kLanes * kLanes;
    const size_t wn = static_cast<size_t>(n8 < n ? n8 + kLanes : n);
    if (s.W.size() < nw * wn)
        s.W.resize(nw * wn);
    if (s.S.size() < 3 * wn)
        s.S.resize(3 * wn);
    float* W = s.W.data();
    float* S = s.S.data();
    for (size_t i = 0; i < nw * wn; ++i)
        W[i] = 0.0f;
    for (size_t i = 0; i < 3 * wn; ++i)
        S[i] = 0.0f;

    auto slotOf = [&](int row) { return ring ? row % rows : row - (y - K); };
    // Where each patch offset's squares lie, from a lane group's start.
    ptrdiff_t termAt[(2 * kMaxChromPatch + 1) * (2 * kMaxChromPatch + 1)];
    for (int o = 0; o < np; ++o)
        termAt[o] = static_cast<ptrdiff_t>(slotOf(y + shape.dy[o])) * mp * static_cast<ptrdiff_t>(stride) + shape.dx[o];
    for (int ci = 0; ci < nc; ++ci) {
        const ptrdiff_t delta = static_cast<ptrdiff_t>(s.cdy[ci]) * w + s.cdx[ci];
        float* sqc = s.sq.data() + (ring ? perCand * static_cast<size_t>(ci) : 0);
        for (int row = firstRow; row <= y + K; ++row)
            for (int c = 0; c < mp; ++c) {
                const float* P = M + static_cast<size_t>(c) * npix + pixelIndex(w, xa - K, row);
                const float* Q = P + delta;
                float* out = sqc + (static_cast<size_t>(slotOf(row)) * mp + c) * stride;
                for (int i = 0; i < ext; ++i) {
                    const float d = Q[i] - P[i];
                    out[i] = d * d;
                }
            }
        const ptrdiff_t cand = static_cast<ptrdiff_t>(pixelIndex(w, xa, y)) + delta;
        // G groups of lanes side by side: independent sums, each in its own order.
        // i: the first pixel, j: the first slot of the sums.
        auto lanes = [&]<int G>(int i, int j) {
            NLVec acc[mp][G];
            // The planes' sums side by side too (the planes lie stride apart).
            const float* sqp = sqc + static_cast<size_t>(i + K);
            // The first sum starts from 0 + t, which is t: no term is negative.
            NLVec v;
            for (int c = 0; c < mp; ++c)
                for (int g = 0; g < G; ++g) {
                    __builtin_memcpy(&v, sqp + termAt[0] + c * stride + g * kLanes, sizeof v);
                    acc[c][g] = gn[0] * v;
                }
            for (int o = 1; o < np; ++o) {
                const float go = gn[o];
                const float* q = sqp + termAt[o];
                for (int c = 0; c < mp; ++c)
                    for (int g = 0; g < G; ++g) {
                        __builtin_memcpy(&v, q + c * stride + g * kLanes, sizeof v);
                        acc[c][g] += go * v;
                    }
            }
            for (int g = 0; g < G; ++g) {
                const int ig = i + g * kLanes, jg = j + g * kLanes;
                const float* col[3] = {R + cand + ig, G_ + cand + ig, B + cand + ig};
                // Luminance: one weight for the three colours; chrominance: one per plane.
                for (int c = 0; c < nw; ++c) {
                    const NLVec held = acc[c][g] < 65535.0f ? acc[c][g] : NLVec{} + 65535.0f;
                    const NLIVec iv = __builtin_convertvector(held, NLIVec);
                    NLVec wt;
#ifdef MP_FILTERS_X86
                    if constexpr (Avx2) {
                        const NLVec all = NLVec{} - 1.0f; // every lane (sign bits set)
                        wt = __builtin_ia32_gathersiv8sf(NLVec{}, MP_temp_table, iv, all, 4);
                    } else
#endif
                    {
                        int idx[kLanes];
                        __builtin_memcpy(idx, &iv, sizeof idx);
                        const float* T = MP_temp_table;
                        wt = NLVec{T[idx[0]], T[idx[1]], T[idx[2]], T[idx[3]],
                                   T[idx[4]], T[idx[5]], T[idx[6]], T[idx[7]]};
                    }
                    NLVec wv;
                    __builtin_memcpy(&wv, W + c * wn + jg, sizeof wv);
                    wv += wt;
                    __builtin_memcpy(W + c * wn + jg, &wv, sizeof wv);
                    for (int k = isLuminance(Kind) ? 0 : c; k < (isLuminance(Kind) ? 3 : c + 1); ++k) {
                        NLVec cv, sv;
                        __builtin_memcpy(&cv, col[k], sizeof cv);
                        __builtin_memcpy(&sv, S + k * wn + jg, sizeof sv);
                        sv += wt * cv;
                        __builtin_memcpy(S + k * wn + jg, &sv, sizeof sv);
                    }
                }
            }
        };
        constexpr int kGroup = isLuminance(Kind) ? 4 : 2;
        int i = 0;
        for (; i + kGroup * kLanes <= n8; i += kGroup * kLanes)
            lanes.template operator()<kGroup>(i, i);
        for (; i < n8; i += kLanes)
            lanes.template operator()<1>(i, i);
        // The last pixels: one more group ending at the span's end, with sums of its own.
        if (n8 < n)
            lanes.template operator()<1>(n - kLanes, n8);
    }
    for (int i = 0; i < n; ++i) {
        const size_t j = i < n8 ? static_cast<size_t>(i) : static_cast<size_t>(n8 + i - (n - kLanes));
        if constexpr (isLuminance(Kind))
            f[i] = {S[j] / W[j], S[wn + j] / W[j], S[2 * wn + j] / W[j]};
        else
            f[i] = {S[j] / W[j], S[wn + j] / W[wn + j], S[2 * wn + j] / W[2 * wn + j]};
    }
}

#pragma GCC diagnostic pop

// The operator's result at the pixel: effect of the mean f, mixed with c0
// by the masking curve at c0's luminance.
template <NLKind Kind> inline MP_float3 nlResult(const MP_Params* p, MP_float3 c0, MP_float3 f)
{
    MP_float3 e = f;
    if constexpr (Kind == NLKind::SharpenChrom) {
        e = {2.0f * c0.x - f.x, 2.0f * c0.y - f.y, 2.0f * c0.z - f.z};
    } else if constexpr (Kind == NLKind::SharpenLum) {
        const MP_float3 s{2.0f * c0.x - f.x, 2.0f * c0.y - f.y, 2.0f * c0.z - f.z};
        e = {s.x + 0.2f * (s.x - c0.x), s.y + 0.2f * (s.y - c0.y), s.z + 0.2f * (s.z - c0.z)};
    }
    const float m = MP_temp2_table[MP_tableIndex(p->lumr * c0.x + p->lumg * c0.y + p->lumb * c0.z)];
    const float k = 1.0f - m;
    return {c0.x * k + e.x * m, c0.y * k + e.y * m, c0.z * k + e.z * m};
}

// One worker over the columns x0, x0 + step, ... below x1 of rows [y0, y1).
template <NLKind Kind, bool Full, bool Avx2 = false> void nlRows(const NLArgs& a, int x0, int x1, int step, int y0, int y1)
{
    constexpr int mp = matchPlanes<Kind>();
    const int K = MP_iclamp(a.K, 0, isLuminance(Kind) ? kMaxLumPatch : kMaxChromPatch);
    const int L = MP_iclamp(a.L, 0, kMaxSearch);
    NLArgs args = a;
    args.K = K;
    args.L = L;
    const PatchShape shape(K, isLuminance(Kind), a.a);
    const int np = shape.size();
    std::vector<ptrdiff_t> off(static_cast<size_t>(np));
    for (int i = 0; i < np; ++i)
        off[i] = static_cast<ptrdiff_t>(shape.dy[i]) * a.sizex + shape.dx[i];
    std::vector<float> centre(static_cast<size_t>(np) * mp * kRun);
    const size_t npix = pixelCount(a.sizex, a.sizey);
    const float* R = a.copy;
    const float* G = R + npix;
    const float* B = G + npix;
    const int reach = L + K;
    const MP_DriverRun& run = a.run;
    const bool geometry = run.params->geometry_needed != 0;
    MP_float3 f[kRun];
    auto store = [&](int x, int y, MP_float3 mean) {
        const size_t pix = pixelIndex(a.sizex, x, y);
        const MP_float3 c0{R[pix], G[pix], B[pix]};
        ushort* d = run.dst + pix * 3;
        if constexpr (Full)
            MP_fullWorkerPixel(run, geometry, x, y, c0, d, [&] { return nlResult<Kind>(run.params, c0, mean); });
        else
            MP_storeRGB48Clamped(d, nlResult<Kind>(run.params, c0, mean));
    };
    // The columns of the shared-difference path: the interior pixels, in
    // blocks of at least kLanes.
    const bool shared = g_nlSharedDifferences && g_filterRunWalk && step == 1;
    const int ia = MP_imax(x0, reach), ib = MP_imin(x1, a.sizex - reach);
    const int sharedEnd = ib - ia >= kLanes ? ib : ia;
    const int block = isLuminance(Kind) ? MP_imax(sharedEnd - ia, kLanes) : kChromBlock;
    NLSpanScratch scratch;
    std::vector<MP_float3> means;
    if (shared && sharedEnd > ia) {
        for (int dyc = -L; dyc <= L; ++dyc) {
            const int r = L - (dyc < 0 ? -dyc : dyc);
            for (int dxc = -r; dxc <= r; ++dxc) {
                scratch.cdx.push_back(dxc);
                scratch.cdy.push_back(dyc);
            }
        }
        means.resize(static_cast<size_t>(MP_imin(block + kLanes, sharedEnd - ia)));
    }
    for (int y = y0; y < y1; ++y) {
        const bool rowInside = !g_nlGeneralPathOnly && y - reach >= 0 && y + reach <= a.sizey - 1;
        const bool rowShared = shared && rowInside && sharedEnd > ia;
        if (rowShared)
            for (int xb = ia; xb < sharedEnd;) {
                // A remainder narrower than a lane group joins the block before.
                const int n = sharedEnd - xb - block < kLanes ? sharedEnd - xb : block;
                nlMeanShared<Kind, Avx2>(args, shape, scratch, xb, n, y, means.data());
                for (int i = 0; i < n; ++i)
                    store(xb + i, y, means[static_cast<size_t>(i)]);
                xb += n;
            }
        int x = x0;
        while (x < x1) {
            if (rowShared && x == ia) {
                x = sharedEnd;
                continue;
            }
            if (g_filterRunWalk && step == 1 && rowInside && x - reach >= 0 && x + kRun - 1 + reach <= a.sizex - 1 && x + kRun <= x1) {
                nlMeanInteriorRun<Kind, kRun>(args, shape, off.data(), centre.data(), x, y, f);
                for (int i = 0; i < kRun; ++i)
                    store(x + i, y, f[i]);
                x += kRun;
                continue;
            }
            // The path follows the pixel's position alone, never the run.
            if (rowInside && x - reach >= 0 && x + reach <= a.sizex - 1)
                nlMeanInteriorRun<Kind, 1>(args, shape, off.data(), centre.data(), x, y, f);
            else
                f[0] = nlMeanGeneral<Kind>(args, shape, x, y);
            store(x, y, f[0]);
            x += step;
        }
    }
}

#ifdef MP_FILTERS_X86
// The same rows compiled for AVX2: the same operations in the same order.
template <NLKind Kind, bool Full>
__attribute__((target("avx2"), flatten)) void nlRowsAvx2(const NLArgs& a, int x0, int x1, int step, int y0, int y1)
{
    nlRows<Kind, Full, true>(a, x0, x1, step, y0, y1);
}
#endif

template <NLKind Kind, bool Full> void nlTask(TaskFuncParams t)
{
    const NLArgs* a = MP_taskArgs<NLArgs>(t);
    int x0 = 0, x1 = a->sizex, step = 1;
    if constexpr (isLuminance(Kind)) {
        x0 = static_cast<int32_t>(static_cast<uint32_t>(t.w[0]));
        x1 = static_cast<int32_t>(static_cast<uint32_t>(t.w[0] >> 32));
        step = MP_imax(1, static_cast<int32_t>(static_cast<uint32_t>(t.w[2] >> 32)));
    }
#ifdef MP_FILTERS_X86
    if (MP_filterHasAvx2()) {
        nlRowsAvx2<Kind, Full>(*a, x0, x1, step, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
#endif
    nlRows<Kind, Full>(*a, x0, x1, step, MP_taskStart(t), MP_taskEnd(t));
}

// The table prepass (one body under four names).
void nlTableTask(TaskFuncParams t) { MP_taskArgs<NLArgs>(t)->fillTables(MP_taskStart(t), MP_taskEnd(t)); }

// The float copy of rows [start, end): channels times 1/65535 into the R,
// G, B planes and, for the luminance operators, their luminance into Y.
template <bool Luminance> void nlCopyTask(TaskFuncParams t)
{
    const NLArgs* a = MP_taskArgs<NLArgs>(t);
    const MP_Params* p = a->run.params;
    const size_t w = static_cast<size_t>(a->sizex);
    const size_t npix = pixelCount(a->sizex, a->sizey);
    float* R = const_cast<float*>(a->copy);
    float* G = R + npix;
    float* B = G + npix;
    float* Y = B + npix;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        const ushort* s = a->run.src + row * 3;
        for (size_t x = 0; x < w; ++x, s += 3) {
            const float r = static_cast<float>(s[0]) * MP_k, g = static_cast<float>(s[1]) * MP_k,
                        b = static_cast<float>(s[2]) * MP_k;
            R[row + x] = r;
            G[row + x] = g;
            B[row + x] = b;
            if constexpr (Luminance)
                Y[row + x] = r * p->lumr + g * p->lumg + b * p->lumb;
        }
    }
}

} // namespace

MP_NLWindow MP_nlWindow(float quality)
{
    const int q = MP_safeTrunc(quality * 9.0f + 0.1f, 0, 9);
    return {q, kPatchRadius[q], q + 1};
}

float MP_nlFilterWidth(float strength, float factor, float previewScale)
{
    const float p0 = finiteOr(strength, 0.0f);
    const float ps = MP_clamp(finiteOr(previewScale, 1.0f), 0.0f, 1.0f);
    return (1.0f - powf(1.0f - ps, 0.5f)) * (p0 * p0 * factor) + 0.000001f;
}

namespace {

template <NLKind Kind>
int runNL(MP_TaskFunc copyTask, MP_TaskFunc tableTask, MP_TaskFunc full, MP_TaskFunc reduced, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp,
          int dstBpp, MP_Params* params)
{
    constexpr bool lum = isLuminance(Kind);
    NLArgs a;
    ushort* scratch = nullptr;
    if (int e = MP_beginFilter(a.run, sizex, sizey, src, dst, srcBpp, dstBpp, params, lum ? 16 : 12, 4, 3, &scratch))
        return MP_beginFilterResult(e);
    a.copy = reinterpret_cast<const float*>(scratch);
    a.sizex = sizex;
    a.sizey = sizey;
    a.h = MP_nlFilterWidth(params->p[0][0], lum ? 0.09f : 0.27f, params->previewscalingfactor);
    const MP_NLWindow win = MP_nlWindow(params->p[1][0]);
    a.K = win.K;
    a.L = win.L;
    MP_runTablePass(tableTask, MP_makeTask(params, &a));
    MP_runSinglePass(copyTask, MP_makeTask(params, &a), sizey);
    const MP_TaskFunc fn = a.run.full ? full : reduced;
    if constexpr (lum) {
        // Column chunks of about 64 columns per task, each task over all
        // rows. Task j of a chunk takes the j-th of n equal column runs
        // (step 1), so that neighbouring pixels share the vector path; the
        // workers also take a comb (first + j, step n), with the same results.
        const int n = MP_imax(1, MP_idealThreadCount);
        int C = static_cast<int>(static_cast<float>(sizex) / static_cast<float>(64 * n));
        if (C < 1)
            C = 1;
        for (int c = 0; c < C; ++c) {
            const int first = static_cast<int>(static_cast<float>(sizex) * (static_cast<float>(c) / C));
            int end = static_cast<int>(static_cast<float>(sizex) * (static_cast<float>(c + 1) / C));
            if (c == C - 1 || end > sizex)
                end = sizex;
            if (first < end) {
                const int span = end - first;
                for (int j = 0; j < n; ++j) {
                    const int x0 = first + static_cast<int>(static_cast<int64_t>(span) * j / n);
                    const int x1 = first + static_cast<int>(static_cast<int64_t>(span) * (j + 1) / n);
                    if (x0 >= x1)
                        continue;
                    TaskFuncParams t = MP_makeTask(params, &a,
                                                   static_cast<uint64_t>(static_cast<uint32_t>(x0)) |
                                                       (static_cast<uint64_t>(static_cast<uint32_t>(x1)) << 32),
                                                   static_cast<uint64_t>(1) << 32);
                    MP_setTaskRange(t, 0, sizey);
                    C_AddTask(fn, t);
                }
                C_WaitTasks();
            }
            MP_postKernelProgress(c + 1, C);
        }
    } else {
        MP_runBandPass(fn, MP_makeTask(params, &a), sizey, win.q > 4 ? 1 : 4, 16);
    }
    return 0;
}

} // namespace

namespace {

#define MP_NL_TASKS(Name, Kind)                                                                                      \
    void MP_TaskPre1_calcPixel##Name(TaskFuncParams t) { nlCopyTask<isLuminance(Kind)>(t); }                         \
    void MP_TaskPre2_calcPixel##Name(TaskFuncParams t) { nlTableTask(t); }                                            \
    void MP_Task_calcPixel##Name(TaskFuncParams t) { nlTask<Kind, true>(t); }                                         \
    void MP_Task_calcPixel##Name##Reduced(TaskFuncParams t) { nlTask<Kind, false>(t); }

MP_NL_TASKS(DeNoiseLumHD, NLKind::DenoiseLum)
MP_NL_TASKS(DeNoiseHD, NLKind::DenoiseChrom)
MP_NL_TASKS(HDLumSharpen, NLKind::SharpenLum)
MP_NL_TASKS(HDSharpen, NLKind::SharpenChrom)

} // namespace

#define MP_NL_DRIVER(Name, Kind)                                                                                     \
    int MP_calcPixel##Name(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params) \
    {                                                                                                                 \
        return runNL<Kind>(MP_TaskPre1_calcPixel##Name, MP_TaskPre2_calcPixel##Name, MP_Task_calcPixel##Name,        \
                           MP_Task_calcPixel##Name##Reduced, sizex, sizey, src, dst, srcBpp, dstBpp, params);        \
    }

MP_NL_DRIVER(DeNoiseLumHD, NLKind::DenoiseLum)
MP_NL_DRIVER(DeNoiseHD, NLKind::DenoiseChrom)
MP_NL_DRIVER(HDLumSharpen, NLKind::SharpenLum)
MP_NL_DRIVER(HDSharpen, NLKind::SharpenChrom)

static const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelDeNoiseLumHD", MP_calcPixelDeNoiseLumHD},
    {"MP_calcPixelDeNoiseHD", MP_calcPixelDeNoiseHD},
    {"MP_calcPixelHDLumSharpen", MP_calcPixelHDLumSharpen},
    {"MP_calcPixelHDSharpen", MP_calcPixelHDSharpen},
};
extern const MP_DriverTable MP_drivers_nlmeans = MP_driverTable(kDrivers);
