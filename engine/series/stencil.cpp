#include "engine/series/stencil.h"

#include "engine/core/boxblur.h"
#include "engine/core/driverframe.h"
#include "engine/core/luminance.h"
#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/settings.h"
#include "engine/core/statistics.h"
#include "engine/draw/primitives.h"
#include "engine/series/brushes.h"
#include "engine/tone/bwpoint.h"
#include "engine/views/zoom.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

float stencil_bestx[MP_STENCIL_TASKS];
float stencil_besty[MP_STENCIL_TASKS];
float stencil_bestdist[MP_STENCIL_TASKS];

namespace {

constexpr float kPi = 3.14159265f;

inline bool unitRange(float v) { return v >= 0.0f && v <= 1.0f; }

inline uint16_t* px(uint16_t* img, int w, int x, int y)
{
    return img + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
}
inline const uint16_t* px(const uint16_t* img, int w, int x, int y)
{
    return img + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
}

// Offsets -tR..tR of a disc around c, intersected with 0..n-1 - c.
inline void offsetRange(int tR, int c, int n, int* lo, int* hi)
{
    *lo = MP_imax(-tR, -c);
    *hi = MP_imin(tR, n - 1 - c);
}

inline int centreOf(float n, float f) { return MP_safeTrunc(n * f, -0x3FFFFFFF, 0x3FFFFFFF); }

struct VariationArgs {
    int width, height;
    const uint16_t* src;
    uint16_t* dst;
    int16_t* lum;
    float exponent; // 2 e of the curve
    int d;          // mix of the curve value, of 256
};

struct SearchArgs {
    int w, h;                 // search image
    int index;
    const float* dstX;
    const float* dstY;
    const float* radius;
    const uint16_t* image;
    const uint8_t* mask;
    int phases;
};

} // namespace

int MP_StencilSetForbidden(int width, int height, uint8_t* mask, float x, float y, float radius)
{
    if (!mask)
        return -2;
    if (width <= 0 || height <= 0)
        return 0;
    const int cx = centreOf(static_cast<float>(width), x);
    const int cy = centreOf(static_cast<float>(height), y);
    const float R = static_cast<float>(width < height ? width : height) * radius;
    const float R2 = R > 0.0f ? R * R : 1.0000001e-6f;
    const int tR = MP_safeTrunc(R, 0, width + height);
    int dy0, dy1, dx0, dx1;
    offsetRange(tR, cy, height, &dy0, &dy1);
    offsetRange(tR, cx, width, &dx0, &dx1);
    for (int dy = dy0; dy <= dy1; ++dy) {
        uint8_t* row = mask + static_cast<size_t>(cy + dy) * static_cast<size_t>(width);
        const float lim = R2 - static_cast<float>(dy * dy);
        for (int dx = dx0; dx <= dx1; ++dx)
            if (static_cast<float>(dx * dx) < lim)
                row[cx + dx] = 1;
    }
    return 0;
}

int MP_UI_StencilCopy(int width, int height, uint16_t* dst, const uint16_t* src, float dstX, float dstY,
                      float radius, float srcX, float srcY)
{
    if (!dst || !src)
        return -2;
    if (width <= 0 || height <= 0)
        return 0;
    const int dcx = centreOf(static_cast<float>(width), dstX), dcy = centreOf(static_cast<float>(height), dstY);
    const int scx = centreOf(static_cast<float>(width), srcX), scy = centreOf(static_cast<float>(height), srcY);
    const float R = static_cast<float>(width < height ? width : height) * radius;
    float g = 999999.875f, R2 = 1.0000001e-6f;
    if (R > 0.0f) {
        R2 = R * R;
        g = 1.0f / R2;
    }
    const int tR = MP_safeTrunc(R, 0, width + height);
    int dy0, dy1, dx0, dx1, sy0, sy1, sx0, sx1;
    offsetRange(tR, dcy, height, &dy0, &dy1);
    offsetRange(tR, scy, height, &sy0, &sy1);
    offsetRange(tR, dcx, width, &dx0, &dx1);
    offsetRange(tR, scx, width, &sx0, &sx1);
    dy0 = MP_imax(dy0, sy0);
    dy1 = MP_imin(dy1, sy1);
    dx0 = MP_imax(dx0, sx0);
    dx1 = MP_imin(dx1, sx1);
    for (int dy = dy0; dy <= dy1; ++dy) {
        for (int dx = dx0; dx <= dx1; ++dx) {
            const float A = static_cast<float>(dx * dx + dy * dy);
            if (!(A < R2))
                continue;
            const float t = A * g;
            const int wgt = MP_safeTrunc((1.0f - t * t * t) * 4096.0f, 0, 4096);
            uint16_t* d = px(dst, width, dcx + dx, dcy + dy);
            const uint16_t* s = px(src, width, scx + dx, scy + dy);
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<uint16_t>((d[c] * (4096 - wgt) + s[c] * wgt) >> 12);
        }
    }
    return 0;
}

