#include "engine/core/progress.h"

#include <atomic>

namespace {
std::atomic<MP_ProgressHook> s_hook{nullptr};
}

int _category = -1;
float _progressstart = 0.0f;
float _progressdelta = 1.0f;

void C_AddMessage(int category, float fraction)
{
    if (MP_ProgressHook hook = s_hook.load(std::memory_order_acquire))
        hook(category, fraction);
}

MP_ProgressHook C_SetAddMessageHook(MP_ProgressHook hook)
{
    return s_hook.exchange(hook, std::memory_order_acq_rel);
}

void MP_postKernelProgress(int end, int h)
{
    if (_category < 0 || h <= 0)
        return;
    C_AddMessage(_category, float(end) / float(h) * _progressdelta + _progressstart);
}
