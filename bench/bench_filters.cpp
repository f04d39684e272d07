// The neighbourhood filters on the 24-megapixel picture at their catalogue
// defaults, run by name through the dispatcher (full size: preview scale 1),
// with the engine's start values: kernel sample rate 0.8, calculation quality
// 0.5, kernel exponent 4. A radius slider of 0.5 then gives R 117 with step 9.

#include "benchutil.h"

#include "engine/MP_calc.h"
#include "engine/openclmanager.h"
#include "engine/core/textures.h"
#include "engine/core/windowweights.h"
#include "engine/filters/filterframe.h"
#include "engine/filters/nlmeans.h"
#include "engine/filters/smoothing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>
#include <functional>

namespace {

void flatMask(float* slot)
{
    for (int i = 0; i < 6; ++i) {
        slot[2 * i] = 0.2f * static_cast<float>(i);
        slot[2 * i + 1] = 1.0f;
    }
}

void localContour(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.75f;
    flatMask(p.p[2]);
    p.p[3][1] = 100.0f;
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

void softContrast(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.3f;
    flatMask(p.p[2]);
    p.p[3][1] = 100.0f;
}
void softRGBContrast(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    flatMask(p.p[2]);
    p.p[3][1] = 100.0f;
}
void neonLight(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.1f;
    p.p[3][2] = 1.0f;
    p.p[3][3] = p.p[3][4] = 0.2f;
    p.p[4][1] = 100.0f;
}
void addGrain(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.1f;
    flatMask(p.p[2]);
    p.p[3][1] = 100.0f;
}

void imageBloom(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.387097f;
    flatMask(p.p[3]);
    p.p[4][1] = 100.0f;
}
void sharpen(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    flatMask(p.p[1]);
    p.p[2][1] = 100.0f;
}
void subSharpen(MP_Params& p)
{
    p.p[0][0] = 0.8f;
    p.p[1][0] = 0.5f;
}
void erode(MP_Params& p) // radius o = 4
{
    p.p[0][0] = 0.333f;
    p.p[1][0] = 0.3f;
    flatMask(p.p[2]);
    p.p[3][1] = 100.0f;
}

void removeArtifacts(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.5f;
    p.p[3][1] = 100.0f;
}

// The window sums' code chosen by the argument (mp_filters::g_filterSumLanes):
// 0 the compiler's loop with the division (the code before the vector sums),
// 16 sixteen lanes (AVX-512); four engine threads as the
// preview. The environment variable LUMIVEX_SUM_LANES sets it for the whole
// run (say 0 to time the slider presets on the old code beside the new).
const bool kSumLanesFromEnvironment = [] {
    if (const char* v = std::getenv("LUMIVEX_SUM_LANES"))
        mp_filters::g_filterSumLanes = std::atoi(v);
    return true;
}();

template <void (*Setup)(MP_Params&)> void sumLanes(benchmark::State& s, const char* kernel)
{
    const int before = mp_filters::g_filterSumLanes;
    mp_filters::g_filterSumLanes = static_cast<int>(s.range(0));
    bench::runKernelByName(s, kernel, Setup, 4);
    mp_filters::g_filterSumLanes = before;
}
void BM_LocalContrastLanes(benchmark::State& s) { sumLanes<localContrast>(s, "MP_calcPixelLocalContrast"); }
void BM_LocalContourLanes(benchmark::State& s) { sumLanes<localContour>(s, "MP_calcPixelLocalContour"); }
void BM_ColorContrastLanes(benchmark::State& s) { sumLanes<localContrast>(s, "MP_calcPixelColorContrast"); }

// The plane sums alone (MP_gatherPlaneSums) on one thread at the preview's
// window of the factory presets' local contrast (1224 x 816, R 24, step 2;
// the contour: R 10, step 1), sixteen rows of runs: the code as above, the
// time per row. A steadier figure than the whole kernel on a busy machine.
// Sixteen rows of runs compiled as the kernel's workers are (AVX2, so the
// compiler's loop is the one the kernels run).
#if defined(__x86_64__)
__attribute__((target("avx2"), flatten))
#endif
void planeSumRows(const mp_filters::Window& win, const ushort* plane)
{
    using namespace mp_filters;
    int I[kChunk];
    float W[kChunk], S[kChunk];
    for (int y = 400; y < 416; ++y)
        for (int x0 = 0; x0 < win.width; x0 += kChunk) {
            const int n = std::min(kChunk, win.width - x0);
            for (int i = 0; i < n; ++i)
                I[i] = plane[static_cast<size_t>(y) * static_cast<size_t>(win.width) + static_cast<size_t>(x0 + i)] ^ 0x55;
            MP_gatherPlaneSums(win, plane, kEps10, y, x0, n, I, W, S);
            benchmark::DoNotOptimize(W);
            benchmark::DoNotOptimize(S);
        }
}

void BM_PlaneSums(benchmark::State& s)
{
    using namespace mp_filters;
    const int lanes = static_cast<int>(s.range(0)), R = static_cast<int>(s.range(1)), step = static_cast<int>(s.range(2));
    Window win;
    win.width = 1224;
    win.height = 816;
    win.R = R;
    win.step = step;
    for (int ky = -R; ky <= R; ++ky) {
        win.halfWidth[ky + R] = static_cast<int>(std::sqrt(static_cast<float>(R * R - ky * ky)));
        win.widest = std::max(win.widest, win.halfWidth[ky + R]);
        for (int kx = -R; kx <= R; ++kx)
            MP_localexpAt(kx, ky) = std::exp(-0.01f * static_cast<float>(kx * kx + ky * ky));
    }
    std::vector<ushort> plane(pixelCount(win.width, win.height));
    uint32_t seed = 7;
    for (size_t i = 0; i < plane.size(); ++i) { // a smooth picture with noise
        seed = seed * 1664525u + 1013904223u;
        plane[i] = static_cast<ushort>((i % 1224) * 40 + (seed >> 24) * 16);
    }
    const int before = g_filterSumLanes;
    g_filterSumLanes = lanes;
    for (auto _ : s)
        planeSumRows(win, plane.data());
    g_filterSumLanes = before;
}

void BM_LocalContrast(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelLocalContrast", localContrast); }
void BM_LocalContrastOneThread(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelLocalContrast", localContrast, 1); }
void BM_ImageSmooth(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelImageSmooth", imageSmooth); }
void BM_Focus(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelFocus", focus); }
void BM_DeNoiseVariance(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelDeNoiseVariance", variance); }
void BM_DeNoiseAverage(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelDeNoiseAverage", smallWindow); }
void BM_DeNoiseMedian(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelDeNoiseMedian", smallWindow); }
void BM_DeNoiseMinMax(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelDeNoiseMinMax", smallWindow); }
void BM_SubDeNoiseAverage(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelSubDeNoiseAverage", subAverage); }
// One thread: the work itself, apart from how the machine shares its cores.
void BM_DeNoiseAverageOneThread(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelDeNoiseAverage", smallWindow, 1); }
void BM_DeNoiseMedianOneThread(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelDeNoiseMedian", smallWindow, 1); }
void BM_DeNoiseMinMaxOneThread(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelDeNoiseMinMax", smallWindow, 1); }
void BM_SubDeNoiseAverageOneThread(benchmark::State& s)
{
    bench::runKernelByName(s, "MP_calcPixelSubDeNoiseAverage", subAverage, 1);
}
void BM_ImageSmoothOneThread(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelImageSmooth", imageSmooth, 1); }
void BM_FocusOneThread(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelFocus", focus, 1); }
void BM_DeNoiseVarianceOneThread(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelDeNoiseVariance", variance, 1); }

BENCHMARK(BM_LocalContrast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlaneSums)
    ->ArgsProduct({{0, 16}, {24}, {2}})
    ->ArgsProduct({{0, 16}, {10}, {1}})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK(BM_LocalContrastLanes)->Arg(0)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LocalContourLanes)->Arg(0)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ColorContrastLanes)->Arg(0)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();
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
void BM_SoftContrast(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelSoftContrast", softContrast); }
void BM_SoftRGBContrast(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelSoftRGBContrast", softRGBContrast); }
void BM_NeonLight(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelNeonLight", neonLight); }
void BM_AddGrain(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelAddGrain", addGrain); }
void BM_ImageBloom(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelImageBloom", imageBloom); }
void BM_Sharpen(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelSharpen", sharpen); }
void BM_SubSharpen(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelSubSharpen", subSharpen); }
void BM_Erode(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelErode", erode); }
BENCHMARK(BM_ImageBloom)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sharpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SubSharpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Erode)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_RemoveArtifacts(benchmark::State& s) { bench::runKernelByName(s, "MP_calcPixelRemoveArtifacts", removeArtifacts); }
BENCHMARK(BM_RemoveArtifacts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SoftContrast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SoftRGBContrast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NeonLight)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddGrain)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- Slider response on the preview, and the 24-megapixel runs at four threads ----
// The preview of the 24-megapixel picture as the program shows it while a
// slider moves: 1224 x 816 (every 4.9th pixel), preview scale 0.204, four
// engine threads.
constexpr int kPreviewW = 1224, kPreviewH = 816;

const std::vector<uint16_t>& previewPicture()
{
    static const std::vector<uint16_t> picture = [] {
        const auto& full = bench::testPicture();
        std::vector<uint16_t> img(static_cast<size_t>(kPreviewW) * kPreviewH * 3);
        for (int y = 0; y < kPreviewH; ++y)
            for (int x = 0; x < kPreviewW; ++x) {
                const size_t sx = static_cast<size_t>(x) * bench::kWidth / kPreviewW;
                const size_t sy = static_cast<size_t>(y) * bench::kHeight / kPreviewH;
                for (int c = 0; c < 3; ++c)
                    img[(static_cast<size_t>(y) * kPreviewW + x) * 3 + c] = full[(sy * bench::kWidth + sx) * 3 + c];
            }
        return img;
    }();
    return picture;
}

// Runs `kernel` by name on the preview (preview = true) or on the whole
// picture, with `threads` engine threads.
void runSized(benchmark::State& state, const char* kernel, const std::function<void(MP_Params&)>& setup, bool preview,
              int threads)
{
    bench::useEngineStartValues();
    const int before = MP_UI_GetIdealThreadCount();
    MP_UI_SetIdealThreadCount(threads);
    const int w = preview ? kPreviewW : bench::kWidth, h = preview ? kPreviewH : bench::kHeight;
    std::vector<uint16_t> in = preview ? previewPicture() : bench::testPicture(), out(in.size());
    for (auto _ : state) {
        MP_Params p = bench::kernelParams();
        if (preview)
            p.previewscalingfactor = static_cast<float>(kPreviewW) / static_cast<float>(bench::kWidth);
        setup(p);
        const int r = OpenCLManager::getInstance()->executeKernel(kernel, w, h, reinterpret_cast<float*>(in.data()),
                                                                  reinterpret_cast<float*>(out.data()), 6, 6, &p, -1,
                                                                  0.0f, 1.0f, true, true);
        if (r != 0)
            state.SkipWithError("kernel failed");
        benchmark::DoNotOptimize(out.data());
    }
    MP_UI_SetIdealThreadCount(before);
    bench::setMegapixelRate(state, w, h);
}

// "Kantenverstärker" at its catalogue defaults.
void enhance(MP_Params& p)
{
    p.p[0][0] = 0.7f;
    p.p[1][0] = 0.6f;
    p.p[2][0] = 0.1f;
    flatMask(p.p[3]);
    p.p[4][1] = 100.0f;
}
void artworkEnhance(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][1] = 100.0f;
}

void BM_EnhancePreview(benchmark::State& s) { runSized(s, "MP_calcPixelEnhance", enhance, true, 4); }
// The smoothing with the gather path of the argument (mp_filters::g_smoothPath:
// 0 the first sixteen-lane gather, 1 the current one), the same bits.
void runSmoothPath(benchmark::State& s, bool preview, int threads = 4)
{
    const int before = mp_filters::g_smoothPath;
    mp_filters::g_smoothPath = static_cast<int>(s.range(0));
    runSized(s, "MP_calcPixelImageSmooth", imageSmooth, preview, threads);
    mp_filters::g_smoothPath = before;
}
void BM_ImageSmoothPreview(benchmark::State& s) { runSmoothPath(s, true); }
// One thread: the work itself, apart from how the machine shares its cores.
void BM_ImageSmoothPreviewOneThread(benchmark::State& s) { runSmoothPath(s, true, 1); }
void BM_ArtworkEnhancePreview(benchmark::State& s) { runSized(s, "MP_calcPixelArtworkEnhance", artworkEnhance, true, 4); }
void BM_EnhanceFourThreads(benchmark::State& s) { runSized(s, "MP_calcPixelEnhance", enhance, false, 4); }
void BM_ImageSmoothFourThreads(benchmark::State& s) { runSmoothPath(s, false); }
BENCHMARK(BM_EnhancePreview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImageSmoothPreview)->ArgName("path")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImageSmoothPreviewOneThread)->ArgName("path")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArtworkEnhancePreview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EnhanceFourThreads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ImageSmoothFourThreads)->ArgName("path")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// Non-local means at the default quality (K 2, L 3) and at the finest (K 3, L 10).
void nlMeans(MP_Params& p, float quality)
{
    p.p[0][0] = 0.3f;
    p.p[1][0] = quality;
    for (int i = 0; i < 6; ++i) {
        p.p[2][2 * i] = 0.2f * i;
        p.p[2][2 * i + 1] = 1.0f;
    }
    p.p[3][1] = 100.0f;
}
void BM_DeNoiseLumHD(benchmark::State& s)
{
    bench::runKernelByName(s, "MP_calcPixelDeNoiseLumHD", [](MP_Params& p) { nlMeans(p, 0.223f); });
}
void BM_DeNoiseHD(benchmark::State& s)
{
    bench::runKernelByName(s, "MP_calcPixelDeNoiseHD", [](MP_Params& p) { nlMeans(p, 0.223f); });
}
void BM_DeNoiseLumHDFinest(benchmark::State& s)
{
    bench::runKernelByName(s, "MP_calcPixelDeNoiseLumHD", [](MP_Params& p) { nlMeans(p, 1.0f); });
}
void BM_DeNoiseHDFinest(benchmark::State& s)
{
    bench::runKernelByName(s, "MP_calcPixelDeNoiseHD", [](MP_Params& p) { nlMeans(p, 1.0f); });
}
BENCHMARK(BM_DeNoiseLumHD)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_DeNoiseLumHDFourThreads(benchmark::State& s)
{
    runSized(s, "MP_calcPixelDeNoiseLumHD", [](MP_Params& p) { nlMeans(p, 0.223f); }, false, 4);
}
BENCHMARK(BM_DeNoiseLumHDFourThreads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
// The same on the per-pixel interior path, for old-against-new in one run.
void BM_DeNoiseLumHDFourThreadsPerPixel(benchmark::State& s)
{
    g_nlSharedDifferences = false;
    runSized(s, "MP_calcPixelDeNoiseLumHD", [](MP_Params& p) { nlMeans(p, 0.223f); }, false, 4);
    g_nlSharedDifferences = true;
}
BENCHMARK(BM_DeNoiseLumHDFourThreadsPerPixel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
void BM_DeNoiseHDFinestFourThreads(benchmark::State& s)
{
    runSized(s, "MP_calcPixelDeNoiseHD", [](MP_Params& p) { nlMeans(p, 1.0f); }, false, 4);
}
void BM_DeNoiseHDFinestFourThreadsPerPixel(benchmark::State& s)
{
    g_nlSharedDifferences = false;
    runSized(s, "MP_calcPixelDeNoiseHD", [](MP_Params& p) { nlMeans(p, 1.0f); }, false, 4);
    g_nlSharedDifferences = true;
}
BENCHMARK(BM_DeNoiseHDFinestFourThreads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_DeNoiseHDFinestFourThreadsPerPixel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_DeNoiseHD)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeNoiseLumHDFinest)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_DeNoiseHDFinest)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// Bokeh with a 64 x 64 disc aperture in slot 68, at the catalogue defaults.
void BM_BokehBlur(benchmark::State& s)
{
    MP_UI_AllocTextureData(68, 64, 64, 6, 0);
    uint16_t* t = MP_UI_GetTexturePointer(68);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float dx = x - 31.5f, dy = y - 31.5f;
            uint16_t* px = t + (y * 64 + x) * 3;
            px[0] = px[2] = 0;
            px[1] = dx * dx + dy * dy <= 30.0f * 30.0f ? 0xFF00 : 0;
        }
    bench::runKernelByName(s, "MP_calcPixelBokehBlur", [](MP_Params& p) {
        p.p[1][0] = 0.5f;
        p.p[2][0] = 0.5f;
        p.p[3][0] = 0.25f;
        p.p[4][0] = 0.5f;
        p.p[5][0] = 0.5f;
        p.p[6][1] = 100.0f;
    });
    MP_UI_AllocTextureData(68, 0, 0, 0, 0);
}
BENCHMARK(BM_BokehBlur)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
