// The usage statistics: counting, the file, the report, the two threads that
// report, and the statistics window.

#include "uifixture.h"

#include "document/seriesseams.h"
#include "ui/tools/hdrstatistic.h"
#include "ui/tools/hdrstatisticwindow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <climits>
#include <thread>

namespace {

class StatisticTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_Dir.isValid());
        m_strFolder = m_Dir.path() + QLatin1Char('/');
    }
    QString iniFile() const { return m_strFolder + QStringLiteral("statistic.ini"); }
    QSettings ini() const { return QSettings(iniFile(), QSettings::IniFormat); }
    QByteArray fileHash() const
    {
        QFile file(iniFile());
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
    }
    // The value text of the report line with the given label.
    static QString lineValue(const QString& report, const QString& label)
    {
        const qsizetype at = report.indexOf(label + QStringLiteral(": "));
        if (at < 0)
            return QStringLiteral("<missing>");
        const qsizetype start = at + label.size() + 2;
        return report.mid(start, report.indexOf(QStringLiteral("<br/>"), start) - start);
    }

    QTemporaryDir m_Dir;
    QString m_strFolder;
};

TEST_F(StatisticTest, FirstStartWritesTheHeaderAndEveryCounter)
{
    {
        HDRStatistic statistic(m_strFolder);
        ASSERT_TRUE(QFile::exists(iniFile()));
        // The main window's first reports.
        statistic.HandleValue(QStringLiteral("m_iProgramStarted"), 1);
        statistic.HandleValue(QStringLiteral("m_iWindowsResetted"), 1);
        statistic.HandleValue(QStringLiteral("m_iWindowsResetted"), -1);
    }
    QSettings file = ini();
    EXPECT_EQ(file.allKeys().size(), 6 + 66);
    EXPECT_EQ(file.value("Title").toString(), QStringLiteral("This values are generated for support and debug purposes."));
    EXPECT_EQ(file.value("VERSION_FAMILY").toString(), QStringLiteral("Lumivex"));
    EXPECT_EQ(file.value("VERSION").toInt(), 300);
    EXPECT_EQ(file.value("VERSION_MAJOR").toInt(), 1);
    EXPECT_EQ(file.value("VERSION_MINOR").toInt(), 14);
    EXPECT_EQ(file.value("VERSION_BUILD").toInt(), 2132);
    for (const QString& key : HDRStatistic::CounterKeys())
        EXPECT_TRUE(file.contains(key)) << key.toStdString();
    EXPECT_EQ(file.value("m_iProgramStarted").toInt(), 1);
    EXPECT_EQ(file.value("m_iWindowsResetted").toInt(), 0);
    // The next start adds up.
    HDRStatistic next(m_strFolder);
    next.HandleValue(QStringLiteral("m_iProgramStarted"), 1);
    EXPECT_EQ(next.m_iProgramStarted, 2);
}

TEST_F(StatisticTest, SumsAndMaxima)
{
    HDRStatistic statistic(m_strFolder);
    statistic.HandleValue(QStringLiteral("m_iWindowsResetted"), -1);
    EXPECT_EQ(statistic.m_iWindowsResetted, -1);

    struct SCase {
        int iHeld;
        int iReported;
        int iExpected;
    };
    const SCase cases[] = {{5, 3, 5}, {5, 5, 5}, {5, 7, 7}, {0, -2, 0}};
    for (const char* key : {"m_iLargestImageLoaded", "m_iSeriesHighestImageAmount", "m_iHighestPPCalcTime"})
        for (const SCase& c : cases) {
            HDRStatistic fresh(m_strFolder);
            QSettings(iniFile(), QSettings::IniFormat).setValue(QLatin1String(key), c.iHeld);
            fresh.FromSettings();
            fresh.HandleValue(QLatin1String(key), c.iReported);
            EXPECT_EQ(fresh.Value(QLatin1String(key)), c.iExpected) << key << " " << c.iHeld << " " << c.iReported;
        }
}

TEST_F(StatisticTest, UnknownKeysCountNothingButRewriteTheFile)
{
    HDRStatistic statistic(m_strFolder);
    for (const char* key : {"m_iprogramstarted", "m_iSequencePlayerOpened", "M_IPROGRAMSTARTED"}) {
        QFile::remove(iniFile());
        statistic.HandleValue(QLatin1String(key), 1);
        statistic.Flush();
        EXPECT_TRUE(QFile::exists(iniFile())) << key;
    }
    for (const QString& key : HDRStatistic::CounterKeys())
        EXPECT_EQ(statistic.Value(key), 0) << key.toStdString();
    EXPECT_EQ(ini().allKeys().size(), 72);
}

