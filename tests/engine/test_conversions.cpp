#include "enginefixture.h"

#include <FreeImage.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace {

struct BitmapDeleter {
    void operator()(FIBITMAP* b) const { FreeImage_Unload(b); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

Bitmap makeBitmap(FREE_IMAGE_TYPE type, int w, int h, int bpp = 8)
{
    return Bitmap(FreeImage_AllocateT(type, w, h, bpp));
}

float* floatLine(FIBITMAP* b, int line) { return reinterpret_cast<float*>(FreeImage_GetScanLine(b, line)); }

size_t px(int w, int x, int y) { return (static_cast<size_t>(y) * w + x) * 3; }

class Conversions : public EngineTest {};

TEST_F(Conversions, EightBitBitmapsShiftEachValueAndFlipTheRows)
{
    for (int bpp : {24, 32}) {
        SCOPED_TRACE(bpp);
        Bitmap bmp = makeBitmap(FIT_BITMAP, 3, 2, bpp);
        const int step = bpp / 8;
        // scan line 0 (the bottom row): white, then (r, g, b) = (0x12, 0x34, 0x56)
        uint8_t* l0 = FreeImage_GetScanLine(bmp.get(), 0);
        l0[0] = l0[1] = l0[2] = 0xFF;
        l0[step + 0] = 0x56; // blue
        l0[step + 1] = 0x34; // green
        l0[step + 2] = 0x12; // red
        if (step == 4)
            l0[3] = l0[7] = 0x80; // alpha is ignored
        uint8_t* l1 = FreeImage_GetScanLine(bmp.get(), 1);
        l1[2 * step + 2] = 0x01;

        std::vector<uint16_t> out(3 * 2 * 3, 0xDEAD);
        MP_own_FreeImage_frombitmap(3, 2, bmp.get(), 0, out.data());
        EXPECT_EQ(out[px(3, 0, 1)], 0xFF00);
        EXPECT_EQ(out[px(3, 0, 1) + 1], 0xFF00);
        EXPECT_EQ(out[px(3, 0, 1) + 2], 0xFF00);
        EXPECT_EQ(out[px(3, 1, 1)], 0x1200);
        EXPECT_EQ(out[px(3, 1, 1) + 1], 0x3400);
        EXPECT_EQ(out[px(3, 1, 1) + 2], 0x5600);
        EXPECT_EQ(out[px(3, 2, 0)], 0x0100); // scan line 1 is the top row
        EXPECT_EQ(out[px(3, 2, 1)], 0);
    }
}

TEST_F(Conversions, Rgb16BitmapIsCopiedRowByRowBottomUp)
{
    const int w = 5, h = 7;
    Bitmap bmp = makeBitmap(FIT_RGB16, w, h);
    for (int i = 0; i < h; ++i) {
        FIRGB16* line = reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(bmp.get(), i));
        for (int x = 0; x < w; ++x)
            line[x] = {static_cast<WORD>(1000 * i + x), static_cast<WORD>(60000 - x), static_cast<WORD>(i)};
    }
    for (int threads : {1, 3, 8}) {
        MP_UI_SetIdealThreadCount(threads);
        std::vector<uint16_t> out(static_cast<size_t>(w) * h * 3, 0xDEAD);
        MP_own_FreeImage_fromrgb16(w, h, bmp.get(), static_cast<int>(FreeImage_GetPitch(bmp.get())), out.data());
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int line = h - 1 - y;
                ASSERT_EQ(out[px(w, x, y)], 1000 * line + x) << threads;
                ASSERT_EQ(out[px(w, x, y) + 1], 60000 - x);
                ASSERT_EQ(out[px(w, x, y) + 2], line);
            }
        }
    }
}

