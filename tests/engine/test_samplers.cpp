#include "enginefixture.h"

#include <cmath>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// An RGB48 picture whose red channel is given per pixel; green is red / 2
// and blue 65535 - red, so a sampler that mixes up channels shows it.
struct Picture {
    int w, h;
    std::vector<uint16_t> px;
    Picture(int width, int height, std::initializer_list<int> red) : w(width), h(height), px(size_t(width) * height * 3)
    {
        size_t i = 0;
        for (int v : red) {
            px[i * 3] = uint16_t(v);
            px[i * 3 + 1] = uint16_t(v / 2);
            px[i * 3 + 2] = uint16_t(65535 - v);
            ++i;
        }
    }
    const uint16_t* data() const { return px.data(); }
};

// 4 x 2: the corners of a bilinear example on the left, two flat columns on
// the right.
const Picture& grid()
{
    static const Picture p(4, 2, {0, 16384, 1000, 3000, 32768, 65535, 1000, 3000});
    return p;
}

struct ClampCase {
    const char* what;
    float x, y;
    int red;
};

class ClampedBilinear : public EngineTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(ClampedBilinear, SamplesWithFourteenBitWeights)
{
    const ClampCase& c = GetParam();
    const Picture& p = grid();
    int r = -1, g = -1, b = -1;
    MP_tex2D16intBilinearToInt(p.w, p.h, p.data(), &r, &g, &b, c.x, c.y);
    EXPECT_EQ(r, c.red) << c.what;

    // Every variant reads the same sample.
    const MP_float3 f = MP_tex2D16intBilinear(p.w, p.h, p.data(), c.x, c.y);
    EXPECT_EQ(f.x, float(r) * MP_k) << c.what;
    EXPECT_EQ(f.y, float(g) * MP_k) << c.what;
    EXPECT_EQ(f.z, float(b) * MP_k) << c.what;
    const MP_float2 rg = MP_tex2D16intBilinearRG(p.w, p.h, p.data(), c.x, c.y);
    EXPECT_EQ(rg.x, f.x);
    EXPECT_EQ(rg.y, f.y);
    EXPECT_EQ(MP_tex2D16intBilinearGreenToInt(p.w, p.h, p.data(), c.x, c.y), g);
}

INSTANTIATE_TEST_SUITE_P(
    Samplers, ClampedBilinear,
    ::testing::Values(
        // left = (4096 * 32768 + 12288 * 0) >> 14 = 8192,
        // right = (4096 * 65535 + 12288 * 16384) >> 14 = 28671,
        // value = (8192 * 28671 + 8192 * 8192) >> 14 = 18431
        ClampCase{"inside", 0.5f, 0.25f, 18431},
        ClampCase{"x = w - 1.5 mixes columns w-2 and w-1", 2.5f, 0.0f, 2000},
        ClampCase{"x = w - 0.5: both neighbours column w-1", 3.5f, 1.0f, 3000},
        ClampCase{"beyond the last column", 7.25f, 0.0f, 3000},
        ClampCase{"beyond the last row", 1.0f, 1.5f, 65535},
        ClampCase{"on a pixel", 1.0f, 0.0f, 16384},
        // Left of or above the image: the first column / row, no
        // extrapolation past it (which gave -4096 here).
        ClampCase{"left of column 0", -0.25f, 0.0f, 0},
        ClampCase{"far left", -7.0f, 1.0f, 32768},
        ClampCase{"above row 0", 1.0f, -0.5f, 16384},
        ClampCase{"left and above", -0.5f, -0.5f, 0},
        ClampCase{"NaN", kNaN, kNaN, 0},
        ClampCase{"infinite", kInf, -kInf, 3000},
        ClampCase{"huge", 1e30f, 1e30f, 3000}));

TEST_F(EngineTest, ClampedSamplersStayInRangeLeftOfTheImage)
{
    // Where the first column is bright and the second dark (and the same for
    // the rows), a sample left of and above the image must not overshoot.
    const Picture p(2, 2, {65535, 0, 0, 0});
    for (float c : {-0.9f, -0.5f, -0.1f, -3.7f}) {
        int r = -1, g = -1, b = -1;
        MP_tex2D16intBilinearToInt(p.w, p.h, p.data(), &r, &g, &b, c, c);
        EXPECT_EQ(r, 65535) << c;
        EXPECT_EQ(b, 0) << c;
        const MP_float3 f = MP_tex2D16intBilinear(p.w, p.h, p.data(), c, c);
        EXPECT_LE(f.x, 1.0f);
        EXPECT_GE(f.z, 0.0f);
    }
}

