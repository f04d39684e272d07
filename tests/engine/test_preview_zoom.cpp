// Zooms of the preview renderers: copy, bilinear and area-average paths, the
// dispatch between them, thread-count independence and argument checks.

#include "enginefixture.h"

#include <cmath>
#include <limits>

namespace {

using Img = std::vector<uint16_t>;

// Pixel (x, y) = (100 x + 1000 y, x, y).
Img rampImage(int w, int h)
{
    Img img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* p = &img[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint16_t>(100 * x + 1000 * y);
            p[1] = static_cast<uint16_t>(x);
            p[2] = static_cast<uint16_t>(y);
        }
    return img;
}

Img noiseImage(int w, int h, uint32_t seed)
{
    Img img(static_cast<size_t>(w) * h * 3);
    for (auto& v : img) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<uint16_t>(seed >> 16);
    }
    return img;
}

const uint16_t* px(const Img& img, int w, int x, int y) { return &img[(static_cast<size_t>(y) * w + x) * 3]; }

using ZoomFn = void (*)(const uint16_t*, uint16_t*, int, int, int, int, float, float, float, float, float, float,
                        float, float, float);

Img zoom(ZoomFn fn, const Img& src, int sw, int sh, int dw, int dh, float x0, float y0, float x1, float y1)
{
    Img dst(static_cast<size_t>(dw) * dh * 3, 0xABCD);
    fn(src.data(), dst.data(), 0, 0, 0, 0, float(dw), float(dh), float(dw), float(sw), float(sh), x0, y0, x1, y1);
    return dst;
}

Img zoomWhole(ZoomFn fn, const Img& src, int sw, int sh, int dw, int dh)
{
    return zoom(fn, src, sw, sh, dw, dh, 0.0f, 0.0f, float(sw), float(sh));
}

} // namespace

class PreviewZoomTest : public EngineTest {};

TEST_F(PreviewZoomTest, CopyTakesTheWindowExactlyAlsoOffOrigin)
{
    const Img src = rampImage(10, 8);
    for (ZoomFn fn : {MP_MT_zoomPreviewPicture, MP_UI_zoomPreviewPicture, MP_UI_zoomPreviewPictureSimple}) {
        const Img dst = zoom(fn, src, 10, 8, 4, 3, 3.0f, 2.0f, 7.0f, 5.0f);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                for (int k = 0; k < 3; ++k)
                    EXPECT_EQ(px(dst, 4, x, y)[k], px(src, 10, x + 3, y + 2)[k]);
    }
}

