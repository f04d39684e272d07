// The result image writer and its crop and caption stage.

#include "uifixture.h"

#include "ui/editors/cropdata.h"
#include "engine/core/conversions.h"
#include "ui/mainwindow/resultimagewriter.h"
#include "ui/tools/hdrbatchwindow.h"
#include "ui/toolkit/hdrprogresswindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextEdit>

#include <FreeImage.h>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>
#include <atomic>
#include <thread>
#include <future>

namespace RW = ResultImageWriter;

namespace {

constexpr unsigned kNeverShown = 3600 * 1000;

struct SMessages {
    QString text;
    unsigned maxType = 0;
};

// Runs f under a progress guard with category 4 open and returns its log.
SMessages UnderGuard(const std::function<void()>& f)
{
    SMessages out;
    _gui::SetModalHook([](QWidget* prompt) {
        if (auto* window = qobject_cast<HDRProgressWindow*>(prompt))
            window->GetContinueButton()->click();
        return 0;
    });
    {
        HDRProgressThread guard(5, kNeverShown);
        HDRProgressThread::OpenCategory(4, false);
        f();
        out.text = guard.GetWindow()->GetLog()->toPlainText();
        out.maxType = guard.GetWindow()->GetMaxMessageType();
    }
    _gui::SetModalHook(&UiTest::answerUnexpectedPrompt);
    return out;
}

std::vector<uint16_t> Pattern(int w, int h)
{
    std::vector<uint16_t> buf(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* p = &buf[(size_t(y) * w + x) * 3];
            p[0] = uint16_t(0x1234 + x * 0x0101 + y * 0x2000);
            p[1] = uint16_t(0xfedc - x * 0x0311 - y * 0x0700);
            p[2] = uint16_t((x * 7919 + y * 104729) & 0xffff);
        }
    return buf;
}

// Top half bright, bottom half dark: survives lossy formats.
std::vector<uint16_t> TwoTone(int w, int h)
{
    std::vector<uint16_t> buf(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < w * 3; ++i)
            buf[size_t(y) * w * 3 + i] = y < h / 2 ? 0xe000 : 0x2000;
    return buf;
}

FIBITMAP* Load(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(name.constData(), 0);
    return fif == FIF_UNKNOWN ? nullptr : FreeImage_Load(fif, name.constData(), 0);
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sample c of pixel (x, y), y counted from the top, as a double.
double Sample(FIBITMAP* dib, int x, int y, int c)
{
    const int h = int(FreeImage_GetHeight(dib));
    const BYTE* line = FreeImage_GetScanLine(dib, h - 1 - y);
    switch (FreeImage_GetImageType(dib)) {
    case FIT_RGB16:
        return reinterpret_cast<const uint16_t*>(line)[x * 3 + c];
    case FIT_RGBF:
        return reinterpret_cast<const float*>(line)[x * 3 + c];
    default: {
        const int bytes = int(FreeImage_GetBPP(dib)) / 8;
        static const int idx[3] = {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE};
        return line[x * bytes + idx[c]];
    }
    }
}

class ResultWriterTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_Dir.isValid());
        MP_UI_SetHDRGammaValue(2.2f);
    }
    QString path(const QString& name) const { return m_Dir.filePath(name); }
    QStringList entries() const { return QDir(m_Dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
    QTemporaryDir m_Dir;
};

} // namespace

TEST_F(ResultWriterTest, FormatsByTailCaseSensitive)
{
    struct Case {
        const char* name;
        EResultFormat format;
        FREE_IMAGE_FORMAT fif;
    };
    const Case cases[] = {
        {"a.tif", EResultFormat::Tif8, FIF_TIFF},     {"a.jpg", EResultFormat::Jpg8, FIF_JPEG},
        {"a.tiff", EResultFormat::Tiff16, FIF_TIFF},  {"a.png", EResultFormat::Png16, FIF_PNG},
        {"a.jp2", EResultFormat::Jp216, FIF_JP2},     {"a.hdr", EResultFormat::Hdr32, FIF_HDR},
        {"a.exr", EResultFormat::Exr32, FIF_EXR},     {"a.tif32", EResultFormat::Tif32, FIF_TIFF},
        {"a.pfm", EResultFormat::Pfm32, FIF_PFM},     {"a.TIF", EResultFormat::None, FIF_UNKNOWN},
        {"a.jpeg", EResultFormat::None, FIF_UNKNOWN}, {"a.bmp", EResultFormat::None, FIF_UNKNOWN},
        {"Bild", EResultFormat::None, FIF_UNKNOWN},   {"a.Tif32", EResultFormat::None, FIF_UNKNOWN},
    };
    for (const Case& c : cases) {
        const SResultFormatInfo info = RW::FormatForPath(c.name);
        EXPECT_EQ(info.eFormat, c.format) << c.name;
        EXPECT_EQ(info.fif, c.fif) << c.name;
    }
    EXPECT_EQ(RW::FormatForPath("a.exr").iFlags, EXR_NONE);
    EXPECT_EQ(RW::FormatForPath("a.tif32").iFlags, TIFF_LZW);
    EXPECT_EQ(RW::FormatForPath("a.png").iFlags, PNG_Z_BEST_SPEED);
}

