// The HDR step of the series on the 24-megapixel picture: the constant weight
// map of MP_calcPixelHDRaverage, and the weighted fusion of one exposure with
// its automatic and manual maps, in the series' 32 row jobs and on one thread.

#include "benchutil.h"

#include "engine/MP_calc.h"

#include <cstring>

namespace {

void BM_HDRaverageWeightMap(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<uint16_t> map(static_cast<size_t>(bench::kWidth) * bench::kHeight);
    MP_Params params{};
    params.p[2][0] = 0.625f; // global weight 0.5
    for (auto _ : state) {
        MP_calcPixelHDRaverage(bench::kWidth, bench::kHeight, const_cast<uint16_t*>(src.data()), map.data(), 6, 2,
                               &params);
        benchmark::DoNotOptimize(map.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_HDRaverageWeightMap)->Unit(benchmark::kMillisecond)->UseRealTime();

struct FusionSet {
    std::vector<uint16_t> autoMap, output;
    std::vector<int16_t> manualMap;
    MP_FusionParams desc;
    FusionSet()
    {
        const size_t n = static_cast<size_t>(bench::kWidth) * bench::kHeight;
        autoMap.assign(n, 40959);
        manualMap.resize(n);
        for (size_t i = 0; i < n; ++i) // a painted stroke every few hundred pixels
            manualMap[i] = static_cast<int16_t>((i / 331) % 7 == 0 ? -9000 : 0);
        output.resize(n * 3);
        std::memset(&desc, 0, sizeof desc);
        desc.width = bench::kWidth;
        desc.height = bench::kHeight;
        desc.image = const_cast<uint16_t*>(bench::testPicture().data());
        desc.weight_auto = autoMap.data();
        desc.weight_manual = manualMap.data();
        desc.output = output.data();
    }
};

void fusionJob(TaskFuncParams t)
{
    MP_UI_calcHDRfusion(MP_taskArgs<MP_FusionParams>(t), MP_taskStart(t), MP_taskEnd(t));
}

void BM_HDRfusion32Jobs(benchmark::State& state)
{
    FusionSet set;
    const int h = bench::kHeight;
    for (auto _ : state) {
        // The series' split: job k ends at min(h, (int)(k * h * 0.03125)).
        TaskFuncParams t = MP_makeTask(nullptr, &set.desc);
        int start = 0;
        for (int k = 1; k <= 32; ++k) {
            const int end = std::min(h, static_cast<int>(static_cast<float>(k * h) * 0.03125f));
            MP_setTaskRange(t, start, end);
            C_AddTask(fusionJob, t);
            start = end;
        }
        C_WaitTasks();
        benchmark::DoNotOptimize(set.output.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_HDRfusion32Jobs)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HDRfusionSingle(benchmark::State& state)
{
    FusionSet set;
    for (auto _ : state) {
        MP_UI_calcHDRfusion(&set.desc, 0, bench::kHeight);
        benchmark::DoNotOptimize(set.output.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_HDRfusionSingle)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
