#include "engine/core/windowsize.h"

#include "engine/MP_calccl.h"
#include "engine/core/driverframe.h"
#include "engine/core/mathfuncs.h"
#include "engine/openclmanager.h"

MP_WindowSize MP_calcWindowSize(const MP_Params* params, float K, MP_WindowStep stepRule, MP_WindowWeights weights)
{
    const float size = K * params->p[0][0] * params->previewscalingfactor * params->unit_kernel_multiplier;
    int r = MP_safeTrunc(size, 0, MP_MAX_WINDOW_RADIUS);
    MP_WindowSize w;
    w.step = stepRule == MP_WindowStep::One ? 1 : MP_imax(1, MP_calcLoopstep(params->loopstep, r, params));
    r -= r % w.step;
    w.R = MP_imax(1, r);
    w.scale = MP_windowWeightScale(w.R, weights);
    return w;
}

float MP_windowWeightScale(int R, MP_WindowWeights weights)
{
    if (R < 1)
        R = 1;
    if (weights == MP_WindowWeights::Box)
        return 1.0f / static_cast<float>(R * R);
    const float fr = static_cast<float>(R);
    return 65535.0f / (fr * (2.0f * fr));
}

int MP_dispatcherRadius(const char* kernel, const MP_Params* params)
{
    const float r = static_cast<float>(MP_UI_getKernelSize(kernel, params)) * params->unit_kernel_multiplier;
    return MP_safeTrunc(r, 1, 1 << 30);
}

void MP_completeRowWidths(const char* kernel, MP_Params* params, int r)
{
    int R = MP_dispatcherRadius(kernel, params);
    if (R > MP_MAX_KERNEL_HEIGHT)
        R = -1;
    if (r > MP_MAX_KERNEL_HEIGHT)
        r = MP_MAX_KERNEL_HEIGHT;
    for (int ky = R + 1; ky <= r; ++ky) {
        params->lx[MP_MAX_KERNEL_HEIGHT + ky] = 1;
        params->lx[MP_MAX_KERNEL_HEIGHT - ky] = 1;
    }
}

void MP_fillWindowRows(const char* kernel, MP_Params* params, int r, bool sameRadius)
{
    const int R = MP_dispatcherRadius(kernel, params);
    if (R < r || R > MP_MAX_KERNEL_HEIGHT || (sameRadius && R != r))
        OpenCLManager::getInstance()->setKernelSuperquadricTable(r, params);
}
