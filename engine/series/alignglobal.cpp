#include "engine/series/alignglobal.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/samplers.h"
#include "engine/series/alignquality.h"
#include "engine/series/alignwork.h"

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

using mp_align::offsetOf;
using mp_align::pixelsOf;

namespace {

constexpr float kPi = 3.14159265f;

// ---- Shift ----------------------------------------------------------------------

struct ShiftSearch {
    const uint8_t* ref;
    const uint8_t* bm;
    int w, h, sx, sy;
    float best = 0.0f;
    int bestDx = 0, bestDy = 0;

    // Scores (dx, dy) against the best so far; takes it over when it beats it.
    void score(int dx, int dy)
    {
        const int y0 = dy < 0 ? -dy : 0;
        const int y1 = dy < 0 ? h : h - dy;
        const int x0 = dx < 0 ? -dx : 0;
        const int x1 = dx < 0 ? w : w - dx;
        if (y1 <= y0 || x1 <= x0)
            return; // nothing overlaps: M = 0 never beats the best
        const int64_t rows = (y1 - y0 + sy - 1) / sy;
        const int64_t cols = (x1 - x0 + sx - 1) / sx;
        const int64_t M = rows * cols;
        const int64_t need = static_cast<int64_t>(static_cast<float>(M) * best);
        int64_t count = 0;
        int64_t ahead = M;
        const size_t W = static_cast<size_t>(w);
        for (int y = y0; y < y1; y += sy) {
            const uint8_t* r = ref + static_cast<size_t>(y) * W;
            const uint8_t* b = bm + static_cast<size_t>(y + dy) * W + dx;
            int c = 0;
            for (int x = x0; x < x1; x += sx)
                c += r[x] == b[x];
            count += c;
            ahead -= cols;
            if (ahead + count < need)
                return;
        }
        if (static_cast<float>(count) > static_cast<float>(M) * best) {
            best = static_cast<float>(count) / static_cast<float>(M);
            bestDx = dx;
            bestDy = dy;
        }
    }
};

// Phase 0 takes the offset 0 only, phase 1 the negative offsets, phase 2 the positive.
inline bool inPhase(int offset, int phase)
{
    return phase == 0 ? offset == 0 : (phase == 1 ? offset < 0 : offset > 0);
}

void searchShift(ShiftSearch& s, int R)
{
    const int xs = MP_align_scroll_equallinesx_stop >> 1;
    const int ys = MP_align_scroll_equallinesy_stop >> 1;
    for (int py = 0; py < 3 && s.best < 0.99f; ++py) {
        int runY = 0;
        float lastY = s.best;
        for (int cy = 0; cy <= R && s.best < 0.99f; ++cy) {
            const int dy = offsetOf(cy);
            if (!inPhase(dy, py))
                continue;
            for (int px = 0; px < 3 && s.best < 0.99f; ++px) {
                int runX = 0;
                float lastX = s.best;
                for (int cx = 0; cx <= R && s.best < 0.99f; ++cx) {
                    const int dx = offsetOf(cx);
                    if (!inPhase(dx, px))
                        continue;
                    s.score(dx, dy);
                    if (s.best == lastX) {
                        if (++runX >= xs)
                            break;
                    } else {
                        runX = 0;
                        lastX = s.best;
                    }
                }
            }
            if (s.best == lastY) {
                if (++runY >= ys)
                    break;
            } else {
                runY = 0;
                lastY = s.best;
            }
        }
    }
}

// ---- Zoom and rotation geometry ----------------------------------------------------

struct ZoomRect {
    float x0, y0, x1, y1;
};
inline ZoomRect zoomRect(float fw, float fh, float s, float cx, float cy)
{
    return {cx + (0.0f - cx) * s, cy + (0.0f - cy) * s, cx + (fw - cx) * s, cy + (fh - cy) * s};
}

struct Corners {
    MP_float2 p00, p10, p01, p11;
};
inline MP_float2 rotateCorner(float x, float y, float angle, float cx, float cy)
{
    const float dx = x - cx, dy = y - cy;
    const float r = std::sqrt(dx * dx + dy * dy);
    const float phi = std::atan2(dy, dx) + angle - 1.5707964f;
    return {cx - std::sin(phi) * r, std::cos(phi) * r + cy};
}
inline Corners rotateCorners(float fw, float fh, float angle, float cx, float cy)
{
    return {rotateCorner(0.0f, 0.0f, angle, cx, cy), rotateCorner(fw, 0.0f, angle, cx, cy),
            rotateCorner(0.0f, fh, angle, cx, cy), rotateCorner(fw, fh, angle, cx, cy)};
}
inline MP_float2 lerp2(MP_float2 a, MP_float2 b, float t)
{
    return {a.x * (1.0f - t) + b.x * t, a.y * (1.0f - t) + b.y * t};
}
// trunc(v) lies in 0 .. n - 1 (NaN: no).
inline bool insideAxis(float v, int n) { return v > -1.0f && v < static_cast<float>(n); }

inline bool isImageCentre(int w, int h, float cx, float cy)
{
    return std::fabs(0.5f * static_cast<float>(w) - cx) < 0.001f && std::fabs(0.5f * static_cast<float>(h) - cy) < 0.001f;
}

// Writes the rectangle through the pointers that are not null.
void setRect(int* left, int* top, int* right, int* bottom, int l, int t, int r, int b)
{
    if (left)
        *left = l;
    if (top)
        *top = t;
    if (right)
        *right = r;
    if (bottom)
        *bottom = b;
}

// Sample grid of a scorer: steps w / rate and h / rate (at least 1), with the
// centre's own rate for a candidate at the image centre.
struct ScoreGrid {
    float fw, fh;
    int sx, sy;
};
inline ScoreGrid scoreGrid(int w, int h, float cx, float cy, int rateCentre, int rateOther)
{
    const int rate = MP_imax(1, isImageCentre(w, h, cx, cy) ? rateCentre : rateOther);
    return {static_cast<float>(w), static_cast<float>(h), MP_imax(1, w / rate), MP_imax(1, h / rate)};
}

inline void copyPixel(uint16_t* dst, const uint16_t* src)
{
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
}

// Candidate centres of the zoom and rotation searches: for v, u = 0 .. 2n the
// centre moved by off(v) / (n + 1) of half the height and off(u) / (n + 1) of
// half the width; fn(cx, cy, centred) with centred true for the image centre.
template <typename Fn> void forEachCentre(int n, float fw, float fh, Fn&& fn)
{
    for (int v = 0; v <= 2 * n; ++v) {
        const int ov = offsetOf(v);
        const float cy = 0.5f * fh + static_cast<float>(ov) / static_cast<float>(n + 1) * fh * 0.5f;
        for (int u = 0; u <= 2 * n; ++u) {
            const int ou = offsetOf(u);
            const float cx = 0.5f * fw + static_cast<float>(ou) / static_cast<float>(n + 1) * fw * 0.5f;
            fn(cx, cy, ov == 0 && ou == 0);
        }
    }
}

// The shared front of the three builders: null tests, buffers (none are
// allocated for a missing image), opening. code is 0 to go on, else the result.
struct BuilderRun {
    mp_align::WorkArea area;
    mp_align::Opening op;
    int code = 0;
    BuilderRun(void* work, const uint16_t* source, uint16_t* image, const uint8_t* reference, int w, int h,
               bool shift, float* before)
        : area(source && image ? work : nullptr, source && image ? w : 0, source && image ? h : 0)
    {
        if (!source || !image || w <= 0 || h <= 0)
            code = -2;
        else if (!reference || !area.ok())
            code = -1;
        else
            code = mp_align::openRun(image, reference, w, h, area, shift, before, op);
    }
};

template <typename T> std::unique_ptr<T[]> tryAlloc(size_t n) { return std::unique_ptr<T[]>(new (std::nothrow) T[n]); }

} // namespace

