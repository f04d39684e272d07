#include "enginefixture.h"

namespace {

constexpr uint32_t kBackground = 0xFF202020u;
constexpr uint32_t kGrid = 0xFF606060u;
constexpr uint32_t kUntouched = 0x12345678u;

struct Switches {
    int luminance = 0, red = 0, green = 0, blue = 0, cumulative = 0;
};

struct Picture {
    int bins, rows;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * bins + x]; }
};

Picture paint(const std::vector<uint16_t>& img, int w, int h, int bins, int rows, Switches s)
{
    Picture p{bins, rows, std::vector<uint32_t>(static_cast<size_t>(bins) * rows, kUntouched)};
    EXPECT_EQ(MP_UI_calcHistogram(img.data(), p.px.data(), bins, w, h, bins, rows, s.luminance, s.red, s.green,
                                  s.blue, s.cumulative),
              0);
    return p;
}

uint32_t grey(int k) { return 0xFF000000u | (static_cast<uint32_t>(k) * 0x010101u); }
int ramp(int x, int bins) { return static_cast<int>(static_cast<float>(x) / static_cast<float>(bins) * 255.0f); }

// Rows of column x painted by the luminance area (the grey ramp value of the column).
int areaRows(const Picture& p, int x)
{
    int n = 0;
    for (int y = 0; y < p.rows; ++y)
        n += p.at(x, y) == grey(ramp(x, p.bins));
    return n;
}

// Pixels of column x that are neither background nor grid (areas and curves).
int painted(const Picture& p, int x)
{
    int n = 0;
    for (int y = 0; y < p.rows; ++y)
        n += p.at(x, y) != kBackground && p.at(x, y) != kGrid;
    return n;
}

// A value of 16-bit luminance that falls into bin b of `bins`.
uint16_t inBin(int b, int bins) { return static_cast<uint16_t>((b * 65536 + 65536 / 2) / bins); }

class HistogramImage : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        MP_UI_SetLuminanzConvRGB(1.0f, 0.0f, 0.0f); // luminance = red, bins are easy to place
    }
};

// Samples are every xs-th pixel of every ys-th row. The pixels on that grid
// fall into bins 10 and 30 (alternating by grid column, or by grid row); every
// other pixel into bin 20. Only bars at 10 and 30 may appear. (The curve of a
// lone bar runs up the column before it and down the bar's own column.)
TEST_F(HistogramImage, SamplesEveryXsPixelOfEveryYsRow)
{
    struct Case {
        int w, h, xs, ys;
    };
    const Case cases[] = {{600, 400, 4, 4}, {3000, 1500, 20, 10}, {90, 50, 4, 4}, {1500, 620, 10, 4}};
    const int bins = 40, rows = 30;
    for (const Case& c : cases) {
        for (bool byRow : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << (byRow ? " by row" : " by column"));
            std::vector<uint16_t> img(static_cast<size_t>(c.w) * c.h * 3, 0);
            for (int y = 0; y < c.h; ++y) {
                for (int x = 0; x < c.w; ++x) {
                    int b = 20;
                    if (x % c.xs == 0 && y % c.ys == 0)
                        b = (((byRow ? y / c.ys : x / c.xs) % 2) == 0) ? 10 : 30;
                    img[(static_cast<size_t>(y) * c.w + x) * 3] = inBin(b, bins);
                }
            }
            const Picture p = paint(img, c.w, c.h, bins, rows, {.luminance = 1});
            EXPECT_GT(painted(p, 10), rows / 2);
            EXPECT_GT(painted(p, 30), rows / 2);
            EXPECT_EQ(painted(p, 19), 0);
            EXPECT_EQ(painted(p, 20), 0);
        }
    }
}

