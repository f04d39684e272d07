// Colour point operators on the 24-megapixel picture, in row bands on every
// core (compare with BM_CopyRGB48Bands): Posterize and Negativ (reduced
// workers on raw values, Posterize through its ratio table) and
// "Farbton Sättigung Belichtung" (per-pixel HSV in single precision).

#include "benchutil.h"

#include "engine/MP_calc.h"

#include <cstring>

namespace {

MP_Params colourParams()
{
    MP_Params p;
    std::memset(&p, 0, sizeof(p));
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    return p;
}

template <typename Driver, typename Setup>
void runDriver(benchmark::State& state, Driver driver, Setup setup)
{
    const auto& src = bench::testPicture();
    std::vector<uint16_t> dst(src.size());
    auto* in = const_cast<uint16_t*>(src.data());
    for (auto _ : state) {
        MP_Params p = colourParams();
        setup(p);
        driver(bench::kWidth, bench::kHeight, in, dst.data(), 6, 6, &p);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

void BM_Posterize(benchmark::State& state)
{
    runDriver(state, MP_calcPixelPosterize, [](MP_Params& p) {
        p.p[0][0] = 0.48f;
        p.p[1][1] = 100.0f;
    });
}
BENCHMARK(BM_Posterize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Negative(benchmark::State& state)
{
    runDriver(state, MP_calcPixelNegative, [](MP_Params& p) { p.p[0][1] = 100.0f; });
}
BENCHMARK(BM_Negative)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HSL(benchmark::State& state)
{
    runDriver(state, MP_calcPixelHSL, [](MP_Params& p) {
        p.p[0][0] = 0.6f;
        p.p[1][0] = 0.6f;
        p.p[2][0] = 0.55f;
        for (int i = 0; i < 6; ++i) {
            p.p[3][2 * i] = 0.2f * static_cast<float>(i);
            p.p[3][2 * i + 1] = 1.0f;
        }
        p.p[4][1] = 100.0f;
    });
}
BENCHMARK(BM_HSL)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
