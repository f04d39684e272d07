#include "engine/openclmanager.h"

#include "engine/MP_calccl.h"
#include "engine/core/device.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

OpenCLManager* OpenCLManager::m_pInstance = nullptr;

namespace {

constexpr int kStripeRows = 500;   // rows per device stripe, also printed in the timing line
constexpr float kLoopstepFactor = 17.5f;

// Copies a kernel name into a run's 256-character buffer. Names come from
// preset and project files: a name longer than 255 characters is cut, and the
// cut name equals no kernel (every registered name is shorter), so it runs as
// an unlisted name.
void copyName(char (&buffer)[256], const char* name)
{
    buffer[0] = '\0';
    if (!name)
        return;
    const size_t n = strnlen(name, sizeof buffer - 1);
    std::memcpy(buffer, name, n);
    buffer[n] = '\0';
}

// Radius from a kernel size and the calculation quality, truncated; NaN and
// values beyond the int range are clamped first.
int radiusOf(int kernelSize, float multiplier)
{
    const float r = static_cast<float>(kernelSize) * multiplier;
    if (r != r)
        return 1;
    if (r >= 2147483648.0f)
        return INT_MAX;
    const int R = r <= -2147483648.0f ? INT_MIN : static_cast<int>(r);
    return R < 1 ? 1 : R;
}

// The radius slider of a radius-driven kernel comes from presets and project
// files: held to 0..1 (NaN: 0) before a size is taken from it, so that the
// radius stays within the row-width table and the window tables.
void clampRadiusFraction(const char* kernel, MP_Params* params)
{
    if (MP_UI_checkKernelRadiusFromSlider(kernel)) {
        const float f = params->p[0][0];
        params->p[0][0] = f > 0.0f ? (f < 1.0f ? f : 1.0f) : 0.0f;
    }
}

int clampedInt(unsigned v) { return v > static_cast<unsigned>(INT_MAX) ? INT_MAX : static_cast<int>(v); }

} // namespace

OpenCLManager::OpenCLManager() = default;

OpenCLManager::~OpenCLManager() = default; // no device objects exist on this platform

OpenCLManager* OpenCLManager::getInstance()
{
    if (!m_pInstance)
        m_pInstance = new OpenCLManager();
    return m_pInstance;
}

OpenCLManager* OpenCLManager::getInstancePtr() { return m_pInstance; }

void OpenCLManager::destroy()
{
    delete m_pInstance;
    m_pInstance = nullptr;
}

float OpenCLManager::getKernelMultiplier(const char*) { return MP_UI_GetCalculationQuality(); }

void OpenCLManager::setKernelSuperquadricTable(int R, MP_Params* params)
{
    if (!params || R > MP_MAX_KERNEL_HEIGHT || R < 0)
        return;
    if (R == 0) {
        // The centre row only (1 / R would make its q undefined).
        params->lx[MP_MAX_KERNEL_HEIGHT] = 1;
        return;
    }
    const float e = params->kernel_exponent;
    const float fR = static_cast<float>(R);
    const float invR = 1.0f / fR;
    for (int i = 0; i <= R; ++i) {
        const float q = static_cast<float>(i) * invR;
        const float w = fR * std::pow(1.0f - std::pow(q, 2.0f / e), e * 0.5f);
        // The half-width lies in 0..R; an exponent that makes it undefined gives 0.
        int v = 0;
        if (w >= fR)
            v = R;
        else if (w > 0.0f)
            v = static_cast<int>(w);
        if ((v & 1) == 0)
            ++v;
        params->lx[MP_MAX_KERNEL_HEIGHT + i] = static_cast<short>(v);
        params->lx[MP_MAX_KERNEL_HEIGHT - i] = static_cast<short>(v);
    }
}

const char* OpenCLManager::methodName(int method)
{
    static const char* const names[4] = {"none", "CPU", "OCL_CPU", "OCL_GPU"};
    return method >= 0 && method < 4 ? names[method] : names[0];
}

int OpenCLManager::timingLine(char* buffer, size_t size, double ms, const char* name, const char* method,
                              const char* label, int R, int result)
{
    return std::snprintf(buffer, size, "%11.4f ms %s/%s/%s(%d,%d),Err:%d", ms, name, method, label, R, kStripeRows,
                         result);
}

int OpenCLManager::runCpu(const char* name, unsigned width, unsigned height, float* src, float* dst,
                          unsigned srcBpp, unsigned dstBpp, MP_Params* params, int category, float progressStart,
                          float progressDelta)
{
    return MP_UI_executeKernel(name, clampedInt(width), clampedInt(height), reinterpret_cast<ushort*>(src),
                               reinterpret_cast<ushort*>(dst), clampedInt(srcBpp), clampedInt(dstBpp), params,
                               category, progressStart, progressDelta);
}