void MP_UI_StencilCopyAll(int count, const float* dstX, const float* dstY, const float* radius, const float* srcX,
                          const float* srcY, int width, int height, uint16_t* dst, const uint16_t* src)
{
    if (!dstX || !dstY || !radius || !srcX || !srcY || count <= 0)
        return;
    for (int i = 0; i < count; ++i)
        if (unitRange(dstX[i]) && unitRange(dstY[i]) && unitRange(srcX[i]) && unitRange(srcY[i]))
            MP_UI_StencilCopy(width, height, dst, src, dstX[i], dstY[i], radius[i], srcX[i], srcY[i]);
}

// ---- Variation view ------------------------------------------------------------------

void MP_TaskPre2_StencilCalcVariationToBuffer(TaskFuncParams t)
{
    const VariationArgs* a = MP_taskArgs<VariationArgs>(t);
    const size_t W = static_cast<size_t>(a->width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const uint16_t* s = a->src + static_cast<size_t>(y) * W * 3;
        int16_t* l = a->lum + static_cast<size_t>(y) * W;
        for (size_t x = 0; x < W; ++x)
            l[x] = static_cast<int16_t>((s[3 * x] + 2 * s[3 * x + 1] + s[3 * x + 2]) >> 3);
    }
}

void MP_TaskPre1_StencilCalcVariationToBuffer(TaskFuncParams t)
{
    const VariationArgs* a = MP_taskArgs<VariationArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = std::pow(static_cast<float>(i) / 65535.0f, a->exponent) * 65535.0f;
}

void MP_MT_StencilCalcVariationToBuffer(TaskFuncParams t)
{
    const VariationArgs* a = MP_taskArgs<VariationArgs>(t);
    const int w = a->width, h = a->height;
    const size_t W = static_cast<size_t>(w);
    const int64_t d = a->d;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const int16_t* rows[3] = {a->lum + static_cast<size_t>(MP_imax(y - 1, 0)) * W, a->lum + static_cast<size_t>(y) * W,
                                  a->lum + static_cast<size_t>(MP_imin(y + 1, h - 1)) * W};
        const uint16_t* s = a->src + static_cast<size_t>(y) * W * 3;
        uint16_t* o = a->dst + static_cast<size_t>(y) * W * 3;
        for (int x = 0; x < w; ++x) {
            const int xl = MP_imax(x - 1, 0), xr = MP_imin(x + 1, w - 1);
            const int64_t l = rows[1][x];
            int64_t sum = 0; // 8 x 32767^2 needs more than 32 bits
            for (int r = 0; r < 3; ++r) {
                const int cols[3] = {xl, x, xr};
                for (int c = 0; c < 3; ++c) {
                    if (r == 1 && c == 1)
                        continue;
                    const int64_t diff = l - rows[r][cols[c]];
                    sum += diff * diff;
                }
            }
            const int V = MP_safeTrunc(std::sqrt(static_cast<float>(sum) * 1.1642243e-10f) * 65535.0f, 0, 65535);
            const int64_t T = MP_safeTrunc(MP_temp_table[V], 0, 65535);
            for (int c = 0; c < 3; ++c) {
                const int64_t v = (T * d + static_cast<int64_t>(s[3 * x + c]) * (256 - d)) >> 8;
                o[3 * x + c] = static_cast<uint16_t>(v < 0 ? 0 : (v > 65535 ? 65535 : v));
            }
        }
    }
}

