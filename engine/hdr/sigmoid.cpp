#include "engine/hdr/sigmoid.h"

#include <cmath>

void MP_calcHDRSigmoidCoefficients(float* k, float* q, float* lo, float* hi, float s)
{
    const float kk = std::fabs(s - 0.5f) * 2.0f * 0.7f + 0.1f;
    const float qq = s * -1.722f + 1.732f;
    const float l = 1.0f / (qq * std::exp(5.0f * kk) + 1.0f);
    const float h = 1.0f / (qq * std::exp(-5.0f * kk) + 1.0f);
    if (k)
        *k = kk;
    if (q)
        *q = qq;
    if (lo)
        *lo = l;
    if (hi)
        *hi = h;
}
