// The post-processing dock's hot paths: a position picker redraw on a
// 262 x 349 box over a one-megapixel preview (against a plain copy of that
// preview), one sweep of the realtime preview with an empty host (its own
// work per step, 1500 steps), and the dock's construction.

#include "benchutil.h"

#include "document/postprocessing.h"
#include "ui/postprocessing/hdrpositionpicker.h"
#include "ui/postprocessing/hdrpostprocessingdockwidget.h"
#include "ui/postprocessing/postprocessingseams.h"
#include "ui/toolkit/hdrslider.h"

#include <QListWidget>
#include <QPushButton>

#include <cstring>
#include <vector>

namespace {

constexpr int kPreviewW = 1224;
constexpr int kPreviewH = 816;

class PreviewSource : public IPickerImageSource {
public:
    PreviewSource() : m_Preview(size_t(kPreviewW) * kPreviewH * 3, 0x7777) {}
    QSize ImageSize() const override { return QSize(4000, 6000); } // portrait: the 262 x 349 box
    const uint16_t* PreviewImage(QSize* size) const override
    {
        *size = QSize(kPreviewW, kPreviewH);
        return m_Preview.data();
    }
    std::vector<uint16_t> m_Preview;
};

void BM_PickerPreviewCopy(benchmark::State& state)
{
    std::vector<uint16_t> src(size_t(kPreviewW) * kPreviewH * 3, 0x7777), dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint16_t));
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, kPreviewW, kPreviewH);
}
BENCHMARK(BM_PickerPreviewCopy)->Unit(benchmark::kMicrosecond);

void BM_PickerRedraw(benchmark::State& state)
{
    PreviewSource source;
    PostProcessingSeams::SetImageSource(&source);
    HDRPositionPicker picker(HDRPositionPicker::eModePoint, QStringLiteral("Zentrum"));
    picker.UpdateExposureSeries();
    picker.SetPos(0.5f, 0.5f, 0);
    for (auto _ : state)
        picker.UpdateDisplay();
    bench::setMegapixelRate(state, kPreviewW, kPreviewH);
    PostProcessingSeams::SetImageSource(nullptr);
}
BENCHMARK(BM_PickerRedraw)->Unit(benchmark::kMicrosecond);

void BM_DockConstruction(benchmark::State& state)
{
    for (auto _ : state) {
        HDRPostProcessingDockWidget dock(QStringLiteral("Expertenmodus"));
        benchmark::DoNotOptimize(&dock);
    }
}
BENCHMARK(BM_DockConstruction)->Unit(benchmark::kMillisecond)->Iterations(3);

// One whole sweep (1500 steps) with an empty host and no event processing;
// the per-step figure is the time divided by 1500.
void BM_SweepOwnWork(benchmark::State& state)
{
    HDRPostProcessingDockWidget dock(QStringLiteral("Expertenmodus"));
    CPostProcessing chain;
    dock.SetCurrentPostProcessing(&chain);
    const int p = dock.FindOperatorListItemIdx(PP_OperatorId(QStringLiteral("MP_calcPixelHorizon")));
    dock.addNewOperator(dock.m_pOperatorItems[p]);
    int k = 0;
    while (k < dock.m_ParameterSets[p].pSliders.size() && dock.m_ParameterSets[p].pSliders[k]->isHidden())
        ++k;
    dock.m_fnProcessEvents = [] {};
    IPostProcessingDockHost host;
    dock.SetHost(&host);
    for (auto _ : state)
        dock.m_ParameterSets[p].pSliderButtons[k]->click();
    state.counters["us_per_step"] = benchmark::Counter(
        1500.0 * 1.0e-6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SweepOwnWork)->Unit(benchmark::kMillisecond);

} // namespace
