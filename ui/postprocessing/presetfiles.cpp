#include "ui/postprocessing/presetfiles.h"

#include "platform/userpaths.h"
#include "ui/options/apppaths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace PresetFiles {

QString FactoryFolder() { return lumivex::ApplicationFolder() + QStringLiteral("/settings/"); }

QString UserFolder() { return lumivex::platform::userSettingsFolder(); }

QString FactoryFilter() { return QStringLiteral("lumivexpp_v%1_*.ini").arg(3); }

QString UserFilter() { return QStringLiteral("lumivexpp_vu_*.ini"); }

QStringList List(const QString& folder, const QStringList& filters)
{
    return QDir(folder).entryList(filters, QDir::Files, QDir::Name);
}

bool IsUserPresetName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).contains(QLatin1String("_vu_"));
}

QString NextUserPresetPath()
{
    static const QRegularExpression number(QStringLiteral("^lumivexpp_vu_(\\d{1,9})\\.ini$"));
    long long highest = -1;
    for (const QString& name : List(UserFolder(), {UserFilter()})) {
        const QRegularExpressionMatch m = number.match(name);
        if (m.hasMatch())
            highest = qMax(highest, m.captured(1).toLongLong());
    }
    for (long long n = highest + 1; n <= 99999999; ++n) {
        const QString path = UserFolder() + QString::asprintf("lumivexpp_vu_%06lld.ini", n);
        if (!QFileInfo::exists(path))
            return path;
    }
    return QString();
}

SHeader ReadHeader(const QString& path)
{
    SHeader h;
    QSettings s(path, QSettings::IniFormat);
    h.hasTimeStamp = s.contains(QStringLiteral("TimeStamp"));
    h.hasDisplayName = s.contains(QStringLiteral("DisplayName"));
    h.hasCategory = s.contains(QStringLiteral("Category"));
    h.timeStamp = s.value(QStringLiteral("TimeStamp")).toString();
    h.displayName = s.value(QStringLiteral("DisplayName")).toString();
    h.category = s.value(QStringLiteral("Category")).toString();
    h.hasVersion = s.contains(QStringLiteral("VersionFamily")) && s.contains(QStringLiteral("VersionMajor")) &&
                   s.contains(QStringLiteral("VersionMinor")) && s.contains(QStringLiteral("VersionBuild"));
    h.family = s.value(QStringLiteral("VersionFamily")).toInt();
    h.major = s.value(QStringLiteral("VersionMajor")).toInt();
    h.minor = s.value(QStringLiteral("VersionMinor")).toInt();
    h.build = s.value(QStringLiteral("VersionBuild")).toInt();
    return h;
}

int CheckImportable(const QString& path)
{
    const SHeader h = ReadHeader(path);
    int code = !h.hasCategory ? 3 : !h.hasDisplayName ? 2 : !h.hasTimeStamp ? 1 : 0;
    if (h.hasVersion) {
        if (h.family != 1)
            code = 4;
        // In 64 bits: a large major number must not wrap below the limit.
        const long long version = static_cast<long long>(h.major) * 10000000LL +
                                  static_cast<long long>(h.minor) * 100000LL + static_cast<long long>(h.build);
        if (version > 11402132LL)
            return 4;
    }
    if (code != 0)
        return code;
    const auto compare = [&](const QString& folder, const QString& filter) {
        for (const QString& name : List(folder, {filter})) {
            const SHeader other = ReadHeader(folder + name);
            if (other.timeStamp == h.timeStamp && other.displayName == h.displayName && other.category == h.category)
                code = 5;
        }
    };
    compare(FactoryFolder(), FactoryFilter());
    compare(UserFolder(), UserFilter());
    return code;
}

} // namespace PresetFiles
