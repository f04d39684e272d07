#include "engine/views/zoom.h"

#include "engine/core/settings.h"
#include "engine/core/tasks.h"
#include "engine/views/viewargs.h"

#include <cstring>
#include <memory>
#include <new>

using mp_views::Window;

namespace {

// One zoom call: its buffers and checked window. The multi-threaded drivers
// hand it to their band tasks (one block per running call, read-only there).
template <typename T> struct Zoom {
    const T* src;
    T* dst;
    Window w;
    float x0, y0, x1, y1;
};

template <typename T>
bool makeZoom(const T* src, T* dst, float dstW, float dstH, float dstStride, float srcW, float srcH, float x0,
              float y0, float x1, float y1, Zoom<T>& z)
{
    if (!src || !dst)
        return false;
    if (!mp_views::checkWindow(dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z.w))
        return false;
    z.src = src;
    z.dst = dst;
    z.x0 = x0;
    z.y0 = y0;
    z.x1 = x1;
    z.y1 = y1;
    return true;
}

inline int clampIndex(int v, int n) { return v < 0 ? 0 : (v >= n ? n - 1 : v); }

// ---- copy --------------------------------------------------------------------

void copyWindow(const Zoom<uint16_t>& z)
{
    const int sx = static_cast<int>(z.x0);
    const int sy = static_cast<int>(z.y0);
    const size_t srcRow = static_cast<size_t>(z.w.srcW) * 3;
    const size_t dstRow = static_cast<size_t>(z.w.dstStride) * 3;
    const bool inside = sx >= 0 && sy >= 0 && sx + z.w.dstW <= z.w.srcW && sy + z.w.dstH <= z.w.srcH;
    for (int r = 0; r < z.w.dstH; ++r) {
        uint16_t* out = z.dst + dstRow * r;
        if (inside) {
            std::memcpy(out, z.src + srcRow * (sy + r) + static_cast<size_t>(sx) * 3,
                        static_cast<size_t>(z.w.dstW) * 6);
            continue;
        }
        // A window reaching past the source repeats the nearest edge pixel.
        const uint16_t* in = z.src + srcRow * clampIndex(sy + r, z.w.srcH);
        for (int c = 0; c < z.w.dstW; ++c) {
            const uint16_t* p = in + static_cast<size_t>(clampIndex(sx + c, z.w.srcW)) * 3;
            out[c * 3] = p[0];
            out[c * 3 + 1] = p[1];
            out[c * 3 + 2] = p[2];
        }
    }
}

bool isCopy(const Zoom<uint16_t>& z, float dstW, float dstH)
{
    return z.x1 - z.x0 == dstW && z.y1 - z.y0 == dstH;
}

bool isBilinear(const Zoom<uint16_t>& z, float dstW, float dstH)
{
    return (z.x1 - z.x0) / dstW < 2.0f || (z.y1 - z.y0) / dstH < 2.0f;
}

// ---- bilinear ------------------------------------------------------------------

// Sample position to (first index, second index, 14-bit weight of the second).
// A position left of (or above) the source has a negative fraction; its weight
// is 0 so that the first column (row) repeats, as it does past the far edge.
struct Tap {
    int a, b, w;
};

inline Tap tapAt(float f, int n)
{
    const int i = static_cast<int>(f);
    int a = i < 0 ? 0 : i;
    if (a >= n)
        a = n - 1;
    int b = a + 1;
    if (b >= n)
        b = n - 1;
    int w = static_cast<int>((f - static_cast<float>(i)) * 16384.0f);
    if (w < 0)
        w = 0;
    return {a, b, w};
}

// Rows [start, end) of a bilinear zoom with `C` channels per pixel. The column
// table holds the two source offsets (in values) and the horizontal weight.
template <int C> void bilinearRows(const Zoom<uint16_t>& z, int start, int end)
{
    const int n = z.w.dstW;
    std::unique_ptr<int[]> cols(new (std::nothrow) int[static_cast<size_t>(n) * 3]);
    if (!cols)
        return;
    for (int c = 0; c < n; ++c) {
        const Tap t = tapAt(static_cast<float>(c) * z.w.stepX + z.x0, z.w.srcW);
        cols[c * 3] = t.a * C;
        cols[c * 3 + 1] = t.b * C;
        cols[c * 3 + 2] = t.w;
    }
    const size_t srcRow = static_cast<size_t>(z.w.srcW) * C;
    const size_t dstRow = static_cast<size_t>(z.w.dstStride) * C;
    for (int r = start; r < end; ++r) {
        const Tap t = tapAt(static_cast<float>(r) * z.w.stepY + z.y0, z.w.srcH);
        const uint16_t* top = z.src + srcRow * t.a;
        const uint16_t* bottom = z.src + srcRow * t.b;
        const int wy = t.w;
        const int wy1 = 16384 - wy;
        uint16_t* out = z.dst + dstRow * r;
        for (int c = 0; c < n; ++c) {
            const int left = cols[c * 3];
            const int right = cols[c * 3 + 1];
            const int wx = cols[c * 3 + 2];
            const int wx1 = 16384 - wx;
            for (int k = 0; k < C; ++k) {
                const int L = bottom[left + k] * wy + top[left + k] * wy1;
                const int R = bottom[right + k] * wy + top[right + k] * wy1;
                out[c * C + k] = static_cast<uint16_t>(((R >> 14) * wx + (L >> 14) * wx1) >> 14);
            }
        }
    }
}

// ---- area average ----------------------------------------------------------------

// Half-open window [first, last) of one target row or column.
struct Span {
    int first, last;
};

inline Span spanAt(int i, float step, float origin, int half, int n, bool inclusive)
{
    const int o = static_cast<int>(static_cast<float>(i) * step);
    const int base = static_cast<int>(origin);
    int first = base - half + o;
    if (first < 0)
        first = 0;
    int last = base + half + o + (inclusive ? 1 : 0);
    if (last > n)
        last = n;
    return {first, last};
}

void averageRows(const Zoom<uint16_t>& z, int start, int end)
{
    const int n = z.w.dstW;
    const int halfX = static_cast<int>(0.5f * z.w.stepX);
    const int halfY = static_cast<int>(0.5f * z.w.stepY);
    std::unique_ptr<Span[]> cols(new (std::nothrow) Span[static_cast<size_t>(n)]);
    if (!cols)
        return;
    for (int c = 0; c < n; ++c)
        cols[c] = spanAt(c, z.w.stepX, z.x0, halfX, z.w.srcW, false);
    const size_t srcRow = static_cast<size_t>(z.w.srcW) * 3;
    const size_t dstRow = static_cast<size_t>(z.w.dstStride) * 3;
    for (int r = start; r < end; ++r) {
        const Span rows = spanAt(r, z.w.stepY, z.y0, halfY, z.w.srcH, false);
        uint16_t* out = z.dst + dstRow * r;
        for (int c = 0; c < n; ++c) {
            const Span cs = cols[c];
            if (rows.last <= rows.first || cs.last <= cs.first) {
                out[c * 3] = out[c * 3 + 1] = out[c * 3 + 2] = 0;
                continue;
            }
            uint64_t sr = 0, sg = 0, sb = 0;
            for (int y = rows.first; y < rows.last; ++y) {
                const uint16_t* p = z.src + srcRow * y + static_cast<size_t>(cs.first) * 3;
                for (int x = cs.first; x < cs.last; ++x, p += 3) {
                    sr += p[0];
                    sg += p[1];
                    sb += p[2];
                }
            }
            const int count = (cs.last - cs.first) * (rows.last - rows.first);
            const float inv = 1.0f / static_cast<float>(count);
            out[c * 3] = static_cast<uint16_t>(static_cast<int>(static_cast<float>(sr) * inv));
            out[c * 3 + 1] = static_cast<uint16_t>(static_cast<int>(static_cast<float>(sg) * inv));
            out[c * 3 + 2] = static_cast<uint16_t>(static_cast<int>(static_cast<float>(sb) * inv));
        }
    }
}

// ---- band tasks --------------------------------------------------------------------

void taskBilinear(TaskFuncParams p)
{
    bilinearRows<3>(*MP_taskArgs<const Zoom<uint16_t>>(p), MP_taskStart(p), MP_taskEnd(p));
}

void taskAverage(TaskFuncParams p)
{
    averageRows(*MP_taskArgs<const Zoom<uint16_t>>(p), MP_taskStart(p), MP_taskEnd(p));
}

void taskWeightBilinear(TaskFuncParams p)
{
    bilinearRows<1>(*MP_taskArgs<const Zoom<uint16_t>>(p), MP_taskStart(p), MP_taskEnd(p));
}

// One band per ideal thread over the target rows, then one wait.
void runBands(MP_TaskFunc fn, const Zoom<uint16_t>& z)
{
    MP_runSinglePass(fn, MP_makeTask(nullptr, &z), z.w.dstH);
}

} // namespace

