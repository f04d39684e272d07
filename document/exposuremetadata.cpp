// Metadata and EXIF of an exposure: the browsable tables per metadata model,
// the picked-out camera values, capture time, GPS texts and file names.

#include "document/exposure.h"
#include "document/imageloader.h"
#include "document/jpegreader.h"

#include "engine/core/settings.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

struct ModelTitle {
    FREE_IMAGE_MDMODEL model;
    const char* title; // nullptr: the camera make followed by " Makernote"
};

const ModelTitle kModels[] = {
    {FIMD_COMMENTS, "Comments"},
    {FIMD_EXIF_MAIN, "Exif - main info"},
    {FIMD_EXIF_EXIF, "Exif - advanced info"},
    {FIMD_EXIF_GPS, "Exif GPS"},
    {FIMD_EXIF_INTEROP, "Exif interoperability"},
    {FIMD_EXIF_MAKERNOTE, nullptr},
    {FIMD_IPTC, "IPTC/NAA"},
    {FIMD_GEOTIFF, "GEOTIFF"},
};

// The photographic shutter value nearest to D (1/D seconds).
int snapShutter(int D)
{
    struct Range {
        int from, to, step, tolerance;
    };
    static const Range kRanges[] = {
        {10, 100, 5, 2}, {100, 200, 10, 4}, {200, 500, 25, 12}, {500, 1000, 50, 24}, {1000, 10000, 500, 249},
    };
    for (const Range& r : kRanges)
        for (int c = r.from; c <= r.to; c += r.step)
            if (c - r.tolerance <= D && D <= c + r.tolerance)
                D = c;
    return D;
}

// A float as an int, clamped to the int range first (NaN gives 0).
int clampToInt(float v)
{
    if (!(v > -2147483648.0f))
        return v != v ? 0 : -2147483647 - 1;
    if (v >= 2147483648.0f)
        return 2147483647;
    return int(v);
}

QString tagText(FREE_IMAGE_MDMODEL model, FITAG* tag)
{
    const char* text = FreeImage_TagToString(model, tag, nullptr);
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

QString CExposure::RewriteExposureTime(const QString& value, float* seconds)
{
    const int slash = value.indexOf('/');
    const int space = value.lastIndexOf(' ');
    const int n = (slash < 0 ? value : value.left(slash)).toInt();
    const int d = (slash < 0 ? value.left(space < 0 ? 0 : space)
                             : value.mid(slash + 1, space > slash ? space - slash - 1 : -1))
                      .toInt();
    const QString unit = space < 0 ? QString() : value.mid(space + 1);
    QString text = value;
    if (n > 0 && d > 0) {
        const float t = float(n) / float(d);
        if (n < d)
            text = QString::asprintf("1/%i ", snapShutter(clampToInt(1.0f / t))) + unit;
        else
            text = QString::asprintf("%i ", clampToInt(t)) + unit;
    }
    if (seconds) {
        if (n != 0 && d != 0)
            *seconds = float(n) / float(d);
        else if (n != 0)
            *seconds = 0.0f;
        else
            *seconds = float(d);
    }
    return text;
}

qint64 CExposure::ParseDateTime(const QString& value)
{
    QString text = value.trimmed();
    text.replace(' ', ':');
    const QStringList parts = text.split(':');
    if (parts.size() != 6)
        return -1;
    int field[6];
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        field[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return -1;
    }
    const int year = field[0], month = field[1], day = field[2];
    const int hour = field[3], minute = field[4], second = field[5];
    static const int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1980 || year > 2054 || month < 1 || month > 12)
        return -1;
    const bool leap = year % 4 == 0;
    const int monthLength = kMonthLength[month - 1] + ((leap && month == 2) ? 1 : 0);
    if (day < 1 || day > monthLength || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59)
        return -1;
    qint64 days = 365LL * (year - 1980);
    for (int y = 1980; y < year; ++y)
        if (y % 4 == 0)
            ++days;
    if (leap && month >= 3)
        ++days;
    for (int m = 0; m < month - 1; ++m)
        days += kMonthLength[m];
    return (days + day - 1) * 86400LL + hour * 3600LL + minute * 60LL + second;
}

QString CExposure::GPSValue(const QString& ref, const QString& coordinate)
{
    if (coordinate.isEmpty())
        return ref;
    // Degrees, minutes and seconds with hundredths, "48:08:12.34"; the
    // library prints single-digit minutes and seconds without a leading zero
    // and degrees up to 180.
    const QStringList parts = coordinate.split(':');
    const int deg = parts.value(0).trimmed().toInt();
    const int min = parts.value(1).trimmed().toInt();
    const QString secText = parts.value(2).trimmed();
    const int dot = secText.indexOf('.');
    const int sec = (dot < 0 ? secText : secText.left(dot)).toInt();
    QString frac = dot < 0 ? QString() : secText.mid(dot + 1);
    frac = (frac + "00").left(2);
    const int hundredths = frac.toInt();
    const float value = float(hundredths) / 360000.0f + (float(sec) / 3600.0f + (float(min) / 60.0f + float(deg)));
    return ref + QString("%1").arg(double(value), 0, 'g', 6);
}

QString CExposure::GetGPSNSvalue() const
{
    return GPSValue(m_strGPSLatitudeRef, m_strGPSLatitude);
}

QString CExposure::GetGPSWEvalue() const
{
    return GPSValue(m_strGPSLongitudeRef, m_strGPSLongitude);
}

