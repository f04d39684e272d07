// "Rahmen" (Border): 0 "Rundung", 1 "Breite", 2 colour "Randfarbe", 3 combo,
// 4 geometry. Table: MP_temp_table[i] = (i / 65535)^P.

#include "engine/effects/frame.h"

#include "engine/MP_calccl.h"
#include "engine/effects/effectframe.h"

#include <cmath>

namespace {

struct BorderArgs {
    MP_DriverRun run;
    float P = 0.1f;
    float bx = 0.0f, by = 0.0f;
    MP_float3 c{0.0f, 0.0f, 0.0f}; // frame colour, 0..1
    int ci[3] = {0, 0, 0};         // (int)(c * 65535)
};

void MP_TaskPre1_calcPixelBorder(TaskFuncParams t)
{
    const BorderArgs* a = MP_taskArgs<BorderArgs>(t);
    for (int i = MP_taskStart(t); i < MP_taskEnd(t); ++i)
        MP_temp_table[i] = std::pow(static_cast<float>(i) * MP_k, a->P);
}

// Where a pixel lies: in the frame band, in the picture, or in the soft
// fillet with the picture's weight a.
enum class Zone { Frame, Picture, Fillet };

struct BorderRow {
    bool inside; // 0 <= dy <= 1
    float ry;    // dy^P
};

inline BorderRow borderRow(const BorderArgs& a, int y)
{
    const float h = static_cast<float>(a.run.height);
    const float dy = 0.5f - MP_fabs((h - 1.0f - static_cast<float>(y)) / h - 0.5f) - a.by;
    return {dy >= 0.0f && dy <= 1.0f, std::pow(dy, a.P)};
}

inline Zone borderZone(const BorderArgs& a, const BorderRow& row, int x, float& weight)
{
    const float w = static_cast<float>(a.run.width);
    const float dx = 0.5f - MP_fabs((w - 1.0f - static_cast<float>(x)) / w - 0.5f) - a.bx;
    // Written so that a NaN distance (a NaN "Breite") counts as frame.
    if (!(dx >= 0.0f && dx <= 1.0f) || !row.inside)
        return Zone::Frame;
    if (a.P <= 0.1f)
        return Zone::Picture;
    const float S = MP_temp_table[static_cast<int>(dx * 65535.0f)] + row.ry;
    if (!(S <= 1.0f)) // NaN ("Rundung" far outside its range) keeps the picture
        return Zone::Picture;
    const float s2 = S * S, s4 = s2 * s2;
    weight = s4 * s4;
    return Zone::Fillet;
}

void MP_Task_calcPixelBorder(TaskFuncParams t)
{
    const BorderArgs* a = MP_taskArgs<BorderArgs>(t);
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    const MP_DriverRun& run = a->run;
    const bool geometry = run.params->geometry_needed != 0;
    MP_forEachRunRow(run, start, end, [&](int y, const ushort* s, ushort* d) {
        const BorderRow row = borderRow(*a, y);
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            const MP_float3 c0 = MP_loadRGB48(s);
            MP_fullWorkerPixel(run, geometry, x, y, c0, d, [&] {
                float wgt = 0.0f;
                switch (borderZone(*a, row, x, wgt)) {
                case Zone::Frame:
                    return a->c;
                case Zone::Picture:
                    return c0;
                default: {
                    const float k = 1.0f - wgt;
                    return MP_float3{wgt * c0.x + k * a->c.x, wgt * c0.y + k * a->c.y, wgt * c0.z + k * a->c.z};
                }
                }
            });
        }
    });
}

// On the raw samples; the picture keeps its bits.
void MP_Task_calcPixelBorderReduced(TaskFuncParams t)
{
    const BorderArgs* a = MP_taskArgs<BorderArgs>(t);
    const MP_DriverRun& run = a->run;
    const float cf[3] = {a->c.x, a->c.y, a->c.z};
    MP_forEachRunRow(run, MP_taskStart(t), MP_taskEnd(t), [&](int y, const ushort* s, ushort* d) {
        const BorderRow row = borderRow(*a, y);
        for (int x = 0; x < run.width; ++x, s += 3, d += 3) {
            float wgt = 0.0f;
            switch (borderZone(*a, row, x, wgt)) {
            case Zone::Frame:
                for (int ch = 0; ch < 3; ++ch)
                    d[ch] = static_cast<ushort>(a->ci[ch]);
                break;
            case Zone::Picture:
                if (d != s) {
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                }
                break;
            case Zone::Fillet: {
                const float k = 1.0f - wgt;
                for (int ch = 0; ch < 3; ++ch)
                    d[ch] = static_cast<ushort>(static_cast<int>(wgt * static_cast<float>(s[ch]) + k * cf[ch] * 65535.0f));
                break;
            }
            }
        }
    });
}

} // namespace

int MP_calcPixelBorder(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (int r = MP_checkEffectBuffers(sizex, sizey, src, dst, srcBpp, dstBpp, params))
        return r;
    BorderArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 4, 3))
        return r;
    const float (*p)[MP_MAX_PARAMETERSETS] = params->p;
    a.P = 0.25f * p[0][0] + 0.1f;
    const float B = 0.32f * p[1][0] + 0.001f;
    const float w = static_cast<float>(sizex), h = static_cast<float>(sizey);
    const float m = MP_min(w, h);
    a.bx = B * h / m;
    a.by = B * w / m;
    // A colour outside 0..1 (a preset file) is held to it before it becomes
    // a sample.
    const float cr = MP_clamp(p[2][2], 0.0f, 1.0f), cg = MP_clamp(p[2][3], 0.0f, 1.0f),
                cb = MP_clamp(p[2][4], 0.0f, 1.0f);
    a.c = {cr == cr ? cr : 0.0f, cg == cg ? cg : 0.0f, cb == cb ? cb : 0.0f};
    a.ci[0] = static_cast<int>(a.c.x * 65535.0f);
    a.ci[1] = static_cast<int>(a.c.y * 65535.0f);
    a.ci[2] = static_cast<int>(a.c.z * 65535.0f);
    MP_runTablePass(MP_TaskPre1_calcPixelBorder, MP_makeTask(params, &a));
    return MP_runDriverBands(a.run, &a, MP_Task_calcPixelBorder, MP_Task_calcPixelBorderReduced, 8);
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelBorder", MP_calcPixelBorder},
};
} // namespace
extern const MP_DriverTable MP_drivers_frame = MP_driverTable(kDrivers);