// At 50 bins and more every count is averaged over 2e + 1 bins, e = max(1, bins / 150).
TEST_F(HistogramImage, SmoothingSpreadsABarOverTwoEPlusOneBins)
{
    struct Case {
        int bins, e;
    };
    const Case cases[] = {{40, 0}, {49, 0}, {50, 1}, {270, 1}, {300, 2}, {460, 3}};
    for (const Case& c : cases) {
        const int b = c.bins / 2 + 1;
        const auto img = solidImage(16, 16, inBin(b, c.bins), 0, 0);
        const Picture p = paint(img, 16, 16, c.bins, 20, {.luminance = 1});
        // A flat-topped bar over b - e .. b + e: full areas under its top, the
        // curve climbing in the column before it and falling in its last column.
        for (int x = b - c.e; x < b + c.e; ++x)
            EXPECT_GT(areaRows(p, x), 15) << c.bins << " column " << x;
        EXPECT_GT(painted(p, b + c.e), 15) << c.bins;
        EXPECT_EQ(areaRows(p, b - c.e - 1), 0) << c.bins;
        EXPECT_GT(painted(p, b - c.e - 1), 15) << c.bins;
        EXPECT_EQ(painted(p, b - c.e - 2), 0) << c.bins;
        EXPECT_EQ(painted(p, b + c.e + 1), 0) << c.bins;
    }
}

// With every switch off only the background and the grid remain; the grid
// steps are rows / 5 and bins / 5, but at least 1, so small pictures end.
TEST_F(HistogramImage, BackgroundAndGridOnSmallAndLargePictures)
{
    struct Case {
        int bins, rows, gx, gy;
    };
    const Case cases[] = {{10, 10, 2, 2}, {3, 4, 1, 1}, {1, 1, 1, 1}, {7, 3, 1, 1}, {26, 12, 5, 2}};
    const auto img = solidImage(8, 8, 30000, 20000, 10000);
    for (const Case& c : cases) {
        const int pitch = c.bins + 3;
        std::vector<uint32_t> argb(static_cast<size_t>(pitch) * c.rows, kUntouched);
        ASSERT_EQ(MP_UI_calcHistogram(img.data(), argb.data(), pitch, 8, 8, c.bins, c.rows, 0, 0, 0, 0, 0), 0);
        for (int y = 0; y < c.rows; ++y) {
            for (int x = 0; x < pitch; ++x) {
                uint32_t expected = kBackground;
                if (x >= c.bins)
                    expected = kUntouched; // beyond the picture, inside the pitch
                else if (((c.rows - 1 - y) % c.gy == 0 && x % 2 == 0) || (x % c.gx == 0 && y % 2 == 0))
                    expected = kGrid;
                ASSERT_EQ(argb[static_cast<size_t>(y) * pitch + x], expected)
                    << c.bins << "x" << c.rows << " at " << x << "," << y;
            }
        }
    }
    // Small pictures with every switch on end as well.
    for (auto [bins, rows] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{4, 1}}) {
        std::vector<uint32_t> argb(static_cast<size_t>(bins) * rows, kUntouched);
        EXPECT_EQ(MP_UI_calcHistogram(img.data(), argb.data(), bins, 8, 8, bins, rows, 1, 1, 1, 1, 1), 0);
    }
}

TEST_F(HistogramImage, BlackImageFillsOnlyTheFirstBin)
{
    const auto img = solidImage(32, 32, 0, 0, 0);
    const Picture p = paint(img, 32, 32, 40, 20, {.luminance = 1});
    // Bin 0 holds every sample but does not set the scale (m stays 1): its
    // column is black from top to bottom (where the white luminance curve,
    // falling from far above the picture into bin 1, does not cross it), the
    // others have no area.
    for (int y = 0; y < 20; ++y)
        EXPECT_TRUE(p.at(0, y) == grey(0) || p.at(0, y) == 0xFFFFFFFFu) << y;
    for (int x = 1; x < 40; ++x)
        EXPECT_EQ(areaRows(p, x), 0) << x;
}

