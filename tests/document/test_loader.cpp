// The image loader: batches of threads, results in enqueue order, check mode,
// files that are no images, EXIF rotation, non-ASCII paths, RAW branch.

#include "documentfixture.h"
#include "exifwriter.h"

#include "document/exposureseries.h"
#include "document/imageloader.h"

#include <QFile>

#include <zlib.h>

#include <chrono>
#include <cmath>
#include <future>
#include <memory>
#include <thread>

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

// What one load of one file gave.
struct SLoadResult {
    FIBITMAP* bitmap = nullptr;
    bool done = false;
};

// Loads a file with a CImageLoader on a thread of its own and waits for it at
// most `limit`: a loader that hangs is left behind (done false) instead of
// hanging the test run.
SLoadResult loadWithin(const QString& file, std::chrono::seconds limit)
{
    auto promise = std::make_shared<std::promise<FIBITMAP*>>();
    std::future<FIBITMAP*> future = promise->get_future();
    std::thread([file, promise] {
        CImageLoader loader;
        loader.Enqueue(file, true);
        loader.Load();
        promise->set_value(loader.m_vecBitmaps.empty() ? nullptr : loader.m_vecBitmaps[0]);
    }).detach();
    SLoadResult r;
    if (future.wait_for(limit) == std::future_status::ready) {
        r.done = true;
        r.bitmap = future.get();
    }
    return r;
}

// A PNG of a few dozen bytes whose header declares w x h RGB pixels, followed
// by a sliver of image data.
QByteArray pngDeclaring(quint32 w, quint32 h)
{
    auto be32 = [](QByteArray& out, quint32 v) {
        for (int s = 24; s >= 0; s -= 8)
            out.append(char((v >> s) & 0xFF));
    };
    auto chunk = [&](QByteArray& out, const char* type, const QByteArray& data) {
        be32(out, quint32(data.size()));
        QByteArray body(type, 4);
        body += data;
        out += body;
        be32(out, quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))));
    };
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray ihdr;
    be32(ihdr, w);
    be32(ihdr, h);
    ihdr.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0));
    chunk(png, "IHDR", ihdr);
    const QByteArray row(16, '\0');
    uLongf packedSize = compressBound(uLong(row.size()));
    QByteArray packed(int(packedSize), '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(row.constData()),
             uLong(row.size()));
    packed.resize(int(packedSize));
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", QByteArray());
    return png;
}

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

