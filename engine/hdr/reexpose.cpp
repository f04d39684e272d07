#include "engine/hdr/reexpose.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/statistics.h"
#include "engine/views/zoom.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kEntries = 65536;

// A table value in double precision as a 16-bit entry: truncated, and held in
// 0..65535 for slider values outside the curve's range (a negative base or a
// negative exponent).
inline uint16_t entryOf(double v)
{
    if (!(v > 0.0))
        return 0;
    if (v >= 65535.0)
        return 65535;
    return static_cast<uint16_t>(static_cast<int>(v));
}
inline uint16_t entryOf(float v)
{
    return static_cast<uint16_t>(MP_safeTrunc(v, 0, 65535));
}

bool badArguments(int sizex, int sizey, const ushort* src, const ushort* dst, const MP_Params* params)
{
    return !src || !dst || !params || sizex < 0 || sizey < 0;
}

// Every channel of rows [start, end) through a 16-bit table.
void mapRows(const uint16_t* table, const ushort* src, ushort* dst, int width, int start, int end)
{
    const size_t row = static_cast<size_t>(width) * 3;
    const ushort* s = src + static_cast<size_t>(start) * row;
    ushort* d = dst + static_cast<size_t>(start) * row;
    const size_t n = static_cast<size_t>(end - start) * row;
    for (size_t i = 0; i < n; ++i)
        d[i] = table[s[i]];
}

struct ReExposeArgs {
    int width;
    const ushort* src;
    ushort* dst;
    uint16_t* table;
    double exponent;
};

void MP_TaskPre1_calcPixelReExposePicture(TaskFuncParams t)
{
    const ReExposeArgs* a = MP_taskArgs<const ReExposeArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i) {
        const double x = static_cast<double>(static_cast<float>(i) * MP_k);
        a->table[i] = entryOf(std::pow(x, a->exponent) * 65535.0);
    }
}

void MP_Task_calcPixelReExposePicture(TaskFuncParams t)
{
    const ReExposeArgs* a = MP_taskArgs<const ReExposeArgs>(t);
    mapRows(a->table, a->src, a->dst, a->width, MP_taskStart(t), MP_taskEnd(t));
}

// ---- Synthetic exposure ----------------------------------------------------------

struct SyntheticArgs {
    int width;
    const ushort* src;
    ushort* dst;
    float exponent; // table exponent e - 1
    float offset;   // a
    const MP_Params* params;
};

void MP_TaskPre1_calcPixelSyntheticExposePicture(TaskFuncParams t)
{
    const SyntheticArgs* a = MP_taskArgs<const SyntheticArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = MP_pow(static_cast<float>(i) * MP_k, a->exponent);
}

void MP_Task_calcPixelSyntheticExposePicture(TaskFuncParams t)
{
    const SyntheticArgs* a = MP_taskArgs<const SyntheticArgs>(t);
    const float lr = a->params->lumr, lg = a->params->lumg, lb = a->params->lumb;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(a->width) * 3;
        const ushort* s = a->src + row;
        ushort* d = a->dst + row;
        for (int x = 0; x < a->width; ++x, s += 3, d += 3) {
            const MP_float3 c = MP_loadRGB48(s);
            const float lum = lr * c.x + lg * c.y + lb * c.z + 0.001f;
            // A white pixel's lum exceeds 1: the index is held at the table's end.
            const float m = MP_temp_table[MP_tableIndex(lum)];
            MP_storeRGB48Clamped(d, {c.x * m + a->offset, c.y * m + a->offset, c.z * m + a->offset});
        }
    }
}

} // namespace

float MP_reExposeExponent(float p0, float p1)
{
    const float now = (1.0f - p0) + 0.5f;
    const float wanted = (1.0f - p1) + 0.5f;
    return MP_pow(wanted, 1.3f) / MP_pow(now, 1.3f);
}

int MP_calcPixelReExposePicture(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    uint16_t* table = static_cast<uint16_t*>(std::malloc(kEntries * sizeof(uint16_t)));
    if (!table)
        return -1;
    ReExposeArgs a{sizex, src, dst, table,
                   static_cast<double>(MP_reExposeExponent(params->p[0][0], params->p[1][0]))};
    const TaskFuncParams tmpl = MP_makeTask(params, &a);
    MP_runTablePass(MP_TaskPre1_calcPixelReExposePicture, tmpl, kEntries);
    MP_runSinglePass(MP_Task_calcPixelReExposePicture, tmpl, sizey);
    std::free(table);
    return 0;
}

