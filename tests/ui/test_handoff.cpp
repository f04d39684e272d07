// Hand-off of the result to another program: the family scan, the stored
// choice, the private hand-off folder and the main window's send command
// with the program start recorded.

#include "uifixture.h"

#include "platform/launcher.h"
#include "platform/userpaths.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/resulthandoff.h"
#include "ui/options/apppaths.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/tools/hdrexposuredockwidget.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <iostream>
#include <sstream>

namespace {

struct Recorder : lumivex::platform::ILauncher {
    QStringList programs;
    QList<QStringList> arguments;
    bool result = true;
    bool StartDetached(const QString& program, const QStringList& args) override
    {
        programs << program;
        arguments << args;
        return result;
    }
};

struct Counters : IUsageCounters {
    QMap<QString, int> values;
    void HandleValue(const QString& key, int value) override { values[key] += value; }
};

struct Factory : IWindowFactory {
    Counters counters;
    IOptionsWindow* CreateOptionsWindow(QWidget*) override { return nullptr; }
    IStyleColorDialog* CreateStyleSelectWindow(QWidget*) override { return nullptr; }
    IUsageCounters* CreateStatistic(QObject*) override { return &counters; }
    IExposureSeriesDock* CreateExposureSeriesDock(QWidget* parent) override
    {
        return new HDRExposureDockWidget(QStringLiteral("Belichtungsreihe"), parent);
    }
};

void writeIni(const QString& file, int family, int version, const QString& path, const QString& name,
              const QString& application)
{
    QSettings ini(file, QSettings::IniFormat);
    ini.setValue("Version_Family", family);
    ini.setValue("Version_Version", version);
    ini.setValue("Path", path);
    ini.setValue("Display_Name", name);
    ini.setValue("Application", application);
}

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

class HandOffTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        m_pOldCout = std::cout.rdbuf(log.rdbuf());
        lumivex::platform::Launcher::SetLauncher(&recorder);
    }
    void TearDown() override
    {
        lumivex::platform::Launcher::SetLauncher(nullptr);
        std::cout.rdbuf(m_pOldCout);
        QDir(ResultHandOff::HandOffFolder()).removeRecursively();
        QFile::remove(ResultHandOff::HandOffFolder().chopped(1));
        UiTest::TearDown();
    }
    // Answers message boxes by recording their text; progress windows go on.
    void recordPrompts()
    {
        _gui::SetModalHook([this](QWidget* prompt) {
            if (auto* box = qobject_cast<QMessageBox*>(prompt)) {
                messages << box->text();
                return int(QDialog::Rejected);
            }
            if (auto* window = qobject_cast<HDRProgressWindow*>(prompt)) {
                window->GetContinueButton()->click();
                return int(QDialog::Accepted);
            }
            return answerUnexpectedPrompt(prompt);
        });
    }
    // Opens the photograph; the HDR stage shows it as the result.
    void open(HDRMainWindow& window, const QString& path)
    {
        window.InterpretReceivedMessage(path);
        ASSERT_NE(window.m_pExposureSeries, nullptr);
        // Without the other stage docks the series dock stands for the HDR stage.
        window.m_pExposureSeriesDock->Dock()->show();
        int w = 0, h = 0;
        ASSERT_NE(window.GetActualResultBuffer(&w, &h), nullptr);
        messages.clear();
    }
    QString photo(const QString& name)
    {
        QImage image(48, 32, QImage::Format_RGB32);
        image.fill(qRgb(120, 90, 60));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    QTemporaryDir dir;
    Recorder recorder;
    QStringList messages;
    std::ostringstream log;
    std::streambuf* m_pOldCout = nullptr;
};

