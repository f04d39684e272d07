#pragma once
// Band tasks: the engine's only parallelism is a flat queue of independent
// tasks on Qt's global thread pool and one barrier, C_WaitTasks.

#include <cstdint>

struct MP_Params;

// Five 64-bit words handed by value to every task:
//   w[0] operation-specific, w[1] range (start low 32 bits, end high 32 bits),
//   w[2] operation-specific, w[3] the run's MP_Params, w[4] the argument block.
struct TaskFuncParams {
    uint64_t w[5];
};
using MP_TaskFunc = void (*)(TaskFuncParams);

inline int MP_taskStart(const TaskFuncParams& p) { return static_cast<int32_t>(static_cast<uint32_t>(p.w[1])); }
inline int MP_taskEnd(const TaskFuncParams& p) { return static_cast<int32_t>(static_cast<uint32_t>(p.w[1] >> 32)); }
inline void MP_setTaskRange(TaskFuncParams& p, int start, int end)
{
    p.w[1] = (static_cast<uint64_t>(static_cast<uint32_t>(end)) << 32) | static_cast<uint32_t>(start);
}
inline MP_Params* MP_taskParams(const TaskFuncParams& p) { return reinterpret_cast<MP_Params*>(static_cast<uintptr_t>(p.w[3])); }
template <typename T> inline T* MP_taskArgs(const TaskFuncParams& p) { return reinterpret_cast<T*>(static_cast<uintptr_t>(p.w[4])); }

// A task template for an operation: parameter block in word 3, argument block in word 4.
inline TaskFuncParams MP_makeTask(MP_Params* params, const void* args, uint64_t w0 = 0, uint64_t w2 = 0)
{
    TaskFuncParams t{};
    t.w[0] = w0;
    t.w[2] = w2;
    t.w[3] = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(params));
    t.w[4] = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(args));
    return t;
}

// Queues fn(params) unless the engine's cancel request is set.
void C_AddTask(MP_TaskFunc fn, TaskFuncParams params);
// Waits for every task queued since the last wait, in queue order.
void C_WaitTasks();

class CKernelThreads {
public:
    CKernelThreads() = delete;
    static void AddTask(MP_TaskFunc fn, TaskFuncParams params);
    static void WaitTasks();
    // Room of the future list (256 inside, doubling when full; never shrinks).
    static int Capacity();
    static int Pending();
};

// ---- Splitting passes into tasks -------------------------------------------
// The splits below are the engine's rules; every multi-threaded operation uses
// them, so the bands a driver sees never depend on where it was written.

// Band pass over h rows with N = MP_idealThreadCount tasks per chunk and
// max(1, (int)(h / (64 N))) chunks (bands of about rowsPerBand rows: 64, or
// 16 for operators whose rows are costly). For each chunk, `task(start, end)`
// is called for the non-empty bands, then `chunkDone(j, lastEnd)` after it.
// The last band of the last chunk ends at h.
template <typename TaskFn, typename ChunkFn>
void MP_forEachBand(int h, int n, TaskFn&& task, ChunkFn&& chunkDone, int rowsPerBand = 64)
{
    if (n < 1)
        n = 1;
    if (rowsPerBand < 1)
        rowsPerBand = 1;
    const int T = n;
    int C = static_cast<int>(static_cast<float>(h) / static_cast<float>(rowsPerBand * n));
    if (C < 1)
        C = 1;
    int start = 0;
    for (int j = 0; j < C; ++j) {
        const float base = (static_cast<float>(j) / static_cast<float>(C)) * static_cast<float>(h);
        int end = 0;
        for (int k = 1; k <= T; ++k) {
            end = static_cast<int>(static_cast<float>(k) * static_cast<float>(h) / static_cast<float>(T * C) + base);
            if (end > h)
                end = h;
            if (j == C - 1 && k == T)
                end = h;
            if (end > start) {
                task(start, end);
                start = end;
            }
        }
        chunkDone(j, end);
    }
}

// Single pass: exactly N tasks over h rows, end = min(h, (int)(k h / N)),
// empty tasks included.
template <typename TaskFn>
void MP_forEachSingleBand(int h, int n, TaskFn&& task)
{
    if (n < 1)
        n = 1;
    int start = 0;
    for (int k = 1; k <= n; ++k) {
        int end = static_cast<int>(static_cast<float>(k) * static_cast<float>(h) / static_cast<float>(n));
        if (end > h)
            end = h;
        task(start, end);
        start = end;
    }
}

// Lookup-table pass: N tasks over [0, count), task k ends at
// min(count, (int)(k * count / N)) with the quotient in single precision.
template <typename TaskFn>
void MP_forEachTableRange(int count, int n, TaskFn&& task)
{
    if (n < 1)
        n = 1;
    int start = 0;
    for (int k = 1; k <= n; ++k) {
        int end = static_cast<int>(static_cast<float>(k) * static_cast<float>(count) / static_cast<float>(n));
        if (end > count)
            end = count;
        task(start, end);
        start = end;
    }
}

// Queues fn over the bands of h rows (template copied per task with its range)
// and waits after each chunk. With progressPeriod P > 0 progress is posted
// after chunk j when j is a multiple of P (see MP_postKernelProgress).
void MP_runBandPass(MP_TaskFunc fn, TaskFuncParams tmpl, int h, int progressPeriod = 0, int rowsPerBand = 64);
// Single-pass form: N tasks over the whole height, one wait.
void MP_runSinglePass(MP_TaskFunc fn, TaskFuncParams tmpl, int h);
// Table pass over [0, count) (65,536 entries by default), one wait.
void MP_runTablePass(MP_TaskFunc fn, TaskFuncParams tmpl, int count = 65536);
