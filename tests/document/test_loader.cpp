// The image loader: batches of threads, results in enqueue order, check mode,
// files that are no images, EXIF rotation, non-ASCII paths, RAW branch.

#include "documentfixture.h"
#include "exifwriter.h"

#include "document/imageloader.h"

#include <cmath>

namespace {

class LoaderTest : public DocumentTest {
protected:
    // A PNG whose width tells which file it is.
    QString png(const QString& name, int width)
    {
        const QString file = path(name);
        EXPECT_TRUE(save(rgb8(width, 8, [](int, int) { return 0x336699u; }), FIF_PNG, file));
        return file;
    }
};

} // namespace

TEST_F(LoaderTest, NoFileReturnsAtOnce)
{
    CImageLoader loader;
    loader.Load();
    EXPECT_TRUE(loader.m_vecBitmaps.empty());
    EXPECT_TRUE(loader.m_vecPreviewLuminances.empty());
    EXPECT_TRUE(progress.HasMessage("Ladevorgang", 1, 0));
    EXPECT_TRUE(loader.AllFinished());
    EXPECT_FALSE(loader.HasNext());
}

TEST_F(LoaderTest, NineFilesInBatchesOfFourKeepEnqueueOrder)
{
    CImageLoader loader;
    loader.m_iMaxThreads = 4;
    for (int i = 0; i < 9; ++i)
        loader.Enqueue(png(QString("f%1.png").arg(i), 10 + i), true);
    EXPECT_TRUE(loader.HasNext());
    loader.Load();
    ASSERT_EQ(loader.m_vecBitmaps.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        ASSERT_NE(loader.m_vecBitmaps[i], nullptr);
        EXPECT_EQ(FreeImage_GetWidth(loader.m_vecBitmaps[i]), unsigned(10 + i));
        EXPECT_EQ(loader.m_vecPreviewLuminances[i], -1.0f);
        FreeImage_Unload(loader.m_vecBitmaps[i]);
    }
    EXPECT_TRUE(loader.m_vecThreads.empty());
    EXPECT_FALSE(loader.HasNext());

    // Starts between waits: 4, 4, 1.
    std::vector<int> batches;
    int started = 0;
    for (const auto& e : progress.Entries()) {
        if (e.kind == CProgressRecorder::eMessage && e.text.startsWith("Lade Bild: ")) {
            ++started;
        } else if (e.kind == CProgressRecorder::eFraction && started) {
            batches.push_back(started);
            started = 0;
        }
    }
    EXPECT_EQ(batches, (std::vector<int>{4, 4, 1}));
    EXPECT_EQ(progress.Entries().back().fraction, 1.0f);
    EXPECT_TRUE(progress.HasMessage("Lade Bild: f0.png", 1, 0));
}

TEST_F(LoaderTest, TextFileCheckModeAndRawBranch)
{
    const QString text = path("notes.txt");
    const QString fakeRaw = path("x.cr2");
    for (const QString& f : {text, fakeRaw}) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is no picture at all\n");
    }
    const QString good = png("good.png", 12);

    CImageLoader check;
    check.Enqueue(good, false);
    check.Enqueue(text, false);
    check.Load();
    ASSERT_EQ(check.m_vecBitmaps.size(), 2u);
    EXPECT_EQ(check.m_vecBitmaps[0], CLoadThread::CheckMarker());
    EXPECT_EQ(check.m_vecBitmaps[1], nullptr);
    EXPECT_TRUE(progress.HasMessage("Prüfe Datei: good.png", 1, 0));
    EXPECT_TRUE(progress.HasMessage("Datei ist kein Bild: notes.txt", 1, 2));

    // A text file named like a RAW file takes the RAW branch: null, NaN.
    const int hdrFlag = MP_UI_GetLoadedIsHDRMode();
    CImageLoader load;
    load.Enqueue(fakeRaw, true);
    load.Enqueue(good, true);
    load.Load();
    ASSERT_EQ(load.m_vecBitmaps.size(), 2u);
    EXPECT_EQ(load.m_vecBitmaps[0], nullptr);
    EXPECT_TRUE(std::isnan(load.m_vecPreviewLuminances[0]));
    ASSERT_NE(load.m_vecBitmaps[1], nullptr);
    FreeImage_Unload(load.m_vecBitmaps[1]);
    EXPECT_EQ(MP_UI_GetLoadedIsHDRMode(), hdrFlag); // loader threads leave it

    // The series' step with such a result: no exposure, a message.
    CExposure e;
    EXPECT_FALSE(e.Load(fakeRaw, nullptr));
}

TEST_F(LoaderTest, OrientationSixComesBackUprightWithSidesSwapped)
{
    FIBITMAP* b = rgb8(64, 32, [](int x, int) { return x < 8 ? 0xFFFFFFu : 0u; });
    ASSERT_TRUE(attachExifRaw(b, standardExifBlock(6)));
    const QString file = path("turned.jpg");
    ASSERT_TRUE(save(b, FIF_JPEG, file, JPEG_QUALITYSUPERB));

    CImageLoader loader;
    loader.Enqueue(file, true);
    loader.Load();
    ASSERT_EQ(loader.m_vecBitmaps.size(), 1u);
    FIBITMAP* loaded = loader.m_vecBitmaps[0];
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(loaded), 32u);
    EXPECT_EQ(FreeImage_GetHeight(loaded), 64u);
    auto e = exposureOf(loaded, file);
    ASSERT_TRUE(e);
    // The white left band of the stored image is the top of the upright one.
    EXPECT_GT(px(*e, 16, 2)[0], 60000);
    EXPECT_LT(px(*e, 16, 60)[0], 5000);
}

TEST_F(LoaderTest, NonAsciiPathLoads)
{
    const QString file = png(QString::fromUtf8("Grüße aus Köln – 写真.png"), 21);
    CImageLoader loader;
    loader.Enqueue(file, true);
    loader.Load();
    ASSERT_EQ(loader.m_vecBitmaps.size(), 1u);
    ASSERT_NE(loader.m_vecBitmaps[0], nullptr);
    EXPECT_EQ(FreeImage_GetWidth(loader.m_vecBitmaps[0]), 21u);
    FreeImage_Unload(loader.m_vecBitmaps[0]);
}

TEST_F(LoaderTest, LoadNextTakesOneFile)
{
    CImageLoader loader;
    loader.Enqueue(png("a.png", 11), true);
    loader.Enqueue(png("b.png", 13), true);
    ASSERT_TRUE(loader.HasNext());
    loader.LoadNext();
    ASSERT_EQ(loader.m_vecBitmaps.size(), 1u);
    EXPECT_EQ(FreeImage_GetWidth(loader.m_vecBitmaps[0]), 11u);
    EXPECT_EQ(loader.m_vecThreads[0], nullptr);
    EXPECT_TRUE(loader.HasNext());
    loader.LoadNext();
    EXPECT_FALSE(loader.HasNext());
    ASSERT_EQ(loader.m_vecBitmaps.size(), 2u);
    EXPECT_EQ(FreeImage_GetWidth(loader.m_vecBitmaps[1]), 13u);
    for (FIBITMAP* b : loader.m_vecBitmaps)
        FreeImage_Unload(b);
}
