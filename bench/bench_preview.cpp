// Preview zoom: the 24-megapixel picture scaled to a 1-megapixel preview (an
// area average at this ratio). Megapixels per second count the source pixels,
// so the figure compares with the copies of the same bytes in bench_copy.cpp.

#include "benchutil.h"

#include "engine/MP_calc.h"

namespace {

void previewSize(int& w, int& h)
{
    const float keep = MP_UI_GetPreviewScalingFactor();
    float fw = 0, fh = 0;
    MP_UI_calcPreviewResolution(&fw, &fh, nullptr, bench::kWidth, bench::kHeight, 1.0f);
    MP_UI_SetPreviewScalingFactor(keep);
    w = static_cast<int>(fw);
    h = static_cast<int>(fh);
}

template <bool MultiThreaded> void BM_ZoomPreview(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    int w = 0, h = 0;
    previewSize(w, h);
    std::vector<uint16_t> dst(static_cast<size_t>(w) * h * 3);
    const float sw = bench::kWidth, sh = bench::kHeight;
    for (auto _ : state) {
        if (MultiThreaded)
            MP_MT_zoomPreviewPicture(src.data(), dst.data(), 0, 0, 0, 0, w, h, w, sw, sh, 0, 0, sw, sh);
        else
            MP_UI_zoomPreviewPicture(src.data(), dst.data(), 0, 0, 0, 0, w, h, w, sw, sh, 0, 0, sw, sh);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

void BM_ZoomPreview24MPto1MP(benchmark::State& state) { BM_ZoomPreview<true>(state); }
void BM_ZoomPreview24MPto1MPSingle(benchmark::State& state) { BM_ZoomPreview<false>(state); }
BENCHMARK(BM_ZoomPreview24MPto1MP)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZoomPreview24MPto1MPSingle)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