int OpenCLManager::prepareCpuRadius(const char* name, MP_Params* params)
{
    const int R = radiusOf(MP_UI_getKernelSize(name, params), params->unit_kernel_multiplier);
    setKernelSuperquadricTable(R, params);
    return R;
}

int OpenCLManager::executeKernel(const char* name, unsigned width, unsigned height, float* src, float* dst,
                                 unsigned srcBpp, unsigned dstBpp, MP_Params* params, int category,
                                 float progressStart, float progressDelta, bool uploadSource, bool downloadResult)
{
    (void)uploadSource;
    (void)downloadResult;
    if (MP_UI_GetIsCalculatingCancelRequest() == 1)
        return 0;
    MP_UI_SetTime();
    copyName(m_szKernelName, name);
    const char* kernel = m_szKernelName;
    if (!params)
        return -2;

    if (MP_UI_isKernelExecutionNeeded(kernel, params) == 0)
        return 0;

    const int s = MP_UI_getKernelSplineIndex(kernel);
    if (s >= 0 && s < MP_MAX_PARAMETER) {
        const float* k = params->p[s];
        MP_cubicSplineCoefficients(params, k[0], k[2], k[4], k[6], k[8], k[10], k[1], k[3], k[5], k[7], k[9], k[11]);
    }

    params->panoramamode = MP_UI_GetPanoramaMode();
    params->width = clampedInt(width);
    params->height = clampedInt(height);
    params->y_offset = 0;

    clampRadiusFraction(kernel, params);
    int ks = MP_UI_getKernelSize(kernel, params);
    if (ks < 1)
        ks = 1;
    // The rows of one stripe with its overlaps: 2 ks + 500.
    MP_chooseCalcMethod(kernel, width, height, srcBpp, dstBpp, 2ull * static_cast<uint64_t>(ks) + kStripeRows);

    params->unit_kernel_multiplier = getKernelMultiplier(kernel);
    params->anim_count = MP_UI_GetAnimCount();
    const float m = MP_UI_getSpecificKernelMultiplier(kernel) * MP_UI_GetKernelSampleRate() * kLoopstepFactor;
    params->gpu_loopstep_mulitplier = m;
    params->cpu_loopstep_mulitplier = m;

    int R = radiusOf(ks, params->unit_kernel_multiplier);
    setKernelSuperquadricTable(R, params);

    int result = 0;
    const char* label = "komplett";
    if (MP_processWholeImage(kernel, width, height, srcBpp, dstBpp, R, MP_UI_GetCalcMode())) {
        result = executeKernelFull(kernel, width, height, src, dst, srcBpp, dstBpp, params, category, progressStart,
                                   progressDelta, uploadSource, downloadResult);
    } else {
        const int method = MP_UI_GetCalcMode();
        bool done = false;
        if (method == 2 || method == 3) {
            result = runDeviceStripes(kernel, width, height, src, dst, srcBpp, dstBpp, params, category,
                                      progressStart, progressDelta, R, method);
            if (result == 0) {
                label = "zerlegt";
                done = true;
            }
        }
        if (!done) {
            MP_UI_SetCalcMode(1);
            params->unit_kernel_multiplier = getKernelMultiplier(kernel);
            R = prepareCpuRadius(kernel, params);
            result = runCpu(kernel, width, height, src, dst, srcBpp, dstBpp, params, category, progressStart,
                            progressDelta);
        }
    }

    if (MP_UI_GetShowExexcuteKernelOutput() != 0) {
        char line[512]; // the name has at most 255 characters
        timingLine(line, sizeof line, MP_UI_GetTimeDifference(), kernel, methodName(MP_UI_GetCalcMode()), label, R,
                   result);
        std::printf("%s\n", line);
    }
    return result;
}

int OpenCLManager::executeKernelFull(const char* name, unsigned width, unsigned height, float* src, float* dst,
                                     unsigned srcBpp, unsigned dstBpp, MP_Params* params, int category,
                                     float progressStart, float progressDelta, bool uploadSource,
                                     bool downloadResult)
{
    copyName(m_szFullKernelName, name);
    const char* kernel = m_szFullKernelName;
    if (!params)
        return -2;
    MP_UI_SetCalcMode(1);
    clampRadiusFraction(kernel, params);
    const int method = MP_chooseCalcMethod(kernel, width, height, srcBpp, dstBpp, height);
    params->unit_kernel_multiplier = getKernelMultiplier(kernel);
    if (method == 2 || method == 3) {
        const int result = runDeviceWhole(kernel, width, height, src, dst, srcBpp, dstBpp, params, category,
                                          progressStart, progressDelta, uploadSource, downloadResult, method);
        if (result == 0)
            return 0;
    }
    MP_UI_SetCalcMode(1);
    params->unit_kernel_multiplier = getKernelMultiplier(kernel);
    prepareCpuRadius(kernel, params);
    return runCpu(kernel, width, height, src, dst, srcBpp, dstBpp, params, category, progressStart, progressDelta);
}
