// The series' alignment driver, de-ghosting, latitude optimisation and the
// congruence of a candidate image.

#include "seriesfixture.h"

#include "engine/MP_calc.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// A textured image: soft blobs and stripes, so the bitmaps carry structure.
unsigned texture(int x, int y)
{
    const double v = 128.0 + 60.0 * std::sin(x * 0.07) * std::cos(y * 0.05) + 40.0 * std::sin((x + 2 * y) * 0.021);
    const unsigned g = unsigned(std::clamp(v, 0.0, 255.0));
    return (g << 16) | (g << 8) | g;
}

class SeriesAlignTest : public SeriesTest {
protected:
    static CExposure* textured(int w, int h, int dx, int dy, const QString& name)
    {
        auto e = exposureOf(rgb8(w, h, [&](int x, int y) { return texture(x - dx, y - dy); }), name);
        return e ? e.release() : nullptr;
    }
    // A 600 x 520 series of a master and an exposure shifted by (3, -2).
    static bool masterAndShifted(CExposureSeries& s, CExposure*& master, CExposure*& shifted)
    {
        master = textured(600, 520, 0, 0, "m.tif");
        shifted = textured(600, 520, 3, -2, "s.tif");
        if (!master || !shifted)
            return false;
        master->m_bMaster = true;
        fill(s, {master, shifted});
        return true;
    }
};

} // namespace

