#include "engine/core/tasks.h"

#include "engine/core/progress.h"
#include "engine/core/settings.h"

#include <QThread>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MP_CPU_RELAX() _mm_pause()
#else
#define MP_CPU_RELAX() std::this_thread::yield()
#endif

namespace {

// The engine's task queue: a fixed set of worker threads (one fewer than the
// processor's ideal thread count; the queuing thread helps while it waits)
// takes tasks from a list that only the queuing thread appends to.
//
// Three counters that only grow describe the list: `m_published` tasks have
// been written, `m_claimed` have been taken by some thread, `m_finished` have
// run. A wait returns when finished equals published; after it the next task
// is written to slot 0 again (`m_base` is the global number of slot 0).
//
// The slots live in segments that never move: 256 inside the queue, then a
// segment as large as the room so far whenever the room is full (512, 1024,
// ...). The room is kept for the life of the program.
class TaskQueue {
public:
    TaskQueue()
    {
        m_segments[0] = m_inline;
    }

    ~TaskQueue()
    {
        m_stop.store(true);
        m_wake.fetch_add(1);
        m_wake.notify_all();
        for (std::thread& t : m_workers)
            t.join();
    }

    void add(MP_TaskFunc fn, TaskFuncParams params, bool onCaller)
    {
        if (pending() == m_capacity && !grow())
            onCaller = true; // 2^30 tasks in one pass: no room is left to queue them
        if (onCaller) {
            // One band at a time: the task runs here, before the next is queued.
            fn(params);
            ++m_ranOnCaller;
            return;
        }
        const uint64_t index = m_published.load(std::memory_order_relaxed) - m_base;
        startWorkers();
        Slot& s = slot(index);
        s.fn = fn;
        s.params = params;
        m_published.fetch_add(1, std::memory_order_seq_cst);
        if (m_sleepingWorkers.load(std::memory_order_seq_cst) > 0) {
            m_wake.fetch_add(1, std::memory_order_seq_cst);
            m_wake.notify_all();
        }
    }

    void waitAll()
    {
        const uint64_t end = m_published.load(std::memory_order_relaxed);
        // Help with the queued tasks, then wait for those still running.
        while (runOne()) {
        }
        for (int spin = 0; m_finished.load(std::memory_order_acquire) != end; ++spin) {
            if (spin < kSpins) {
                MP_CPU_RELAX();
                continue;
            }
            m_waiting.store(true, std::memory_order_seq_cst);
            const uint64_t seen = m_finished.load(std::memory_order_seq_cst);
            if (seen != end)
                m_finished.wait(seen, std::memory_order_acquire);
            m_waiting.store(false, std::memory_order_relaxed);
        }
        m_base = end;
        m_ranOnCaller = 0;
    }

    int capacity() const { return m_capacity; }
    // Tasks queued since the last wait (those already run on the caller included).
    int pending() const
    {
        return static_cast<int>(m_published.load(std::memory_order_relaxed) - m_base) + m_ranOnCaller;
    }

private:
    struct Slot {
        MP_TaskFunc fn;
        TaskFuncParams params;
    };
    static constexpr int kInline = 256;
    static constexpr int kMaxSegments = 23; // room for at most 2^30 tasks
    // Polls before a thread sleeps (a pause is some tens of cycles): long
    // enough to bridge the gap between two chunks of one pass.
    static constexpr int kSpins = 4000;

    Slot& slot(uint64_t index)
    {
        // Segment 0 holds [0, 256), segment s >= 1 holds [256 * 2^(s-1), 256 * 2^s).
        if (index < kInline)
            return m_inline[index];
        const uint64_t q = index / kInline;
        const int s = 64 - __builtin_clzll(q); // 1 + floor(log2(q))
        const uint64_t first = static_cast<uint64_t>(kInline) << (s - 1);
        return m_segments[s][index - first];
    }

    bool grow()
    {
        const int s = m_segmentCount;
        if (s >= kMaxSegments)
            return false;
        m_heap.push_back(std::make_unique<Slot[]>(static_cast<size_t>(m_capacity)));
        m_segments[s] = m_heap.back().get();
        ++m_segmentCount;
        m_capacity *= 2;
        return true;
    }

    // Takes and runs one queued task; false when none is waiting.
    bool runOne()
    {
        uint64_t claimed = m_claimed.load(std::memory_order_relaxed);
        for (;;) {
            if (claimed >= m_published.load(std::memory_order_acquire))
                return false;
            if (m_claimed.compare_exchange_weak(claimed, claimed + 1, std::memory_order_acquire,
                                                std::memory_order_relaxed))
                break;
        }
        // The slot's pass cannot end before this task finishes, so m_base is
        // the base of its pass (written before the pass's first task).
        const Slot& s = slot(claimed - m_baseForWorkers.load(std::memory_order_acquire));
        s.fn(s.params);
        const uint64_t done = m_finished.fetch_add(1, std::memory_order_seq_cst) + 1;
        if (done == m_published.load(std::memory_order_seq_cst) && m_waiting.load(std::memory_order_seq_cst))
            m_finished.notify_all();
        return true;
    }