// Band tasks as the task framework sees them.
void MP_task_zoomPreviewPictureInterpolate(TaskFuncParams p) { taskBilinear(p); }
void MP_task_zoomPreviewPictureInterpolateLowQuantize(TaskFuncParams p) { taskAverage(p); }

void MP_UI_zoomPreviewPictureSimple(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW, float dstH,
                                    float dstStride, float srcW, float srcH, float x0, float y0, float x1, float y1)
{
    Zoom<uint16_t> z;
    if (makeZoom(src, dst, dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z))
        copyWindow(z);
}

void MP_UI_zoomPreviewPictureInterpolate(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW,
                                         float dstH, float dstStride, float srcW, float srcH, float x0, float y0,
                                         float x1, float y1)
{
    Zoom<uint16_t> z;
    if (makeZoom(src, dst, dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z))
        bilinearRows<3>(z, 0, z.w.dstH);
}

void MP_MT_zoomPreviewPictureInterpolate(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW,
                                         float dstH, float dstStride, float srcW, float srcH, float x0, float y0,
                                         float x1, float y1)
{
    Zoom<uint16_t> z;
    if (makeZoom(src, dst, dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z))
        runBands(MP_task_zoomPreviewPictureInterpolate, z);
}

void MP_UI_zoomPreviewPictureInterpolateLowQuantize(const uint16_t* src, uint16_t* dst, int, int, int, int,
                                                    float dstW, float dstH, float dstStride, float srcW, float srcH,
                                                    float x0, float y0, float x1, float y1)
{
    Zoom<uint16_t> z;
    if (makeZoom(src, dst, dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z))
        averageRows(z, 0, z.w.dstH);
}

