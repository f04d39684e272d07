// The series' part of a project: keys, data files, safe writes and reads of
// hostile files.

#include "seriesfixture.h"

#include "engine/core/precoding.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <cmath>
#include <limits>

class SeriesProjectTest : public SeriesTest {
protected:
    void SetUp() override
    {
        SeriesTest::SetUp();
        MP_UI_SetPreviewSize(0.2f);
        MP_UI_SetBufferCompressionMode(0);
        folder = path("data");
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    void TearDown() override
    {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SeriesTest::TearDown();
    }

    std::unique_ptr<CExposureSeries> series(int w = 640, int h = 520)
    {
        auto s = std::make_unique<CExposureSeries>(false);
        CExposure* e = exposureOf(rgb8(w, h, [](int x, int y) { return unsigned(x * 2654435761u ^ y * 40503u); }),
                                  "IMG_0001.tif")
                           .release();
        e->m_strFilePath = "/photos/IMG_0001.tif";
        e->m_fGlobalWeight = 0.75f;
        e->m_fExposureValue = 0.5f;
        e->m_fAvgLuminance = 0.42f;
        for (size_t i = 0; i < e->PixelCount(); ++i)
            e->m_psMWeightBuffer[i] = short(int(i % 4001) - 2000);
        fill(*s, {e});
        s->SetMaster(e);
        return s;
    }

    QString ini() const { return path("project.ini"); }
    QString cmap() const { return folder + "/CMap0000.dat"; }
    QString mwmap() const { return folder + "/MWMap0000.dat"; }

    bool saveTo(const CExposureSeries& s)
    {
        QSettings settings(ini(), QSettings::IniFormat);
        return s.SaveProject(settings, folder);
    }
    bool loadInto(CExposureSeries& s)
    {
        QSettings settings(ini(), QSettings::IniFormat);
        return s.LoadProject(settings, folder);
    }
    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    QString folder;
};

TEST_F(SeriesProjectTest, SaveWritesTheKeysAndRawDataFiles)
{
    auto s = series();
    ASSERT_TRUE(saveTo(*s));
    QSettings settings(ini(), QSettings::IniFormat);
    EXPECT_EQ(settings.allKeys().size(), 14);
    EXPECT_EQ(settings.value("ExposureSeries/Size").toInt(), 1);
    EXPECT_EQ(settings.value("ExposureSeries/Width").toInt(), 640);
    EXPECT_EQ(settings.value("ExposureSeries/Height").toInt(), 520);
    EXPECT_EQ(settings.value("Exposure0000/FileName").toString(), "IMG_0001.tif");
    EXPECT_EQ(settings.value("Exposure0000/FilePath").toString(), "/photos/IMG_0001.tif");
    EXPECT_TRUE(settings.value("Exposure0000/Master").toBool());
    EXPECT_FLOAT_EQ(settings.value("Exposure0000/GlobalWeight").toFloat(), 0.75f);
    EXPECT_EQ(QFileInfo(cmap()).size(), 640 * 520 * 6);
    EXPECT_EQ(QFileInfo(mwmap()).size(), 640 * 520 * 2);
    EXPECT_TRUE(progress.HasMessage("Projekt gespeichert", 9, 0));

    // Loading into a fresh series gives the image and the manual map back.
    CExposureSeries t(false);
    ASSERT_TRUE(loadInto(t));
    ASSERT_EQ(t.m_vExposures.size(), 1);
    const CExposure* a = s->m_vExposures.first();
    const CExposure* b = t.m_vExposures.first();
    EXPECT_EQ(t.m_pMaster, b);
    EXPECT_EQ(b->m_strFileName, "IMG_0001.tif");
    EXPECT_FLOAT_EQ(b->m_fAvgLuminance, 0.42f);
    EXPECT_EQ(std::memcmp(a->m_pusBuffer, b->m_pusBuffer, a->PixelCount() * 6), 0);
    EXPECT_EQ(std::memcmp(a->m_psMWeightBuffer, b->m_psMWeightBuffer, a->PixelCount() * 2), 0);
    EXPECT_EQ(b->m_uiPreviewWidth, s->m_uiPreviewWidth);
    EXPECT_TRUE(progress.HasMessage("Projekt geladen", 10, 0));
}

TEST_F(SeriesProjectTest, SyntheticFirstAndEmptySeriesWriteNoImageAndDropStaleFiles)
{
    write(cmap(), "stale");
    write(mwmap(), "stale");
    auto s = series();
    s->m_vExposures.first()->m_bSynthetic = true;
    ASSERT_TRUE(saveTo(*s));
    EXPECT_FALSE(QFileInfo::exists(cmap()));
    EXPECT_EQ(QFileInfo(mwmap()).size(), 640 * 520 * 2);

    QFile::remove(ini());
    write(cmap(), "stale");
    CExposureSeries empty(false);
    empty.m_uiWidth = 10;
    ASSERT_TRUE(saveTo(empty));
    QSettings settings(ini(), QSettings::IniFormat);
    EXPECT_EQ(settings.allKeys().size(), 6);
    EXPECT_EQ(settings.value("ExposureSeries/Size").toInt(), 0);
    EXPECT_FALSE(QFileInfo::exists(cmap()));
    EXPECT_FALSE(QFileInfo::exists(mwmap()));
}

TEST_F(SeriesProjectTest, LoadOfAnEmptySeriesSetsTheSizesAndFactor)
{
    {
        QSettings settings(ini(), QSettings::IniFormat);
        settings.setValue("ExposureSeries/Size", 0);
        settings.setValue("ExposureSeries/Width", 800);
        settings.setValue("ExposureSeries/Height", 600);
        settings.setValue("ExposureSeries/WidthPrev", 400);
        settings.setValue("ExposureSeries/HeightPrev", 300);
        settings.setValue("ExposureSeries/ScalingFactor", 0.5f);
    }
    CExposureSeries s(false);
    EXPECT_TRUE(loadInto(s));
    EXPECT_TRUE(s.m_vExposures.isEmpty());
    EXPECT_EQ(s.m_uiWidth, 800u);
    EXPECT_EQ(s.m_uiPreviewHeight, 300u);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactor(), 0.5f);
}