TEST_F(PreviewZoomTest, CopyWritesOnlyTheTargetPixelsOfEachRow)
{
    const Img src = rampImage(4, 4);
    Img dst(6 * 2 * 3, 7); // row length 6, 2 rows, target 4 x 2
    MP_UI_zoomPreviewPicture(src.data(), dst.data(), 0, 0, 0, 0, 4, 2, 6, 4, 4, 0, 1, 4, 3);
    EXPECT_EQ(px(dst, 6, 3, 1)[0], px(src, 4, 3, 2)[0]);
    for (int x = 4; x < 6; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(px(dst, 6, x, y)[0], 7);
}

TEST_F(PreviewZoomTest, CopyOfAWindowPastTheSourceRepeatsTheEdge)
{
    // The copy branch used to read past the source: a window reaching out of
    // it now takes the nearest edge pixel.
    const Img src = rampImage(6, 6);
    for (ZoomFn fn : {MP_MT_zoomPreviewPicture, MP_UI_zoomPreviewPicture, MP_UI_zoomPreviewPictureSimple}) {
        const Img dst = zoom(fn, src, 6, 6, 4, 4, 4.0f, 5.0f, 8.0f, 9.0f);
        EXPECT_EQ(px(dst, 4, 0, 0)[0], px(src, 6, 4, 5)[0]);
        EXPECT_EQ(px(dst, 4, 1, 0)[0], px(src, 6, 5, 5)[0]);
        EXPECT_EQ(px(dst, 4, 3, 3)[0], px(src, 6, 5, 5)[0]);
        const Img neg = zoom(fn, src, 6, 6, 2, 2, -3.0f, -3.0f, -1.0f, -1.0f);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(neg[i * 3], px(src, 6, 0, 0)[0]);
    }
}

TEST_F(PreviewZoomTest, InvalidArgumentsWriteNothing)
{
    const Img src = rampImage(8, 8);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        bool nullSrc;
        float dw, dh, ds, sw, sh, x0, y0, x1, y1;
    };
    const Case cases[] = {
        {"null source", true, 4, 4, 4, 8, 8, 0, 0, 8, 8},
        {"zero width", false, 0, 4, 4, 8, 8, 0, 0, 8, 8},
        {"negative height", false, 4, -2, 4, 8, 8, 0, 0, 8, 8},
        {"below one pixel", false, 0.5f, 4, 4, 8, 8, 0, 0, 8, 8},
        {"row length shorter than a row", false, 4, 4, 3, 8, 8, 0, 0, 8, 8},
        {"empty source", false, 4, 4, 4, 0, 8, 0, 0, 8, 8},
        {"NaN window", false, 4, 4, 4, 8, 8, nan, 0, 8, 8},
        {"infinite window", false, 4, 4, 4, 8, 8, 0, 0, inf, 8},
        {"absurd size", false, 1e20f, 4, 1e20f, 8, 8, 0, 0, 8, 8},
    };
    for (ZoomFn fn : {MP_MT_zoomPreviewPicture, MP_UI_zoomPreviewPicture, MP_UI_zoomPreviewPictureSimple,
                      MP_UI_zoomPreviewPictureInterpolate, MP_MT_zoomPreviewPictureInterpolate,
                      MP_UI_zoomPreviewPictureInterpolateLowQuantize,
                      MP_MT_zoomPreviewPictureInterpolateLowQuantize}) {
        for (const Case& c : cases) {
            Img dst(16 * 3, 0x1234);
            fn(c.nullSrc ? nullptr : src.data(), dst.data(), 0, 0, 0, 0, c.dw, c.dh, c.ds, c.sw, c.sh, c.x0, c.y0,
               c.x1, c.y1);
            for (uint16_t v : dst)
                ASSERT_EQ(v, 0x1234) << c.what;
        }
        fn(src.data(), nullptr, 0, 0, 0, 0, 4, 4, 4, 8, 8, 0, 0, 8, 8); // must not crash
    }
}

TEST_F(PreviewZoomTest, ReductionsOfTwoThreeAndFourAverageAnchoredWindows)
{
    // Red = 100 x + 1000 y, so a window's mean is 100 mean(x) + 1000 mean(y).
    struct Case {
        int factor, size;
        int cx, cy;      // target pixel
        uint16_t red;    // expected mean
    };
    const Case cases[] = {
        {2, 8, 1, 1, 1650},  // columns and rows 1..2
        {2, 8, 0, 0, 0},     // the first window is clipped to pixel 0
        {2, 8, 0, 1, 1500},  // column 0, rows 1..2
        {3, 9, 1, 1, 2750},  // 3x also averages 2 x 2: 2..3
        {3, 9, 2, 2, 6050},  // 5..6: 550 + 5500
        {4, 16, 1, 1, 3850}, // 4 x 4: 2..5
        {4, 16, 3, 2, 8650}, // columns 10..13, rows 6..9: 1150 + 7500
    };
    for (const Case& c : cases) {
        const Img src = rampImage(c.size, c.size);
        const int d = c.size / c.factor;
        const Img st = zoomWhole(MP_UI_zoomPreviewPicture, src, c.size, c.size, d, d);
        const Img mt = zoomWhole(MP_MT_zoomPreviewPicture, src, c.size, c.size, d, d);
        const uint16_t* p = px(st, d, c.cx, c.cy);
        EXPECT_EQ(p[0], c.red) << "factor " << c.factor << " at " << c.cx << "," << c.cy;
        EXPECT_EQ(st, mt);
    }
}

