#include "engine/core/tasks.h"

#include "engine/core/progress.h"
#include "engine/core/settings.h"

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <memory>
#include <utility>

namespace {

// Futures of the tasks queued since the last wait. Room for 256 inside the
// list itself; when full, the room doubles on the heap and is kept.
class FutureList {
public:
    ~FutureList()
    {
        // release from the last to the first
        for (int i = m_size - 1; i >= 0; --i)
            m_data[i] = QFuture<void>();
    }
    void append(QFuture<void>&& f)
    {
        if (m_size == m_capacity)
            grow();
        m_data[m_size++] = std::move(f);
    }
    void waitAll()
    {
        for (int i = 0; i < m_size; ++i) {
            m_data[i].waitForFinished();
            m_data[i] = QFuture<void>();
        }
        m_size = 0;
    }
    int capacity() const { return m_capacity; }
    int size() const { return m_size; }

private:
    void grow()
    {
        const int newCapacity = m_capacity * 2;
        auto heap = std::make_unique<QFuture<void>[]>(static_cast<size_t>(newCapacity));
        for (int i = 0; i < m_size; ++i)
            heap[i] = std::move(m_data[i]);
        m_heap = std::move(heap);
        m_data = m_heap.get();
        m_capacity = newCapacity;
    }

    QFuture<void> m_inline[256];
    std::unique_ptr<QFuture<void>[]> m_heap;
    QFuture<void>* m_data = m_inline;
    int m_size = 0;
    int m_capacity = 256;
};

FutureList& futureList()
{
    static FutureList s_FutureList;
    return s_FutureList;
}

} // namespace

void CKernelThreads::AddTask(MP_TaskFunc fn, TaskFuncParams params)
{
    futureList().append(QtConcurrent::run(fn, params));
}

void CKernelThreads::WaitTasks() { futureList().waitAll(); }
int CKernelThreads::Capacity() { return futureList().capacity(); }
int CKernelThreads::Pending() { return futureList().size(); }

void C_AddTask(MP_TaskFunc fn, TaskFuncParams params)
{
    if (MP_UI_GetIsCalculatingCancelRequest())
        return;
    CKernelThreads::AddTask(fn, params);
}

void C_WaitTasks() { CKernelThreads::WaitTasks(); }

void MP_runBandPass(MP_TaskFunc fn, TaskFuncParams tmpl, int h, int progressPeriod, int rowsPerBand)
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
        },
        rowsPerBand);
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