TEST_F(SeriesProjectTest, SaveIntoAnUnwritableFolderReportsTheFileError)
{
    auto s = series();
    // A folder below a plain file cannot be written, not even by root.
    write(path("plain"), "x");
    folder = path("plain") + "/data";
    EXPECT_FALSE(saveTo(*s));
    EXPECT_TRUE(progress.HasMessage("Dateifehler: Eine Datei konnte nicht geschrieben werden", 9, 2));
    EXPECT_FALSE(progress.HasMessage("Projekt gespeichert", 9, 0));
}

TEST_F(SeriesProjectTest, FailedSaveLeavesTheOldFilesWhole)
{
    auto s = series();
    ASSERT_TRUE(saveTo(*s));
    const QByteArray before = read(cmap());
    // The weight file's place is taken by a folder: its write fails.
    ASSERT_TRUE(QFile::remove(mwmap()));
    ASSERT_TRUE(QDir().mkpath(mwmap()));
    s->m_vExposures.first()->m_pusBuffer[0] ^= 0x5555;
    s->m_vExposures.first()->m_bSynthetic = true; // would drop the image file after a good save
    progress.Clear();
    EXPECT_FALSE(saveTo(*s));
    EXPECT_TRUE(progress.HasMessage("Dateifehler: Eine Datei konnte nicht geschrieben werden", 9, 2));
    EXPECT_EQ(read(cmap()), before);
}

TEST_F(SeriesProjectTest, LossyPreCodingLeavesTheOpenImageAndTheFileDecodes)
{
    MP_UI_SetBufferCompressionMode(1);
    MP_UI_SetCompressionLevel(1);
    host.saveMode = 8;
    auto s = series();
    const CExposure* e = s->m_vExposures.first();
    std::vector<unsigned short> original(e->m_pusBuffer, e->m_pusBuffer + e->PixelCount() * 3);
    ASSERT_TRUE(saveTo(*s));
    EXPECT_EQ(std::memcmp(original.data(), e->m_pusBuffer, original.size() * 2), 0);

    std::vector<unsigned short> expected = original;
    ASSERT_EQ(MP_UI_ConvertToCompress(expected.data(), 640, 520, 8), 0);
    ASSERT_EQ(MP_UI_ConvertFromCompress(expected.data(), 640, 520, 8), 0);
    CExposureSeries t(false);
    ASSERT_TRUE(loadInto(t));
    EXPECT_EQ(std::memcmp(expected.data(), t.m_vExposures.first()->m_pusBuffer, expected.size() * 2), 0);
}

namespace {
void* failingAllocation(size_t)
{
    return nullptr;
}
} // namespace

TEST_F(SeriesProjectTest, PreCodingOutOfMemoryFailsTheSaveAndKeepsTheOldFiles)
{
    MP_UI_SetBufferCompressionMode(1);
    auto s = series();
    ASSERT_TRUE(saveTo(*s));
    const QByteArray before = read(cmap());
    progress.Clear();
    MP_SetPrecodingScratchAllocator(&failingAllocation);
    EXPECT_FALSE(saveTo(*s));
    MP_SetPrecodingScratchAllocator(nullptr);
    EXPECT_TRUE(progress.HasMessage("Es steht nicht genügend Arbeitsspeicher zur Verfügung.", 0, 2));
    EXPECT_FALSE(progress.HasMessage("Projekt gespeichert", 9, 0));
    EXPECT_EQ(read(cmap()), before);
}

