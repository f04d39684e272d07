// Start-up and shut-down: the program itself run as a process (installer
// switch, start-up log, command-line paths), and the steps that run alone
// (partner page, version INI, command-line paths).

#include "appfixture.h"

#include "app/startup.h"
#include "document/imageloader.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <unistd.h>

namespace {

// A home folder of its own for one run of the program.
class ProgramRun {
public:
    ProgramRun() { EXPECT_TRUE(m_Home.isValid()); }

    QString home() const { return m_Home.path(); }
    QString user(const QString& name = QString()) const { return m_Home.path() + QStringLiteral("/Lumivex Pro/") + name; }

    // Runs the program to its end (installer switch).
    int runToEnd(const QStringList& arguments)
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral(LUMIVEX_BINARY), arguments);
        EXPECT_TRUE(p.waitForFinished(30000));
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    // Starts the program, waits until start-up has finished ("Startup-Time"
    // on its standard output) and stops it. Returns that output.
    QString runStartUp(const QStringList& arguments, const QString& workingFolder = QString())
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        if (!workingFolder.isEmpty())
            p.setWorkingDirectory(workingFolder);
        p.start(QStringLiteral(LUMIVEX_BINARY), arguments);
        QString out;
        QElapsedTimer clock;
        clock.start();
        while (!out.contains(QStringLiteral("Startup-Time:")) && clock.elapsed() < 30000) {
            p.waitForReadyRead(100);
            out += QString::fromLocal8Bit(p.readAllStandardOutput());
        }
        p.kill();
        p.waitForFinished(5000);
        return out;
    }

    QString file(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_Home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        return env;
    }
    QTemporaryDir m_Home;
};

// Catches what the program hands to the desktop's default URL handler.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class StartupTest : public AppTest {};

} // namespace

TEST_F(StartupTest, InstallerSwitchStoresTheLanguageAndLeaves)
{
    struct SCase {
        QStringList arguments;
        const char* stored; // "" when language.ini must stay as it was
    };
    const SCase cases[] = {
        {{"-InitializeAndExit", "-Lang_FR"}, "fr_FR"},
        {{"-InitializeAndExit", "-Lang_DE"}, "de_DE"},
        {{"-InitializeAndExit", "-Lang_EN"}, "en_GB"},
        {{"-InitializeAndExit"}, ""},
        {{"-InitializeAndExit", "-Lang_XX"}, ""},
        {{"-InitializeAndExit", "-lang_de"}, ""},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        ProgramRun run;
        ASSERT_TRUE(QDir().mkpath(run.user()));
        {
            QSettings before(run.user(QStringLiteral("language.ini")), QSettings::IniFormat);
            before.setValue(QStringLiteral("locale"), QStringLiteral("it_IT"));
        }
        EXPECT_EQ(run.runToEnd(c.arguments), 0);
        const QString stored = QSettings(run.user(QStringLiteral("language.ini")), QSettings::IniFormat)
                                   .value(QStringLiteral("locale"))
                                   .toString();
        EXPECT_EQ(stored.toStdString(), *c.stored ? c.stored : "it_IT");
        EXPECT_TRUE(QFile::exists(run.user(QStringLiteral("plugin.ini"))));
        EXPECT_TRUE(QFile::exists(run.home() + QStringLiteral("/Vorlix Series/Lumivex Pro.ini")));
        EXPECT_FALSE(QFile::exists(run.user(QStringLiteral("startup.log"))));
        EXPECT_FALSE(QFile::exists(run.user(QStringLiteral("options.ini")))) << "no window was built";
    }
}

