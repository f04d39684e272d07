#include "platform/userpaths.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace lumivex::platform {

static QString homeFolder()
{
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty())
        return QFile::decodeName(home);
    return QDir::homePath();
}

QString userSettingsFolder() { return homeFolder() + QStringLiteral("/Lumivex Pro/"); }

QString familyFolder() { return homeFolder() + QStringLiteral("/Vorlix Series/"); }

bool ensureFolder(const QString& path)
{
    QDir dir(path);
    if (dir.exists())
        return true;
    return QDir().mkpath(path);
}

QString privateTempFolder()
{
    QString base = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (base.isEmpty())
        base = homeFolder() + QStringLiteral("/.cache");
    const QByteArray native = QFile::encodeName(base);
    struct stat st;
    if (lstat(native.constData(), &st) != 0) {
        // Missing: made for this user alone (its parents as usual).
        const QString parent = QFileInfo(base).path();
        if (!QDir().mkpath(parent) || (mkdir(native.constData(), 0700) != 0 && errno != EEXIST) ||
            lstat(native.constData(), &st) != 0)
            return QString();
    }
    // An existing folder may be shared (XDG_RUNTIME_DIR pointing at /tmp): it
    // is checked, never changed.
    if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return QString();
    return base;
}

} // namespace lumivex::platform