// ---- Shift builder ---------------------------------------------------------------------

int MP_UI_buildAlignmentScroll(void* work, const uint16_t* source, uint16_t* image, int w, int h, float* before,
                               float, float factor, float* after, int* left, int* top, int* right, int* bottom,
                               const uint8_t* reference)
{
    setRect(left, top, right, bottom, 0, 0, w, h);
    BuilderRun run(work, source, image, reference, w, h, true, before);
    if (run.code)
        return run.code;
    mp_align::WorkArea& area = run.area;

    // Offsets beyond the larger side overlap nothing: the range is held there.
    const float span = static_cast<float>(w + h) * 0.5f * MP_align_scroll_radius * factor;
    const int R = 2 * MP_safeTrunc(span, 0, w > h ? w : h);
    const int rate = MP_imax(1, MP_align_scroll_abtastrate);
    ShiftSearch s{reference, area.bitmap, w, h, MP_imax(1, w / rate), MP_imax(1, h / rate)};
    searchShift(s, R);
    const int dx = s.bestDx, dy = s.bestDy;
    if (dx == 0 && dy == 0)
        return -5;

    const size_t W = static_cast<size_t>(w);
    for (int y = 0; y < h; ++y) {
        const uint16_t* src = image + static_cast<size_t>(MP_iclamp(y + dy, 0, h - 1)) * W * 3;
        uint16_t* dst = area.resampled + static_cast<size_t>(y) * W * 3;
        for (int x = 0; x < w; ++x) {
            copyPixel(dst + static_cast<size_t>(x) * 3, src + static_cast<size_t>(MP_iclamp(x + dx, 0, w - 1)) * 3);
        }
    }
    const int r = mp_align::closeRun(image, reference, w, h, area, run.op.c0, after);
    if (r == 0)
        setRect(left, top, right, bottom, -dx, -dy, w - dx, h - dy);
    return r;
}

