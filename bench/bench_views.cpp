// View renderers against the references at the view's size: the conversion of
// an RGB48 picture of the view's size to ARGB (what showing it costs at least)
// and a plain copy of the view buffer. Megapixels per second count view pixels.

#include "benchutil.h"

#include "engine/MP_calc.h"

#include <cstring>
#include <map>
#include <utility>

namespace {

// The test picture reduced to w x h (once per size).
const std::vector<uint16_t>& pictureOf(int w, int h)
{
    static std::map<std::pair<int, int>, std::vector<uint16_t>> cache; // nodes stay where they are
    if (w == bench::kWidth && h == bench::kHeight)
        return bench::testPicture();
    std::vector<uint16_t>& img = cache[{w, h}];
    if (img.empty()) {
        img.resize(static_cast<size_t>(w) * h * 3);
        MP_MT_zoomPreviewPicture(bench::testPicture().data(), img.data(), 0, 0, 0, 0, w, h, w, bench::kWidth,
                                 bench::kHeight, 0, 0, bench::kWidth, bench::kHeight);
    }
    return img;
}

void BM_ViewConvertReference(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const auto& src = pictureOf(w, h);
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    for (auto _ : state) {
        MP_UI_ConvertRGB48toARGB8888(w, h, src.data(), out.data());
        benchmark::DoNotOptimize(out.data());
    }
    bench::setMegapixelRate(state, w, h);
}

void BM_ViewCopyReference(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    std::vector<uint32_t> a(static_cast<size_t>(w) * h, 0xFF102030u), b(a.size());
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(b.data());
    }
    bench::setMegapixelRate(state, w, h);
}

// Comparison with gamma on one side and the range marking, redrawn as on a mouse move.
void BM_CompareView(benchmark::State& state)
{
    const int sw = static_cast<int>(state.range(0)), sh = static_cast<int>(state.range(1));
    const int w = static_cast<int>(state.range(2)), h = static_cast<int>(state.range(3));
    const auto& a = pictureOf(sw, sh);
    std::vector<uint16_t> b(a.size());
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<uint16_t>(65535 - a[i]);
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    MP_UI_SetHDRGammaValue(2.2f);
    for (auto _ : state) {
        MP_UI_previewCompareViewLumMode(w, h, out.data(), sw, sh, a.data(), 0.3f, 0.0f, 0.6f, 1.0f, 0.3f, 0.6f,
                                        b.data(), 1, 0, 0, 2);
        benchmark::DoNotOptimize(out.data());
    }
    bench::setMegapixelRate(state, w, h);
}

void BM_PanoramaView(benchmark::State& state)
{
    const int sw = static_cast<int>(state.range(0)), sh = static_cast<int>(state.range(1));
    const int w = static_cast<int>(state.range(2)), h = static_cast<int>(state.range(3));
    const auto& src = pictureOf(sw, sh);
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    float yaw = 0.0f;
    for (auto _ : state) {
        MP_MT_CalcPanoramaView(w, h, w, sw, sh, src.data(), yaw, 0.2f, 1.0f, out.data());
        yaw += 0.05f; // turning, across the seam now and then
        benchmark::DoNotOptimize(out.data());
    }
    bench::setMegapixelRate(state, w, h);
}

void BM_GeometryViewFourSets(benchmark::State& state)
{
    const int w = 1024, h = 768;
    const auto& src = pictureOf(1200, 800);
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    float sets[256] = {};
    for (int i = 0; i < 4; ++i) {
        float* s = sets + 8 * i;
        s[0] = i == 3 ? 2.0f : 1.0f;
        s[1] = s[2] = 0.15f + 0.05f * i;
        s[3] = 0.5f;
        s[4] = 0.5f;
        s[5] = 1.0f;
        s[6] = 0.2f + 0.2f * i;
        s[7] = 0.5f;
    }
    for (auto _ : state) {
        MP_UI_previewGeometryViewGeometries(w, h, out.data(), 1200, 800, src.data(), 0.6f, sets, 256);
        benchmark::DoNotOptimize(out.data());
    }
    bench::setMegapixelRate(state, w, h);
}

// The 1-megapixel working picture is 1155 x 866 (3 : 2 is 1224 x 816).
BENCHMARK(BM_ViewConvertReference)->Args({1152, 864})->Args({2560, 1440})->Args({1152, 576})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ViewCopyReference)->Args({1152, 864})->Args({2560, 1440})->Args({1152, 576})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompareView)->Args({1224, 816, 1152, 864})->Args({bench::kWidth, bench::kHeight, 2560, 1440})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PanoramaView)->Args({1224, 816, 1152, 576})->Args({bench::kWidth, bench::kHeight, 1152, 576})
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GeometryViewFourSets)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