TEST_F(ResultWriterTest, JpegQualityFlags)
{
    const int superb = JPEG_QUALITYSUPERB | JPEG_OPTIMIZE;
    EXPECT_EQ(RW::JpegSaveFlags(100), superb);
    EXPECT_EQ(RW::JpegSaveFlags(0), superb);
    EXPECT_EQ(RW::JpegSaveFlags(-1), superb);
    EXPECT_EQ(RW::JpegSaveFlags(1000), superb);
    EXPECT_EQ(RW::JpegSaveFlags(98), 98 | JPEG_OPTIMIZE);
    EXPECT_EQ(RW::JpegSaveFlags(1), 1 | JPEG_OPTIMIZE);
    EXPECT_EQ(RW::JpegSaveFlags(99), 99 | JPEG_OPTIMIZE);
}

TEST_F(ResultWriterTest, TargetPathReplacesTheTailOnly)
{
    EXPECT_EQ(RW::TargetPath("/x/a.TIF32/b.tif32"), "/x/a.TIF32/b.tif");
    EXPECT_EQ(RW::TargetPath("/x/a.tif32.d/b.tif32"), "/x/a.tif32.d/b.tif");
    EXPECT_EQ(RW::TargetPath("/x/b.tiff"), "/x/b.tiff");
}

TEST_F(ResultWriterTest, ExactFormatsReadBackUpright)
{
    const int w = 7, h = 5;
    const std::vector<uint16_t> src = Pattern(w, h);
    struct Case {
        const char* name;
        FREE_IMAGE_TYPE type;
        unsigned bpp;
    };
    const Case cases[] = {{"e.tif", FIT_BITMAP, 32}, {"e.tiff", FIT_RGB16, 48}, {"e.png", FIT_RGB16, 48}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = false;
        const SMessages log = UnderGuard([&] { ok = RW::SaveImageFile(path(c.name), src.data(), 100, false, w, h, QString(), nullptr); });
        ASSERT_TRUE(ok);
        EXPECT_EQ(log.maxType, 0u);
        EXPECT_TRUE(log.text.contains("Speichern erfolgreich"));
        FIBITMAP* dib = Load(path(c.name));
        ASSERT_TRUE(dib);
        EXPECT_EQ(FreeImage_GetImageType(dib), c.type);
        EXPECT_EQ(FreeImage_GetBPP(dib), c.bpp);
        ASSERT_EQ(int(FreeImage_GetWidth(dib)), w);
        ASSERT_EQ(int(FreeImage_GetHeight(dib)), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int k = 0; k < 3; ++k) {
                    const uint16_t s = src[(size_t(y) * w + x) * 3 + k];
                    const double want = c.type == FIT_BITMAP ? double(s >> 8) : double(s);
                    ASSERT_EQ(Sample(dib, x, y, k), want) << x << "," << y << "," << k;
                }
        if (c.bpp == 32) {
            EXPECT_EQ(FreeImage_GetScanLine(dib, 0)[FI_RGBA_ALPHA], 255);
            EXPECT_EQ(Sample(dib, 0, 0, 0), 0x12); // 0x1234 truncated, not rounded
        }
        FreeImage_Unload(dib);
    }
}

TEST_F(ResultWriterTest, FloatFormatsReadBackWithGamma)
{
    const int w = 6, h = 4;
    const std::vector<uint16_t> src = Pattern(w, h);
    struct Case {
        const char* name;
        const char* file;
        double relTol; // derived from the format's precision
    };
    const Case cases[] = {
        {"f.tif32", "f.tif", 0.0},      // 32-bit float, exact
        {"f.pfm", "f.pfm", 0.0},        // 32-bit float, exact
        {"f.exr", "f.exr", 1.0 / 1024}, // half: 10-bit mantissa
        {"f.hdr", "f.hdr", 1.0 / 128},  // RGBE: 8-bit mantissa over the largest channel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = false;
        const SMessages log = UnderGuard([&] { ok = RW::SaveImageFile(path(c.name), src.data(), 100, false, w, h, QString(), nullptr); });
        ASSERT_TRUE(ok);
        EXPECT_TRUE(log.text.contains(path(c.name) + " wird als")) << log.text.toStdString();
        EXPECT_FALSE(QFile::exists(path(c.name)) && QString(c.name) != c.file);
        FIBITMAP* dib = Load(path(c.file));
        ASSERT_TRUE(dib);
        EXPECT_EQ(FreeImage_GetImageType(dib), FIT_RGBF);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double maxWant = 0;
                for (int k = 0; k < 3; ++k)
                    maxWant = std::max(maxWant, double(std::pow(float(src[(size_t(y) * w + x) * 3 + k]) * 1.5259022e-05f, 2.2f)));
                for (int k = 0; k < 3; ++k) {
                    const float want = std::pow(float(src[(size_t(y) * w + x) * 3 + k]) * 1.5259022e-05f, 2.2f);
                    const double got = Sample(dib, x, y, k);
                    if (c.relTol == 0.0) {
                        ASSERT_FLOAT_EQ(float(got), want) << x << "," << y << "," << k;
                    } else {
                        ASSERT_NEAR(got, want, c.relTol * (c.file == QString("f.hdr") ? maxWant : std::fabs(want)) + 1e-6)
                            << x << "," << y << "," << k;
                    }
                }
            }
        FreeImage_Unload(dib);
    }
}