void MP_UI_StencilCalcVariationToBuffer(int width, int height, const uint16_t* src, uint16_t* dst, float intensity)
{
    if (!src || !dst || width <= 0 || height <= 0)
        return;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::unique_ptr<int16_t[]> lum(new (std::nothrow) int16_t[n]);
    if (!lum)
        return;
    VariationArgs a{width, height, src, dst, lum.get(), 0.0f, 0};
    const TaskFuncParams tmpl = MP_makeTask(nullptr, &a);
    MP_runSinglePass(MP_TaskPre2_StencilCalcVariationToBuffer, tmpl, height);
    MP_Params blur{};
    blur.p[0][0] = 6.0f;
    blur.p[1][0] = 2.0f;
    if (MP_BlurSignedShortBuffer(width, height, lum.get(), lum.get(), 2, 2, &blur) != 0)
        return;
    const float e = 0.8f - 0.5f * intensity;
    a.exponent = 2.0f * e;
    MP_runTablePass(MP_TaskPre1_StencilCalcVariationToBuffer, tmpl, 65536);
    const float f = 0.96f + 0.04f * intensity;
    a.d = MP_safeTrunc(256.0f * f, -(1 << 20), 1 << 20);
    MP_runSinglePass(MP_MT_StencilCalcVariationToBuffer, tmpl, height);
    lum.reset();

    MP_Params p{};
    p.loopstep = MP_UI_GetLoopstep();
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.kernel_exponent = MP_UI_GetKernelExponent();
    p.previewscalingfactor = 1.0f;
    MP_UI_GetMinMaxLuminance(dst, &p.lummin, &p.lummax, static_cast<float>(width), static_cast<float>(height));
    p.p[0][0] = 0.0f;
    p.p[0][1] = 100.0f;
    p.width = width;
    p.height = height;
    MP_calcPixelautomaticbwpoint(width, height, dst, dst, 6, 6, &p);
}

// ---- Best source position ----------------------------------------------------------------

