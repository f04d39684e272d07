// What every colour-temperature, palette and time-of-day driver shares: runs
// by kernel name at the catalogue defaults, in place and with separate
// buffers, on any thread count, and the full worker's tail.

#include "colourlightfixture.h"

#include <string>

namespace {

class ColourDrivers : public ColourTest {};

using SettingsFn = void (*)(MP_Params&);

void flatMask(MP_Params& p, int slot)
{
    for (int i = 0; i < 6; ++i) {
        p.p[slot][2 * i] = 0.2f * static_cast<float>(i);
        p.p[slot][2 * i + 1] = 1.0f;
    }
}

// ---- Catalogue defaults ----------------------------------------------------------

void defColorTemperature(MP_Params& p)
{
    p.p[0][0] = 0.353851852f;
    flatMask(p, 1);
    p.p[2][1] = 100.0f;
}
void defWhitebalance(MP_Params& p)
{
    p.p[0][2] = p.p[0][3] = p.p[0][4] = 1.0f;
    p.p[1][1] = 100.0f;
}
void defGammaColor(MP_Params& p)
{
    p.p[0][0] = p.p[1][0] = p.p[2][0] = 0.5f;
    p.p[3][1] = 100.0f;
}
void defSepia(MP_Params& p)
{
    flatMask(p, 0);
    p.p[1][2] = 0.9f;
    p.p[1][3] = 0.8f;
    p.p[1][4] = 0.6f;
    p.p[2][1] = 100.0f;
}
void defTiltColor(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][0] = 0.5f;
    p.p[2][0] = 0.1f;
    p.p[2][1] = 0.40f;
    p.p[2][2] = 0.9f;
    p.p[2][3] = 0.60f;
    p.p[3][2] = 0.90f;
    p.p[3][3] = 0.80f;
    p.p[3][4] = 0.45f;
    p.p[4][1] = 100.0f;
}
void defColorPalette(MP_Params& p)
{
    for (int k = 0; k < 8; ++k)
        p.p[k][0] = 0.5f;
    p.p[8][1] = 100.0f;
}
void defC64(MP_Params& p)
{
    p.p[0][0] = 0.2222f;
    p.p[1][1] = 100.0f;
}
void defUnderWater(MP_Params& p)
{
    p.p[0][0] = 0.3f;
    p.p[1][1] = 100.0f;
}

// ---- Settings that change the picture ----------------------------------------------

void workColorTemperature(MP_Params& p)
{
    defColorTemperature(p);
    p.p[0][0] = 0.8f;
    const float y[6] = {0.2f, 0.5f, 0.7f, 0.9f, 1.0f, 1.0f};
    for (int i = 0; i < 6; ++i)
        p.p[1][2 * i + 1] = y[i];
}
void workWhitebalance(MP_Params& p)
{
    defWhitebalance(p);
    p.p[0][2] = 0.7f;
    p.p[0][4] = 0.9f;
}
void workGammaColor(MP_Params& p)
{
    defGammaColor(p);
    p.p[0][0] = 0.7f;
    p.p[2][0] = 0.2f;
}
void workColorBalance(MP_Params& p)
{
    defGammaColor(p);
    p.p[0][0] = 0.7f;
    p.p[1][0] = 0.4f;
}
void workSepia(MP_Params& p)
{
    defSepia(p);
    const float y[6] = {1.0f, 0.8f, 0.6f, 0.4f, 0.2f, 0.0f};
    for (int i = 0; i < 6; ++i)
        p.p[0][2 * i + 1] = y[i];
}
void workColorPalette(MP_Params& p)
{
    defColorPalette(p);
    p.p[0][0] = 0.9f;
    p.p[3][0] = 0.2f;
    p.p[4][0] = 0.8f;
}

void defDaytime(MP_Params& p)
{
    p.p[0][0] = 0.65f;
    flatMask(p, 1);
    p.p[2][1] = 100.0f;
}
void workDaytime(MP_Params& p)
{
    defDaytime(p);
    p.p[0][0] = 0.3f;
    const float y[6] = {0.3f, 0.6f, 0.8f, 1.0f, 1.0f, 0.9f};
    for (int i = 0; i < 6; ++i)
        p.p[1][2 * i + 1] = y[i];
}