TEST_F(HandOffTest, FamilyScanOrdersByFamilyThenVersionAndSkipsWhatItCannotStart)
{
    const QString family = dir.filePath(QStringLiteral("family"));
    const QString apps = dir.filePath(QStringLiteral("apps"));
    QDir().mkpath(family);
    QDir().mkpath(apps);
    for (const char* name : {"Two", "Four", "Own", "Huge", "Negative"})
        touch(apps + QLatin1Char('/') + QLatin1String(name));
    writeIni(family + QStringLiteral("/a.ini"), 0, 2, apps, QStringLiteral("Two"), QStringLiteral("org.two"));
    writeIni(family + QStringLiteral("/b.ini"), 0, 4, apps, QStringLiteral("Four"), QStringLiteral("org.four"));
    writeIni(family + QStringLiteral("/c.ini"), 1, 3, apps, QStringLiteral("Own"), QStringLiteral("org.own"));
    writeIni(family + QStringLiteral("/d.ini"), 0, 1, apps, QStringLiteral("Missing"), QStringLiteral("org.missing"));
    writeIni(family + QStringLiteral("/e.ini"), 2147483647, 0, apps, QStringLiteral("Huge"), QStringLiteral("org.huge"));
    writeIni(family + QStringLiteral("/f.ini"), -1, 4, apps, QStringLiteral("Negative"), QStringLiteral("org.neg"));
    writeIni(family + QStringLiteral("/g.ini"), 0, 7, apps, QStringLiteral("Two"), QStringLiteral("org.seven"));

    const QVector<SFamilyProgram> found = ResultHandOff::ScanFamily(family);
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[0].strDisplayName, QStringLiteral("Four"));
    EXPECT_EQ(found[1].strDisplayName, QStringLiteral("Two"));
    EXPECT_EQ(found[2].strDisplayName, QStringLiteral("Huge"));
    EXPECT_EQ(found[1].strApplication, QStringLiteral("org.two"));
    EXPECT_EQ(found[1].strExecutable, apps + QStringLiteral("/Two"));
    EXPECT_NE(log.str().find("Looking for installed Vorlix products\nFour\nTwo\nHuge\n"), std::string::npos);
    EXPECT_TRUE(ResultHandOff::ScanFamily(dir.filePath(QStringLiteral("none"))).isEmpty());
}

TEST_F(HandOffTest, StoredChoiceLastEqualItemWins)
{
    const QString ini = dir.filePath(QStringLiteral("selectedexternal.ini"));
    const QStringList items = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A")};
    EXPECT_EQ(ResultHandOff::RestoreSelection(ini, items, 0), 0);
    ResultHandOff::StoreSelection(ini, QStringList(), 0);
    EXPECT_FALSE(QFile::exists(ini));
    ResultHandOff::StoreSelection(ini, items, 2);
    EXPECT_EQ(ResultHandOff::RestoreSelection(ini, items, 1), 2);
    // A program no longer installed: the current item stays.
    QSettings(ini, QSettings::IniFormat).setValue("Selected", QStringLiteral("Gone"));
    EXPECT_EQ(ResultHandOff::RestoreSelection(ini, items, 0), 0);
}

TEST_F(HandOffTest, FolderIsPrivateAndOnlyEarlierTiffsGo)
{
    const QString folder = ResultHandOff::HandOffFolder();
    EXPECT_EQ(folder, QDir::homePath() + QStringLiteral("/.cache/LumivexExport/"));
    ASSERT_TRUE(ResultHandOff::PrepareFolder(folder));
    EXPECT_EQ(QFile::permissions(folder) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    touch(folder + QStringLiteral("a.tif"));
    touch(folder + QStringLiteral("b.tiff"));
    touch(folder + QStringLiteral("c.jpg"));
    const QString outside = dir.filePath(QStringLiteral("outside.tiff"));
    touch(outside);
    ASSERT_TRUE(QFile::link(outside, folder + QStringLiteral("link.tiff")));
    ASSERT_TRUE(ResultHandOff::PrepareFolder(folder));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::System), QStringList{QStringLiteral("c.jpg")});
    EXPECT_TRUE(QFile::exists(outside));
    EXPECT_NE(log.str().find("Remove File: "), std::string::npos);

    // A link in the folder's place is refused and its target left alone.
    QDir(folder).removeRecursively();
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    QDir().mkpath(elsewhere);
    touch(elsewhere + QStringLiteral("/keep.tif"));
    ASSERT_TRUE(QFile::link(elsewhere, folder.chopped(1)));
    EXPECT_FALSE(ResultHandOff::PrepareFolder(folder));
    EXPECT_TRUE(QFile::exists(elsewhere + QStringLiteral("/keep.tif")));
    EXPECT_FALSE(ResultHandOff::PrepareFolder(QString()));
}

