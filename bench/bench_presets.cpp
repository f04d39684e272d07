// One preset thumbnail as the presets dock computes it on a timer tick: the
// 1-megapixel document preview scaled into the 230 x 160 thumbnail buffer,
// then the factory preset's chain run on it. Compared with a plain copy of
// the preview, and read as a share of the 20 ms tick (two should fit).

#include "benchutil.h"

#include "document/postprocessing.h"

#include <QDir>

#include <cstring>
#include <vector>

namespace {

using bench::kPreviewHeight;
using bench::kPreviewWidth;

const std::vector<uint16_t>& Preview() { return bench::previewPicture(); }

QStringList FactoryPresets()
{
    return QDir(QStringLiteral(LUMIVEX_PRESETS_DIR))
        .entryList({QStringLiteral("lumivexpp_v3_*.ini")}, QDir::Files, QDir::Name);
}

void BM_PresetThumbnailPreviewCopy(benchmark::State& state)
{
    const auto& src = Preview();
    std::vector<uint16_t> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint16_t));
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, kPreviewWidth, kPreviewHeight);
}
BENCHMARK(BM_PresetThumbnailPreviewCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PresetThumbnail(benchmark::State& state)
{
    bench::useEngineStartValues();
    const QStringList names = FactoryPresets();
    if (state.range(0) >= names.size()) {
        state.SkipWithError("factory preset missing");
        return;
    }
    CPostProcessing chain;
    chain.SetSettingsPath(QStringLiteral(LUMIVEX_PRESETS_DIR "/") + names.at(int(state.range(0))));
    chain.FromSettings();
    state.SetLabel(names.at(int(state.range(0))).toStdString());
    auto* preview = const_cast<uint16_t*>(Preview().data());
    for (auto _ : state) {
        CPostProcessing::InitBuffer(preview, QSize(kPreviewWidth, kPreviewHeight), QSize(230, 160), true);
        chain.Process(bench::kWidth, bench::kHeight, true);
        benchmark::DoNotOptimize(CPostProcessing::GetPreviewBuffer());
    }
    bench::setMegapixelRate(state, kPreviewWidth, kPreviewHeight);
}
BENCHMARK(BM_PresetThumbnail)->DenseRange(0, 17)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
