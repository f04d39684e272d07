#include "engine/series/alignwork.h"

#include "engine/series/alignquality.h"
#include "engine/series/mtb.h"

#include <cmath>
#include <cstring>
#include <new>

namespace mp_align {

WorkArea::WorkArea(void* work, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    const size_t n = pixelsOf(w, h);
    uint8_t* base = static_cast<uint8_t*>(work);
    if (!base) {
        m_own.reset(new (std::nothrow) uint8_t[8 * n]);
        base = m_own.get();
        if (!base)
            return;
    }
    bitmap = base;
    scratch = base + n;
    resampled = reinterpret_cast<uint16_t*>(base + 2 * n);
}

int openRun(const uint16_t* image, const uint8_t* reference, int w, int h, WorkArea& area, bool shiftFlatTest,
            float* before, Opening& out)
{
    MP_convertToMTB4(image, area.bitmap, w, h, &out.p17, &out.p50, &out.p83);
    if (out.p83 < 0.001f || out.p17 > 0.999f)
        return -3;
    if (shiftFlatTest && std::fabs(out.p17 - out.p50) < 0.0001f && std::fabs(out.p83 - out.p50) < 0.0001f)
        return -3;
    MP_smoothMTB(2, w, h, area.bitmap, area.scratch);
    out.c0 = MP_calcMTBcongruence(reference, area.bitmap, w, h);
    if (before)
        *before = out.c0;
    if (out.c0 >= 0.99f)
        return -4;
    return 0;
}

int closeRun(uint16_t* image, const uint8_t* reference, int w, int h, WorkArea& area, float c0, float* after)
{
    MP_convertToMTB4(area.resampled, area.bitmap, w, h, nullptr, nullptr, nullptr);
    MP_smoothMTB(2, w, h, area.bitmap, area.scratch);
    const float c1 = MP_calcMTBcongruence(reference, area.bitmap, w, h);
    if (after)
        *after = c1;
    if (c1 > c0 + MP_align_minimum_improvement && c1 >= MP_def_pic_min_equality) {
        std::memcpy(image, area.resampled, pixelsOf(w, h) * 6);
        return 0;
    }
    return -5;
}

} // namespace mp_align
