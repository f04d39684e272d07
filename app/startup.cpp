#include "app/startup.h"

#include "document/imageloader.h"
#include "engine/MP_calc.h"
#include "engine/openclmanager.h"
#include "platform/userpaths.h"
#include "ui/options/apppaths.h"
#include "ui/options/options.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileOpenEvent>
#include <QSettings>
#include <QSysInfo>
#include <QThread>
#include <QUrl>

#include <cstdio>
#include <fstream>
#include <iostream>

namespace {
// The start-up log: the buffer standard output used before, and the file.
std::streambuf* consolebuffer = nullptr;
std::ofstream filestr;

const std::string kRule(61, '_');
} // namespace

namespace lumivex::startup {

QString ProgramId()
{
    return QStringLiteral("LUMIVEX_%1_%2_C935FDA1").arg(kVersionFamily).arg(kVersion);
}

QString ProgramVersion()
{
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionBuild);
}

QString ExecutableFolder() { return QCoreApplication::applicationDirPath(); }

QString InfoPlistPath() { return lumivex::ApplicationFolder() + QStringLiteral("/info.plist"); }

void WriteVersionIni()
{
    QSettings ini(lumivex::platform::familyFolder() + QStringLiteral("Lumivex Pro") + QStringLiteral(".ini"),
                  QSettings::IniFormat);
    ini.setValue(QStringLiteral("Path"), ExecutableFolder());
    const QSettings plist(InfoPlistPath(), QSettings::NativeFormat);
    if (plist.contains(QStringLiteral("CFBundleDisplayName")))
        ini.setValue(QStringLiteral("Display_Name"), plist.value(QStringLiteral("CFBundleDisplayName")).toString());
    if (plist.contains(QStringLiteral("CFBundleIdentifier")))
        ini.setValue(QStringLiteral("Application"), plist.value(QStringLiteral("CFBundleIdentifier")).toString());
    ini.setValue(QStringLiteral("Version_Family"), kVersionFamily);
    ini.setValue(QStringLiteral("Version_Version"), kVersion);
    ini.setValue(QStringLiteral("Version_Major"), kVersionMajor);
    ini.setValue(QStringLiteral("Version_Minor"), kVersionMinor);
    ini.setValue(QStringLiteral("Version_Build"), kVersionBuild);
}

QSettings* OpenPluginIni()
{
    QSettings* ini =
        new QSettings(lumivex::platform::userSettingsFolder() + QStringLiteral("plugin.ini"), QSettings::IniFormat);
    ini->setValue(QStringLiteral("ApplicationPath"), ExecutableFolder());
    return ini;
}

QString InstallerLocale(const QString& argument)
{
    if (argument == QLatin1String("-Lang_DE"))
        return QStringLiteral("de_DE");
    if (argument == QLatin1String("-Lang_EN"))
        return QStringLiteral("en_GB");
    if (argument == QLatin1String("-Lang_FR"))
        return QStringLiteral("fr_FR");
    return QString();
}

bool HandleInstallerSwitch(int argc, char** argv)
{
    if (argc <= 1 || qstrcmp(argv[1], "-InitializeAndExit") != 0)
        return false;
    const QString locale = argc > 2 ? InstallerLocale(QString::fromLocal8Bit(argv[2])) : QString();
    if (!locale.isEmpty()) {
        QSettings ini(COptions::LanguageIniPath(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("locale"), locale);
    }
    return true;
}

void StartLogging()
{
    consolebuffer = std::cout.rdbuf();
    const QByteArray path = QFile::encodeName(lumivex::platform::userSettingsFolder() + QStringLiteral("startup.log"));
    filestr.open(path.constData(), std::ios::out | std::ios::trunc);
    std::cout.rdbuf(filestr.rdbuf());
    if (filestr.is_open())
        std::cout.clear();
    else
        std::cout.setstate(std::ios::failbit);
}

void StopLogging()
{
    if (consolebuffer)
        std::cout.rdbuf(consolebuffer);
    consolebuffer = nullptr;
    std::cout.clear();
    filestr.close();
}

void DLL_CALLCONV FreeImageErrorHandler(FREE_IMAGE_FORMAT format, const char* message)
{
    std::printf("\n*** ");
    if (format != FIF_UNKNOWN)
        std::printf("%s Format\n", FreeImage_GetFormatFromFIF(format));
    std::printf("%s", message ? message : "");
    std::printf("\n");
    std::printf(" ***\n");
    std::fflush(stdout);
    // A load that still returns a bitmap tells the user about the damage.
    NoteImageLibraryMessage();
}

void OpenPartnerPage()
{
    const QString linkPath = lumivex::ApplicationFolder() + QStringLiteral("/settings/link_lumivex.ini");
    if (!QFileInfo::exists(linkPath))
        return;
    const QSettings link(linkPath, QSettings::IniFormat);
    const QString page = link.value(QStringLiteral("openbrowserpage")).toString();
    if (page.isEmpty())
        return;
    const QString oemPath = lumivex::platform::userSettingsFolder() + QStringLiteral("oem.ini");
    bool open = true;
    QSettings oem(oemPath, QSettings::IniFormat);
    if (QFileInfo::exists(oemPath)) {
        const unsigned int loaded = oem.value(QStringLiteral("loaded"), 0u).toUInt() + 1u;
        oem.setValue(QStringLiteral("loaded"), loaded);
        open = loaded <= 2u;
    } else {
        oem.setValue(QStringLiteral("loaded"), 1u);
    }
    oem.sync();
    if (open)
        QDesktopServices::openUrl(QUrl(page));
}

QStringList CommandLinePaths(const QStringList& arguments)
{
    QStringList paths;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument.isEmpty() || argument.startsWith(QLatin1Char('-')))
            continue;
        paths << QFileInfo(argument).absoluteFilePath();
    }
    return paths;
}

void PostFileOpenEvents(QCoreApplication* app, const QStringList& paths)
{
    for (const QString& path : paths)
        QCoreApplication::postEvent(app, new QFileOpenEvent(path));
}

void LogSystem()
{
    std::cout << QSysInfo::prettyProductName().toStdString() << " (64-Bit)" << std::endl;
    std::cout << "QSysInfo::productVersion: " << QSysInfo::productVersion().toStdString() << std::endl;
}

void InitEngine()
{
    const QByteArray textures = QFile::encodeName(lumivex::ApplicationFolder() + QStringLiteral("/textures/"));
    MP_UI_Init(textures.constData(), QThread::idealThreadCount());
    std::cout << "Setting IdealThreadCount: " << MP_UI_GetIdealThreadCount() << std::endl;

    std::cout << kRule << std::endl;
    std::cout << "Checking availability of calculation methods" << std::endl;
    MP_UI_SetCalcMode(1);
    MP_UI_SetMaxMemAllocSize(1, 1073741824.0);
    std::cout << "CPU -> possible maximum picture size: " << MP_UI_GetMegapixelMaxMemAllocSize(1) << " Megapixel"
              << std::endl;
    std::cout << "OpenCLCheck.exe = " << 0 << std::endl;
    std::cout << "siErrorFlag: " << -1 << std::endl;
    std::cout << "OpenCL init failed" << std::endl;
    MP_UI_SetMaxMemAllocSize(2, 0);
    MP_UI_SetMaxMemAllocSize(3, 0);
    std::cout << "call MP_UI_SetCalcForceMode(MP_CALCMODE_CPU)" << std::endl;
    MP_UI_SetCalcForceMode(1);
    std::cout << kRule << std::endl;
    std::cout << "OpenCL initialisation finished" << std::endl;
}

} // namespace lumivex::startup