// ---- Zoom --------------------------------------------------------------------------------

float MP_buildAlignmentZoomSingle(int* columnMap, const uint8_t* reference, const uint8_t* bitmap, int w, int h,
                                  float scale, float cx, float cy, float threshold)
{
    if (!reference || !bitmap || w <= 0 || h <= 0)
        return 0.0f;
    const ScoreGrid g = scoreGrid(w, h, cx, cy, MP_align_zoom_abtastrateC, MP_align_zoom_abtastrate);
    const float fw = g.fw, fh = g.fh;
    const int sx = g.sx, sy = g.sy;
    const ZoomRect z = zoomRect(fw, fh, scale, cx, cy);
    const size_t W = static_cast<size_t>(w);
    const float stepX = (z.x1 - z.x0) * static_cast<float>(sx) / fw;

    // Any size scores through the maps (a missing column map is made here), so
    // images above 29 999 pixels score exactly as smaller ones do.
    std::vector<int> ownMap;
    if (!columnMap) {
        ownMap.resize(W);
        columnMap = ownMap.data();
    }

    // Column map: skip while the position lies left of the image, then map
    // until it leaves on the right.
    int X = 0;
    float xs = z.x0;
    while (X < w && !(xs > -1.0f) && !std::isnan(xs)) {
        X += sx;
        xs += stepX;
    }
    const int firstX = X;
    int cols = 0;
    while (X < w && xs > -1.0f && xs < fw) {
        columnMap[X] = static_cast<int>(xs);
        X += sx;
        xs += stepX;
        ++cols;
    }
    const int endX = X;
    // Row map.
    const float stepY = (z.y1 - z.y0) * static_cast<float>(sy) / fh;
    const int sampledRows = (h + sy - 1) / sy;
    std::vector<int> rowMap(static_cast<size_t>(sampledRows));
    int validRows = 0;
    float ys = z.y0;
    for (int k = 0; k < sampledRows; ++k, ys += stepY) {
        rowMap[static_cast<size_t>(k)] = insideAxis(ys, h) ? static_cast<int>(ys) : -1;
        validRows += rowMap[static_cast<size_t>(k)] >= 0;
    }
    const int64_t M = static_cast<int64_t>(validRows) * cols;
    if (M <= 0)
        return 0.0f;
    const int64_t allowed = threshold > 0.0f ? static_cast<int64_t>((1.0f - threshold) * static_cast<float>(M)) : M;
    int64_t matches = 0, misses = 0;
    for (int k = 0; k < sampledRows; ++k) {
        const int by = rowMap[static_cast<size_t>(k)];
        if (by < 0)
            continue;
        const uint8_t* r = reference + static_cast<size_t>(k) * static_cast<size_t>(sy) * W;
        const uint8_t* b = bitmap + static_cast<size_t>(by) * W;
        int c = 0;
        for (int x = firstX; x < endX; x += sx)
            c += r[x] == b[columnMap[x]];
        matches += c;
        misses += cols - c;
        if (misses > allowed)
            break;
    }
    return static_cast<float>(matches) / static_cast<float>(M);
}

