// Metadata of an exposure: the picked-out camera values, capture time, GPS
// texts, file names and the browsable tables.

#include "documentfixture.h"
#include "exifwriter.h"

#include "document/imageloader.h"

#include <tuple>

TEST(ExposureMetadata, ExposureTimeRewriteAndSeconds)
{
    struct Case {
        const char* printed;
        const char* text;
        float seconds;
    };
    const Case cases[] = {
        {"1/250 sec", "1/250 sec", 0.004f},   {"10/2503 sec", "1/250 sec", 10.0f / 2503.0f},
        {"1/247 sec", "1/250 sec", 1.0f / 247.0f}, {"1/8000 sec", "1/8000 sec", 1.0f / 8000.0f},
        {"4 sec", "4 sec", 4.0f},             {"5/2 sec", "2 sec", 2.5f},
        {"1/0 sec", "1/0 sec", 0.0f},
        {"1/2147483647 sec", "1/2147483647 sec", 1.0f / 2147483647.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printed);
        float seconds = -1.0f;
        EXPECT_EQ(CExposure::RewriteExposureTime(c.printed, &seconds), QString(c.text));
        EXPECT_FLOAT_EQ(seconds, c.seconds);
    }
}

TEST(ExposureMetadata, CaptureTime)
{
    struct Case {
        const char* text;
        qint64 seconds;
    };
    const Case cases[] = {
        {"2012:03:01 12:00:00", 1015070400LL}, {"1979:12:31 23:59:59", -1},
        {"2054:12:31 23:59:59", 2366841599LL}, {"2012:13:01 12:00:00", -1},
        {"1980:01:01 00:00:00", 0},            {"2012:02:30 00:00:00", -1},
        {"2012:02:29 00:00:00", (365 * 32 + 8 + 31 + 28) * 86400LL}, {"2012:03:01 24:00:00", -1},
        {"garbage", -1},                        {"", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CExposure::ParseDateTime(c.text), c.seconds);
    }
}

TEST(ExposureMetadata, GPSTexts)
{
    struct Case {
        const char* ref;
        const char* coordinate;
        const char* text;
    };
    const Case cases[] = {
        {"N", "48:08:12.34", "N48.1368"}, {"S", "8:08:12.34", "S8.13676"}, {"N", "48:8:12.34", "N48.1368"},
        {"E", "120:30:5.34", "E120.501"}, {"W", "", "W"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.coordinate);
        EXPECT_EQ(CExposure::GPSValue(c.ref, c.coordinate), QString(c.text));
    }
    CExposure e;
    e.SetGPSData("N", "E", "48:08:12.34", "120:30:5.34");
    EXPECT_EQ(e.GetGPSNSvalue() + "," + e.GetGPSWEvalue(), "N48.1368,E120.501");
}

TEST(ExposureMetadata, FileNames)
{
    EXPECT_EQ(CExposure::ExtractFileName("C:\\photos/x.jpg"), "x.jpg");
    EXPECT_EQ(CExposure::ExtractFileName("C:\\photos\\y.jpg"), "y.jpg");
    EXPECT_EQ(CExposure::ExtractFileName("/home/a/b.tif"), "b.tif");
    CExposure e;
    e.SetFilePath("/p/q/r.png");
    EXPECT_EQ(e.m_strFilePath, "/p/q/r.png");
    EXPECT_EQ(e.m_strFileName, "r.png");
}

namespace {

FITAG* asciiTag(const char* key, const char* value)
{
    FITAG* tag = FreeImage_CreateTag();
    FreeImage_SetTagKey(tag, key);
    FreeImage_SetTagType(tag, FIDT_ASCII);
    const DWORD n = DWORD(std::strlen(value) + 1);
    FreeImage_SetTagLength(tag, n);
    FreeImage_SetTagCount(tag, n);
    FreeImage_SetTagValue(tag, value);
    return tag;
}

} // namespace

