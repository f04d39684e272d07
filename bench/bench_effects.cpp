// Effect drivers on the 24-megapixel picture at their catalogue defaults, on
// every core: compare with BM_CopyRGB48Bands (the banded copy). Each run
// includes the driver's scratch image and final copy.

#include "benchutil.h"

#include "engine/MP_calc.h"
#include "engine/openclmanager.h"

namespace {

void centre(MP_Params& p, int slot)
{
    p.p[slot][0] = 0.5f;
    p.p[slot][1] = 0.5f;
}

void flatSpline(MP_Params& p, int slot, float y)
{
    for (int i = 0; i < 6; ++i) {
        p.p[slot][2 * i] = static_cast<float>(i) / 5.0f;
        p.p[slot][2 * i + 1] = y;
    }
}

void BM_Rotate(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelRotate, [](MP_Params& p) {
        p.previewscalingfactor = 1.0f;
        p.p[0][0] = 0.55f;
        p.p[1][0] = 0.5f;
        centre(p, 3);
        p.p[4][1] = 100.0f;
    });
}
BENCHMARK(BM_Rotate)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Horizon(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelHorizon, [](MP_Params& p) {
        p.p[0][0] = 0.55f;
        centre(p, 2);
        p.p[3][1] = 100.0f;
    });
}
BENCHMARK(BM_Horizon)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Twirl(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelTwirl, [](MP_Params& p) {
        p.previewscalingfactor = 1.0f;
        p.p[0][0] = 0.5f;
        p.p[1][0] = 0.55f;
        centre(p, 3);
        p.p[4][1] = 100.0f;
    });
}
BENCHMARK(BM_Twirl)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LensCorrection(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelLensCorrection, [](MP_Params& p) {
        p.p[0][0] = 0.2f;
        centre(p, 1);
        p.p[2][1] = 100.0f;
    });
}
BENCHMARK(BM_LensCorrection)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WaveDistort(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelWaveDistort, [](MP_Params& p) {
        for (int i = 0; i < 4; ++i)
            p.p[i][0] = 0.3f;
        flatSpline(p, 5, 0.5f);
        p.p[6][1] = 100.0f;
    });
}
BENCHMARK(BM_WaveDistort)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 512 x 512 relief texture in the first cloth slot.
void clothTexture()
{
    if (MP_UI_GetTexturePointer(4))
        return;
    MP_UI_AllocTextureData(4, 512, 512, 6, 0);
    uint16_t* t = MP_UI_GetTexturePointer(4);
    for (int i = 0; i < 512 * 512 * 3; ++i)
        t[i] = static_cast<uint16_t>((static_cast<uint32_t>(i) * 2654435761u) >> 16);
}

void BM_Cloth(benchmark::State& state)
{
    clothTexture();
    bench::runDriver(state, MP_calcPixelStructureCloth, [](MP_Params& p) {
        p.previewscalingfactor = 1.0f;
        p.p[1][0] = 0.5f;
        p.p[2][0] = 0.5f;
        p.p[3][0] = 0.3f;
        p.p[4][1] = 100.0f;
    });
}
BENCHMARK(BM_Cloth)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_XFlip(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelXFlip, [](MP_Params&) {});
}
BENCHMARK(BM_XFlip)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Border(benchmark::State& state)
{
    bench::runDriver(state, MP_calcPixelBorder, [](MP_Params& p) {
        p.p[0][0] = 0.4f;
        p.p[1][0] = 0.05f;
        p.p[2][2] = p.p[2][3] = p.p[2][4] = 1.0f;
        p.p[3][1] = 100.0f;
    });
}
BENCHMARK(BM_Border)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Dust(benchmark::State& state)
{
    if (!MP_UI_GetTexturePointer(61)) {
        MP_UI_AllocTextureData(61, 512, 512, 6, 0);
        uint16_t* t = MP_UI_GetTexturePointer(61);
        for (int i = 0; i < 512 * 512 * 3; ++i)
            t[i] = static_cast<uint16_t>((i / 3) % 7 == 0 ? 20000 : 65535);
    }
    bench::runDriver(state, MP_calcPixelStructureDust, [](MP_Params& p) {
        p.p[1][0] = 0.5f;
        p.p[2][0] = 0.5f;
        p.p[3][0] = 0.8f;
        p.p[6][1] = 100.0f;
    });
}
BENCHMARK(BM_Dust)->Unit(benchmark::kMillisecond)->UseRealTime();

// Warp at its default length on every core and on one.
void BM_Warp(benchmark::State& state)
{
    const int threads = MP_UI_GetIdealThreadCount();
    if (state.range(0) == 1)
        MP_UI_SetIdealThreadCount(1);
    bench::runDriver(state, MP_calcPixelWarp, [](MP_Params& p) {
        p.p[0][0] = 0.5f;
        p.p[1][0] = 0.8f;
        centre(p, 2);
        flatSpline(p, 3, 1.0f);
        p.p[4][1] = 100.0f;
    });
    MP_UI_SetIdealThreadCount(threads);
}
BENCHMARK(BM_Warp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

namespace {

// "Gemälde" at "Radius" 0.5, run by name through the dispatcher with the
// engine's start values (sample rate 0.8, calculation quality 0.5, kernel
// exponent 4): radius 117, step 9, as the tone-mapping windows.
void BM_Oilpaint(benchmark::State& state)
{
    static const bool tables = (MP_fillLookupTables(), true);
    (void)tables;
    MP_UI_SetKernelSampleRate(0.8f);
    MP_UI_SetCalculationQuality(0.5f);
    MP_UI_SetKernelExponent(4.0f);
    MP_UI_SetShowExexcuteKernelOutput(0);
    const auto& src = bench::testPicture();
    std::vector<uint16_t> in = src, out(src.size());
    for (auto _ : state) {
        MP_Params p{};
        p.loopstep = 1;
        p.previewscalingfactor = 1.0f;
        p.kernel_exponent = MP_UI_GetKernelExponent();
        MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
        p.p[0][0] = 0.5f;
        p.p[1][1] = 100.0f;
        const int r = OpenCLManager::getInstance()->executeKernel(
            "MP_calcPixelOilpaint", bench::kWidth, bench::kHeight, reinterpret_cast<float*>(in.data()),
            reinterpret_cast<float*>(out.data()), 6, 6, &p, -1, 0.0f, 1.0f, true, true);
        if (r != 0)
            state.SkipWithError("kernel failed");
        benchmark::DoNotOptimize(out.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_Oilpaint)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