void defYeartime(MP_Params& p)
{
    p.p[0][0] = 0.5f;
    p.p[1][1] = 100.0f;
}
void workYeartime(MP_Params& p)
{
    defYeartime(p);
    p.p[0][0] = 0.8f;
}

struct Kernel {
    const char* name;
    SettingsFn defaults;
    SettingsFn working;
    int combo;
    int geometry;
    // What the full worker with an inert mask gives against the reduced one:
    // the same, or the reduced result through the working colour and back.
    enum { Same, RoundTrip, Close } full;
    // The defaults leave the picture as it is: the dispatcher skips the run.
    bool neutralAtDefaults;
};

const Kernel kKernels[] = {
    {"MP_calcPixelColorTemperature", defColorTemperature, workColorTemperature, 2, 3, Kernel::RoundTrip, true},
    {"MP_calcPixelWhitebalance", defWhitebalance, workWhitebalance, 1, 2, Kernel::Close, true},
    {"MP_calcPixelGammaColor", defGammaColor, workGammaColor, 3, 4, Kernel::Same, false},
    {"MP_calcPixelColorBalance", defGammaColor, workColorBalance, 3, 4, Kernel::Same, true},
    {"MP_calcPixelSepia", defSepia, workSepia, 2, 3, Kernel::Same, false},
    {"MP_calcPixelTiltColor", defTiltColor, defTiltColor, 4, 5, Kernel::Same, false},
    {"MP_calcPixelColorPalette", defColorPalette, workColorPalette, 8, 9, Kernel::Same, true},
    {"MP_calcPixelC64", defC64, defC64, 1, 2, Kernel::Same, false},
    {"MP_calcPixelUnderWater", defUnderWater, defUnderWater, 1, 2, Kernel::RoundTrip, false},
    {"MP_calcPixelDaytime", defDaytime, workDaytime, 2, 3, Kernel::RoundTrip, false},
    // The inert set reaches the inner runs too, which then take their full workers.
    {"MP_calcPixelYeartime", defYeartime, workYeartime, 1, 2, Kernel::Close, false},
};

class EveryColourDriver : public ColourTest, public ::testing::WithParamInterface<Kernel> {
protected:
    static constexpr int kW = 23, kH = 19;

    MP_Params settings(SettingsFn s) const
    {
        MP_Params p = block();
        s(p);
        return p;
    }
};

TEST_P(EveryColourDriver, RunsByNameAtItsCatalogueDefaults)
{
    const Kernel& k = GetParam();
    auto img = picture(kW, kH);
    const auto src = img;
    MP_Params p = settings(k.defaults);
    ASSERT_EQ(runByName(k.name, img, kW, kH, p), 0);
    if (k.neutralAtDefaults)
        EXPECT_EQ(img, src);
    else
        EXPECT_NE(img, src);
}

TEST_P(EveryColourDriver, OneBufferGivesTheSameAsTwo)
{
    const Kernel& k = GetParam();
    const auto src = picture(kW, kH);
    auto in = src;
    std::vector<uint16_t> out(src.size(), 0);
    MP_Params p1 = settings(k.working);
    ASSERT_EQ(runByName(k.name, in, out, kW, kH, p1), 0);
    EXPECT_EQ(in, src);
    auto img = src;
    MP_Params p2 = settings(k.working);
    ASSERT_EQ(runByName(k.name, img, kW, kH, p2), 0);
    EXPECT_EQ(img, out);
    EXPECT_NE(img, src);
}

TEST_P(EveryColourDriver, ThreadCountDoesNotChangeTheResult)
{
    const Kernel& k = GetParam();
    std::vector<uint16_t> results[3];
    const int threads[3] = {1, 3, 4};
    for (int i = 0; i < 3; ++i) {
        MP_UI_SetIdealThreadCount(threads[i]);
        results[i] = picture(kW, kH);
        MP_Params p = settings(k.working);
        ASSERT_EQ(runByName(k.name, results[i], kW, kH, p), 0);
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], results[2]);
}