QString CExposure::ExtractFileName(const QString& path)
{
    const QString back = path.section('\\', -1);
    const QString slash = path.section('/', -1);
    return back.length() < slash.length() ? back : slash;
}

void CExposure::SetFilePath(const QString& path)
{
    m_strFilePath = path;
    m_strFileName = ExtractFileName(path);
}

const QMap<unsigned int, QString>& CExposure::GetExif()
{
    if (!m_bExifLoaded)
        LoadExif();
    return m_mapMetadataTables;
}

void CExposure::LoadExif()
{
    const double start = MP_UI_GetActualTime();
    const QByteArray path = QFile::encodeName(m_strFilePath);
    const FREE_IMAGE_FORMAT fif = CLoadThread::ReadableFormat(path);
    if (fif != FIF_UNKNOWN) {
        FIBITMAP* bitmap = nullptr;
        // Only the metadata are read: JPEG, PNG and TIFF without decoding
        // their pixels (GIF cannot skip them).
        // A JPEG file FreeImage cannot read safely (see
        // JpegSafeForFreeImage) gives none.
        if (fif == FIF_JPEG && !JpegSafeForFreeImage(path.constData(), CLoadThread::kMaxPixels))
            bitmap = nullptr;
        else if (fif == FIF_JPEG || fif == FIF_PNG || fif == FIF_TIFF)
            bitmap = FreeImage_Load(fif, path.constData(), FIF_LOAD_NOPIXELS);
        else if (fif == FIF_GIF)
            bitmap = FreeImage_Load(fif, path.constData(), 0);
        else if (fif == FIF_RAW)
            bitmap = FreeImage_Load(fif, path.constData(), RAW_PREVIEW);
        if (bitmap) {
            ParseExif(bitmap);
            FreeImage_Unload(bitmap);
        }
    }
    m_bExifLoaded = true;
    std::printf("%11.4f ms LoadExif()\n", MP_UI_CalcTimeDifference(start));
}

void CExposure::ParseExif(FIBITMAP* bitmap)
{
    if (!bitmap)
        return;
    for (const ModelTitle& m : kModels) {
        if (FreeImage_GetMetadataCount(m.model, bitmap) == 0)
            continue;
        QByteArray title;
        if (m.title) {
            title = m.title;
        } else {
            FITAG* make = nullptr;
            if (FreeImage_GetMetadata(FIMD_EXIF_MAIN, bitmap, "Make", &make) && make)
                title = tagText(FIMD_EXIF_MAIN, make).toUtf8();
            title = (title + " Makernote").trimmed(); // without a make: "Makernote"
        }
        ParseMetadata(bitmap, title.constData(), m.model);
    }
}

void CExposure::ParseMetadata(FIBITMAP* bitmap, const char* title, FREE_IMAGE_MDMODEL model)
{
    FITAG* tag = nullptr;
    FIMETADATA* search = FreeImage_FindFirstMetadata(model, bitmap, &tag);
    const unsigned int key = unsigned(model);
    if (!search) {
        m_mapMetadataTitles[key] = QString();
        m_mapMetadataTables[key] = QString();
        return;
    }
    const QString sectionTitle = QString::fromUtf8(title ? title : "");
    QString table = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\">";
    do {
        const QString printed = tagText(model, tag);
        QString value = printed;
        const char* keyText = FreeImage_GetTagKey(tag);
        const QString tagKey = QString::fromUtf8(keyText ? keyText : "");
        if (tagKey == "ExposureTime") {
            float seconds = 0.0f;
            value = RewriteExposureTime(printed, &seconds);
            SetExposureTime(seconds);
        } else if (tagKey == "ISOSpeedRatings") {
            SetISOSpeedRatings(printed.toInt());
        } else if (tagKey == "Model") {
            SetCameraModel(printed);
        } else if (tagKey == "GPSLatitudeRef") {
            SetGPSData(printed, QString(), QString(), QString());
        } else if (tagKey == "GPSLongitudeRef") {
            SetGPSData(QString(), printed, QString(), QString());
        } else if (tagKey == "GPSLatitude") {
            SetGPSData(QString(), QString(), printed, QString());
        } else if (tagKey == "GPSLongitude") {
            SetGPSData(QString(), QString(), QString(), printed);
        }
        // Texts from the file are shown as text, never as markup.
        const char* description = FreeImage_GetTagDescription(tag);
        if (description)
            table += QString("<TR><TD width=\"125\">%1</TD><TD width=\"200\">%2</TD><TD width=\"200\">%3</TD></TR>")
                         .arg(tagKey.toHtmlEscaped(), value.toHtmlEscaped(),
                              QString::fromUtf8(description).toHtmlEscaped());
        else
            table += QString("<TR><TD width=\"125\">%1</TD><TD width=\"200\">%2</TD><TD width=\"200\">&nbsp;</TD></TR>")
                         .arg(tagKey.toHtmlEscaped(), printed.toHtmlEscaped());
    } while (FreeImage_FindNextMetadata(search, &tag));
    FreeImage_FindCloseMetadata(search);
    table += "</table>";
    m_mapMetadataTitles[key] = sectionTitle;
    m_mapMetadataTables[key] = table;
}

void CExposure::SetDateTime(FIBITMAP* bitmap)
{
    m_iDateTime = -1;
    FITAG* tag = nullptr;
    if (!bitmap || !FreeImage_GetMetadata(FIMD_EXIF_MAIN, bitmap, "DateTime", &tag) || !tag)
        return;
    m_iDateTime = ParseDateTime(tagText(FIMD_EXIF_MAIN, tag));
}
