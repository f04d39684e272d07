#include "document/kernelrunner.h"

#include "engine/openclmanager.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QMutex>
#include <QRecursiveMutex>
#include <QThread>

#include <atomic>
#include <vector>

namespace {

// The guard: a recursive mutex, its owner and depth. The small state lock
// keeps owner and the deferred list consistent, so a deferral never misses
// the release that is to post it.
QRecursiveMutex g_engineMutex;
QMutex g_stateMutex;
std::atomic<Qt::HANDLE> g_owner{nullptr};
int g_depth = 0; // written by the owner under g_stateMutex
std::vector<std::function<void()>> g_deferred;

std::atomic<IKernelExecutor*> g_executor{nullptr};

void postDeferred(std::vector<std::function<void()>> work)
{
    QCoreApplication* app = QCoreApplication::instance();
    for (auto& fn : work) {
        if (app)
            QMetaObject::invokeMethod(
                app, [fn = std::move(fn)]() mutable { CEngineGuard::RunOrDefer(std::move(fn)); },
                Qt::QueuedConnection);
    }
}

} // namespace

CEngineGuard::CEngineGuard()
{
    Acquire();
}

CEngineGuard::~CEngineGuard()
{
    Release();
}

void CEngineGuard::Acquire()
{
    g_engineMutex.lock();
    QMutexLocker lock(&g_stateMutex);
    g_owner.store(QThread::currentThreadId());
    ++g_depth;
}

void CEngineGuard::Release()
{
    std::vector<std::function<void()>> work;
    {
        QMutexLocker lock(&g_stateMutex);
        if (g_depth <= 0 || g_owner.load() != QThread::currentThreadId())
            return; // not held by this thread: nothing to release
        if (--g_depth == 0) {
            g_owner.store(nullptr);
            work.swap(g_deferred);
        }
    }
    g_engineMutex.unlock();
    if (!work.empty())
        postDeferred(std::move(work));
}

bool CEngineGuard::IsBusy()
{
    return g_owner.load() != nullptr;
}

bool CEngineGuard::IsHeldByCurrentThread()
{
    return g_owner.load() == QThread::currentThreadId();
}

bool CEngineGuard::RunOrDefer(std::function<void()> work)
{
    for (;;) {
        if (g_engineMutex.tryLock()) {
            bool nested = false;
            {
                QMutexLocker lock(&g_stateMutex);
                nested = g_depth > 0; // this thread is inside an operation
                if (nested)
                    g_deferred.push_back(std::move(work));
                else {
                    g_owner.store(QThread::currentThreadId());
                    g_depth = 1;
                }
            }
            if (nested) {
                g_engineMutex.unlock();
                return false;
            }
            work();
            Release();
            return true;
        }
        QMutexLocker lock(&g_stateMutex);
        if (g_owner.load() != nullptr) {
            g_deferred.push_back(std::move(work));
            return false;
        }
        // Released between the attempt and here: try again.
    }
}

int CKernelRunner::Run(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                       unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                       bool uploadSource, bool downloadResult)
{
    CEngineGuard guard;
    if (IKernelExecutor* executor = g_executor.load())
        return executor->ExecuteKernel(name, width, height, src, dst, srcBpp, dstBpp, params, category,
                                       progressStart, progressDelta, uploadSource, downloadResult);
    return OpenCLManager::getInstance()->executeKernel(name, width, height, src, dst, srcBpp, dstBpp, params,
                                                       category, progressStart, progressDelta, uploadSource,
                                                       downloadResult);
}

int CKernelRunner::RunRGB16(const char* name, unsigned width, unsigned height, unsigned short* src,
                            unsigned short* dst, MP_Params* params)
{
    return Run(name, width, height, reinterpret_cast<float*>(src), reinterpret_cast<float*>(dst), 6, 6, params, -1,
               0.0f, 0.0f, true, true);
}

IKernelExecutor* CKernelRunner::SetExecutor(IKernelExecutor* executor)
{
    return g_executor.exchange(executor);
}
