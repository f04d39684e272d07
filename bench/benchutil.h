#pragma once
// Shared set-up of the benchmarks: a 24-megapixel RGB48 test picture and the
// reference copies every kernel figure is compared with.

#include "engine/MP_calc.h"
#include "engine/openclmanager.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000; // 24 megapixels

// A deterministic picture with gradients and texture, RGB48.
const std::vector<uint16_t>& testPicture();

// The document's preview size (about one megapixel) and the test picture at
// that size: every fourth pixel, row and column.
constexpr int kPreviewWidth = 1224;
constexpr int kPreviewHeight = 816;
const std::vector<uint16_t>& previewPicture();

// Whether the summary compares the benchmark with the single-threaded copy
// (the copy itself, the pre-coding and box blur, names with "Single", and
// runs named ".../threads:1"); every other one is compared with the banded copy.
bool isSingleThreaded(const std::string& name);

// Megapixels per second of the benchmark's processed pixels.
void setMegapixelRate(benchmark::State& state, int width, int height);

// Runs an RGB48 driver from the test picture into a picture of the same size
// on every iteration, each time with a fresh parameter block (zeroed, with the
// engine's luminance weights) completed by `setup`.
template <typename Driver, typename Setup>
void runDriver(benchmark::State& state, Driver driver, Setup setup)
{
    auto* src = const_cast<uint16_t*>(testPicture().data());
    std::vector<uint16_t> dst(testPicture().size());
    for (auto _ : state) {
        MP_Params p{};
        MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
        setup(p);
        driver(kWidth, kHeight, src, dst.data(), 6, 6, &p);
        benchmark::DoNotOptimize(dst.data());
    }
    setMegapixelRate(state, kWidth, kHeight);
}

// The engine as the program's start leaves it: lookup tables filled, kernel
// sample rate 0.8, calculation quality 0.5, kernel exponent 4, no kernel log.
inline void useEngineStartValues()
{
    static const bool tables = (MP_fillLookupTables(), true);
    (void)tables;
    MP_UI_SetKernelSampleRate(0.8f);
    MP_UI_SetCalculationQuality(0.5f);
    MP_UI_SetKernelExponent(4.0f);
    MP_UI_SetShowExexcuteKernelOutput(0);
    // As MP_UI_Init leaves it: the worker scheduler runs its band jobs side
    // by side (the HDR fusion, the alignment).
    MP_UI_SetUseMultithreadingMode(1);
}

// A fresh parameter block as the dispatcher hands it to a kernel at full
// size: loop step 1, preview scale 1, the engine's kernel exponent and
// luminance weights; the sliders zero.
inline MP_Params kernelParams()
{
    MP_Params p{};
    p.loopstep = 1;
    p.previewscalingfactor = 1.0f;
    p.kernel_exponent = MP_UI_GetKernelExponent();
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    return p;
}

// Runs `kernel` by name through the dispatcher on the 24-megapixel picture at
// full size, with the engine's start values (kernel sample rate 0.8,
// calculation quality 0.5, kernel exponent 4); `setup` fills the operator's
// sliders. `threads` > 0 runs with that many engine threads.
inline void runKernelByName(benchmark::State& state, const char* kernel, const std::function<void(MP_Params&)>& setup,
                            int threads = 0)
{
    useEngineStartValues();
    const int before = MP_UI_GetIdealThreadCount();
    if (threads > 0)
        MP_UI_SetIdealThreadCount(threads);
    const auto& src = bench::testPicture();
    std::vector<uint16_t> in = src, out(src.size());
    for (auto _ : state) {
        MP_Params p = kernelParams();
        setup(p);
        const int r = OpenCLManager::getInstance()->executeKernel(
            kernel, bench::kWidth, bench::kHeight, reinterpret_cast<float*>(in.data()),
            reinterpret_cast<float*>(out.data()), 6, 6, &p, -1, 0.0f, 1.0f, true, true);
        if (r != 0)
            state.SkipWithError("kernel failed");
        benchmark::DoNotOptimize(out.data());
    }
    MP_UI_SetIdealThreadCount(before);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

} // namespace bench