    void workerLoop()
    {
        while (!m_stop.load(std::memory_order_relaxed)) {
            if (runOne())
                continue;
            bool found = false;
            for (int spin = 0; spin < kSpins && !found; ++spin) {
                MP_CPU_RELAX();
                found = m_claimed.load(std::memory_order_relaxed) < m_published.load(std::memory_order_relaxed);
            }
            if (found)
                continue;
            // Sleep until the queuing thread (or the end of the program)
            // moves the wake-up counter; a task queued after the count of
            // sleepers went up moves it, one queued before is seen here.
            m_sleepingWorkers.fetch_add(1, std::memory_order_seq_cst);
            const uint32_t wake = m_wake.load(std::memory_order_seq_cst);
            if (m_claimed.load(std::memory_order_seq_cst) >= m_published.load(std::memory_order_seq_cst) &&
                !m_stop.load(std::memory_order_seq_cst))
                m_wake.wait(wake, std::memory_order_seq_cst);
            m_sleepingWorkers.fetch_sub(1, std::memory_order_seq_cst);
        }
    }

    void startWorkers()
    {
        m_baseForWorkers.store(m_base, std::memory_order_relaxed); // published by the next task's release
        if (m_started)
            return;
        m_started = true;
        const int workers = std::max(1, QThread::idealThreadCount() - 1);
        m_workers.reserve(static_cast<size_t>(workers));
        for (int i = 0; i < workers; ++i)
            m_workers.emplace_back([this] { workerLoop(); });
    }

    Slot m_inline[kInline];
    Slot* m_segments[kMaxSegments] = {};
    std::vector<std::unique_ptr<Slot[]>> m_heap;
    int m_segmentCount = 1;
    int m_capacity = kInline;

    uint64_t m_base = 0;  // global number of slot 0 (queuing thread only)
    int m_ranOnCaller = 0; // tasks of this pass run by add itself (queuing thread only)
    std::atomic<uint64_t> m_baseForWorkers{0};
    std::atomic<uint64_t> m_published{0};
    std::atomic<uint64_t> m_claimed{0};
    std::atomic<uint64_t> m_finished{0};
    std::atomic<int> m_sleepingWorkers{0};
    std::atomic<uint32_t> m_wake{0};
    std::atomic<bool> m_waiting{false};
    std::atomic<bool> m_stop{false};

    bool m_started = false;
    std::vector<std::thread> m_workers;
};

TaskQueue& taskQueue()
{
    static TaskQueue s_queue;
    return s_queue;
}

} // namespace

void CKernelThreads::AddTask(MP_TaskFunc fn, TaskFuncParams params)
{
    taskQueue().add(fn, params, MP_idealThreadCount <= 1);
}

void CKernelThreads::WaitTasks() { taskQueue().waitAll(); }
int CKernelThreads::Capacity() { return taskQueue().capacity(); }
int CKernelThreads::Pending() { return taskQueue().pending(); }

void C_AddTask(MP_TaskFunc fn, TaskFuncParams params)
{
    if (MP_UI_GetIsCalculatingCancelRequest())
        return;
    CKernelThreads::AddTask(fn, params);
}

void C_WaitTasks() { CKernelThreads::WaitTasks(); }

void MP_runBandPass(MP_TaskFunc fn, TaskFuncParams tmpl, int h, int progressPeriod)
{
    MP_forEachBand(
        h, MP_idealThreadCount,
        [&](int start, int end) {
            MP_setTaskRange(tmpl, start, end);
            C_AddTask(fn, tmpl);
        },
        [&](int j, int end) {
            C_WaitTasks();
            if (progressPeriod > 0 && j % progressPeriod == 0)
                MP_postKernelProgress(end, h);
        });
}

void MP_runSinglePass(MP_TaskFunc fn, TaskFuncParams tmpl, int h)
{
    MP_forEachSingleBand(h, MP_idealThreadCount, [&](int start, int end) {
        MP_setTaskRange(tmpl, start, end);
        C_AddTask(fn, tmpl);
    });
    C_WaitTasks();
}

void MP_runTablePass(MP_TaskFunc fn, TaskFuncParams tmpl, int count)
{
    MP_forEachTableRange(count, MP_idealThreadCount, [&](int start, int end) {
        MP_setTaskRange(tmpl, start, end);
        C_AddTask(fn, tmpl);
    });
    C_WaitTasks();
}
