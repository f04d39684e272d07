// The exposure series: lifetime and registration, adding images, order and
// master, accessors, and the HDR calculation.

#include "seriesfixture.h"

#include "document/rescale.h"
#include "engine/hdr/fusion.h"

#include <QFile>
#include <QFileInfo>

#include <climits>
#include <string>

using ExposureSeriesTest = SeriesTest;

TEST_F(ExposureSeriesTest, OnlyTheDocumentSeriesRegistersAndNamesItself)
{
    {
        CExposureSeries document;
        EXPECT_EQ(g_pExposureSeries, &document);
        EXPECT_GE(IProject::SlotOf(&document), 0);
        EXPECT_FLOAT_EQ(document.m_fDynamicRange, 1.0f);
        EXPECT_EQ(document.m_pMaster, nullptr);
        {
            CExposureSeries batch(false);
            EXPECT_EQ(g_pExposureSeries, &document);
            EXPECT_EQ(IProject::SlotOf(&batch), -1);
        }
        EXPECT_EQ(g_pExposureSeries, &document); // the batch series leaves it alone
    }
    EXPECT_EQ(g_pExposureSeries, nullptr);
}

TEST_F(ExposureSeriesTest, RescaleShrinksHugeImagesByStepsOfTheFactor)
{
    float W = 0.0f, H = 0.0f;
    RescaleTargetSize(40000, 30000, 100, W, H);
    EXPECT_EQ(int(W), 30821);
    EXPECT_EQ(int(H), 23116);
    EXPECT_LE(double(int(W)) * int(H), 715827882.0);
    // The wrapper follows the settings' percent.
    settings.values.raw.dScalePercent = 25;
    FIBITMAP* r = CExposureSeries::RescaleFreeImage(FreeImage_Allocate(4000, 3000, 24), -1.0f);
    EXPECT_EQ(FreeImage_GetWidth(r), 2000u);
    EXPECT_EQ(FreeImage_GetHeight(r), 1500u);
    FreeImage_Unload(r);
    EXPECT_EQ(CExposureSeries::RescaleFreeImage(nullptr, -1.0f), nullptr);
}