void MP_task_StencilFindBestMatch(TaskFuncParams t)
{
    const SearchArgs* a = MP_taskArgs<SearchArgs>(t);
    const int task = static_cast<int>(t.w[0]);
    const int w = a->w, h = a->h;
    const float rad = a->radius[a->index];
    const float minSide = static_cast<float>(w < h ? w : h);
    const float R = minSide * rad;
    const int Ri = MP_safeTrunc(R, 0, w + h);
    auto write = [&](int64_t best, int bx, int by, int count) {
        stencil_bestx[task] = static_cast<float>(bx) / static_cast<float>(w);
        stencil_besty[task] = static_cast<float>(by) / static_cast<float>(h);
        stencil_bestdist[task] = static_cast<float>(best) / static_cast<float>(count) / 65535.0f / 3.0f / 5.0f;
    };
    if (2 * Ri >= h || 2 * Ri >= w) {
        write(15, -1, -1, 1); // no candidate fits: the largest distance
        stencil_bestdist[task] = 1.0f;
        return;
    }
    const int count = MP_safeTrunc(MP_max(1.0f, minSide * rad * (kPi / 2.0f)), 1, 1 << 20);
    struct Ray {
        int dx[5], dy[5];
        int ref[15];
        bool ok;
    };
    std::unique_ptr<Ray[]> rays(new (std::nothrow) Ray[static_cast<size_t>(count)]);
    if (!rays) {
        write(15, -1, -1, 1);
        stencil_bestdist[task] = 1.0f;
        return;
    }
    const int dcx = centreOf(static_cast<float>(w), a->dstX[a->index]);
    const int dcy = centreOf(static_cast<float>(h), a->dstY[a->index]);
    for (int k = 0; k < count; ++k) {
        Ray& r = rays[static_cast<size_t>(k)];
        const float ang = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(count);
        const float s = std::sin(ang), c = std::cos(ang);
        r.ok = true;
        for (int j = 0; j < 5; ++j) {
            const float tj = 0.95f * R * static_cast<float>(j) / 4.0f + 1.05f * R * static_cast<float>(4 - j) / 4.0f;
            r.dx[j] = static_cast<int>(s * tj);
            r.dy[j] = static_cast<int>(c * tj);
            // A ray counts only when all its destination samples lie inside.
            const int x = dcx + r.dx[j], y = dcy + r.dy[j];
            if (x < 0 || x >= w || y < 0 || y >= h) {
                r.ok = false;
                continue;
            }
            const uint16_t* p = px(a->image, w, x, y);
            r.ref[3 * j] = p[0];
            r.ref[3 * j + 1] = p[1];
            r.ref[3 * j + 2] = p[2];
        }
    }
    // The rays that count, with their sample offsets in channel values.
    struct Probe {
        ptrdiff_t off[5]; // sample offsets in channel values
        int dx0, dy0;     // the outer sample
        const int* ref;
    };
    std::vector<Probe> probes;
    probes.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const Ray& r = rays[static_cast<size_t>(k)];
        if (!r.ok)
            continue;
        Probe pr;
        for (int j = 0; j < 5; ++j)
            pr.off[j] = (static_cast<ptrdiff_t>(r.dy[j]) * w + r.dx[j]) * 3;
        pr.dx0 = r.dx[0];
        pr.dy0 = r.dy[0];
        pr.ref = r.ref;
        probes.push_back(pr);
    }
    int64_t best = 15LL * count * 65535;
    int bx = -1, by = -1;
    const int start = MP_imax(MP_taskStart(t), Ri), end = MP_imin(MP_taskEnd(t), h - Ri);
    for (int y = start; y < end; ++y) {
        const uint8_t* mrow = a->mask + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = task; x < w - Ri; x += a->phases) {
            if (x < Ri || mrow[x])
                continue;
            const uint16_t* c = px(a->image, w, x, y);
            int64_t sum = 0;
            for (size_t k = 0; k < probes.size() && sum < best; ++k) {
                const Probe& pr = probes[k];
                const int x0 = x + pr.dx0, y0 = y + pr.dy0;
                if (x0 < 0 || x0 >= w || y0 < 0 || y0 >= h)
                    continue;
                int part = 0;
                for (int j = 0; j < 5; ++j) {
                    const uint16_t* p = c + pr.off[j];
                    part += std::abs(p[0] - pr.ref[3 * j]) + std::abs(p[1] - pr.ref[3 * j + 1]) +
                            std::abs(p[2] - pr.ref[3 * j + 2]);
                }
                sum += part;
            }
            if (sum < best) {
                best = sum;
                bx = x;
                by = y;
            }
        }
    }
    write(best, bx, by, count);
}

int MP_MT_StencilFindBestMatch(int count, int index, const float* dstX, const float* dstY, const float* radius,
                               int width, float quality, int height, const uint16_t* rgb48, float* outX, float* outY)
{
    if (!dstX || !dstY || !radius || !outX || !outY || !rgb48)
        return -2;
    if (count <= 0 || index < 0 || index >= count || width <= 0 || height <= 0)
        return -2;
    const double t0 = MP_UI_GetActualTime();
    if (!unitRange(dstX[index]) || !unitRange(dstY[index])) {
        *outX = -1.0f;
        *outY = -1.0f;
        return -3;
    }
    // A quality below -1/3 (or NaN) would never end the reduction.
    float q = quality;
    if (!(q >= 0.0f))
        q = std::isnan(q) ? 1.0f : 0.0f;
    if (q > 1.0f)
        q = 1.0f;
    const float W = static_cast<float>(width), H = static_cast<float>(height);
    float fw = W, fh = H;
    if (q < 1.0f) {
        const float area = W * H * (0.75f * q + 0.25f);
        while (fw * fh > area) {
            fw *= 0.99f;
            fh *= 0.99f;
        }
    }
    const int w = MP_imax(1, static_cast<int>(fw)), h = MP_imax(1, static_cast<int>(fh));
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    std::unique_ptr<uint16_t[]> img(new (std::nothrow) uint16_t[n * 3]);
    std::unique_ptr<uint8_t[]> mask(new (std::nothrow) uint8_t[n]);
    if (!img || !mask) {
        *outX = -1.0f;
        *outY = -1.0f;
        return -1;
    }
    if (q < 1.0f)
        MP_MT_zoomPreviewPicture(rgb48, img.get(), 0, 0, 0, 0, static_cast<float>(w), static_cast<float>(h),
                                 static_cast<float>(w), W, H, 0.0f, 0.0f, W, H);
    else
        std::memcpy(img.get(), rgb48, n * 6);
    std::memset(mask.get(), 0, n);
    const float pixel = 1.0f / static_cast<float>(width < height ? width : height);
    for (int i = 0; i < count; ++i)
        MP_StencilSetForbidden(w, h, mask.get(), dstX[i], dstY[i], radius[i] + radius[index] + pixel);

    // A fixed number of column phases, so the tie between equal candidates
    // never depends on the machine's thread count.
    SearchArgs args{w, h, index, dstX, dstY, radius, img.get(), mask.get(), MP_STENCIL_TASKS};
    for (int t = 0; t < MP_STENCIL_TASKS; ++t) {
        TaskFuncParams p = MP_makeTask(nullptr, &args, static_cast<uint64_t>(t));
        MP_setTaskRange(p, 0, height);
        C_AddTask(MP_task_StencilFindBestMatch, p);
    }
    C_WaitTasks();
    int win = 0;
    for (int t = 1; t < MP_STENCIL_TASKS; ++t)
        if (stencil_bestdist[t] < stencil_bestdist[win])
            win = t;
    const float bx = stencil_bestx[win], by = stencil_besty[win];
    *outX = bx;
    *outY = by;
    std::printf("%6.2f ms - MP_StencilFindBestMatch - ME: %8.6f\n", MP_UI_CalcTimeDifference(t0),
                static_cast<double>(stencil_bestdist[win]));
    return (bx < 0.0f || by < 0.0f) ? -3 : 0;
}

