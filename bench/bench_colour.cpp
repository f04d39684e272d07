// Colour point operators on the 24-megapixel picture, in row bands on every
// core (compare with BM_CopyRGB48Bands): Posterize and Negativ (reduced
// workers on raw values, Posterize through its ratio table) and
// "Farbton Sättigung Belichtung" (per-pixel HSV in single precision).

#include "benchutil.h"

#include "engine/MP_calc.h"

namespace {

void BM_Posterize(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelPosterize, [](MP_Params& p) {
        p.p[0][0] = 0.48f;
        p.p[1][1] = 100.0f;
    });
}
BENCHMARK(BM_Posterize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Negative(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelNegative, [](MP_Params& p) { p.p[0][1] = 100.0f; });
}
BENCHMARK(BM_Negative)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HSL(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelHSL, [](MP_Params& p) {
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