int MP_UI_buildAlignmentZoom(int, void* work, const uint16_t* source, uint16_t* image, int w, int h, float, float,
                             float, int interpolation, float* before, float* after, int* left, int* top, int* right,
                             int* bottom, const uint8_t* reference)
{
    BuilderRun run(work, source, image, reference, w, h, false, before);
    if (run.code)
        return run.code;
    mp_align::WorkArea& area = run.area;
    auto map = tryAlloc<int>(static_cast<size_t>(w));
    if (!map)
        return -1;
    const uint8_t* bm = area.bitmap;
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    const float cx0 = 0.5f * fw, cy0 = 0.5f * fh;
    float b = MP_buildAlignmentZoomSingle(map.get(), reference, bm, w, h, 1.0f, cx0, cy0, 0.0f);
    float bs = 1.0f, bcx = cx0, bcy = cy0;
    const int n = MP_align_zoom_centersteps, S = MP_align_zoom_steps;
    const float P = MP_align_zoom_percent;
    const float fS = static_cast<float>(S);
    forEachCentre(n, fw, fh, [&](float cx, float cy, bool) {
        for (int e = 0; e <= 2 * S; ++e) {
            const int F = offsetOf(e);
            if (F == 0)
                continue;
            const float s = 1.0f - static_cast<float>(F) * P / fS;
            const float c = MP_buildAlignmentZoomSingle(map.get(), reference, bm, w, h, s, cx, cy, b);
            if (c > b) {
                b = c;
                bs = s;
                bcx = cx;
                bcy = cy;
            }
        }
    });
    const float s0 = bs;
    for (int i = 0; i <= 2 * S - 2; ++i) {
        const int F = offsetOf(i);
        if (F == 0)
            continue;
        const float s = s0 - static_cast<float>(F) * P / fS / fS;
        const float c = MP_buildAlignmentZoomSingle(map.get(), reference, bm, w, h, s, bcx, bcy, b);
        if (c > b) {
            bs = s;
            b = c;
        }
    }
    if (std::fabs(bs - 1.0f) <= 0.0001f)
        return -5;

    const ZoomRect z = zoomRect(fw, fh, bs, bcx, bcy);
    const size_t W = static_cast<size_t>(w);
    // Rows and columns without a source keep the image's pixels.
    std::memcpy(area.resampled, image, pixelsOf(w, h) * 6);
    for (int i = 0; i < h; ++i) {
        const float t = static_cast<float>(i) / fh;
        const float ys = z.y0 * (1.0f - t) + z.y1 * t;
        if (!insideAxis(ys, h))
            continue;
        const float xs0 = z.x0 * (1.0f - t) + z.x0 * t;
        const float dx = ((1.0f - t) * z.x1 + t * z.x1 - xs0) / fw;
        uint16_t* row = area.resampled + static_cast<size_t>(i) * W * 3;
        if (interpolation > 0) {
            const float xEnd = fw * dx + xs0;
            if (!(xs0 > -1.0f) || !(xEnd < fw))
                MP_lineclip2D16intAlignToUShort(w, h, image, row, xs0, dx, ys);
            else
                MP_line2D16intAlignToUShort(w, h, image, row, xs0, dx, ys);
        } else {
            const uint16_t* srcRow = image + static_cast<size_t>(static_cast<int>(ys)) * W * 3;
            for (int k = 0; k < w; ++k) {
                const float xs = xs0 + static_cast<float>(k) * dx;
                if (!insideAxis(xs, w))
                    continue;
                copyPixel(row + static_cast<size_t>(k) * 3, srcRow + static_cast<size_t>(static_cast<int>(xs)) * 3);
            }
        }
    }
    const int r = mp_align::closeRun(image, reference, w, h, area, run.op.c0, after);
    if (r == 0 && bs > 1.0f)
        setRect(left, top, right, bottom, MP_safeTrunc(-z.x0, 0, w), MP_safeTrunc(-z.y0, 0, h),
                w - MP_safeTrunc(z.x1 - fw, 0, w), h - MP_safeTrunc(z.y1 - fh, 0, h));
    return r;
}

// ---- Rotation ------------------------------------------------------------------------------

float MP_buildAlignmentRotateSingle(float* columnMap, const uint8_t* reference, const uint8_t* bitmap, int w, int h,
                                    float angle, float cx, float cy, float threshold)
{
    if (!reference || !bitmap || w <= 0 || h <= 0)
        return 0.0f;
    const ScoreGrid g = scoreGrid(w, h, cx, cy, MP_align_rotate_abtastrateC, MP_align_rotate_abtastrate);
    const float fw = g.fw, fh = g.fh;
    const int J = g.sx, K = g.sy;
    const Corners c = rotateCorners(fw, fh, angle, cx, cy);
    const int64_t L = (static_cast<int64_t>(w / J) * h) / K;
    if (L <= 0)
        return 0.0f;
    const int64_t M = threshold > 0.0f ? static_cast<int64_t>(static_cast<float>(L) * threshold) : 0;
    const int count = (w + J - 1) / J;
    const MP_float2 step = {(c.p10.x - c.p00.x) / fw, (c.p10.y - c.p00.y) / fw};
    std::vector<float> own;
    float* offs = columnMap;
    if (!offs) {
        own.resize(static_cast<size_t>(count) * 2);
        offs = own.data();
    }
    for (int k = 0; k < count; ++k) {
        const float X = static_cast<float>(k * J);
        offs[2 * k] = X * step.x;
        offs[2 * k + 1] = X * step.y;
    }
    const size_t W = static_cast<size_t>(w);
    int64_t matches = 0;
    int r = 0;
    for (int Y = 0; Y < h; Y += K, ++r) {
        const float t = static_cast<float>(Y) / fh;
        const MP_float2 start = lerp2(c.p00, c.p01, t);
        const uint8_t* ref = reference + static_cast<size_t>(Y) * W;
        int64_t m = 0;
        for (int k = 0; k < count; ++k) {
            const float px = start.x + offs[2 * k];
            const float py = start.y + offs[2 * k + 1];
            if (!insideAxis(px, w) || !insideAxis(py, h))
                continue;
            m += ref[static_cast<size_t>(k) * static_cast<size_t>(J)] ==
                 bitmap[static_cast<size_t>(static_cast<int>(py)) * W + static_cast<size_t>(static_cast<int>(px))];
        }
        matches += m;
        if (matches + L - static_cast<int64_t>(r - 1) * count < M)
            break;
    }
    return static_cast<float>(matches) / static_cast<float>(L);
}

