#include "engine/core/tables.h"

#include "engine/core/mathfuncs.h"

#include <cstdio>
#include <memory>
#include <new>

float MP_exp_table[MP_TABLE_SIZE];
float MP_sqrt_table[MP_TABLE_SIZE];
float MP_log2_table[MP_TABLE_SIZE];
float MP_sin_table[MP_ANGLE_TABLE_SIZE];
float MP_cos_table[MP_ANGLE_TABLE_SIZE];
int MP_izoomtable[MP_TABLE_SIZE];

namespace {
constexpr float kPi = 3.1415927f;
}

void MP_fillLookupTables()
{
    const float ln2 = MP_log(2.0f);
    for (int i = 0; i < MP_TABLE_SIZE; ++i) {
        const float fi = static_cast<float>(i);
        MP_exp_table[i] = MP_exp(fi / -65535.0f);
        MP_sqrt_table[i] = MP_sqrt(fi / 65535.0f);
        const float l = MP_log(1.0f + fi / 65535.0f) / ln2;
        // log2(1) = 0 would make the table useless as a divisor.
        MP_log2_table[i] = l > 0.0f ? l : 0.001f;
    }
    for (int i = 0; i < MP_ANGLE_TABLE_SIZE; ++i) {
        const float a = i == 0 ? 0.0f : ((static_cast<float>(i) * (1.0f / 16384.0f)) * 2.0f) * kPi;
        MP_sin_table[i] = MP_sin(a);
        MP_cos_table[i] = MP_cos(a);
    }
}

void MP_fillZoomTable(int type)
{
    for (int i = 0; i < MP_TABLE_SIZE; ++i) {
        const float t = static_cast<float>(i) / 65535.0f;
        const float d = t - 0.5f;
        const float s = MP_sign(d);
        const float a = 2.0f * MP_fabs(d);
        float w;
        switch (type) {
        case 1:
            w = t;
            break;
        case 2:
            w = (s * MP_sqrt(a) + 1.0f) / 2.0f;
            break;
        case 3:
            w = (s * MP_pow(a, 0.333f) + 1.0f) / 2.0f;
            break;
        case 4:
            w = (1.0f + MP_sin(d * kPi)) / 2.0f;
            break;
        case 5:
            w = (1.0f + MP_sin(s * MP_sqrt(a) * kPi / 2.0f)) / 2.0f;
            break;
        case 6:
            w = (1.0f + MP_sin(s * MP_pow(a, 0.333f) * kPi / 2.0f)) / 2.0f;
            break;
        default:
            w = 0.0f;
            break;
        }
        MP_izoomtable[i] = static_cast<int>(MP_clamp(w, 0.0f, 1.0f) * 16384.0f);
    }
}

void MP_UI_CalcZoomTable(int type)
{
    MP_fillZoomTable(type);
    std::printf("MP_UI_CalcZoomTable: %d\r\n", type);
}

float MP_CubicNPtSpline(int n, const float* x, const float* y, float t)
{
    if (n <= 0 || !x || !y)
        return 0.0f;
    if (n == 1)
        return y[0];

    // h: interval widths, m: second derivatives, b/d: eliminated diagonal and
    // right-hand side of the tridiagonal system of the inner knots.
    const size_t count = static_cast<size_t>(n);
    std::unique_ptr<float[]> work(new (std::nothrow) float[count * 4]);
    if (!work)
        return 0.0f;
    float* h = work.get();
    float* m = h + count;
    float* b = m + count;
    float* d = b + count;

    for (int k = 0; k + 1 < n; ++k) {
        const float w = x[k + 1] - x[k];
        h[k] = w == 0.0f ? 0.001f : w;
    }
    m[0] = 0.0f;
    m[n - 1] = 0.0f;
    for (int i = 1; i + 1 < n; ++i) {
        b[i] = 2.0f * (h[i - 1] + h[i]);
        d[i] = 6.0f * ((y[i + 1] - y[i]) / h[i] - (y[i] - y[i - 1]) / h[i - 1]);
        if (i > 1) {
            const float f = h[i - 1] / b[i - 1];
            b[i] -= f * h[i - 1];
            d[i] -= f * d[i - 1];
        }
        if (b[i] == 0.0f)
            b[i] = 0.001f;
    }
    for (int i = n - 2; i >= 1; --i)
        m[i] = (d[i] - h[i] * m[i + 1]) / b[i];

    // Segment: from the last knot not right of t, the end segments extended.
    int k = 0;
    for (int i = 0; i + 1 < n; ++i)
        if (x[i] <= t)
            k = i;
    const float hk = h[k];
    const float A = x[k + 1] - t;
    const float B = t - x[k];
    return (m[k] * A * A * A + m[k + 1] * B * B * B) / (6.0f * hk) + (y[k] / hk - m[k] * hk / 6.0f) * A
        + (y[k + 1] / hk - m[k + 1] * hk / 6.0f) * B;
}

float MP_LagrangeNPtSpline(int n, const float* x, const float* y, float t)
{
    if (n <= 0 || !x || !y)
        return 0.0f;
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) {
        float p = 1.0f;
        for (int j = 0; j < n; ++j)
            if (j != i)
                p *= (t - x[j]) / (x[i] - x[j]);
        sum += y[i] * p;
    }
    return sum;
}
