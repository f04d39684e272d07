// "Bokeh": the aperture mask, the gather on the scaled copy and the blend.

#include "filterfixture.h"

#include "engine/core/rotation.h"
#include "engine/core/textures.h"
#include "engine/filters/bokeh.h"

using mp_filters::g_filterRunWalk;

#include <cmath>
#include <limits>

namespace {

class BokehTest : public FilterTest {
protected:
    void TearDown() override
    {
        for (int id : {68, 99})
            MP_UI_AllocTextureData(id, 0, 0, 0, 0); // empties the slot
        FilterTest::TearDown();
    }

    // An aperture in a texture slot: a disc of radius r in the green channel
    // (255 << 8 inside, 0 outside) on a side x side texture.
    static void loadDisc(int id, int side, float r)
    {
        MP_UI_AllocTextureData(id, side, side, 6, 0);
        uint16_t* t = MP_UI_GetTexturePointer(id);
        ASSERT_NE(t, nullptr);
        const float c = (side - 1) * 0.5f;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const bool in = (x - c) * (x - c) + (y - c) * (y - c) <= r * r;
                uint16_t* px = t + (static_cast<size_t>(y) * side + x) * 3;
                px[0] = px[2] = 0;
                px[1] = in ? 0xFF00 : 0;
            }
    }
    static void loadFlat(int id, int w, int h, uint16_t green)
    {
        MP_UI_AllocTextureData(id, w, h, 6, 0);
        uint16_t* t = MP_UI_GetTexturePointer(id);
        for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
            t[i * 3] = t[i * 3 + 2] = 0;
            t[i * 3 + 1] = green;
        }
    }
    static MP_Params defaults()
    {
        MP_Params p = blankParams();
        p.p[0][0] = 0.0f;  // aperture 68
        p.p[1][0] = 0.5f;  // "Unschärfe"
        p.p[2][0] = 0.5f;  // "Winkel"
        p.p[3][0] = 0.25f; // "Leuchten"
        p.p[4][0] = 0.5f;  // "Sättigung": sigma 0
        p.p[5][0] = 0.5f;  // "Präzision": scale 0.4
        p.p[6][1] = 100.0f;
        return p;
    }
    static Image dotPicture(int w, int h)
    {
        Image img = solidImage(w, h, 0, 0, 0);
        for (int c = 0; c < 3; ++c)
            img[(static_cast<size_t>(h / 2) * w + w / 2) * 3 + c] = 65535;
        return img;
    }
};

TEST_F(BokehTest, MaskBytesOfASmallTexture)
{
    // 4 x 3 texture, green high bytes row by row.
    const uint8_t g[12] = {0, 8, 9, 0, /**/ 200, 0, 0, 0, /**/ 0, 0, 0, 0};
    uint16_t tex[36] = {};
    for (int i = 0; i < 12; ++i)
        tex[i * 3 + 1] = static_cast<uint16_t>(g[i] << 8 | 0x7F);
    ASSERT_EQ(MP_bokehMaskBytes(4, 3), 4u * 5u);
    unsigned char mask[20];
    std::fill(std::begin(mask), std::end(mask), 0xEE);
    MP_prepare_calcPixelBokehBlur(tex, mask, 4, 3);
    // The shape turned by 180 degrees: entry (x, y) = texel (3 - x, 2 - y).
    const uint8_t shape[12] = {0, 0, 0, 0, /**/ 0, 0, 0, 200, /**/ 0, 9, 8, 0};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(mask[i], shape[i]) << i;
    // Row starts (tw for an empty row), then row ends (0 for an empty row).
    EXPECT_EQ(mask[12], 4);
    EXPECT_EQ(mask[13], 3);
    EXPECT_EQ(mask[14], 1);
    EXPECT_EQ(mask[16], 0);
    EXPECT_EQ(mask[17], 3);
    EXPECT_EQ(mask[18], 1);
    // Nothing written past the layout's row tables (4 bytes each, 3 used).
    EXPECT_EQ(mask[15], 0xEE);
    EXPECT_EQ(mask[19], 0xEE);
}

