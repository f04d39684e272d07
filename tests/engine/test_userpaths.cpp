// The program's per-user temporary folder (a platform stand-in the engine
// links): a shared base folder is checked, never changed.

#include "platform/userpaths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

class TempFolder : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }

    static unsigned modeOf(const QString& path)
    {
        struct stat st;
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0xFFFF;
    }
    static QString folder(const QString& path, unsigned mode)
    {
        const QByteArray native = QFile::encodeName(path);
        EXPECT_EQ(::mkdir(native.constData(), 0700), 0);
        EXPECT_EQ(::chmod(native.constData(), mode), 0);
        return path;
    }
    static void useRuntime(const QString& path) { setenv("XDG_RUNTIME_DIR", QFile::encodeName(path).constData(), 1); }

    QTemporaryDir m_root;
};

TEST_F(TempFolder, ExistingFolderKeepsItsMode)
{
    ASSERT_TRUE(m_root.isValid());
    for (unsigned mode : {0755u, 01777u, 0700u}) {
        const QString base = folder(m_root.filePath(QString::number(mode, 8)), mode);
        useRuntime(base);
        EXPECT_EQ(lumivex::platform::privateTempFolder(), base);
        EXPECT_EQ(modeOf(base), mode);
    }
}

TEST_F(TempFolder, MissingFolderIsMadeForTheUserAlone)
{
    ASSERT_TRUE(m_root.isValid());
    const QString base = m_root.filePath(QStringLiteral("a/b/run"));
    useRuntime(base);
    EXPECT_EQ(lumivex::platform::privateTempFolder(), base);
    EXPECT_EQ(modeOf(base), 0700u);
}

TEST_F(TempFolder, LinksAndForeignFoldersAreRefusedAndLeftAlone)
{
    ASSERT_TRUE(m_root.isValid());
    const QString target = folder(m_root.filePath(QStringLiteral("target")), 0755);
    const QString link = m_root.filePath(QStringLiteral("link"));
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
    useRuntime(link);
    EXPECT_TRUE(lumivex::platform::privateTempFolder().isEmpty());
    EXPECT_EQ(modeOf(target), 0755u);

    const QString foreign = folder(m_root.filePath(QStringLiteral("foreign")), 0755);
    if (::chown(QFile::encodeName(foreign).constData(), ::geteuid() + 1, static_cast<gid_t>(-1)) == 0) {
        useRuntime(foreign);
        EXPECT_TRUE(lumivex::platform::privateTempFolder().isEmpty());
        EXPECT_EQ(modeOf(foreign), 0755u);
    }
}

} // namespace
