// Tone operators on the 24-megapixel picture, run on every core in row bands:
// compare with BM_CopyRGB48Bands. LightShadow is a table-driven point
// operator (two 65,536-entry power tables, up to three lookups per pixel).

#include "benchutil.h"

#include "engine/MP_calc.h"

namespace {

void BM_LightShadow(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<uint16_t> dst(src.size());
    MP_Params p{};
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.p[0][0] = 0.8f; // light ceiling 0.9
    p.p[1][0] = 0.1f; // shadow floor 0.05
    p.p[2][0] = 0.7f; // lights lifted
    p.p[3][0] = 0.3f; // shadows deepened
    p.p[4][1] = 100.0f;
    for (auto _ : state) {
        MP_calcPixelLightShadow(bench::kWidth, bench::kHeight, const_cast<uint16_t*>(src.data()), dst.data(), 6, 6,
                                &p);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_LightShadow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
