#include "engine/core/luminance.h"

#include <cmath>

float MP_LuminanzConv[3] = {0.2125f, 0.7154f, 0.0721f};

void MP_UI_SetLuminanzConv(int type)
{
    switch (type) {
    case 1:
        MP_LuminanzConv[0] = 0.3333f;
        MP_LuminanzConv[1] = 0.3334f;
        MP_LuminanzConv[2] = 0.3333f;
        break;
    case 2:
        MP_LuminanzConv[0] = 0.2125f;
        MP_LuminanzConv[1] = 0.7154f;
        MP_LuminanzConv[2] = 0.0721f;
        break;
    case 3:
        MP_LuminanzConv[0] = 0.299f;
        MP_LuminanzConv[1] = 0.587f;
        MP_LuminanzConv[2] = 0.114f;
        break;
    default:
        break;
    }
}

void MP_UI_GetLuminanzConvFromType(int type, float* r, float* g, float* b)
{
    float w[3];
    switch (type) {
    case 1:
        w[0] = w[1] = w[2] = 0.3333f;
        break;
    case 2:
        w[0] = 0.2125f;
        w[1] = 0.7154f;
        w[2] = 0.0721f;
        break;
    case 3:
        w[0] = 0.299f;
        w[1] = 0.587f;
        w[2] = 0.114f;
        break;
    default:
        return;
    }
    if (r)
        *r = w[0];
    if (g)
        *g = w[1];
    if (b)
        *b = w[2];
}

void MP_UI_SetLuminanzConvRGB(float r, float g, float b)
{
    // Kernels index tables with luminances that assume non-negative weights.
    if (!std::isfinite(r) || !std::isfinite(g) || !std::isfinite(b) || r < 0.0f || g < 0.0f || b < 0.0f)
        return;
    const float sum = r + g + b;
    // Finite weights whose sum overflows would all become 0.
    if (!std::isfinite(sum))
        return;
    if (sum > 0.0f) {
        MP_LuminanzConv[0] = r / sum;
        MP_LuminanzConv[1] = g / sum;
        MP_LuminanzConv[2] = b / sum;
    } else {
        MP_LuminanzConv[0] = r;
        MP_LuminanzConv[1] = g;
        MP_LuminanzConv[2] = b;
    }
}

void MP_UI_GetLuminanzConvRGB(float* r, float* g, float* b)
{
    if (r)
        *r = MP_LuminanzConv[0];
    if (g)
        *g = MP_LuminanzConv[1];
    if (b)
        *b = MP_LuminanzConv[2];
}

void MP_ResetLuminanzConv()
{
    MP_LuminanzConv[0] = 0.2125f;
    MP_LuminanzConv[1] = 0.7154f;
    MP_LuminanzConv[2] = 0.0721f;
}