TEST_F(BokehTest, LargeAperturesGetWideRowTables)
{
    for (auto [tw, th] : {std::pair{300, 2}, std::pair{3, 5}}) {
        std::vector<uint16_t> tex(static_cast<size_t>(tw) * th * 3, 0);
        // Texel (tw - 1, 0) opaque: in the turned mask row th - 1, column 0;
        // texel (0, th - 1) opaque: row 0, column tw - 1.
        tex[(static_cast<size_t>(tw - 1)) * 3 + 1] = 0xFF00;
        tex[(static_cast<size_t>(th - 1) * tw) * 3 + 1] = 0xFF00;
        std::vector<unsigned char> mask(MP_bokehMaskBytes(tw, th));
        MP_prepare_calcPixelBokehBlur(tex.data(), mask.data(), tw, th);
        EXPECT_EQ(MP_bokehRowStart(mask.data(), tw, th, 0), tw - 1) << tw;
        EXPECT_EQ(MP_bokehRowEnd(mask.data(), tw, th, 0), tw - 1) << tw;
        EXPECT_EQ(MP_bokehRowStart(mask.data(), tw, th, th - 1), 0) << tw;
        EXPECT_EQ(MP_bokehRowEnd(mask.data(), tw, th, th - 1), 0) << tw;
        if (th > 2) {
            EXPECT_EQ(MP_bokehRowStart(mask.data(), tw, th, 1), tw);
            EXPECT_EQ(MP_bokehRowEnd(mask.data(), tw, th, 1), 0);
        }
    }
}

TEST_F(BokehTest, MissingApertureOrFailuresLeaveTheDestination)
{
    const int w = 20, h = 16;
    const Image src = testPicture(w, h);
    auto untouched = [&](const char* what, MP_Params p) {
        Image in = src, dst(src.size(), 7);
        EXPECT_EQ(run("MP_calcPixelBokehBlur", w, h, in, dst, p), -1) << what;
        EXPECT_EQ(dst, Image(src.size(), 7)) << what;
        EXPECT_EQ(in, src) << what;
    };
    untouched("no texture", defaults());
    loadDisc(68, 16, 6.0f);
    MP_rotationTestFailAllocation(true);
    untouched("rotation", defaults());
    MP_rotationTestFailAllocation(false);
    MP_geometryTestFailAllocation(0);
    MP_Params p = defaults();
    setInertGeometry(p, 7);
    untouched("masks", p);
    MP_geometryTestFailAllocation(-1);
    Image in = src, dst(src.size(), 7);
    p = defaults();
    EXPECT_EQ(MP_UI_executeKernel("MP_calcPixelBokehBlur", w, h, in.data(), dst.data(), 6, 4, &p, -1, 0.0f, 1.0f), -2);
    EXPECT_EQ(dst, Image(src.size(), 7));
}

TEST_F(BokehTest, TypeSliderPicksApertures68To99)
{
    const int w = 20, h = 16;
    const Image src = dotPicture(w, h);
    loadDisc(99, 16, 6.0f);
    MP_Params p = defaults();
    int r = -9;
    runCopy("MP_calcPixelBokehBlur", w, h, src, p, &r);
    EXPECT_EQ(r, -1); // slot 68 is empty
    p.p[0][0] = 1.0f;
    runCopy("MP_calcPixelBokehBlur", w, h, src, p, &r);
    EXPECT_EQ(r, 0);
    p.p[0][0] = std::numeric_limits<float>::quiet_NaN(); // held to 68
    runCopy("MP_calcPixelBokehBlur", w, h, src, p, &r);
    EXPECT_EQ(r, -1);
}

TEST_F(BokehTest, TransparentApertureAndNoBlurGiveTheRescaledCopy)
{
    const int w = 40, h = 30;
    const Image src = testPicture(w, h);
    loadFlat(68, 16, 16, 8 << 8); // every byte below 9: outside
    const Image transparent = runCopy("MP_calcPixelBokehBlur", w, h, src, defaults());
    loadDisc(68, 16, 6.0f);
    MP_Params p = defaults();
    p.p[1][0] = 0.0f; // "Unschärfe" 0: bokeh size 0 everywhere
    EXPECT_EQ(runCopy("MP_calcPixelBokehBlur", w, h, src, p), transparent);
    // The copy is softer than the picture but not the picture itself.
    EXPECT_NE(transparent, roundTripped(src));
}

