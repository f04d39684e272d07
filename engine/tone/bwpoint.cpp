#include "engine/tone/bwpoint.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/progress.h"
#include "engine/core/statistics.h"
#include "engine/core/textures.h"
#include "engine/views/zoom.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kTableEntries = 65536;
constexpr size_t kTableBytes = kTableEntries * sizeof(uint16_t);  // 131,072
constexpr size_t kRGBTableBytes = 3 * kTableBytes;                  // 393,216
constexpr float kBinToLum = 1.52587890625e-05f;                     // 1/65536, exactly

struct BWArgs {
    MP_DriverRun run;
    uint16_t* table = nullptr; // the stretch table (red, green, blue one after the other for RGB)
    float lummin = 0.0f;       // points of the table being built
    float lummax = 1.0f;
    float S = 0.0f, M = 0.0f, L = 0.0f;   // percentile points
    const uint16_t* stretched = nullptr; // the weighted driver's stretched copy
};

inline size_t pixelIndex(const MP_DriverRun& run, int x, int y)
{
    return (static_cast<size_t>(y) * static_cast<size_t>(run.width) + static_cast<size_t>(x)) * 3;
}

bool badArguments(int sizex, int sizey, const ushort* src, const ushort* dst, const MP_Params* params)
{
    return !src || !dst || !params || sizex < 0 || sizey < 0;
}

// ---- Table -------------------------------------------------------------------------

// Entry i: (i/65535 - lummin) / (lummax - lummin), clamped to 0..1, times 65535
// truncated; a range that is not positive shifts without stretching.
void MP_TaskPre1_calcPixelbwpoint(TaskFuncParams t)
{
    const BWArgs* a = MP_taskArgs<const BWArgs>(t);
    const float range = a->lummax - a->lummin;
    const float f = range > 0.0f ? 1.0f / range : 1.0f;
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i) {
        const float d = (static_cast<float>(i) * MP_k - a->lummin) * f;
        uint16_t v;
        if (!(d >= 0.0f)) // below 0, or NaN from a broken point
            v = 0;
        else if (d > 1.0f)
            v = 65535;
        else
            v = static_cast<uint16_t>(static_cast<int>(d * 65535.0f));
        a->table[i] = v;
    }
}

void buildTable(BWArgs& a, uint16_t* table, float lummin, float lummax)
{
    a.table = table;
    a.lummin = lummin;
    a.lummax = lummax;
    MP_runTablePass(MP_TaskPre1_calcPixelbwpoint, MP_makeTask(a.run.params, &a), kTableEntries);
}

// ---- Workers ---------------------------------------------------------------------------

// Every channel through the table (one table, or one per channel).
template <bool PerChannel>
void stretchRows(const BWArgs& a, int start, int end)
{
    const MP_DriverRun& run = a.run;
    const uint16_t* tr = a.table;
    const uint16_t* tg = PerChannel ? a.table + kTableEntries : a.table;
    const uint16_t* tb = PerChannel ? a.table + 2 * kTableEntries : a.table;
    for (int y = start; y < end; ++y) {
        const ushort* s = run.src + pixelIndex(run, 0, y);
        ushort* d = run.dst + pixelIndex(run, 0, y);
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            const ushort r = tr[s[0]], g = tg[s[1]], b = tb[s[2]];
            d[0] = r;
            d[1] = g;
            d[2] = b;
        }
    }
}

void MP_Task_calcPixelbwpoint(TaskFuncParams t)
{
    stretchRows<false>(*MP_taskArgs<const BWArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}

void MP_Task_calcPixelautomaticbwpoint(TaskFuncParams t)
{
    const BWArgs* a = MP_taskArgs<const BWArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a](MP_float3, int x, int y) {
        const ushort* s = a->run.src + pixelIndex(a->run, x, y);
        return MP_float3{static_cast<float>(a->table[s[0]]) * MP_k, static_cast<float>(a->table[s[1]]) * MP_k,
                         static_cast<float>(a->table[s[2]]) * MP_k};
    });
}

