#include "engine/colour/daytime.h"

#include "engine/MP_calccl.h"
#include "engine/colour/palettes.h"
#include "engine/colour/temperature.h"
#include "engine/core/colortemp.h"
#include "engine/core/driverframe.h"
#include "engine/tone/lightshadow.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

// ---- Tageszeit ---------------------------------------------------------------------

const float MP_daytimeGamma[25] = {0.00f, 0.02f, 0.10f, 0.25f, 0.50f, 0.80f, 0.90f, 0.94f, 0.96f,
                                   0.98f, 0.99f, 1.01f, 1.00f, 0.99f, 0.97f, 0.95f, 0.93f, 0.90f,
                                   0.80f, 0.50f, 0.25f, 0.10f, 0.02f, 0.00f, 0.00f};
const float MP_daytimeTemp[25] = {0.13f, 0.13f, 0.13f, 0.16f, 0.24f, 0.38f,   0.43f,   0.42f, 0.41f,
                                  0.38f, 0.36f, 0.3538f, 0.3538f, 0.36f, 0.38f, 0.41f, 0.43f, 0.45f,
                                  0.35f, 0.25f, 0.16f, 0.13f, 0.13f, 0.13f, 0.13f};

void MP_calcDaytimeValues(float uhrzeit, float* gamma, float* kelvin)
{
    const float time = 24.0f * uhrzeit * 0.9999f;
    // A slider beyond 0..1 interpolates (or extrapolates) from the nearest
    // hour pair instead of reading outside the tables.
    const int i = MP_safeTrunc(time, 0, 23);
    const float f = time - static_cast<float>(i);
    const float g = (1.0f - f) * MP_daytimeGamma[i] + f * MP_daytimeGamma[i + 1];
    float gm = (g * (-0.5f) + 1.0f) * 1.99f + 0.005f;
    if (gm >= 1.0f)
        gm = gm * gm;
    const float t = (1.0f - f) * MP_daytimeTemp[i] + f * MP_daytimeTemp[i + 1];
    if (gamma)
        *gamma = gm;
    if (kelvin)
        *kelvin = t * 15500.0f + 1000.0f;
}

namespace {

struct DaytimeArgs {
    MP_ColorTempRun ct;
    float gamma, kelvin;
};

// Entry of the gamma table: powf(x, gamma) * 65535.0, held to 0..65535 (an
// extrapolated gamma can be negative or not a number).
inline int gammaEntry(float x, float gamma)
{
    const double v = static_cast<double>(MP_pow(x, gamma)) * 65535.0;
    return v >= 0.0 ? (v < 65535.0 ? static_cast<int>(v) : 65535) : 0;
}

void MP_TaskPre1_calcPixelDaytime(TaskFuncParams t)
{
    const DaytimeArgs* a = MP_taskArgs<DaytimeArgs>(t);
    const int start = MP_taskStart(t), end = MP_taskEnd(t);
    MP_colorTempMaskTable(MP_taskParams(t)->p[1], start, end, MP_itemp_table);
    for (int i = start; i < end; ++i)
        MP_itemp2_table[i] = gammaEntry(static_cast<float>(i) * MP_k, a->gamma);
}

} // namespace

int MP_calcPixelDaytime(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    DaytimeArgs a;
    if (!params)
        return -2;
    MP_calcDaytimeValues(params->p[0][0], &a.gamma, &a.kelvin);
    MP_UI_GetRGBFromTemperatur(&a.ct.whiter, &a.ct.whiteg, &a.ct.whiteb, a.kelvin);
    if (int r = MP_beginDriver(a.ct.run, sizex, sizey, src, dst, params, 3, 2))
        return r;
    a.ct.mask = MP_itemp_table;
    a.ct.curve = MP_itemp2_table;
    MP_runTablePass(MP_TaskPre1_calcPixelDaytime, MP_makeTask(params, &a));
    return MP_runDriverBands(a.ct.run, &a.ct, MP_Task_colorTempRows, MP_Task_colorTempRowsReduced, 8);
}

// ---- Jahreszeit -------------------------------------------------------------------

const float MP_yeartimeTable[MP_YEARTIME_ROWS][5] = {
    {0.25f, 0.50f, 0.50f, 0.95f, 0.25f}, // ColorPalette "Rot"
    {0.28f, 0.55f, 0.57f, 0.92f, 0.28f}, // ColorPalette "Orange"
    {0.30f, 0.80f, 0.62f, 0.80f, 0.30f}, // ColorPalette "Gelb"
    {0.40f, 0.85f, 0.58f, 0.65f, 0.40f}, // ColorPalette "Grün"
    {0.50f, 0.55f, 0.50f, 0.43f, 0.50f}, // ColorPalette "Himmelblau"
    {0.50f, 0.50f, 0.50f, 0.42f, 0.50f}, // ColorPalette "Königsblau"
    {0.46f, 0.50f, 0.50f, 0.47f, 0.46f}, // ColorPalette "Lila"
    {0.40f, 0.50f, 0.50f, 0.50f, 0.40f}, // ColorPalette "Magenta"
    {0.28f, 0.40f, 0.50f, 0.39f, 0.28f}, // ColorTemperature "Temperatur"
    {0.10f, 0.45f, 0.50f, 0.25f, 0.10f}, // LightShadow "Lichter anpassen"
};

