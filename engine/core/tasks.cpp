#include "engine/core/tasks.h"

#include "engine/core/progress.h"
#include "engine/core/settings.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>
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

// The engine's task queue: a fixed set of worker threads (the processor's
// ideal thread count, started with the first multi-threaded pass) takes tasks
// from a list that only the queuing thread appends to.
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
        {
            std::lock_guard<std::mutex> lock(m_sleepMutex);
            m_stop.store(true);
        }
        m_workAvailable.notify_all();
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
            // taking the lock orders this wake-up after a sleeper's last look
            std::lock_guard<std::mutex> lock(m_sleepMutex);
            m_workAvailable.notify_one();
        }
    }

    void waitAll()
    {
        const uint64_t end = m_published.load(std::memory_order_relaxed);
        // The workers run the tasks; the queuing thread only runs them when
        // no worker could be started. (Helping would put one thread more than
        // the processor has on the tasks, and on a busy machine the helper
        // ends up as the pass's straggler.)
        if (m_workers.empty()) {
            while (runOne()) {
            }
        }
        for (int spin = 0; m_finished.load(std::memory_order_acquire) != end; ++spin) {
            if (spin < kSpins) {
                MP_CPU_RELAX();
                continue;
            }
            std::unique_lock<std::mutex> lock(m_sleepMutex);
            m_waiting.store(true, std::memory_order_seq_cst);
            while (m_finished.load(std::memory_order_seq_cst) != end)
                m_allDone.wait(lock);
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
    // Polls before a thread sleeps (a pause is some tens of cycles): enough
    // to bridge the gap between two chunks of a pass on a quiet machine,
    // short enough not to keep other threads off a busy one.
    static constexpr int kSpins = 300;

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
        if (done == m_published.load(std::memory_order_seq_cst) && m_waiting.load(std::memory_order_seq_cst)) {
            std::lock_guard<std::mutex> lock(m_sleepMutex);
            m_allDone.notify_one();
        }
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
            // Sleep until a task is queued (or the program ends): a task
            // queued after the count of sleepers went up sends a wake-up
            // under the mutex, one queued before is seen by the test here.
            // (A condition variable, not an atomic wait: the latter yields
            // the processor repeatedly before it sleeps, and a busy machine
            // then hands a waking worker its task late.)
            std::unique_lock<std::mutex> lock(m_sleepMutex);
            m_sleepingWorkers.fetch_add(1, std::memory_order_seq_cst);
            while (m_claimed.load(std::memory_order_seq_cst) >= m_published.load(std::memory_order_seq_cst) &&
                   !m_stop.load(std::memory_order_seq_cst))
                m_workAvailable.wait(lock);
            m_sleepingWorkers.fetch_sub(1, std::memory_order_seq_cst);
        }
    }

    void startWorkers()
    {
        m_baseForWorkers.store(m_base, std::memory_order_relaxed); // published by the next task's release
        if (m_started)
            return;
        m_started = true;
        const int workers = std::max(1, QThread::idealThreadCount());
        try {
            m_workers.reserve(static_cast<size_t>(workers));
            for (int i = 0; i < workers; ++i)
                m_workers.emplace_back([this] { workerLoop(); });
        } catch (...) {
            // No thread to be had: the workers started so far (maybe none)
            // and, without any, the queuing thread run the tasks.
        }
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
    // Sleeping: workers wait for work, the queuing thread for the end of a
    // pass, each on its condition under the one mutex (only off the fast path).
    std::mutex m_sleepMutex;
    std::condition_variable m_workAvailable;
    std::condition_variable m_allDone;
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
