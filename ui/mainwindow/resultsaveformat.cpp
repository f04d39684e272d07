#include "ui/mainwindow/resultsaveformat.h"

#include "platform/userpaths.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace {

struct SFormat {
    const char* filter;
    const char* tail;
};

constexpr SFormat kFormats[] = {
    {"TIF 8-Bit (*.tif)", ".tif"},
    {"Jpeg 8-Bit (*.jpg)", ".jpg"},
    {"TIFF 16-Bit (*.tiff)", ".tiff"},
    {"Radiance RGBE (*.hdr)", ".hdr"},
    {"Open EXR (*.exr)", ".exr"},
    {"TIFF 32-Bit (*.tif32 *.tif)", ".tif32"},
    {"Portable Floatmap 32-Bit (*.pfm)", ".pfm"},
    {"PNG 16-Bit (*.png)", ".png"},
    {"Jpeg 16-Bit (*.jp2)", ".jp2"},
};
constexpr int kFormatCount = int(sizeof(kFormats) / sizeof(kFormats[0]));

const char kKey[] = "lastSavedFormat";

} // namespace

namespace ResultSaveFormat {

int IndexForPath(const QString& path)
{
    for (int i = 0; i < kFormatCount; ++i)
        if (path.endsWith(QLatin1String(kFormats[i].tail)))
            return i;
    return -1;
}

QString FilterForIndex(int index)
{
    if (index < 0 || index >= kFormatCount)
        return QString();
    return QString::fromLatin1(kFormats[index].filter);
}

QString SuffixForFilter(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString IniPath() { return lumivex::platform::userSettingsFolder() + QStringLiteral("lastsaveformat.ini"); }

int ReadLastSavedFormat(const QString& iniPath)
{
    if (!QFileInfo::exists(iniPath))
        return 1;
    QSettings ini(iniPath, QSettings::IniFormat);
    return ini.value(QLatin1String(kKey), 0).toInt();
}

void StoreLastSavedFormat(const QString& path, const QString& iniPath)
{
    const int index = IndexForPath(path);
    if (index < 0)
        return;
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setValue(QLatin1String(kKey), index);
    ini.sync();
}

} // namespace ResultSaveFormat