TEST_F(BokehTest, ABrightDotOpensIntoTheAperture)
{
    const int w = 80, h = 80;
    const Image src = dotPicture(w, h);
    loadDisc(68, 32, 14.0f);
    MP_Params p = defaults();
    p.p[5][0] = 1.0f; // scale 0.5
    const Image out = runCopy("MP_calcPixelBokehBlur", w, h, src, p);
    int lit = 0;
    for (size_t i = 0; i < out.size(); i += 3)
        lit += out[i] > 4000;
    // Bokeh size (int)(32 * 1.25) = 40 working pixels, the disc about 17
    // working (35 picture) pixels in radius: on black, which weighs nothing,
    // every pixel whose aperture covers the dot takes the dot's colour.
    EXPECT_GT(lit, 2500);
    EXPECT_LT(lit, 4500);
    // With "Leuchten" 0 every pixel weighs alike: the dot is averaged away.
    p.p[3][0] = 0.0f;
    const Image plain = runCopy("MP_calcPixelBokehBlur", w, h, src, p);
    EXPECT_EQ(MP_temp_table[0], 1.0f);
    EXPECT_EQ(MP_temp_table[65535], 1.0f);
    int litPlain = 0;
    for (size_t i = 0; i < plain.size(); i += 3)
        litPlain += plain[i] > 4000;
    EXPECT_LT(litPlain, lit);
}

TEST_F(BokehTest, SaturationTurnsTheBlurGreyOrKeepsIt)
{
    const int w = 30, h = 24;
    const Image src = testPicture(w, h);
    loadDisc(68, 16, 6.0f);
    MP_Params p = defaults();
    p.p[4][0] = 0.0f; // sigma 1: grey
    const Image grey = runCopy("MP_calcPixelBokehBlur", w, h, src, p);
    for (size_t i = 0; i < grey.size(); i += 3) {
        EXPECT_EQ(grey[i], grey[i + 1]) << i;
        EXPECT_EQ(grey[i], grey[i + 2]) << i;
    }
    p.p[4][0] = 0.5f; // sigma 0: colours kept
    const Image kept = runCopy("MP_calcPixelBokehBlur", w, h, src, p);
    bool coloured = false;
    for (size_t i = 0; i < kept.size(); i += 3)
        coloured |= kept[i] != kept[i + 1];
    EXPECT_TRUE(coloured);
}

TEST_F(BokehTest, ThreadsInPlaceAndMasks)
{
    const int w = 37, h = 150;
    const Image src = testPicture(w, h);
    loadDisc(68, 24, 10.0f);
    MP_UI_SetIdealThreadCount(1);
    const Image one = runCopy("MP_calcPixelBokehBlur", w, h, src, defaults());
    for (int n : {3, 4}) {
        MP_UI_SetIdealThreadCount(n);
        EXPECT_EQ(runCopy("MP_calcPixelBokehBlur", w, h, src, defaults()), one) << n;
    }
    Image a = src;
    MP_Params p = defaults();
    ASSERT_EQ(run("MP_calcPixelBokehBlur", w, h, a, a, p), 0);
    EXPECT_EQ(a, one);
    // Outside every mask the picture stays.
    p = defaults();
    setHidingGeometry(p, 7);
    EXPECT_EQ(runCopy("MP_calcPixelBokehBlur", w, h, src, p), roundTripped(src));
    p = defaults();
    setInertGeometry(p, 7);
    EXPECT_EQ(runCopy("MP_calcPixelBokehBlur", w, h, src, p), one);
}

TEST_F(BokehTest, RunsOfPixelsGiveTheBitsOfSinglePixels)
{
    // A small aperture on a wide picture: most working pixels are gathered
    // eight at a time.
    const int w = 230, h = 70;
    const Image src = testPicture(w, h);
    loadDisc(68, 10, 4.0f);
    g_filterRunWalk = false;
    const Image single = runCopy("MP_calcPixelBokehBlur", w, h, src, defaults());
    g_filterRunWalk = true;
    for (int n : {1, 3, 8}) {
        MP_UI_SetIdealThreadCount(n);
        EXPECT_EQ(runCopy("MP_calcPixelBokehBlur", w, h, src, defaults()), single) << n;
    }
}

TEST_F(BokehTest, HostileSlidersStayBounded)
{
    const int w = 24, h = 18;
    const Image src = testPicture(w, h);
    loadDisc(68, 16, 6.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float v : {nan, 1e30f, -1e30f}) {
        MP_Params p = defaults();
        for (int s = 1; s <= 5; ++s)
            p.p[s][0] = v;
        int r = -9;
        const Image out = runCopy("MP_calcPixelBokehBlur", w, h, src, p, &r);
        EXPECT_EQ(r, 0) << v;
    }
    // Tiny pictures: the working copy keeps at least one pixel.
    for (auto [tw, th] : {std::pair{1, 1}, std::pair{2, 1}}) {
        const Image s = testPicture(tw, th);
        int r = -9;
        runCopy("MP_calcPixelBokehBlur", tw, th, s, defaults(), &r);
        EXPECT_EQ(r, 0);
    }
}

} // namespace
