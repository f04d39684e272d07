// Comparison renderer and luminance bar: letterbox frame, divider sides,
// luminance marking, gamma, background and thread independence.

#include "enginefixture.h"

#include <cmath>

namespace {

constexpr uint32_t kBg = 0xFF123456u;

uint32_t grey(uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; }

struct CompareCase {
    std::vector<uint16_t> first, second;
    std::vector<uint32_t> out;
    int viewW = 300, viewH = 300, imageW = 600, imageH = 300;

    CompareCase()
        : first(EngineTest::solidImage(600, 300, 0x4000, 0x4000, 0x4000)),
          second(EngineTest::solidImage(600, 300, 0xC000, 0xC000, 0xC000)), out(300 * 300, 0u)
    {
    }
    int render(float x1, float y1, float x2, float y2, int swap = 0, int lumMode = 0, float lo = 0.0f, float hi = 1.0f,
               int gammaFirst = 0, int gammaSecond = 0)
    {
        return MP_UI_previewCompareViewLumMode(viewW, viewH, out.data(), imageW, imageH, first.data(), x1, y1, x2, y2,
                                               lo, hi, second.data(), gammaFirst, gammaSecond, swap, lumMode);
    }
    uint32_t at(int x, int y) const { return out[static_cast<size_t>(y) * viewW + x]; }
};

} // namespace

class CompareViewTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        MP_UI_SetBackgroundColor(0x123456);
    }
};

TEST_F(CompareViewTest, LetterboxFrame)
{
    float l = -1, t = -1, r = -1, b = -1;
    EXPECT_EQ(MP_UI_previewCompareViewCalcValues(300, 300, 600, 300, &l, &t, &r, &b), 1);
    EXPECT_FLOAT_EQ(l, 0.0f);
    EXPECT_FLOAT_EQ(t, 0.25f);
    EXPECT_FLOAT_EQ(r, 1.0f);
    EXPECT_FLOAT_EQ(b, 0.75f);
    // A tall picture in a wide view: columns centred.
    EXPECT_EQ(MP_UI_previewCompareViewCalcValues(400, 200, 100, 200, &l, &t, &r, &b), 1);
    EXPECT_FLOAT_EQ(l, 0.375f);
    EXPECT_FLOAT_EQ(r, 0.625f);
    // Null pointers are skipped; a picture without rows gives an empty frame.
    EXPECT_EQ(MP_UI_previewCompareViewCalcValues(300, 300, 600, 0, nullptr, &t, nullptr, &b), 1);
    EXPECT_FLOAT_EQ(t, 0.0f);
    EXPECT_FLOAT_EQ(b, 0.0f);
}

TEST_F(CompareViewTest, VerticalDividerAndSwap)
{
    CompareCase c;
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f), 1);
    for (int y : {0, 74, 225, 299})
        for (int x : {0, 150, 299})
            EXPECT_EQ(c.at(x, y), kBg) << x << "," << y;
    for (int y : {75, 150, 224}) {
        EXPECT_EQ(c.at(0, y), grey(0x40));
        EXPECT_EQ(c.at(148, y), grey(0x40));
        EXPECT_EQ(c.at(149, y), grey(0xC0));
        EXPECT_EQ(c.at(299, y), grey(0xC0));
    }
    const std::vector<uint32_t> plain = c.out;
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 1), 1);
    EXPECT_EQ(c.at(148, 100), grey(0xC0));
    EXPECT_EQ(c.at(149, 100), grey(0x40));
    // Bottom point first: the same picture.
    ASSERT_EQ(c.render(0.5f, 1.0f, 0.5f, 0.0f), 1);
    EXPECT_EQ(c.out, plain);
}

TEST_F(CompareViewTest, HorizontalDividerKeepsTheLastColumnForTheSecond)
{
    CompareCase c;
    ASSERT_EQ(c.render(0.0f, 0.5f, 1.0f, 0.5f), 1);
    for (int y : {75, 100, 148}) {
        EXPECT_EQ(c.at(0, y), grey(0x40));
        EXPECT_EQ(c.at(298, y), grey(0x40));
        EXPECT_EQ(c.at(299, y), grey(0xC0));
    }
    for (int y : {149, 224})
        for (int x : {0, 299})
            EXPECT_EQ(c.at(x, y), grey(0xC0));
}