TEST(ExposureMetadata, TablesEscapeFileTextsAndFillOnlyPresentModels)
{
    FIBITMAP* b = FreeImage_Allocate(4, 4, 24);
    FITAG* tag = asciiTag("Caption", "<b>Sea & sky</b>");
    FreeImage_SetMetadata(FIMD_IPTC, b, "Caption", tag);
    FreeImage_DeleteTag(tag);
    CExposure e;
    e.ParseExif(b);
    FreeImage_Unload(b);
    ASSERT_EQ(e.m_mapMetadataTables.size(), 1);
    ASSERT_TRUE(e.m_mapMetadataTables.contains(FIMD_IPTC));
    EXPECT_EQ(e.m_mapMetadataTitles[FIMD_IPTC], "IPTC/NAA");
    const QString table = e.m_mapMetadataTables[FIMD_IPTC];
    EXPECT_TRUE(table.startsWith("<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"><TR>"));
    EXPECT_TRUE(table.endsWith("</TR></table>"));
    EXPECT_TRUE(table.contains("&lt;b&gt;Sea &amp; sky&lt;/b&gt;"));
    EXPECT_FALSE(table.contains("<b>"));
}

TEST(ExposureMetadata, DateTimeOfABitmap)
{
    FIBITMAP* b = FreeImage_Allocate(2, 2, 24);
    CExposure e;
    e.m_iDateTime = 5;
    e.SetDateTime(b);
    EXPECT_EQ(e.m_iDateTime, -1);
    FITAG* tag = asciiTag("DateTime", "2054:12:31 23:59:59");
    FreeImage_SetMetadata(FIMD_EXIF_MAIN, b, "DateTime", tag);
    FreeImage_DeleteTag(tag);
    e.SetDateTime(b);
    EXPECT_EQ(e.m_iDateTime, 2366841599LL);
    FreeImage_Unload(b);
}

class ExifFileTest : public DocumentTest {};

TEST_F(ExifFileTest, JpegExifIsReadOnFirstUse)
{
    FIBITMAP* b = rgb8(64, 32, [](int, int) { return 0x808080u; });
    ASSERT_TRUE(attachExifRaw(b, standardExifBlock()));
    const QString file = path("exif.jpg");
    ASSERT_TRUE(save(b, FIF_JPEG, file, JPEG_QUALITYSUPERB));

    CExposure e;
    e.SetFilePath(file);
    EXPECT_FALSE(e.m_bExifLoaded);
    const QMap<unsigned, QString>& tables = e.GetExif();
    EXPECT_TRUE(e.m_bExifLoaded);
    EXPECT_TRUE(tables.contains(FIMD_EXIF_MAIN));
    EXPECT_TRUE(tables.contains(FIMD_EXIF_EXIF));
    EXPECT_TRUE(tables.contains(FIMD_EXIF_GPS));
    EXPECT_EQ(e.m_mapMetadataTitles[FIMD_EXIF_MAIN], "Exif - main info");
    EXPECT_EQ(e.m_mapMetadataTitles[FIMD_EXIF_GPS], "Exif GPS");
    EXPECT_EQ(e.m_strCameraModel, "LX-1");
    EXPECT_EQ(e.m_iISOSpeedRatings, 200);
    EXPECT_FLOAT_EQ(e.m_fExposureTime, 10.0f / 2503.0f);
    EXPECT_TRUE(tables[FIMD_EXIF_EXIF].contains(">1/250 sec<"));
    EXPECT_EQ(e.GetGPSNSvalue(), "N48.1368");
    EXPECT_EQ(e.GetGPSWEvalue(), "E120.501");

    // Read once: a later change of the file is not seen until a reload.
    QFile::remove(file);
    e.GetExif();
    EXPECT_EQ(e.m_strCameraModel, "LX-1");
}

TEST_F(ExifFileTest, UnreadableFileStillMarksLoaded)
{
    CExposure e;
    e.SetFilePath(path("none.jpg"));
    EXPECT_TRUE(e.GetExif().isEmpty());
    EXPECT_TRUE(e.m_bExifLoaded);
}

namespace {

// An ASCII tag with its numeric tag id (IPTC and TIFF writers need it).
FITAG* iptcTag(WORD id, const char* key, const char* value)
{
    FITAG* tag = asciiTag(key, value);
    FreeImage_SetTagID(tag, id);
    return tag;
}

// Attaches comments, IPTC and XMP (and for JPEG the standard EXIF block, for
// TIFF camera make and model) to a bitmap that the writers of JPEG, TIFF and
// PNG store.
void attachMetadata(FIBITMAP* b, FREE_IMAGE_FORMAT fif)
{
    if (fif == FIF_JPEG)
        attachExifRaw(b, standardExifBlock(1));
    if (fif == FIF_TIFF) {
        for (auto [id, key, value] : {std::tuple<WORD, const char*, const char*>{0x010F, "Make", "Lumicam"},
                                      std::tuple<WORD, const char*, const char*>{0x0110, "Model", "LX-1"}}) {
            FITAG* tag = iptcTag(id, key, value);
            FreeImage_SetMetadata(FIMD_EXIF_MAIN, b, key, tag);
            FreeImage_DeleteTag(tag);
        }
    }
    FITAG* comment = asciiTag("Comment", "Evening at the harbour");
    FreeImage_SetMetadata(FIMD_COMMENTS, b, "Comment", comment);
    FreeImage_DeleteTag(comment);
    struct Iptc {
        WORD id;
        const char* key;
        const char* value;
    };
    for (const Iptc& i : {Iptc{0x0278, "Caption-Abstract", "Boats <& nets>"}, Iptc{0x0250, "By-line", "A. Photographer"},
                          Iptc{0x0219, "Keywords", "harbour;boats"}}) {
        FITAG* tag = iptcTag(i.id, i.key, i.value);
        FreeImage_SetMetadata(FIMD_IPTC, b, i.key, tag);
        FreeImage_DeleteTag(tag);
    }
    FITAG* xmp = asciiTag("XMLPacket", "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                                       "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"/></x:xmpmeta>");
    FreeImage_SetMetadata(FIMD_XMP, b, "XMLPacket", xmp);
    FreeImage_DeleteTag(xmp);
}

} // namespace

TEST_F(ExifFileTest, MetadataWithoutPixelsGiveTheSameTablesAsAFullDecode)
{
    // The tables and picked-out values of the metadata read without decoding
    // the pixels equal those of a full decode, model by model and tag by tag.
    struct Case {
        const char* name;
        FREE_IMAGE_FORMAT fif;
        std::vector<unsigned> models; // present at least
    };
    const Case cases[] = {
        {"meta.jpg", FIF_JPEG, {FIMD_COMMENTS, FIMD_EXIF_MAIN, FIMD_EXIF_EXIF, FIMD_EXIF_GPS, FIMD_IPTC}},
        {"meta.tif", FIF_TIFF, {FIMD_EXIF_MAIN, FIMD_IPTC}},
        {"meta.png", FIF_PNG, {FIMD_COMMENTS}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FIBITMAP* b = rgb8(96, 64, [](int x, int y) { return unsigned(x * 2 + y * 3) * 0x010101u; });
        attachMetadata(b, c.fif);
        const QString file = path(c.name);
        ASSERT_TRUE(save(b, c.fif, file));

        // The full decode.
        FIBITMAP* full = FreeImage_Load(c.fif, QFile::encodeName(file).constData(), 0);
        ASSERT_TRUE(full && FreeImage_HasPixels(full));
        CExposure reference;
        reference.ParseExif(full);
        FreeImage_Unload(full);

        CExposure e;
        e.SetFilePath(file);
        const QMap<unsigned, QString>& tables = e.GetExif();
        for (unsigned model : c.models)
            EXPECT_TRUE(tables.contains(model)) << model;
        EXPECT_EQ(e.m_mapMetadataTables, reference.m_mapMetadataTables);
        EXPECT_EQ(e.m_mapMetadataTitles, reference.m_mapMetadataTitles);
        EXPECT_EQ(e.m_strCameraModel, reference.m_strCameraModel);
        EXPECT_EQ(e.m_iISOSpeedRatings, reference.m_iISOSpeedRatings);
        EXPECT_EQ(e.m_fExposureTime, reference.m_fExposureTime);
        EXPECT_EQ(e.GetGPSNSvalue(), reference.GetGPSNSvalue());
        EXPECT_EQ(e.GetGPSWEvalue(), reference.GetGPSWEvalue());
        if (c.fif == FIF_JPEG) {
            EXPECT_EQ(e.m_strCameraModel, "LX-1");
            EXPECT_TRUE(tables[FIMD_IPTC].contains("Boats &lt;&amp; nets&gt;"));
        }
    }
}
