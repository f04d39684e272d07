// Buffer routines on the 24-megapixel picture: the FreeImage and ARGB
// conversions (row bands on every core; compare with BM_CopyRGB48Bands), and
// the box blur and the stored-buffer pre-coding, which run on their caller's
// thread (compare with BM_CopyRGB48).

#include "benchutil.h"

#include "engine/MP_calc.h"

#include <FreeImage.h>

#include <cstring>

namespace {

void BM_FromRGB16Bitmap(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    FIBITMAP* bmp = FreeImage_AllocateT(FIT_RGB16, bench::kWidth, bench::kHeight);
    for (int i = 0; i < bench::kHeight; ++i)
        std::memcpy(FreeImage_GetScanLine(bmp, i), src.data() + static_cast<size_t>(i) * bench::kWidth * 3,
                    static_cast<size_t>(bench::kWidth) * 6);
    std::vector<uint16_t> dst(src.size());
    const int pitch = static_cast<int>(FreeImage_GetPitch(bmp));
    for (auto _ : state) {
        MP_own_FreeImage_fromrgb16(bench::kWidth, bench::kHeight, bmp, pitch, dst.data());
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
    FreeImage_Unload(bmp);
}
BENCHMARK(BM_FromRGB16Bitmap)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RGB48toARGB8888(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<uint32_t> dst(static_cast<size_t>(bench::kWidth) * bench::kHeight);
    for (auto _ : state) {
        MP_UI_ConvertRGB48toARGB8888(bench::kWidth, bench::kHeight, src.data(), dst.data());
        benchmark::DoNotOptimize(dst.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_RGB48toARGB8888)->Unit(benchmark::kMillisecond)->UseRealTime();

// One-channel signed map (the green channel of the picture), blurred in place
// with the radius of a soft-contrast run: R = 35, one pass.
void BM_BoxBlurSigned(benchmark::State& state)
{
    const auto& src = bench::testPicture();
    std::vector<int16_t> map(static_cast<size_t>(bench::kWidth) * bench::kHeight);
    for (size_t i = 0; i < map.size(); ++i)
        map[i] = static_cast<int16_t>(src[3 * i + 1] - 32768);
    MP_Params p;
    std::memset(&p, 0, sizeof(p));
    p.p[0][0] = static_cast<float>(state.range(0));
    p.p[1][0] = 1.0f;
    for (auto _ : state) {
        MP_BlurSignedShortBuffer(bench::kWidth, bench::kHeight, map.data(), map.data(), 2, 2, &p);
        benchmark::DoNotOptimize(map.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_BoxBlurSigned)->Arg(35)->Arg(400)->Unit(benchmark::kMillisecond)->UseRealTime();

// Encoding repeats on its own output and decoding on its own output: the work
// per call does not depend on the values.
void BM_PrecodeEncode(benchmark::State& state)
{
    std::vector<uint16_t> buf = bench::testPicture();
    const int flags = static_cast<int>(state.range(0));
    for (auto _ : state) {
        MP_UI_ConvertToCompress(buf.data(), bench::kWidth, bench::kHeight, flags);
        benchmark::DoNotOptimize(buf.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_PrecodeEncode)->Arg(8)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrecodeDecode(benchmark::State& state)
{
    std::vector<uint16_t> buf = bench::testPicture();
    const int flags = static_cast<int>(state.range(0));
    for (auto _ : state) {
        MP_UI_ConvertFromCompress(buf.data(), bench::kWidth, bench::kHeight, flags);
        benchmark::DoNotOptimize(buf.data());
    }
    bench::setMegapixelRate(state, bench::kWidth, bench::kHeight);
}
BENCHMARK(BM_PrecodeDecode)->Arg(8)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
