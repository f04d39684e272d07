#pragma once
// The engine guard and the document's kernel runner.
//
// The engine is single-entry: one engine operation at a time. CEngineGuard
// serialises it for every caller (GUI thread, loader threads, worker jobs,
// batch). A thread that holds the guard may take it again (nested calls pass);
// other threads wait. An operation holds the guard over its whole run (a
// conversion, an estimator, an HDR pass, a chain run), and every kernel the
// document runs goes through CKernelRunner, which takes it too.
//
// A GUI-thread path reached from event processing while an operation runs (a
// paint during a progress post) must not enter the engine and must not wait:
// it calls CEngineGuard::RunOrDefer, which runs the work at once when the
// engine is idle and otherwise queues it to run after the operation ends.

#include <functional>

struct MP_Params;

class CEngineGuard {
public:
    // Takes the guard: waits while another thread holds it; passes at once
    // when this thread holds it already.
    CEngineGuard();
    ~CEngineGuard();
    CEngineGuard(const CEngineGuard&) = delete;
    CEngineGuard& operator=(const CEngineGuard&) = delete;

    static void Acquire();
    static void Release();

    // True while any thread holds the guard.
    static bool IsBusy();
    static bool IsHeldByCurrentThread();

    // For entries that may arrive from event processing during an operation:
    // when no thread holds the guard, takes it, runs work and returns true.
    // Otherwise (another thread or this very thread is inside an operation)
    // reports busy: work is kept and posted as a queued call to the
    // application object once the running operation releases the guard, where
    // it is tried again. Never waits.
    static bool RunOrDefer(std::function<void()> work);
};

// Runs one kernel of the engine; the default is
// OpenCLManager::getInstance()->executeKernel with the same arguments.
class IKernelExecutor {
public:
    virtual ~IKernelExecutor() = default;
    virtual int ExecuteKernel(const char* name, unsigned width, unsigned height, float* src, float* dst,
                              unsigned srcBpp, unsigned dstBpp, MP_Params* params, int category,
                              float progressStart, float progressDelta, bool uploadSource,
                              bool downloadResult) = 0;
};

class CKernelRunner {
public:
    // Every kernel of the document runs through here, holding the engine guard.
    static int Run(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                   unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                   bool uploadSource = true, bool downloadResult = true);
    // The exposures' form: RGB16 in place (or from src into dst), 6 bytes a
    // pixel, no progress (category -1, start 0, range 0), both flags true.
    static int RunRGB16(const char* name, unsigned width, unsigned height, unsigned short* src, unsigned short* dst,
                        MP_Params* params);
    static int RunRGB16(const char* name, unsigned width, unsigned height, unsigned short* buffer, MP_Params* params)
    {
        return RunRGB16(name, width, height, buffer, buffer, params);
    }

    // Replaces the executor (tests install a recorder); nullptr restores the
    // dispatcher. Returns the previous one (nullptr for the dispatcher).
    static IKernelExecutor* SetExecutor(IKernelExecutor* executor);
};
