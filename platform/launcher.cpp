#include "platform/launcher.h"

#include <QAtomicPointer>
#include <QProcess>

namespace lumivex::platform {

namespace {
QAtomicPointer<ILauncher> g_launcher;
} // namespace

bool Launcher::Start(const QString& program, const QStringList& arguments)
{
    if (program.isEmpty())
        return false;
    if (ILauncher* launcher = g_launcher.loadAcquire())
        return launcher->StartDetached(program, arguments);
    return QProcess::startDetached(program, arguments);
}

ILauncher* Launcher::SetLauncher(ILauncher* launcher) { return g_launcher.fetchAndStoreOrdered(launcher); }

} // namespace lumivex::platform