void MP_Task_calcPixelManualRGBpoint(TaskFuncParams t)
{
    const BWArgs* a = MP_taskArgs<const BWArgs>(t);
    const uint16_t* tr = a->table;
    const uint16_t* tg = a->table + kTableEntries;
    const uint16_t* tb = a->table + 2 * kTableEntries;
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [=](MP_float3, int x, int y) {
        const ushort* s = a->run.src + pixelIndex(a->run, x, y);
        return MP_float3{static_cast<float>(tr[s[0]]) * MP_k, static_cast<float>(tg[s[1]]) * MP_k,
                         static_cast<float>(tb[s[2]]) * MP_k};
    });
}

void MP_Task_calcPixelManualRGBpointReduced(TaskFuncParams t)
{
    stretchRows<true>(*MP_taskArgs<const BWArgs>(t), MP_taskStart(t), MP_taskEnd(t));
}

// The family's bands: N bands in one pass, no chunks, no progress.
void runBands(BWArgs& a, MP_TaskFunc full, MP_TaskFunc reduced)
{
    MP_runSinglePass(a.run.full || !reduced ? full : reduced, MP_makeTask(a.run.params, &a), a.run.height);
}

// ---- Percentiles ------------------------------------------------------------------------

// The percentile curve: black below the shadow point S, a quadratic ease-in up
// to the mid-tone point M (target 0.5), an ease-out up to the light point L
// (target 1) and a slow fall beyond it; the colour keeps its hue.
inline MP_float3 percentileColour(const BWArgs& a, MP_float3 c0, const MP_Params* p)
{
    const float lum = p->lumr * c0.x + p->lumg * c0.y + p->lumb * c0.z;
    float w;
    if (lum >= a.L) {
        const float t = a.L - lum;
        w = (1.0f - t * t) * 0.5f + 0.5f;
    } else if (lum >= a.M) {
        const float t = 1.0f - (lum - a.M) / (a.L - a.M + 0.001f);
        w = (1.0f - t * t) * 0.5f + 0.5f;
    } else if (lum >= a.S) {
        const float t = (lum - a.S) / (a.M - a.S + 0.001f);
        w = t * t * 0.5f;
    } else {
        return {0.0f, 0.0f, 0.0f};
    }
    const float g = w / (lum + 0.001f);
    return {c0.x * g, c0.y * g, c0.z * g};
}

void MP_Task_calcPixelpercentbwpoint(TaskFuncParams t)
{
    const BWArgs* a = MP_taskArgs<const BWArgs>(t);
    const MP_Params* p = a->run.params;
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a, p](MP_float3 c0, int, int) { return percentileColour(*a, c0, p); });
}

void MP_Task_calcPixelpercentbwpointReduced(TaskFuncParams t)
{
    const BWArgs* a = MP_taskArgs<const BWArgs>(t);
    const MP_Params* p = a->run.params;
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a, p](MP_float3 c0, int, int) { return percentileColour(*a, c0, p); });
}

// A threshold count: the single-precision product truncated, held inside
// 0..count (at "Lichter" 1 the product can exceed a count that single
// precision does not hold exactly).
int64_t threshold(float product, int64_t count)
{
    if (!(product > 0.0f))
        return 0;
    if (product >= static_cast<float>(count))
        return count;
    const int64_t v = static_cast<int64_t>(product);
    return v > count ? count : v;
}

// The first bin whose cumulative count reaches the threshold; with the
// threshold held to the count this is at the latest the highest occupied bin.
int percentileBin(const uint64_t* cumulative, int64_t thr)
{
    for (int i = 0; i < kTableEntries; ++i)
        if (static_cast<int64_t>(cumulative[i]) >= thr)
            return i;
    return kTableEntries - 1;
}

// ---- Weighted ---------------------------------------------------------------------------

