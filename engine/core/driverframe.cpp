#include "engine/core/driverframe.h"

#include "engine/core/pointrows.h"
#include "engine/core/settings.h"
#include "engine/core/splines.h"

#include <algorithm>

float MP_temp_table[MP_TEMP_TABLE_SIZE];
float MP_temp2_table[MP_TEMP_TABLE_SIZE];
float MP_temp3_table[MP_TEMP_TABLE_SIZE];
float MP_temp4_table[MP_TEMP_TABLE_SIZE];
int MP_itemp_table[MP_TEMP_TABLE_SIZE];
int MP_itemp2_table[MP_TEMP_TABLE_SIZE];

namespace {
bool s_plainPointLoops = false;
int s_pointVectorLimit = 2;

int processorPointLevel()
{
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl"))
        return 2;
    if (__builtin_cpu_supports("avx2"))
        return 1;
#endif
    return 0;
}
} // namespace

int MP_pointVectorLevel()
{
    static const int processor = processorPointLevel();
    return processor < s_pointVectorLimit ? processor : s_pointVectorLimit;
}
void MP_SetPointVectorLimit(int level) { s_pointVectorLimit = level; }

void MP_SetPlainPointLoops(bool plain) { s_plainPointLoops = plain; }
bool MP_plainPointLoops() { return s_plainPointLoops; }
bool MP_pointCancelRequested() { return MP_UI_GetIsCalculatingCancelRequest() != 0; }

int MP_beginDriver(MP_DriverRun& run, int sizex, int sizey, const ushort* src, ushort* dst, MP_Params* params,
                   int geoSlot, int comboSlot)
{
    if (!src || !dst || !params || sizex < 0 || sizey < 0)
        return -2;
    run.width = sizex;
    run.height = sizey;
    run.src = src;
    run.dst = dst;
    run.params = params;
    run.geoSlot = geoSlot;
    run.maskTable = nullptr;
    run.mode = 0;
    run.opacity = 1.0f;
    if (comboSlot >= 0 && comboSlot < MP_MAX_PARAMETER) {
        // The slot comes from preset files: a NaN or huge mode is "none".
        run.mode = MP_safeTrunc(params->p[comboSlot][0], 0, 1 << 20);
        run.opacity = 0.01f * params->p[comboSlot][1];
    }
    if (geoSlot >= 0) {
        const int r = MP_calcPrepareGeometry(sizex, sizey, geoSlot, params);
        if (r != 0)
            return r;
    } else {
        params->geometry_needed = 0;
    }
    run.full = run.mode > 0 || run.opacity < 1.0f || params->geometry_needed != 0;
    return 0;
}

int MP_runDriverBands(const MP_DriverRun& run, const void* args, MP_TaskFunc full, MP_TaskFunc reduced,
                      int progressPeriod)
{
    MP_TaskFunc fn = (run.full || !reduced) ? full : reduced;
    MP_runBandPass(fn, MP_makeTask(run.params, args), run.height, progressPeriod);
    return 0;
}

int MP_calcLoopstep(int loopstep, int kernelsize, const MP_Params* params)
{
    int divisor = MP_safeTrunc(params->cpu_loopstep_mulitplier, 1, 1 << 30);
    if (divisor < 1)
        divisor = 1;
    // A block's loopstep below 1 (a cleared or hostile block) counts as the
    // finest step 1. The sum is taken in 64 bits: a loopstep near INT_MAX
    // gives the largest step instead of overflowing.
    const int64_t step = static_cast<int64_t>(MP_imax(1, loopstep)) + kernelsize / divisor;
    return static_cast<int>(std::clamp<int64_t>(step, 1, INT32_MAX));
}

namespace {

struct SplineTableArgs {
    const float* knots; // x1, y1, x2, y2, ... x6, y6
    float* table;
};

void MP_TaskPre_splineTable(TaskFuncParams t)
{
    const SplineTableArgs* a = MP_taskArgs<SplineTableArgs>(t);
    MP_splineSlotTable(a->knots, MP_taskStart(t), MP_taskEnd(t), a->table);
}

} // namespace

void MP_runSplineTablePass(MP_Params* params, int slot, float* table)
{
    SplineTableArgs a{params->p[slot], table};
    MP_runTablePass(MP_TaskPre_splineTable, MP_makeTask(params, &a));
}
