// Artwork and weather effect drivers on the 24-megapixel picture at their
// catalogue defaults, run by name through the dispatcher: compare with
// BM_CopyRGB48Bands (the banded copy); the ...OneThread runs with the
// single-threaded figures of the same kernel for the thread scaling.

#include "benchutil.h"

#include "engine/MP_calc.h"

namespace {

void position(MP_Params& p, int slot, float x, float y)
{
    p.p[slot][0] = x;
    p.p[slot][1] = y;
}

void flatSpline(MP_Params& p, int slot, float y)
{
    for (int i = 0; i < 6; ++i) {
        p.p[slot][2 * i] = static_cast<float>(i) / 5.0f;
        p.p[slot][2 * i + 1] = y;
    }
}

void waxPaint(MP_Params& p)
{
    p.p[0][0] = 0.5f; // R 25
    p.p[1][0] = 0.5f;
    position(p, 2, 0.4f, 0.4f);
    p.p[3][1] = 100.0f;
}
void plastics(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.6f;
    position(p, 2, 0.75f, 0.25f);
    p.p[3][1] = 100.0f;
}
void pencil(MP_Params& p)
{
    p.p[0][0] = 0.75f;
    p.p[1][0] = 0.5f;
    flatSpline(p, 2, 1.0f);
    p.p[3][1] = 100.0f;
}
void comic(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.2f;
    p.p[2][0] = 0.15f;
    p.p[3][0] = 0.48f;
    p.p[4][2] = p.p[4][3] = p.p[4][4] = 0.01f;
    p.p[5][1] = 100.0f;
}
void fog(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.8f;
    p.p[2][0] = 0.9f;
    p.p[3][0] = 0.1f;
    p.p[3][1] = 0.95f;
    p.p[3][2] = 0.9f;
    p.p[3][3] = 0.95f;
    p.p[4][2] = p.p[4][3] = p.p[4][4] = 0.9f;
    p.p[5][1] = 100.0f;
}
void rainbow(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.4f;
    p.p[3][0] = 0.1f;
    p.p[4][0] = 0.9f;
    position(p, 5, 0.5f, 0.5f);
    p.p[6][1] = 100.0f;
}
void mandelbrot(MP_Params& p)
{
    p.p[0][0] = 0.0241f;
    p.p[2][0] = 0.25f;
    position(p, 3, 0.5f, 0.5f);
    p.p[4][2] = 0.5f;
    p.p[4][3] = p.p[4][4] = 0.7f;
    p.p[5][1] = 100.0f;
}
void flare(MP_Params& p)
{
    p.p[0][0] = 0.25f;
    p.p[1][0] = 0.5f;
    position(p, 2, 0.75f, 0.35f);
    p.p[3][1] = 100.0f;
}
void cubify(MP_Params& p)
{
    static const bool sheet = [] {
        MP_UI_AllocTextureData(3, 64, 512, 6, 0);
        uint16_t* px = MP_UI_GetTexturePointer(3);
        for (int i = 0; i < 64 * 512 * 3; ++i)
            px[i] = static_cast<uint16_t>(((i / 3) % 64) < 49 ? 43690 : 0);
        return true;
    }();
    (void)sheet;
    p.p[0][0] = 0.43f;
    p.p[2][0] = 0.125f;
    flatSpline(p, 3, 0.8f);
    p.p[4][1] = 100.0f;
}
// A weather layer pass runs at an opacity below 100 %.
void rainLayer(MP_Params& p)
{
    p.p[0][0] = 0.495f;
    p.p[1][0] = 0.4f;
    p.p[2][0] = 0.39f;
    p.p[3][0] = 0.5f;
    p.p[4][1] = 80.0f;
}
void polarLight(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.25f;
    p.p[2][0] = 0.7f;
    p.p[3][0] = 0.3f;
    p.p[4][0] = 0.1f;
    p.p[4][1] = 0.15f;
    p.p[4][2] = 0.9f;
    p.p[4][3] = 0.35f;
    p.p[5][2] = 0.55f;
    p.p[5][3] = 0.98f;
    p.p[5][4] = 0.69f;
    p.p[6][1] = 100.0f;
}
void painting(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][1] = 100.0f;
}
void oelbild(MP_Params& p)
{
    p.p[0][0] = 0.2f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.3f;
    position(p, 3, 0.2f, 0.2f);
    p.p[4][1] = 100.0f;
}

#define LUMIVEX_EFFECT_BENCH(name, kernel, setup)                                                                       \
    void BM_##name(benchmark::State& s) { bench::runKernelByName(s, kernel, setup); }                                  \
    BENCHMARK(BM_##name)->Unit(benchmark::kMillisecond)->UseRealTime()
#define LUMIVEX_EFFECT_BENCH_ONE(name, kernel, setup)                                                                   \
    void BM_##name##OneThread(benchmark::State& s) { bench::runKernelByName(s, kernel, setup, 1); }                    \
    BENCHMARK(BM_##name##OneThread)->Unit(benchmark::kMillisecond)->UseRealTime()

LUMIVEX_EFFECT_BENCH(WaxPaint, "MP_calcPixelWaxPaint", waxPaint);
LUMIVEX_EFFECT_BENCH_ONE(WaxPaint, "MP_calcPixelWaxPaint", waxPaint);
LUMIVEX_EFFECT_BENCH(Plastics, "MP_calcPixelPlastics", plastics);
LUMIVEX_EFFECT_BENCH(PencilPaint, "MP_calcPixelPencilPaint", pencil);
LUMIVEX_EFFECT_BENCH_ONE(PencilPaint, "MP_calcPixelPencilPaint", pencil);
LUMIVEX_EFFECT_BENCH(ComicPaint, "MP_calcPixelComicPaint", comic);
LUMIVEX_EFFECT_BENCH_ONE(ComicPaint, "MP_calcPixelComicPaint", comic);
LUMIVEX_EFFECT_BENCH(TiltFog, "MP_calcPixelTiltFog", fog);
LUMIVEX_EFFECT_BENCH(Regenbogen, "MP_calcPixelRegenbogen", rainbow);
LUMIVEX_EFFECT_BENCH_ONE(Regenbogen, "MP_calcPixelRegenbogen", rainbow);
LUMIVEX_EFFECT_BENCH(Mandelbrot, "MP_calcPixelMandelbrot", mandelbrot);
LUMIVEX_EFFECT_BENCH_ONE(Mandelbrot, "MP_calcPixelMandelbrot", mandelbrot);
LUMIVEX_EFFECT_BENCH(LensFlare, "MP_calcPixelLensFlare", flare);
LUMIVEX_EFFECT_BENCH_ONE(LensFlare, "MP_calcPixelLensFlare", flare);
LUMIVEX_EFFECT_BENCH(Cubify, "MP_calcPixelCubify", cubify);
LUMIVEX_EFFECT_BENCH(RainLayer, "MP_calcPixelRain", rainLayer);
LUMIVEX_EFFECT_BENCH(PolarLight, "MP_calcPixelPolarLight", polarLight);
LUMIVEX_EFFECT_BENCH_ONE(PolarLight, "MP_calcPixelPolarLight", polarLight);
LUMIVEX_EFFECT_BENCH(Painting, "MP_calcPixelPainting", painting);
LUMIVEX_EFFECT_BENCH(Oelbild, "MP_calcPixelOelbild", oelbild);

} // namespace
