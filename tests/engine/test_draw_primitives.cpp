// Point, grid and line primitives of the control painters.

#include "enginefixture.h"

#include <set>

namespace {

struct Buf16 {
    int w, h;
    std::vector<uint16_t> px;
    Buf16(int w_, int h_) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_ * 3, 0) {}
    uint16_t at(int x, int y, int k = 0) const { return px[(static_cast<size_t>(y) * w + x) * 3 + k]; }
    int painted() const
    {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                n += at(x, y) != 0;
        return n;
    }
};

struct Argb {
    int w, h;
    std::vector<uint32_t> px;
    Argb(int w_, int h_) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, 0) {}
    uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
    int painted() const
    {
        int n = 0;
        for (uint32_t v : px)
            n += v != 0;
        return n;
    }
};

} // namespace

class DrawPrimitivesTest : public EngineTest {};

TEST_F(DrawPrimitivesTest, GridOfFourDivisions)
{
    Buf16 b(100, 50);
    MP_UI_paintGrid(b.px.data(), 100, 50, 100, 4);
    // Column 2 is no grid column: its painted pixels are the grid rows.
    std::set<int> rows, cols;
    for (int y = 0; y < 50; ++y)
        if (b.at(2, y))
            rows.insert(y);
    for (int x = 0; x < 100; ++x)
        if (b.at(x, 2))
            cols.insert(x);
    EXPECT_EQ(rows, (std::set<int>{0, 12, 24, 36, 49}));
    EXPECT_EQ(cols, (std::set<int>{0, 24, 49, 74, 99}));
    EXPECT_EQ(b.at(2, 36), 0xBFFF);
    EXPECT_EQ(b.at(3, 36), 0); // dotted: every second pixel from 0
    EXPECT_EQ(b.at(24, 1), 0);

    Buf16 none(10, 10);
    MP_UI_paintGrid(none.px.data(), 10, 10, 10, -1);
    EXPECT_EQ(none.painted(), 0);
    // No divisions: only the first lines (bottom row, left column); the
    // division by zero of the later lines is not taken.
    Buf16 zero(10, 10);
    MP_UI_paintGrid(zero.px.data(), 10, 10, 10, 0);
    EXPECT_EQ(zero.at(4, 9), 0xBFFF);
    EXPECT_EQ(zero.at(0, 4), 0xBFFF);
    EXPECT_EQ(zero.painted(), 5 + 5 - 0);
}

TEST_F(DrawPrimitivesTest, PointMarkerIsClampedAndClipped)
{
    Buf16 b(20, 20);
    MP_paintPoint(0, 0, 20, 20, 20, 4, b.px.data());
    // Centred on (1, 1): columns and rows -3..5, clipped to 0..5.
    EXPECT_EQ(b.painted(), 36);
    EXPECT_EQ(b.at(0, 0), 0xFFFF);
    EXPECT_EQ(b.at(1, 1), 0xFFFF);
    EXPECT_EQ(b.at(5, 2), 0x3FFF);
    EXPECT_EQ(b.at(2, 5), 0x3FFF);
    EXPECT_EQ(b.at(6, 6), 0);

    Buf16 c(20, 20);
    MP_paintPoint(10, 10, 20, 20, 20, 4, c.px.data());
    EXPECT_EQ(c.painted(), 81);
    EXPECT_EQ(c.at(6, 10), 0x3FFF);
    EXPECT_EQ(c.at(7, 10), 0xFFFF);

    MP_paintPoint(1, 1, 20, 20, 20, 4, nullptr); // must not crash
    MP_paintPixel(25, 3, 20, 20, 20, c.px.data(), 1, 2, 3);
    MP_paintPixel(3, 3, 20, 20, 20, c.px.data(), 1, 2, 3);
    EXPECT_EQ(c.at(3, 3, 2), 3);
}