TEST_F(Conversions, BitmapsThatDoNotFitLeaveTheBufferAlone)
{
    Bitmap rgb16 = makeBitmap(FIT_RGB16, 4, 4);
    Bitmap grey = makeBitmap(FIT_BITMAP, 4, 4, 8);
    Bitmap rgbf = makeBitmap(FIT_RGBF, 4, 4);
    const int pitch16 = static_cast<int>(FreeImage_GetPitch(rgb16.get()));
    const int pitchf = static_cast<int>(FreeImage_GetPitch(rgbf.get()));
    std::vector<uint16_t> out(8 * 8 * 3, 0xDEAD);
    const auto untouched = out;
    MP_own_FreeImage_frombitmap(4, 4, grey.get(), 0, out.data());       // 8-bit grey: no BGR bytes
    MP_own_FreeImage_frombitmap(4, 4, rgb16.get(), 0, out.data());      // wrong type
    MP_own_FreeImage_fromrgb16(8, 8, rgb16.get(), pitch16, out.data()); // larger than the bitmap
    MP_own_FreeImage_fromrgb16(4, 4, rgb16.get(), pitch16 * 2, out.data()); // pitch past the lines
    MP_own_FreeImage_fromrgb16(4, 4, nullptr, pitch16, out.data());
    MP_own_FreeImage_fromrgbf(4, 4, rgb16.get(), pitchf, out.data());
    MP_own_FreeImage_fromrgbf(4, 0, rgbf.get(), pitchf, out.data());
    EXPECT_EQ(out, untouched);
    MP_own_FreeImage_fromrgb16(4, 4, rgb16.get(), pitch16, nullptr); // must not crash
}

// A float bitmap with the given samples in its first values, the rest 0.
Bitmap floatBitmap(int w, int h, std::initializer_list<float> samples, float fill)
{
    Bitmap bmp = makeBitmap(FIT_RGBF, w, h);
    for (int i = 0; i < h; ++i) {
        float* line = floatLine(bmp.get(), i);
        for (int k = 0; k < 3 * w; ++k)
            line[k] = fill;
    }
    float* first = floatLine(bmp.get(), 0);
    int k = 0;
    for (float s : samples)
        first[k++] = s;
    return bmp;
}

void fromFloat(FIBITMAP* bmp, int w, int h, std::vector<uint16_t>& out)
{
    out.assign(static_cast<size_t>(w) * h * 3, 0xDEAD);
    MP_own_FreeImage_fromrgbf(w, h, bmp, static_cast<int>(FreeImage_GetPitch(bmp)), out.data());
}

TEST_F(Conversions, FloatBitmapIsStretchedOverTheWholeRangeWithGamma)
{
    MP_UI_SetHDRGammaValue(2.2f);
    // 0 .. 1: range 1, so add = 0 and the exponent is 1 / 2.2.
    Bitmap bmp = floatBitmap(2, 2, {0.0f, 0.5f, 1.0f}, 0.25f);
    std::vector<uint16_t> out;
    testing::internal::CaptureStdout();
    fromFloat(bmp.get(), 2, 2, out);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Min: 0.000000 | Max: 1.000000 -> add: 0.000000\r\n");
    // scan line 0 is the bottom row (row 1)
    EXPECT_EQ(out[px(2, 0, 1)], 0);
    EXPECT_EQ(out[px(2, 0, 1) + 1], 47823);
    EXPECT_EQ(out[px(2, 0, 1) + 2], 65535);

    // A constant bitmap: the maximum becomes minimum + 0.001 and every value maps to 0.
    Bitmap flat = floatBitmap(3, 2, {}, 0.5f);
    testing::internal::CaptureStdout();
    fromFloat(flat.get(), 3, 2, out);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Min: 0.500000 | Max: 0.501000 -> add: 0.000000\r\n");
    EXPECT_EQ(out, std::vector<uint16_t>(18, 0));
}

TEST_F(Conversions, WideFloatRangesAreCompressedHarder)
{
    MP_UI_SetHDRGammaValue(1.0f);
    Bitmap bmp = floatBitmap(2, 1, {0.0f, 50.0f, 100.0f}, 0.0f);
    std::vector<uint16_t> out;
    testing::internal::CaptureStdout();
    fromFloat(bmp.get(), 2, 1, out);
    testing::internal::GetCapturedStdout();
    const float add = std::log(std::log(100.0f) + 1.0f);
    const float e = 1.0f / (1.0f + add);
    EXPECT_EQ(out[1], static_cast<uint16_t>(std::pow(0.5f, e) * 65535.0f));
    EXPECT_EQ(out[2], 65535);
}