TEST_F(CompareViewTest, SlantedDividerRunsThroughBothPoints)
{
    CompareCase c;
    ASSERT_EQ(c.render(0.25f, 0.0f, 0.75f, 1.0f), 1);
    // Top frame row splits at int(299 x 0.25) = 74, the bottom one near 224.
    EXPECT_EQ(c.at(73, 75), grey(0x40));
    EXPECT_EQ(c.at(74, 75), grey(0xC0));
    EXPECT_EQ(c.at(222, 224), grey(0x40));
    EXPECT_EQ(c.at(225, 224), grey(0xC0));
}

TEST_F(CompareViewTest, LuminanceMarkingInvertsTheCrossHatch)
{
    CompareCase c;
    auto hatch = [](int x, int y) { return (x & 3) == (y & 3) || ((x + y) & 3) == 2; };
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 0, 2, 0.0f, 1.0f), 1);
    for (int y = 75; y < 225; y += 7)
        for (int x = 0; x < 300; x += 3) {
            const uint32_t v = x < 149 ? 0x40 : 0xC0;
            EXPECT_EQ(c.at(x, y), grey(hatch(x, y) ? 255 - v : v)) << x << "," << y;
        }
    // Mode 1 marks +-0.05 around a threshold: 0x4000 lies near 0.25, 0xC000 not.
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 0, 1, 0.25f, 0.5f), 1);
    EXPECT_EQ(c.at(0, 76), grey(0xBF)); // on the hatch: (0 & 3) = (76 & 3)
    EXPECT_EQ(c.at(76, 76), grey(0xBF));
    EXPECT_EQ(c.at(0, 78), grey(0xBF));
    EXPECT_EQ(c.at(1, 76), grey(0x40));
    EXPECT_EQ(c.at(152, 76), grey(0xC0));
    // Mode 3 marks outside the range; 0 marks nothing.
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 0, 3, 0.3f, 0.7f), 1);
    EXPECT_EQ(c.at(76, 76), grey(0xBF));
    EXPECT_EQ(c.at(152, 76), grey(0x3F));
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 0, 0), 1);
    EXPECT_EQ(c.at(76, 76), grey(0x40));
}

TEST_F(CompareViewTest, UnknownLuminanceModeMarksNothing)
{
    CompareCase c;
    for (int i = 0; i < 65536; ++i)
        MP_itemp2_table[i] = 1; // another routine's scratch
    for (int mode : {-1, 4, 99}) {
        ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 0, mode), 1);
        EXPECT_EQ(c.at(76, 76), grey(0x40)) << mode;
        EXPECT_EQ(c.at(152, 152), grey(0xC0)) << mode;
    }
}

TEST_F(CompareViewTest, GammaPerSide)
{
    MP_UI_SetHDRGammaValue(0.5f);
    for (int i = 0; i < 65536; ++i)
        MP_itemp_table[i] = -7;
    CompareCase c;
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f), 1);
    EXPECT_EQ(MP_itemp_table[1000], -7); // no gamma asked: the scratch table stays
    const uint32_t g = static_cast<uint32_t>(static_cast<int>(std::pow(0x4000 / 65535.0f, 0.5f) * 65535.0f) >> 8);
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 0, 0, 0, 1, 1, 0), 1);
    EXPECT_EQ(c.at(10, 100), grey(g));
    EXPECT_EQ(c.at(200, 100), grey(0xC0));
    // Swapped, the first image keeps its own gamma flag on the other side.
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 1, 0, 0, 1, 1, 0), 1);
    EXPECT_EQ(c.at(200, 100), grey(g));
    EXPECT_EQ(c.at(10, 100), grey(0xC0));
    // A new gamma value is used at once.
    MP_UI_SetHDRGammaValue(2.0f);
    const uint32_t g2 = static_cast<uint32_t>(static_cast<int>(std::pow(0x4000 / 65535.0f, 2.0f) * 65535.0f) >> 8);
    ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f, 0, 0, 0, 1, 1, 0), 1);
    EXPECT_EQ(c.at(10, 100), grey(g2));
}