TEST_F(EngineTest, NearestClampedSamplerTruncates)
{
    const Picture& p = grid();
    struct {
        float x, y;
        int red;
    } cases[] = {{1.9f, 0.9f, 16384}, {-0.9f, 1.2f, 32768}, {-3.0f, 7.0f, 32768}, {9.0f, -2.0f, 3000},
                 {kNaN, kNaN, 0},     {3.99f, 1.99f, 3000}};
    for (const auto& c : cases) {
        int r = -1, g = -1, b = -1;
        MP_tex2D16intToInt(p.w, p.h, p.data(), &r, &g, &b, c.x, c.y);
        EXPECT_EQ(r, c.red) << c.x << "," << c.y;
        EXPECT_EQ(g, c.red / 2);
        EXPECT_EQ(b, 65535 - c.red);
        EXPECT_EQ(MP_tex2D16intGreenToInt(p.w, p.h, p.data(), c.x, c.y), c.red / 2);
    }
}

// A 100-pixel row: column 99 is 4000, column 0 8000, the rest 20000.
Picture ring()
{
    Picture p(100, 1, {});
    for (int x = 0; x < 100; ++x) {
        const int v = x == 0 ? 8000 : (x == 99 ? 4000 : 20000);
        p.px[size_t(x) * 3] = uint16_t(v);
        p.px[size_t(x) * 3 + 1] = uint16_t(v / 2);
        p.px[size_t(x) * 3 + 2] = uint16_t(65535 - v);
    }
    return p;
}

TEST_F(EngineTest, WrappingBilinearSamplerMixesAcrossTheSeam)
{
    const Picture p = ring();
    // x = -0.25 becomes 99.75: (12288 * 8000 + 4096 * 4000) >> 14 = 7000.
    for (float x : {-0.25f, 99.75f, -100.25f, 199.75f, -1000.25f}) {
        const MP_float3 f = MP_tex2D16intBilinearSeemless(p.w, p.h, p.data(), x, 0.0f);
        EXPECT_EQ(f.x, 7000.0f * MP_k) << x;
        EXPECT_EQ(f.y, 3500.0f * MP_k) << x;
        EXPECT_EQ(f.z, 58535.0f * MP_k) << x;
        EXPECT_EQ(MP_tex2D16intBilinearSeemlessG(p.w, p.h, p.data(), x, 0.0f), 3500.0f * MP_k) << x;
    }
    // Rows wrap the same way: y = -0.5 mixes the last and the first row.
    const Picture col(1, 2, {1000, 3000});
    EXPECT_EQ(MP_tex2D16intBilinearSeemless(1, 2, col.data(), 0.0f, -0.5f).x, 2000.0f * MP_k);
    EXPECT_EQ(MP_tex2D16intBilinearSeemless(1, 2, col.data(), 0.0f, 1.5f).x, 2000.0f * MP_k);
}

TEST_F(EngineTest, WrappingSamplersEndOnExtremeCoordinates)
{
    // Adding the width until the coordinate is positive never ends for
    // -1e30 (the sum rounds back); these must return a pixel of the row.
    const Picture p = ring();
    for (float x : {-1e30f, 1e30f, 3e9f, -3e9f, kNaN, kInf, -kInf}) {
        const float r = MP_tex2D16intBilinearSeemless(p.w, p.h, p.data(), x, x).x;
        EXPECT_GE(r, 4000.0f * MP_k) << x;
        EXPECT_LE(r, 20000.0f * MP_k) << x;
        const float n = MP_tex2D16intSeemless(p.w, p.h, p.data(), x, x).x;
        EXPECT_GE(n, 4000.0f * MP_k) << x;
        EXPECT_LE(n, 20000.0f * MP_k) << x;
    }
}

TEST_F(EngineTest, WrappingNearestSamplerReducesTheTruncatedCoordinate)
{
    const Picture p = ring();
    struct {
        float x;
        int red;
    } cases[] = {{-0.25f, 8000}, {-0.99f, 8000}, {-1.5f, 4000}, {99.9f, 4000}, {100.9f, 8000}, {-201.0f, 4000}};
    for (const auto& c : cases)
        EXPECT_EQ(MP_tex2D16intSeemless(p.w, p.h, p.data(), c.x, 5.0f).x, float(c.red) * MP_k) << c.x;
}

