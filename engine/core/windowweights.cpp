#include "engine/core/windowweights.h"

#include "engine/core/mathfuncs.h"
#include "engine/core/mp_params.h"
#include "engine/core/settings.h"
#include "engine/core/tables.h"
#include "engine/core/tasks.h"

float localexp[MP_LOCALEXP_SIZE];

namespace {

struct WeightRowsArgs {
    int r;
    float scale;
    const MP_Params* params;
};

// Rows [start, end] inclusive (the range word carries the row offsets).
void weightRowsTask(TaskFuncParams t)
{
    const WeightRowsArgs* a = MP_taskArgs<WeightRowsArgs>(t);
    MP_fillWindowWeightRows(MP_taskStart(t), MP_taskEnd(t), a->r, a->scale, a->params);
}

} // namespace

int MP_windowRowHalfWidth(const MP_Params* params, int ky)
{
    const int h = params->lx[MP_MAX_KERNEL_HEIGHT + ky];
    return h < 0 ? 0 : (h > MP_LOCALEXP_COLUMN_RADIUS ? MP_LOCALEXP_COLUMN_RADIUS : h);
}

void MP_fillWindowWeightRows(int first, int last, int r, float scale, const MP_Params* params)
{
    r = MP_iclamp(r, 0, MP_LOCALEXP_RADIUS);
    if (first < -r)
        first = -r;
    if (last > r)
        last = r;
    for (int ky = first; ky <= last; ++ky) {
        int cols = r;
        if (params) {
            const int h = MP_windowRowHalfWidth(params, ky);
            if (h > cols)
                cols = h;
        }
        float* row = &localexp[MP_localexpIndex(0, ky)];
        for (int kx = -cols; kx <= cols; ++kx) {
            const float v = static_cast<float>(kx * kx + ky * ky) * scale;
            row[kx] = MP_exp_table[MP_safeTrunc(v, 0, 65535)];
        }
    }
}

void MP_runWindowWeightsPass(int r, float scale, const MP_Params* params)
{
    r = MP_iclamp(r, 0, MP_LOCALEXP_RADIUS);
    WeightRowsArgs args{r, scale, params};
    const TaskFuncParams tmpl = MP_makeTask(nullptr, &args);
    const int n = MP_UI_GetIdealThreadCount() < 1 ? 1 : MP_UI_GetIdealThreadCount();
    const float rows = static_cast<float>(2 * r + 1);
    int last = -r - 1; // last row of the previous task
    for (int j = 1; j <= n; ++j) {
        int end = static_cast<int>(static_cast<float>(j) * rows / static_cast<float>(n)) - r;
        if (end > r)
            end = r;
        if (end > last) {
            TaskFuncParams t = tmpl;
            MP_setTaskRange(t, last + 1, end);
            C_AddTask(weightRowsTask, t);
            last = end;
        }
    }
    C_WaitTasks();
}
