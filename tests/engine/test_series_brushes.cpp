// Weight-map brushes and the brush cursor.

#include "enginefixture.h"

#include <cmath>
#include <vector>

namespace {

class SeriesBrushTest : public EngineTest {
protected:
    static constexpr int W = 40, H = 30;
    std::vector<int16_t> map = std::vector<int16_t>(static_cast<size_t>(W) * H, 0);
    int16_t at(int x, int y) const { return map[static_cast<size_t>(y) * W + x]; }
};

TEST_F(SeriesBrushTest, ParabolicStrokeValues)
{
    MP_UI_BrushPaint(W, H, map.data(), 20.0f, 15.0f, 10.0f, -1.0f);
    EXPECT_EQ(at(20, 15), -32767);
    EXPECT_EQ(at(30, 15), 0); // on the rim
    EXPECT_EQ(at(31, 15), 0);
    EXPECT_LT(at(25, 15), 0);
    std::fill(map.begin(), map.end(), 0);
    MP_UI_BrushPaint(W, H, map.data(), 20.5f, 15.7f, 4.0f, 0.5f);
    EXPECT_EQ(at(20, 15), 16383);
    EXPECT_EQ(at(22, 15), 12287);
    EXPECT_EQ(at(20, 17), 12287);
}

TEST_F(SeriesBrushTest, StrokesThatPaintNothing)
{
    const auto empty = map;
    struct Case {
        float x, y, r;
    };
    for (const Case& c : {Case{20, 15, 0.5f},          // radius below 1: the centre gets 0
                          Case{-30, 15, 10},           // left of the map on every row
                          Case{20, H + 20.0f, 10},     // two radii below the map
                          Case{20, -25, 10},           // above
                          Case{std::nanf(""), 5, 10},  // not finite
                          Case{5, 5, INFINITY}}) {
        MP_UI_BrushPaint(W, H, map.data(), c.x, c.y, c.r, -1.0f);
        EXPECT_EQ(map, empty) << c.x << "," << c.y << "," << c.r;
    }
    MP_UI_BrushPaint(W, H, nullptr, 20, 15, 10, -1.0f);
}

TEST_F(SeriesBrushTest, StrokesAccumulateUpToTheClamp)
{
    map[static_cast<size_t>(15) * W + 20] = -30000;
    MP_UI_BrushPaint(W, H, map.data(), 20.0f, 15.0f, 10.0f, -1.0f);
    EXPECT_EQ(at(20, 15), -32767);
    for (int i = 0; i < 3; ++i)
        MP_UI_BrushPaint(W, H, map.data(), 20.0f, 15.0f, 10.0f, 1.0f);
    EXPECT_EQ(at(20, 15), 32767);
    // Huge strengths stay within the map's range.
    MP_UI_BrushPaint(W, H, map.data(), 20.0f, 15.0f, 10.0f, -1e30f);
    EXPECT_EQ(at(20, 15), -32767);
}

TEST_F(SeriesBrushTest, OtherBrushTypes)
{
    MP_UI_SetBrushTypeMode(2); // the square at 0.25
    MP_UI_BrushPaint(W, H, map.data(), 10.0f, 10.0f, 3.0f, 1.0f);
    EXPECT_EQ(at(7, 7), 8191);
    EXPECT_EQ(at(13, 13), 8191);
    EXPECT_EQ(at(14, 10), 0);
    std::fill(map.begin(), map.end(), 0);
    MP_UI_SetBrushTypeMode(1); // pyramid
    MP_UI_BrushPaint(W, H, map.data(), 10.0f, 10.0f, 4.0f, 1.0f);
    EXPECT_EQ(at(10, 10), 32767);
    EXPECT_EQ(at(12, 10), 16383);
    EXPECT_EQ(at(14, 14), 0);
    // Types 1..9 need a positive radius.
    const auto before = map;
    for (int type = 1; type <= 9; ++type) {
        MP_UI_SetBrushTypeMode(type);
        MP_UI_BrushPaint(W, H, map.data(), 10.0f, 10.0f, 0.0f, 1.0f);
        MP_UI_BrushPaint(W, H, map.data(), 10.0f, 10.0f, -4.0f, 1.0f);
    }
    EXPECT_EQ(map, before);
    // Every type paints something inside its square and nothing outside it.
    for (int type = 1; type <= 9; ++type) {
        std::fill(map.begin(), map.end(), 0);
        MP_UI_SetBrushTypeMode(type);
        MP_UI_BrushPaint(W, H, map.data(), 20.0f, 15.0f, 8.0f, 1.0f);
        int inside = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (std::abs(x - 20) > 8 || std::abs(y - 15) > 8) {
                    ASSERT_EQ(at(x, y), 0) << type;
                }
                inside += at(x, y) != 0;
            }
        EXPECT_GT(inside, 0) << type;
    }
}

