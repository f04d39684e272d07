// The neighbourhood filters on the 24-megapixel picture at their catalogue
// defaults, run by name through the dispatcher (full size: preview scale 1),
// with the engine's start values: kernel sample rate 0.8, calculation quality
// 0.5, kernel exponent 4. A radius slider of 0.5 then gives R 117 with step 9.

#include "benchutil.h"

#include "engine/MP_calc.h"
#include "engine/openclmanager.h"

#include <functional>

namespace {

void flatMask(float* slot)
{
    for (int i = 0; i < 6; ++i) {
        slot[2 * i] = 0.2f * static_cast<float>(i);
        slot[2 * i + 1] = 1.0f;
    }
}

void runFilter(benchmark::State& state, const char* kernel, const std::function<void(MP_Params&)>& setup,
               int threads = 0)
{
    static const bool tables = (MP_fillLookupTables(), true);
    (void)tables;
    MP_UI_SetKernelSampleRate(0.8f);
    MP_UI_SetCalculationQuality(0.5f);
    MP_UI_SetKernelExponent(4.0f);
    MP_UI_SetShowExexcuteKernelOutput(0);
    const int before = MP_UI_GetIdealThreadCount();
    if (threads > 0)
        MP_UI_SetIdealThreadCount(threads);
    const auto& src = bench::testPicture();
    std::vector<uint16_t> in = src, out(src.size());
    for (auto _ : state) {
        MP_Params p{};
        p.loopstep = 1;
        p.previewscalingfactor = 1.0f;
        p.kernel_exponent = MP_UI_GetKernelExponent();
        MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
        setup(p);
        const int r = OpenCLManager::getInstance()->executeKernel(
            kernel, bench::kWidth, bench::kHeight, reinterpret_cast<float*>(in.data()),
            reinterpret_cast<float*>(out.data()), 6, 6, &p, -1, 0.0f, 1.0f, true, true);
        if (r != 0)
            state.SkipWithError("kernel failed");
        benchmark::DoNotOptimize(out.data());
    }
    MP_UI_SetIdealThreadCount(before);
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}

void localContrast(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    flatMask(p.p[2]);
    p.p[3][1] = 100.0f;
}
void imageSmooth(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.25f;
    flatMask(p.p[2]);
    p.p[3][1] = 100.0f;
}
void focus(MP_Params& p)
{
    p.p[0][0] = 0.75f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = p.p[2][1] = 0.5f;
    p.p[3][1] = 100.0f;
}
void variance(MP_Params& p)
{
    p.p[0][0] = 0.2f;
    p.p[1][0] = 0.25f;
    flatMask(p.p[2]);
    p.p[3][1] = 100.0f;
}
void smallWindow(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    flatMask(p.p[1]);
    p.p[2][1] = 100.0f;
}
void subAverage(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
}

void BM_LocalContrast(benchmark::State& s) { runFilter(s, "MP_calcPixelLocalContrast", localContrast); }
void BM_LocalContrastOneThread(benchmark::State& s) { runFilter(s, "MP_calcPixelLocalContrast", localContrast, 1); }
void BM_ImageSmooth(benchmark::State& s) { runFilter(s, "MP_calcPixelImageSmooth", imageSmooth); }
void BM_Focus(benchmark::State& s) { runFilter(s, "MP_calcPixelFocus", focus); }
void BM_DeNoiseVariance(benchmark::State& s) { runFilter(s, "MP_calcPixelDeNoiseVariance", variance); }
void BM_DeNoiseAverage(benchmark::State& s) { runFilter(s, "MP_calcPixelDeNoiseAverage", smallWindow); }
void BM_DeNoiseMedian(benchmark::State& s) { runFilter(s, "MP_calcPixelDeNoiseMedian", smallWindow); }
void BM_DeNoiseMinMax(benchmark::State& s) { runFilter(s, "MP_calcPixelDeNoiseMinMax", smallWindow); }
void BM_SubDeNoiseAverage(benchmark::State& s) { runFilter(s, "MP_calcPixelSubDeNoiseAverage", subAverage); }
// One thread: the work itself, apart from how the machine shares its cores.
void BM_DeNoiseAverageOneThread(benchmark::State& s) { runFilter(s, "MP_calcPixelDeNoiseAverage", smallWindow, 1); }
void BM_DeNoiseMedianOneThread(benchmark::State& s) { runFilter(s, "MP_calcPixelDeNoiseMedian", smallWindow, 1); }
void BM_DeNoiseMinMaxOneThread(benchmark::State& s) { runFilter(s, "MP_calcPixelDeNoiseMinMax", smallWindow, 1); }
void BM_SubDeNoiseAverageOneThread(benchmark::State& s)
{
    runFilter(s, "MP_calcPixelSubDeNoiseAverage", subAverage, 1);
}
void BM_ImageSmoothOneThread(benchmark::State& s) { runFilter(s, "MP_calcPixelImageSmooth", imageSmooth, 1); }
void BM_FocusOneThread(benchmark::State& s) { runFilter(s, "MP_calcPixelFocus", focus, 1); }
void BM_DeNoiseVarianceOneThread(benchmark::State& s) { runFilter(s, "MP_calcPixelDeNoiseVariance", variance, 1); }

BENCHMARK(BM_LocalContrast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LocalContrastOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_ImageSmooth)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Focus)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeNoiseVariance)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeNoiseAverage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeNoiseMedian)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeNoiseMinMax)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SubDeNoiseAverage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeNoiseAverageOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_DeNoiseMedianOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_DeNoiseMinMaxOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SubDeNoiseAverageOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_ImageSmoothOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_FocusOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_DeNoiseVarianceOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
