#pragma once
// Shared set-up of the benchmarks: a 24-megapixel RGB48 test picture and the
// reference copies every kernel figure is compared with.

#include "engine/MP_calc.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000; // 24 megapixels

// A deterministic picture with gradients and texture, RGB48.
const std::vector<uint16_t>& testPicture();

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

} // namespace bench