TEST_F(StatisticTest, FileOfAnotherVersionLoadsByKeyAndKeepsItsExtraKeys)
{
    {
        QSettings file(iniFile(), QSettings::IniFormat);
        file.setValue("VERSION", 100);
        file.setValue("m_iImagesSaved", 12);
        file.setValue("m_iUndoSaved", QStringLiteral("abc"));
        file.setValue("m_iLargestImageLoaded", 24000000);
        file.setValue("SomethingElse", QStringLiteral("kept"));
    }
    HDRStatistic statistic(m_strFolder);
    EXPECT_EQ(statistic.m_iImagesSaved, 12);
    EXPECT_EQ(statistic.m_iUndoSaved, 0);
    EXPECT_EQ(statistic.m_iLargestImageLoaded, 24000000);
    EXPECT_EQ(statistic.m_iProgramStarted, 0);
    QSettings file = ini();
    EXPECT_EQ(file.value("SomethingElse").toString(), QStringLiteral("kept"));
    EXPECT_EQ(file.value("VERSION").toInt(), 300);
    EXPECT_EQ(file.value("m_iUndoSaved").toInt(), 0);
    EXPECT_EQ(file.allKeys().size(), 73);
}

TEST_F(StatisticTest, SumNearTheLimitSaturates)
{
    QSettings(iniFile(), QSettings::IniFormat).setValue("m_iImagesSaved", INT_MAX);
    QSettings(iniFile(), QSettings::IniFormat).setValue("m_iUndoSaved", INT_MIN);
    HDRStatistic statistic(m_strFolder);
    statistic.HandleValue(QStringLiteral("m_iImagesSaved"), 1);
    statistic.HandleValue(QStringLiteral("m_iUndoSaved"), -1);
    EXPECT_EQ(statistic.m_iImagesSaved, INT_MAX);
    EXPECT_EQ(statistic.m_iUndoSaved, INT_MIN);
    statistic.HandleValue(QStringLiteral("m_iImagesSaved"), -2);
    EXPECT_EQ(statistic.m_iImagesSaved, INT_MAX - 2);
}

TEST_F(StatisticTest, ReportValues)
{
    HDRStatistic statistic(m_strFolder);
    QString report = statistic.CreateText();
    EXPECT_TRUE(report.startsWith(QStringLiteral("<center>")));
    EXPECT_TRUE(report.endsWith(QStringLiteral("</center>")));
    EXPECT_EQ(lineValue(report, QStringLiteral("Größte geladene Bilddatei (in Megapixel)")), QStringLiteral("  0.00"));
    EXPECT_EQ(lineValue(report, QStringLiteral("Aufwendigste Berechnung (in Sekunden)")), QStringLiteral("0.00"));
    EXPECT_EQ(lineValue(report, QStringLiteral("Programmstarts")), QStringLiteral("0"));

    statistic.HandleValue(QStringLiteral("m_iLargestImageLoaded"), 24000000);
    statistic.HandleValue(QStringLiteral("m_iHighestPPCalcTime"), 1500);
    statistic.HandleValue(QStringLiteral("m_iUndoSaved"), 1);
    statistic.HandleValue(QStringLiteral("m_iUndoSaved"), 1);
    statistic.HandleValue(QStringLiteral("m_iUndoLoaded"), 1);
    statistic.HandleValue(QStringLiteral("m_iWindowsResetted"), -3);
    report = statistic.CreateText();
    EXPECT_EQ(lineValue(report, QStringLiteral("Größte geladene Bilddatei (in Megapixel)")), QStringLiteral(" 24.00"));
    EXPECT_EQ(lineValue(report, QStringLiteral("Aufwendigste Berechnung (in Sekunden)")), QStringLiteral("1.50"));
    EXPECT_EQ(lineValue(report, QStringLiteral("Gesicherte Wiederherstellungspunkte")), QStringLiteral("2"));
    EXPECT_EQ(lineValue(report, QStringLiteral("Geladene Wiederherstellungspunkte")), QStringLiteral("1"));
    EXPECT_EQ(lineValue(report, QStringLiteral("Fenster zurückgesetzt")), QStringLiteral("-3"));
    EXPECT_EQ(&statistic.CreateText(), &statistic.m_strText);
}

TEST_F(StatisticTest, ReportHasItsLinesAndHeadsInOrder)
{
    HDRStatistic statistic(m_strFolder);
    const QString report = statistic.CreateText();
    const QString body = report.section(QStringLiteral("<font size=\"4\">"), 1);
    const QStringList rows = body.split(QStringLiteral("<br/>"));
    QStringList lines;
    QStringList heads;
    for (const QString& row : rows) {
        if (row.startsWith(QStringLiteral("<b>")))
            heads << row.mid(3, row.indexOf(QStringLiteral("</b>")) - 3);
        else if (row.contains(QStringLiteral(": ")))
            lines << row.section(QStringLiteral(": "), 0, 0);
    }
    EXPECT_EQ(lines.size(), 36);
    EXPECT_EQ(heads, QStringList({QStringLiteral("Laden & Speichern"), QStringLiteral("Post-Processing & Voreinstellungen"),
                                  QStringLiteral("Modulnutzung"), QStringLiteral("Zusatzfunktionen")}));
    ASSERT_GE(lines.size(), 36);
    EXPECT_EQ(lines.first(), QStringLiteral("Programmstarts"));
    EXPECT_EQ(lines[1], QStringLiteral("Einzelbilder eingeladen"));
    EXPECT_EQ(lines[35], QStringLiteral("Belichtungsreihe nach rechts rotiert"));
    EXPECT_TRUE(report.contains(QStringLiteral("V1.14.02132 - ")));
}

