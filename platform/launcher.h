#pragma once
// Launcher: starts another program with a file, the stand-in for the
// desktop's "open -b <bundle id> <file>". The program and its arguments go to
// QProcess::startDetached as an argument vector, never through a shell, so no
// character of a file name is interpreted. Tests replace the start with a
// recorder.

#include <QString>
#include <QStringList>

namespace lumivex::platform {

class ILauncher {
public:
    virtual ~ILauncher() = default;
    // True when the program was started.
    virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;
};

class Launcher {
public:
    // Starts the executable with the arguments, unchanged; false when the
    // program is empty or could not be started.
    static bool Start(const QString& program, const QStringList& arguments);
    // Replaces the start; returns the previous replacement (null: the real start).
    static ILauncher* SetLauncher(ILauncher* launcher);
};

} // namespace lumivex::platform