// A row rising by 16384 per column.
const Picture& ramp()
{
    static const Picture p(4, 1, {0, 16384, 32768, 49152});
    return p;
}

TEST_F(EngineTest, AlignmentSamplersWeighWithTheZoomTable)
{
    const Picture& p = ramp();
    uint16_t out[3] = {};
    // Fraction 0.25: index (int)(0.25 * 65535) = 16383, whose linear weight is
    // (int)(16383 / 65535 * 16384) = 4095 (the 14-bit sampler gives 4096).
    MP_tex2D16intAlignToUShort(p.w, p.h, p.data(), out, 0.25f, 0.0f);
    EXPECT_EQ(out[0], 4095);
    EXPECT_EQ(out[1], 2047);
    EXPECT_EQ(out[2], 65535 - 4095);
    int r = 0, g = 0, b = 0;
    MP_tex2D16intBilinearToInt(p.w, p.h, p.data(), &r, &g, &b, 0.25f, 0.0f);
    EXPECT_EQ(r, 4096);

    // A negative fraction indexes the table modulo 65536: -0.25 weighs like
    // 0.75 (index 49153, weight 12288) between columns 0 and 1.
    MP_tex2D16intAlignToUShort(p.w, p.h, p.data(), out, -0.25f, 0.0f);
    EXPECT_EQ(out[0], 12288);

    // The curve follows the table's type.
    MP_fillZoomTable(4);
    MP_tex2D16intAlignToUShort(p.w, p.h, p.data(), out, 0.5f, 0.0f);
    EXPECT_EQ(out[0], MP_izoomtable[32767]);
    MP_fillZoomTable(9); // all weights 0: always the left / upper neighbour
    MP_tex2D16intAlignToUShort(p.w, p.h, p.data(), out, 2.75f, 0.0f);
    EXPECT_EQ(out[0], 32768);

    MP_fillZoomTable(1);
    for (float c : {kNaN, 1e30f, -1e30f}) {
        MP_tex2D16intAlignToUShort(p.w, p.h, p.data(), out, c, c);
        EXPECT_TRUE(out[0] == 0 || out[0] == 49152) << c;
    }
}

TEST_F(EngineTest, AlignmentRowSamplers)
{
    const Picture& p = ramp();
    constexpr uint16_t kUntouched = 777;
    std::vector<uint16_t> row(12, kUntouched);

    MP_line2D16intAlignToUShort(p.w, p.h, p.data(), row.data(), 0.25f, 1.0f, 0.0f);
    EXPECT_EQ(row[0], 4095);
    EXPECT_EQ(row[3], 20479);
    EXPECT_EQ(row[6], 36863);
    EXPECT_EQ(row[9], 49152); // 3.25: both neighbours column 3

    // The clipping form skips pixels whose truncated x is outside [0, w):
    // x = -1.75 and 4.25 are skipped, -0.75 truncates to 0 and is sampled.
    std::fill(row.begin(), row.end(), kUntouched);
    MP_lineclip2D16intAlignToUShort(p.w, p.h, p.data(), row.data(), -1.75f, 1.0f, 0.0f);
    EXPECT_EQ(row[0], kUntouched);
    EXPECT_EQ(row[3], 4096); // fraction -0.75: index 16385, weight 4096
    EXPECT_EQ(row[6], 4095);
    EXPECT_EQ(row[9], 20479);
    std::fill(row.begin(), row.end(), kUntouched);
    MP_lineclip2D16intAlignToUShort(p.w, p.h, p.data(), row.data(), 2.25f, 1.0f, 0.0f);
    EXPECT_EQ(row[0], 36863);
    EXPECT_EQ(row[3], 49152);
    EXPECT_EQ(row[6], kUntouched);
    EXPECT_EQ(row[9], kUntouched);
    MP_lineclip2D16intAlignToUShort(p.w, p.h, p.data(), row.data(), kNaN, 1.0f, 0.0f);
    EXPECT_EQ(row[9], kUntouched);

    // The row forms give what the pixel sampler gives at the same points,
    // between two rows too.
    Picture two(5, 2, {0, 9000, 18000, 40000, 65535, 65535, 30000, 100, 7, 20000});
    std::vector<uint16_t> line(15);
    MP_line2D16intAlignToUShort(two.w, two.h, two.data(), line.data(), -0.6f, 1.3f, 0.37f);
    float x = -0.6f;
    for (int i = 0; i < two.w; ++i, x += 1.3f) {
        uint16_t px[3];
        MP_tex2D16intAlignToUShort(two.w, two.h, two.data(), px, x, 0.37f);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(line[size_t(i) * 3 + k], px[k]) << i;
    }
}

