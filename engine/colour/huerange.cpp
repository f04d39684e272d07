// Hue-range operators: "Farbtöne anpassen" and "Farbtöne belichten".
// Slots of both: 0 "Rot", 1 "Gelb", 2 "Grün", 3 "Cyan", 4 "Blau", 5 "Violett",
// 6 combo, 7 geometry.

#include "engine/colour/huerange.h"

#include "engine/MP_calccl.h"

namespace {

constexpr int kGeoSlot = 7;
constexpr int kComboSlot = 6;
constexpr int kRanges = 6;

// ---- "Farbtöne anpassen" ----------------------------------------------------------------
// Power tables (entry i at x = i * MP_k): MP_temp_table x^0.1,
// MP_temp2_table x^0.6, MP_temp3_table x^0.8, MP_temp4_table sqrt(x).

struct HueShiftArgs {
    MP_DriverRun run;
    float shift[kRanges]; // degrees: p[k][0] * 360 - 180
};

void MP_TaskPre2_calcPixelHueShift(TaskFuncParams t)
{
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    for (int i = start; i < end; ++i)
        MP_temp_table[i] = std::pow(static_cast<float>(i) * MP_k, 0.1f);
    for (int i = start; i < end; ++i)
        MP_temp2_table[i] = std::pow(static_cast<float>(i) * MP_k, 0.6f);
    for (int i = start; i < end; ++i)
        MP_temp3_table[i] = std::pow(static_cast<float>(i) * MP_k, 0.8f);
    for (int i = start; i < end; ++i)
        MP_temp4_table[i] = std::sqrt(static_cast<float>(i) * MP_k);
}

inline MP_float3 hueShiftEffect(const HueShiftArgs& a, MP_float3 c)
{
    const MP_float3 sq{c.x * c.x, c.y * c.y, c.z * c.z};
    const MP_hsv hsv = MP_rgbToHsv(sq.x, sq.y, sq.z);
    float h;
    float w;
    if (hsv.v == 0.0f) {
        h = 0.0f + a.shift[0];
        w = 1.0f;
    } else {
        float d = 0.0f;
        const int range = MP_hueRange(hsv.h, &d);
        const float w0 = 1.0f - d * 0.033333335f;
        h = hsv.h;
        switch (range) {
        case 0:
        case 1:
            w = w0;
            break;
        case 2:
            w = MP_temp3_table[MP_tableIndex(w0)];
            break;
        case 3:
        case 5:
            w = MP_temp2_table[MP_tableIndex(w0)];
            break;
        case 4:
            w = std::sqrt(w0);
            break;
        default:
            w = 0.0f;
            break;
        }
        if (range >= 0)
            h += a.shift[range];
    }
    // One correction each way: shifts of at most 180 degrees need no more.
    if (h < 0.0f)
        h += 360.0f;
    if (h >= 360.0f)
        h -= 360.0f;

    float s = hsv.s;
    int si;
    if (s > 1.0f) { // very dark pixels, where the 0.001 floor exceeds the value
        s = 1.0f;
        si = 65535;
    } else if (s < 0.001f) {
        s = 0.001f;
        si = 65;
    } else {
        si = MP_tableIndex(s);
    }
    w = w * MP_temp_table[si];

    const MP_float3 q = MP_hsvToRgb(h, s, hsv.v, sq);
    const MP_float3 r{MP_temp4_table[MP_tableIndex(q.x)], MP_temp4_table[MP_tableIndex(q.y)],
                      MP_temp4_table[MP_tableIndex(q.z)]};
    const float k = 1.0f - w;
    return {c.x * k + r.x * w, c.y * k + r.y * w, c.z * k + r.z * w};
}

void MP_Task_calcPixelHueShift(TaskFuncParams t)
{
    const HueShiftArgs* a = MP_taskArgs<HueShiftArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return hueShiftEffect(*a, c); });
}

void MP_Task_calcPixelHueShiftReduced(TaskFuncParams t)
{
    const HueShiftArgs* a = MP_taskArgs<HueShiftArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return hueShiftEffect(*a, c); });
}

// ---- "Farbtöne belichten" ---------------------------------------------------------------

struct HueExposeArgs {
    MP_DriverRun run;
    float amount[kRanges]; // 2 * p[k][0] - 1
};

inline MP_float3 hueExposeEffect(const HueExposeArgs& a, MP_float3 c)
{
    const MP_Params* p = a.run.params;
    const float lum = p->lumr * c.x + p->lumg * c.y + p->lumb * c.z;
    const MP_hsv hsv = MP_rgbToHsv(c.x * c.x, c.y * c.y, c.z * c.z);
    float w;
    float amount;
    float s;
    if (hsv.v == 0.0f) {
        w = 1.0f;
        amount = a.amount[0];
        s = 0.0f;
    } else {
        float d = 0.0f;
        const int range = MP_hueRange(hsv.h, &d);
        s = hsv.s; // unclamped: above 1 for very dark pixels
        if (range >= 0) {
            w = 1.0f - d * 0.0333333f;
            amount = a.amount[range];
        } else {
            w = 0.0f;
            amount = 0.0f;
        }
    }
    const float factor = (std::sqrt(MP_max(w, 0.0f)) * s * amount + 1.0f) * lum / (lum + 0.001f);
    using mp_blend_detail::clampUnit;
    return {clampUnit(c.x * factor), clampUnit(c.y * factor), clampUnit(c.z * factor)};
}

void MP_Task_calcPixelHueExpose(TaskFuncParams t)
{
    const HueExposeArgs* a = MP_taskArgs<HueExposeArgs>(t);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                      [a](MP_float3 c, int, int) { return hueExposeEffect(*a, c); });
}

void MP_Task_calcPixelHueExposeReduced(TaskFuncParams t)
{
    const HueExposeArgs* a = MP_taskArgs<HueExposeArgs>(t);
    MP_reducedWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t),
                         [a](MP_float3 c, int, int) { return hueExposeEffect(*a, c); });
}

} // namespace

int MP_calcPixelHueShift(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    HueShiftArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return r;
    for (int k = 0; k < kRanges; ++k)
        a.shift[k] = params->p[k][0] * 360.0f - 180.0f;
    MP_runTablePass(MP_TaskPre2_calcPixelHueShift, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelHueShift, MP_Task_calcPixelHueShiftReduced, 8);
}

int MP_calcPixelHueExpose(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    HueExposeArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, kGeoSlot, kComboSlot))
        return r;
    for (int k = 0; k < kRanges; ++k)
        a.amount[k] = 2.0f * params->p[k][0] - 1.0f;
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelHueExpose, MP_Task_calcPixelHueExposeReduced, 8);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelHueShift", MP_calcPixelHueShift},
    {"MP_calcPixelHueExpose", MP_calcPixelHueExpose},
};
} // namespace
extern const MP_DriverTable MP_drivers_huerange = MP_driverTable(kDrivers);