TEST(LoaderSizes, TheLargestLoadableImageIsTheDisplayPathsPixelLimit)
{
    struct Case {
        unsigned w, h;
        bool loadable;
    };
    const Case cases[] = {
        {6000, 4000, true},       {23170, 23170, true},  {23171, 23171, false}, {536870911u, 1, true},
        {65536, 8192, false},     {60000, 60000, false}, {0, 100, false},       {100, 0, false},
        {4294967295u, 4294967295u, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        EXPECT_EQ(CLoadThread::LoadableSize(c.w, c.h), c.loadable);
    }
}

TEST_F(LoaderTest, HugeDeclaredSizeIsRefusedFromTheHeaderBeforeAnyPixelMemory)
{
    // A few dozen bytes that declare gigabytes of pixels. The first case is
    // smaller, so that the fault shows without the full 10 GB.
    for (quint32 side : {24000u, 60000u}) {
        SCOPED_TRACE(side);
        const QString file = path(QString("huge%1.png").arg(side));
        ASSERT_TRUE(writeFile(file, pngDeclaring(side, side)));
        CPeakMemory memory;
        const SLoadResult r = loadWithin(file, std::chrono::seconds(60));
        ASSERT_TRUE(r.done);
        EXPECT_EQ(r.bitmap, nullptr);
        ASSERT_LT(memory.GrowthMB(), 200) << "pixel memory was taken";
    }

    // Through the series: the load error and nothing else.
    progress.Clear();
    CExposureSeries s;
    QVector<SExposure> records(1);
    records[0].m_strFilePath = path("huge60000.png");
    s.AddSeries(records);
    EXPECT_TRUE(s.m_vExposures.isEmpty());
    std::vector<QString> errors;
    for (const auto& e : progress.Entries())
        if (e.kind == CProgressRecorder::eMessage && e.type != 0)
            errors.push_back(e.text);
    EXPECT_EQ(errors, std::vector<QString>{"huge60000.png: Datei konnte nicht geladen werden."});
}

// GIF and SGI files: FreeImage reads no header of theirs without the pixels,
// and allocates (and clears) the frame the header declares before it reads
// a pixel. Declaring more pixels than the program takes, a few dozen bytes
// would take gigabytes; the loader refuses them from their header. Frames
// of a loadable size load as ever.
TEST_F(LoaderTest, HugeGifAndSgiFramesAreRefusedFromTheHeader)
{
    auto le16 = [](QByteArray& out, unsigned v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto be16 = [](QByteArray& out, unsigned v) { out.append(char(v >> 8)).append(char(v & 0xFF)); };
    // A GIF whose first image (after a graphic control extension) is w x h,
    // with a sliver of LZW data.
    auto gif = [&](unsigned w, unsigned h) {
        QByteArray g("GIF89a");
        le16(g, w);
        le16(g, h);
        g.append(char(0x80)).append('\0').append('\0'); // a global colour table of two colours
        g.append(QByteArray("\x00\x00\x00\xFF\xFF\xFF", 6));
        g.append(QByteArray("\x21\xF9\x04\x00\x00\x00\x00\x00", 8));
        g.append(char(0x2C));
        le16(g, 0);
        le16(g, 0);
        le16(g, w);
        le16(g, h);
        g.append('\0');
        g.append(QByteArray("\x02\x02\x44\x01\x00\x3B", 6));
        return g;
    };
    // An SGI image (verbatim, one byte a sample, z channels) of w x h.
    auto sgi = [&](unsigned w, unsigned h, unsigned z) {
        QByteArray s;
        be16(s, 0x01DA);
        s.append('\0').append('\1');
        be16(s, 3);
        be16(s, w);
        be16(s, h);
        be16(s, z);
        s.append(QByteArray("\x00\x00\x00\x00\x00\x00\x00\xFF", 8));
        s.append(QByteArray(512 - s.size(), '\0'));
        s.append(QByteArray(int(std::min(w * h * z, 4096u)), char(0x80)));
        return s;
    };
    struct Case {
        const char* name;
        QByteArray bytes;
        bool loadable;
    };
    const Case cases[] = {
        {"huge.gif", gif(24000, 24000), false},
        {"wide.gif", gif(65535, 65535), false},
        {"huge.sgi", sgi(24000, 24000, 1), false},
        {"small.sgi", sgi(16, 12, 3), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(c.name);
        ASSERT_TRUE(writeFile(file, c.bytes));
        const QByteArray p = QFile::encodeName(file);
        EXPECT_EQ(CLoadThread::SafeToLoad(p, CLoadThread::ReadableFormat(p)), c.loadable);
        CPeakMemory memory;
        const SLoadResult r = loadWithin(file, std::chrono::seconds(60));
        ASSERT_TRUE(r.done);
        EXPECT_LT(memory.GrowthMB(), 200) << "pixel memory was taken";
        EXPECT_EQ(r.bitmap != nullptr, c.loadable);
        if (r.bitmap)
            FreeImage_Unload(r.bitmap);
    }
    // A GIF FreeImage writes loads as ever.
    FIBITMAP* b = FreeImage_Allocate(20, 10, 8);
    RGBQUAD* palette = FreeImage_GetPalette(b);
    for (int i = 0; i < 256; ++i)
        palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = BYTE(i);
    const QString small = path("small.gif");
    ASSERT_TRUE(save(b, FIF_GIF, small));
    EXPECT_TRUE(CLoadThread::SafeToLoad(QFile::encodeName(small), FIF_GIF));
    const SLoadResult r = loadWithin(small, std::chrono::seconds(60));
    ASSERT_TRUE(r.done);
    ASSERT_NE(r.bitmap, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(r.bitmap), 20u);
    FreeImage_Unload(r.bitmap);
}

TEST_F(LoaderTest, DamagedOpenExrFilesFailWithTheLoadErrorInsteadOfHanging)
{
    // A small OpenEXR file, then copies cut short or with a byte of the
    // header flipped: FreeImage's own reader never returns from these.
    FIBITMAP* b = FreeImage_AllocateT(FIT_RGBF, 16, 12);
    for (int y = 0; y < 12; ++y) {
        auto* line = reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(b, y));
        for (int x = 0; x < 16; ++x)
            line[x] = FIRGBF{x / 16.0f, y / 12.0f, 0.5f};
    }
    const QString good = path("good.exr");
    ASSERT_TRUE(save(b, FIF_EXR, good));
    const QByteArray bytes = readFile(good);
    ASSERT_GT(bytes.size(), 300);

    struct Case {
        const char* name;
        int cut;     // bytes kept, 0: all
        int flip;    // offset of the flipped byte, -1: none
        char mask;
    };
    const Case cases[] = {
        {"cut177.exr", 177, -1, 0},        {"cut64.exr", 64, -1, 0},         {"cut15.exr", 15, -1, 0},
        {"flip16.exr", 0, 16, char(0xFF)}, {"flip94.exr", 0, 94, char(0x01)}, {"flip198.exr", 0, 198, char(0x80)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray damaged = c.cut ? bytes.left(c.cut) : bytes;
        if (c.flip >= 0)
            damaged[c.flip] = char(damaged[c.flip] ^ c.mask);
        const QString file = path(c.name);
        ASSERT_TRUE(writeFile(file, damaged));
        const SLoadResult r = loadWithin(file, std::chrono::seconds(20));
        ASSERT_TRUE(r.done) << "the load does not return";
        EXPECT_EQ(r.bitmap, nullptr);
        CExposure e;
        EXPECT_FALSE(e.Load(file, r.bitmap));
        EXPECT_TRUE(progress.HasMessage(QString(c.name) + ": Datei konnte nicht geladen werden.", 1, 2));
    }

    // The intact file loads as before.
    const SLoadResult r = loadWithin(good, std::chrono::seconds(20));
    ASSERT_TRUE(r.done);
    ASSERT_NE(r.bitmap, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(r.bitmap), 16u);
    EXPECT_EQ(FreeImage_GetHeight(r.bitmap), 12u);
    FreeImage_Unload(r.bitmap);
}

TEST_F(LoaderTest, TruncatedJpegOpensWithANoticeNamingTheFile)
{
    FIBITMAP* b = rgb8(256, 192, [](int x, int y) { return unsigned((x * 7) ^ (y * 13)) * 0x010101u & 0xFFFFFFu; });
    const QString whole = path("whole.jpg");
    ASSERT_TRUE(save(b, FIF_JPEG, whole, JPEG_QUALITYSUPERB));
    const QByteArray bytes = readFile(whole);
    const QString cut = path("cut.jpg");
    ASSERT_TRUE(writeFile(cut, bytes.left(bytes.size() / 2)));

    CImageLoader loader;
    loader.Enqueue(whole, true);
    loader.Enqueue(cut, true);
    loader.Load();
    ASSERT_EQ(loader.m_vecBitmaps.size(), 2u);
    ASSERT_NE(loader.m_vecBitmaps[0], nullptr);
    ASSERT_NE(loader.m_vecBitmaps[1], nullptr); // the image still opens
    EXPECT_EQ(FreeImage_GetWidth(loader.m_vecBitmaps[1]), 256u);
    for (FIBITMAP* bitmap : loader.m_vecBitmaps)
        FreeImage_Unload(bitmap);
    // A notice (not an error that holds the progress window) for the damaged
    // file only.
    EXPECT_TRUE(progress.HasMessage("Datei beschädigt oder unvollständig: cut.jpg", 1, 1));
    EXPECT_FALSE(progress.HasMessage("Datei beschädigt oder unvollständig: whole.jpg", 1, 1));
    for (const auto& e : progress.Entries())
        EXPECT_NE(e.type, 2u) << e.text.toStdString();
}
