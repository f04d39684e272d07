// Slider response: what the document does after one parameter change of a
// chain, for every factory preset. The 1-megapixel preview (1224 x 816, taken
// from the 24-megapixel test picture) is filled into the chain's preview
// buffer (InitBuffer) and the preset's chain runs on it (Process) with the
// full size 6000 x 4000 for the preview scale, on 4 engine threads, with the
// engine's start values (two 3D iterations after each tone mapping). The
// chain is read from the factory preset file the way the program reads it
// (CPostProcessing's INI reading); each benchmark is named by the preset's
// file name (the display names change over time).
//
// Counters: "xCopy" is the time over a banded copy of the same 1-megapixel
// buffer on the same 4 threads, measured in the same benchmark; "<kernel>" is
// the share (ms per run) of every kernel the chain ran, timed at the kernel
// runner, so the split of a preset comes from its own run.
//
// BM_SliderPreset/<preset>/plain runs the same chain with the point
// operators' plain per-pixel loops and a table fill on every run (the code
// before their vector row loops and kept tables), for the old-new ratio of
// each kernel in one run; /avx2 with their AVX2 copy and the eight-lane
// tone-mapping walkers instead of the widest the processor has.
//
// BM_SliderPass<kernel>/threads:N/vector:V runs one tone-mapping pass alone on the preview,
// with the blocks the chain builds for it (the tone-mapping operator of
// "natuerlich" and of "surreal", the sharpening and averaging sub-passes of
// the default two 3D iterations, the gradation after the operator).

#include "benchutil.h"

#include "engine/core/conversions.h"
#include "engine/core/pointrows.h"

#include "document/kernelrunner.h"
#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "engine/effects/drawing.h"
#include "engine/filters/edgeenhance.h"
#include "engine/hdr/tmwindow.h"
#include "engine/openclmanager.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using bench::kPreviewHeight;
using bench::kPreviewWidth;
constexpr int kThreads = 4;

const std::vector<uint16_t>& Preview() { return bench::previewPicture(); }