TEST_F(CompareViewTest, MissingInputs)
{
    CompareCase c;
    std::fill(c.out.begin(), c.out.end(), 7u);
    EXPECT_EQ(MP_UI_previewCompareViewLumMode(300, 300, c.out.data(), 600, 300, nullptr, 0.5f, 0, 0.5f, 1, 0, 1,
                                              c.second.data(), 0, 0, 0, 0),
              0);
    EXPECT_EQ(MP_UI_previewCompareViewLumMode(300, 300, nullptr, 600, 300, c.first.data(), 0.5f, 0, 0.5f, 1, 0, 1,
                                              c.second.data(), 0, 0, 0, 0),
              0);
    EXPECT_EQ(c.out[0], 7u);
    // A picture without pixels: background only.
    for (const auto& [w, h] : {std::pair{600, 0}, std::pair{0, 300}, std::pair{-5, 300}}) {
        c.imageW = w;
        c.imageH = h;
        ASSERT_EQ(c.render(0.5f, 0.0f, 0.5f, 1.0f), 1);
        for (uint32_t v : c.out)
            ASSERT_EQ(v, kBg);
    }
    // Not-a-number divider points do not crash and still fill the frame.
    c.imageW = 600;
    c.imageH = 300;
    ASSERT_EQ(c.render(NAN, NAN, INFINITY, 1.0f), 1);
}

TEST_F(CompareViewTest, SameResultForAnyThreadCount)
{
    std::vector<uint16_t> a(640 * 480 * 3), b(640 * 480 * 3);
    for (size_t i = 0; i < a.size(); ++i) {
        a[i] = static_cast<uint16_t>(i * 2654435761u >> 7);
        b[i] = static_cast<uint16_t>(i * 40503u + 17);
    }
    MP_UI_SetHDRGammaValue(2.2f);
    std::vector<uint32_t> out1(333 * 251), out8(333 * 251);
    MP_UI_SetIdealThreadCount(1);
    ASSERT_EQ(MP_UI_previewCompareViewLumMode(333, 251, out1.data(), 640, 480, a.data(), 0.2f, 0.1f, 0.7f, 0.9f, 0.3f,
                                              0.6f, b.data(), 1, 0, 0, 2),
              1);
    MP_UI_SetIdealThreadCount(8);
    ASSERT_EQ(MP_UI_previewCompareViewLumMode(333, 251, out8.data(), 640, 480, a.data(), 0.2f, 0.1f, 0.7f, 0.9f, 0.3f,
                                              0.6f, b.data(), 1, 0, 0, 2),
              1);
    EXPECT_EQ(out1, out8);
}

TEST_F(CompareViewTest, LuminanceBar)
{
    std::vector<uint32_t> bar(255 * 4, 0u);
    ASSERT_EQ(MP_UI_previewCompareViewBarLumMode(255, 4, bar.data(), 0, 2, 0.0f, 1.0f), 1);
    EXPECT_EQ(bar[0], grey(63));
    EXPECT_EQ(bar[254], grey(126));
    EXPECT_EQ(bar[255 * 3 + 128], grey((128 >> 2) + 63));
    // Mode 2 over the whole range: the hatch of period 6 shows the blend.
    ASSERT_EQ(MP_UI_previewCompareViewBarLumMode(255, 4, bar.data(), 2, 2, 0.0f, 1.0f), 1);
    EXPECT_EQ(bar[128], grey(127));
    EXPECT_EQ(bar[129], grey(129));
    // Mode 3 leaves the level of the lower threshold itself unmarked.
    // Phase 1 puts the hatch on columns 1 and 3 mod 6.
    ASSERT_EQ(MP_UI_previewCompareViewBarLumMode(255, 1, bar.data(), 3, 1, 0.5f, 1.0f), 1);
    EXPECT_EQ(bar[127], grey(127));
    EXPECT_EQ(bar[121], grey((121 * 176 + 134 * 80) >> 8));
    EXPECT_EQ(bar[123], grey((123 * 176 + 132 * 80) >> 8));
    EXPECT_EQ(bar[122], grey(122));
    // An unknown mode is mode 0; bad sizes draw nothing.
    ASSERT_EQ(MP_UI_previewCompareViewBarLumMode(255, 1, bar.data(), 9, 2, 0.0f, 1.0f), 1);
    EXPECT_EQ(bar[0], grey(63));
    EXPECT_EQ(MP_UI_previewCompareViewBarLumMode(0, 4, bar.data(), 0, 2, 0.0f, 1.0f), 0);
    EXPECT_EQ(MP_UI_previewCompareViewBarLumMode(255, 4, nullptr, 0, 2, 0.0f, 1.0f), 0);
}
