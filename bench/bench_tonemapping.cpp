// Tone mapping of the 24-megapixel picture at the catalogue defaults, run by
// name through the dispatcher as the operator chain runs it (full size:
// preview scale 1), with the engine's start values: kernel sample rate 0.8,
// calculation quality 0.5, kernel exponent 4. The window then has radius 117
// with step 9.

#include "benchutil.h"

#include "engine/MP_calc.h"
#include "engine/core/windowweights.h"
#include "engine/hdr/tmwindow.h"
#include "engine/openclmanager.h"

#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

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
// walkers: the widest window walkers the operator may use.
void runToneMapping(benchmark::State& state, const char* kernel, const Defaults& d,
                    mp_tm::WalkerSet walkers = mp_tm::WalkerSet::Best, int threads = 0)
{
    static const bool tables = (MP_fillLookupTables(), true);
    (void)tables;
    MP_UI_SetKernelSampleRate(0.8f);
    MP_UI_SetCalculationQuality(0.5f);
    MP_UI_SetKernelExponent(4.0f);
    MP_UI_SetShowExexcuteKernelOutput(0);
    MP_UI_SetIdealThreadCount(threads > 0 ? threads : QThread::idealThreadCount());
    if (!mp_tm::walkersAvailable(walkers)) {
        state.SkipWithError("walkers not available on this processor");
        return;
    }
    mp_tm::useWalkers(walkers);
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
    mp_tm::useWalkers(mp_tm::WalkerSet::Best);
    MP_UI_SetIdealThreadCount(QThread::idealThreadCount());
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

const Defaults kFattal{0.5f, 0.65f, 0.25f, 0.5f, 0.0f};
const Defaults kMeanlog{0.5f, 0.701f, 0.25f, 0.5f, 0.0f};
const Defaults kMeandiff{0.5f, 0.701f, 0.25f, 0.6f, 0.1f};

void BM_TMfattal(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMfattal", kFattal, mp_tm::WalkerSet::Best, static_cast<int>(state.range(0)));
}
void BM_TMmeanlog(benchmark::State& state) { runToneMapping(state, "MP_calcPixelTMmeanlog", kMeanlog); }
void BM_TMmeandiff(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMmeandiff", kMeandiff, mp_tm::WalkerSet::Best,
                   static_cast<int>(state.range(0)));
}
// The window walk at the width every x86-64 processor has, and at eight
// lanes (AVX2), for the comparison with the default above.
void BM_TMfattalPortable(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMfattal", kFattal, mp_tm::WalkerSet::Portable);
}
void BM_TMfattalAvx2(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMfattal", kFattal, mp_tm::WalkerSet::Avx2, static_cast<int>(state.range(0)));
}
void BM_TMmeanlogAvx2(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMmeanlog", kMeanlog, mp_tm::WalkerSet::Avx2);
}
void BM_TMmeandiffAvx2(benchmark::State& state)
{
    runToneMapping(state, "MP_calcPixelTMmeandiff", kMeandiff, mp_tm::WalkerSet::Avx2,
                   static_cast<int>(state.range(0)));
}

// The window walk alone, on one thread: the statistics of every pixel of the
// 1-megapixel preview's luminance (its green channel) with a round window of
// radius 30 and step 2, for the walker set (0 portable, 1 AVX2, 2 AVX-512)
// and the sums of the operator (3: TMfattal's and most others, 1: TMmeanlog's),
// or (sums 8) TMmeandiff's colour walk.
void BM_TMWalk(benchmark::State& state)
{
    const auto set = static_cast<mp_tm::WalkerSet>(state.range(0));
    const unsigned sums = static_cast<unsigned>(state.range(1));
    if (!mp_tm::walkersAvailable(set)) {
        state.SkipWithError("walkers not available on this processor");
        return;
    }
    const int w = bench::kPreviewWidth, h = bench::kPreviewHeight, r = 30, step = 2;
    std::vector<int> hw(2 * r + 1);
    MP_Params p{};
    for (int ky = -r; ky <= r; ++ky) {
        hw[ky + r] = static_cast<int>(std::sqrt(static_cast<float>(r * r - ky * ky)));
        p.lx[500 + ky] = static_cast<short>(hw[ky + r]);
    }
    MP_runWindowWeightsPass(r, 65535.0f / (float(r) * (2.0f * float(r))), &p);
    const auto& rgb = bench::previewPicture();
    const int pad = r + mp_tm::kChunk;
    const ptrdiff_t stride = w + 2 * pad;
    std::vector<uint16_t> plane(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            plane[static_cast<size_t>(y) * stride + pad + x] = rgb[(static_cast<size_t>(y) * w + x) * 3 + 1];
    const mp_tm::Window win{plane.data() + pad, stride, pad, w, h, r, step, false, hw.data()};
    mp_tm::ColourWindow cwin{rgb.data(), w, h, r, step, false, hw.data(), 3483, 11717, 1182};
    std::vector<uint16_t> planes(mp_tm::colourPlaneSize(w, h, r));
    mp_tm::attachColourPlanes(cwin, planes.data(), r);
    mp_tm::fillColourPlaneRows(cwin, 0, h);

    mp_tm::useWalkers(set);
    const mp_tm::StatsFn fn = mp_tm::statsFunction(sums & 7u);
    const mp_tm::ColourStatsFn cfn = mp_tm::colourStatsFunction();
    mp_tm::useWalkers(mp_tm::WalkerSet::Best);
    mp_tm::Stats st;
    mp_tm::ColourStats cst;
    for (auto _ : state) {
        for (int y = 0; y < h; ++y)
            for (int x0 = 0; x0 < w; x0 += mp_tm::kChunk) {
                const int n = std::min(mp_tm::kChunk, w - x0);
                int K[mp_tm::kChunk] = {};
                for (int i = 0; i < n; ++i)
                    K[i] = plane[static_cast<size_t>(y) * stride + pad + x0 + i];
                if (sums == 8) {
                    cfn(cwin, y, x0, n, K, cst);
                    benchmark::DoNotOptimize(cst.lumd[0]);
                } else {
                    fn(win, y, x0, n, K, st);
                    benchmark::DoNotOptimize(st.lumd[0]);
                }
            }
    }
    bench::setMegapixelRate(state, w, h);
}
BENCHMARK(BM_TMWalk)
    ->ArgNames({"walkers", "sums"})
    ->ArgsProduct({{0, 1, 2}, {3, 1, 8}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Fattal on every core, and at 1, 4 and 8 bands for the scaling.
BENCHMARK(BM_TMfattal)->ArgName("threads")->Arg(0)->Arg(1)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMmeanlog)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMmeandiff)->ArgName("threads")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMfattalPortable)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMfattalAvx2)->ArgName("threads")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMmeanlogAvx2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TMmeandiffAvx2)->ArgName("threads")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