TEST_F(ResultWriterTest, LossyFormatsKeepToneAndOrientation)
{
    const int w = 32, h = 32;
    const std::vector<uint16_t> src = TwoTone(w, h);
    for (const char* name : {"l.jpg", "l.jp2"}) {
        SCOPED_TRACE(name);
        bool ok = false;
        UnderGuard([&] { ok = RW::SaveImageFile(path(name), src.data(), 100, false, w, h, QString(), nullptr); });
        ASSERT_TRUE(ok);
        FIBITMAP* dib = Load(path(name));
        ASSERT_TRUE(dib);
        const bool is8 = FreeImage_GetImageType(dib) == FIT_BITMAP;
        if (is8)
            EXPECT_EQ(FreeImage_GetBPP(dib), 24u);
        else
            EXPECT_EQ(FreeImage_GetImageType(dib), FIT_RGB16);
        const double scale = is8 ? 1.0 : 256.0;
        // Away from the edge between the halves.
        EXPECT_NEAR(Sample(dib, 16, 4, 1) / scale, 0xe0, 4);
        EXPECT_NEAR(Sample(dib, 16, 27, 1) / scale, 0x20, 4);
        FreeImage_Unload(dib);
    }
}

TEST_F(ResultWriterTest, SafeWriteIsByteIdenticalToTheLibrarysOwnSave)
{
    const int w = 40, h = 33;
    const std::vector<uint16_t> src = Pattern(w, h);
    struct Case {
        FREE_IMAGE_FORMAT fif;
        FREE_IMAGE_TYPE type;
        int bpp;
        int flags;
    };
    const Case cases[] = {
        {FIF_TIFF, FIT_BITMAP, 32, TIFF_NONE},
        {FIF_JPEG, FIT_BITMAP, 24, JPEG_QUALITYSUPERB | JPEG_OPTIMIZE},
        {FIF_TIFF, FIT_RGB16, 48, TIFF_NONE},
        {FIF_PNG, FIT_RGB16, 48, PNG_Z_BEST_SPEED},
        {FIF_JP2, FIT_RGB16, 48, 0},
        {FIF_HDR, FIT_RGBF, 96, 0},
        {FIF_EXR, FIT_RGBF, 96, EXR_NONE},
        {FIF_TIFF, FIT_RGBF, 96, TIFF_LZW},
        {FIF_PFM, FIT_RGBF, 96, 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        FIBITMAP* dib = FreeImage_AllocateT(c.type, w, h, c.bpp);
        ASSERT_TRUE(dib);
        for (int y = 0; y < h; ++y) {
            BYTE* line = FreeImage_GetScanLine(dib, y);
            for (unsigned i = 0; i < FreeImage_GetPitch(dib); ++i)
                line[i] = BYTE(src[(size_t(y) * w * 3 + i / 2) % src.size()] >> ((i & 1) * 8));
            if (c.type == FIT_RGBF)
                for (int i = 0; i < w * 3; ++i)
                    reinterpret_cast<float*>(line)[i] = float(src[size_t(y) * w * 3 + i]) / 65535.0f;
        }
        const QString a = path(QString("lib%1").arg(n));
        const QString b = path(QString("own%1").arg(n));
        ASSERT_TRUE(FreeImage_Save(c.fif, dib, QFile::encodeName(a).constData(), c.flags));
        ASSERT_TRUE(RW::SaveBitmapSafely(c.fif, dib, b, c.flags));
        const QByteArray bytesA = ReadAll(a);
        EXPECT_GT(bytesA.size(), 0);
        EXPECT_EQ(bytesA, ReadAll(b));
        FreeImage_Unload(dib);
        ++n;
    }
}

TEST_F(ResultWriterTest, FailedWriteLeavesTheOldFileWholeAndNoTemporaryFile)
{
    // The library cannot write JPEG 2000 under 32 pixels a side.
    const QString target = path("keep.jp2");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    const std::vector<uint16_t> src = Pattern(7, 7);
    bool ok = true;
    const SMessages log = UnderGuard([&] { ok = RW::SaveImageFile(target, src.data(), 100, false, 7, 7, QString(), nullptr); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.maxType, 2u);
    EXPECT_TRUE(log.text.contains("Dateifehler: " + target + " konnte nicht erstellt werden"));
    EXPECT_FALSE(log.text.contains("Speichern erfolgreich"));
    EXPECT_EQ(ReadAll(target), QByteArray("precious"));
    EXPECT_EQ(entries(), QStringList{"keep.jp2"});

    // A folder that does not exist: nothing anywhere, false.
    ok = true;
    UnderGuard([&] { ok = RW::SaveImageFile(path("no/such.tif"), src.data(), 100, false, 7, 7, QString(), nullptr); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(entries(), QStringList{"keep.jp2"});
}

TEST_F(ResultWriterTest, UnknownTailAndEmptyImageAreReportedNotCounted)
{
    const std::vector<uint16_t> src = Pattern(4, 4);
    struct Case {
        const char* name;
        int w, h;
        const char* message;
    };
    const Case cases[] = {
        {"a.TIF", 4, 4, "Dateifehler:"},
        {"Bild", 4, 4, "Dateifehler:"},
        {"w0.tif", 0, 4, "Nicht genug Arbeitsspeicher zum Speichern verfügbar."},
        {"h0.png", 4, 0, "Nicht genug Arbeitsspeicher zum Speichern verfügbar."},
    };
    for (const Case& c : cases) {
        bool ok = true;
        const SMessages log = UnderGuard([&] { ok = RW::SaveImageFile(path(c.name), src.data(), 100, false, c.w, c.h, QString(), nullptr); });
        EXPECT_FALSE(ok) << c.name;
        EXPECT_EQ(log.maxType, 2u) << c.name;
        EXPECT_TRUE(log.text.contains(QString::fromUtf8(c.message))) << c.name << log.text.toStdString();
    }
    bool ok = true;
    UnderGuard([&] { ok = RW::SaveImageFile(path("null.tif"), nullptr, 100, false, 4, 4, QString(), nullptr); });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(ResultWriterTest, Tif32GoesToTheTifNameLzwCompressed)
{
    ASSERT_TRUE(QDir(m_Dir.path()).mkdir("a.TIF32"));
    const int w = 64, h = 64;
    const std::vector<uint16_t> flat(size_t(w) * h * 3, 0x8000);
    bool ok = false;
    const SMessages log = UnderGuard([&] { ok = RW::SaveImageFile(path("a.TIF32/b.tif32"), flat.data(), 100, false, w, h, QString(), nullptr); });
    ASSERT_TRUE(ok);
    EXPECT_TRUE(log.text.contains(path("a.TIF32/b.tif32") + " wird als 32-Bit .tif32 gespeichert."));
    const QString file = path("a.TIF32/b.tif");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(path("a.TIF32/b.tif32")));
    EXPECT_LT(QFileInfo(file).size(), w * h * 12 / 4); // compressed

    // Re-fusion asked for without a series to fuse from: the buffer is converted.
    ok = false;
    UnderGuard([&] { ok = RW::SaveImageFile(path("r.pfm"), flat.data(), 100, true, w, h, QString(), nullptr); });
    ASSERT_TRUE(ok);
    FIBITMAP* dib = Load(path("r.pfm"));
    ASSERT_TRUE(dib);
    EXPECT_FLOAT_EQ(float(Sample(dib, 3, 3, 1)), std::pow(float(0x8000) * 1.5259022e-05f, 2.2f));
    FreeImage_Unload(dib);
}

TEST_F(ResultWriterTest, NonAsciiPathIsWrittenAndReadBack)
{
    const std::vector<uint16_t> src = Pattern(5, 5);
    const QString name = path(QString::fromUtf8("Bild äöü €.tiff"));
    bool ok = false;
    UnderGuard([&] { ok = RW::SaveImageFile(name, src.data(), 100, false, 5, 5, QString(), nullptr); });
    ASSERT_TRUE(ok);
    FIBITMAP* dib = Load(name);
    ASSERT_TRUE(dib);
    EXPECT_EQ(Sample(dib, 4, 4, 0), src[(4 * 5 + 4) * 3]);
    FreeImage_Unload(dib);
}

TEST_F(ResultWriterTest, SetFreeImageDpiTruncates)
{
    FIBITMAP* dib = FreeImage_Allocate(2, 2, 24);
    RW::SetFreeImageDpi(dib, 300);
    EXPECT_EQ(FreeImage_GetDotsPerMeterX(dib), 11811u);
    EXPECT_EQ(FreeImage_GetDotsPerMeterY(dib), 11811u);
    RW::SetFreeImageDpi(dib, 72);
    EXPECT_EQ(FreeImage_GetDotsPerMeterX(dib), 2834u);
    RW::SetFreeImageDpi(nullptr, 300); // ignored
    FITAG* tag = nullptr;
    RW::add_tag(FIMD_COMMENTS, dib, "Key", "value");
    ASSERT_TRUE(FreeImage_GetMetadata(FIMD_COMMENTS, dib, "Key", &tag));
    EXPECT_EQ(FreeImage_GetTagType(tag), FIDT_ASCII);
    EXPECT_EQ(FreeImage_GetTagLength(tag), 6u);
    EXPECT_EQ(FreeImage_GetTagCount(tag), 6u);
    EXPECT_STREQ(static_cast<const char*>(FreeImage_GetTagValue(tag)), "value");
    FreeImage_Unload(dib);
}

TEST_F(ResultWriterTest, MasterMetadataResolutionAndProgramTags)
{
    // A master photograph with XMP and an IFD0 tag.
    const QString masterPath = path("master.tif");
    {
        FIBITMAP* m = FreeImage_Allocate(8, 8, 24);
        RW::add_tag(FIMD_EXIF_MAIN, m, "Artist", "Jane");
        RW::add_tag(FIMD_XMP, m, "XMLPacket", "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"></x:xmpmeta>");
        ASSERT_TRUE(FreeImage_Save(FIF_TIFF, m, QFile::encodeName(masterPath).constData(), 0));
        FreeImage_Unload(m);
    }
    const std::vector<uint16_t> src = Pattern(8, 8);
    auto tagValue = [](FIBITMAP* dib, FREE_IMAGE_MDMODEL model, const char* key) {
        FITAG* tag = nullptr;
        if (!FreeImage_GetMetadata(model, dib, key, &tag) || !tag)
            return QString();
        return QString::fromUtf8(static_cast<const char*>(FreeImage_GetTagValue(tag)));
    };
    for (const char* name : {"m.jpg", "m.tiff", "m.png"}) {
        SCOPED_TRACE(name);
        bool ok = false;
        UnderGuard([&] { ok = RW::SaveImageFile(path(name), src.data(), 100, false, 8, 8, masterPath, nullptr); });
        ASSERT_TRUE(ok);
        FIBITMAP* dib = Load(path(name));
        ASSERT_TRUE(dib);
        EXPECT_EQ(FreeImage_GetDotsPerMeterX(dib), 11811u);
        EXPECT_GT(FreeImage_GetMetadataCount(FIMD_XMP, dib), 0u);
        if (QString(name) == "m.jpg") { // the library keeps IPTC only in JPEG
            EXPECT_EQ(tagValue(dib, FIMD_IPTC, "OriginatingProgram"), "VERSION_NAME LUMIVEX");
            EXPECT_EQ(tagValue(dib, FIMD_IPTC, "ProgramVersion"), "LUMIVEX VERSION_PRO V1.14.02132");
        }
        FreeImage_Unload(dib);
    }
    // Without a master, or with one that is gone: no metadata, no 300 dpi.
    for (const QString& master : {QString(), path("gone.tif")}) {
        bool ok = false;
        UnderGuard([&] { ok = RW::SaveImageFile(path("n.jpg"), src.data(), 100, false, 8, 8, master, nullptr); });
        ASSERT_TRUE(ok);
        FIBITMAP* dib = Load(path("n.jpg"));
        ASSERT_TRUE(dib);
        EXPECT_NE(FreeImage_GetDotsPerMeterX(dib), 11811u);
        EXPECT_EQ(FreeImage_GetMetadataCount(FIMD_IPTC, dib), 0u);
        EXPECT_EQ(FreeImage_GetMetadataCount(FIMD_XMP, dib), 0u);
        FreeImage_Unload(dib);
    }
}

// A damaged OpenEXR master (or a batch photo) hangs the image library's own
// reader: the writer saves without its metadata, the batch shows no preview,
// and neither waits for the library.
TEST_F(ResultWriterTest, DamagedOpenExrMasterAndPreviewDoNotHang)
{
    FIBITMAP* b = FreeImage_AllocateT(FIT_RGBF, 16, 12);
    ASSERT_TRUE(b);
    for (int y = 0; y < 12; ++y) {
        auto* line = reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(b, y));
        for (int x = 0; x < 16; ++x)
            line[x] = FIRGBF{x / 16.0f, y / 12.0f, 0.5f};
    }
    const QString good = path("good.exr");
    ASSERT_TRUE(FreeImage_Save(FIF_EXR, b, QFile::encodeName(good).constData(), 0));
    FreeImage_Unload(b);
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    ASSERT_GT(bytes.size(), 177);
    const QString cut = path("cut.exr");
    {
        QFile out(cut);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes.left(177)), 177);
    }

    // Each call on a thread of its own, given a few seconds: a hang fails the
    // test instead of stopping the run (the stuck thread is left behind).
    auto within = [](std::function<void()> f) {
        auto done = std::make_shared<std::promise<void>>();
        std::future<void> ready = done->get_future();
        std::thread([f, done] { f(); done->set_value(); }).detach();
        return ready.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    };
    auto master = std::make_shared<std::atomic<FIBITMAP*>>(nullptr);
    ASSERT_TRUE(within([master, cut] { master->store(RW::LoadMasterMetadata(cut)); })) << "master load hangs";
    EXPECT_EQ(master->load(), nullptr);
    auto preview = std::make_shared<std::atomic<FIBITMAP*>>(nullptr);
    ASSERT_TRUE(within([preview, cut] { preview->store(HDRBatchLoadThread::LoadPreviewBitmap(cut)); }))
        << "batch preview hangs";
    EXPECT_EQ(preview->load(), nullptr);

    // The save itself goes on without the metadata.
    const std::vector<uint16_t> src = Pattern(8, 8);
    bool ok = false;
    UnderGuard([&] { ok = RW::SaveImageFile(path("r.tiff"), src.data(), 100, false, 8, 8, cut, nullptr); });
    EXPECT_TRUE(ok);

    // The intact file still gives both.
    FIBITMAP* m = RW::LoadMasterMetadata(good);
    EXPECT_NE(m, nullptr);
    if (m)
        FreeImage_Unload(m);
    FIBITMAP* p = HDRBatchLoadThread::LoadPreviewBitmap(good);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(p), 16u);
    FreeImage_Unload(p);
}

// ---- a full disk and the old path's bytes ----

namespace {

struct SFormatCase {
    const char* name; // the name handed to the writer
    const char* file; // the name written on disk
    FREE_IMAGE_FORMAT fif;
    FREE_IMAGE_TYPE type;
    int bpp;
    int flags;
};

// Every format the writer knows, with the bitmap and flags of its write.
const SFormatCase kAllFormats[] = {
    {"a.tif", "a.tif", FIF_TIFF, FIT_BITMAP, 32, TIFF_NONE},
    {"a.jpg", "a.jpg", FIF_JPEG, FIT_BITMAP, 24, JPEG_QUALITYSUPERB | JPEG_OPTIMIZE},
    {"a.tiff", "a.tiff", FIF_TIFF, FIT_RGB16, 48, TIFF_NONE},
    {"a.png", "a.png", FIF_PNG, FIT_RGB16, 48, PNG_Z_BEST_SPEED},
    {"a.jp2", "a.jp2", FIF_JP2, FIT_RGB16, 48, 0},
    {"a.hdr", "a.hdr", FIF_HDR, FIT_RGBF, 96, 0},
    {"a.exr", "a.exr", FIF_EXR, FIT_RGBF, 96, EXR_NONE},
    {"a.tif32", "a.tif", FIF_TIFF, FIT_RGBF, 96, TIFF_LZW},
    {"a.pfm", "a.pfm", FIF_PFM, FIT_RGBF, 96, 0},
};

// Resets the writer's fault seam when it goes out of scope.
struct SFaultScope {
    explicit SFaultScope(const RW::SWriteFault& fault) { RW::SetWriteFaultForTesting(fault); }
    ~SFaultScope() { RW::SetWriteFaultForTesting(RW::SWriteFault()); }
};

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The file the writer made before its fills ran in bands: a zeroed bitmap
// filled row by row, saved by the library itself.
QByteArray OldPathBytes(const SFormatCase& c, const std::vector<uint16_t>& src, int w, int h, const QString& file)
{
    FIBITMAP* dib = FreeImage_AllocateT(c.type, w, h, c.bpp);
    if (!dib)
        return QByteArray();
    for (int i = 0; i < h && c.type != FIT_RGBF; ++i) {
        BYTE* line = FreeImage_GetScanLine(dib, i);
        const uint16_t* row = src.data() + size_t(h - 1 - i) * w * 3;
        if (c.type == FIT_RGB16) {
            std::memcpy(line, row, size_t(w) * 6);
            continue;
        }
        const int bytes = c.bpp / 8;
        for (int x = 0; x < w; ++x) {
            line[x * bytes + FI_RGBA_RED] = BYTE(row[3 * x] >> 8);
            line[x * bytes + FI_RGBA_GREEN] = BYTE(row[3 * x + 1] >> 8);
            line[x * bytes + FI_RGBA_BLUE] = BYTE(row[3 * x + 2] >> 8);
            if (bytes == 4)
                line[x * bytes + FI_RGBA_ALPHA] = 255;
        }
    }
    if (c.type == FIT_RGBF)
        MP_own_FreeImage_torgbf(w, h, dib, src.data());
    const bool saved = FreeImage_Save(c.fif, dib, QFile::encodeName(file).constData(), c.flags);
    FreeImage_Unload(dib);
    return saved ? ReadAll(file) : QByteArray();
}

// Mounts a tmpfs of the given size on a fresh folder while it lives; not
// mounted() where the test does not run as root or the mount is refused.
class CSmallDisk {
public:
    explicit CSmallDisk(const char* size)
    {
        if (::geteuid() != 0 || !m_Dir.isValid())
            return;
        const QByteArray options = QByteArray("size=") + size;
        m_bMounted = ::mount("tmpfs", QFile::encodeName(m_Dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~CSmallDisk()
    {
        if (m_bMounted)
            ::umount2(QFile::encodeName(m_Dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_bMounted; }
    QString path(const QString& name) const { return m_Dir.filePath(name); }
    QStringList entries() const { return QDir(m_Dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
    qint64 freeBytes() const
    {
        struct statvfs s;
        return ::statvfs(QFile::encodeName(m_Dir.path()).constData(), &s) == 0 ? qint64(s.f_bavail) * qint64(s.f_frsize) : -1;
    }
    // Fills the disk with a file until about `free` bytes are left.
    bool leaveFree(qint64 free)
    {
        QFile filler(path(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const qint64 fill = freeBytes() - free;
        if (fill > 0 && filler.write(QByteArray(int(fill), 'x')) != fill)
            return false;
        return filler.flush();
    }

private:
    QTemporaryDir m_Dir;
    bool m_bMounted = false;
};

} // namespace

// A write that comes up short or a seek that fails, as on a full disk, at the
// first, a middle and the last call of each format's write: the save fails
// with the file-error message and the old file stays as it was, byte for byte,
// with no temporary file beside it.
TEST_F(ResultWriterTest, ShortWriteOrFailedSeekKeepsTheOldFileInEveryFormat)
{
    const int w = 64, h = 48;
    const std::vector<uint16_t> src = Pattern(w, h);
    ASSERT_TRUE(QDir(m_Dir.path()).mkdir("probe"));
    for (const SFormatCase& c : kAllFormats) {
        SCOPED_TRACE(c.name);
        // A clean save first: it must work, and it tells how many writes and seeks the format makes.
        bool ok = false;
        UnderGuard([&] { ok = RW::SaveImageFile(path(QString("probe/") + c.name), src.data(), 100, false, w, h, QString(), nullptr); });
        ASSERT_TRUE(ok);
        const RW::SWriteCounts counts = RW::LastWriteCountsForTesting();
        ASSERT_GT(counts.iWrites, 0);

        std::vector<RW::SWriteFault> faults;
        for (int n : {0, counts.iWrites / 2, counts.iWrites - 1})
            faults.push_back({n, -1});
        for (int n : {0, counts.iSeeks - 1})
            if (n >= 0 && counts.iSeeks > 0)
                faults.push_back({-1, n});

        const QString target = path(c.file);
        const QByteArray old = ReadAll(path(QString("probe/") + c.file)) + QByteArray("the old file");
        for (const RW::SWriteFault& fault : faults) {
            SCOPED_TRACE(testing::Message() << "short write " << fault.iShortWrite << ", failed seek " << fault.iFailedSeek);
            WriteFile(target, old);
            const QStringList before = entries();
            ok = true;
            SMessages log;
            {
                SFaultScope scope(fault);
                log = UnderGuard([&] { ok = RW::SaveImageFile(path(c.name), src.data(), 100, false, w, h, QString(), nullptr); });
            }
            EXPECT_FALSE(ok);
            EXPECT_EQ(log.maxType, 2u);
            EXPECT_TRUE(log.text.contains("Dateifehler: " + path(c.name) + " konnte nicht erstellt werden")) << log.text.toStdString();
            EXPECT_FALSE(log.text.contains("Speichern erfolgreich"));
            EXPECT_TRUE(ReadAll(target) == old);
            EXPECT_EQ(entries(), before);
        }
        QFile::remove(target);
    }
}

// The same on a real disk that fills up: a tmpfs with 64 KB to 4 MB left
// under 8- and 16-bit TIFFs of 1200 x 900 (needs root to mount; skipped elsewhere).
TEST_F(ResultWriterTest, FullDiskKeepsTheOldFileWhole)
{
    CSmallDisk disk("12m");
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const int w = 1200, h = 900;
    const std::vector<uint16_t> src = Pattern(w, h);
    const std::vector<uint16_t> small = Pattern(48, 40);
    struct Case {
        const char* name;
        qint64 free;
    };
    std::vector<Case> cases;
    for (const char* name : {"r.tif", "r.tiff"})
        for (qint64 free : {qint64(64) << 10, qint64(1) << 20, qint64(4) << 20})
            cases.push_back({name, free});
    for (const SFormatCase& c : kAllFormats)
        cases.push_back({c.name, qint64(64) << 10});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ", " << c.free << " bytes free");
        for (const QString& file : disk.entries())
            QFile::remove(disk.path(file));
        // The old file: an earlier save of a small picture.
        const QString name = disk.path(c.name);
        const QString target = RW::TargetPath(name);
        bool ok = false;
        UnderGuard([&] { ok = RW::SaveImageFile(name, small.data(), 100, false, 48, 40, QString(), nullptr); });
        ASSERT_TRUE(ok);
        const QByteArray old = ReadAll(target);
        ASSERT_TRUE(disk.leaveFree(c.free));
        const QStringList before = disk.entries();

        ok = true;
        const SMessages log = UnderGuard([&] { ok = RW::SaveImageFile(name, src.data(), 100, false, w, h, QString(), nullptr); });
        EXPECT_FALSE(ok);
        EXPECT_TRUE(log.text.contains("Dateifehler: " + name + " konnte nicht erstellt werden")) << log.text.toStdString();
        EXPECT_FALSE(log.text.contains("Speichern erfolgreich"));
        EXPECT_TRUE(ReadAll(target) == old);
        EXPECT_EQ(disk.entries(), before);
        FIBITMAP* dib = Load(target);
        EXPECT_TRUE(dib);
        if (dib)
            FreeImage_Unload(dib);
    }
}

// Every format, odd widths (padded scanlines), heights of several bands and
// files of several output blocks: the file is the one the row-by-row fill of
// a zeroed bitmap gave, byte for byte.
TEST_F(ResultWriterTest, EveryFormatIsByteIdenticalToTheRowByRowFill)
{
    struct Size {
        int w, h;
    };
    for (const Size size : {Size{67, 301}, Size{641, 433}}) {
        const std::vector<uint16_t> src = Pattern(size.w, size.h);
        for (const SFormatCase& c : kAllFormats) {
            SCOPED_TRACE(testing::Message() << c.name << " " << size.w << " x " << size.h);
            const QByteArray want = OldPathBytes(c, src, size.w, size.h, path(QString("old_") + c.file));
            ASSERT_GT(want.size(), 0);
            bool ok = false;
            UnderGuard([&] { ok = RW::SaveImageFile(path(c.name), src.data(), 100, false, size.w, size.h, QString(), nullptr); });
            ASSERT_TRUE(ok);
            const QByteArray got = ReadAll(path(c.file));
            EXPECT_EQ(got.size(), want.size());
            EXPECT_TRUE(got == want);
        }
    }
}

// ---- crop and caption stage ----

namespace {

// R = x, G = y: every output pixel names where it came from.
std::vector<uint16_t> Coordinates(int w, int h)
{
    std::vector<uint16_t> buf(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint16_t* p = &buf[(size_t(y) * w + x) * 3];
            p[0] = uint16_t(x);
            p[1] = uint16_t(y);
            p[2] = 1000;
        }
    return buf;
}

SCropData Crop(float l, float t, float r, float b, float aspect = -1.0f)
{
    SCropData d;
    d.bHasSelection = true;
    d.rcCrop.Set(l, t, r, b);
    d.fAspect = aspect;
    return d;
}

} // namespace

TEST_F(ResultWriterTest, CropRectangleAndAspectFit)
{
    const int w = 400, h = 300;
    const std::vector<uint16_t> src = Coordinates(w, h);
    struct Case {
        float l, t, r, b, aspect;
        int outW, outH, fromX, fromY;
    };
    const Case cases[] = {
        {0, 0, 1, 1, 1.0f, 300, 300, 50, 0},       // square: centred horizontally
        {0, 0, 1, 1, 2.0f, 400, 200, 0, 50},       // 2:1: centred vertically
        {0.25f, 0.5f, 0.75f, 1, -1.0f, 200, 150, 100, 150},
        {0.1f, 0.1f, 0.6f, 0.9f, 0.0f, 200, 240, 40, 30}, // 0 is free
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.aspect);
        SCropStageOutput out;
        ASSERT_TRUE(RW::RunCropStage(src.data(), w, h, Crop(c.l, c.t, c.r, c.b, c.aspect), nullptr, out));
        EXPECT_EQ(out.iWidth, c.outW);
        EXPECT_EQ(out.iHeight, c.outH);
        EXPECT_EQ(out.buffer[0], c.fromX);
        EXPECT_EQ(out.buffer[1], c.fromY);
        const size_t last = (size_t(out.iHeight) * out.iWidth - 1) * 3;
        EXPECT_EQ(out.buffer[last], c.fromX + c.outW - 1);
        EXPECT_EQ(out.buffer[last + 1], c.fromY + c.outH - 1);
    }
    // The whole image with no caption and a free aspect is the input itself.
    SCropStageOutput out;
    ASSERT_TRUE(RW::RunCropStage(src.data(), w, h, Crop(0, 0, 1, 1), nullptr, out));
    EXPECT_TRUE(std::equal(src.begin(), src.end(), out.buffer.get()));
    // Right edge left of the left edge: nothing.
    EXPECT_FALSE(RW::RunCropStage(src.data(), w, h, Crop(0.8f, 0, 0.2f, 1), nullptr, out));
    EXPECT_FALSE(out.buffer);
    EXPECT_FALSE(RW::RunCropStage(src.data(), w, h, Crop(0, 0.9f, 1, 0.1f), nullptr, out));
}

TEST_F(ResultWriterTest, CaptionIsNearWhiteAndTheCallersBufferStaysUntouched)
{
    const int w = 300, h = 200;
    for (uint16_t bg : {uint16_t(0), uint16_t(65535)}) {
        SCOPED_TRACE(bg);
        const std::vector<uint16_t> src(size_t(w) * h * 3, bg);
        const std::vector<uint16_t> copy = src;
        SCropData d = Crop(0, 0, 1, 1);
        d.strText = "A";
        d.iTextSize = 2;
        d.bTextBackground = true;
        SCropStageOutput out;
        ASSERT_TRUE(RW::RunCropStage(src.data(), w, h, d, nullptr, out));
        EXPECT_EQ(src, copy);
        // The caption's pixels: (P x 76 + 65535 x 180) >> 8.
        const uint16_t ink = uint16_t((unsigned(bg) * 76u + 65535u * 180u) >> 8);
        int inkCount = 0, darker = 0;
        for (size_t i = 0; i < size_t(w) * h * 3; i += 3) {
            inkCount += out.buffer[i] == ink;
            darker += out.buffer[i] < bg;
        }
        EXPECT_GT(inkCount, 20);
        if (bg == 0)
            EXPECT_EQ(ink, 46079);
        else
            EXPECT_GT(darker, 100); // shadow and box
    }
}

TEST_F(ResultWriterTest, CaptionWithoutInkIsAPlainCrop)
{
    const int w = 120, h = 80;
    const std::vector<uint16_t> src = Coordinates(w, h);
    for (const char* text : {"   ", "A"}) {
        SCropData d = Crop(0, 0, 1, 1);
        d.strText = text;
        d.bTextBackground = true;
        if (QString(text) == "A")
            d.iTextSize = 7; // no size class: nothing drawn
        SCropStageOutput out;
        ASSERT_TRUE(RW::RunCropStage(src.data(), w, h, d, nullptr, out));
        EXPECT_TRUE(std::equal(src.begin(), src.end(), out.buffer.get())) << text;
    }
    // A crop wider than the caption raster: drawn at half size, still a crop.
    const int wide = 20000;
    const std::vector<uint16_t> big = Coordinates(wide, 10);
    SCropData d = Crop(0, 0, 1, 1);
    d.strText = "A";
    SCropStageOutput out;
    ASSERT_TRUE(RW::RunCropStage(big.data(), wide, 10, d, nullptr, out));
    EXPECT_EQ(out.iWidth, wide);
    EXPECT_EQ(out.iHeight, 10);
}

TEST_F(ResultWriterTest, WriterAppliesTheCrop)
{
    const int w = 40, h = 30;
    const std::vector<uint16_t> src = Coordinates(w, h);
    SCropData d = Crop(0.5f, 0.5f, 1, 1);
    bool ok = false;
    UnderGuard([&] { ok = RW::SaveImageFile(path("c.png"), src.data(), 100, false, w, h, QString(), &d); });
    ASSERT_TRUE(ok);
    FIBITMAP* dib = Load(path("c.png"));
    ASSERT_TRUE(dib);
    EXPECT_EQ(FreeImage_GetWidth(dib), 20u);
    EXPECT_EQ(FreeImage_GetHeight(dib), 15u);
    EXPECT_EQ(Sample(dib, 0, 0, 0), 20);
    EXPECT_EQ(Sample(dib, 0, 0, 1), 15);
    FreeImage_Unload(dib);
}