int MP_calcOptimizeReExposePicture(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    uint16_t* table = static_cast<uint16_t*>(std::malloc(kEntries * sizeof(uint16_t)));
    if (!table)
        return -1;
    const float E = MP_reExposeExponent(params->p[0][0], params->p[1][0]);
    for (int i = 0; i < kEntries; ++i)
        table[i] = entryOf(MP_pow(static_cast<float>(i) * MP_k, E) * 65535.0f);
    mapRows(table, src, dst, sizex, 0, sizey);
    std::free(table);
    return 0;
}

int MP_UI_OptimizeSingleExpose(int widthA, int heightA, int widthB, int heightB, ushort* imageA, ushort*,
                               float current, float target, ushort* imageB)
{
    if (!imageA || !imageB || widthA < 0 || heightA < 0 || widthB <= 0 || heightB <= 0)
        return -2;
    const int bw = widthB / 4 > 2 ? widthB / 4 : 2;
    const int bh = heightB / 4 > 2 ? heightB / 4 : 2;
    const size_t values = static_cast<size_t>(bw) * static_cast<size_t>(bh) * 3;
    ushort* reduced = static_cast<ushort*>(std::malloc(values * sizeof(ushort)));
    ushort* work = static_cast<ushort*>(std::malloc(values * sizeof(ushort)));
    MP_Params* params = static_cast<MP_Params*>(std::calloc(1, sizeof(MP_Params)));
    auto release = [&] {
        std::free(reduced);
        std::free(work);
        std::free(params);
    };
    if (!reduced || !work || !params) {
        release();
        return -1;
    }
    const float fbw = static_cast<float>(bw), fbh = static_cast<float>(bh);
    const float fwB = static_cast<float>(widthB), fhB = static_cast<float>(heightB);
    MP_UI_zoomPreviewPicture(imageB, reduced, 0, 0, 0, 0, fbw, fbh, fbw, fwB, fhB, 0.0f, 0.0f, fwB, fhB);
    params->p[0][0] = 0.5f;

    // Positions l/128 around 0.5, halving the step toward the target: at most
    // seven tries; the best is kept, and the image's own mean is the first best.
    float best = current;
    float bestValue = 0.5f;
    int l = 64;
    int h = 64;
    float g = current - target;
    while (std::fabs(g) > 0.001f) {
        std::memcpy(work, reduced, values * sizeof(ushort));
        const float shift = static_cast<float>(l) / 128.0f;
        const float p1 = target > current ? 0.5f + shift : (target < current ? 0.5f - shift : 0.5f);
        params->p[1][0] = p1;
        if (MP_calcOptimizeReExposePicture(bw, bh, work, work, 6, 6, params) != 0) {
            release();
            return -1;
        }
        const float m = MP_UI_GetAverageLuminanceFull(work, fbw, fbh);
        g = m - target;
        if (std::fabs(best - target) > std::fabs(g)) {
            bestValue = p1;
            best = m;
        }
        const int o = (h == 1 || h == -1) ? 0 : std::abs(h / 2);
        h = m >= target ? -o : o;
        l = current <= target ? l + h : l - h;
        if (h == 0)
            break;
    }

    int result = 0;
    if (bestValue != 0.5f) {
        params->p[1][0] = bestValue;
        result = MP_calcOptimizeReExposePicture(widthA, heightA, imageA, imageA, 6, 6, params);
        if (result == 0)
            result = MP_calcOptimizeReExposePicture(widthB, heightB, imageB, imageB, 6, 6, params);
    }
    release();
    return result;
}

int MP_calcPixelSyntheticExposePicture(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    const float s = params->p[0][0];
    float c, e, offset;
    if (s > 0.5f) {
        c = (s - 0.5f) * 2.0f;
        e = 1.0f / (2.0f * c + 1.0f);
        offset = c * 0.5f;
    } else {
        c = (0.5f - s) * 2.0f;
        e = 2.0f * c + 1.0f;
        offset = -c * 0.125f;
    }
    SyntheticArgs a{sizex, src, dst, e - 1.0f, offset, params};
    const TaskFuncParams tmpl = MP_makeTask(params, &a);
    MP_runTablePass(MP_TaskPre1_calcPixelSyntheticExposePicture, tmpl, kEntries);
    MP_runSinglePass(MP_Task_calcPixelSyntheticExposePicture, tmpl, sizey);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelReExposePicture", MP_calcPixelReExposePicture},
    {"MP_calcPixelSyntheticExposePicture", MP_calcPixelSyntheticExposePicture},
};
} // namespace

extern const MP_DriverTable MP_drivers_reexpose = MP_driverTable(kDrivers);
