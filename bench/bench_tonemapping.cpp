// Tone mapping of the 24-megapixel picture at the catalogue defaults, run by
// name through the dispatcher as the operator chain runs it (full size:
// preview scale 1), with the engine's start values: kernel sample rate 0.8,
// calculation quality 0.5, kernel exponent 4. The window then has radius 117
// with step 9.

#include "benchutil.h"

#include "engine/MP_calc.h"
#include "engine/hdr/tmwindow.h"
#include "engine/openclmanager.h"

#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace {

struct Defaults {
    float radius, intensity, light, macro, micro;
};

MP_Params toneMappingBlock(const Defaults& d)
{
    MP_Params p{};
    p.loopstep = 1;
    p.previewscalingfactor = 1.0f;
    p.kernel_exponent = MP_UI_GetKernelExponent();
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.p[0][0] = d.radius;
    p.p[1][0] = d.intensity;
    p.p[2][0] = d.light;
    p.p[3][0] = d.macro;
    p.p[4][0] = d.micro;
    for (int i = 0; i < 6; ++i) { // "Maskierung" at its default
        p.p[5][2 * i] = 0.2f * static_cast<float>(i);
        p.p[5][2 * i + 1] = 1.0f;
    }
    p.p[6][1] = 100.0f;
    return p;
}

// Minor page faults of the process so far: each one is a page touched for the
// first time (fresh memory).
long pageFaults()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

// One untimed run first (the first run allocates and touches the scratch
// memory); the timed runs then report in "newMB" the fresh memory each
// touched, which is 0 when the engine kept what the first run allocated.
// threads: the engine's band count for the run (0: every core).
void runToneMapping(benchmark::State& state, const char* kernel, const Defaults& d, bool portable, int threads = 0)
{
    static const bool tables = (MP_fillLookupTables(), true);
    (void)tables;
    MP_UI_SetKernelSampleRate(0.8f);
    MP_UI_SetCalculationQuality(0.5f);
    MP_UI_SetKernelExponent(4.0f);
    MP_UI_SetShowExexcuteKernelOutput(0);
    MP_UI_SetIdealThreadCount(threads > 0 ? threads : QThread::idealThreadCount());
    mp_tm::usePortableWalkers(portable);
    const auto& src = bench::testPicture();
    std::vector<uint16_t> in = src, out(src.size());
    auto run = [&] {
        MP_Params p = toneMappingBlock(d);
        return OpenCLManager::getInstance()->executeKernel(
            kernel, bench::kWidth, bench::kHeight, reinterpret_cast<float*>(in.data()),
            reinterpret_cast<float*>(out.data()), 6, 6, &p, -1, 0.0f, 1.0f, true, true);
    };
    if (run() != 0)
        state.SkipWithError("kernel failed");
    const long faults = pageFaults();
    for (auto _ : state) {
        if (run() != 0)
            state.SkipWithError("kernel failed");
        benchmark::DoNotOptimize(out.data());
    }
    const double fresh = static_cast<double>(pageFaults() - faults) * static_cast<double>(sysconf(_SC_PAGESIZE));
    state.counters["newMB"] = fresh / 1e6 / static_cast<double>(std::max<int64_t>(1, state.iterations()));
    mp_tm::usePortableWalkers(false);
    MP_UI_SetIdealThreadCount(QThread::idealThreadCount());
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

const Defaults kFattal{0.5f, 0.65f, 0.25f, 0.5f, 0.0f};

void BM_TMfattal(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMfattal", kFattal, false, static_cast<int>(state.range(0)));
}
void BM_TMmeanlog(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMmeanlog", {0.5f, 0.701f, 0.25f, 0.5f, 0.0f}, false);
}
void BM_TMmeandiff(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMmeandiff", {0.5f, 0.701f, 0.25f, 0.6f, 0.1f}, false,
                   static_cast<int>(state.range(0)));
}
// The window walk at the width every x86-64 processor has.
void BM_TMfattalPortable(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMfattal", kFattal, true);
}

// Fattal on every core, and at 1, 4 and 8 bands for the scaling.
BENCHMARK(BM_TMfattal)->ArgName("threads")->Arg(0)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMmeanlog)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMmeandiff)->ArgName("threads")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMfattalPortable)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
