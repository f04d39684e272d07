// The exposure-series algorithms on the 24-megapixel picture: median-threshold
// bitmap and smoothing on one thread, the alignment builders as one worker job
// each, a shift-only alignment of a bracket (two jobs at once, as the series
// runs them), de-ghosting of a 1-megapixel preview, the clone search and
// variation view, and the structure detection with its blends.

#include "benchutil.h"

#include "engine/MP_calc.h"

#include <cmath>
#include <cstring>
#include <thread>

namespace {

constexpr int W = bench::kWidth, H = bench::kHeight;

// A textured scene from separable tables (cheap to make at 24 MP), seen through
// a shift (dx, dy) and a tone curve v^gamma (above 1 darker, below 1 brighter).
std::vector<uint16_t> scenePicture(int w, int h, int dx, int dy, float gamma)
{
    const int pad = 64;
    std::vector<float> ax(static_cast<size_t>(w + 2 * pad)), bx(ax.size()), ay(static_cast<size_t>(h + 2 * pad)),
        by(ay.size());
    for (size_t i = 0; i < ax.size(); ++i) {
        ax[i] = std::sin(static_cast<float>(i) * 0.0913f) + 0.5f * std::sin(static_cast<float>(i) * 0.0311f + 1.0f);
        bx[i] = std::cos(static_cast<float>(i) * 0.1437f + 0.3f);
    }
    for (size_t i = 0; i < ay.size(); ++i) {
        ay[i] = std::cos(static_cast<float>(i) * 0.0771f) + 0.5f * std::sin(static_cast<float>(i) * 0.0207f);
        by[i] = std::sin(static_cast<float>(i) * 0.1193f + 0.7f);
    }
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        const size_t sy = static_cast<size_t>(y + pad - dy);
        for (int x = 0; x < w; ++x) {
            const size_t sx = static_cast<size_t>(x + pad - dx);
            float v = 0.5f + 0.12f * ax[sx] * ay[sy] + 0.1f * bx[sx] * by[sy] + 0.08f * ax[sx] + 0.06f * by[sy];
            v = std::pow(std::fmin(1.0f, std::fmax(0.0f, v)), gamma);
            uint16_t* p = &img[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint16_t>(v * 65535.0f);
            p[1] = static_cast<uint16_t>(v * 60000.0f);
            p[2] = static_cast<uint16_t>(v * 52000.0f);
        }
    }
    return img;
}

struct Bracket {
    std::vector<uint16_t> master = scenePicture(W, H, 0, 0, 1.0f);
    std::vector<uint16_t> under = scenePicture(W, H, 7, -4, 2.5f); // darker, shifted
    std::vector<uint16_t> over = scenePicture(W, H, -5, 9, 0.4f); // brighter, shifted
};
const Bracket& bracket()
{
    static const Bracket b;
    return b;
}

// Runs a banded benchmark with the thread count of its argument.
struct ThreadCount {
    int saved = MP_UI_GetIdealThreadCount();
    explicit ThreadCount(const benchmark::State& state) { MP_UI_SetIdealThreadCount(static_cast<int>(state.range(0))); }
    ~ThreadCount() { MP_UI_SetIdealThreadCount(saved); }
};

std::vector<uint8_t> smoothedReference(const std::vector<uint16_t>& img, int w, int h)
{
    std::vector<uint8_t> bm(static_cast<size_t>(w) * h), scratch(bm.size());
    MP_convertToMTB(img.data(), bm.data(), w, h, nullptr, nullptr, nullptr);
    MP_smoothMTB(2, w, h, bm.data(), scratch.data());
    return bm;
}

void BM_MTBConvert(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<uint8_t> bm(static_cast<size_t>(W) * H);
    for (auto _ : state) {
        MP_convertToMTB(src.data(), bm.data(), W, H, nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(bm.data());
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_MTBConvert)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MTBSmooth(benchmark::State& state)
{
    std::vector<uint8_t> bm(static_cast<size_t>(W) * H), scratch(bm.size());
    MP_convertToMTB(bench::testPicture().data(), bm.data(), W, H, nullptr, nullptr, nullptr);
    for (auto _ : state) {
        MP_smoothMTB(2, W, H, bm.data(), scratch.data());
        benchmark::DoNotOptimize(bm.data());
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_MTBSmooth)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MTBConvertAndSmooth(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<uint8_t> bm(static_cast<size_t>(W) * H), scratch(bm.size());
    for (auto _ : state) {
        MP_convertToMTB(src.data(), bm.data(), W, H, nullptr, nullptr, nullptr);
        MP_smoothMTB(2, W, H, bm.data(), scratch.data());
        benchmark::DoNotOptimize(bm.data());
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_MTBConvertAndSmooth)->Unit(benchmark::kMillisecond)->UseRealTime();

// One builder job on the under-exposed frame (a fresh copy each time, outside the timing).
template <typename Run> void builderJob(benchmark::State& state, Run run)
{
    const Bracket& b = bracket();
    const auto ref = smoothedReference(b.master, W, H);
    std::vector<uint8_t> work(static_cast<size_t>(W) * H * 8);
    std::vector<uint16_t> img;
    for (auto _ : state) {
        state.PauseTiming();
        img = b.under;
        state.ResumeTiming();
        const int r = run(work.data(), b.master.data(), img.data(), ref.data());
        benchmark::DoNotOptimize(r);
        state.counters["result"] = r;
    }
    bench::setMegapixelRate(state, W, H);
}

void BM_AlignShiftJob(benchmark::State& state)
{
    builderJob(state, [](void* work, const uint16_t* src, uint16_t* img, const uint8_t* ref) {
        float before, after;
        int l, t, r, b;
        return MP_UI_buildAlignmentScroll(work, src, img, W, H, &before, 0, 1.0f, &after, &l, &t, &r, &b, ref);
    });
}
BENCHMARK(BM_AlignShiftJob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AlignZoomJob(benchmark::State& state)
{
    builderJob(state, [](void* work, const uint16_t* src, uint16_t* img, const uint8_t* ref) {
        float before, after;
        int l = 0, t = 0, r = W, b = H;
        return MP_UI_buildAlignmentZoom(0, work, src, img, W, H, 0, 0, 0, 1, &before, &after, &l, &t, &r, &b, ref);
    });
}
BENCHMARK(BM_AlignZoomJob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AlignRotateJob(benchmark::State& state)
{
    builderJob(state, [](void* work, const uint16_t* src, uint16_t* img, const uint8_t* ref) {
        float before, after;
        int l = 0, t = 0, r = W, b = H;
        return MP_UI_buildAlignmentRotate(0, work, src, img, W, H, 0, 0, 0, 1, &before, &after, &l, &t, &r, &b, ref);
    });
}
BENCHMARK(BM_AlignRotateJob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AlignDetailJob(benchmark::State& state)
{
    builderJob(state, [](void* work, const uint16_t* src, uint16_t* img, const uint8_t* ref) {
        float before, after;
        return MP_UI_buildAlignmentDetail(work, src, img, W, H, 1, 0.5f, 1.0f, 0.9f, 64, &before, &after, ref);
    });
}
BENCHMARK(BM_AlignDetailJob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AlignMicroDetailJob(benchmark::State& state)
{
    builderJob(state, [](void* work, const uint16_t* src, uint16_t* img, const uint8_t* ref) {
        float before, after;
        return MP_UI_buildAlignmentMicroDetail(work, src, img, W, H, 1, &before, &after, ref);
    });
}
BENCHMARK(BM_AlignMicroDetailJob)->Unit(benchmark::kMillisecond)->UseRealTime();

// Shift-only alignment of the bracket, one pass: the master's reference, then
// the two other frames' shift jobs at once.
void BM_AlignBracketShift(benchmark::State& state)
{
    const Bracket& b = bracket();
    std::vector<uint16_t> under, over;
    std::vector<uint8_t> ref(static_cast<size_t>(W) * H), scratch(ref.size());
    for (auto _ : state) {
        state.PauseTiming();
        under = b.under;
        over = b.over;
        state.ResumeTiming();
        MP_convertToMTB(b.master.data(), ref.data(), W, H, nullptr, nullptr, nullptr);
        MP_smoothMTB(2, W, H, ref.data(), scratch.data());
        int r1 = 0, r2 = 0;
        auto job = [&](std::vector<uint16_t>& img, int& r) {
            float before, after;
            int l, t, rr, bb;
            r = MP_UI_buildAlignmentScroll(nullptr, b.master.data(), img.data(), W, H, &before, 0, 1.0f, &after, &l,
                                           &t, &rr, &bb, ref.data());
        };
        std::thread a(job, std::ref(under), std::ref(r1));
        std::thread c(job, std::ref(over), std::ref(r2));
        a.join();
        c.join();
        state.counters["results"] = r1 * 10 + r2;
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_AlignBracketShift)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeGhostPreview(benchmark::State& state)
{
    const int w = 1224, h = 816; // about 1 MP
    const auto ref = scenePicture(w, h, 0, 0, 1.0f);
    auto img = scenePicture(w, h, 0, 0, 1.0f);
    for (int y = 300; y < 500; ++y) // a moved object
        for (int x = 400; x < 640; ++x)
            img[(static_cast<size_t>(y) * w + x) * 3] = img[(static_cast<size_t>(y) * w + x) * 3 + 1] = 60000;
    std::vector<uint8_t> refClasses(static_cast<size_t>(w) * h);
    MP_convertToDeGhostMTBlocal(ref.data(), refClasses.data(), w, h, nullptr, nullptr);
    std::vector<int16_t> map(static_cast<size_t>(w) * h), full(static_cast<size_t>(W) * H);
    MP_UI_SetPreviewScalingFactor(static_cast<float>(w) / W);
    for (auto _ : state) {
        const int r = MP_CalcDeGhost(w, h, W, H, img.data(), refClasses.data(), 0.5f, map.data(), full.data());
        benchmark::DoNotOptimize(r);
    }
    bench::setMegapixelRate(state, w, h);
}
BENCHMARK(BM_DeGhostPreview)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StencilFindBestMatch(benchmark::State& state)
{
    const auto& img = bracket().master;
    const float dx[1] = {0.4f}, dy[1] = {0.5f}, r[1] = {0.025f};
    for (auto _ : state) {
        float x, y;
        const int res = MP_MT_StencilFindBestMatch(1, 0, dx, dy, r, W, 1.0f, H, img.data(), &x, &y);
        benchmark::DoNotOptimize(res);
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_StencilFindBestMatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_StencilVariation(benchmark::State& state)
{
    const ThreadCount threads(state);
    const auto& src = bench::testPicture();
    std::vector<uint16_t> dst(src.size());
    for (auto _ : state) {
        MP_UI_StencilCalcVariationToBuffer(W, H, src.data(), dst.data(), 0.5f);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_StencilVariation)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StructureDetection(benchmark::State& state)
{
    const ThreadCount threads(state);
    const auto& src = bench::testPicture();
    std::vector<int16_t> m1(static_cast<size_t>(W) * H), m2(m1.size()), m3(m1.size()), m4(m1.size());
    for (auto _ : state) {
        MP_calcStructureDetection(1, src.data(), nullptr, W, H, m1.data(), m2.data(), m3.data(), m4.data(), 0.3f);
        benchmark::DoNotOptimize(m1.data());
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_StructureDetection)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StructureBlend(benchmark::State& state)
{
    const ThreadCount threads(state);
    const auto& src = bench::testPicture();
    std::vector<uint16_t> dst(src.size(), 30000);
    std::vector<int16_t> m(static_cast<size_t>(W) * H, 0x3FFF);
    for (auto _ : state) {
        MP_blendStructureDetection(src.data(), dst.data(), W, H, m.data(), m.data(), m.data(), m.data(), 0.3f, 0.2f,
                                   0.1f, 0.4f);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_StructureBlend)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BlendBufferIntensity(benchmark::State& state)
{
    const ThreadCount threads(state);
    const auto& src = bench::testPicture();
    std::vector<uint16_t> dst(src.size(), 30000);
    for (auto _ : state) {
        MP_blendBufferIntensity(src.data(), dst.data(), W, H, 0.7f);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_BlendBufferIntensity)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GreyConversion(benchmark::State& state)
{
    const ThreadCount threads(state);
    const auto& src = bench::testPicture();
    std::vector<uint16_t> dst(src.size());
    for (auto _ : state) {
        MP_UI_calcGreyConversion(src.data(), dst.data(), W, H, 2.5f, 0.8f);
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, W, H);
}
BENCHMARK(BM_GreyConversion)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