TEST_F(EngineTest, FurtherSamplers)
{
    const Picture& p = grid();
    const MP_float3 c = MP_tex2D16intClip(-3, 9, p.w, p.h, p.data());
    EXPECT_EQ(c.x, 32768.0f * MP_k);
    EXPECT_EQ(c.y, 16384.0f * MP_k);
    EXPECT_EQ(c.z, 32767.0f * MP_k);

    const std::vector<uint16_t> black(12, 0);
    EXPECT_EQ(MP_tex2D16intClipAddVar(0, 0, 2, 2, black.data(), 0.25f), 0.0625f);
    EXPECT_EQ(MP_tex2D16intBilinearAddVar(2, 2, black.data(), 0.25f, 0.5f, 0.5f), 0.0625f);
    std::vector<uint16_t> white(12, 65535);
    const float one = 65535.0f * MP_k;
    const float d = (one + one + one) * 0.3333f - 0.5f;
    EXPECT_EQ(MP_tex2D16intClipAddVar(5, -5, 2, 2, white.data(), 0.5f), d * d);
    EXPECT_EQ(MP_tex2D16intBilinearAddVar(2, 2, white.data(), 0.5f, 0.3f, 0.6f), d * d);
}

TEST_F(EngineTest, SamplersOnAnEmptyImageGiveBlack)
{
    const uint16_t px[3] = {100, 200, 300};
    const struct {
        int w, h;
        const uint16_t* img;
    } cases[] = {{0, 1, px}, {1, 0, px}, {-1, 1, px}, {1, 1, nullptr}};
    for (const auto& c : cases) {
        const int w = c.w, h = c.h;
        const uint16_t* img = c.img;
        const MP_float3 f = MP_tex2D16intBilinear(w, h, img, 0.5f, 0.5f);
        EXPECT_EQ(f.x + f.y + f.z, 0.0f);
        EXPECT_EQ(MP_tex2D16intBilinearSeemless(w, h, img, -3.0f, 2.0f).y, 0.0f);
        EXPECT_EQ(MP_tex2D16intSeemless(w, h, img, -3.0f, 2.0f).z, 0.0f);
        EXPECT_EQ(MP_tex2D16intBilinearSeemlessG(w, h, img, 1.0f, 1.0f), 0.0f);
        EXPECT_EQ(MP_tex2D16intBilinearRG(w, h, img, 0.0f, 0.0f).x, 0.0f);
        EXPECT_EQ(MP_tex2D16intBilinearGreenToInt(w, h, img, 0.0f, 0.0f), 0);
        EXPECT_EQ(MP_tex2D16intGreenToInt(w, h, img, 0.0f, 0.0f), 0);
        EXPECT_EQ(MP_tex2D16intClip(0, 0, w, h, img).x, 0.0f);
        int r = 1, g = 1, b = 1;
        MP_tex2D16intBilinearToInt(w, h, img, &r, &g, &b, 0.0f, 0.0f);
        EXPECT_EQ(r + g + b, 0);
        r = g = b = 1;
        MP_tex2D16intToInt(w, h, img, &r, &g, &b, 0.0f, 0.0f);
        EXPECT_EQ(r + g + b, 0);
        uint16_t out[3] = {1, 1, 1};
        MP_tex2D16intAlignToUShort(w, h, img, out, 0.0f, 0.0f);
        EXPECT_EQ(out[0] + out[1] + out[2], 0);
        uint16_t row[3] = {5, 5, 5};
        MP_line2D16intAlignToUShort(w, h, img, row, 0.0f, 1.0f, 0.0f);
        MP_lineclip2D16intAlignToUShort(w, h, img, row, 0.0f, 1.0f, 0.0f);
        EXPECT_EQ(row[0], 5);
    }
}

} // namespace