void MP_Task_calcPixelWeighedBW(TaskFuncParams t)
{
    const BWArgs* a = MP_taskArgs<const BWArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a](MP_float3, int x, int y) {
        return MP_loadRGB48(a->stretched + pixelIndex(a->run, x, y));
    });
}

} // namespace

int MP_bwPercentileBin(const uint64_t* cumulative, float product, int64_t count)
{
    return percentileBin(cumulative, threshold(product, count));
}

int MP_calcPixelbwpoint(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    uint16_t* table = static_cast<uint16_t*>(MP_UpdateBuffer(kTableBytes));
    if (!table)
        return -1;
    BWArgs a;
    a.run.width = sizex;
    a.run.height = sizey;
    a.run.src = src;
    a.run.dst = dst;
    a.run.params = params;
    buildTable(a, table, params->lummin, params->lummax);
    MP_runSinglePass(MP_Task_calcPixelbwpoint, MP_makeTask(params, &a), sizey);
    return 0;
}

int MP_calcPixelautomaticbwpoint(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    uint16_t* table = static_cast<uint16_t*>(MP_UpdateBuffer(kTableBytes));
    if (!table)
        return -1;
    BWArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 1, 0))
        return r;
    buildTable(a, table, params->lummin, params->lummax);
    runBands(a, MP_Task_calcPixelautomaticbwpoint, MP_Task_calcPixelbwpoint);
    return 0;
}

int MP_calcPixelmanualbwpoint(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    uint16_t* table = static_cast<uint16_t*>(MP_UpdateBuffer(kTableBytes));
    if (!table)
        return -1;
    BWArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    // The two points can never meet: black over 0..0.499, white over 0.501..1.
    params->lummin = 0.499f * params->p[0][0];
    params->lummax = 0.501f + 0.499f * params->p[1][0];
    buildTable(a, table, params->lummin, params->lummax);
    runBands(a, MP_Task_calcPixelautomaticbwpoint, MP_Task_calcPixelbwpoint);
    return 0;
}

int MP_calcPixelManualRGBpoint(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    uint16_t* tables = static_cast<uint16_t*>(MP_UpdateBuffer(kRGBTableBytes));
    if (!tables)
        return -1;
    BWArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 7, 6))
        return r;
    for (int c = 0; c < 3; ++c) {
        params->lummin = 0.499f * params->p[2 * c][0];
        params->lummax = 0.501f + 0.499f * params->p[2 * c + 1][0];
        buildTable(a, tables + static_cast<size_t>(c) * kTableEntries, params->lummin, params->lummax);
    }
    a.table = tables;
    runBands(a, MP_Task_calcPixelManualRGBpoint, MP_Task_calcPixelManualRGBpointReduced);
    return 0;
}

int MP_calcPixelpercentbwpoint(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    uint64_t* counts = static_cast<uint64_t*>(std::calloc(kTableEntries, sizeof(uint64_t)));
    if (!counts)
        return -1;
    const int wr = MP_safeTrunc(params->lumr * 16383.0f, 0, 16384);
    const int wg = MP_safeTrunc(params->lumg * 16383.0f, 0, 16384);
    const int wb = MP_safeTrunc(params->lumb * 16383.0f, 0, 16384);
    BWArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3)) {
        std::free(counts);
        return r;
    }

    const size_t count = static_cast<size_t>(sizex) * static_cast<size_t>(sizey);
    const ushort* px = src;
    for (size_t i = 0; i < count; ++i, px += 3) {
        // Unsigned: weights that sum above 1 must not overflow the product.
        const unsigned bin = (static_cast<unsigned>(wr) * px[0] + static_cast<unsigned>(wg) * px[1] +
                              static_cast<unsigned>(wb) * px[2]) >> 14;
        ++counts[bin > 65535u ? 65535u : bin];
    }
    for (int i = 0; i + 1 < kTableEntries; ++i)
        counts[i + 1] += counts[i];

    const float n = static_cast<float>(count);
    const int64_t total = static_cast<int64_t>(count);
    const float p0 = params->p[0][0], p1 = params->p[1][0], p2 = params->p[2][0];
    a.S = static_cast<float>(MP_bwPercentileBin(counts, MP_pow(p0, 4.0f) * 0.33f * n, total)) * kBinToLum;
    a.M = static_cast<float>(MP_bwPercentileBin(counts, ((1.0f - p1) * 0.33f + 0.335f) * n, total)) * kBinToLum;
    a.L = static_cast<float>(MP_bwPercentileBin(counts, (0.33f * MP_pow(p2, 0.25f) + 0.67f) * n, total)) * kBinToLum;
    std::free(counts);

    runBands(a, MP_Task_calcPixelpercentbwpoint, MP_Task_calcPixelpercentbwpointReduced);
    return 0;
}

