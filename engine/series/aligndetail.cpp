#include "engine/series/aligndetail.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/samplers.h"
#include "engine/core/settings.h"
#include "engine/series/alignquality.h"
#include "engine/series/alignwork.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

using mp_align::offsetOf;

namespace {

constexpr int kMaxNodes = 101;

struct Mesh {
    int n = 2;
    float cellW = 0.0f, cellH = 0.0f;
    float X[kMaxNodes][kMaxNodes];
    float Y[kMaxNodes][kMaxNodes];
};

struct Meshes {
    Mesh regular, searched, copy;
};

// One row of the diamond: row offset o and half-width a (samples at -a, -a+4 ... <= a).
struct DiamondRow {
    int o, a, samples;
};

std::vector<DiamondRow> diamondRows(int K)
{
    std::vector<DiamondRow> rows;
    for (int o = -K; o <= K; o += 4) {
        const int a = K - (o < 0 ? -o : o);
        rows.push_back({o, a, ((2 * a + 1) >> 2) + 1});
    }
    return rows;
}

inline uint8_t at(const uint8_t* bm, int w, int x, int y)
{
    return bm[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
}

// The five probe values around (x, y): above, left, centre, right, below.
struct Probes {
    uint8_t v[5];
};
inline Probes probesAt(const uint8_t* bm, int w, int h, int x, int y)
{
    const int xc = MP_iclamp(x, 0, w - 1);
    const int yc = MP_iclamp(y, 0, h - 1);
    return {{at(bm, w, xc, MP_imax(yc - 2, 0)), at(bm, w, MP_imax(xc - 2, 0), yc), at(bm, w, xc, yc),
             at(bm, w, xc + 2 >= w ? w - 1 : xc + 2, yc), at(bm, w, xc, yc + 2 >= h ? h - 1 : yc + 2)}};
}

struct NodeSearch {
    const uint8_t* ref;
    const uint8_t* bm;
    int w, h, K, S, e0, stop, R;
    std::vector<DiamondRow> rows;
    std::vector<uint8_t> tmpl; // (2K + 1)^2

    void cutTemplate(int N, int M)
    {
        const int side = 2 * K + 1;
        for (int o = -K; o <= K; ++o) {
            const int y = MP_iclamp(M + o, 0, h - 1);
            uint8_t* t = tmpl.data() + static_cast<size_t>(o + K) * side;
            for (int c = -K; c <= K; ++c)
                t[c + K] = at(ref, w, MP_iclamp(N + c, 0, w - 1), y);
        }
    }

    // Matches of the patch at (C, P); gives up (returning at most `best`)
    // once the misses show it cannot beat `best`.
    int count(int C, int P, int best) const
    {
        const int side = 2 * K + 1;
        const int allowed = S - best;
        int matches = 0, misses = 0;
        for (const DiamondRow& d : rows) {
            const uint8_t* brow = bm + static_cast<size_t>(MP_iclamp(P + d.o, 0, h - 1)) * static_cast<size_t>(w);
            const uint8_t* trow = tmpl.data() + static_cast<size_t>(d.o + K) * side + K;
            int m = 0;
            if (C - d.a >= 0 && C + d.a < w) {
                for (int c = -d.a; c <= d.a; c += 4)
                    m += trow[c] == brow[C + c];
            } else {
                for (int c = -d.a; c <= d.a; c += 4)
                    m += trow[c] == brow[MP_iclamp(C + c, 0, w - 1)];
            }
            matches += m;
            misses += d.samples - m;
            if (misses >= allowed)
                break;
        }
        return matches;
    }

    void searchNode(const Mesh& reg, Mesh& out, int i, int j)
    {
        const float X0 = reg.X[i][j], Y0 = reg.Y[i][j];
        const int N = MP_safeTrunc(X0, 0, w);
        const int M = MP_safeTrunc(Y0, 0, h - 1);
        const int n = reg.n;
        const int rx = (j == 0 || j == n - 1) ? 0 : MP_imin(MP_safeTrunc(reg.cellW * 0.25f, 0, w), R);
        const int ry = (i == 0 || i == n - 1) ? 0 : MP_imin(MP_safeTrunc(reg.cellH * 0.25f, 0, h), R);
        if (N > w - 1 && rx <= 0)
            return; // the last node column lies at x = w: no candidate column there
        cutTemplate(N, M);
        const Probes master = probesAt(ref, w, h, N, M);
        int best = e0;
        int run = 0;
        int prevBest = best;
        for (int a = 0; a <= 2 * ry && best < S; ++a) {
            const int dy = offsetOf(a);
            const int P = M + dy;
            if (P >= 0 && P < h) {
                for (int b = 0; b <= 2 * rx && best < S; ++b) {
                    const int dx = offsetOf(b);
                    const int C = N + dx;
                    if (C < 0 || C >= w)
                        continue;
                    const Probes p = probesAt(bm, w, h, C, P);
                    if (std::memcmp(p.v, master.v, 5) != 0)
                        continue;
                    const int c = count(C, P, best);
                    if (c > best) {
                        best = c;
                        out.X[i][j] = X0 + static_cast<float>(dx);
                        out.Y[i][j] = Y0 + static_cast<float>(dy);
                    }
                }
            }
            if (best == prevBest) {
                if (++run > stop)
                    break;
            } else {
                run = 0;
                prevBest = best;
            }
        }
    }
};

void smoothMesh(const Mesh& reg, Mesh& searched, Mesh& copy)
{
    copy = searched;
    const int n = reg.n;
    for (int i = 1; i <= n - 2; ++i) {
        for (int j = 1; j <= n - 2; ++j) {
            auto dX = [&](int a, int b) { return copy.X[a][b] - reg.X[a][b]; };
            auto dY = [&](int a, int b) { return copy.Y[a][b] - reg.Y[a][b]; };
            const float sx = 8.0f * dX(i, j) + 2.0f * (dX(i - 1, j) + dX(i + 1, j) + dX(i, j - 1) + dX(i, j + 1)) +
                             (dX(i - 1, j - 1) + dX(i - 1, j + 1) + dX(i + 1, j - 1) + dX(i + 1, j + 1));
            const float sy = 8.0f * dY(i, j) + 2.0f * (dY(i - 1, j) + dY(i + 1, j) + dY(i, j - 1) + dY(i, j + 1)) +
                             (dY(i - 1, j - 1) + dY(i - 1, j + 1) + dY(i + 1, j - 1) + dY(i + 1, j + 1));
            searched.X[i][j] = reg.X[i][j] + 0.05f * sx;
            searched.Y[i][j] = reg.Y[i][j] + 0.05f * sy;
        }
    }
}

// An edge point: destination x and source position.
struct EdgePt {
    float x, sx, sy;
};

// 14-bit fixed point of a position or step, held to a range that cannot
// overflow when a span of any width is walked.
inline int64_t fixed14(float v) { return static_cast<int64_t>(MP_safeTrunc(v * 16384.0f, -0x40000000, 0x40000000)); }

struct Warp {
    const uint16_t* src;
    uint16_t* dst;
    int w, h, interpolation;

    // Fills the rows trunc(yTop) .. trunc(yBot) between the left edge l0 -> l1
    // and the right edge r0 -> r1.
    void triangle(float yTop, float yBot, EdgePt l0, EdgePt l1, EdgePt r0, EdgePt r1) const
    {
        const float H = yBot - yTop;
        if (!(H > 0.0f))
            return; // a zero-height cell covers no row
        const EdgePt il = {(l1.x - l0.x) / H, (l1.sx - l0.sx) / H, (l1.sy - l0.sy) / H};
        const EdgePt ir = {(r1.x - r0.x) / H, (r1.sx - r0.sx) / H, (r1.sy - r0.sy) / H};
        const int first = MP_safeTrunc(yTop, -1, h);
        const int last = MP_safeTrunc(yBot, -1, h);
        EdgePt l = l0, r = r0;
        for (int row = first; row <= last; ++row) {
            if (row >= 0 && row < h)
                span(row, l, r);
            l = {l.x + il.x, l.sx + il.sx, l.sy + il.sy};
            r = {r.x + ir.x, r.sx + ir.sx, r.sy + ir.sy};
        }
    }

    void span(int row, EdgePt l, EdgePt r) const
    {
        const float xl = l.x, xr = r.x;
        const int x0 = MP_safeTrunc(xl, 0, w);
        const int x1 = MP_imin(MP_safeTrunc(xr, -1, w), w - 1);
        if (x1 < x0)
            return;
        const float dxw = xr - xl;
        const float stx = dxw != 0.0f ? (r.sx - l.sx) / dxw : 0.0f;
        const float sty = dxw != 0.0f ? (r.sy - l.sy) / dxw : 0.0f;
        const float frac = xl - std::floor(xl);
        float px = l.sx - frac * stx;
        float py = l.sy - frac * sty;
        uint16_t* out = dst + (static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(x0)) * 3;
        if (interpolation > 0) {
            if (!(py >= 0.0f && py < static_cast<float>(h)))
                return;
            for (int x = x0; x <= x1; ++x, out += 3) {
                MP_tex2D16intAlignToUShort(w, h, src, out, px, py);
                px += stx;
                py += sty;
            }
            return;
        }
        int64_t fx = fixed14(px), fy = fixed14(py);
        const int64_t fsx = fixed14(stx), fsy = fixed14(sty);
        if (fy < 0 || (fy >> 14) >= h)
            return;
        for (int x = x0; x <= x1; ++x, out += 3, fx += fsx, fy += fsy) {
            const int64_t ix = fx >> 14, iy = fy >> 14;
            if (ix < 0 || ix >= w || iy < 0 || iy >= h)
                continue;
            const uint16_t* p = src + (static_cast<size_t>(iy) * static_cast<size_t>(w) + static_cast<size_t>(ix)) * 3;
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
        }
    }
};

} // namespace

int MP_alignDetailNodeCount(int w, int h, int cellSize)
{
    if (cellSize <= 0)
        return kMaxNodes;
    const int64_t area = static_cast<int64_t>(w) * static_cast<int64_t>(h);
    const int64_t q = area / (static_cast<int64_t>(cellSize) * cellSize);
    const double r = std::sqrt(static_cast<double>(q + 1));
    const int n = r >= static_cast<double>(kMaxNodes) ? kMaxNodes : static_cast<int>(r);
    return MP_iclamp(n, 2, kMaxNodes);
}

int MP_alignDetailPatchRadius(float strength) { return MP_safeTrunc(strength * 54.0f, -10, 54) + 10; }

int MP_alignDetailSampleCount(int K)
{
    int s = 0;
    for (const DiamondRow& d : diamondRows(K))
        s += d.samples;
    return s;
}

int MP_UI_buildAlignmentDetail(void* work, const uint16_t* source, uint16_t* image, int w, int h, int interpolation,
                               float strength, float rangePercent, float quality, int cellSize, float* before,
                               float* after, const uint8_t* reference)
{
    if (!source || !image || w <= 0 || h <= 0)
        return -2;
    mp_align::WorkArea area(work, w, h);
    std::unique_ptr<Meshes> meshes(new (std::nothrow) Meshes);
    if (!reference || !area.ok() || !meshes)
        return -1;
    mp_align::Opening op;
    if (int r = mp_align::openRun(image, reference, w, h, area, false, before, op))
        return r;

    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    // Offsets beyond the image overlap nothing: the limit is held to twice the larger side.
    const int side2 = 2 * MP_imax(w, h);
    const int R = MP_safeTrunc(static_cast<float>(h + w) * 0.5f * 0.01f * rangePercent, -side2, side2) + 4;
    float q = quality;
    if (!(q >= 0.8f))
        q = 0.8f;
    if (q > 0.99999988f)
        q = 0.99999988f;
    const int K = MP_alignDetailPatchRadius(strength);

    NodeSearch ns{reference, area.bitmap, w, h, K, 0, 0, MP_align_detail_equallines_stop, R, diamondRows(K), {}};
    ns.S = MP_alignDetailSampleCount(K);
    ns.e0 = MP_safeTrunc(static_cast<float>(ns.S) * q, 0, ns.S);
    ns.tmpl.resize(static_cast<size_t>(2 * K + 1) * static_cast<size_t>(2 * K + 1));

    Mesh& reg = meshes->regular;
    const int n = MP_alignDetailNodeCount(w, h, cellSize);
    reg.n = n;
    reg.cellW = fw / static_cast<float>(n);
    reg.cellH = fh / static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            reg.X[i][j] = static_cast<float>(j) * (fw / static_cast<float>(n - 1));
            float y = MP_max(0.0f, static_cast<float>(i) * fh / static_cast<float>(n - 1));
            if (!(y < fh))
                y = fh - 1.0f;
            reg.Y[i][j] = y;
        }
    }
    Mesh& sm = meshes->searched;
    sm = reg;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            ns.searchNode(reg, sm, i, j);
    if (MP_UI_GetAlignMeshSmooth())
        smoothMesh(reg, sm, meshes->copy);

    std::memcpy(area.resampled, image, mp_align::pixelsOf(w, h) * 6);
    const Warp warp{image, area.resampled, w, h, interpolation};
    auto moved = [&](int i, int j) { return sm.X[i][j] != reg.X[i][j] || sm.Y[i][j] != reg.Y[i][j]; };
    auto pt = [&](int i, int j) { return EdgePt{reg.X[i][j], sm.X[i][j], sm.Y[i][j]}; };
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = 0; j + 1 < n; ++j) {
            const float yTop = reg.Y[i][j], yBot = reg.Y[i + 1][j + 1];
            const EdgePt A = pt(i, j), B = pt(i, j + 1), C = pt(i + 1, j + 1), D = pt(i + 1, j);
            if (moved(i, j) || moved(i, j + 1) || moved(i + 1, j + 1))
                warp.triangle(yTop, yBot, A, C, B, C);
            if (moved(i, j) || moved(i + 1, j) || moved(i + 1, j + 1))
                warp.triangle(yTop, yBot, A, D, A, C);
        }
    }
    return mp_align::closeRun(image, reference, w, h, area, op.c0, after);
}

int MP_UI_buildAlignmentMicroDetail(void* work, const uint16_t* source, uint16_t* image, int w, int h,
                                    int interpolation, float* before, float* after, const uint8_t* reference)
{
    return MP_UI_buildAlignmentDetail(work, source, image, w, h, interpolation, 0.0f, 0.0f, 0.9f, 10, before, after,
                                      reference);
}