void MP_MT_zoomPreviewPictureInterpolateLowQuantize(const uint16_t* src, uint16_t* dst, int, int, int, int,
                                                    float dstW, float dstH, float dstStride, float srcW, float srcH,
                                                    float x0, float y0, float x1, float y1)
{
    Zoom<uint16_t> z;
    if (makeZoom(src, dst, dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z))
        runBands(MP_task_zoomPreviewPictureInterpolateLowQuantize, z);
}

void MP_UI_zoomPreviewPicture(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW, float dstH,
                              float dstStride, float srcW, float srcH, float x0, float y0, float x1, float y1)
{
    Zoom<uint16_t> z;
    if (!makeZoom(src, dst, dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z))
        return;
    if (isCopy(z, dstW, dstH))
        copyWindow(z);
    else if (isBilinear(z, dstW, dstH))
        bilinearRows<3>(z, 0, z.w.dstH);
    else
        averageRows(z, 0, z.w.dstH);
}

void MP_MT_zoomPreviewPicture(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW, float dstH,
                              float dstStride, float srcW, float srcH, float x0, float y0, float x1, float y1)
{
    Zoom<uint16_t> z;
    if (!makeZoom(src, dst, dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z))
        return;
    if (isCopy(z, dstW, dstH))
        copyWindow(z);
    else if (isBilinear(z, dstW, dstH))
        runBands(MP_task_zoomPreviewPictureInterpolate, z);
    else
        runBands(MP_task_zoomPreviewPictureInterpolateLowQuantize, z);
}

void MP_MT_zoomWeightBufferInterpolate(const uint16_t* src, uint16_t* dst, int, int, int, int, float dstW,
                                       float dstH, float dstStride, float srcStride, float srcH, float x0, float y0,
                                       float x1, float y1)
{
    Zoom<uint16_t> z;
    if (makeZoom(src, dst, dstW, dstH, dstStride, srcStride, srcH, x0, y0, x1, y1, z))
        runBands(taskWeightBilinear, z);
}

void MP_UI_zoomPreviewWeightmapInterpolateLowQuantize(const int16_t* src, int16_t* dst, int, int, int, int,
                                                      float dstW, float dstH, float dstStride, float srcW,
                                                      float srcH, float x0, float y0, float x1, float y1)
{
    Zoom<int16_t> z;
    if (!makeZoom(src, dst, dstW, dstH, dstStride, srcW, srcH, x0, y0, x1, y1, z))
        return;
    const int n = z.w.dstW;
    const int halfX = static_cast<int>(0.5f * z.w.stepX);
    const int halfY = static_cast<int>(0.5f * z.w.stepY);
    const size_t srcRow = static_cast<size_t>(z.w.srcW);
    for (int r = 0; r < z.w.dstH; ++r) {
        const Span rows = spanAt(r, z.w.stepY, z.y0, halfY, z.w.srcH, true);
        int16_t* out = z.dst + static_cast<size_t>(z.w.dstStride) * r;
        for (int c = 0; c < n; ++c) {
            const Span cs = spanAt(c, z.w.stepX, z.x0, halfX, z.w.srcW, true);
            if (rows.last <= rows.first || cs.last <= cs.first) {
                out[c] = 0;
                continue;
            }
            int64_t sum = 0;
            for (int y = rows.first; y < rows.last; ++y) {
                const int16_t* p = z.src + srcRow * y;
                for (int x = cs.first; x < cs.last; ++x)
                    sum += p[x];
            }
            const int count = (cs.last - cs.first) * (rows.last - rows.first);
            out[c] = static_cast<int16_t>(static_cast<int>(static_cast<float>(sum) * (1.0f / static_cast<float>(count))));
        }
    }
}