TEST_F(StatisticTest, TwoThreadsCountEveryReportAndLeaveACompleteFile)
{
    HDRStatistic statistic(m_strFolder);
    auto work = [&statistic] {
        for (int i = 0; i < 100; ++i) {
            statistic.HandleValue(QStringLiteral("m_iImagesSaved"), 1);
            statistic.HandleValue(QStringLiteral("m_iLargestImageLoaded"), i);
        }
    };
    std::thread batch(work);
    work();
    batch.join();
    statistic.Flush();
    EXPECT_EQ(statistic.m_iImagesSaved, 200);
    EXPECT_EQ(statistic.m_iLargestImageLoaded, 99);
    QSettings file = ini();
    EXPECT_EQ(file.allKeys().size(), 72);
    EXPECT_EQ(file.value("m_iImagesSaved").toInt(), 200);
}

TEST_F(StatisticTest, RewritesAreCoalescedAndTheTimerWritesThem)
{
    HDRStatistic statistic(m_strFolder);
    // Right after the constructor's write the next one waits for the timer.
    statistic.HandleValue(QStringLiteral("m_iImagesSaved"), 1);
    EXPECT_TRUE(statistic.IsWritePending());
    EXPECT_EQ(ini().value("m_iImagesSaved").toInt(), 0);
    QElapsedTimer clock;
    clock.start();
    while (statistic.IsWritePending() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(statistic.IsWritePending());
    EXPECT_EQ(ini().value("m_iImagesSaved").toInt(), 1);
}

TEST_F(StatisticTest, UnwritableFolderKeepsCountingUntilAWriteSucceeds)
{
    const QString blocked = m_strFolder + QStringLiteral("blocked");
    {
        QFile file(blocked); // a file where the folder should be
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    HDRStatistic statistic(blocked + QStringLiteral("/sub/"));
    statistic.HandleValue(QStringLiteral("m_iImagesSaved"), 2);
    statistic.Flush();
    EXPECT_EQ(statistic.m_iImagesSaved, 2);
    EXPECT_TRUE(statistic.IsWritePending());
    // The folder becomes writable: the next write stores what was counted.
    ASSERT_TRUE(QFile::remove(blocked));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/sub")));
    statistic.Flush();
    EXPECT_FALSE(statistic.IsWritePending());
    EXPECT_EQ(QSettings(blocked + QStringLiteral("/sub/statistic.ini"), QSettings::IniFormat).value("m_iImagesSaved").toInt(),
              2);
}

TEST_F(StatisticTest, OwnedStatisticIsTheDocumentsSinkUntilItsOwnerGoes)
{
    auto* owner = new QObject();
    HDRStatistic* statistic = HDRStatistic::CreateOwned(owner, m_strFolder);
    CSeriesSeams::HandleStatistic(QStringLiteral("m_iLargestImageLoaded"), 5000000000LL);
    EXPECT_EQ(statistic->m_iLargestImageLoaded, INT_MAX);
    delete owner; // writes and unregisters
    EXPECT_EQ(ini().value("m_iLargestImageLoaded").toInt(), INT_MAX);
    CSeriesSeams::HandleStatistic(QStringLiteral("m_iLargestImageLoaded"), 1); // goes nowhere
}

TEST_F(StatisticTest, WindowShowsTheCountersOfEachShowingAndChangesNothing)
{
    HDRStatistic statistic(m_strFolder);
    HDRStatisticWindow window(nullptr, &statistic);
    EXPECT_EQ(window.m_pTextBrowser->size(), QSize(600, 600));
    EXPECT_TRUE(window.m_pTextBrowser->toPlainText().isEmpty());
    window.show();
    EXPECT_TRUE(window.m_pTextBrowser->toPlainText().contains(QStringLiteral("Programmstarts: 0")));
    window.m_pExitButton->click();
    EXPECT_FALSE(window.isVisible());

    statistic.HandleValue(QStringLiteral("m_iProgramStarted"), 1);
    statistic.Flush();
    const QByteArray before = fileHash();
    window.show();
    EXPECT_TRUE(window.m_pTextBrowser->toPlainText().contains(QStringLiteral("Programmstarts: 1")));
    window.close();
    EXPECT_FALSE(window.isVisible());
    statistic.Flush();
    EXPECT_EQ(fileHash(), before);
    // The size follows the contents and is fixed.
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
}

} // namespace