TEST_F(DrawPrimitivesTest, LineLengthRules)
{
    struct Case {
        const char* what;
        float x0, y0, x1, y1;
        int pixels;
    };
    const Case cases[] = {
        {"length 0: one sample", 5.2f, 6.7f, 5.2f, 6.7f, 1},
        {"shorter than a pixel: nothing", 5.0f, 5.0f, 5.5f, 5.0f, 0},
        {"horizontal of 10", 0.0f, 3.0f, 10.0f, 3.0f, 10},
        {"diagonal of 5", 0.0f, 0.0f, 3.0f, 4.0f, 5},
        {"non-finite: nothing", 0.0f, 0.0f, std::numeric_limits<float>::infinity(), 0.0f, 0},
        {"NaN: nothing", std::nanf(""), 0.0f, 3.0f, 0.0f, 0},
    };
    for (const Case& c : cases) {
        Buf16 b(20, 20);
        EXPECT_EQ(MP_lineToBuffer(b.px.data(), 20, 20, 1, 2, 3, c.x0, c.y0, c.x1, c.y1), 0);
        EXPECT_EQ(b.painted(), c.pixels) << c.what;
        Argb a(20, 20);
        EXPECT_EQ(MP_lineToArgbPitchBuffer(a.px.data(), 20, 20, 20, 1, 2, c.x0, c.y0, c.x1, c.y1, 3), 0);
        EXPECT_EQ(a.painted(), c.pixels) << c.what;
    }
    Buf16 one(20, 20);
    MP_lineToBuffer(one.px.data(), 20, 20, 7, 8, 9, 5.2f, 6.7f, 5.2f, 6.7f);
    EXPECT_EQ(one.at(5, 6, 0), 7);
    EXPECT_EQ(one.at(5, 6, 2), 9);

    EXPECT_EQ(MP_lineToBuffer(nullptr, 20, 20, 1, 1, 1, 0, 0, 5, 5), -2);
    EXPECT_EQ(MP_lineToBuffer3x3(nullptr, 20, 20, 1, 1, 1, 0, 0, 5, 5), -2);
    EXPECT_EQ(MP_lineToArgbPitchBuffer(nullptr, 20, 20, 20, 1, 1, 0, 0, 5, 5, 1), -2);
}

TEST_F(DrawPrimitivesTest, ArgbLineInAPictureTenHighTakesAtMostTenSteps)
{
    Argb a(20, 10);
    MP_lineToArgbPitchBuffer(a.px.data(), 20, 20, 10, 0x1FF, 0x80, 5.0f, 0.0f, 5.0f, 16.0f, 0x40);
    EXPECT_EQ(a.painted(), 10);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(a.at(5, y), 0xFFFF8040u); // colour bytes masked
    int64_t first = -1, last = -1;
    EXPECT_LE(MP_lineStepRange(5.0f, 0.0f, 5.0f, 16.0f, 20, 10, 0, &first, &last), 10);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 9);
}

TEST_F(DrawPrimitivesTest, LinesLongerThanThePictureAreDrawnWhole)
{
    // A step limit of the picture height used to cut lines: a vertical line
    // coming from above showed only its first rows, a horizontal line wider
    // than the picture's height stopped short. Only the invisible samples are
    // skipped now.
    Argb a(20, 10);
    MP_lineToArgbPitchBuffer(a.px.data(), 20, 20, 10, 255, 255, 5.0f, -6.0f, 5.0f, 10.0f, 255);
    EXPECT_EQ(a.painted(), 10);
    EXPECT_NE(a.at(5, 9), 0u);

    Argb wide(200, 10);
    MP_lineToArgbPitchBuffer(wide.px.data(), 200, 200, 10, 255, 0, 0.0f, 4.0f, 100.0f, 4.0f, 0);
    EXPECT_EQ(wide.painted(), 100);

    // A very long line costs no more than the picture it crosses.
    Buf16 b(200, 10);
    MP_lineToBuffer(b.px.data(), 200, 10, 1, 1, 1, -1e6f, 4.0f, 1e6f, 4.0f);
    EXPECT_EQ(b.painted(), 200);
    EXPECT_LE(MP_lineStepRange(-1e6f, 4.0f, 1e6f, 4.0f, 200, 10, 0, nullptr, nullptr), 201);
    EXPECT_EQ(MP_lineStepRange(-1e6f, 40.0f, 1e6f, 40.0f, 200, 10, 0, nullptr, nullptr), 0);
    EXPECT_EQ(MP_lineToBuffer(b.px.data(), 200, 10, 1, 1, 1, -1e18f, 4.0f, 1e18f, 4.0f), 0);
}

TEST_F(DrawPrimitivesTest, ThreeByThreeLinePaintsABandClippedPerPixel)
{
    Buf16 b(20, 20);
    MP_lineToBuffer3x3(b.px.data(), 20, 20, 9, 9, 9, 0.0f, 0.0f, 10.0f, 0.0f);
    // Samples in row 0, columns 0..9: the band covers rows 0..1 (row -1 is
    // clipped) and columns 0..10.
    EXPECT_EQ(b.painted(), 2 * 11);
    EXPECT_EQ(b.at(10, 1), 9);
    EXPECT_EQ(b.at(11, 0), 0);
    // A line just outside still touches the buffer with its band.
    Buf16 c(20, 20);
    MP_lineToBuffer3x3(c.px.data(), 20, 20, 9, 9, 9, 0.0f, -1.5f, 10.0f, -1.5f);
    EXPECT_EQ(c.painted(), 11);
}
