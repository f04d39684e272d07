#include "engine/hdr/colorspace.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/settings.h"
#include "engine/core/textures.h"

#include <cstdint>
#include <cstring>

namespace {

bool badArguments(int sizex, int sizey, const ushort* src, const ushort* dst, const MP_Params* params)
{
    return !src || !dst || !params || sizex < 0 || sizey < 0;
}

inline ushort clampChannel(float v)
{
    if (!(v > 0.0f))
        return 0; // negative (or NaN from a broken matrix)
    if (v > 65535.0f)
        return 65535;
    return static_cast<ushort>(static_cast<int>(v));
}

// ---- Integer conversion ----------------------------------------------------------

struct ConversionArgs {
    int width;
    const ushort* src;
    ushort* dst;
    int64_t a[9]; // RGB -> XYZ, coefficients * 1024
    int64_t b[9]; // XYZ -> RGB, coefficients * 1024
};

// The products are taken in 64 bits: with the matrices of real colour spaces
// they stay inside 32 bits and the result is the same; a matrix from a broken
// file cannot overflow them.
void MP_Task_calcPixelColorSpaceConversion(TaskFuncParams t)
{
    const ConversionArgs* c = MP_taskArgs<const ConversionArgs>(t);
    const int64_t* a = c->a;
    const int64_t* b = c->b;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(c->width) * 3;
        const ushort* s = c->src + row;
        ushort* d = c->dst + row;
        for (int x = 0; x < c->width; ++x, s += 3, d += 3) {
            const int64_t R = s[0], G = s[1], B = s[2];
            const int64_t X = (R * a[0] + G * a[1] + B * a[2]) >> 8;
            const int64_t Y = (R * a[3] + G * a[4] + B * a[5]) >> 8;
            const int64_t Z = (R * a[6] + G * a[7] + B * a[8]) >> 8;
            for (int k = 0; k < 3; ++k) {
                const int64_t n = X * b[3 * k] + Y * b[3 * k + 1] + Z * b[3 * k + 2];
                d[k] = n < 0 ? 0 : (n > 268435455 ? 65535 : static_cast<ushort>(n >> 12));
            }
        }
    }
}

// ---- Combined pre-pass -------------------------------------------------------------

struct PrePassArgs {
    int width, height;
    const ushort* src;
    ushort* out; // the scratch buffer
    bool panorama;
    float lumr, lumg, lumb;
    int Lr, Lg, Lb;     // 14-bit window luminance weights
    bool denoise;       // s >= 0
    float u, t;         // s^0.25 and 1 + (1 - s^4) * 10
    float g;            // dark-area weight
    float wr, wg, wb;   // white values
    float m1[9], m2[9]; // the matrices
};

// Luminance 0..1 of channels on the 0..65535 scale.
inline float lumOf(const PrePassArgs& a, float R, float G, float B)
{
    return (a.lumr * R + a.lumg * G + a.lumb * B) * MP_k;
}

