// Mirror operators XFlip and YFlip: no parameters, no mask, one worker.

#include "engine/effects/mirrors.h"

#include "engine/MP_calccl.h"
#include "engine/core/textures.h"
#include "engine/effects/effectframe.h"

#include <cstring>

namespace {

struct MirrorArgs {
    MP_DriverRun run;
};

void MP_Task_calcPixelXFlip(TaskFuncParams t)
{
    const MP_DriverRun& run = MP_taskArgs<MirrorArgs>(t)->run;
    const size_t rowLen = static_cast<size_t>(run.width) * 3;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const ushort* s = run.src + static_cast<size_t>(y) * rowLen;
        ushort* d = run.dst + static_cast<size_t>(y) * rowLen;
        const ushort* sx = s + rowLen;
        for (int x = 0; x < run.width; ++x, d += 3) {
            sx -= 3;
            d[0] = sx[0];
            d[1] = sx[1];
            d[2] = sx[2];
        }
    }
}

void MP_Task_calcPixelYFlip(TaskFuncParams t)
{
    const MP_DriverRun& run = MP_taskArgs<MirrorArgs>(t)->run;
    const size_t rowLen = static_cast<size_t>(run.width) * 3;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y)
        std::memcpy(run.dst + static_cast<size_t>(y) * rowLen,
                    run.src + static_cast<size_t>(run.height - 1 - y) * rowLen, rowLen * sizeof(ushort));
}

// The block is accepted and not read (no slots, no mask).
int runMirror(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_TaskFunc task)
{
    if (!src || !dst || sizex < 0 || sizey < 0 || srcBpp != 6 || dstBpp != 6)
        return -2;
    MirrorArgs a;
    auto* scratch = static_cast<ushort*>(MP_UpdateBuffer(MP_effectScratchBytes(sizex, sizey, 6)));
    if (!scratch)
        return -1;
    a.run.width = sizex;
    a.run.height = sizey;
    a.run.src = src;
    a.run.dst = scratch;
    MP_runBandPass(task, MP_makeTask(nullptr, &a), sizey, 8);
    return MP_finishEffectDriver(a.run, dst);
}

} // namespace

int MP_calcPixelXFlip(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params*)
{
    return runMirror(sizex, sizey, src, dst, srcBpp, dstBpp, MP_Task_calcPixelXFlip);
}

int MP_calcPixelYFlip(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params*)
{
    return runMirror(sizex, sizey, src, dst, srcBpp, dstBpp, MP_Task_calcPixelYFlip);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelXFlip", MP_calcPixelXFlip},
    {"MP_calcPixelYFlip", MP_calcPixelYFlip},
};
} // namespace
extern const MP_DriverTable MP_drivers_mirrors = MP_driverTable(kDrivers);
