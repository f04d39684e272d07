// The platform Launcher starts programs with an argument vector, no shell.

#include "platform/launcher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

TEST(LauncherTest, ArgumentsReachTheProgramVerbatim)
{
    const QString cp = QStandardPaths::findExecutable(QStringLiteral("cp"));
    if (cp.isEmpty())
        GTEST_SKIP() << "no cp on this machine";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source.tiff"));
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("data");
    }
    const QString hostile = dir.filePath(QStringLiteral("a\"; touch injected; \"$(touch sub) `touch tick` ä.tiff"));
    ASSERT_TRUE(lumivex::platform::Launcher::Start(cp, QStringList() << source << hostile));
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(hostile) && clock.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(hostile));
    QThread::msleep(100);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(files.size(), 2) << files.join(QLatin1Char(',')).toStdString();
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(QStringLiteral("injected"))));
}

TEST(LauncherTest, MissingProgramIsReported)
{
    EXPECT_FALSE(lumivex::platform::Launcher::Start(QString(), QStringList()));
    EXPECT_FALSE(lumivex::platform::Launcher::Start(QStringLiteral("/nonexistent/lumivex-no-program"), QStringList()));
}

struct CountingLauncher : lumivex::platform::ILauncher {
    int calls = 0;
    bool StartDetached(const QString&, const QStringList&) override { return ++calls > 0; }
};

TEST(LauncherTest, ReplacementSeesEveryStart)
{
    CountingLauncher counting;
    EXPECT_EQ(lumivex::platform::Launcher::SetLauncher(&counting), nullptr);
    EXPECT_TRUE(lumivex::platform::Launcher::Start(QStringLiteral("/nonexistent/x"), QStringList()));
    EXPECT_FALSE(lumivex::platform::Launcher::Start(QString(), QStringList()));
    EXPECT_EQ(lumivex::platform::Launcher::SetLauncher(nullptr), &counting);
    EXPECT_EQ(counting.calls, 1);
}
