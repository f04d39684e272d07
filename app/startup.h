#pragma once
// The steps of the program's start-up and shut-down that main runs in order
// (see main.cpp), as functions so that each can be run and checked alone.

#include <FreeImage.h>

#include <QString>
#include <QStringList>

class QCoreApplication;
class QSettings;

namespace lumivex::startup {

// Version constants of this program.
constexpr int kVersionFamily = 1;
constexpr int kVersion = 3;
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 14;
constexpr int kVersionBuild = 2132;

// "LUMIVEX_1_3_C935FDA1".
QString ProgramId();
// "1.14.2132".
QString ProgramVersion();

// The folder that holds the program file.
QString ExecutableFolder();
// "info.plist" in the application folder (INI on this platform).
QString InfoPlistPath();

// Writes "Lumivex Pro.ini" into the family folder: "Path", "Display_Name"
// and "Application" (only when info.plist has them), then the version keys.
void WriteVersionIni();
// Opens "plugin.ini" in the user settings folder with "ApplicationPath" set.
QSettings* OpenPluginIni();

// The installer switch: "-InitializeAndExit" as first argument. Returns true
// when it was given (the caller then exits with 0); stores the language of
// "-Lang_DE", "-Lang_EN" or "-Lang_FR" in "language.ini".
bool HandleInstallerSwitch(int argc, char** argv);
// The locale of an installer language switch, empty for any other text.
QString InstallerLocale(const QString& argument);

// Redirects std::cout into "startup.log" in the user settings folder, and back.
void StartLogging();
void StopLogging();

// The image library's message callback: prints straight to the process's
// standard output, bypassing the start-up log, and counts the message for the
// thread it came on (NoteImageLibraryMessage).
void DLL_CALLCONV FreeImageErrorHandler(FREE_IMAGE_FORMAT format, const char* message);

// The partner page of "link_lumivex.ini" ("openbrowserpage"), opened at the
// first two starts that "oem.ini" counts.
void OpenPartnerPage();

// Each command-line path after the program name (options of Qt already
// removed, other options ignored) made absolute against the current folder.
QStringList CommandLinePaths(const QStringList& arguments);
// Posts each path as a file-open event to the application object.
void PostFileOpenEvents(QCoreApplication* app, const QStringList& paths);

// The operating-system lines of the start-up log.
void LogSystem();
// Engine initialisation and the calculation method set-up with their log lines.
void InitEngine();

} // namespace lumivex::startup