TEST(SeriesAlignHelpers, SliderValuesBelowTheCentreMapOntoTheUpperRange)
{
    const struct {
        float in, out;
    } cases[] = {{0.0f, 0.2f}, {0.25f, 0.35f}, {0.5f, 0.5f}, {0.7f, 0.7f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(AlignmentSliderValue(c.in), c.out) << c.in;
}

TEST(SeriesAlignHelpers, CropRectangleGrowsToMoreThan499PixelsPerSide)
{
    int l = 300, t = 100, r = 600, b = 900, n = 0;
    AlignmentGrowCropRectangle(2000, 2000, l, t, r, b, &n);
    EXPECT_EQ(n, 100);
    EXPECT_EQ(r - l, 500);
    EXPECT_EQ(b - t, 800);
    // Held to the image at the borders.
    l = 0, t = 0, r = 100, b = 100;
    AlignmentGrowCropRectangle(520, 510, l, t, r, b, &n);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(t, 0);
    EXPECT_LE(r, 520);
    EXPECT_LE(b, 510);
    EXPECT_GT(r - l, 499);
    EXPECT_GT(b - t, 499);
}

TEST(SeriesAlignHelpers, DeGhostBlurAndLatitudeFigures)
{
    EXPECT_NEAR(DeGhostBlurRadiusSum(6000, 4000, 0.5f), 747.8f, 0.01f);
    float lo = 0.40f, hi = 0.45f;
    LatitudeWidenRange(lo, hi);
    EXPECT_NEAR(lo, 0.2171534f, 1e-6f);
    EXPECT_NEAR(hi, 0.6193377f, 1e-6f);
    EXPECT_NEAR(LatitudeTarget(0, 3, 1.7f, lo, hi), 0.2171534f, 1e-6f);
    EXPECT_NEAR(LatitudeTarget(1, 3, 1.7f, lo, hi), 0.3409401f, 1e-6f);
    EXPECT_NEAR(LatitudeTarget(2, 3, 1.7f, lo, hi), 0.6193377f, 1e-6f);
}

TEST_F(SeriesAlignTest, MasterWithSyntheticStaysBitIdenticalAndFeedsTheSynthetic)
{
    CExposureSeries s(false);
    CExposure* master = textured(600, 520, 0, 0, "m.tif");
    ASSERT_NE(master, nullptr);
    master->m_bMaster = true;
    fill(s, {master});
    auto* synthetic = new CExposure;
    ASSERT_TRUE(synthetic->Synthetic(master, 0.7f));
    s.m_vExposures.append(synthetic);
    const size_t n = size_t(600) * 520 * 3;
    const std::vector<unsigned short> before(master->m_pusBuffer, master->m_pusBuffer + n);
    std::memset(synthetic->m_pusBuffer, 0, n * 2);

    s.Align(2, true, true, true, true, true, 0.5f, 0.5f, true, 0, true, nullptr);

    EXPECT_EQ(std::memcmp(before.data(), master->m_pusBuffer, n * 2), 0);
    CExposure expected;
    ASSERT_TRUE(expected.Synthetic(master, 0.7f));
    EXPECT_EQ(std::memcmp(expected.m_pusBuffer, synthetic->m_pusBuffer, n * 2), 0);
    EXPECT_EQ(s.m_uiWidth, 600u);
}

TEST_F(SeriesAlignTest, ShiftedExposureIsAlignedAndReported)
{
    CExposureSeries s(false);
    CExposure *master = nullptr, *shifted = nullptr;
    ASSERT_TRUE(masterAndShifted(s, master, shifted));
    const auto diff = [&](int margin) {
        double sum = 0;
        for (int y = margin; y < 520 - margin; ++y)
            for (int x = margin; x < 600 - margin; ++x)
                sum += std::abs(int(px(*master, x, y)[1]) - int(px(*shifted, x, y)[1]));
        return sum;
    };
    const double before = diff(20);

    s.Align(2, true, false, false, false, false, 0.5f, 0.5f, false, 0, false, nullptr);

    EXPECT_TRUE(progress.HasMessage("s.tif wurde erfolgreich ausgerichtet", 6, 0));
    EXPECT_LT(diff(20), before * 0.2);
}

TEST_F(SeriesAlignTest, OnlyASyntheticExposureGivesNoCandidate)
{
    CExposureSeries s(false);
    CExposure *master = nullptr, *other = nullptr;
    ASSERT_TRUE(masterAndShifted(s, master, other));
    auto* synthetic = new CExposure;
    ASSERT_TRUE(synthetic->Synthetic(master, 0.3f));
    s.m_vExposures.append(synthetic);
    const size_t n = size_t(600) * 520 * 3;
    const std::vector<unsigned short> before(other->m_pusBuffer, other->m_pusBuffer + n);

    s.Align(2, true, false, false, false, false, 0.5f, 0.5f, false, 0, false, synthetic);

    EXPECT_EQ(std::memcmp(before.data(), other->m_pusBuffer, n * 2), 0);
    EXPECT_FALSE(progress.HasMessage("s.tif wurde erfolgreich ausgerichtet", 6, 0));
}

TEST_F(SeriesAlignTest, DeGhostingWithOnlyTheMasterLeavesTheMapsAlone)
{
    CExposureSeries s(false);
    CExposure* master = textured(600, 520, 0, 0, "m.tif");
    ASSERT_NE(master, nullptr);
    master->m_bMaster = true;
    fill(s, {master});
    ASSERT_NE(master->m_psMWeightBuffer, nullptr);
    master->m_psMWeightBuffer[5] = 1234;
    s.CalcDeGhostWeights(0.5f);
    EXPECT_EQ(master->m_psMWeightBuffer[5], 1234);
    const auto e = progress.Entries();
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e.back().kind, CProgressRecorder::eFraction);
    EXPECT_FLOAT_EQ(e.back().fraction, 1.0f);
}

TEST_F(SeriesAlignTest, CongruenceOfACandidate)
{
    CExposureSeries s(false);
    CExposure* master = textured(600, 520, 0, 0, "a.jpg");
    ASSERT_NE(master, nullptr);
    master->m_bMaster = true;
    fill(s, {master});

    std::unique_ptr<CExposure> same(textured(600, 520, 0, 0, "b.jpg"));
    EXPECT_GT(s.CalcCongruence(same.get()), 0.95f);

    std::unique_ptr<CExposure> upper(textured(600, 520, 0, 0, "b.JPG"));
    EXPECT_EQ(s.CalcCongruence(upper.get()), 0.0f);

    std::unique_ptr<CExposure> small(textured(580, 520, 0, 0, "c.jpg"));
    EXPECT_EQ(s.CalcCongruence(small.get()), 0.0f);

    // Same full size but another preview size: no comparison.
    same->m_uiPreviewWidth -= 1;
    EXPECT_EQ(s.CalcCongruence(same.get()), 0.0f);
    same->m_uiPreviewWidth += 1;

    // Dated: 10 minutes away from a bracket of three scores sqrt(0.5).
    for (int i = 0; i < 2; ++i) {
        CExposure* x = textured(600, 520, 0, 0, QString("d%1.jpg").arg(i));
        s.m_vExposures.append(x);
    }
    s.m_vExposures[0]->m_iDateTime = 2000;
    s.m_vExposures[1]->m_iDateTime = 2010;
    s.m_vExposures[2]->m_iDateTime = 2020;
    const float undated = s.CalcCongruence(same.get());
    same->m_iDateTime = 2020 + 600;
    EXPECT_NEAR(s.CalcCongruence(same.get()), undated * std::sqrt(0.5f), 1e-5f);
    same->m_iDateTime = 2000 - 1200;
    EXPECT_EQ(s.CalcCongruence(same.get()), 0.0f);

    CExposureSeries empty(false);
    EXPECT_EQ(empty.CalcCongruence(same.get()), 0.0f);
}

TEST_F(SeriesAlignTest, CongruenceWeightsGiveMasterOneAndOthersTheirSquare)
{
    CExposureSeries s(false);
    CExposure* master = textured(600, 520, 0, 0, "m.tif");
    CExposure* other = textured(600, 520, 40, 30, "o.tif");
    ASSERT_TRUE(master && other);
    master->m_bMaster = true;
    fill(s, {master, other});
    s.m_pMaster = master;
    other->m_fGlobalWeight = 7.0f;
    s.CalcGlobalHDRWeights(3);
    EXPECT_FLOAT_EQ(master->m_fGlobalWeight, 1.0f);
    EXPECT_GT(other->m_fGlobalWeight, 0.0f);
    EXPECT_LT(other->m_fGlobalWeight, 1.0f);
    const float c2 = other->m_fGlobalWeight;
    s.CalcGlobalHDRWeights(4);
    EXPECT_LE(other->m_fGlobalWeight, c2);
    EXPECT_GE(other->m_fGlobalWeight, c2 * 0.5f);
}

TEST_F(SeriesAlignTest, BrushJobsPaintWithTheCurrentTypeAndWrapInPanoramaMode)
{
    const int w = 64, h = 32;
    for (int panorama = 0; panorama < 2; ++panorama) {
        MP_UI_SetPainterPanoramaMode(panorama);
        MP_UI_SetBrushTypeMode(0);
        std::vector<short> map(size_t(w) * h, 0);
        {
            CAlignmentScheduler scheduler(32);
            for (int i = 0; i < 2; ++i) {
                CAlignmentThread* job = scheduler.Enqueue(eAlignBrushPaint);
                job->m_iWidth = w;
                job->m_iHeight = h;
                job->m_pWeightMap = map.data();
                job->m_fBrushX = 1.0f;
                job->m_fBrushY = 16.0f;
                job->m_fBrushRadius = 6.0f;
                job->m_fBrushStrength = 0.5f;
                scheduler.Process();
            }
        }
        EXPECT_EQ(MP_UI_GetBrushTypeMode(), 0);
        EXPECT_GT(map[size_t(16) * w + 1], 0);
        // The stroke wraps onto the right edge only in panorama mode.
        if (panorama)
            EXPECT_GT(map[size_t(16) * w + w - 2], 0);
        else
            EXPECT_EQ(map[size_t(16) * w + w - 2], 0);
    }
    MP_UI_SetPainterPanoramaMode(0);
}

TEST_F(SeriesAlignTest, DeGhostingPaintsTheMovedExposureOnly)
{
    CExposureSeries s(false);
    CExposure* master = textured(600, 520, 0, 0, "m.tif");
    CExposure* moved = textured(600, 520, 0, 0, "o.tif");
    ASSERT_TRUE(master && moved);
    // A bright square in the second exposure only.
    for (unsigned y = 0; y < moved->m_uiPreviewHeight / 3; ++y)
        for (unsigned x = 0; x < moved->m_uiPreviewWidth / 3; ++x)
            for (int c = 0; c < 3; ++c)
                moved->m_pusPreviewBuffer[(size_t(y) * moved->m_uiPreviewWidth + x) * 3 + c] = 65535;
    master->m_bMaster = true;
    fill(s, {master, moved});
    s.CalcDeGhostWeights(0.8f);
    const size_t n = size_t(s.m_uiWidth) * s.m_uiHeight;
    long long masterSum = 0, movedSum = 0;
    for (size_t i = 0; i < n; ++i) {
        masterSum += master->m_psMWeightBuffer[i];
        movedSum += moved->m_psMWeightBuffer[i];
    }
    EXPECT_EQ(masterSum, 0);
    EXPECT_LT(movedSum, 0);
}

TEST_F(SeriesAlignTest, CropShrinksTheSeriesToTheCommonAreaAndThreadsDoNotChangeBits)
{
    std::vector<unsigned short> results[2];
    unsigned sizes[2][2] = {};
    for (int mt = 0; mt < 2; ++mt) {
        MP_UI_SetUseMultithreadingMode(mt);
        CExposureSeries s(false);
        CExposure* master = textured(600, 520, 0, 0, "m.tif");
        CExposure* a = textured(600, 520, 3, -2, "a.tif");
        CExposure* b = textured(600, 520, -4, 1, "b.tif");
        ASSERT_TRUE(master && a && b);
        master->m_bMaster = true;
        fill(s, {master, a, b});
        s.Align(2, true, false, false, false, false, 0.5f, 0.5f, true, 0, false, nullptr);
        sizes[mt][0] = s.m_uiWidth;
        sizes[mt][1] = s.m_uiHeight;
        results[mt].assign(a->m_pusBuffer, a->m_pusBuffer + size_t(a->m_uiWidth) * a->m_uiHeight * 3);
        EXPECT_EQ(a->m_uiWidth, s.m_uiWidth);
        EXPECT_EQ(master->m_uiWidth, s.m_uiWidth);
    }
    MP_UI_SetUseMultithreadingMode(1);
    EXPECT_LT(sizes[1][0], 600u);
    EXPECT_GE(sizes[1][0], 500u);
    EXPECT_LT(sizes[1][1], 520u);
    EXPECT_EQ(sizes[0][0], sizes[1][0]);
    EXPECT_EQ(sizes[0][1], sizes[1][1]);
    EXPECT_TRUE(results[0] == results[1]);
}

TEST_F(SeriesAlignTest, LatitudeNeedsThreeLoadedExposuresAndSpreadsTheirMeans)
{
    const auto mean = [](const CExposureSeries& s, int i) {
        return MP_UI_GetAverageLuminanceFull(s.m_vExposures[i]->m_pusPreviewBuffer, float(s.m_uiPreviewWidth),
                                             float(s.m_uiPreviewHeight));
    };
    {
        CExposureSeries two(false);
        fill(two, {grey(600, 520, 60, 0.2f), grey(600, 520, 200, 0.8f)});
        const std::vector<unsigned short> before(two.m_vExposures[0]->m_pusBuffer,
                                                 two.m_vExposures[0]->m_pusBuffer + size_t(600) * 520 * 3);
        two.OptimizeLatitudeExpose();
        EXPECT_EQ(std::memcmp(before.data(), two.m_vExposures[0]->m_pusBuffer, before.size() * 2), 0);
        EXPECT_TRUE(progress.HasMessage("Belichtungsreihen Optimierung abgeschlossen", 7, 0));
    }
    CExposureSeries s(false);
    fill(s, {grey(600, 520, 40, 0.1f), grey(600, 520, 170, 0.6f), grey(600, 520, 230, 0.9f)});
    const float lo = mean(s, 0), hi = mean(s, 2);
    const float target = LatitudeTarget(1, 3, MP_UI_GetLatitudeOptimizeExponent(), lo, hi);
    ASSERT_GT(std::fabs(mean(s, 1) - target), 0.05f);
    s.OptimizeLatitudeExpose();
    EXPECT_NEAR(mean(s, 1), target, 0.03f);
    EXPECT_NEAR(mean(s, 0), lo, 0.03f);
}

TEST_F(SeriesAlignTest, DialogStepsFollowTheRawSettings)
{
    CExposureSeries s(false);
    CExposure* master = textured(600, 520, 0, 0, "m.tif");
    CExposure* moved = textured(600, 520, 0, 0, "o.tif");
    ASSERT_TRUE(master && moved);
    for (unsigned i = 0; i < moved->m_uiPreviewWidth * 50; ++i)
        for (int c = 0; c < 3; ++c)
            moved->m_pusPreviewBuffer[size_t(i) * 3 + c] = 65535;
    master->m_bMaster = true;
    fill(s, {master, moved});
    settings.values.raw.bDeGhostGroup = true;
    // With an exposure argument de-ghosting is skipped.
    s.AlignAndOptimizeFromDialog(moved);
    EXPECT_FALSE(progress.HasMessage("Ermittle Geisterbilder", 8, 0));
    s.AlignAndOptimizeFromDialog(nullptr);
    EXPECT_TRUE(progress.HasMessage("Ermittle Geisterbilder", 8, 0));
    EXPECT_FALSE(progress.HasMessage("Berechne Bildausrichtung", 6, 0));
}
