#pragma once
// Every engine test starts from the engine's state at program start (every
// setting at its initial value) with an explicit thread count.

#include "engine/MP_calc.h"
#include "engine/hdr/tmwindow.h"
#include "engine/openclmanager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

class EngineTest : public ::testing::Test {
protected:
    static constexpr int kThreads = 4;

    void SetUp() override { resetEngineState(kThreads); }
    void TearDown() override { resetEngineState(kThreads); }

public:
    static void resetEngineState(int threads)
    {
        MP_ResetSettingsToInitial();
        MP_ResetLuminanzConv();
        MP_UI_SetRandomSeed(MP_RANDOMSEED_INITIAL);
        MP_ResetTexturesAndBuffer();
        // The lookup tables as the engine start leaves them: the five fixed
        // tables are filled once per process, the zoom table is type 1.
        static const bool tablesFilled = (MP_fillLookupTables(), true);
        (void)tablesFilled;
        MP_fillZoomTable(1);
        MP_UI_SetIdealThreadCount(threads);
        C_SetAddMessageHook(nullptr);
        MP_SetPrecodingScratchAllocator(nullptr);
        _category = -1;
        _progressstart = 0.0f;
        _progressdelta = 1.0f;
        MP_geometryTestFailAllocation(-1);
        MP_rotationTestFailAllocation(false);
        MP_geometryFreeBuffers();
        MP_ResetAlignQualityValues();
        MP_UI_BrushReleaseBuffer();
#define MP_FORCECPU(kernel, flag, readBack) flag = 0;
#include "engine/core/forcecpu_list.h"
#undef MP_FORCECPU
        forceCPU_MP_loaded = 0;
        MP_SetTestDriverTable(nullptr);
        EVmax = EVmin = EVmin2 = 0.0f;
        mp_tm::usePortableWalkers(false);
        OpenCLManager::destroy();
    }

    // An RGB48 image filled with one colour.
    static std::vector<uint16_t> solidImage(int w, int h, uint16_t r, uint16_t g, uint16_t b)
    {
        std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
        for (size_t i = 0; i < img.size(); i += 3) {
            img[i] = r;
            img[i + 1] = g;
            img[i + 2] = b;
        }
        return img;
    }
};

// An engine test that runs kernels through the kernel manager with its own
// parameter block: cleared, with the current luminance weights.
class KernelTest : public EngineTest {
protected:
    MP_Params params{};

    void SetUp() override
    {
        EngineTest::SetUp();
        params = MP_Params{};
        MP_UI_GetLuminanzConvRGB(&params.lumr, &params.lumg, &params.lumb);
    }

    // Every 16-bit value once, in order, in the first 65,536 channels of a
    // 258 x 85 image (258 * 85 * 3 = 65,790 channel values; the rest are 0).
    static std::vector<uint16_t> allValues(int& w, int& h)
    {
        w = 258;
        h = 85;
        std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3, 0);
        for (int i = 0; i < 65536; ++i)
            img[i] = static_cast<uint16_t>(i);
        return img;
    }

    // Kernel `name` from the RGB48 image src into dst (dstBpp bytes a pixel).
    int run(const char* name, int w, int h, std::vector<uint16_t>& src, std::vector<uint16_t>& dst, int dstBpp = 6)
    {
        return OpenCLManager::getInstance()->executeKernel(name, w, h, reinterpret_cast<float*>(src.data()),
                                                           reinterpret_cast<float*>(dst.data()), 6, dstBpp, &params,
                                                           -1, 0.0f, 1.0f, true, true);
    }
};