int MP_calcPixelWeighedBW(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    const float pct = 0.2f * params->p[0][0] + 0.0001f;
    const size_t bytes = static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 3 * sizeof(uint16_t);
    uint16_t* stretched = static_cast<uint16_t*>(std::malloc(bytes ? bytes : 1));
    uint16_t* reduced = static_cast<uint16_t*>(std::malloc(bytes ? bytes : 1));
    if (!stretched || !reduced) {
        std::free(stretched);
        std::free(reduced);
        return -1;
    }

    // Points measured on copies reduced to 0.2, 0.14, 0.098, ... of each side.
    const float fx = static_cast<float>(sizex), fy = static_cast<float>(sizey);
    float s = 0.2f;
    float sumMin = 0.0f, sumMax = 0.0f;
    int copies = 0;
    for (int i = 0; i < 10; ++i) {
        if (s >= 0.01f && fx * s >= 2.0f && fy * s > 2.0f) {
            const float w = fx * s, h = fy * s;
            MP_MT_zoomPreviewPicture(src, reduced, 0, 0, 0, 0, w, h, w, fx, fy, 0.0f, 0.0f, fx, fy);
            float mn = 0.0f, mx = 0.0f;
            MP_UI_GetMinMaxLuminancePercent(reduced, &mn, &mx, pct, w, h);
            sumMin += mn;
            sumMax += mx;
            ++copies;
        }
        if (_category >= 0)
            C_AddMessage(_category, (static_cast<float>(i) / 10.0f) * _progressdelta + _progressstart);
        s *= 0.7f;
    }
    std::free(reduced);
    params->lummin = copies > 0 ? sumMin / static_cast<float>(copies) : 0.0f;
    params->lummax = copies > 0 ? sumMax / static_cast<float>(copies) : 1.0f;

    // The stretched copy must exist before anything reaches the destination.
    if (const int r = MP_calcPixelbwpoint(sizex, sizey, src, stretched, srcBpp, dstBpp, params)) {
        std::free(stretched);
        return r;
    }

    BWArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, 1)) {
        std::free(stretched);
        return r;
    }
    a.stretched = stretched;
    if (!a.run.full)
        std::memcpy(dst, stretched, bytes);
    else
        MP_runDriverBands(a.run, &a, MP_Task_calcPixelWeighedBW, nullptr, 0);
    std::free(stretched);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelbwpoint", MP_calcPixelbwpoint},
    {"MP_calcPixelautomaticbwpoint", MP_calcPixelautomaticbwpoint},
    {"MP_calcPixelmanualbwpoint", MP_calcPixelmanualbwpoint},
    {"MP_calcPixelManualRGBpoint", MP_calcPixelManualRGBpoint},
    {"MP_calcPixelpercentbwpoint", MP_calcPixelpercentbwpoint},
    {"MP_calcPixelWeighedBW", MP_calcPixelWeighedBW},
};
} // namespace

extern const MP_DriverTable MP_drivers_bwpoint = MP_driverTable(kDrivers);
