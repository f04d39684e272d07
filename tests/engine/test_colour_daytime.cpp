// Time of day and season: Daytime and Yeartime.

#include "colourlightfixture.h"

#include <cmath>
#include <cstring>

namespace {

class ColourDaytimeTest : public ColourTest {};

MP_Params daytimeBlock(float uhrzeit, float mask)
{
    MP_Params p{};
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.p[0][0] = uhrzeit;
    for (int i = 0; i < 6; ++i) {
        p.p[1][2 * i] = 0.2f * static_cast<float>(i);
        p.p[1][2 * i + 1] = mask;
    }
    p.p[2][1] = 100.0f;
    return p;
}

// ---- Tageszeit ---------------------------------------------------------------------

TEST_F(ColourDaytimeTest, HourTables)
{
    EXPECT_FLOAT_EQ(MP_daytimeGamma[11], 1.01f);
    EXPECT_FLOAT_EQ(MP_daytimeGamma[17], 0.90f);
    EXPECT_FLOAT_EQ(MP_daytimeGamma[24], 0.0f);
    EXPECT_FLOAT_EQ(MP_daytimeTemp[11], 0.3538f);
    EXPECT_FLOAT_EQ(MP_daytimeTemp[17], 0.45f);
    EXPECT_FLOAT_EQ(MP_daytimeTemp[24], 0.13f);
}

TEST_F(ColourDaytimeTest, GammaAndTemperatureOfTheHour)
{
    struct Case {
        const char* what;
        float uhrzeit;
        float gamma;
        float kelvin;
    };
    const Case cases[] = {
        // f = 0.9988 between hours 11 and 12
        {"12 h", 0.5f, 0.99998f, 6483.9f},
        // g = 0: 1.995 squared; 0.13 * 15500 + 1000
        {"0 h", 0.0f, 3.980025f, 3015.0f},
        // time 23.9976: hour 23 toward entry 24
        {"24 h", 1.0f, 3.980025f, 3015.0f},
        // just after 11 h: g = 1.01, a slight brightening
        {"11 h", 0.4584f, 0.99005f, 6483.9f},
        // time 5.9994: g = 0.9, 1.0995 squared; t = 0.43
        {"6 h", 0.25f, 1.2089f, 7664.9f},
        // beyond the slider: the last and first hour pairs are extrapolated
        {"36 h", 1.5f, 3.980025f, 3015.0f},
        {"-12 h", -0.5f, 4.9899f, 3015.0f},
    };
    for (const auto& c : cases) {
        float gamma = 0, kelvin = 0;
        MP_calcDaytimeValues(c.uhrzeit, &gamma, &kelvin);
        EXPECT_NEAR(gamma, c.gamma, 2e-3) << c.what;
        EXPECT_NEAR(kelvin, c.kelvin, 1.0) << c.what;
    }
}

TEST_F(ColourDaytimeTest, NightDarkensMidtonesThroughTheGamma)
{
    // 0 h: 3015 K and gamma 3.98 with a full mask; a channel at 0.5 after the
    // temperature gains becomes about 0.063.
    float white[3];
    MP_UI_GetRGBFromTemperatur(&white[0], &white[1], &white[2], 3015.0f);
    MP_Params p = daytimeBlock(0.0f, 1.0f);
    const MP_ColorTempFixed f = MP_colorTempFixed(p.lumr, p.lumg, p.lumb, white[0], white[1], white[2]);
    // Source channels that the gains bring to 32768.
    uint16_t in[3];
    for (int c = 0; c < 3; ++c)
        in[c] = static_cast<uint16_t>(std::ceil(32768.0 * 16384.0 / f.gain[c]));
    auto img = pixels({{in[0], in[1], in[2]}});
    ASSERT_EQ(runByName("MP_calcPixelDaytime", img, 1, 1, p), 0);
    for (int c = 0; c < 3; ++c) {
        const uint32_t e = (f.gain[c] * in[c]) >> 14;
        const double expected = std::pow(e / 65535.0, 3.980025) * 65535.0 * 32767.0 / 32768.0;
        EXPECT_NEAR(img[c], expected, 2) << c;
        EXPECT_NEAR(img[c] / 65535.0, 0.063, 0.002) << c;
    }
}

TEST_F(ColourDaytimeTest, NoonBarelyChangesAGreyPicture)
{
    MP_Params p = daytimeBlock(0.5f, 1.0f);
    const int w = 8, h = 4;
    auto img = solidImage(w, h, 30000, 30000, 30000);
    ASSERT_EQ(runByName("MP_calcPixelDaytime", img, w, h, p), 0);
    for (uint16_t v : img)
        EXPECT_NEAR(v, 30000, 100);
}

TEST_F(ColourDaytimeTest, ZeroMaskLeavesOnlyTheQ15Lowering)
{
    for (float hour : {0.0f, 0.3f, 0.7f}) {
        MP_Params p = daytimeBlock(hour, 0.0f);
        auto img = pixels({{65535, 32768, 1000}});
        ASSERT_EQ(runByName("MP_calcPixelDaytime", img, 1, 1, p), 0);
        EXPECT_EQ(img, pixels({{65533, 32767, 999}})) << hour;
    }
}

TEST_F(ColourDaytimeTest, MaskAndSliderOutsideTheirRangesStayInBounds)
{
    // A flat mask of 1.5 takes the spline's unclamped shortcut: held to 1.
    const int w = 12, h = 6;
    const auto src = picture(w, h);
    auto run = [&](float hour, float mask) {
        MP_Params p = daytimeBlock(hour, mask);
        auto img = src;
        EXPECT_EQ(runByName("MP_calcPixelDaytime", img, w, h, p), 0);
        return img;
    };
    EXPECT_EQ(run(0.2f, 1.5f), run(0.2f, 1.0f));
    EXPECT_EQ(run(0.2f, -2.0f), run(0.2f, 0.0f));
    // 36 h reads the last hour pair, like 24 h (both night, 3015 K)
    EXPECT_EQ(run(1.5f, 1.0f), run(1.0f, 1.0f));
    // a slider that is not a number: nothing read out of bounds, no garbage
    const auto nan = run(NAN, 1.0f);
    for (size_t i = 0; i < nan.size(); ++i)
        EXPECT_LE(nan[i], src[i]) << i;
}

// The reduced worker (several pixels at a time where the processor allows)
// gives the bits of MP_colorTempPixel with the gamma curve, one pixel at a
// time, for rows whose width is no multiple of the group.
TEST_F(ColourDaytimeTest, ReducedWorkerIsBitIdenticalToThePixelFormula)
{
    for (float hour : {0.0f, 0.27f, 0.5f, 0.8f, 1.3f}) {
        for (float mask : {1.0f, 0.6f, 0.0f}) {
            for (int w : {61, 8, 3}) {
                const int h = 7;
                const auto src = picture(w, h);
                MP_Params p = daytimeBlock(hour, mask);
                std::vector<uint16_t> out(src.size());
                ASSERT_EQ(MP_calcPixelDaytime(w, h, const_cast<uint16_t*>(src.data()), out.data(), 6, 6, &p), 0);
                float gamma, kelvin, wr, wg, wb;
                MP_calcDaytimeValues(hour, &gamma, &kelvin);
                MP_UI_GetRGBFromTemperatur(&wr, &wg, &wb, kelvin);
                const MP_ColorTempFixed f = MP_colorTempFixed(p.lumr, p.lumg, p.lumb, wr, wg, wb);
                std::vector<uint16_t> expected(src.size());
                for (size_t i = 0; i < src.size(); i += 3) {
                    uint32_t o[3];
                    MP_colorTempPixel<true>(f, MP_itemp_table, MP_itemp2_table, &src[i], o);
                    for (int ch = 0; ch < 3; ++ch)
                        expected[i + ch] = static_cast<uint16_t>(o[ch]);
                }
                EXPECT_EQ(out, expected) << "hour " << hour << " mask " << mask << " width " << w;
            }
        }
    }
}

// ---- Jahreszeit --------------------------------------------------------------------

TEST_F(ColourDaytimeTest, SeasonTable)
{
    EXPECT_FLOAT_EQ(MP_yeartimeTable[0][3], 0.95f);
    EXPECT_FLOAT_EQ(MP_yeartimeTable[3][1], 0.85f);
    EXPECT_FLOAT_EQ(MP_yeartimeTable[8][2], 0.50f);
    EXPECT_FLOAT_EQ(MP_yeartimeTable[9][0], 0.10f);
    for (int r = 0; r < MP_YEARTIME_ROWS; ++r)
        EXPECT_EQ(MP_yeartimeTable[r][4], MP_yeartimeTable[r][0]) << r;
}

TEST_F(ColourDaytimeTest, SettingsOfTheDay)
{
    struct Case {
        const char* what;
        float tag;
        int column; // the anchor column the values (almost) equal
    };
    const Case cases[] = {
        {"1 January", 0.0f, 0},
        {"spring", 0.25f, 1},       // s = 0.9999
        {"summer", 0.5f, 2},        // s = 1.9998
        {"autumn", 0.75f, 3},       // s = 2.9997
        {"31 December", 1.0f, 4},   // s = 3.9996
        {"beyond, late", 1.0001f, 4},
    };
    for (const auto& c : cases) {
        float v[MP_YEARTIME_ROWS];
        MP_calcYeartimeValues(c.tag, v);
        for (int r = 0; r < MP_YEARTIME_ROWS; ++r)
            EXPECT_NEAR(v[r], MP_yeartimeTable[r][c.column], 4e-4) << c.what << " row " << r;
    }
    // Far outside the slider: extrapolated from the last or first anchor pair,
    // never read beyond the table.
    float late[MP_YEARTIME_ROWS], early[MP_YEARTIME_ROWS];
    MP_calcYeartimeValues(2.0f, late);
    MP_calcYeartimeValues(-1.0f, early);
    // row 7 ("Magenta"): columns 3 and 4 are 0.50 and 0.40; f = 4.9992
    EXPECT_NEAR(late[7], 0.5f - 4.9992f * 0.1f, 1e-4);
    // row 7: columns 0 and 1 are 0.40 and 0.50; f = -3.9996
    EXPECT_NEAR(early[7], 0.4f - 3.9996f * 0.1f, 1e-4);
}

// The three runs of the season operator by hand, on a private block.
std::vector<uint16_t> seasonByHand(const std::vector<uint16_t>& src, int w, int h, const MP_Params& caller)
{
    float v[MP_YEARTIME_ROWS];
    MP_calcYeartimeValues(caller.p[0][0], v);
    float geometry[MP_MAX_PARAMETERSETS];
    std::memcpy(geometry, caller.p[2], sizeof geometry);
    std::vector<uint16_t> in = src, out(src.size());
    MP_Params p = caller;
    for (int k = 0; k < 8; ++k)
        p.p[k][0] = v[k];
    p.p[8][0] = 0.0f;
    p.p[8][1] = 100.0f;
    std::memcpy(p.p[9], geometry, sizeof geometry);
    EXPECT_EQ(MP_calcPixelColorPalette(w, h, in.data(), out.data(), 6, 6, &p), 0);
    p.p[0][0] = v[8];
    for (int i = 0; i < 6; ++i) {
        p.p[1][2 * i] = 0.2f * static_cast<float>(i);
        p.p[1][2 * i + 1] = 1.0f;
    }
    p.p[2][0] = 0.0f;
    p.p[2][1] = 100.0f;
    std::memcpy(p.p[3], geometry, sizeof geometry);
    EXPECT_EQ(MP_calcPixelColorTemperature(w, h, out.data(), out.data(), 6, 6, &p), 0);
    p.p[0][0] = 1.0f;
    p.p[1][0] = 0.0f;
    p.p[2][0] = v[9];
    p.p[3][0] = 0.5f;
    p.p[4][0] = 0.0f;
    p.p[4][1] = 100.0f;
    std::memcpy(p.p[5], geometry, sizeof geometry);
    EXPECT_EQ(MP_calcPixelLightShadow(w, h, out.data(), out.data(), 6, 6, &p), 0);
    return out;
}

MP_Params yeartimeBlock(float tag)
{
    MP_Params p{};
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.p[0][0] = tag;
    p.p[1][1] = 100.0f;
    return p;
}

TEST_F(ColourDaytimeTest, SeasonIsPaletteThenTemperatureThenLightShadow)
{
    const int w = 17, h = 11;
    const auto src = picture(w, h);
    for (float tag : {0.0f, 0.3f, 0.5f, 0.9f}) {
        MP_Params p = yeartimeBlock(tag);
        const auto expected = seasonByHand(src, w, h, p);
        auto img = src;
        ASSERT_EQ(runByName("MP_calcPixelYeartime", img, w, h, p), 0);
        EXPECT_EQ(img, expected) << tag;
        EXPECT_NE(img, src);
    }
}

TEST_F(ColourDaytimeTest, SeasonMasksActInEveryRunAndAgainInTheFinalPass)
{
    const int w = 24, h = 16;
    const auto src = picture(w, h);
    MP_Params p = yeartimeBlock(0.6f);
    setCentreGeometry(p, 2);
    p.p[2][3] = 0.2f; // soft edge: opacities between 0 and 1
    MP_Params caller = p;
    const auto chain = seasonByHand(src, w, h, caller);
    auto img = src;
    ASSERT_EQ(runByName("MP_calcPixelYeartime", img, w, h, p), 0);
    EXPECT_GT(p.geometry_needed, 0);
    // The geometry tables hold the caller's sets: blend the masked chain
    // onto the source once more.
    int partial = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = (static_cast<size_t>(y) * w + x) * 3;
            const float a = MP_calcGeometryMethodOpacity(x, y, w, h, 2, &p);
            uint16_t expected[3];
            if (!(a > 0.0f)) {
                MP_storeRGB48(expected, MP_loadRGB48(&src[i]));
            } else {
                const MP_float3 c0 = MP_loadRGB48(&src[i]);
                const MP_float3 e = MP_calcLayerMethodOpacity(0, c0, MP_loadRGB48(&chain[i]), 1.0f);
                MP_storeRGB48(expected, MP_calcGeometryMethodBlend(c0, e, a));
            }
            partial += a > 0.05f && a < 0.95f;
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(img[i + c], expected[c]) << x << "," << y;
        }
    EXPECT_GT(partial, 0);
}

TEST_F(ColourDaytimeTest, SeasonWithoutMemoryForItsPictureWritesNothing)
{
    // A picture too large to allocate: -1 before any work, the caller's
    // block and the destination unchanged.
    auto img = solidImage(2, 2, 100, 200, 300);
    const auto src = img;
    MP_Params p = yeartimeBlock(0.5f);
    setCentreGeometry(p, 2);
    const MP_Params before = p;
    EXPECT_EQ(MP_calcPixelYeartime(1 << 30, 1 << 30, img.data(), img.data(), 6, 6, &p), -1);
    EXPECT_EQ(MP_calcPixelYeartime(0x7FFFFFFF, 0x7FFFFFFF, img.data(), img.data(), 6, 6, &p), -1);
    EXPECT_EQ(img, src);
    EXPECT_EQ(std::memcmp(&before, &p, sizeof p), 0);
}

} // namespace
