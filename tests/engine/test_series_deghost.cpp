// De-ghosting: class maps and the strokes painted where they disagree.

#include "enginefixture.h"

#include <cmath>
#include <thread>
#include <vector>

namespace {

class SeriesDeGhostTest : public EngineTest {
protected:
    static constexpr int W = 64, H = 64, FW = 128, FH = 128;
    // Left half dark, right half bright, both textured: mostly class 0 and
    // class 1 in global mode (the dark half's top tenth and the bright half's
    // bottom tenth lie between the percentiles and are undecided).
    std::vector<uint16_t> img = halves();
    std::vector<uint8_t> refClasses;
    std::vector<int16_t> map = std::vector<int16_t>(static_cast<size_t>(W) * H, 0);
    std::vector<int16_t> full = std::vector<int16_t>(static_cast<size_t>(FW) * FH, 0);

    void SetUp() override
    {
        EngineTest::SetUp();
        MP_UI_SetDeGhostLocalMode(0);
        MP_UI_SetPreviewScalingFactor(0.5f);
        refClasses.resize(static_cast<size_t>(W) * H);
        MP_convertToDeGhostMTB(img.data(), refClasses.data(), W, H, nullptr, nullptr);
    }
    static std::vector<uint16_t> halves()
    {
        std::vector<uint16_t> v(static_cast<size_t>(W) * H * 3);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                for (int c = 0; c < 3; ++c) {
                    const int t = (x * 7 + y * 13) % 100;
                    v[(static_cast<size_t>(y) * W + x) * 3 + c] =
                        static_cast<uint16_t>(x < W / 2 ? 4000 + 60 * t : 40000 + 150 * t);
                }
        return v;
    }
    // The reference disagrees in one 16 x 16 block (classes 0 and 1 swapped).
    void flipBlock(int x0, int y0)
    {
        for (int y = y0; y < y0 + 16; ++y)
            for (int x = x0; x < x0 + 16; ++x) {
                uint8_t& c = refClasses[static_cast<size_t>(y) * W + x];
                if (c < 2)
                    c ^= 1;
            }
    }
    int run(float strength = 1.0f)
    {
        return MP_CalcDeGhost(W, H, FW, FH, img.data(), refClasses.data(), strength, map.data(), full.data());
    }
    int16_t at(int x, int y) const { return map[static_cast<size_t>(y) * W + x]; }
    int16_t atFull(int x, int y) const { return full[static_cast<size_t>(y) * FW + x]; }
};

TEST_F(SeriesDeGhostTest, GlobalClassesAndPercentiles)
{
    std::vector<uint8_t> cls(static_cast<size_t>(W) * H);
    float p45 = -1, p55 = -1;
    MP_convertToDeGhostMTB(img.data(), cls.data(), W, H, &p45, &p55);
    EXPECT_GT(p45, 0.02f);
    EXPECT_LT(p55, 0.98f);
    int count[3] = {};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint8_t c = cls[static_cast<size_t>(y) * W + x];
            ASSERT_LE(c, 2);
            ++count[c];
            ASSERT_NE(c, x >= W / 2 ? 0 : 1);
        }
    EXPECT_GT(count[0], count[2]);
    EXPECT_GT(count[1], count[2]);
    // The percentile is the bin below the crossing one: p45 = (key - 1) / 16383.
    const auto flat = solidImage(3, 5, 20000, 20000, 20000); // key 5000, every column sampled
    std::vector<uint8_t> c3(15);
    MP_convertToDeGhostMTB(flat.data(), c3.data(), 3, 5, &p45, &p55);
    EXPECT_EQ(p45, 4999.0f / 16383.0f);
    EXPECT_EQ(p55, p45);
}

TEST_F(SeriesDeGhostTest, LocalClasses)
{
    // A dot in a uniform surrounding takes its class from the surrounding's
    // percentiles; codes up to 8 never become 0 and codes from 248 never 1.
    struct Case {
        uint16_t dot, around;
        uint8_t cls;
    };
    for (const Case& c : {Case{8000, 50000, 0}, Case{50000, 8000, 1}, Case{2048, 50000, 2}, Case{65535, 8000, 2}}) {
        auto dots = solidImage(21, 21, c.around, c.around, c.around);
        uint16_t* p = &dots[(static_cast<size_t>(10) * 21 + 10) * 3];
        p[0] = p[1] = p[2] = c.dot;
        std::vector<uint8_t> cls(21 * 21);
        float p45 = -1, p55 = -1;
        MP_convertToDeGhostMTBlocal(dots.data(), cls.data(), 21, 21, &p45, &p55);
        EXPECT_EQ(cls[10 * 21 + 10], c.cls) << c.dot;
        EXPECT_GE(p45, 0.0f);
    }
}

TEST_F(SeriesDeGhostTest, DisagreeingBlockPaintsOneStroke)
{
    flipBlock(16, 16);
    EXPECT_EQ(run(1.0f), 1);
    // Block size 16: centre (24, 24), radius 36, strength -1 x sqrt(sqrt(share)).
    EXPECT_LT(at(24, 24), -30000);
    EXPECT_LT(at(24 + 35, 24), 0);
    EXPECT_EQ(at(24 + 36, 24), 0);
    EXPECT_EQ(at(24, 24 + 36), 0);
    // The full map gets it at 1 / 0.5 of the position and radius.
    EXPECT_LT(atFull(48, 48), -30000);
    EXPECT_LT(atFull(48 + 71, 48), 0);
    EXPECT_EQ(atFull(48 + 73, 48), 0);
}