void MP_Task_calcPixelCombinedPrePass(TaskFuncParams t)
{
    const PrePassArgs& a = *MP_taskArgs<const PrePassArgs>(t);
    const size_t w = static_cast<size_t>(a.width);
    // White balance gain: the mean white value plus 1, minus the channel's own.
    const float m = (a.wr + a.wg + a.wb) / 3.0f + 1.0f;
    const float gr = m - a.wr, gg = m - a.wg, gb = m - a.wb;
    for (int y = MP_taskStart(t); y < MP_taskEnd(t); ++y) {
        for (int x = 0; x < a.width; ++x) {
            const ushort* px = a.src + (static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 3;
            float R = px[0], G = px[1], B = px[2];
            float N = lumOf(a, R, G, B);

            if (a.denoise) {
                int maxL = 0, minL = 65535, count = 0;
                int64_t sum = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    const int yy = y + dy;
                    if (yy < 0 || yy >= a.height)
                        continue;
                    for (int dx = -1; dx <= 1; ++dx) {
                        int xx = x + dx;
                        if (a.panorama)
                            xx = (xx + a.width) % a.width;
                        else if (xx < 0 || xx >= a.width)
                            continue;
                        const ushort* q = a.src + (static_cast<size_t>(yy) * w + static_cast<size_t>(xx)) * 3;
                        const int l = static_cast<int>(
                            (static_cast<unsigned>(a.Lr) * q[0] + static_cast<unsigned>(a.Lg) * q[1] +
                             static_cast<unsigned>(a.Lb) * q[2]) >> 14);
                        if (l > maxL)
                            maxL = l;
                        if (l < minL)
                            minL = l;
                        sum += l;
                        ++count;
                    }
                }
                if (maxL - minL > 0) {
                    const float amount = MP_min(static_cast<float>(maxL - minL) / 65535.0f * a.t, 1.0f);
                    const float r = 1.0f - amount;
                    // The window mean over the pixel's own luminance, both as
                    // fractions of full scale.
                    const float own = static_cast<float>(MP_safeTrunc(N * 65535.0f, 0, 65535)) / 65535.0f;
                    const float S = static_cast<float>(sum / count) / 65535.0f / (own + 0.001f);
                    R = (R * (1.0f - r) + R * S * r) * a.u + (1.0f - a.u) * R;
                    G = (G * (1.0f - r) + G * S * r) * a.u + (1.0f - a.u) * G;
                    B = (B * (1.0f - r) + B * S * r) * a.u + (1.0f - a.u) * B;
                    N = lumOf(a, R, G, B);
                }
            }

            if (N < 0.5f) {
                const float P = (0.5f - N) * 2.0f;
                const float wd = P * P;
                const float grey = wd * N * 65535.0f;
                R = a.g * (R * (1.0f - wd) + grey) + (1.0f - a.g) * R;
                G = a.g * (G * (1.0f - wd) + grey) + (1.0f - a.g) * G;
                B = a.g * (B * (1.0f - wd) + grey) + (1.0f - a.g) * B;
            }

            R *= gr;
            G *= gg;
            B *= gb;

            const float* m1 = a.m1;
            const float* m2 = a.m2;
            const float X = m1[0] * R + m1[1] * G + m1[2] * B;
            const float Y = m1[3] * R + m1[4] * G + m1[5] * B;
            const float Z = m1[6] * R + m1[7] * G + m1[8] * B;
            ushort* d = a.out + (static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 3;
            d[0] = clampChannel(m2[0] * X + m2[1] * Y + m2[2] * Z);
            d[1] = clampChannel(m2[3] * X + m2[4] * Y + m2[5] * Z);
            d[2] = clampChannel(m2[6] * X + m2[7] * Y + m2[8] * Z);
        }
    }
}

} // namespace

int MP_calcPixelColorSpaceConversion(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    ConversionArgs c{};
    c.width = sizex;
    c.src = src;
    c.dst = dst;
    for (int i = 0; i < 9; ++i) {
        c.a[i] = MP_safeTrunc(params->p[3][i] * 1024.0f, -(1 << 24), 1 << 24);
        c.b[i] = MP_safeTrunc(params->p[4][i] * 1024.0f, -(1 << 24), 1 << 24);
    }
    MP_runBandPass(MP_Task_calcPixelColorSpaceConversion, MP_makeTask(params, &c), sizey, 0);
    return 0;
}

int MP_calcPixelCombinedPrePass(int sizex, int sizey, ushort* src, ushort* dst, int, int, MP_Params* params)
{
    if (badArguments(sizex, sizey, src, dst, params))
        return -2;
    const size_t bytes = static_cast<size_t>(sizex) * static_cast<size_t>(sizey) * 3 * sizeof(ushort);
    if (bytes == 0)
        return 0;
    ushort* scratch = static_cast<ushort*>(MP_UpdateBuffer(bytes));
    if (!scratch)
        return -1;

    PrePassArgs a{};
    a.width = sizex;
    a.height = sizey;
    a.src = src;
    a.out = scratch;
    a.panorama = MP_UI_GetPanoramaMode() != 0;
    a.lumr = params->lumr;
    a.lumg = params->lumg;
    a.lumb = params->lumb;
    a.Lr = MP_safeTrunc(params->lumr * 16383.0f, 0, 16384);
    a.Lg = MP_safeTrunc(params->lumg * 16383.0f, 0, 16384);
    a.Lb = MP_safeTrunc(params->lumb * 16383.0f, 0, 16384);
    const float s = params->p[0][0];
    a.denoise = s >= 0.0f;
    a.u = MP_pow(s, 0.25f);
    a.t = 1.0f + (1.0f - MP_pow(s, 4.0f)) * 10.0f;
    a.g = params->p[1][0];
    a.wr = params->p[2][0];
    a.wg = params->p[2][1];
    a.wb = params->p[2][2];
    std::memcpy(a.m1, params->p[3], sizeof(a.m1));
    std::memcpy(a.m2, params->p[4], sizeof(a.m2));

    MP_runBandPass(MP_Task_calcPixelCombinedPrePass, MP_makeTask(params, &a), sizey, 0);
    std::memcpy(dst, scratch, bytes);
    return 0;
}

namespace {
const MP_DriverEntry kDrivers[] = {
    {"MP_calcPixelColorSpaceConversion", MP_calcPixelColorSpaceConversion},
    {"MP_calcPixelCombinedPrePass", MP_calcPixelCombinedPrePass},
};
} // namespace

extern const MP_DriverTable MP_drivers_colorspace = MP_driverTable(kDrivers);