TEST_P(EveryColourDriver, InertGeometrySelectsTheFullWorkerWithTheSameEffect)
{
    const Kernel& k = GetParam();
    auto reduced = picture(kW, kH);
    MP_Params p = settings(k.working);
    ASSERT_EQ(runByName(k.name, reduced, kW, kH, p), 0);
    auto full = picture(kW, kH);
    MP_Params q = settings(k.working);
    setInertGeometry(q, k.geometry);
    ASSERT_EQ(runByName(k.name, full, kW, kH, q), 0);
    EXPECT_GT(q.geometry_needed, 0);
    for (size_t i = 0; i < full.size(); ++i) {
        switch (k.full) {
        case Kernel::Same:
            ASSERT_EQ(full[i], reduced[i]) << i;
            break;
        case Kernel::RoundTrip:
            ASSERT_EQ(full[i], roundTrip(reduced[i])) << i;
            break;
        case Kernel::Close:
            ASSERT_NEAR(full[i], reduced[i], 3) << i;
            break;
        }
    }
}

TEST_P(EveryColourDriver, ZeroOpacityGivesTheSourceBack)
{
    const Kernel& k = GetParam();
    auto img = picture(kW, kH);
    const auto src = img;
    MP_Params p = settings(k.working);
    setCombo(p, k.combo, 0.0f, 0.0f);
    ASSERT_EQ(runByName(k.name, img, kW, kH, p), 0);
    for (size_t i = 0; i < img.size(); ++i)
        ASSERT_EQ(img[i], roundTrip(src[i])) << i;
}

TEST_P(EveryColourDriver, BlendModeMixesTheEffectIn)
{
    // Mode 2 (darken): never brighter than the source (beyond the round trip).
    const Kernel& k = GetParam();
    auto img = picture(kW, kH);
    const auto src = img;
    MP_Params p = settings(k.working);
    setCombo(p, k.combo, 2.0f, 100.0f);
    ASSERT_EQ(runByName(k.name, img, kW, kH, p), 0);
    for (size_t i = 0; i < img.size(); ++i)
        ASSERT_LE(img[i], src[i]) << i;
    EXPECT_NE(img, src);
}

TEST_P(EveryColourDriver, GeometryMaskKeepsTheCorners)
{
    const Kernel& k = GetParam();
    auto img = picture(kW, kH);
    const auto src = img;
    MP_Params p = settings(k.working);
    setCentreGeometry(p, k.geometry);
    ASSERT_EQ(runByName(k.name, img, kW, kH, p), 0);
    const size_t corners[] = {0, static_cast<size_t>(kW - 1) * 3, static_cast<size_t>(kH - 1) * kW * 3,
                              img.size() - 3};
    for (size_t c : corners)
        for (size_t i = c; i < c + 3; ++i) {
            // C64 keeps the source pixel itself, the frame writes it back
            // through the working colour.
            if (std::string(k.name) == "MP_calcPixelC64")
                EXPECT_EQ(img[i], src[i]) << i;
            else
                EXPECT_EQ(img[i], roundTrip(src[i])) << i;
        }
    const size_t centre = (static_cast<size_t>(kH / 2) * kW + kW / 2) * 3;
    MP_Params q = settings(k.working);
    auto plain = src;
    ASSERT_EQ(runByName(k.name, plain, kW, kH, q), 0);
    EXPECT_NEAR(img[centre], plain[centre], 2);
}

INSTANTIATE_TEST_SUITE_P(Colour, EveryColourDriver, ::testing::ValuesIn(kKernels),
                         [](const ::testing::TestParamInfo<Kernel>& info) {
                             return std::string(info.param.name).substr(12);
                         });

TEST_F(ColourDrivers, GeometryWithoutMemoryReturnsMinusOneAndWritesNothing)
{
    for (const Kernel& k : kKernels) {
        MP_Params p = block();
        k.working(p);
        setCentreGeometry(p, k.geometry);
        auto img = picture(6, 5);
        const auto src = img;
        MP_geometryFreeBuffers();
        MP_geometryTestFailAllocation(0);
        EXPECT_EQ(runByName(k.name, img, 6, 5, p), -1) << k.name;
        MP_geometryTestFailAllocation(-1);
        EXPECT_EQ(img, src) << k.name;
    }
}

} // namespace