TEST_F(SeriesDeGhostTest, SmallestBlockPaintsTheSmallestStroke)
{
    // Columns 0..15 key 500 (class 0), 16..31 key 1000 (undecided), the rest
    // bright. A 2 x 2 disagreement at (12, 12) is a quarter of the 4 x 4 block
    // (12..15)^2 and too little of every larger block: one stroke at (14, 14)
    // of radius (0.25)^0.8 x 36 = 11.8756.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            for (int c = 0; c < 3; ++c)
                img[(static_cast<size_t>(y) * W + x) * 3 + c] = x < 16 ? 2000 : (x < 32 ? 4000 : 50000);
    MP_convertToDeGhostMTB(img.data(), refClasses.data(), W, H, nullptr, nullptr);
    ASSERT_EQ(refClasses[0], 0);
    for (int y = 12; y < 14; ++y)
        for (int x = 12; x < 14; ++x)
            refClasses[static_cast<size_t>(y) * W + x] = 1;
    EXPECT_EQ(run(), 1);
    EXPECT_LT(at(14, 14), 0);
    EXPECT_LT(at(14 + 10, 14), 0);
    EXPECT_EQ(at(14 + 11, 14), 0);
    EXPECT_EQ(at(14, 14 + 11), 0);
    EXPECT_EQ(at(40, 40), 0);
}

TEST_F(SeriesDeGhostTest, NothingToPaint)
{
    const auto emptyMap = map;
    EXPECT_EQ(run(), 0); // identical to the reference
    EXPECT_EQ(map, emptyMap);
    // Nearly all dark: percentiles within 0.02 of black.
    img = solidImage(W, H, 100, 100, 100);
    flipBlock(0, 0);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(map, emptyMap);
    // Undecided areas never paint.
    img = solidImage(W, H, 30000, 30000, 30000);
    std::vector<uint8_t> refAll(static_cast<size_t>(W) * H, 1);
    EXPECT_EQ(MP_CalcDeGhost(W, H, FW, FH, img.data(), refAll.data(), 1.0f, map.data(), full.data()), 0);
    EXPECT_EQ(map, emptyMap);
}

TEST_F(SeriesDeGhostTest, PanoramaStrokesWrap)
{
    flipBlock(0, 16); // centre (8, 24)
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(at(63, 24), 0);
    std::fill(map.begin(), map.end(), 0);
    MP_UI_SetPainterPanoramaMode(1);
    EXPECT_EQ(run(), 1);
    EXPECT_LT(at(63, 24), 0); // the copy at 8 + 64
}

TEST_F(SeriesDeGhostTest, UnusablePreviewFactorFallsBackToTheSizes)
{
    flipBlock(16, 16);
    MP_UI_SetPreviewScalingFactor(0.0f);
    EXPECT_EQ(run(), 1);
    EXPECT_LT(atFull(48, 48), -30000);
}

TEST_F(SeriesDeGhostTest, ConcurrentJobsLeaveTheBrushTypeAlone)
{
    flipBlock(16, 16);
    MP_UI_SetBrushTypeMode(2);
    std::vector<int16_t> map2(map.size(), 0), full2(full.size(), 0);
    int r1 = -9, r2 = -9;
    std::thread a([&] { r1 = run(); });
    std::thread b([&] {
        r2 = MP_CalcDeGhost(W, H, FW, FH, img.data(), refClasses.data(), 1.0f, map2.data(), full2.data());
    });
    a.join();
    b.join();
    EXPECT_EQ(r1, 1);
    EXPECT_EQ(r2, 1);
    EXPECT_EQ(map, map2);
    EXPECT_EQ(full, full2);
    EXPECT_EQ(MP_UI_GetBrushTypeMode(), 2);
    // Parabolic profile whatever the global type: the rim is 0.
    EXPECT_EQ(at(24 + 36, 24), 0);
}

TEST_F(SeriesDeGhostTest, UnusedOperations)
{
    EXPECT_EQ(MP_CalcDeGhostLuminanceBalance(), 0);
    // Sum of the manual weights: (-v) >> 1 of a negative value, 0 for a positive one.
    std::vector<int16_t> manual = {-100, 50, -32767, 0};
    std::vector<uint16_t> out(4, 7);
    MP_FusionParams fp{};
    fp.width = 4;
    fp.height = 1;
    fp.weight_manual = manual.data();
    MP_DeGhostTaskArgs args{4, 1, &fp, out.data(), nullptr, nullptr, nullptr};
    TaskFuncParams t = MP_makeTask(nullptr, &args);
    MP_setTaskRange(t, 0, 1);
    MP_task_CalcDeGhostSumManualWeights(t);
    EXPECT_EQ(out, (std::vector<uint16_t>{50, 0, 16383, 0}));
    // Balance: full weight takes B's brightness.
    std::vector<uint16_t> a = {100, 200, 300, 0, 0, 0}, b = {200, 400, 600, 5, 5, 5};
    std::vector<uint16_t> weights = {16383, 16383};
    MP_DeGhostTaskArgs bal{2, 1, nullptr, nullptr, a.data(), b.data(), weights.data()};
    TaskFuncParams tb = MP_makeTask(nullptr, &bal);
    MP_setTaskRange(tb, 0, 1);
    MP_task_CalcDeGhostLuminanceBalnce(tb);
    EXPECT_EQ(a, (std::vector<uint16_t>{200, 400, 600, 0, 0, 0}));
}

} // namespace
