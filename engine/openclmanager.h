#pragma once
// The kernel dispatcher. OpenCLManager::executeKernel is the entry of every
// kernel run: it skips runs that change nothing, completes the parameter block,
// chooses the calculation method and the whole-image or stripe run, runs the
// kernel through the CPU kernel library (MP_UI_executeKernel) or a device, and
// prints one timing line per run. The same singleton holds the device
// back-end. This platform has no compute device: the back-end finds none and
// every run takes the processor library (the start-up forces it anyway); any
// device failure repeats the run on the processor.

#include <cstddef>

struct MP_Params;

class OpenCLManager {
public:
    // Opaque handles of the device back-end.
    using DeviceKernel = void*;
    using DeviceQueue = void*;
    using DeviceId = void*;
    using DeviceProgram = void*;

    static OpenCLManager* getInstance();
    static OpenCLManager* getInstancePtr();
    static void destroy();

    // ---- Dispatcher ----
    // src and dst are image buffers (the pointer type carries no meaning; RGB48
    // for image kernels), srcBpp and dstBpp bytes per pixel. category < 0 posts
    // no progress. Returns 0 (also for a skipped or driverless run), -1 when the
    // driver has no working memory, -2 for a null buffer or block.
    int executeKernel(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                      unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                      bool uploadSource, bool downloadResult);
    // The whole-image run.
    int executeKernelFull(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                          unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                          bool uploadSource, bool downloadResult);
    // The calculation quality, for every kernel.
    float getKernelMultiplier(const char* name);
    // Fills lx[500 - R .. 500 + R] with the odd half-widths of the
    // superquadric window of radius R and exponent kernel_exponent; writes
    // nothing for R outside 0..500.
    void setKernelSuperquadricTable(int R, MP_Params* params);
    // Formats the timing line of one run, without line end, into buffer:
    // "%11.4f ms %s/%s/%s(%d,%d),Err:%d". Returns the length snprintf reports.
    static int timingLine(char* buffer, size_t size, double ms, const char* name, const char* method,
                          const char* label, int R, int result);
    // Name of a calculation method in the timing line.
    static const char* methodName(int method);

    // ---- Device back-end ----
    // 0, or -1: no device, no memory limit for the method, or a failed build.
    int init(unsigned method);
    // Sets the method's memory limit from its device; 0, or -1 (limit 0).
    int setMaxMemAllocSize(unsigned method);
    void calcPixelPerKernelPack();
    // Loads the calibration flags from kernel.ini in the user settings folder;
    // false when there is none, or when it has been loaded 20 times (a new
    // calibration is due).
    bool kernelSpeedFromSettings();
    // Writes the load counter and all calibration flags to kernel.ini; false
    // (old file kept) when the file cannot be written.
    bool kernelSpeedToSettings();
    // Measures the device against the processor and sets the flags; needs an
    // initialised device.
    void compareKernelSpeeds();
    // 1 when the processor is to be forced for this kernel.
    int checkKernelSpeed(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                         unsigned dstBpp, MP_Params* params, bool uploadSource, bool downloadResult, double copyTime);
    // Launches a line kernel over rows [rowOffset, rowOffset + rows); 0 or -6.
    int partitionLineKernel(DeviceKernel kernel, unsigned rowOffset, unsigned width, unsigned rows,
                            unsigned maxPixels, DeviceQueue queue, int category, float progressStart,
                            float progressDelta);
    void generateKernelLocalSize(unsigned width, unsigned height, size_t* lx, size_t* ly);

    // Logging of device calls: 1 for status 0, else the error line and 0.
    int checkErr(int err, const char* where);
    void checkBuildErr(int err, const char* where, DeviceId device, DeviceProgram program);
    bool checkFuncPtr(const void* ptr, const char* name);

    void** getWriteEventList() { return nullptr; }
    int getWriteEventListSize() { return 0; }
    void** getKernelEventList() { return nullptr; }
    int getKernelEventListSize() { return 0; }
    int LoadOpenCL_DLL() { return 1; }

    int lastError() const { return m_iLastError; }

private:
    OpenCLManager();
    ~OpenCLManager();
    OpenCLManager(const OpenCLManager&) = delete;
    OpenCLManager& operator=(const OpenCLManager&) = delete;

    struct Device {
        DeviceId id = nullptr;
        void* context = nullptr;
        DeviceQueue queue = nullptr;
        DeviceProgram program = nullptr;
    };
    // The device of method 2 (processor) or 3 (graphics); nullptr otherwise.
    Device* deviceFor(int method);
    int runDeviceWhole(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                       unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                       bool uploadSource, bool downloadResult, int method);
    int runDeviceStripes(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                         unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                         int R, int method);
    int runCpu(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
               unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta);
    // max(1, (int)(MP_UI_getKernelSize * unit_kernel_multiplier)), and the lx rows.
    int prepareCpuRadius(const char* name, MP_Params* params);

    static OpenCLManager* m_pInstance;

    int m_iLastError = 0;
    Device m_device[2];             // processor device, graphics device
    void* m_deviceImage[2] = {};    // device image buffers kept between runs
    int m_iSourceIndex = 0;
    int m_iDestinationIndex = 1;
    char m_szKernelName[256] = {};     // name of the current executeKernel run
    char m_szFullKernelName[256] = {}; // name of the current executeKernelFull run
};