TEST_F(SeriesProjectTest, HostileDataFilesAreRefusedAndLeaveTheSeriesEmpty)
{
    MP_UI_SetBufferCompressionMode(1);
    auto s = series();
    ASSERT_TRUE(saveTo(*s));
    const QByteArray good = read(cmap());
    const quint32 length = 640 * 520 * 6;
    QByteArray wrongHeader = good;
    wrongHeader[3] = char(wrongHeader[3] + 1);
    QByteArray notZlib = good.left(4) + QByteArray(good.size() - 4, 'x');
    QByteArray otherLength = qCompress(QByteArray(int(length) - 6, 'a'));
    otherLength.replace(0, 4, good.left(4)); // claims the right length, inflates short
    struct Case {
        const char* what;
        QByteArray bytes;
        bool remove;
    } cases[] = {
        {"truncated", good.left(good.size() / 2), false},
        {"padded", good + QByteArray(16, '\0'), false},
        {"wrong header", wrongHeader, false},
        {"not zlib", notZlib, false},
        {"short stream", otherLength, false},
        {"empty", QByteArray(), false},
        {"missing", QByteArray(), true},
    };
    for (const Case& c : cases) {
        if (c.remove)
            QFile::remove(cmap());
        else
            write(cmap(), c.bytes);
        progress.Clear();
        CExposureSeries t(false);
        EXPECT_FALSE(loadInto(t)) << c.what;
        EXPECT_TRUE(t.m_vExposures.isEmpty()) << c.what;
        EXPECT_EQ(t.m_pMaster, nullptr);
        EXPECT_TRUE(progress.HasMessage("Projekt could not be loaded", 10, 2)) << c.what;
        EXPECT_FALSE(progress.HasMessage("Projekt geladen", 10, 0)) << c.what;
    }
    // Raw files need their exact length.
    MP_UI_SetBufferCompressionMode(0);
    write(cmap(), QByteArray(int(length) - 1, '\0'));
    CExposureSeries t(false);
    EXPECT_FALSE(loadInto(t));
}

TEST_F(SeriesProjectTest, ImpossibleSizesAreRefusedBeforeAnyAllocation)
{
    auto s = series();
    ASSERT_TRUE(saveTo(*s));
    struct Case {
        int w, h, pw, ph;
    } cases[] = {{100000, 100000, 100, 100}, {-640, 520, 100, 100}, {640, -520, 100, 100},
                 {640, 520, 0, 100},         {640, 520, 641, 100}, {640, 520, 100, 521}};
    for (const Case& c : cases) {
        {
            QSettings settings(ini(), QSettings::IniFormat);
            settings.setValue("ExposureSeries/Width", c.w);
            settings.setValue("ExposureSeries/Height", c.h);
            settings.setValue("ExposureSeries/WidthPrev", c.pw);
            settings.setValue("ExposureSeries/HeightPrev", c.ph);
        }
        CExposureSeries t(false);
        EXPECT_FALSE(loadInto(t)) << c.w << "x" << c.h << " " << c.pw << "x" << c.ph;
        EXPECT_TRUE(t.m_vExposures.isEmpty());
    }
}

TEST_F(SeriesProjectTest, BadFloatsTakeDefaultsAndQt4VariantsRead)
{
    auto s = series();
    ASSERT_TRUE(saveTo(*s));
    {
        QSettings settings(ini(), QSettings::IniFormat);
        settings.setValue("Exposure0000/GlobalWeight", std::numeric_limits<float>::quiet_NaN());
        settings.setValue("Exposure0000/ExposureValue", 7.5f);
        settings.setValue("Exposure0000/AvgLuminance", "nonsense");
        settings.remove("ExposureSeries/ScalingFactor");
    }
    CExposureSeries t(false);
    ASSERT_TRUE(loadInto(t));
    const CExposure defaults;
    const CExposure* e = t.m_vExposures.first();
    EXPECT_FLOAT_EQ(e->m_fGlobalWeight, defaults.m_fGlobalWeight);
    EXPECT_FLOAT_EQ(e->m_fExposureValue, 1.0f);
    EXPECT_FLOAT_EQ(e->m_fAvgLuminance, defaults.m_fAvgLuminance);
    EXPECT_FLOAT_EQ(MP_UI_GetPreviewScalingFactor(), float(t.m_uiPreviewWidth) / float(t.m_uiWidth));

    // A float written by Qt 4 (type 135 in a QDataStream of version 4.0): 0.25.
    QByteArray text = read(ini());
    text.replace(QByteArray("GlobalWeight=nan"), QByteArray());
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.close();
    {
        QSettings settings(ini(), QSettings::IniFormat);
        settings.remove("Exposure0000/GlobalWeight");
    }
    QByteArray body = read(ini());
    body.replace("[Exposure0000]\n", "[Exposure0000]\nGlobalWeight=\"@Variant(\\0\\0\\0\\x87>\\x80\\0\\0)\"\n");
    write(ini(), body);
    CExposureSeries u(false);
    ASSERT_TRUE(loadInto(u));
    EXPECT_FLOAT_EQ(u.m_vExposures.first()->m_fGlobalWeight, 0.25f);
}
