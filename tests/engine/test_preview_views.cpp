// Views of the preview renderers: colour (plain, gamma, limit-pixel), weight
// map, weight tint, sampling, pixel grid and preview size.

#include "enginefixture.h"

#include <cmath>
#include <limits>

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | r << 16 | g << 8 | b; }

// One pixel through the colour view.
uint32_t colourOf(uint16_t r, uint16_t g, uint16_t b, int gamma = 0)
{
    const uint16_t src[3] = {r, g, b};
    uint32_t out = 0;
    MP_UI_previewColor(src, &out, gamma, 1, 1, 1, 1, 1, 0, 0, 1, 1);
    return out;
}

} // namespace

class PreviewViewTest : public EngineTest {};

TEST_F(PreviewViewTest, PlainColourKeepsTheHighBytes)
{
    EXPECT_EQ(colourOf(0x1234, 0xABCD, 0x00FF), rgb(0x12, 0xAB, 0x00));
    const uint16_t src[3] = {0xFFFF, 0x8000, 0x0100};
    uint32_t out = 0;
    MP_UI_previewColorSimple(src, &out, 1, 1, 1, 1, 1, 0, 0, 1, 1);
    EXPECT_EQ(out, rgb(0xFF, 0x80, 0x01));
}

TEST_F(PreviewViewTest, LimitPixelViewMarksClipping)
{
    MP_UI_SetLimitPixelMode(1);
    struct Case {
        uint16_t v;
        uint32_t expected;
    };
    const Case cases[] = {
        {65535, rgb(255, 0, 0)},   // white: red
        {57344, rgb(255, 255, 0)}, // just above the threshold: yellow
        {32768, rgb(128, 128, 128)},
        {8191, rgb(255, 0, 255)}, // at the dark threshold: magenta
        {0, rgb(0, 0, 255)},      // black: blue
    };
    for (const Case& c : cases) {
        EXPECT_EQ(colourOf(c.v, c.v, c.v), c.expected) << c.v;
        EXPECT_EQ(colourOf(c.v, c.v, c.v, 1), c.expected) << "gamma is ignored in limit mode";
    }
    // The simple view never highlights.
    const uint16_t white[3] = {65535, 65535, 65535};
    uint32_t out = 0;
    MP_UI_previewColorSimple(white, &out, 1, 1, 1, 1, 1, 0, 0, 1, 1);
    EXPECT_EQ(out, rgb(255, 255, 255));
}

TEST_F(PreviewViewTest, GammaViewUsesTheHdrGamma)
{
    MP_UI_SetHDRGammaValue(2.0f);
    EXPECT_EQ(colourOf(32768, 0, 65535, 1), rgb(64, 0, 255)); // 0.5^2 of white
    EXPECT_EQ(colourOf(32768, 0, 65535, 0), rgb(128, 0, 255));
    MP_UI_SetHDRGammaValue(0.5f);
    EXPECT_EQ(colourOf(16384, 16384, 16384, 1), rgb(127, 127, 127));
}

TEST_F(PreviewViewTest, NearestSamplingStepsInFixedPoint)
{
    // Source row: red = column * 4096.
    std::vector<uint16_t> src(8 * 2 * 3, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x)
            src[(y * 8 + x) * 3] = static_cast<uint16_t>(x * 4096 + y * 256);
    std::vector<uint32_t> out(4);
    // Window 0..6 into 4 columns: step 1.5 -> columns 0, 1, 3, 4.
    MP_UI_previewColorSimple(src.data(), out.data(), 4, 1, 4, 8, 2, 0, 0, 6, 1);
    EXPECT_EQ(out[0] >> 16 & 255, 0u);
    EXPECT_EQ(out[1] >> 16 & 255, 16u);
    EXPECT_EQ(out[2] >> 16 & 255, 48u);
    EXPECT_EQ(out[3] >> 16 & 255, 64u);
    // Row sampled at (int)(r * stepY + y0).
    MP_UI_previewColorSimple(src.data(), out.data(), 1, 1, 1, 8, 2, 2, 1.5f, 3, 2.5f);
    EXPECT_EQ(out[0] >> 16 & 255, 32u + 1u);
}

TEST_F(PreviewViewTest, SamplesOutsideTheSourceTakeTheEdge)
{
    // The views used to read wherever the window pointed; a window past the
    // source now repeats its edge pixels, the source height bounding the rows.
    std::vector<uint16_t> src(4 * 3 * 3, 0);
    src[(2 * 4 + 3) * 3] = 0xFF00; // bottom-right pixel
    std::vector<uint32_t> out(4, 0);
    MP_UI_previewColor(src.data(), out.data(), 0, 2, 2, 2, 4, 3, 10, 10, 20, 20);
    for (uint32_t v : out)
        EXPECT_EQ(v, rgb(0xFF, 0, 0));
    MP_UI_previewColor(src.data(), out.data(), 0, 2, 2, 2, 4, 3, -10, -10, -8, -8);
    for (uint32_t v : out)
        EXPECT_EQ(v, rgb(0, 0, 0));
}

