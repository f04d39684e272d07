// Colour operators on the 24-megapixel picture, in row bands on every core
// (compare with BM_CopyRGB48Bands): two table-driven point operators (float
// and Q15 integer tables) and a per-pixel float operator, each through its
// reduced worker (normal blend, full opacity, no masks).

#include "benchutil.h"

#include "engine/MP_calc.h"

namespace {

void BM_GammaColor(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelGammaColor, [](MP_Params& p) {
        p.p[0][0] = 0.7f;
        p.p[1][0] = 0.5f;
        p.p[2][0] = 0.3f;
        p.p[3][1] = 100.0f;
    });
}
BENCHMARK(BM_GammaColor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ColorTemperature(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelColorTemperature, [](MP_Params& p) {
        p.p[0][0] = 0.2f;
        const float y[6] = {0.2f, 0.5f, 0.7f, 0.9f, 1.0f, 1.0f};
        for (int i = 0; i < 6; ++i) {
            p.p[1][2 * i] = 0.2f * static_cast<float>(i);
            p.p[1][2 * i + 1] = y[i];
        }
        p.p[2][1] = 100.0f;
    });
}
BENCHMARK(BM_ColorTemperature)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ColorPalette(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelColorPalette, [](MP_Params& p) {
        for (int k = 0; k < 8; ++k)
            p.p[k][0] = 0.5f + 0.05f * static_cast<float>(k);
        p.p[8][1] = 100.0f;
    });
}
BENCHMARK(BM_ColorPalette)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Sepia Tönung": luminance tinted with a warm tone, the mask curve flat.
void BM_Sepia(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelSepia, [](MP_Params& p) {
        for (int i = 0; i < 6; ++i) {
            p.p[0][2 * i] = 0.2f * static_cast<float>(i);
            p.p[0][2 * i + 1] = 0.8f;
        }
        p.p[1][2] = 0.7f;
        p.p[1][3] = 0.5f;
        p.p[1][4] = 0.3f;
        p.p[2][1] = 100.0f;
    });
}
BENCHMARK(BM_Sepia)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
