#include "engine/views/panoramaview.h"

#include "engine/core/samplers.h"
#include "engine/core/settings.h"
#include "engine/core/tasks.h"

#include <cmath>

namespace {

struct Vec {
    float x, y, z;
};

struct PanoramaArgs {
    int viewW = 0, viewH = 0, stride = 0, srcW = 0, srcH = 0;
    const uint16_t* src = nullptr;
    Vec tl{}, tr{}, bl{}, br{}; // rotated corners of the image plane
    uint32_t* out = nullptr;
};

Vec rotate(float a, float b, float c, float sy, float cy, float sp, float cp)
{
    const float q = b * sp - c * cp;
    return {a * cy + sy * q, -(b * cp + c * sp), a * sy - cy * q};
}

// Direction of view pixel (x, y), between the rotated corners.
inline Vec direction(const PanoramaArgs& a, int x, int y)
{
    const float fy = static_cast<float>(y), fx = static_cast<float>(x);
    const float vh = static_cast<float>(a.viewH), vw = static_cast<float>(a.viewW);
    const Vec l{a.tl.x + (a.bl.x - a.tl.x) * fy / vh, a.tl.y + (a.bl.y - a.tl.y) * fy / vh,
                a.tl.z + (a.bl.z - a.tl.z) * fy / vh};
    const Vec r{a.tr.x + (a.br.x - a.tr.x) * fy / vh, a.tr.y + (a.br.y - a.tr.y) * fy / vh,
                a.tr.z + (a.br.z - a.tr.z) * fy / vh};
    return {l.x + (r.x - l.x) * fx / vw, l.y + (r.y - l.y) * fx / vw, l.z + (r.z - l.z) * fx / vw};
}

// Source position (u, v) of a direction.
inline void sourcePos(const PanoramaArgs& a, Vec d, float& u, float& v)
{
    const float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    d.x /= len;
    d.y /= len;
    d.z /= len;
    const float s = d.y < -1.0f ? -1.0f : (d.y > 1.0f ? 1.0f : d.y);
    u = static_cast<float>(a.srcW) * (0.5f + std::atan2(d.z, d.x) / -6.283185f);
    v = static_cast<float>(a.srcH) * (0.5f + 2.0f * std::asin(s) / -6.283185f);
}

// A coordinate wrapped once into [0, n) and then held there.
inline int wrapOnce(float c, int n)
{
    int i = c >= -2147483648.0f && c < 2147483648.0f ? static_cast<int>(c) : 0;
    if (i < 0)
        i += n;
    else if (i >= n)
        i -= n;
    return i < 0 ? 0 : (i >= n ? n - 1 : i);
}

inline uint32_t pixelAt(const PanoramaArgs& a, int col, int row)
{
    const uint16_t* p = a.src + (static_cast<size_t>(row) * static_cast<size_t>(a.srcW) + static_cast<size_t>(col)) * 3;
    return 0xFF000000u | static_cast<uint32_t>(p[0] >> 8) << 16 | static_cast<uint32_t>(p[1] >> 8) << 8 |
           static_cast<uint32_t>(p[2] >> 8);
}

constexpr int kBlock = 16;

// One 16 x 16 block with top-left view pixel (x0, y0); rows and columns past
// yEnd and the view width are not drawn.
void drawBlock(const PanoramaArgs& a, int x0, int y0, int yEnd, const float* uc, const float* vc)
{
    // uc / vc: top-left, top-right, bottom-left, bottom-right.
    float umin = uc[0], umax = uc[0], vmin = vc[0], vmax = vc[0];
    for (int k = 1; k < 4; ++k) {
        umin = std::fmin(umin, uc[k]);
        umax = std::fmax(umax, uc[k]);
        vmin = std::fmin(vmin, vc[k]);
        vmax = std::fmax(vmax, vc[k]);
    }
    const float sw = static_cast<float>(a.srcW), sh = static_cast<float>(a.srcH);
    const int rows = (yEnd - y0) < kBlock ? yEnd - y0 : kBlock;
    const int cols = (a.viewW - x0) < kBlock ? a.viewW - x0 : kBlock;
    const bool fast = (umax - umin) < static_cast<float>(a.srcW >> 1) && vmax > 0.05f * sh && vmin < 0.95f * sh;
    for (int j = 0; j < rows; ++j) {
        uint32_t* out = a.out + static_cast<size_t>(y0 + j) * static_cast<size_t>(a.stride) + x0;
        if (!fast) {
            for (int i = 0; i < cols; ++i) {
                float u, v;
                sourcePos(a, direction(a, x0 + i, y0 + j), u, v);
                const MP_float3 c = MP_tex2D16intSeemless(a.srcW, a.srcH, a.src, u, v);
                out[i] = 0xFF000000u | static_cast<uint32_t>(static_cast<int>(65535.0f * c.x) >> 8) << 16 |
                         static_cast<uint32_t>(static_cast<int>(65535.0f * c.y) >> 8) << 8 |
                         static_cast<uint32_t>(static_cast<int>(65535.0f * c.z) >> 8);
            }
            continue;
        }
        const float t = static_cast<float>(j) * 0.0625f;
        const float uL = uc[0] + (uc[2] - uc[0]) * t, vL = vc[0] + (vc[2] - vc[0]) * t;
        const float uR = uc[1] + (uc[3] - uc[1]) * t, vR = vc[1] + (vc[3] - vc[1]) * t;
        const float du = (uR - uL) / 16.0f, dv = (vR - vL) / 16.0f;
        float u = uL, v = vL;
        const bool inside = uL >= 0.0f && uL < sw && vL >= 0.0f && vL < sh && uR >= 0.0f && uR < sw && vR >= 0.0f &&
                            vR < sh;
        if (inside) {
            for (int i = 0; i < cols; ++i, u += du, v += dv) {
                int col = static_cast<int>(u), row = static_cast<int>(v);
                col = col < a.srcW ? col : a.srcW - 1;
                row = row < a.srcH ? row : a.srcH - 1;
                out[i] = pixelAt(a, col, row);
            }
        } else {
            for (int i = 0; i < cols; ++i, u += du, v += dv)
                out[i] = pixelAt(a, wrapOnce(u, a.srcW), wrapOnce(v, a.srcH));
        }
    }
}

} // namespace

