// The series' remembered state and its geometry.

#include "seriesfixture.h"

#include <cmath>
#include <limits>

using SeriesStateTest = SeriesTest;

TEST_F(SeriesStateTest, RememberedStateDetectsEveryChange)
{
    CExposureSeries s(false);
    CExposure* e = bare(0.4f);
    s.m_vExposures.append(e);
    s.m_strKernelName = "MP_calcHDRfusion";
    s.m_pfParameterValues[4][17] = 0.25f;

    s.RememberState();
    EXPECT_FALSE(s.HasStateChanged(false));
    EXPECT_FALSE(s.HasStateChanged(false));
    EXPECT_FALSE(s.HasStateChanged(true));
    EXPECT_TRUE(s.HasStateChanged(true)); // forgotten

    struct Change {
        const char* what;
        std::function<void()> apply;
    } changes[] = {
        {"parameter", [&] { s.m_pfParameterValues[9][255] = 1.0f; }},
        {"kernel", [&] { s.m_strKernelName = "other"; }},
        {"weight", [&] { e->m_fGlobalWeight += 0.01f; }},
        {"exposure value", [&] { e->m_fExposureValue = 0.7f; }},
        {"luminance", [&] { e->m_fAvgLuminance = 0.41f; }},
        {"active", [&] { e->m_bActive = !e->m_bActive; }},
        {"master", [&] { e->m_bMaster = !e->m_bMaster; }},
        {"synthetic", [&] { e->m_bSynthetic = !e->m_bSynthetic; }},
        {"NaN", [&] { s.m_pfParameterValues[0][0] = std::numeric_limits<float>::quiet_NaN(); }},
    };
    for (const Change& c : changes) {
        s.RememberState();
        c.apply();
        EXPECT_TRUE(s.HasStateChanged(false)) << c.what;
    }
    // A NaN never equals itself.
    s.RememberState();
    EXPECT_TRUE(s.HasStateChanged(false));
}

TEST_F(SeriesStateTest, SeriesWithMoreExposuresThanTheStateAlwaysDiffers)
{
    CExposureSeries s(false);
    s.m_vExposures = {bare(0.2f), bare(0.5f)};
    s.RememberState();
    EXPECT_TRUE(s.HasStateChanged(false));
    EXPECT_TRUE(s.HasStateChanged(true));
    EXPECT_EQ(s.m_sState.m_pExposures[0], nullptr);
}

class SeriesGeometryTest : public SeriesTest {
protected:
    void SetUp() override
    {
        SeriesTest::SetUp();
        MP_UI_SetPreviewSize(0.2f);
    }
    // A 1000 x 800 series of one exposure with its own buffers.
    std::unique_ptr<CExposureSeries> series()
    {
        auto s = std::make_unique<CExposureSeries>(false);
        CExposure* e = exposureOf(rgb8(1000, 800, [](int x, int y) { return unsigned(x * 7 + y * 13) & 0xffffffu; }))
                           .release();
        fill(*s, {e});
        s->SetMaster(e);
        EXPECT_TRUE(s->CreateBuffer());
        return s;
    }
};

TEST_F(SeriesGeometryTest, CropGivesTheRectangleSizeAndNewBuffers)
{
    auto s = series();
    const CExposure* e = s->m_vExposures.first();
    const unsigned short expected[3] = {px(*e, 10, 20)[0], px(*e, 10, 20)[1], px(*e, 10, 20)[2]};
    MP_UI_SetPreviewScalingFactor(0.5f);
    EXPECT_EQ(s->Resize(10, 20, 110, 220), 0);
    EXPECT_EQ(s->m_uiWidth, 100u);
    EXPECT_EQ(s->m_uiHeight, 200u);
    EXPECT_EQ(e->m_uiWidth, 100u);
    EXPECT_EQ(e->m_uiHeight, 200u);
    EXPECT_EQ(std::memcmp(px(*e, 0, 0), expected, 6), 0);
    // 20,000 pixels fit the preview budget: full size, factor 1 (stored once).
    EXPECT_EQ(s->m_uiPreviewWidth, 100u);
    EXPECT_EQ(s->m_uiPreviewHeight, 200u);
    EXPECT_EQ(e->m_uiPreviewWidth, 100u);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactor(), 1.0f);
    ASSERT_NE(s->m_pusBuffer, nullptr);
    std::memset(s->m_pusBuffer, 0, s->PixelCount() * 6); // the new blocks hold the new sizes
    std::memset(s->m_pusPreviewBuffer, 0, s->PreviewPixelCount() * 6);
}