TEST_F(Conversions, NegativeNanAndInfiniteFloatSamplesAreRepairedBeforeMeasuring)
{
    MP_UI_SetHDRGammaValue(1.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Bitmap bmp = floatBitmap(2, 2, {-3.0f, nan, inf, 2.0f, 1.0f, -inf}, 1.0f);
    std::vector<uint16_t> out;
    testing::internal::CaptureStdout();
    fromFloat(bmp.get(), 2, 2, out);
    // Min 0 (negatives and NaN count as 0), max 2 (the largest finite sample).
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Min: 0.000000 | Max: 2.000000 -> add: " + std::to_string(std::log(std::log(2.0f) + 1.0f)) +
                  "\r\n");
    const float* line = floatLine(bmp.get(), 0);
    EXPECT_EQ(line[0], 0.0f);
    EXPECT_EQ(line[1], 0.0f);
    EXPECT_EQ(line[2], 2.0f);
    EXPECT_EQ(line[5], 0.0f);
    EXPECT_EQ(out[px(2, 0, 1)], 0);
    EXPECT_EQ(out[px(2, 0, 1) + 1], 0);
    EXPECT_EQ(out[px(2, 0, 1) + 2], 65535);
    EXPECT_EQ(out[px(2, 1, 1)], 65535);

    // Nothing finite but +Inf: everything maps to 0 instead of undefined values.
    Bitmap allInf = floatBitmap(2, 1, {}, inf);
    testing::internal::CaptureStdout();
    fromFloat(allInf.get(), 2, 1, out);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, std::vector<uint16_t>(6, 0));
}

TEST_F(Conversions, ConstantLargeFloatBitmapMapsToBlack)
{
    // 40000 + 0.001 rounds back to 40000 in single precision: the stretch
    // divides 0 by 0, which must still give 0.
    Bitmap bmp = floatBitmap(2, 2, {}, 40000.0f);
    std::vector<uint16_t> out;
    testing::internal::CaptureStdout();
    fromFloat(bmp.get(), 2, 2, out);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, std::vector<uint16_t>(12, 0));
}

TEST_F(Conversions, FloatWriterAppliesGammaAndFlipsTheRows)
{
    MP_UI_SetHDRGammaValue(2.2f);
    const int w = 3, h = 5;
    std::vector<uint16_t> buf(static_cast<size_t>(w) * h * 3);
    for (size_t i = 0; i < buf.size(); ++i)
        buf[i] = static_cast<uint16_t>(i * 4000);
    buf[px(w, 0, h - 1)] = 65535;
    Bitmap bmp = makeBitmap(FIT_RGBF, w, h);
    MP_own_FreeImage_torgbf(w, h, bmp.get(), buf.data());
    for (int y = 0; y < h; ++y) {
        const float* line = floatLine(bmp.get(), h - 1 - y);
        for (int k = 0; k < 3 * w; ++k)
            ASSERT_EQ(line[k], std::pow(static_cast<float>(buf[px(w, 0, y) + k]) * 1.5259022e-05f, 2.2f));
    }
    EXPECT_EQ(floatLine(bmp.get(), 0)[0], 1.0f);     // last row -> scan line 0
    EXPECT_EQ(floatLine(bmp.get(), h - 1)[0], 0.0f); // first row -> top scan line
}

TEST_F(Conversions, Argb8888KeepsTheHighBytesOfEveryRow)
{
    const int w = 4, h = 9;
    auto img = solidImage(w, h, 0x1234, 0xABCD, 0x00FF);
    img[px(w, 3, 8)] = 0xFFFF;
    for (int threads : {1, 4, 16}) {
        MP_UI_SetIdealThreadCount(threads);
        std::vector<uint32_t> argb(static_cast<size_t>(w) * h, 0);
        MP_UI_ConvertRGB48toARGB8888(w, h, img.data(), argb.data());
        for (size_t i = 0; i + 1 < argb.size(); ++i)
            ASSERT_EQ(argb[i], 0xFF12AB00u) << threads;
        EXPECT_EQ(argb.back(), 0xFFFFAB00u);
    }
    std::vector<uint32_t> argb(4, 7);
    MP_UI_ConvertRGB48toARGB8888(2, 0, img.data(), argb.data());
    MP_UI_ConvertRGB48toARGB8888(2, 2, nullptr, argb.data());
    EXPECT_EQ(argb, std::vector<uint32_t>(4, 7));
    MP_UI_ConvertRGB48toARGB8888(2, 2, img.data(), nullptr);
}

} // namespace