TEST_F(HistogramImage, CumulativeCountsGrowToTheLastBin)
{
    // Top half in bin 10, bottom half in bin 20 (the sampling grid sees both equally).
    const int w = 64, h = 64, bins = 40, rows = 40;
    auto img = solidImage(w, h, inBin(10, bins), 0, 0);
    for (size_t i = img.size() / 2; i < img.size(); i += 3)
        img[i] = inBin(20, bins);

    const Picture cum = paint(img, w, h, bins, rows, {.luminance = 1, .cumulative = 1});
    EXPECT_EQ(areaRows(cum, 5), 0);
    EXPECT_EQ(cum.at(15, 30), grey(ramp(15, bins))); // half the samples: the lower half
    EXPECT_NE(cum.at(15, 10), grey(ramp(15, bins)));
    EXPECT_EQ(cum.at(25, 5), grey(ramp(25, bins))); // all samples: the whole column
    EXPECT_EQ(cum.at(39, 1), grey(ramp(39, bins)));
    for (int x = 11; x < 39; ++x)
        EXPECT_GE(areaRows(cum, x + 1) + 2, areaRows(cum, x)) << x; // non-decreasing, up to the curve

    const Picture plain = paint(img, w, h, bins, rows, {.luminance = 1});
    EXPECT_EQ(painted(plain, 15), 0);
    EXPECT_GT(painted(plain, 10), 30);
    EXPECT_GT(painted(plain, 20), 30);
}

TEST_F(HistogramImage, ColourChannelsTintWhatLiesAboveTheLuminanceArea)
{
    const int bins = 40, rows = 30;
    // Red in bins 12 and 13 (a bar two columns wide), green in bin 25.
    auto img = solidImage(16, 16, inBin(12, bins), inBin(25, bins), 0);
    for (size_t i = img.size() / 2; i < img.size(); i += 3)
        img[i] = inBin(13, bins);
    const Picture p = paint(img, 16, 16, bins, rows, {.red = 1});
    const int k = ramp(12, bins);
    int tinted = 0;
    for (int y = 1; y < rows; ++y) {
        const uint32_t c = p.at(12, y);
        const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
        if (c == 0xFFFF0000u)
            continue; // the red curve
        ASSERT_EQ(g, b);
        ASSERT_EQ(r, std::min(255, g + k)) << y;
        ++tinted;
    }
    EXPECT_GT(tinted, rows / 2);
    // The green bar is not shown, and a column without counts keeps its colours.
    for (int x : {20, 25}) {
        for (int y = 0; y < rows; ++y) {
            const uint32_t c = p.at(x, y);
            ASSERT_TRUE(c == kBackground || c == kGrid) << x << "," << y;
        }
    }
}

TEST_F(HistogramImage, InvalidInputDrawsNothing)
{
    const auto img = solidImage(4, 4, 1, 2, 3);
    std::vector<uint32_t> argb(64, kUntouched);
    EXPECT_EQ(MP_UI_calcHistogram(nullptr, argb.data(), 8, 4, 4, 8, 8, 1, 1, 1, 1, 0), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_calcHistogram(img.data(), nullptr, 8, 4, 4, 8, 8, 1, 1, 1, 1, 0), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_calcHistogram(img.data(), argb.data(), 8, 4, 4, 0, 8, 1, 1, 1, 1, 0), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_calcHistogram(img.data(), argb.data(), 8, 4, 4, -3, 8, 1, 1, 1, 1, 0), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_calcHistogram(img.data(), argb.data(), 8, 4, 4, 8, 0, 1, 1, 1, 1, 0), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_calcHistogram(img.data(), argb.data(), 8, 4, 4, 8, -1, 1, 1, 1, 1, 0), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_calcHistogram(img.data(), argb.data(), 7, 4, 4, 8, 8, 1, 1, 1, 1, 0), MP_ERR_INPUT);
    EXPECT_EQ(MP_UI_calcHistogram(img.data(), argb.data(), 8, 0, 4, 8, 8, 1, 1, 1, 1, 0), MP_ERR_INPUT);
    EXPECT_EQ(argb, std::vector<uint32_t>(64, kUntouched));
}

} // namespace