TEST_F(ExposureSeriesTest, NarrowStripIsRefusedFromItsSidesWithoutRescaling)
{
    struct Case {
        unsigned w, h;
        bool worth;
        int W, H;
    };
    const Case cases[] = {
        {65535, 6, false, 0, 0},        // raised to 500 it would exceed the pixel bound and shrink below 500
        {65535, 20, false, 0, 0},
        {65535, 60, true, 546398, 500}, // 273 megapixels: within the bound
        {400, 300, true, 667, 500},
        {640, 520, true, 640, 520},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        float W = 0.0f, H = 0.0f;
        EXPECT_EQ(RescaleTargetSize(c.w, c.h, 100, W, H), c.worth);
        if (c.worth) {
            EXPECT_EQ(int(W), c.W);
            EXPECT_EQ(int(H), c.H);
        }
    }

    // A greymap of a thousand bytes declaring 65535 x 6 pixels: refused with
    // the resolution message, without rescaling it to hundreds of megapixels.
    QByteArray pgm("P5\n65535 6\n255\n");
    pgm += QByteArray(1066 - pgm.size(), char(0x80));
    {
        QFile f(path("strip.pgm"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(pgm);
    }
    CPeakMemory memory;
    CExposureSeries s;
    QVector<SExposure> records(1);
    records[0].m_strFilePath = path("strip.pgm");
    s.AddSeries(records);
    EXPECT_TRUE(s.m_vExposures.isEmpty());
    EXPECT_TRUE(progress.HasMessage("strip.pgm: Die geladene Bilddatei hat eine zu geringe Auflösung.", 1, 2));
    EXPECT_LT(memory.GrowthMB(), 100);
}

TEST_F(ExposureSeriesTest, MasterIsTheMiddleOfTheUsableRange)
{
    struct Case {
        std::vector<float> luminances;
        float master;
    } cases[] = {
        {{0.05f, 0.3f, 0.6f, 0.95f}, 0.3f},
        {{0.1f, 0.3f, 0.5f}, 0.3f},
        {{0.02f, 0.95f}, 0.95f},
        {{0.6f, 0.1f, 0.3f}, 0.3f}, // the collection is sorted first
    };
    for (const Case& c : cases) {
        CExposureSeries s(false);
        for (float L : c.luminances)
            s.m_vExposures.append(bare(L));
        s.UpdateMaster();
        ASSERT_NE(s.m_pMaster, nullptr);
        EXPECT_FLOAT_EQ(s.m_pMaster->m_fAvgLuminance, c.master);
        int masters = 0;
        for (CExposure* e : s.m_vExposures)
            masters += e->m_bMaster ? 1 : 0;
        EXPECT_EQ(masters, 1);
    }
    // Synthetic exposures are ignored; with none loaded the master stays.
    CExposureSeries s(false);
    s.m_vExposures.append(bare(0.4f, true));
    s.m_vExposures.append(bare(0.8f));
    s.UpdateMaster();
    EXPECT_FLOAT_EQ(s.m_pMaster->m_fAvgLuminance, 0.8f);
    CExposureSeries t(false);
    t.m_vExposures.append(bare(0.4f, true));
    t.UpdateMaster();
    EXPECT_EQ(t.m_pMaster, nullptr);
}

TEST_F(ExposureSeriesTest, SortIsStableAndAccessorsClampTheIndex)
{
    CExposureSeries s(false);
    EXPECT_EQ(s.GetExposureBuffer(0), nullptr);
    EXPECT_EQ(s.GetAWeightBuffer(3), nullptr);
    EXPECT_EQ(s.GetMWeightBuffer(-1), nullptr);
    EXPECT_TRUE(s.GetFileName(0).isEmpty());

    CExposure* a = bare(0.5f);
    CExposure* b = bare(0.2f);
    CExposure* c = bare(0.5f);
    a->m_strFileName = "a";
    b->m_strFileName = "b";
    c->m_strFileName = "c";
    s.m_vExposures = {a, b, c};
    s.Sort();
    EXPECT_EQ(s.GetFileName(0), "b");
    EXPECT_EQ(s.GetFileName(1), "a");
    EXPECT_EQ(s.GetFileName(2), "c");
    EXPECT_EQ(s.GetFileName(-5), "b");
    EXPECT_EQ(s.GetFileName(3), "c");
    EXPECT_EQ(s.GetFileName(99), "c");
    s.ExchangeExposures(0, 0);
    EXPECT_EQ(s.GetFileName(0), "b");
    s.ExchangeExposures(0, 2);
    EXPECT_EQ(s.GetFileName(0), "c");
}

TEST_F(ExposureSeriesTest, AddExposureTakesThreeAndRefusesTheFourth)
{
    CExposureSeries s(false);
    std::vector<CExposure*> list{bare(0.7f), bare(0.2f), bare(0.5f), bare(0.1f)};
    list[0]->m_uiWidth = 640;
    list[0]->m_uiHeight = 480;
    EXPECT_TRUE(s.AddExposure(list[0]));
    EXPECT_TRUE(s.AddExposure(list[1]));
    EXPECT_TRUE(s.AddExposure(list[2]));
    EXPECT_FALSE(s.AddExposure(list[3]));
    EXPECT_EQ(s.m_vExposures.size(), 3);
    EXPECT_EQ(s.m_uiWidth, 640u);
    EXPECT_FLOAT_EQ(s.m_vExposures.first()->m_fAvgLuminance, 0.2f);
    delete list[3]; // not taken: it stays with its caller
}

TEST_F(ExposureSeriesTest, AddRefusesSmallImagesAndFreesTheirBitmap)
{
    CExposureSeries s(false);
    SExposure record;
    record.m_strFilePath = path("small.tif");
    record.m_pBitmap = rgb8(499, 800, [](int, int) { return 0x808080u; });
    EXPECT_FALSE(s.Add(record));
    EXPECT_EQ(record.m_pBitmap, nullptr);
    EXPECT_TRUE(s.m_vExposures.isEmpty());
    EXPECT_TRUE(progress.HasMessage("small.tif: Die geladene Bilddatei hat eine zu geringe Auflösung.", 1, 2));

    record.m_pBitmap = rgb8(520, 510, [](int, int) { return 0x808080u; });
    EXPECT_TRUE(s.Add(record));
    EXPECT_EQ(s.m_uiWidth, 520u);
    // A full series refuses the next one with a notice and frees its bitmap.
    record.m_pBitmap = rgb8(520, 510, [](int, int) { return 0x404040u; });
    EXPECT_TRUE(s.Add(record));
    EXPECT_EQ(record.m_pBitmap, nullptr);
    EXPECT_EQ(s.m_vExposures.size(), 1);
    EXPECT_TRUE(progress.HasMessage("Die maximale Anzahl ladbarer Bilddateien ist erreicht.", 0, 1));
}

TEST_F(ExposureSeriesTest, AddSeriesOfOneImageMakesItTheMasterAndComputes)
{
    ASSERT_TRUE(save(rgb8(640, 520, [](int x, int) { return x < 320 ? 0x303030u : 0xc0c0c0u; }), FIF_TIFF,
                     path("one.tif")));
    CExposureSeries s;
    QVector<SExposure> records(1);
    records[0].m_strFilePath = path("one.tif");
    s.AddSeries(records);
    ASSERT_EQ(s.m_vExposures.size(), 1);
    EXPECT_EQ(s.m_pMaster, s.m_vExposures.first());
    EXPECT_TRUE(s.m_pMaster->m_bMaster);
    EXPECT_TRUE(progress.HasMessage("Die maximale Anzahl ladbarer Bilddateien ist erreicht.", 2, 1));
    for (const auto& entry : progress.Entries())
        EXPECT_NE(entry.type, 2u) << entry.text.toStdString();
    EXPECT_EQ(host.hdrStarts.load(), 1);
    EXPECT_EQ(host.statistics.value("m_iLargestImageLoaded"), 640 * 520);
    ASSERT_NE(s.m_pusPreviewBuffer, nullptr);
    EXPECT_EQ(s.m_iDummyBufferUsers, 0);
    EXPECT_EQ(s.m_pDummyBuffer, nullptr);
}

TEST_F(ExposureSeriesTest, AddSeriesOfTwoImagesLeavesTheSecondUnloaded)
{
    ASSERT_TRUE(save(rgb8(600, 600, [](int, int) { return 0x606060u; }), FIF_TIFF, path("a.tif")));
    ASSERT_TRUE(save(rgb8(600, 600, [](int, int) { return 0x202020u; }), FIF_TIFF, path("b.tif")));
    CExposureSeries s;
    QVector<SExposure> records(2);
    records[0].m_strFilePath = path("a.tif");
    records[1].m_strFilePath = path("b.tif");
    s.AddSeries(records);
    ASSERT_EQ(s.m_vExposures.size(), 1);
    EXPECT_EQ(s.m_vExposures.first()->m_strFileName, "a.tif");
    EXPECT_EQ(records[1].m_pBitmap, nullptr);
    EXPECT_TRUE(progress.HasMessage("Die maximale Anzahl ladbarer Bilddateien ist erreicht.", 2, 1));
    EXPECT_TRUE(progress.HasMessage("Es konnten nicht alle Bilder geladen werden.", 2, 2));
}

TEST_F(ExposureSeriesTest, MergedFilenameJoinsTheNamesWithoutTheirCommonPrefix)
{
    struct Case {
        std::vector<const char*> names;
        int max;
        const char* expected;
    } cases[] = {
        {{"IMG_4711.jpg", "img_4712.tif"}, 100, "IMG_4711_img_4712"},
        {{"IMG_4712.jpg", "IMG_4711.jpg"}, 100, "IMG_4711_2"},
        {{"charlie.tif", "alpha.tif", "bravo.tif"}, 5, "alpha_bravo___charlie"},
        {{"photo.raw.tif"}, 100, "photo.raw"},
        {{"noext"}, 100, "noext"},
    };
    for (const Case& c : cases) {
        CExposureSeries s(false);
        for (const char* n : c.names) {
            CExposure* e = bare(0.5f);
            e->m_strFileName = n;
            s.m_vExposures.append(e);
        }
        EXPECT_EQ(s.GetMergedFilename(c.max), c.expected);
    }
    // Synthetic exposures do not count; no loaded exposure gives nothing.
    CExposureSeries s(false);
    s.m_vExposures.append(bare(0.5f, true));
    s.m_vExposures.first()->m_strFileName = "x.tif";
    EXPECT_TRUE(s.GetMergedFilename(100).isEmpty());
    EXPECT_TRUE(CExposureSeries::caseInsensitiveLessThan("abc", "ABD"));
    EXPECT_FALSE(CExposureSeries::caseInsensitiveLessThan("ABD", "abc"));
}

// ---- HDR ------------------------------------------------------------------------

class SeriesHDRTest : public SeriesTest {
protected:
    void SetUp() override
    {
        SeriesTest::SetUp();
        MP_UI_SetPreviewSize(0.2f);
    }
    // A document-like series of one loaded exposure, master, 700 x 600.
    std::unique_ptr<CExposureSeries> one(float weight = 0.5f)
    {
        auto s = std::make_unique<CExposureSeries>(false);
        CExposure* e = grey(700, 600, 120, 0.45f);
        e->m_fGlobalWeight = weight;
        fill(*s, {e});
        s->SetMaster(e);
        return s;
    }
};

TEST_F(SeriesHDRTest, GlobalWeightMapsOntoTheAutomaticWeight)
{
    for (auto [weight, expected] : {std::pair{0.0f, 16384}, std::pair{1.0f, 65535}}) {
        auto s = one(weight);
        settings.values.bPreviewMode = true;
        ASSERT_TRUE(s->HDR(true));
        const CExposure* e = s->m_vExposures.first();
        EXPECT_EQ(e->m_pusAWeightPreviewBuffer[0], expected);
        EXPECT_EQ(e->m_pusAWeightPreviewBuffer[e->PreviewPixelCount() - 1], expected);
    }
}

TEST_F(SeriesHDRTest, ReferenceIsTheMasterOrTheDarkerActiveExposure)
{
    struct Case {
        float a, b;
        int expected; // index of the exposure whose image the slot carries
    } cases[] = {{0.3f, 0.6f, 0}, {0.6f, 0.7f, 1}};
    for (const Case& c : cases) {
        CExposureSeries s(false);
        CExposure* master = grey(520, 520, 10, 0.1f);
        CExposure* x = grey(520, 520, 20, c.a);
        CExposure* y = grey(520, 520, 30, c.b);
        fill(s, {master, x, y});
        s.SetMaster(master);
        master->m_bActive = false;
        MP_FusionParams desc;
        EXPECT_EQ(s.FillFusionDescriptor(desc, false, 0.5f), 2);
        const CExposure* want = c.expected == 0 ? x : y;
        EXPECT_EQ(desc.reference, want->m_pusBuffer);
        EXPECT_EQ(desc.image, want->m_pusBuffer);
        EXPECT_EQ(desc.weight_auto, want->m_pusAWeightBuffer);
        EXPECT_FLOAT_EQ(desc.exposure_luminance, want->m_fAvgLuminance);
        master->m_bActive = true;
        s.FillFusionDescriptor(desc, true, 0.5f);
        EXPECT_EQ(desc.image, master->m_pusPreviewBuffer); // the active master holds the slot
        EXPECT_EQ(desc.width, int(s.m_uiPreviewWidth));
    }
}

TEST_F(SeriesHDRTest, PreviewModeRunsOnePassFullSizeTwoWithMessagesOnlyInTheLast)
{
    for (bool previewMode : {true, false}) {
        auto s = one();
        settings.values.bPreviewMode = previewMode;
        progress.Clear();
        CKernelRecorder kernels(true);
        ASSERT_TRUE(s->HDR(true));
        int weightRuns = 0;
        for (const auto& n : kernels.Names())
            weightRuns += n == "MP_calcPixelHDRaverage" ? 1 : 0;
        EXPECT_EQ(weightRuns, previewMode ? 1 : 2);
        int starts = 0;
        for (const QString& m : progress.Messages())
            starts += m == "Berechne HDR-Bild" ? 1 : 0;
        EXPECT_EQ(starts, 1);
        EXPECT_TRUE(progress.HasMessage("HDR-Berechnung abgeschlossen", 3, 0));
        EXPECT_EQ(settings.values.bPreviewMode, previewMode); // restored
        EXPECT_EQ(MP_UI_GetIsCalculatingMode(), 0);
        if (!previewMode) {
            ASSERT_NE(s->m_pusBuffer, nullptr);
            // The fused full-size result follows the exposure (one slot,
            // weights normalised in 13 bits).
            const unsigned short* in = s->m_vExposures.first()->m_pusBuffer;
            EXPECT_NEAR(s->m_pusBuffer[0], in[0], 8);
            EXPECT_NEAR(s->m_pusBuffer[s->PixelCount() * 3 - 1], in[s->PixelCount() * 3 - 1], 8);
        }
    }
}

TEST_F(SeriesHDRTest, UnchangedSeriesIsNotRecomputedAndSettingsStay)
{
    auto s = one();
    settings.values.bPreviewMode = true;
    MP_UI_SetPanoramaMode(0);
    MP_UI_SetPainterPanoramaMode(1);
    s->RememberState();
    EXPECT_FALSE(s->HDR(false));
    EXPECT_EQ(MP_UI_GetPanoramaMode(), 0);
    EXPECT_EQ(host.hdrStarts.load(), 0);
    // The state was forgotten: the next call computes.
    EXPECT_TRUE(s->HDR(false));
    EXPECT_EQ(MP_UI_GetPanoramaMode(), 0);
    EXPECT_EQ(host.hdrStarts.load(), 1);
}

TEST_F(SeriesHDRTest, NoActiveExposureComputesNothing)
{
    auto s = one();
    s->m_vExposures.first()->m_bActive = false;
    settings.values.bPreviewMode = false;
    EXPECT_FALSE(s->HDR(true));
    EXPECT_EQ(s->m_pusBuffer, nullptr);
    EXPECT_EQ(settings.values.bPreviewMode, false);
    CExposureSeries empty(false);
    EXPECT_FALSE(empty.HDR(true));
}

TEST_F(SeriesHDRTest, FusionIsTheSameWithAndWithoutMultithreading)
{
    std::vector<unsigned short> results[2];
    for (int mt : {1, 0}) {
        MP_UI_SetUseMultithreadingMode(mt);
        auto s = one();
        for (size_t i = 0; i < s->m_vExposures.first()->PixelCount(); ++i)
            s->m_vExposures.first()->m_psMWeightBuffer[i] = short(i % 97);
        settings.values.bPreviewMode = false;
        ASSERT_TRUE(s->HDR(true));
        results[mt].assign(s->m_pusBuffer, s->m_pusBuffer + s->PixelCount() * 3);
    }
    EXPECT_EQ(results[0], results[1]);
}

TEST_F(SeriesHDRTest, HeatmapModeReplacesTheResultByTheLuminanceMap)
{
    auto s = one();
    settings.values.bPreviewMode = true;
    ASSERT_TRUE(s->HDR(true));
    std::vector<unsigned short> plain(s->m_pusPreviewBuffer, s->m_pusPreviewBuffer + s->PreviewPixelCount() * 3);
    MP_UI_SetHeatmapMode(1);
    ASSERT_TRUE(s->HDR(true));
    EXPECT_TRUE(progress.HasMessage("Erzeuge Luminanz-Karte", 3, 0));
    EXPECT_NE(std::memcmp(plain.data(), s->m_pusPreviewBuffer, plain.size() * 2), 0);
}

TEST_F(SeriesHDRTest, RemovingTheMasterPicksANewOneAndRecomputes)
{
    CExposureSeries s(false);
    CExposure* a = grey(520, 520, 60, 0.3f);
    CExposure* b = grey(520, 520, 90, 0.5f);
    fill(s, {a, b});
    s.UpdateMaster();
    ASSERT_EQ(s.m_pMaster, a);
    settings.values.bPreviewMode = true;
    s.Remove(a, true, false); // master protected: nothing
    EXPECT_EQ(s.m_vExposures.size(), 2);
    s.Remove(a, true, true);
    ASSERT_EQ(s.m_vExposures.size(), 1);
    EXPECT_EQ(s.m_pMaster, b);
    EXPECT_TRUE(b->m_bMaster);
    EXPECT_EQ(host.hdrStarts.load(), 1);
    s.Remove(b, false, true); // handed back to the caller
    EXPECT_TRUE(s.m_vExposures.isEmpty());
    EXPECT_EQ(s.m_pMaster, nullptr);
    EXPECT_FALSE(b->m_bMaster);
    EXPECT_EQ(host.hdrStarts.load(), 1);
    delete b;
}

TEST_F(SeriesHDRTest, SyntheticOnAFullInteractiveSeriesAddsNothing)
{
    auto s = one();
    EXPECT_TRUE(s->AddSynthetic(nullptr, 0.7f, true, true));
    EXPECT_EQ(s->m_vExposures.size(), 1);
    // The master cannot be turned synthetic.
    EXPECT_TRUE(s->AddSynthetic(s->m_pMaster, 0.7f, true, true));
    EXPECT_FALSE(s->m_pMaster->m_bSynthetic);
    EXPECT_EQ(s->m_iDummyBufferUsers, 0);
}

TEST_F(ExposureSeriesTest, SeamsClampStatisticsAndDefaultToLosslessSaves)
{
    CSeriesSeams::HandleStatistic("m_iLargestImageLoaded", 100000LL * 100000LL);
    EXPECT_EQ(host.statistics.value("m_iLargestImageLoaded"), INT_MAX);
    host.saveMode = 8;
    EXPECT_EQ(CSeriesSeams::SaveMode(), 8);
    ISeriesMainWindow* previous = CSeriesSeams::SetMainWindow(nullptr);
    EXPECT_EQ(CSeriesSeams::SaveMode(), 1);
    CSeriesSeams::MarkHDRStarted(); // no main window: nothing happens
    CSeriesSeams::SetMainWindow(previous);
}
