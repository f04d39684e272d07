#include "ui/options/apppaths.h"

#include <QCoreApplication>

namespace lumivex {

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString ApplicationFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    const QString exe = QCoreApplication::applicationDirPath();
    return exe.left(exe.lastIndexOf(QLatin1Char('/')));
}

void SetApplicationFolder(const QString& folder) { overrideFolder() = folder; }

} // namespace lumivex