// ---- Overlay -------------------------------------------------------------------------------

void MP_UI_StencilPaint2BufferAll(int count, const float* dstX, const float* dstY, const float* radius,
                                  const float* srcX, const float* srcY, int width, int height, uint16_t* rgb48)
{
    if (!dstX || !dstY || !radius || !srcX || !srcY || !rgb48 || count <= 0 || width <= 0 || height <= 0)
        return;
    const float s = static_cast<float>(width < height ? width : height);
    const float ox = 1.0f / static_cast<float>(width), oy = 1.0f / static_cast<float>(height);
    for (int i = 0; i < count; ++i) {
        if (unitRange(dstX[i]) && unitRange(dstY[i]) && unitRange(srcX[i]) && unitRange(srcY[i])) {
            const float ax = srcX[i] * static_cast<float>(width), ay = srcY[i] * static_cast<float>(height);
            const float bx = dstX[i] * static_cast<float>(width), by = dstY[i] * static_cast<float>(height);
            const float len = std::sqrt((bx - ax) * (bx - ax) + (by - ay) * (by - ay));
            const float cut = s * 0.5f * radius[i];
            if (len > 2.0f * cut && len > 0.0f) {
                const float ux = (bx - ax) / len, uy = (by - ay) / len;
                const float x0 = ax + ux * cut, y0 = ay + uy * cut;
                const float x1 = bx - ux * cut, y1 = by - uy * cut;
                MP_lineToBuffer(rgb48, width, height, 65535, 0, 0, x0, y0, x1, y1);
                if ((len - 2.0f * cut) / s > 0.01f) {
                    const float head = 0.01f * s;
                    const float back = std::atan2(-uy, -ux);
                    for (float turn : {0.6108653f, -0.6108653f}) {
                        const float a = back + turn;
                        MP_lineToBuffer(rgb48, width, height, 65535, 0, 0, x1, y1, x1 + std::cos(a) * head,
                                        y1 + std::sin(a) * head);
                    }
                }
            }
            MP_paintCircle(9, width, height, rgb48, 0, 0, srcX[i] + ox, srcY[i] + oy, radius[i], 0);
            MP_paintCircle(9, width, height, rgb48, 0, 255, srcX[i], srcY[i], radius[i], 0);
        }
        MP_paintCircle(1, width, height, rgb48, 0, 0, dstX[i] + ox, dstY[i] + oy, radius[i], 0);
        MP_paintCircle(1, width, height, rgb48, 255, 255, dstX[i], dstY[i], radius[i], 255);
    }
}