int MP_UI_buildAlignmentRotate(int, void* work, const uint16_t* source, uint16_t* image, int w, int h, float, float,
                               float, int interpolation, float* before, float* after, int* left, int* top, int* right,
                               int* bottom, const uint8_t* reference)
{
    BuilderRun run(work, source, image, reference, w, h, false, before);
    if (run.code)
        return run.code;
    mp_align::WorkArea& area = run.area;
    auto map = tryAlloc<float>(static_cast<size_t>(w) * 2);
    if (!map)
        return -1;
    const uint8_t* bm = area.bitmap;
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    float b = MP_buildAlignmentRotateSingle(map.get(), reference, bm, w, h, 0.0f, 0.5f * fw, 0.5f * fh, 0.0f);
    float bt = 0.0f, bcx = 0.5f * fw, bcy = 0.5f * fh;
    const int n = MP_align_rotate_centersteps, A = MP_align_rotate_anglesteps;
    const float fA = static_cast<float>(A);
    forEachCentre(n, fw, fh, [&](float cx, float cy, bool centred) {
        for (int t = 0; t <= 2 * A; ++t) {
            const int k = offsetOf(t);
            if (k == 0 && centred)
                continue;
            const float q = std::fabs(static_cast<float>(k)) / fA;
            const float theta =
                (MP_align_rotate_maxangle / 180.0f * MP_sign(static_cast<float>(k)) * (q * q) + 0.0f) * kPi;
            const float c = MP_buildAlignmentRotateSingle(map.get(), reference, bm, w, h, theta, cx, cy, b);
            if (c > b) {
                b = c;
                bt = theta;
                bcx = cx;
                bcy = cy;
            }
        }
    });
    if (std::fabs(bt / kPi * 180.0f) <= 0.0001f)
        return -5;

    const Corners c = rotateCorners(fw, fh, bt, bcx, bcy);
    const size_t W = static_cast<size_t>(w);
    std::memcpy(area.resampled, image, pixelsOf(w, h) * 6);
    for (int i = 0; i < h; ++i) {
        const float t = static_cast<float>(i) / fh;
        const MP_float2 l = lerp2(c.p00, c.p01, t);
        const MP_float2 r = lerp2(c.p10, c.p11, t);
        const MP_float2 step = {(r.x - l.x) / fw, (r.y - l.y) / fw};
        uint16_t* row = area.resampled + static_cast<size_t>(i) * W * 3;
        for (int k = 0; k < w; ++k) {
            const float px = l.x + static_cast<float>(k) * step.x;
            const float py = l.y + static_cast<float>(k) * step.y;
            if (!insideAxis(px, w) || !insideAxis(py, h))
                continue;
            uint16_t* out = row + static_cast<size_t>(k) * 3;
            if (interpolation < 1) {
                copyPixel(out, image + (static_cast<size_t>(static_cast<int>(py)) * W +
                                        static_cast<size_t>(static_cast<int>(px))) * 3);
            } else {
                MP_tex2D16intAlignToUShort(w, h, image, out, px, py);
            }
        }
    }
    const int r = mp_align::closeRun(image, reference, w, h, area, run.op.c0, after);
    if (r == 0)
        setRect(left, top, right, bottom, MP_imax(0, MP_safeTrunc(MP_max(c.p01.x, c.p00.x), -w, w)),
                MP_imax(0, MP_safeTrunc(MP_max(c.p10.y, c.p00.y), -h, h)),
                MP_imin(w, MP_safeTrunc(MP_min(c.p11.x, c.p10.x), -w, 2 * w)),
                MP_imin(h, MP_safeTrunc(MP_min(c.p11.y, c.p01.y), -h, 2 * h)));
    return r;
}
