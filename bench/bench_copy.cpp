// The reference figures: a plain copy of the 24-megapixel RGB48 buffer, on one
// thread and in row bands on every core. Kernel figures are read as ratios
// against these.

#include "benchutil.h"

#include "engine/MP_calc.h"

#include <cstring>

namespace {

struct CopyArgs {
    const uint16_t* src;
    uint16_t* dst;
    int width;
};

void copyRows(TaskFuncParams p)
{
    const CopyArgs* a = MP_taskArgs<CopyArgs>(p);
    const size_t row = static_cast<size_t>(a->width) * 3;
    const int s = MP_taskStart(p), e = MP_taskEnd(p);
    std::memcpy(a->dst + row * s, a->src + row * s, row * (e - s) * sizeof(uint16_t));
}

void BM_CopyRGB48(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<uint16_t> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint16_t));
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_CopyRGB48)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyRGB48Bands(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<uint16_t> dst(src.size());
    CopyArgs args{src.data(), dst.data(), bench::kWidth};
    for (auto _ : state) {
        MP_runBandPass(copyRows, MP_makeTask(nullptr, &args), bench::kHeight);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_CopyRGB48Bands)->Unit(benchmark::kMillisecond)->UseRealTime();

// The task mechanics alone: the band pass over the rows of the 24-megapixel
// picture (one task per band, a wait after each chunk) with empty tasks.
void emptyRows(TaskFuncParams) {}

void BM_EmptyBandPass(benchmark::State& state)
{
    for (auto _ : state)
        MP_runBandPass(emptyRows, MP_makeTask(nullptr, nullptr), bench::kHeight);
}
BENCHMARK(BM_EmptyBandPass)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