// Seconds of one banded copy of the preview on the engine's threads (the
// fastest of 50, so a busy moment of the machine does not inflate it).
double BandedCopySeconds()
{
    const auto& src = Preview();
    std::vector<uint16_t> dst(src.size());
    double best = 1e9;
    for (int i = 0; i < 50; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        MP_MT_copyRows(src.data(), dst.data(), size_t(kPreviewWidth) * 6, kPreviewHeight);
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    benchmark::DoNotOptimize(dst.data());
    return best;
}

// Times every kernel the chain runs, then hands it to the dispatcher.
class TimingExecutor : public IKernelExecutor {
public:
    int ExecuteKernel(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                      unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                      bool uploadSource, bool downloadResult) override
    {
        const auto t0 = std::chrono::steady_clock::now();
        const int r = OpenCLManager::getInstance()->executeKernel(name, width, height, src, dst, srcBpp, dstBpp,
                                                                  params, category, progressStart, progressDelta,
                                                                  uploadSource, downloadResult);
        const auto t1 = std::chrono::steady_clock::now();
        std::string key = name;
        if (key.rfind("MP_calcPixel", 0) == 0)
            key = key.substr(12);
        seconds[key] += std::chrono::duration<double>(t1 - t0).count();
        return r;
    }
    std::map<std::string, double> seconds;
};

// The engine as the program starts it, on 4 threads; restored on leaving.
struct EngineOnFourThreads {
    int before;
    explicit EngineOnFourThreads(int threads = kThreads) : before(MP_UI_GetIdealThreadCount())
    {
        bench::useEngineStartValues();
        // The start's two 3D iterations: every tone mapping is followed by
        // sharpening, averaging, sharpening, averaging, sharpening.
        MP_UI_SetTM3dIterations(2);
        MP_UI_SetIdealThreadCount(threads);
    }
    ~EngineOnFourThreads()
    {
        MP_UI_SetTM3dIterations(0);
        MP_UI_SetIdealThreadCount(before);
    }
};

// How the point operators run: their vector row loops (the processor's
// widest copy, or the AVX2 one) or their plain loops.
enum class PointLoops { Widest, Avx2, Plain };

// The point operators' loops for the life of a benchmark.
struct PointLoopsFor {
    explicit PointLoopsFor(PointLoops l)
    {
        MP_SetPlainPointLoops(l == PointLoops::Plain);
        MP_SetPointVectorLimit(l == PointLoops::Avx2 ? 1 : 2);
    }
    ~PointLoopsFor()
    {
        MP_SetPlainPointLoops(false);
        MP_SetPointVectorLimit(2);
    }
};

// The code paths kept for old-against-new figures ("BM_SliderPresetOld/..."):
// the comic filter and the edge enhancer as they were before their
// reciprocal and run rework (the same bits).
struct OldPaths {
    explicit OldPaths(bool on)
    {
        g_enhanceDivide = on;
        g_comicReference = on;
    }
    ~OldPaths()
    {
        g_enhanceDivide = false;
        g_comicReference = false;
    }
};

struct WalkerScope {
    explicit WalkerScope(mp_tm::WalkerSet set) { mp_tm::useWalkers(set); }
    ~WalkerScope() { mp_tm::useWalkers(mp_tm::WalkerSet::Best); }
};

// walkers: the widest tone-mapping window walkers the chain may use.
void SliderPreset(benchmark::State& state, const QString& file, PointLoops pointLoops = PointLoops::Widest,
                  bool old = false)
{
    const mp_tm::WalkerSet walkers = pointLoops == PointLoops::Avx2 ? mp_tm::WalkerSet::Avx2 : mp_tm::WalkerSet::Best;
    if (!mp_tm::walkersAvailable(walkers)) {
        state.SkipWithError("walkers not available on this processor");
        return;
    }
    WalkerScope walkerSet(walkers);
    EngineOnFourThreads engine;
    OldPaths paths(old);
    PointLoopsFor loops(pointLoops);
    CPostProcessing chain;
    chain.SetSettingsPath(QStringLiteral(LUMIVEX_PRESETS_DIR "/") + file);
    chain.FromSettings();
    if (chain.m_vecOperators.isEmpty()) {
        state.SkipWithError("preset not read");
        return;
    }
    auto* preview = const_cast<uint16_t*>(Preview().data());
    const QSize size(kPreviewWidth, kPreviewHeight);
    auto run = [&] {
        CPostProcessing::InitBuffer(preview, size, size, true);
        return chain.Process(bench::kWidth, bench::kHeight, true);
    };
    if (run() != 0) { // first run: scratch memory and tables
        state.SkipWithError("chain failed");
        return;
    }
    const double copy = BandedCopySeconds();
    TimingExecutor timing;
    IKernelExecutor* previous = CKernelRunner::SetExecutor(&timing);
    double total = 0.0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(CPostProcessing::GetPreviewBuffer());
    }
    CKernelRunner::SetExecutor(previous);
    const double n = static_cast<double>(std::max<int64_t>(1, state.iterations()));
    state.counters["xCopy"] = total / n / copy;
    for (const auto& [kernel, s] : timing.seconds)
        state.counters[kernel] = s / n * 1e3;
    bench::setMegapixelRate(state, kPreviewWidth, kPreviewHeight);
}

QStringList FactoryPresets()
{
    return QDir(QStringLiteral(LUMIVEX_PRESETS_DIR))
        .entryList({QStringLiteral("lumivexpp_v3_*.ini")}, QDir::Files, QDir::Name);
}

