// The exposure series on the 24-megapixel picture: the HDR calculation at full
// size (preview pass, then full-size pass) and in preview mode, the fixed cost
// of an empty wave of 32 worker jobs, and saving and loading the series' part
// of a project (compressed, lossless pre-coding). Compare with
// BM_CopyRGB48Bands.

#include "benchutil.h"

#include "document/alignmentthreads.h"
#include "document/documentseams.h"
#include "document/exposureseries.h"
#include "engine/MP_calc.h"

#include <QSettings>
#include <QTemporaryDir>

#include <cstring>
#include <memory>

namespace {

// A series of one exposure holding the test picture, its preview built.
std::unique_ptr<CExposureSeries> pictureSeries()
{
    auto s = std::make_unique<CExposureSeries>(false);
    auto* e = new CExposure;
    e->m_uiWidth = bench::kWidth;
    e->m_uiHeight = bench::kHeight;
    float pw = 0.0f, ph = 0.0f;
    MP_UI_calcPreviewResolution(&pw, &ph, nullptr, float(bench::kWidth), float(bench::kHeight),
                                MP_UI_GetPreviewSize());
    e->m_uiPreviewWidth = unsigned(pw);
    e->m_uiPreviewHeight = unsigned(ph);
    if (!e->CreateBuffer()) {
        delete e;
        return nullptr;
    }
    std::memcpy(e->m_pusBuffer, bench::testPicture().data(), e->PixelCount() * 6);
    e->m_fAvgLuminance = 0.4f;
    s->m_uiWidth = e->m_uiWidth;
    s->m_uiHeight = e->m_uiHeight;
    s->m_uiPreviewWidth = e->m_uiPreviewWidth;
    s->m_uiPreviewHeight = e->m_uiPreviewHeight;
    s->m_vExposures.append(e);
    s->SetMaster(e);
    CAlignmentScheduler scheduler(32);
    scheduler.Enqueue(eAlignZoomPreview)->m_pExposure = e;
    scheduler.Process();
    return s;
}

void runHDR(benchmark::State& state, bool previewMode)
{
    MP_UI_SetShowExexcuteKernelOutput(0);
    MP_UI_SetUseMultithreadingMode(1);
    auto s = pictureSeries();
    if (!s) {
        state.SkipWithError("no memory for the series");
        return;
    }
    CDocumentSettings::SetPreviewMode(previewMode);
    for (auto _ : state) {
        s->HDR(true);
        benchmark::DoNotOptimize(s->m_pusPreviewBuffer);
    }
    CDocumentSettings::SetPreviewMode(false);
    if (previewMode)
        bench::setMegapixelRate(state, int(s->m_uiPreviewWidth), int(s->m_uiPreviewHeight));
    else
        bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

void BM_SeriesHDRFullSize(benchmark::State& state)
{
    runHDR(state, false);
}
BENCHMARK(BM_SeriesHDRFullSize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SeriesHDRPreviewPass(benchmark::State& state)
{
    runHDR(state, true);
}
BENCHMARK(BM_SeriesHDRPreviewPass)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EmptyWaveOf32Jobs(benchmark::State& state)
{
    MP_UI_SetUseMultithreadingMode(1);
    for (auto _ : state) {
        CAlignmentScheduler scheduler(32);
        for (int i = 0; i < 32; ++i)
            scheduler.Enqueue(eAlignNone);
        scheduler.Process();
    }
}
BENCHMARK(BM_EmptyWaveOf32Jobs)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_SeriesProject(benchmark::State& state)
{
    const bool load = state.range(0) != 0;
    MP_UI_SetBufferCompressionMode(1);
    MP_UI_SetCompressionLevel(1);
    QTemporaryDir dir;
    auto s = pictureSeries();
    if (!s || !dir.isValid()) {
        state.SkipWithError("no series or folder");
        return;
    }
    QSettings settings(dir.filePath("p.ini"), QSettings::IniFormat);
    s->SaveProject(settings, dir.path());
    for (auto _ : state) {
        if (load) {
            CExposureSeries t(false);
            t.LoadProject(settings, dir.path());
            benchmark::DoNotOptimize(t.m_vExposures.data());
        } else {
            s->SaveProject(settings, dir.path());
        }
    }
    MP_UI_SetBufferCompressionMode(0);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_SeriesProject)->Arg(0)->Arg(1)->ArgNames({"load"})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
