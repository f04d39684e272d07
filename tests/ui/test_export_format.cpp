// The save flow's format memory and dialog filters.

#include "uifixture.h"

#include "ui/mainwindow/resultsaveformat.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace RSF = ResultSaveFormat;

TEST(ResultSaveFormat, TailsFiltersAndSuffixes)
{
    struct Case {
        const char* path;
        int index;
        const char* filter;
        const char* suffix;
    };
    const Case cases[] = {
        {"a.tif", 0, "TIF 8-Bit (*.tif)", "tif"},
        {"a.jpg", 1, "Jpeg 8-Bit (*.jpg)", "jpg"},
        {"a.tiff", 2, "TIFF 16-Bit (*.tiff)", "tiff"},
        {"a.hdr", 3, "Radiance RGBE (*.hdr)", "hdr"},
        {"a.exr", 4, "Open EXR (*.exr)", "exr"},
        {"a.tif32", 5, "TIFF 32-Bit (*.tif32 *.tif)", "tif32"},
        {"a.pfm", 6, "Portable Floatmap 32-Bit (*.pfm)", "pfm"},
        {"a.png", 7, "PNG 16-Bit (*.png)", "png"},
        {"a.jp2", 8, "Jpeg 16-Bit (*.jp2)", "jp2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RSF::IndexForPath(c.path), c.index) << c.path;
        EXPECT_EQ(RSF::FilterForIndex(c.index), c.filter);
        EXPECT_EQ(RSF::SuffixForFilter(c.filter), c.suffix);
    }
    for (const char* none : {"a.TIF", "a.jpeg", "Bild", "a.Tif32", ""})
        EXPECT_EQ(RSF::IndexForPath(none), -1) << none;
    for (int outside : {-1, -100, 9, 42})
        EXPECT_TRUE(RSF::FilterForIndex(outside).isEmpty()) << outside;
    EXPECT_TRUE(RSF::SuffixForFilter("All files").isEmpty());
}

TEST(ResultSaveFormat, LastSavedFormatMemory)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath("lastsaveformat.ini");
    EXPECT_EQ(RSF::ReadLastSavedFormat(ini), 1); // no file: JPEG
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue("other", 5);
    }
    EXPECT_EQ(RSF::ReadLastSavedFormat(ini), 0); // file without the key
    RSF::StoreLastSavedFormat("/x/result.tiff", ini);
    EXPECT_EQ(RSF::ReadLastSavedFormat(ini), 2);
    RSF::StoreLastSavedFormat("/x/result.TIFF", ini); // no index: key untouched
    RSF::StoreLastSavedFormat("/x/Bild", ini);
    EXPECT_EQ(RSF::ReadLastSavedFormat(ini), 2);
    RSF::StoreLastSavedFormat("/x/a.tif32", ini);
    EXPECT_EQ(RSF::ReadLastSavedFormat(ini), 5);
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("other").toInt(), 5);
    EXPECT_TRUE(RSF::IniPath().endsWith("/Lumivex Pro/lastsaveformat.ini"));
}