const bool kPresetsRegistered = [] {
    for (const QString& file : FactoryPresets()) {
        const std::string name = "BM_SliderPreset/" + QFileInfo(file).completeBaseName().toStdString();
        const std::pair<PointLoops, const char*> variants[] = {
            {PointLoops::Widest, ""}, {PointLoops::Avx2, "/avx2"}, {PointLoops::Plain, "/plain"}};
        for (const auto& [loops, suffix] : variants)
            benchmark::RegisterBenchmark((name + suffix).c_str(),
                                         [file, loops](benchmark::State& s) { SliderPreset(s, file, loops); })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    }
    for (const char* file : {"lumivexpp_v3_15_surreal_farbe.ini", "lumivexpp_v3_18_comic.ini"}) {
        const QString f = QString::fromLatin1(file);
        const std::string name = "BM_SliderPresetOld/" + QFileInfo(f).completeBaseName().toStdString();
        benchmark::RegisterBenchmark(name.c_str(), [f](benchmark::State& s) { SliderPreset(s, f, PointLoops::Widest, true); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    return true;
}();

void BM_SliderCopy(benchmark::State& state)
{
    EngineOnFourThreads engine;
    const auto& src = Preview();
    std::vector<uint16_t> dst(src.size());
    for (auto _ : state) {
        MP_MT_copyRows(src.data(), dst.data(), size_t(kPreviewWidth) * 6, kPreviewHeight);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, kPreviewWidth, kPreviewHeight);
}
BENCHMARK(BM_SliderCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- One pass alone ----------------------------------------------------------

// The block of the tone-mapping operator of a preset (its first operator,
// or operator `index`), as the chain fills it.
void OperatorBlock(MP_Params* P, const QString& file, int index = 0)
{
    CPostProcessing chain;
    chain.SetSettingsPath(QStringLiteral(LUMIVEX_PRESETS_DIR "/") + file);
    chain.FromSettings();
    CPostProcessing::FillKernelHeader(P, bench::kWidth, bench::kHeight, kPreviewWidth, kPreviewHeight);
    if (chain.m_vecOperators.size() <= index)
        return;
    const SOperator& op = chain.m_vecOperators[index];
    for (int j = 0; j < std::min<int>(op.parameters.size(), MP_MAX_PARAMETER); ++j)
        std::memcpy(P->p[j], op.parameters[j].pfValues, sizeof(P->p[j]));
}

enum class Pass { Fattal, Meandiff, SubSharpen, SubDeNoise, Gradation, ComicPaint, Enhance };

// walkers: the widest window walkers the tone-mapping pass may use.
// oldArg: the second argument picks the old code paths (OldPaths); else it
// is "vector": 2 the processor's widest row copies and walkers, 1 at most AVX2.
void SliderPass(benchmark::State& state, Pass pass, bool oldArg = false)
{
    const bool avx2 = !oldArg && state.range(1) == 1;
    const mp_tm::WalkerSet walkers = avx2 ? mp_tm::WalkerSet::Avx2 : mp_tm::WalkerSet::Best;
    if (!mp_tm::walkersAvailable(walkers)) {
        state.SkipWithError("walkers not available on this processor");
        return;
    }
    WalkerScope walkerSet(walkers);
    EngineOnFourThreads engine(static_cast<int>(state.range(0)));
    OldPaths paths(oldArg && state.range(1) != 0);
    PointLoopsFor loops(avx2 ? PointLoops::Avx2 : PointLoops::Widest);
    MP_Params P{};
    const char* kernel = "";
    switch (pass) {
    case Pass::Fattal:
        OperatorBlock(&P, QStringLiteral("lumivexpp_v3_01_natuerlich.ini"));
        kernel = "MP_calcPixelTMfattal";
        break;
    case Pass::Meandiff:
        OperatorBlock(&P, QStringLiteral("lumivexpp_v3_13_surreal.ini"));
        kernel = "MP_calcPixelTMmeandiff";
        break;
    case Pass::SubSharpen:
    case Pass::SubDeNoise: {
        // The second of the default two iterations: p0 the larger detail
        // slider of "natuerlich", p1 = 2 / F with F = 2 * 1.7.
        OperatorBlock(&P, QStringLiteral("lumivexpp_v3_01_natuerlich.ini"));
        const float d = std::max(P.p[3][0], P.p[4][0]);
        std::memset(P.p, 0, sizeof(P.p));
        P.p[0][0] = d;
        P.p[1][0] = 2.0f / (2.0f * 1.7f);
        kernel = pass == Pass::SubSharpen ? "MP_calcPixelSubSharpen" : "MP_calcPixelSubDeNoiseAverage";
        break;
    }
    case Pass::ComicPaint: // the second operators of "Comic" and "surreal farbe"
        OperatorBlock(&P, QStringLiteral("lumivexpp_v3_18_comic.ini"), 1);
        kernel = "MP_calcPixelComicPaint";
        break;
    case Pass::Enhance:
        OperatorBlock(&P, QStringLiteral("lumivexpp_v3_15_surreal_farbe.ini"), 2);
        kernel = "MP_calcPixelEnhance";
        break;
    case Pass::Gradation: {
        CPostProcessing::FillKernelHeader(&P, bench::kWidth, bench::kHeight, kPreviewWidth, kPreviewHeight);
        const float knots[12] = {0.0f, 0.0f, 0.2f, 0.15f, 0.4f, 0.4f, 0.6f, 0.6f, 0.8f, 0.8f, 1.0f, 1.0f};
        std::memcpy(P.p[0], knots, sizeof(knots));
        P.p[1][1] = 100.0f;
        kernel = "MP_calcPixelGradationLagrange";
        break;
    }
    }
    std::vector<uint16_t> image = Preview();
    const MP_Params block = P;
    auto run = [&] {
        P = block;
        float* buffer = reinterpret_cast<float*>(image.data());
        return OpenCLManager::getInstance()->executeKernel(kernel, kPreviewWidth, kPreviewHeight, buffer, buffer, 6,
                                                           6, &P, -1, 0.0f, 0.0f, true, true);
    };
    if (run() != 0) {
        state.SkipWithError("kernel failed");
        return;
    }
    const double copy = BandedCopySeconds();
    double total = 0.0;
    for (auto _ : state) {
        // Each run starts from the preview again, as in the chain (the copy
        // is outside the timed part).
        state.PauseTiming();
        std::memcpy(image.data(), Preview().data(), image.size() * sizeof(uint16_t));
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        run();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(image.data());
    }
    state.counters["xCopy"] = total / static_cast<double>(std::max<int64_t>(1, state.iterations())) / copy;
    bench::setMegapixelRate(state, kPreviewWidth, kPreviewHeight);
}

void BM_SliderPassTMfattal(benchmark::State& s) { SliderPass(s, Pass::Fattal); }
void BM_SliderPassTMmeandiff(benchmark::State& s) { SliderPass(s, Pass::Meandiff); }
void BM_SliderPassSubSharpen(benchmark::State& s) { SliderPass(s, Pass::SubSharpen); }
void BM_SliderPassSubDeNoiseAverage(benchmark::State& s) { SliderPass(s, Pass::SubDeNoise); }
void BM_SliderPassGradationLagrange(benchmark::State& s) { SliderPass(s, Pass::Gradation); }
void BM_SliderPassComicPaint(benchmark::State& s) { SliderPass(s, Pass::ComicPaint, true); }
void BM_SliderPassEnhance(benchmark::State& s) { SliderPass(s, Pass::Enhance, true); }
// On the 4 engine threads of the preset figures, and on one for the work
// itself; with the widest vector copies and with AVX2 at most.
void PassArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"threads", "vector"});
    for (int threads : {4, 1})
        for (int vector : {2, 1})
            b->Args({threads, vector});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_SliderPassTMfattal)->Apply(PassArgs);
BENCHMARK(BM_SliderPassTMmeandiff)->Apply(PassArgs);
BENCHMARK(BM_SliderPassSubSharpen)->Apply(PassArgs);
BENCHMARK(BM_SliderPassSubDeNoiseAverage)->Apply(PassArgs);
BENCHMARK(BM_SliderPassGradationLagrange)->Apply(PassArgs);
// old:1 the code paths before the run rework (OldPaths), for the ratio in one run.
BENCHMARK(BM_SliderPassComicPaint)
    ->ArgNames({"threads", "old"})
    ->ArgsProduct({{4, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SliderPassEnhance)
    ->ArgNames({"threads", "old"})
    ->ArgsProduct({{4, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