TEST_F(SeriesBrushTest, ExplicitTypeLeavesTheSettingAlone)
{
    MP_UI_SetBrushTypeMode(2);
    MP_UI_BrushPaintType(0, W, H, map.data(), 20.0f, 15.0f, 10.0f, -1.0f);
    EXPECT_EQ(at(20, 15), -32767);
    EXPECT_EQ(at(26, 21), -9174); // parabolic (28 / 100 of full strength), not the square
    EXPECT_EQ(MP_UI_GetBrushTypeMode(), 2);
}

TEST_F(SeriesBrushTest, FlatAndSmooth)
{
    std::fill(map.begin(), map.end(), 1000);
    MP_UI_BrushFlat(W, H, map.data(), 20.0f, 15.0f, 5.0f);
    EXPECT_EQ(at(20, 15), 0);
    EXPECT_EQ(at(24, 15), 0);
    EXPECT_EQ(at(26, 15), 1000);
    // Smoothing a uniform map keeps it up to the few levels the engine's
    // fixed-point blur and the truncated blend lose; a spike is flattened
    // towards its surroundings.
    std::fill(map.begin(), map.end(), 1000);
    MP_UI_BrushSmooth(W, H, map.data(), 20.0f, 15.0f, 6.0f);
    for (int16_t v : map)
        ASSERT_TRUE(v >= 990 && v <= 1000) << v; // the blur alone gives 994
    std::fill(map.begin(), map.end(), 1000);
    map[static_cast<size_t>(15) * W + 20] = 30000;
    MP_UI_BrushSmooth(W, H, map.data(), 20.0f, 15.0f, 6.0f);
    EXPECT_LT(at(20, 15), 30000);
    EXPECT_GE(at(20, 15), 1000);
    MP_UI_BrushSmooth(W, H, nullptr, 20.0f, 15.0f, 6.0f);
}

TEST_F(SeriesBrushTest, CursorImageAndCache)
{
    MP_UI_BrushGenerateToBuffer(129, 129, 10, 20, 30);
    ASSERT_NE(MP_Brush_buffer, nullptr);
    const uint32_t* cursor = MP_Brush_buffer;
    EXPECT_EQ(cursor[64 * 129 + 64] >> 24, 31u);
    EXPECT_EQ(cursor[64 * 129 + 64] & 0xFFFFFFu, 0x0A141Eu);
    EXPECT_EQ(cursor[64 * 129 + 1] >> 24, 1u); // at the rim
    EXPECT_EQ(cursor[64 * 129 + 0], 0u);
    EXPECT_EQ(cursor[0], 0u);                  // outside
    MP_UI_BrushGenerateToBuffer(129, 129, 10, 20, 30);
    EXPECT_EQ(MP_Brush_buffer, cursor); // kept
    MP_UI_BrushGenerateToBuffer(129, 129, 10, 20, 31);
    ASSERT_NE(MP_Brush_buffer, nullptr);
    EXPECT_EQ(MP_Brush_buffer[64 * 129 + 64] & 0xFFu, 31u);
    MP_UI_SetBrushTypeMode(2);
    MP_UI_BrushGenerateToBuffer(129, 129, 10, 20, 31);
    EXPECT_EQ(MP_Brush_buffer[0] >> 24, 8u);
    MP_UI_BrushGenerateToBuffer(0, 129, 1, 2, 3);
    EXPECT_EQ(MP_Brush_buffer, nullptr);
}

TEST_F(SeriesBrushTest, CircleOutline)
{
    const int w = 100, h = 80;
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3, 0);
    // Radius 0.5 of the shorter side -> 20 px around (50, 40), solid.
    MP_paintCircle(1, w, h, img.data(), 255, 255, 0.5f, 0.5f, 0.5f, 255);
    auto px = [&](int x, int y) { return img[(static_cast<size_t>(y) * w + x) * 3]; };
    EXPECT_EQ(px(50, 60), 0xFF00);
    EXPECT_EQ(px(50, 40), 0);
    int painted = 0;
    for (size_t i = 0; i < img.size(); i += 3)
        painted += img[i] != 0;
    EXPECT_GT(painted, 100);
    // Points outside the image are skipped; absurd radii end.
    MP_paintCircle(9, w, h, img.data(), 255, 0, 0.0f, 0.0f, 1.0f, 0);
    MP_paintCircle(1, w, h, img.data(), 255, 0, 0.5f, 0.5f, std::nanf(""), 0);
}

} // namespace