TEST_F(StartupTest, StartUpLogAndCommandLinePath)
{
    ProgramRun run;
    ASSERT_TRUE(QDir().mkpath(run.user()));
    QTemporaryDir work;
    // A real photograph: the start message loads it before the start-up ends
    // (an unreadable one would wait for the user in the progress window).
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(qRgb(120, 140, 160));
    ASSERT_TRUE(photo.save(work.filePath(QStringLiteral("pic.JPG")), "JPG"));
    const QString out = run.runStartUp({QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("pic.JPG")},
                                       work.path());
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("Startup-Time: \\d+ ms")))) << qPrintable(out);
    const QString log = run.file(run.user(QStringLiteral("startup.log")));
    const QString picture = work.path() + QStringLiteral("/pic.JPG");
    const QStringList expectedInOrder = {
        QStringLiteral("Programm-ID: LUMIVEX_1_3_C935FDA1\n"),
        QStringLiteral("Programm-Version: 1.14.2132\n"),
        QStringLiteral("Selected Locale: de_DE\n\n"),
        QStringLiteral(" (64-Bit)\nQSysInfo::productVersion: "),
        QStringLiteral("Setting IdealThreadCount: "),
        QString(61, QLatin1Char('_')) + QStringLiteral("\nChecking availability of calculation methods\n"),
        QStringLiteral("CPU -> possible maximum picture size: 89.4785 Megapixel\n"),
        QStringLiteral("OpenCLCheck.exe = 0\nsiErrorFlag: -1\nOpenCL init failed\n"
                       "call MP_UI_SetCalcForceMode(MP_CALCMODE_CPU)\n"),
        QStringLiteral("OpenCL initialisation finished\n"),
        QStringLiteral("Argc: 2 Argv: ") + picture + QLatin1Char('\n'),
        QStringLiteral(" ms - MainWindow Init\n"), // Qt's own "-style fusion" is not counted
        QStringLiteral("Command Line Load:") + picture + QLatin1Char('\n'),
        QString(61, QLatin1Char('_')) + QStringLiteral("\nStarting...\n"),
    };
    qsizetype from = 0;
    for (const QString& line : expectedInOrder) {
        const qsizetype at = log.indexOf(line, from);
        EXPECT_GE(at, 0) << "missing or out of order: " << qPrintable(line) << "\nlog:\n" << qPrintable(log);
        if (at >= 0)
            from = at + line.size();
    }
    EXPECT_FALSE(log.contains(QStringLiteral("Startup-Time"))) << "written after the log is closed";
    // The options of the first start exist and the language was chosen from LANG.
    EXPECT_TRUE(QFile::exists(run.user(QStringLiteral("options.ini"))));
    EXPECT_EQ(QSettings(run.home() + QStringLiteral("/Vorlix Series/Lumivex Pro.ini"), QSettings::IniFormat)
                  .value(QStringLiteral("Application"))
                  .toString(),
              QStringLiteral("org.lumivex.LumivexPro"));
}

TEST_F(StartupTest, FirstStartWithoutSettingsFolderLosesOnlyTheLog)
{
    ProgramRun run;
    const QString out = run.runStartUp({});
    EXPECT_TRUE(out.contains(QStringLiteral("Startup-Time:"))) << qPrintable(out);
    EXPECT_FALSE(out.contains(QStringLiteral("Programm-ID"))) << "those lines went to the log that failed to open";
    EXPECT_FALSE(QFile::exists(run.user(QStringLiteral("startup.log"))));
    EXPECT_TRUE(QFile::exists(run.user(QStringLiteral("options.ini"))));
}

TEST_F(StartupTest, PartnerPageOpensOnTheFirstTwoCountedStarts)
{
    QTemporaryDir appFolder;
    ASSERT_TRUE(QDir().mkpath(appFolder.filePath(QStringLiteral("settings"))));
    lumivex::SetApplicationFolder(appFolder.path());
    UrlCatcher catcher;
    const QString oem = lumivex::platform::userSettingsFolder() + QStringLiteral("oem.ini");

    // No link file, then an empty page: nothing opens, nothing is counted.
    lumivex::startup::OpenPartnerPage();
    {
        QSettings link(appFolder.filePath(QStringLiteral("settings/link_lumivex.ini")), QSettings::IniFormat);
        link.setValue(QStringLiteral("openbrowserpage"), QString());
    }
    lumivex::startup::OpenPartnerPage();
    EXPECT_FALSE(QFile::exists(oem));
    EXPECT_TRUE(catcher.opened.isEmpty());

    {
        QSettings link(appFolder.filePath(QStringLiteral("settings/link_lumivex.ini")), QSettings::IniFormat);
        link.setValue(QStringLiteral("openbrowserpage"), QStringLiteral("https://partner.invalid/welcome"));
    }
    const int openedAfter[4] = {1, 2, 2, 2};
    for (int start = 1; start <= 4; ++start) {
        lumivex::startup::OpenPartnerPage();
        EXPECT_EQ(QSettings(oem, QSettings::IniFormat).value(QStringLiteral("loaded")).toUInt(), unsigned(start));
        EXPECT_EQ(catcher.opened.size(), openedAfter[start - 1]) << "start " << start;
    }
    EXPECT_EQ(catcher.opened.value(0), QUrl(QStringLiteral("https://partner.invalid/welcome")));
}