void MP_task_CalcPanoramaView(TaskFuncParams p)
{
    const PanoramaArgs& a = *MP_taskArgs<const PanoramaArgs>(p);
    const int start = MP_taskStart(p), end = MP_taskEnd(p);
    for (int y0 = start; y0 < end; y0 += kBlock) {
        float uc[4], vc[4];
        sourcePos(a, direction(a, 0, y0), uc[1], vc[1]);
        sourcePos(a, direction(a, 0, y0 + kBlock), uc[3], vc[3]);
        for (int x0 = 0; x0 < a.viewW; x0 += kBlock) {
            uc[0] = uc[1];
            vc[0] = vc[1];
            uc[2] = uc[3];
            vc[2] = vc[3];
            sourcePos(a, direction(a, x0 + kBlock, y0), uc[1], vc[1]);
            sourcePos(a, direction(a, x0 + kBlock, y0 + kBlock), uc[3], vc[3]);
            drawBlock(a, x0, y0, end, uc, vc);
        }
    }
}

void MP_MT_CalcPanoramaView(int viewWidth, int viewHeight, int rowStride, int srcWidth, int srcHeight,
                            const unsigned short* src, float yaw, float pitch, float zoom, unsigned int* argbOut)
{
    if (!src || !argbOut || viewWidth <= 0 || viewHeight <= 0 || rowStride < viewWidth || srcWidth <= 0 ||
        srcHeight <= 0)
        return;
    if (!std::isfinite(yaw) || !std::isfinite(pitch) || !std::isfinite(zoom) || zoom <= 0.0f)
        return;
    PanoramaArgs a;
    a.viewW = viewWidth;
    a.viewH = viewHeight;
    a.stride = rowStride;
    a.srcW = srcWidth;
    a.srcH = srcHeight;
    a.src = src;
    a.out = argbOut;
    const float sy = std::sin(yaw), cy = std::cos(yaw), sp = std::sin(pitch), cp = std::cos(pitch);
    const float h = 1.0f / zoom, v = 0.5f / zoom;
    a.tl = rotate(-h, -v, 0.7f, sy, cy, sp, cp);
    a.tr = rotate(h, -v, 0.7f, sy, cy, sp, cp);
    a.bl = rotate(-h, v, 0.7f, sy, cy, sp, cp);
    a.br = rotate(h, v, 0.7f, sy, cy, sp, cp);

    // Bands start on block rows, so the picture never depends on the thread
    // count; the last band takes the rows below the last full block row.
    const TaskFuncParams tmpl = MP_makeTask(nullptr, &a);
    const int n = MP_idealThreadCount < 1 ? 1 : MP_idealThreadCount;
    int start = 0;
    for (int k = 1; k <= n; ++k) {
        int end = static_cast<int>(static_cast<float>(k) * static_cast<float>(viewHeight) / static_cast<float>(n));
        end = (end < viewHeight ? end : viewHeight) & ~(kBlock - 1);
        if (k == n)
            end = viewHeight;
        if (end < start)
            end = start;
        TaskFuncParams t = tmpl;
        MP_setTaskRange(t, start, end);
        C_AddTask(MP_task_CalcPanoramaView, t);
        start = end;
    }
    C_WaitTasks();
}