void MP_calcYeartimeValues(float tag, float values[MP_YEARTIME_ROWS])
{
    const float s = 4.0f * tag * 0.9999f;
    // A slider beyond 0..1 interpolates (or extrapolates) from the nearest
    // pair of anchors instead of reading outside the table.
    const int i = MP_safeTrunc(s, 0, 3);
    const float f = s - static_cast<float>(i);
    for (int r = 0; r < MP_YEARTIME_ROWS; ++r)
        values[r] = (1.0f - f) * MP_yeartimeTable[r][i] + f * MP_yeartimeTable[r][i + 1];
}

namespace {

struct YeartimeArgs {
    MP_DriverRun run;
    const ushort* temp; // the result of the three inner runs
};

// Final pass: the inner runs' result laid over the source with the caller's
// blend mode, opacity and geometry masks.
void MP_Task_calcPixelYeartime(TaskFuncParams t)
{
    const YeartimeArgs* a = MP_taskArgs<YeartimeArgs>(t);
    const size_t width = static_cast<size_t>(a->run.width);
    MP_fullWorkerRows(a->run, MP_taskStart(t), MP_taskEnd(t), [a, width](MP_float3, int x, int y) {
        return MP_loadRGB48(a->temp + (static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 3);
    });
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

} // namespace

int MP_calcPixelYeartime(int sizex, int sizey, ushort* src, ushort* dst, int srcBpp, int dstBpp, MP_Params* params)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    // The inner runs write three 16-bit channels per pixel; a size that does
    // not fit in memory's address range cannot be had either.
    if (sizex > 0 && static_cast<size_t>(sizey) > SIZE_MAX / 6 / static_cast<size_t>(sizex))
        return -1;
    const size_t bytes = static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 3 * sizeof(ushort);
    std::unique_ptr<ushort, FreeDeleter> temp(static_cast<ushort*>(std::malloc(bytes > 0 ? bytes : 1)));
    if (!temp)
        return -1;

    float v[MP_YEARTIME_ROWS];
    MP_calcYeartimeValues(params->p[0][0], v);

    // The inner runs get a private copy of the block and each a fresh copy of
    // the caller's geometry sets (a run normalises its geometry slot in place),
    // so the masks act in each run and again in the final pass.
    std::unique_ptr<MP_Params> own(new (std::nothrow) MP_Params);
    if (!own)
        return -1;
    MP_Params& priv = *own;
    priv = *params;
    float geometry[MP_MAX_PARAMETERSETS];
    std::memcpy(geometry, params->p[2], sizeof geometry);

    YeartimeArgs a;
    if (int r = MP_beginDriver(a.run, sizex, sizey, src, dst, params, 2, 1))
        return r;
    a.temp = temp.get();

    // Colour palette: source into the temporary picture.
    for (int k = 0; k < 8; ++k)
        priv.p[k][0] = v[k];
    priv.p[8][0] = 0.0f;
    priv.p[8][1] = 100.0f;
    std::memcpy(priv.p[9], geometry, sizeof geometry);
    if (int r = MP_calcPixelColorPalette(sizex, sizey, src, temp.get(), srcBpp, dstBpp, &priv))
        return r;

    // Colour temperature in place, with a mask of 1 for every luminance.
    priv.p[0][0] = v[8];
    for (int i = 0; i < 6; ++i) {
        priv.p[1][2 * i] = 0.2f * static_cast<float>(i);
        priv.p[1][2 * i + 1] = 1.0f;
    }
    priv.p[2][0] = 0.0f;
    priv.p[2][1] = 100.0f;
    std::memcpy(priv.p[3], geometry, sizeof geometry);
    if (int r = MP_calcPixelColorTemperature(sizex, sizey, temp.get(), temp.get(), srcBpp, dstBpp, &priv))
        return r;

    // Lights and shadows in place: no clipping, the lights bent, the shadows neutral.
    priv.p[0][0] = 1.0f;
    priv.p[1][0] = 0.0f;
    priv.p[2][0] = v[9];
    priv.p[3][0] = 0.5f;
    priv.p[4][0] = 0.0f;
    priv.p[4][1] = 100.0f;
    std::memcpy(priv.p[5], geometry, sizeof geometry);
    if (int r = MP_calcPixelLightShadow(sizex, sizey, temp.get(), temp.get(), srcBpp, dstBpp, &priv))
        return r;

    if (a.run.full)
        MP_runBandPass(MP_Task_calcPixelYeartime, MP_makeTask(params, &a), sizey, 0);
    else
        std::memcpy(dst, temp.get(), bytes);
    return 0;
}

// ---- Driver table ------------------------------------------------------------------

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelDaytime", MP_calcPixelDaytime},
    {"MP_calcPixelYeartime", MP_calcPixelYeartime},
};
} // namespace
extern const MP_DriverTable MP_drivers_daytime = MP_driverTable(kDrivers);