TEST_F(StartupTest, VersionIniKeepsBundleKeysWhenThePlistLacksThem)
{
    QTemporaryDir appFolder;
    lumivex::SetApplicationFolder(appFolder.path()); // no info.plist here
    const QString path = lumivex::platform::familyFolder() + QStringLiteral("Lumivex Pro.ini");
    {
        QSettings old(path, QSettings::IniFormat);
        old.setValue(QStringLiteral("Display_Name"), QStringLiteral("Kept"));
        old.setValue(QStringLiteral("Version_Minor"), 99);
    }
    lumivex::startup::WriteVersionIni();
    QSettings ini(path, QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Display_Name")).toString(), QStringLiteral("Kept"));
    EXPECT_EQ(ini.value(QStringLiteral("Version_Minor")).toInt(), 14);
    EXPECT_EQ(ini.value(QStringLiteral("Version_Family")).toInt(), 1);
    EXPECT_EQ(ini.value(QStringLiteral("Version_Version")).toInt(), 3);
    EXPECT_EQ(ini.value(QStringLiteral("Path")).toString(), QCoreApplication::applicationDirPath());
    QFile::remove(path);
}

TEST_F(StartupTest, CommandLinePathsAreMadeAbsoluteAndOptionsIgnored)
{
    const QStringList paths = lumivex::startup::CommandLinePaths(
        {QStringLiteral("lumivex"), QStringLiteral("-rawdevelopment"), QStringLiteral("a b.jpg"),
         QStringLiteral("/abs/c.tif"), QString()});
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(paths[0], QDir::current().absoluteFilePath(QStringLiteral("a b.jpg")));
    EXPECT_EQ(paths[1], QStringLiteral("/abs/c.tif"));
    EXPECT_EQ(lumivex::startup::InstallerLocale(QStringLiteral("-Lang_EN")), QStringLiteral("en_GB"));
    EXPECT_TRUE(lumivex::startup::InstallerLocale(QStringLiteral("-LANG_EN")).isEmpty());
}

TEST_F(StartupTest, ImageLibraryMessagesGoStraightToStandardOutput)
{
    // Capture file descriptor 1 itself: the handler bypasses std::cout (and so
    // the start-up log).
    auto capture = [](FREE_IMAGE_FORMAT format, const char* message) {
        std::fflush(stdout);
        const int saved = dup(1);
        FILE* file = std::tmpfile();
        dup2(fileno(file), 1);
        lumivex::startup::FreeImageErrorHandler(format, message);
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
        std::string text(256, '\0');
        std::rewind(file);
        text.resize(std::fread(text.data(), 1, text.size(), file));
        std::fclose(file);
        return text;
    };
    const unsigned long counted = ImageLibraryMessageCount();
    EXPECT_EQ(capture(FIF_JPEG, "Not a JPEG file"), "\n*** JPEG Format\nNot a JPEG file\n ***\n");
    EXPECT_EQ(capture(FIF_UNKNOWN, "no format"), "\n*** no format\n ***\n");
    // Each message is counted for this thread: a load tells damaged files by it.
    EXPECT_EQ(ImageLibraryMessageCount(), counted + 2);
    EXPECT_TRUE(m_Log.str().empty()) << "nothing went through std::cout";
}

#include "test_startup.moc"
