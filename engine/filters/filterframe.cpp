#include "engine/filters/filterframe.h"

#include "engine/core/pointrows.h"
#include "engine/core/settings.h"

#include <cstdint>
#include <cstring>

namespace mp_filters {

bool g_filterRunWalk = true;
bool g_filterPortable = false;

bool MP_filterHasAvx2()
{
#ifdef MP_FILTERS_X86
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes && !g_filterPortable;
#else
    return false;
#endif
}

int MP_filterCheck(int sizex, int sizey, const ushort* src, const ushort* dst, int srcBpp, int dstBpp,
                   const MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    if (srcBpp != 6 || dstBpp != 6)
        return -2;
    return 0;
}

int MP_beginFilter(MP_DriverRun& run, int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp,
                   MP_Params* params, size_t scratchBytes, int geoSlot, int comboSlot, ushort** scratch)
{
    if (int e = MP_filterCheck(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return e;
    const size_t pixels = pixelCount(sizex, sizey);
    if (pixels == 0)
        return 1; // nothing to do (an empty scratch request gives no buffer)
    if (scratchBytes > 0 && pixels > SIZE_MAX / scratchBytes)
        return -1;
    *scratch = static_cast<ushort*>(MP_UpdateBuffer(pixels * scratchBytes));
    if (!*scratch)
        return -1;
    return MP_beginDriver(run, sizex, sizey, src, dst, params, geoSlot, comboSlot);
}

void MP_prepareFilterWindow(Window& win, const char* kernel, MP_Params* params, const MP_WindowSize& size, int width,
                            int height, bool panorama)
{
    win.width = width;
    win.height = height;
    win.R = MP_iclamp(size.R, 1, kMaxRadius);
    win.step = MP_imax(1, size.step);
    win.panorama = panorama;
    if (kernel)
        MP_completeRowWidths(kernel, params, win.R);
    win.widest = 0;
    for (int ky = -win.R; ky <= win.R; ++ky) {
        win.halfWidth[ky + win.R] = MP_windowRowHalfWidth(params, ky);
        win.widest = MP_imax(win.widest, win.halfWidth[ky + win.R]);
    }
}

namespace {

struct PlaneArgs {
    const ushort* src;
    ushort* plane;
    int width;
    LumWeights w;
};

// The plane's rows with LumWeights::of written out, so that the loop
// vectorises (the same unsigned integer arithmetic).
MP_POINT_BODY void planeRowsBody(const PlaneArgs& a, int start, int end)
{
    const size_t w = static_cast<size_t>(a.width);
    const unsigned wr = a.w.wr, wg = a.w.wg, wb = a.w.wb;
    for (int y = start; y < end; ++y) {
        const ushort* s = a.src + static_cast<size_t>(y) * w * 3;
        ushort* l = a.plane + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x) {
            const unsigned v = (wr * s[3 * x] + wg * s[3 * x + 1] + wb * s[3 * x + 2]) >> 14;
            l[x] = static_cast<ushort>(v > 65535u ? 65535u : v);
        }
    }
}
MP_POINT_ROWS_COPIES(planeRows, PlaneArgs)

void planeTask(TaskFuncParams t)
{
    const PlaneArgs* a = MP_taskArgs<PlaneArgs>(t);
    if (!MP_plainPointLoops()) {
        planeRows(*a, MP_taskStart(t), MP_taskEnd(t));
        return;
    }
    const size_t w = static_cast<size_t>(a->width);
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = a->src + static_cast<size_t>(y) * w * 3;
        ushort* l = a->plane + static_cast<size_t>(y) * w;
        for (size_t x = 0; x < w; ++x, s += 3)
            l[x] = static_cast<ushort>(a->w.of(s));
    }
}

} // namespace

void MP_runFilterPlanePass(const ushort* src, ushort* plane, int width, int height, const MP_Params* params)
{
    PlaneArgs a{src, plane, width, LumWeights::of(params)};
    MP_runSinglePass(planeTask, MP_makeTask(nullptr, &a), height);
}

bool MP_filterCancelled() { return MP_UI_GetIsCalculatingCancelRequest() == 1; }

void MP_copyFilterOutput(ushort* dst, const ushort* out, size_t pixels)
{
    if (MP_filterCancelled() || dst == out)
        return;
    std::memcpy(dst, out, pixels * 6);
}

} // namespace mp_filters