TEST_F(PreviewZoomTest, AreaAverageTruncatesAndEmptyWindowsGiveZero)
{
    // Window of 2 x 2 (columns and rows 1..2) holding 1, 2, 2, 2: mean 1.75 -> 1.
    Img src(4 * 4 * 3, 0);
    src[(1 * 4 + 1) * 3] = 1;
    src[(1 * 4 + 2) * 3] = 2;
    src[(2 * 4 + 1) * 3] = 2;
    src[(2 * 4 + 2) * 3] = 2;
    const Img dst = zoomWhole(MP_UI_zoomPreviewPictureInterpolateLowQuantize, src, 4, 4, 2, 2);
    EXPECT_EQ(px(dst, 2, 1, 1)[0], 1);

    const Img white = solidImage(6, 6, 65535, 65535, 65535);
    const Img w = zoomWhole(MP_UI_zoomPreviewPictureInterpolateLowQuantize, white, 6, 6, 2, 2);
    for (uint16_t v : w)
        EXPECT_EQ(v, 65535);

    // A window beside the source averages nothing.
    const Img out = zoom(MP_UI_zoomPreviewPictureInterpolateLowQuantize, white, 6, 6, 2, 2, 20, 20, 26, 26);
    for (uint16_t v : out)
        EXPECT_EQ(v, 0);
}

TEST_F(PreviewZoomTest, DispatchPicksBilinearBelowTwoInEitherDirection)
{
    const Img src = noiseImage(20, 20, 7);
    // 2.0 x 1.9: bilinear
    const Img a = zoom(MP_UI_zoomPreviewPicture, src, 20, 20, 10, 10, 0, 0, 20, 19);
    EXPECT_EQ(a, zoom(MP_UI_zoomPreviewPictureInterpolate, src, 20, 20, 10, 10, 0, 0, 20, 19));
    EXPECT_NE(a, zoom(MP_UI_zoomPreviewPictureInterpolateLowQuantize, src, 20, 20, 10, 10, 0, 0, 20, 19));
    // 2.0 x 2.0: area average
    const Img b = zoomWhole(MP_MT_zoomPreviewPicture, src, 20, 20, 10, 10);
    EXPECT_EQ(b, zoomWhole(MP_UI_zoomPreviewPictureInterpolateLowQuantize, src, 20, 20, 10, 10));
}

TEST_F(PreviewZoomTest, BilinearBlendsWithTruncatedFourteenBitWeights)
{
    // Two source pixels, red 3 and 4; the half-way sample is 3.5 -> 3.
    Img src = {3, 0, 0, 4, 0, 0};
    Img dst = zoom(MP_UI_zoomPreviewPictureInterpolate, src, 2, 1, 4, 1, 0, 0, 2, 1);
    EXPECT_EQ(dst[0], 3);
    EXPECT_EQ(dst[3], 3);
    EXPECT_EQ(dst[6], 4);
    EXPECT_EQ(dst[9], 4); // past the last column: the edge repeats

    src = {0, 0, 0, 16384, 0, 0};
    dst = zoom(MP_UI_zoomPreviewPictureInterpolate, src, 2, 1, 4, 1, 0, 0, 2, 1);
    EXPECT_EQ(dst[3], 8192);

    // Enlargement: the last row and column repeat at the bottom and right.
    const Img ramp = rampImage(3, 3);
    const Img big = zoomWhole(MP_MT_zoomPreviewPicture, ramp, 3, 3, 9, 9);
    EXPECT_EQ(px(big, 9, 8, 8)[0], px(ramp, 3, 2, 2)[0]);
    EXPECT_EQ(px(big, 9, 0, 0)[0], 0);
    EXPECT_EQ(px(big, 9, 1, 0)[0], 33); // a third of the way to 100
}

TEST_F(PreviewZoomTest, BilinearLeftOfTheSourceRepeatsTheFirstColumn)
{
    // A sample at -0.5 used to extrapolate with a negative weight and wrap
    // around 16 bits (0 next to 65535 gave 32768); it now takes the edge.
    const Img src = {0, 0, 0, 65535, 65535, 65535};
    const Img dst = zoom(MP_UI_zoomPreviewPictureInterpolate, src, 2, 1, 2, 1, -0.5f, 0, 1.5f, 1);
    EXPECT_EQ(dst[0], 0);
    EXPECT_EQ(dst[1], 0);
    EXPECT_EQ(dst[3], 32767); // 1/2 between the two columns
}