class HandOffWindowTest : public HandOffTest {
protected:
    void SetUp() override
    {
        HandOffTest::SetUp();
        lumivex::SetApplicationFolder(QStringLiteral(LUMIVEX_APP_DIR));
        window = std::make_unique<HDRMainWindow>(0, QString(), &factory);
        recordPrompts();
    }
    void TearDown() override
    {
        window.reset();
        lumivex::SetApplicationFolder(QString());
        HandOffTest::TearDown();
    }
    Factory factory;
    std::unique_ptr<HDRMainWindow> window;
};

TEST_F(HandOffWindowTest, HostileNameReachesTheProgramVerbatim)
{
    const QString name = QStringLiteral("a\"; touch x; $(id) `id` ä");
    open(*window, photo(name + QStringLiteral(".png")));

    window->saveResultImageAndSendTo(QStringLiteral("org\\example\\editor"));
    ASSERT_EQ(recorder.programs.size(), 1);
    EXPECT_EQ(recorder.programs[0], QStringLiteral("org/example/editor"));
    ASSERT_EQ(recorder.arguments[0].size(), 1);
    const QString handed = recorder.arguments[0][0];
    EXPECT_TRUE(handed.startsWith(ResultHandOff::HandOffFolder()));
    EXPECT_TRUE(handed.endsWith(QStringLiteral(".tiff")));
    EXPECT_TRUE(QFile::exists(handed)) << handed.toStdString();
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iImagesExported")), 1);
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(QStringLiteral("x"))));
    EXPECT_TRUE(messages.isEmpty());

    // A family identifier starts the executable its INI file named.
    window->m_slVorlixApplications << QStringLiteral("org.family");
    window->m_slVorlixExecutables << QStringLiteral("/opt/family/Program");
    window->startExternalProgram(QStringLiteral("org.family"), QStringList() << QStringLiteral("f"));
    EXPECT_EQ(recorder.programs.last(), QStringLiteral("/opt/family/Program"));

    // A start that fails is reported with the identifier.
    recorder.result = false;
    window->startExternalProgram(QStringLiteral("org.none"), QStringList());
    EXPECT_EQ(messages, QStringList{QStringLiteral("org.none: App konnte nicht gestartet werden.")});
}

TEST_F(HandOffWindowTest, FailedWriteNeitherCountsNorStarts)
{
    window->saveResultImageAndSendTo(QStringLiteral("org.example"));
    EXPECT_TRUE(recorder.programs.isEmpty());
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iImagesExported")), 0);
}

TEST_F(HandOffWindowTest, LinkInPlaceOfTheFolderIsRefused)
{
    open(*window, photo(QStringLiteral("bay.png")));
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    QDir().mkpath(elsewhere);
    QDir().mkpath(QDir::homePath() + QStringLiteral("/.cache"));
    ASSERT_TRUE(QFile::link(elsewhere, ResultHandOff::HandOffFolder().chopped(1)));
    window->saveResultImageAndSendTo(QStringLiteral("org.example"));
    EXPECT_TRUE(recorder.programs.isEmpty());
    EXPECT_TRUE(QDir(elsewhere).entryList(QDir::Files).isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iImagesExported")), 0);
}

TEST_F(HandOffWindowTest, ComboChoiceIsStoredAndRestored)
{
    window->SaveSelectedVorlixVersionToIni(); // no combo box: nothing
    window->m_slVorlixDisplayNames = {QStringLiteral("One"), QStringLiteral("Two")};
    window->m_slVorlixApplications = {QStringLiteral("org.one"), QStringLiteral("org.two")};
    window->m_slVorlixExecutables = {QStringLiteral("/one"), QStringLiteral("/two")};
    window->m_pVorlixComboBox = new QComboBox(window.get());
    window->m_pVorlixComboBox->addItems(window->m_slVorlixDisplayNames);
    window->m_pVorlixComboBox->setCurrentIndex(1);
    window->SelectedVorlixComboBoxChanged(1);
    window->m_pVorlixComboBox->setCurrentIndex(0);
    window->LoadSelectedVorlixVersionFromIni();
    EXPECT_EQ(window->m_pVorlixComboBox->currentIndex(), 1);
    QFile::remove(ResultHandOff::SelectionIniFile());
}

} // namespace