TEST_F(SeriesGeometryTest, CropOutsideTheSeriesIsRefused)
{
    auto s = series();
    for (auto [x0, y0, x1, y1] : {std::array{-1, 0, 10, 10}, std::array{0, 0, 1001, 10}, std::array{5, 5, 5, 10},
                                  std::array{0, 10, 10, 801}, std::array{20, 20, 10, 30}}) {
        EXPECT_EQ(s->Resize(x0, y0, x1, y1), -2);
        EXPECT_EQ(s->m_uiWidth, 1000u);
        EXPECT_EQ(s->m_vExposures.first()->m_uiWidth, 1000u);
    }
}

TEST_F(SeriesGeometryTest, RotationsSwapSizesFlipAndMirrorKeepThem)
{
    auto s = series();
    s->m_uiPreviewWidth = 500; // as the table: the series' own preview size
    s->m_uiPreviewHeight = 400;
    const CExposure* e = s->m_vExposures.first();
    const unsigned short corner = px(*e, 0, 799)[0];
    EXPECT_EQ(s->RotateRight(), 0);
    EXPECT_EQ(s->m_uiWidth, 800u);
    EXPECT_EQ(s->m_uiHeight, 1000u);
    EXPECT_EQ(s->m_uiPreviewWidth, 400u);
    EXPECT_EQ(s->m_uiPreviewHeight, 500u);
    EXPECT_EQ(e->m_uiWidth, 800u);
    EXPECT_EQ(px(*e, 0, 0)[0], corner); // the bottom-left corner comes to the top left
    EXPECT_EQ(s->RotateLeft(), 0);
    EXPECT_EQ(s->m_uiWidth, 1000u);
    EXPECT_EQ(e->m_uiWidth, 1000u);
    const unsigned short right = px(*e, 999, 0)[0];
    EXPECT_EQ(s->Mirror(), 0);
    EXPECT_EQ(px(*e, 0, 0)[0], right);
    const unsigned short bottom = px(*e, 0, 799)[0];
    EXPECT_EQ(s->Flip(), 0);
    EXPECT_EQ(px(*e, 0, 0)[0], bottom);
    EXPECT_EQ(s->m_uiWidth, 1000u);
    EXPECT_EQ(s->m_uiHeight, 800u);
}

TEST_F(SeriesGeometryTest, RecalcPreviewFollowsThePreviewBudget)
{
    auto s = series();
    MP_UI_SetPreviewSize(0.1f);
    ASSERT_TRUE(s->RecalcPreview());
    const CExposure* e = s->m_vExposures.first();
    EXPECT_LE(double(s->m_uiPreviewWidth) * s->m_uiPreviewHeight, 100000.0);
    EXPECT_EQ(e->m_uiPreviewWidth, s->m_uiPreviewWidth);
    EXPECT_EQ(e->m_uiPreviewHeight, s->m_uiPreviewHeight);
    EXPECT_LT(MP_UI_GetPreviewScalingFactor(), 1.0f);
    // The series' own preview buffer has the new size (ASan finds an overrun).
    std::memset(s->m_pusPreviewBuffer, 0, s->PreviewPixelCount() * 6);
}

TEST_F(SeriesGeometryTest, PreviewSeriesFollowsThePreviewArea)
{
    auto s = series();
    MP_UI_SetPreviewScaleMode(1);
    host.previewArea = QSize(150, 400);
    const unsigned pw = s->m_uiPreviewWidth;
    EXPECT_TRUE(s->RecalcPreviewSeries()); // 150 pixels or less: the size stays
    EXPECT_EQ(s->m_uiPreviewWidth, pw);
    host.previewArea = QSize(410, 330);
    EXPECT_TRUE(s->RecalcPreviewSeries());
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewSize(), 0.3f); // 400 x 320 fitted: 0.128 MP, clamped to 0.3
    EXPECT_LE(double(s->m_uiPreviewWidth) * s->m_uiPreviewHeight, 300000.0);
    const CExposure* e = s->m_vExposures.first();
    EXPECT_EQ(e->m_uiPreviewWidth, s->m_uiPreviewWidth);
    // The exposure's preview was rebuilt from its full-size image.
    bool any = false;
    for (size_t i = 0; i < e->PreviewPixelCount() * 3; ++i)
        any |= e->m_pusPreviewBuffer[i] != 0;
    EXPECT_TRUE(any);
}