TEST_F(PreviewZoomTest, ResultsDoNotDependOnTheThreadCount)
{
    const Img src = noiseImage(97, 61, 99);
    struct Size {
        int w, h;
    };
    for (Size s : {Size{40, 30}, Size{50, 40}, Size{200, 150}, Size{97, 61}, Size{13, 7}}) {
        const Img st = zoomWhole(MP_UI_zoomPreviewPicture, src, 97, 61, s.w, s.h);
        MP_UI_SetIdealThreadCount(1);
        const Img one = zoomWhole(MP_MT_zoomPreviewPicture, src, 97, 61, s.w, s.h);
        MP_UI_SetIdealThreadCount(4);
        const Img four = zoomWhole(MP_MT_zoomPreviewPicture, src, 97, 61, s.w, s.h);
        MP_UI_SetIdealThreadCount(32);
        const Img many = zoomWhole(MP_MT_zoomPreviewPicture, src, 97, 61, s.w, s.h);
        EXPECT_EQ(st, one) << s.w << "x" << s.h;
        EXPECT_EQ(one, four) << s.w << "x" << s.h;
        EXPECT_EQ(one, many) << s.w << "x" << s.h;
    }
}

TEST_F(PreviewZoomTest, WeightBufferInterpolationIsBilinearOnOneChannel)
{
    std::vector<uint16_t> map = {0, 16384, 3, 4};
    std::vector<uint16_t> out(4, 0xABCD);
    MP_MT_zoomWeightBufferInterpolate(map.data(), out.data(), 0, 0, 0, 0, 4, 1, 4, 4, 1, 0, 0, 2, 1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 8192);
    EXPECT_EQ(out[2], 16384);
    EXPECT_EQ(out[3], 8193); // between 16384 and 3

    std::vector<uint16_t> big(53 * 41);
    uint32_t seed = 5;
    for (auto& v : big) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<uint16_t>(seed >> 16);
    }
    std::vector<uint16_t> a(30 * 20), b(30 * 20);
    MP_UI_SetIdealThreadCount(1);
    MP_MT_zoomWeightBufferInterpolate(big.data(), a.data(), 0, 0, 0, 0, 30, 20, 30, 53, 41, 0, 0, 53, 41);
    MP_UI_SetIdealThreadCount(4);
    MP_MT_zoomWeightBufferInterpolate(big.data(), b.data(), 0, 0, 0, 0, 30, 20, 30, 53, 41, 0, 0, 53, 41);
    EXPECT_EQ(a, b);

    std::vector<uint16_t> untouched(4, 9);
    MP_MT_zoomWeightBufferInterpolate(nullptr, untouched.data(), 0, 0, 0, 0, 4, 1, 4, 4, 1, 0, 0, 2, 1);
    EXPECT_EQ(untouched, std::vector<uint16_t>(4, 9));
}

TEST_F(PreviewZoomTest, SignedWeightMapAverageUsesInclusiveWindows)
{
    // 4 x 4 map to 2 x 2: rows and columns 0..1 for the first target pixel,
    // 1..3 for the second (2 x half + 1 wide).
    std::vector<int16_t> map(16);
    for (int i = 0; i < 16; ++i)
        map[i] = static_cast<int16_t>(i % 2 ? -7 : 0);
    std::vector<int16_t> out(4, 99);
    MP_UI_zoomPreviewWeightmapInterpolateLowQuantize(map.data(), out.data(), 0, 0, 0, 0, 2, 2, 2, 4, 4, 0, 0, 4, 4);
    // first: columns 0..1 of rows 0..1 -> (0 - 7) * 2 / 4 = -3.5 -> -3 (toward zero)
    EXPECT_EQ(out[0], -3);
    // second column: columns 1..3 -> -7, 0, -7 per row: -14 * 2 / 6 = -4.67 -> -4
    EXPECT_EQ(out[1], -4);

    std::vector<int16_t> full(16, -32767);
    MP_UI_zoomPreviewWeightmapInterpolateLowQuantize(full.data(), out.data(), 0, 0, 0, 0, 2, 2, 2, 4, 4, 0, 0, 4, 4);
    EXPECT_EQ(out, std::vector<int16_t>(4, -32767));

    std::vector<int16_t> keep(4, 5);
    MP_UI_zoomPreviewWeightmapInterpolateLowQuantize(map.data(), keep.data(), 0, 0, 0, 0, 2, 2, 1, 4, 4, 0, 0, 4, 4);
    EXPECT_EQ(keep, std::vector<int16_t>(4, 5));
}