TEST_F(PreviewViewTest, InvalidViewArgumentsWriteNothing)
{
    const std::vector<uint16_t> src(16 * 3, 0x8000);
    const std::vector<uint16_t> wa(16, 100);
    const std::vector<int16_t> wm(16, 0);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float dw, dh, ds, ss, sh, x0, y0, x1, y1;
    };
    const Case cases[] = {
        {0, 2, 2, 4, 4, 0, 0, 4, 4},   {2, 2, 1, 4, 4, 0, 0, 4, 4}, {2, 2, 2, 0, 4, 0, 0, 4, 4},
        {2, 2, 2, 4, 0, 0, 0, 4, 4},   {2, 2, 2, 4, 4, nan, 0, 4, 4}, {2, nan, 2, 4, 4, 0, 0, 4, 4},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> out(4, 7);
        MP_UI_previewColor(src.data(), out.data(), 1, c.dw, c.dh, c.ds, c.ss, c.sh, c.x0, c.y0, c.x1, c.y1);
        MP_UI_previewColorSimple(src.data(), out.data(), c.dw, c.dh, c.ds, c.ss, c.sh, c.x0, c.y0, c.x1, c.y1);
        MP_UI_previewWeightmap(wa.data(), wm.data(), out.data(), c.dw, c.dh, c.ds, c.ss, c.sh, c.x0, c.y0, c.x1,
                               c.y1);
        EXPECT_EQ(out, std::vector<uint32_t>(4, 7));
    }
    std::vector<uint32_t> out(4, 7);
    MP_UI_previewColor(nullptr, out.data(), 0, 2, 2, 2, 4, 4, 0, 0, 4, 4);
    MP_UI_previewWeightmap(wa.data(), nullptr, out.data(), 2, 2, 2, 4, 4, 0, 0, 4, 4);
    MP_UI_previewWeightmap(nullptr, wm.data(), out.data(), 2, 2, 2, 4, 4, 0, 0, 4, 4);
    EXPECT_EQ(out, std::vector<uint32_t>(4, 7));
    MP_UI_previewColor(src.data(), nullptr, 0, 2, 2, 2, 4, 4, 0, 0, 4, 4); // must not crash
}

TEST_F(PreviewViewTest, WeightMapShowsAutomaticPlusTwiceManual)
{
    struct Case {
        uint16_t a;
        int16_t m;
        uint32_t expected;
    };
    const Case cases[] = {
        {1000, 0, rgb(3, 3, 3)},           {1000, 200, rgb(5, 5, 5)},
        {0, -200, rgb(0, 0, 0)},           {65535, 32767, rgb(255, 255, 255)},
        {65535, 0, rgb(255, 255, 255)},    {100, -1, rgb(0, 0, 0)},
    };
    for (const Case& c : cases) {
        uint32_t out = 0;
        MP_UI_previewWeightmap(&c.a, &c.m, &out, 1, 1, 1, 1, 1, 0, 0, 1, 1);
        EXPECT_EQ(out, c.expected) << c.a << " " << c.m;
    }
}

TEST_F(PreviewViewTest, WeightTintBlendsEachExposureIntoItsChannel)
{
    const uint16_t img[3] = {0x8000, 0x4000, 0x2000};
    const uint16_t full = 65535, none = 0;
    const int16_t zero = 0;
    uint32_t out = 0;
    // Amount 0 shows the picture.
    MP_UI_previewWeightmapFusion(1, 1, 1, 1, 1, img, 0, 0, 1, 1, 0.0f, &full, &none, &full, &zero, &zero, &zero, &out,
                                 0);
    EXPECT_EQ(out, rgb(0x80, 0x40, 0x20));
    // Amount 1: present slots show their weight, the missing third slot keeps blue.
    MP_UI_previewWeightmapFusion(1, 1, 1, 1, 1, img, 0, 0, 1, 1, 1.0f, &full, &none, nullptr, &zero, &zero, nullptr,
                                 &out, 0);
    EXPECT_EQ(out, rgb(255, 0, 0x20));
    // Half way (A = 127).
    MP_UI_previewWeightmapFusion(1, 1, 1, 1, 1, img, 0, 0, 1, 1, 0.5f, &full, nullptr, nullptr, &zero, nullptr,
                                 nullptr, &out, 0);
    EXPECT_EQ(out >> 16 & 255, static_cast<uint32_t>((128 * 128 + 127 * 255) / 255));
    // A NaN amount counts as 0; a null image writes nothing.
    MP_UI_previewWeightmapFusion(1, 1, 1, 1, 1, img, 0, 0, 1, 1, std::nanf(""), &full, &full, &full, &zero, &zero,
                                 &zero, &out, 0);
    EXPECT_EQ(out, rgb(0x80, 0x40, 0x20));
    out = 5;
    MP_UI_previewWeightmapFusion(1, 1, 1, 1, 1, nullptr, 0, 0, 1, 1, 1.0f, &full, &full, &full, &zero, &zero, &zero,
                                 &out, 0);
    EXPECT_EQ(out, 5u);
}

TEST_F(PreviewViewTest, PixelGridOfTheMagnifier)
{
    std::vector<uint32_t> cells(49);
    for (int i = 0; i < 49; ++i)
        cells[i] = 0x00102030u + static_cast<uint32_t>(i); // alpha 0 on purpose
    std::vector<uint32_t> out(105 * 105, 0);
    MP_UI_previewPixelGrid(105, 105, 7, 7, cells.data(), out.data());
    auto at = [&](int x, int y) { return out[y * 105 + x]; };
    EXPECT_EQ(at(0, 50), 0xFFFFFFFFu);   // outer edge
    EXPECT_EQ(at(104, 7), 0xFFFFFFFFu);  // outer edge
    EXPECT_EQ(at(14, 5), 0xFF2E2E2Eu);   // frame between cells
    EXPECT_EQ(at(15, 5), 0xFF2E2E2Eu);
    EXPECT_EQ(at(7, 7), 0xFF102030u);    // inside cell 0, alpha forced
    EXPECT_EQ(at(52, 52), 0xFF102030u + 24u); // inside the centre cell
    EXPECT_EQ(at(45, 50), 0xFFFFFFFFu);  // frame of the centre cell
    EXPECT_EQ(at(59, 59), 0xFFFFFFFFu);
    EXPECT_EQ(at(60, 50), 0xFF2E2E2Eu);  // the next cell's frame again

    std::vector<uint32_t> keep(4, 3);
    MP_UI_previewPixelGrid(2, 2, 0, 1, cells.data(), keep.data());
    MP_UI_previewPixelGrid(2, 2, 1, 1, nullptr, keep.data());
    EXPECT_EQ(keep, std::vector<uint32_t>(4, 3));
}

TEST_F(PreviewViewTest, PreviewResolutionForAMegapixelBudget)
{
    float w = 0, h = 0, f = 0;
    MP_UI_calcPreviewResolution(&w, &h, &f, 4000, 3000, 1.0f);
    EXPECT_EQ(w, 1152.0f);
    EXPECT_EQ(h, 864.0f);
    EXPECT_NEAR(f, 0.288009f, 2e-6f);
    EXPECT_EQ(MP_UI_GetPreviewScalingFactor(), f);

    MP_UI_calcPreviewResolution(&w, &h, nullptr, 800, 600, 1.0f);
    EXPECT_EQ(w, 800.0f);
    EXPECT_EQ(h, 600.0f);
    EXPECT_EQ(MP_UI_GetPreviewScalingFactor(), 1.0f);

    // A budget no factor reaches: after 980 tries the last sizes stand.
    MP_UI_calcPreviewResolution(&w, &h, &f, 4000, 3000, 0.001f);
    EXPECT_NEAR(f, 0.02f, 1e-4f);
    EXPECT_NEAR(w, 80.0f, 1.0f);

    // Empty or invalid sizes keep factor 1 (no NaN reaches the engine).
    for (float bad : {0.0f, -5.0f, std::nanf("")}) {
        MP_UI_calcPreviewResolution(&w, &h, &f, bad, 3000, 1.0f);
        EXPECT_EQ(f, 1.0f);
        EXPECT_EQ(MP_UI_GetPreviewScalingFactor(), 1.0f);
        EXPECT_FALSE(std::isnan(w));
    }
}

TEST_F(PreviewViewTest, ScalingFactorBetweenResolutions)
{
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactorFromResolution(4000, 3000, 1000, 750), 0.25f);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactorFromResolution(3000, 4000, 750, 1000), 0.25f);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactorFromResolution(100, 100, 100, 100), 1.0f);
    // An empty full size has no scale: 1 rather than infinity or NaN.
    EXPECT_EQ(MP_UI_GetPreviewScalingFactorFromResolution(0, 0, 100, 50), 1.0f);
}
