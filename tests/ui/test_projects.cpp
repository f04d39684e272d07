// Project files and undo points: the file logic on its own with fake
// participants (names, folder helpers, the all-or-nothing save, the undo
// copies, the undo root, the picture arithmetic), then the main window with
// a real photograph: save and open round trip, damaged and missing files,
// the save questions, undo points set, restored and trimmed.

#include "mainwindowfixture.h"

#include "document/exposure.h"
#include "document/documentfakes.h"
#include "document/exposureseries.h"
#include "document/postprocessing.h"
#include "document/project.h"
#include "engine/core/settings.h"
#include "ui/mainwindow/hdrmainwindow.h"
#include "ui/mainwindow/presettimerstophelper.h"
#include "ui/mainwindow/projectfiles.h"
#include "ui/mainwindow/projectseams.h"
#include "ui/options/apppaths.h"
#include "ui/options/optionswindow.h"
#include "ui/options/options.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrexposurelabel.h"
#include "ui/toolkit/hdrprogresswindow.h"
#include "ui/views/hdrtimelinedockwidget.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>

#include <csignal>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace PF = ProjectFiles;

namespace {

// Every file below a folder with a hash of its content, by relative path.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(path),
                         QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A participant writing one key and one data file (through QSaveFile).
struct FakeParticipant {
    QString key = QStringLiteral("Fake/Value");
    QString value = QStringLiteral("one");
    QString file = QStringLiteral("fake.dat");
    QByteArray data = "fake data";
    bool fail = false;
    bool operator()(QSettings& settings, const QString& folder) const
    {
        settings.setValue(key, value);
        QSaveFile out(folder + QLatin1Char('/') + file);
        if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size())
            return false;
        return out.commit() && !fail;
    }
};

class ProjectFilesTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_Dir.isValid());
        m_pOldCout = std::cout.rdbuf(m_Log.rdbuf());
        root = m_Dir.filePath(QStringLiteral("settings")) + QLatin1Char('/');
        QDir().mkpath(root);
    }
    void TearDown() override
    {
        std::cout.rdbuf(m_pOldCout);
        UiTest::TearDown();
    }
    PF::SSaveRequest request(const QString& path, const FakeParticipant& participant)
    {
        PF::SSaveRequest r;
        r.projectPath = path;
        r.undoRoot = root;
        r.participants = participant;
        return r;
    }
    // Undo folder i of a root with a marker naming its origin.
    void makeUndo(const QString& base, int i, const QByteArray& origin)
    {
        writeFile(PF::UndoFolder(base, i) + QStringLiteral("/undo.dat"), origin + QByteArray::number(i));
    }
    // Leftovers of a save beside a project: temporary files and folders.
    QStringList leftovers() const
    {
        QStringList found;
        QDirIterator it(m_Dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = QFileInfo(it.next()).fileName();
            if (name.contains(QStringLiteral(".saving")) || name.contains(QStringLiteral(".old")) ||
                name.endsWith(QStringLiteral(".commit")) || name.endsWith(QStringLiteral(".lock")))
                found << name;
        }
        return found;
    }

    QTemporaryDir m_Dir;
    QString root;
    std::ostringstream m_Log;
    std::streambuf* m_pOldCout = nullptr;
};

} // namespace

TEST_F(ProjectFilesTest, DerivedNames)
{
    struct SCase {
        const char* path;
        const char* base;
        const char* folder;
        const char* data;
    };
    const SCase cases[] = {
        {"/p/abc", "abc", "/p", "/p/abc.lumivexdata"},
        {"/p/holiday.lumivexProject", "holiday", "/p", "/p/holiday.lumivexdata"},
        {"/p.q/a.b.lumivexProject", "a.b", "/p.q", "/p.q/a.b.lumivexdata"},
        {"/p/.hidden", "", "/p", "/p/.lumivexdata"},
    };
    for (const SCase& c : cases) {
        const PF::SNames n = PF::Names(QString::fromUtf8(c.path));
        EXPECT_EQ(n.baseName, QString::fromUtf8(c.base)) << c.path;
        EXPECT_EQ(n.folder, QString::fromUtf8(c.folder)) << c.path;
        EXPECT_EQ(n.dataFolder, QString::fromUtf8(c.data)) << c.path;
    }
    EXPECT_EQ(PF::WithProjectSuffix(QStringLiteral("/p/a")), QStringLiteral("/p/a.lumivexProject"));
    EXPECT_EQ(PF::WithProjectSuffix(QStringLiteral("/p/a.lumivexProject")), QStringLiteral("/p/a.lumivexProject"));
    EXPECT_EQ(PF::WithProjectSuffix(QStringLiteral("/p/a.LUMIVEXPROJECT")),
              QStringLiteral("/p/a.LUMIVEXPROJECT.lumivexProject"));
}

TEST_F(ProjectFilesTest, SavingTwiceLeavesNoOldKeyButKeepsUnwrittenDataFiles)
{
    const QString path = m_Dir.filePath(QStringLiteral("sub/dir/p.lumivexProject")); // folders made on the way
    FakeParticipant first;
    first.key = QStringLiteral("First/Only");
    ASSERT_EQ(PF::SaveProject(request(path, first)), PF::ESaveResult::Saved);
    writeFile(m_Dir.filePath(QStringLiteral("sub/dir/p.lumivexdata/extra.dat")), "kept");

    FakeParticipant second;
    second.data = "second data";
    PF::SSaveRequest r = request(path, second);
    r.postProcessing = true;
    ASSERT_EQ(PF::SaveProject(r), PF::ESaveResult::Saved);

    QSettings ini(path, QSettings::IniFormat);
    EXPECT_FALSE(ini.contains(QStringLiteral("First/Only")));
    EXPECT_EQ(ini.value(QStringLiteral("Fake/Value")).toString(), QStringLiteral("one"));
    EXPECT_EQ(ini.value(QStringLiteral("Version")).toInt(), 300);
    EXPECT_EQ(ini.value(QStringLiteral("SaveMode")).toInt(), 1);
    EXPECT_TRUE(ini.value(QStringLiteral("PostProcessing")).toBool());
    EXPECT_EQ(readFile(m_Dir.filePath(QStringLiteral("sub/dir/p.lumivexdata/fake.dat"))), QByteArray("second data"));
    EXPECT_EQ(readFile(m_Dir.filePath(QStringLiteral("sub/dir/p.lumivexdata/extra.dat"))), QByteArray("kept"));
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
}

TEST_F(ProjectFilesTest, AFailedPartLeavesTheOldProjectByteIdentical)
{
    const QString path = m_Dir.filePath(QStringLiteral("p.lumivexProject"));
    FakeParticipant good;
    ASSERT_EQ(PF::SaveProject(request(path, good)), PF::ESaveResult::Saved);
    const auto before = snapshot(m_Dir.path());

    // The participant fails after writing its file: the old one stays.
    FakeParticipant bad;
    bad.value = QStringLiteral("two");
    bad.data = "half written";
    bad.fail = true;
    QString failed;
    EXPECT_EQ(PF::SaveProject(request(path, bad), &failed), PF::ESaveResult::PartFailed);
    EXPECT_EQ(failed, path);
    EXPECT_EQ(snapshot(m_Dir.path()), before);
    EXPECT_TRUE(leftovers().isEmpty());

    // The disk fills up while the data file is written.
    FakeParticipant big;
    big.data = QByteArray(256 * 1024, 'x');
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const PF::ESaveResult result = PF::SaveProject(request(path, big));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, PF::ESaveResult::PartFailed);
    EXPECT_EQ(snapshot(m_Dir.path()), before);
    EXPECT_TRUE(leftovers().isEmpty());

    // A file where the data folder belongs.
    const QString other = m_Dir.filePath(QStringLiteral("q.lumivexProject"));
    writeFile(m_Dir.filePath(QStringLiteral("q.lumivexdata")), "not a folder");
    EXPECT_EQ(PF::SaveProject(request(other, good), &failed), PF::ESaveResult::DataFolderFailed);
    EXPECT_EQ(failed, m_Dir.path());
    EXPECT_FALSE(QFileInfo::exists(other));

    // A folder where the project file belongs.
    QDir().mkpath(m_Dir.filePath(QStringLiteral("r.lumivexProject")));
    EXPECT_EQ(PF::SaveProject(request(m_Dir.filePath(QStringLiteral("r.lumivexProject")), good)),
              PF::ESaveResult::ProjectNotWritable);
}

TEST_F(ProjectFilesTest, UndoCopiesFollowTheSwitchAndTheLevel)
{
    const QString path = m_Dir.filePath(QStringLiteral("p.lumivexProject"));
    const QString data = m_Dir.filePath(QStringLiteral("p.lumivexdata"));
    FakeParticipant part;

    // Switch off: no copy, an old "timeline.ini" stays.
    for (int i = 0; i < 3; ++i)
        makeUndo(root, i, "root");
    writeFile(data + QStringLiteral("/timeline.ini"), "undolevel=7\n");
    PF::SSaveRequest off = request(path, part);
    off.undoLevel = 2;
    ASSERT_EQ(PF::SaveProject(off), PF::ESaveResult::Saved);
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("/temp0")));
    EXPECT_EQ(readFile(data + QStringLiteral("/timeline.ini")), QByteArray("undolevel=7\n"));

    struct SCase {
        int level;
        std::vector<int> present; // copies in the data folder before
        std::vector<int> after;   // copies after
        std::vector<int> fromRoot;
    };
    const SCase cases[] = {
        {2, {0, 1, 2, 3, 4, 5}, {0, 1, 2}, {0, 1, 2}},
        {2, {0, 1, 2, 3, 5}, {0, 1, 2, 5}, {0, 1, 2}}, // the gap at 4 ends the removal
        {-1, {0, 1, 2, 4}, {4}, {}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.level);
        PF::RemoveDir(data);
        for (int i : c.present)
            makeUndo(data, i, "old");
        PF::SSaveRequest on = request(path, part);
        on.saveTimeline = true;
        on.undoLevel = c.level;
        std::vector<float> progress;
        on.progress = [&](float f) { progress.push_back(f); };
        ASSERT_EQ(PF::SaveProject(on), PF::ESaveResult::Saved);
        std::vector<int> after;
        for (int i = 0; i < 8; ++i)
            if (QFileInfo::exists(PF::UndoFolder(data, i)))
                after.push_back(i);
        EXPECT_EQ(after, c.after);
        for (int i : c.fromRoot)
            EXPECT_EQ(readFile(PF::UndoFolder(data, i) + QStringLiteral("/undo.dat")), "root" + QByteArray::number(i));
        EXPECT_EQ(QSettings(data + QStringLiteral("/timeline.ini"), QSettings::IniFormat)
                      .value(QStringLiteral("undolevel"))
                      .toInt(),
                  c.level);
        EXPECT_EQ(progress.size(), size_t(c.level + 1));
        if (!progress.empty()) {
            EXPECT_FLOAT_EQ(progress.back(), 1.0f);
        }
    }
    EXPECT_NE(m_Log.str().find("copyDir: " + (root + QStringLiteral("temp0")).toStdString() + " -> " +
                               (data + QStringLiteral("/temp0")).toStdString()),
              std::string::npos);
    EXPECT_NE(m_Log.str().find("removeDir: " + (data + QStringLiteral("/temp3")).toStdString()), std::string::npos);
}

namespace {

// Every entry below a folder: files with a hash of their content, folders
// and links marked, by relative path. Equal trees are equal projects with
// nothing left over beside them.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray value = "<dir>";
        if (info.isSymLink())
            value = "<link>";
        else if (info.isFile())
            value = QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1);
        entries.insert(QDir(root).relativeFilePath(path), value);
    }
    return entries;
}

QString describe(const QMap<QString, QByteArray>& entries)
{
    return QStringList(entries.keys()).join(QLatin1Char(' '));
}

// Counts the file operations of a save; at step `stopAt` it either fails
// that step or ends the process on the spot (no clean-up of any kind).
class StepOperations : public PF::IFileOperations {
public:
    // Throw: stops the caller in this process by an exception (no file is
    // touched on the way out), where a real kill is not practical.
    enum class EMode { Count, Fail, Kill, Throw };
    struct Stopped {};
    explicit StepOperations(EMode mode = EMode::Count, int stopAt = 0) : m_eMode(mode), m_iStopAt(stopAt) {}
    bool Rename(const QString& a, const QString& b) override { return step() && IFileOperations::Rename(a, b); }
    bool Link(const QString& a, const QString& b) override { return step() && IFileOperations::Link(a, b); }
    bool Copy(const QString& a, const QString& b) override { return step() && IFileOperations::Copy(a, b); }
    bool MakeDir(const QString& a) override { return step() && IFileOperations::MakeDir(a); }
    bool RemoveFile(const QString& a) override { return step() && IFileOperations::RemoveFile(a); }
    bool RemoveTree(const QString& a) override { return step() && IFileOperations::RemoveTree(a); }
    int steps = 0;

private:
    bool step()
    {
        ++steps;
        if (steps != m_iStopAt || m_eMode == EMode::Count)
            return true;
        if (m_eMode == EMode::Kill)
            _exit(9);
        if (m_eMode == EMode::Throw)
            throw Stopped();
        return false;
    }
    EMode m_eMode;
    int m_iStopAt;
};

struct OperationsScope {
    explicit OperationsScope(PF::IFileOperations* o) { PF::SetFileOperations(o); }
    ~OperationsScope() { PF::SetFileOperations(nullptr); }
};

// One version of an undo point: the participant's key and data file and the
// pictures beside the project file.
struct SVersion {
    FakeParticipant part;
    QByteArray picture;
    QByteArray thumbnail;
    bool withPictures = true;
};

} // namespace

// A save stopped at any one of its file operations, by a kill or by a
// failing step, opens as exactly the old or exactly the new version, whole,
// with nothing of the attempt left beside it.
TEST_F(ProjectFilesTest, ASaveStoppedAtAnyStepOpensAsOldOrNewWhole)
{
    const QString folder = m_Dir.filePath(QStringLiteral("temp0"));
    const QString pristine = m_Dir.filePath(QStringLiteral("pristine"));
    const QString path = folder + QStringLiteral("/undo.lumivexProject");
    const QString data = folder + QStringLiteral("/undo.lumivexdata");

    SVersion oldVersion;
    oldVersion.part.value = QStringLiteral("old");
    oldVersion.part.data = "old data";
    oldVersion.picture = "old jpg";
    oldVersion.thumbnail = "old thumbnail";
    SVersion newVersion;
    newVersion.part.value = QStringLiteral("new");
    newVersion.part.data = "new data";
    newVersion.picture = "new jpg";
    newVersion.thumbnail = "new thumbnail";
    auto requestFor = [&](const SVersion& v) {
        PF::SSaveRequest r = request(path, v.part);
        auto write = [](const QByteArray& content) {
            return [content](const QString& to) {
                QFile f(to);
                return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
            };
        };
        const bool pictures = v.withPictures;
        r.besideFiles = {{QStringLiteral("undo.jpg"),
                          [w = write(v.picture), pictures](const QString& to) { return pictures && w(to); }},
                         {QStringLiteral("undo.dat"), write(v.thumbnail)}};
        return r;
    };

    struct SCase {
        const char* name;
        bool oldExists;       // a saved version is there before
        bool newHasPictures;  // the new version writes its picture
    };
    const SCase cases[] = {
        {"over an old version", true, true},
        {"over an old version, the new one without picture", true, false},
        {"a first save", false, true},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        PF::RemoveDir(folder);
        PF::RemoveDir(pristine);
        QDir().mkpath(folder);
        if (c.oldExists) {
            ASSERT_EQ(PF::SaveProject(requestFor(oldVersion)), PF::ESaveResult::Saved);
            // Data no save rewrites: a file of the participants' part and the undo copies.
            writeFile(data + QStringLiteral("/keep.dat"), "kept");
            writeFile(data + QStringLiteral("/temp0/undo.dat"), "undo copy");
            writeFile(data + QStringLiteral("/timeline.ini"), "undolevel=0\n");
        }
        ASSERT_TRUE(PF::CopyDir(folder, pristine, true));
        const auto oldTree = tree(folder);

        newVersion.withPictures = c.newHasPictures;
        StepOperations counting;
        {
            OperationsScope scope(&counting);
            ASSERT_EQ(PF::SaveProject(requestFor(newVersion)), PF::ESaveResult::Saved);
        }
        const auto newTree = tree(folder);
        ASSERT_FALSE(oldTree == newTree);
        ASSERT_GT(counting.steps, 3);

        // Opens the project the way the main window does; "" when incomplete.
        auto open = [&]() -> QString {
            PF::RecoverProject(path);
            if (!PF::ProjectComplete(path))
                return QString();
            QSettings ini(path, QSettings::IniFormat);
            if (PF::ReadVersion(ini) != PF::kVersion)
                return QStringLiteral("incompatible");
            return ini.value(QStringLiteral("Fake/Value")).toString() + QLatin1Char('/') +
                   QString::fromLatin1(readFile(data + QStringLiteral("/fake.dat")));
        };
        auto reset = [&] {
            PF::RemoveDir(folder);
            ASSERT_TRUE(PF::CopyDir(pristine, folder, true));
            ASSERT_TRUE(tree(folder) == oldTree);
        };
        auto expectOldOrNew = [&](const QString& opened) {
            const auto now = tree(folder);
            if (now == newTree) {
                EXPECT_EQ(opened, QStringLiteral("new/new data"));
            } else {
                EXPECT_TRUE(now == oldTree) << "neither old nor new: " << describe(now).toStdString();
                EXPECT_EQ(opened, c.oldExists ? QStringLiteral("old/old data") : QString());
            }
            return now == newTree;
        };

        int sawNew = 0;
        for (int k = 1; k <= counting.steps; ++k) {
            SCOPED_TRACE(testing::Message() << "killed at step " << k << " of " << counting.steps);
            reset();
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                StepOperations kill(StepOperations::EMode::Kill, k);
                PF::SetFileOperations(&kill);
                PF::SaveProject(requestFor(newVersion));
                _exit(0);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 9);
            sawNew += expectOldOrNew(open()) ? 1 : 0;
        }
        EXPECT_GT(sawNew, 0); // the late kills leave the new version
        for (int k = 1; k <= counting.steps; ++k) {
            SCOPED_TRACE(testing::Message() << "failed at step " << k << " of " << counting.steps);
            reset();
            PF::ESaveResult result;
            {
                StepOperations failing(StepOperations::EMode::Fail, k);
                OperationsScope scope(&failing);
                result = PF::SaveProject(requestFor(newVersion));
            }
            const bool isNew = expectOldOrNew(open());
            if (result == PF::ESaveResult::Saved) {
                EXPECT_TRUE(isNew);
            }
        }
    }
}

// A participant that rewrites its old data file in place and then fails
// leaves the old project's file as it was.
TEST_F(ProjectFilesTest, AParticipantWritingInPlaceNeverTouchesTheOldProject)
{
    const QString path = m_Dir.filePath(QStringLiteral("p.lumivexProject"));
    FakeParticipant good;
    good.data = "the old data";

    struct SCase {
        bool fail;
        QByteArray content; // the same length as the old one: only the content tells
    };
    for (const SCase& c : {SCase{true, "rewritten in place"}, SCase{false, "rewritten in place"},
                           SCase{false, "THE OLD DATA"}}) {
        SCOPED_TRACE(testing::Message() << (c.fail ? "fails" : "succeeds") << " writing " << c.content.constData());
        ASSERT_EQ(PF::SaveProject(request(path, good)), PF::ESaveResult::Saved);
        const auto before = snapshot(m_Dir.path());
        PF::SSaveRequest r = request(path, good);
        QByteArray seen;
        r.participants = [&seen, &c](QSettings& settings, const QString& folder) {
            settings.setValue(QStringLiteral("Fake/Value"), QStringLiteral("two"));
            QFile file(folder + QStringLiteral("/fake.dat"));
            if (!file.open(QIODevice::ReadWrite))
                return false;
            seen = file.readAll(); // the old content is there to be read
            file.resize(0);
            file.seek(0);
            file.write(c.content);
            return !c.fail;
        };
        const PF::ESaveResult result = PF::SaveProject(r);
        EXPECT_EQ(seen, QByteArray("the old data"));
        if (c.fail) {
            EXPECT_EQ(result, PF::ESaveResult::PartFailed);
            EXPECT_EQ(snapshot(m_Dir.path()), before);
        } else {
            EXPECT_EQ(result, PF::ESaveResult::Saved);
            EXPECT_EQ(readFile(m_Dir.filePath(QStringLiteral("p.lumivexdata/fake.dat"))), c.content);
        }
    }
}

// A new project file gets the mode the data files get (the user's umask);
// a project file saved again keeps its own.
TEST_F(ProjectFilesTest, TheProjectFileGetsTheModeOfTheDataFiles)
{
    auto modeOf = [](const QString& path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
    };
    FakeParticipant part;
    const mode_t oldMask = ::umask(022);
    for (mode_t mask : {mode_t(022), mode_t(027), mode_t(002), mode_t(077)}) {
        SCOPED_TRACE(testing::Message() << "umask " << std::oct << int(mask));
        ::umask(mask);
        const QString name = QStringLiteral("m%1").arg(int(mask), 3, 8, QLatin1Char('0'));
        const QString path = m_Dir.filePath(name + QStringLiteral(".lumivexProject"));
        ASSERT_EQ(PF::SaveProject(request(path, part)), PF::ESaveResult::Saved);
        const int expected = int(0666 & ~mask);
        EXPECT_EQ(modeOf(m_Dir.filePath(name + QStringLiteral(".lumivexdata/fake.dat"))), expected);
        EXPECT_EQ(modeOf(path), expected);
        EXPECT_EQ(modeOf(m_Dir.filePath(name + QStringLiteral(".lumivexdata"))), int(0777 & ~mask));
    }
    ::umask(022);
    const QString path = m_Dir.filePath(QStringLiteral("m022.lumivexProject"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_EQ(PF::SaveProject(request(path, part)), PF::ESaveResult::Saved);
    EXPECT_EQ(modeOf(path), 0640);
    ::umask(oldMask);
}

// What interrupted saves left behind goes when the project is opened or
// saved again; a data folder that an earlier program version moved aside
// and never put back is the project's data again.
TEST_F(ProjectFilesTest, LeftoversOfInterruptedSavesAreCleanedUp)
{
    const QString path = m_Dir.filePath(QStringLiteral("p.lumivexProject"));
    const QString data = m_Dir.filePath(QStringLiteral("p.lumivexdata"));
    FakeParticipant old;
    old.data = "old data";
    ASSERT_EQ(PF::SaveProject(request(path, old)), PF::ESaveResult::Saved);
    const auto saved = tree(m_Dir.path());

    // An earlier version stopped after moving the data folder aside.
    ASSERT_TRUE(QDir().rename(data, data + QStringLiteral(".old3")));
    writeFile(data + QStringLiteral(".saving3/fake.dat"), "new data");
    writeFile(path + QStringLiteral(".saving-Ab12Cd"), "Version=300\n");
    // A save of this version stopped before its commit record, and a lock of a process that died.
    writeFile(data + QStringLiteral(".saving0/fake.dat"), "newer data");
    writeFile(path + QStringLiteral(".saving0"), "Version=300\n");
    writeFile(path + QStringLiteral(".saving0-undo.jpg"), "jpg");
    writeFile(path + QStringLiteral(".lock"), "999999\nlumivex\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    // Names that only look alike stay.
    writeFile(m_Dir.filePath(QStringLiteral("p.lumivexdata.older")), "mine");
    writeFile(m_Dir.filePath(QStringLiteral("p.lumivexProject.savings")), "mine");
    EXPECT_FALSE(PF::ProjectComplete(path));

    EXPECT_TRUE(PF::RecoverProject(path));
    auto expected = saved;
    expected.insert(QStringLiteral("p.lumivexdata.older"), QCryptographicHash::hash("mine", QCryptographicHash::Sha1));
    expected.insert(QStringLiteral("p.lumivexProject.savings"),
                    QCryptographicHash::hash("mine", QCryptographicHash::Sha1));
    EXPECT_TRUE(tree(m_Dir.path()) == expected) << describe(tree(m_Dir.path())).toStdString();
    EXPECT_TRUE(PF::ProjectComplete(path));

    // The same leftovers go when the project is saved again.
    writeFile(data + QStringLiteral(".saving0/fake.dat"), "newer data");
    writeFile(path + QStringLiteral(".lock"), "999999\nlumivex\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    ASSERT_EQ(PF::SaveProject(request(path, old)), PF::ESaveResult::Saved);
    EXPECT_TRUE(tree(m_Dir.path()) == expected) << describe(tree(m_Dir.path())).toStdString();

    // A save running in this process holds the lock: nothing is touched meanwhile.
    PF::SSaveRequest r = request(path, old);
    bool recovered = true;
    r.participants = [&](QSettings& settings, const QString& folder) {
        recovered = PF::RecoverProject(path);
        return old(settings, folder);
    };
    ASSERT_EQ(PF::SaveProject(r), PF::ESaveResult::Saved);
    EXPECT_FALSE(recovered);
}

TEST_F(ProjectFilesTest, FolderHelpersNeverFollowLinks)
{
    // Nothing there: removing succeeds, copying fails and makes nothing.
    EXPECT_TRUE(PF::RemoveDir(m_Dir.filePath(QStringLiteral("none"))));
    EXPECT_FALSE(PF::CopyDir(m_Dir.filePath(QStringLiteral("none")), m_Dir.filePath(QStringLiteral("target")), true));
    EXPECT_FALSE(QFileInfo::exists(m_Dir.filePath(QStringLiteral("target"))));

    const QString outside = m_Dir.filePath(QStringLiteral("outside"));
    writeFile(outside + QStringLiteral("/precious.jpg"), "precious");
    const QString tree = m_Dir.filePath(QStringLiteral("tree"));
    writeFile(tree + QStringLiteral("/a.dat"), "a");
    writeFile(tree + QStringLiteral("/.hidden"), "h");
    writeFile(tree + QStringLiteral("/sub/b.dat"), "b");
    ASSERT_TRUE(QFile::link(outside, tree + QStringLiteral("/linkdir")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/precious.jpg"), tree + QStringLiteral("/linkfile")));

    const QString copy = m_Dir.filePath(QStringLiteral("copy"));
    EXPECT_TRUE(PF::CopyDir(tree, copy, true));
    EXPECT_EQ(readFile(copy + QStringLiteral("/sub/b.dat")), QByteArray("b"));
    EXPECT_EQ(readFile(copy + QStringLiteral("/.hidden")), QByteArray("h"));
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral("/linkdir")));
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral("/linkfile")));
    // Overwriting replaces; without overwrite the old file stays and the copy reports it.
    writeFile(tree + QStringLiteral("/a.dat"), "new a");
    EXPECT_FALSE(PF::CopyDir(tree, copy, false));
    EXPECT_EQ(readFile(copy + QStringLiteral("/a.dat")), QByteArray("a"));
    EXPECT_TRUE(PF::CopyDir(tree, copy, true));
    EXPECT_EQ(readFile(copy + QStringLiteral("/a.dat")), QByteArray("new a"));

    EXPECT_TRUE(PF::RemoveDir(tree));
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_EQ(readFile(outside + QStringLiteral("/precious.jpg")), QByteArray("precious"));
    // A link given itself goes, its target stays.
    const QString link = m_Dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(outside, link));
    EXPECT_TRUE(PF::RemoveDir(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/precious.jpg")));
}

TEST_F(ProjectFilesTest, RecoverableUndoLevelAndOpeningChecks)
{
    const QString data = m_Dir.filePath(QStringLiteral("p.lumivexdata"));
    QDir().mkpath(data);
    EXPECT_EQ(PF::RecoverableUndoLevel(data), -2);
    for (int i = 0; i < 3; ++i)
        makeUndo(data, i, "x");
    struct SCase {
        QByteArray ini;
        int level;
    };
    const SCase cases[] = {
        {"undolevel=2147483647\n", 2}, {"undolevel=1\n", 1},  {"undolevel=-1\n", -1},
        {"\n", 0},                      {"undolevel=abc\n", -1}, {"[x\n\x01\x02junk=\"\n", -1},
    };
    for (const SCase& c : cases) {
        writeFile(data + QStringLiteral("/timeline.ini"), c.ini);
        EXPECT_EQ(PF::RecoverableUndoLevel(data), c.level) << c.ini.constData();
    }

    const QString path = m_Dir.filePath(QStringLiteral("p.lumivexProject"));
    EXPECT_FALSE(PF::ProjectComplete(path));
    writeFile(path, "Version=300\n");
    EXPECT_TRUE(PF::ProjectComplete(path));
    {
        QSettings ini(path, QSettings::IniFormat);
        EXPECT_EQ(PF::ReadVersion(ini), 300);
        EXPECT_EQ(PF::ReadSaveMode(ini), 3);
    }
    writeFile(path, "Version=300\nSaveMode=8\n");
    EXPECT_EQ(PF::ReadSaveMode(QSettings(path, QSettings::IniFormat)), 8);
    writeFile(path, "SaveMode=99\n");
    EXPECT_EQ(PF::ReadVersion(QSettings(path, QSettings::IniFormat)), 0);
    EXPECT_EQ(PF::ReadSaveMode(QSettings(path, QSettings::IniFormat)), 3);
}

TEST_F(ProjectFilesTest, UndoFolderNamesAndRoots)
{
    for (const char* name : {"temp0", "temp12", "temp3.deleted0", "temp3.deleted12"})
        EXPECT_TRUE(PF::IsUndoFolderName(QString::fromLatin1(name))) << name;
    for (const char* name : {"mytemplates", "temp", "tempx", "temp1a", "Temp1", "undo1", "xtemp1", "temp1.old"})
        EXPECT_FALSE(PF::IsUndoFolderName(QString::fromLatin1(name))) << name;

    auto first = std::make_unique<PF::CUndoRoot>(root);
    EXPECT_EQ(first->Number(), 0);
    EXPECT_EQ(first->Root(), root);
    {
        PF::CUndoRoot second(root);
        EXPECT_EQ(second.Number(), 1);
        EXPECT_EQ(second.Root(), root + QStringLiteral("undo1/"));
        EXPECT_TRUE(QFileInfo(second.Root()).isDir());
        PF::CUndoRoot third(root);
        EXPECT_EQ(third.Number(), 2);
    }
    PF::CUndoRoot again(root);
    EXPECT_EQ(again.Number(), 1);
    first.reset();
    PF::CUndoRoot lowest(root);
    EXPECT_EQ(lowest.Number(), 0);

    // A lock left behind by a process that died is taken.
    const QString dead = m_Dir.filePath(QStringLiteral("dead")) + QLatin1Char('/');
    QDir().mkpath(dead);
    writeFile(dead + QStringLiteral("undo0.lock"), "999999\nlumivex\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    PF::CUndoRoot taken(dead);
    EXPECT_EQ(taken.Number(), 0);
}

TEST_F(ProjectFilesTest, UndoPictureFitAndPlacement)
{
    struct SCase {
        int w, h, sw, sh, column, row;
    };
    // A 1440-pixel-wide screen: the undo picture is 480 x 360.
    const SCase cases[] = {
        {4000, 1000, 480, 120, 0, 120},
        {6000, 4000, 480, 320, 0, 20},
        {1000, 800, 450, 360, 15, 0},
        {400, 300, 400, 300, 40, 30},
        {480, 360, 480, 360, 0, 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        int sw = 0, sh = 0;
        ASSERT_TRUE(PF::FitSize(c.w, c.h, 480, 360, &sw, &sh));
        EXPECT_EQ(sw, c.sw);
        EXPECT_EQ(sh, c.sh);
        std::vector<uint16_t> canvas(size_t(480) * 360 * 3);
        PF::FillCanvas(canvas.data(), 480, 360, 0x102030u);
        std::vector<uint16_t> picture(size_t(sw) * size_t(sh) * 3, 7);
        PF::PlaceCentred(canvas.data(), 480, 360, picture.data(), sw, sh);
        auto at = [&](int x, int y) { return canvas[(size_t(y) * 480 + size_t(x)) * 3]; };
        EXPECT_EQ(at(c.column, c.row), 7);
        EXPECT_EQ(at(c.column + sw - 1, c.row + sh - 1), 7);
        if (c.row > 0) {
            EXPECT_EQ(at(c.column, c.row - 1), 0x1000);
        }
        if (c.column > 0) {
            EXPECT_EQ(at(c.column - 1, c.row), 0x1000);
        }
    }
    EXPECT_EQ(std::vector<uint16_t>({0x1000, 0x2000, 0x3000}), [] {
        std::vector<uint16_t> px(3);
        PF::FillCanvas(px.data(), 1, 1, 0xFF102030u);
        return px;
    }());
    int sw = -1, sh = -1;
    EXPECT_FALSE(PF::FitSize(100, 100, 0, 0, &sw, &sh));
    EXPECT_FALSE(PF::FitSize(0, 100, 480, 360, &sw, &sh));
}

TEST_F(ProjectFilesTest, ThumbnailsAreExactAndShortFilesReadBlack)
{
    std::vector<uint16_t> thumb(size_t(PF::kThumbBytes / 2));
    for (size_t i = 0; i < thumb.size(); ++i)
        thumb[i] = uint16_t(i * 31);
    const QString path = m_Dir.filePath(QStringLiteral("undo.dat"));
    ASSERT_TRUE(PF::WriteThumbnail(path, thumb.data()));
    EXPECT_EQ(QFileInfo(path).size(), 115200);
    std::vector<uint16_t> back(thumb.size(), 0xffff);
    PF::ReadThumbnail(path, back.data());
    EXPECT_EQ(back, thumb);
    // Short and missing: what the file lacks is black, nothing of the earlier read stays.
    writeFile(path, QByteArray(10, '\x7f'));
    PF::ReadThumbnail(path, back.data());
    EXPECT_EQ(back[0], 0x7f7f);
    EXPECT_EQ(back[5], 0);
    EXPECT_EQ(back.back(), 0);
    PF::ReadThumbnail(m_Dir.filePath(QStringLiteral("missing.dat")), back.data());
    EXPECT_EQ(std::count(back.begin(), back.end(), 0), std::ptrdiff_t(back.size()));
}

// ---- the main window --------------------------------------------------------------------------

namespace {

class FakeOptions : public IOptionsWindow {
public:
    QString GetPath(EPaths) const override { return QString(); }
    QString GetExternal(EExternals) const override { return QString(); }
    int GetExternalIndex() const override { return 0; }
    bool IsGammaViewChecked() const override { return false; }
    int GetUndoMaxAmountIndex() const override { return maxIndex; }
    double GetUndoSafetyGB() const override { return 0.0; }
    bool IsApplied() const override { return false; }
    int Exec() override { return 0; }
    QDialog* Dialog() override { return nullptr; }
    int maxIndex = 5;
};

class Counters : public IUsageCounters {
public:
    void HandleValue(const QString& key, int value) override { values[key] += value; }
    QMap<QString, int> values;
};

class ProjectFactory : public IWindowFactory {
public:
    IOptionsWindow* CreateOptionsWindow(QWidget*) override { return &options; }
    IStyleColorDialog* CreateStyleSelectWindow(QWidget*) override { return nullptr; }
    IUsageCounters* CreateStatistic(QObject*) override { return &counters; }
    HDRTimelineDockWidget* CreateTimelineDock(QWidget* parent) override
    {
        return new HDRTimelineDockWidget(QStringLiteral("Timeline Window"), parent);
    }
    FakeOptions options;
    Counters counters;
};

// A preset tile as the main window sees it.
class FakeTile : public IPresetTile {
public:
    QSize LabelSize() const override { return QSize(40, 30); }
    void UpdateLabelPixmap() override {}
    void SetCalculated(bool) override {}
    void EnableModifiedButtons() override {}
};

// A participant that fails on request (registered while it lives).
class FailingParticipant : public IProject {
public:
    bool SaveProject(QSettings&, const QString&) const override { return !failSave; }
    bool LoadProject(QSettings&, const QString&) override { return !failLoad; }
    bool failSave = false;
    bool failLoad = false;
};

// Answers prompts: message boxes by button text (in order), progress
// windows with their continue button; records what each showed.
struct Prompts {
    QStringList answers;
    QStringList seen;
    void install()
    {
        _gui::SetModalHook([this](QWidget* prompt) {
            if (auto* progress = qobject_cast<HDRProgressWindow*>(prompt)) {
                seen << QStringLiteral("progress: ") + progress->GetLog()->toPlainText();
                progress->GetContinueButton()->click();
                return 0;
            }
            if (auto* box = qobject_cast<QMessageBox*>(prompt)) {
                seen << box->text() + QLatin1Char('|') + box->informativeText();
                const QString want = answers.isEmpty() ? QString() : answers.takeFirst();
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text() == want || (want.isEmpty() && box->buttons().size() == 1)) {
                        button->click();
                        return 0;
                    }
                }
                ADD_FAILURE() << "no button " << want.toStdString() << " on " << box->text().toStdString();
                box->reject();
                return 0;
            }
            ADD_FAILURE() << "unexpected prompt " << prompt->metaObject()->className();
            return 0;
        });
    }
    bool saw(const QString& text) const
    {
        for (const QString& s : seen)
            if (s.contains(text))
                return true;
        return false;
    }
};

class ProjectWindowTest : public MainWindowUiTest {
protected:
    void SetUp() override
    {
        MainWindowUiTest::SetUp();
        HDRPresetTimerStopHelper::m_uiRefCnt = 0;
        ASSERT_TRUE(m_Dir.isValid());
        prompts.install();
        MP_UI_SetAskForSaveProjectMode(1);
        window = std::make_unique<HDRMainWindow>(0, QString(), &factory);
        window->m_ProjectDialogHook = [this](bool save) {
            ++dialogs;
            (void)save;
            return dialogAnswer;
        };
    }
    void TearDown() override
    {
        if (window) {
            window->clearUndo();
            window.reset();
        }
        MainWindowUiTest::TearDown();
    }
    QString photo(const QString& name, int w = 96, int h = 64)
    {
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, (x > 20 && x < 40 && y > 10 && y < 30) ? qRgb(220, 30, 30)
                                                                             : qRgb(x * 255 / w, (x * y) & 255, 90));
        const QString path = m_Dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }
    // Opens a photograph and applies a preset, so there is a result to show.
    void loadPhoto(HDRMainWindow* into = nullptr, const QString& name = QStringLiteral("street.png"))
    {
        HDRMainWindow* w = into ? into : window.get();
        w->InterpretReceivedMessage(photo(name));
        ASSERT_NE(w->m_pExposureSeries, nullptr);
        ASSERT_EQ(w->m_pExposureSeries->m_vExposures.size(), 1);
        w->updatePostProcessing(&chain, &tile);
        int rw = 0, rh = 0;
        ASSERT_NE(w->GetActualResultBuffer(&rw, &rh), nullptr);
    }
    std::vector<uint16_t> exposurePixels() const
    {
        const CExposure* e = window->m_pExposureSeries->m_vExposures.first();
        return std::vector<uint16_t>(e->m_pusBuffer, e->m_pusBuffer + e->PixelCount() * 3);
    }
    QString saveAs(const QString& name)
    {
        dialogAnswer = m_Dir.filePath(name);
        EXPECT_TRUE(window->saveProjectAs());
        return window->m_sProjectPath;
    }
    QString undoRoot() const { return window->UndoRoot(); }
    QString iconName() const { return window->getUndoAct->property("iconName").toString(); }

    CPostProcessing chain;
    FakeTile tile;
    CProgressRecorder progress;
    ProjectFactory factory;
    Prompts prompts;
    std::unique_ptr<HDRMainWindow> window;
    QTemporaryDir m_Dir;
    QString dialogAnswer;
    int dialogs = 0;
};

} // namespace

TEST_F(ProjectWindowTest, SavedProjectOpensWithTheSamePixels)
{
    loadPhoto();
    const std::vector<uint16_t> pixels = exposurePixels();
    window->MarkChanged();
    ASSERT_TRUE(window->saveProjectAct->isEnabled());

    const QString path = saveAs(QStringLiteral("shot"));
    EXPECT_EQ(path, m_Dir.filePath(QStringLiteral("shot.lumivexProject")));
    EXPECT_TRUE(QFileInfo(m_Dir.filePath(QStringLiteral("shot.lumivexdata/CMap0000.dat"))).isFile());
    EXPECT_FALSE(window->saveProjectAct->isEnabled());
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" - ") + path));
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iProjectsSaved")), 1);
    {
        QSettings ini(path, QSettings::IniFormat);
        EXPECT_EQ(ini.value(QStringLiteral("Version")).toInt(), 300);
        EXPECT_EQ(ini.value(QStringLiteral("SaveMode")).toInt(), 1);
        EXPECT_TRUE(ini.value(QStringLiteral("PostProcessing")).toBool());
        EXPECT_EQ(ini.value(QStringLiteral("ExposureSeries/Size")).toInt(), 1);
    }

    ASSERT_TRUE(window->newProject());
    EXPECT_EQ(window->m_pExposureSeries, nullptr);
    EXPECT_TRUE(window->m_sProjectPath.isEmpty());

    window->openProject(path);
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(exposurePixels(), pixels);
    EXPECT_EQ(window->m_sProjectPath, path);
    EXPECT_EQ(window->m_iSaveMode, 1);
    EXPECT_FALSE(window->saveProjectAct->isEnabled());
    EXPECT_TRUE(window->saveProjectAsAct->isEnabled());
    EXPECT_NE(m_Log.str().find("Loading with Mode: 1"), std::string::npos);
    // A path passed in is not counted.
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iProjectsLoaded")), 0);

    // A file-open message naming a project opens it, as a drop does.
    ASSERT_TRUE(window->newProject());
    window->InterpretReceivedMessage(path);
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(exposurePixels(), pixels);
    EXPECT_EQ(window->m_sProjectPath, path);
    EXPECT_TRUE(prompts.seen.isEmpty()) << prompts.seen.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ProjectWindowTest, FailedSavesKeepTheOldProjectAndTheWork)
{
    loadPhoto();
    const QString path = saveAs(QStringLiteral("shot"));
    const auto before = snapshot(m_Dir.path());
    window->MarkChanged();

    // A participant fails.
    {
        FailingParticipant failing;
        failing.failSave = true;
        EXPECT_FALSE(window->saveProject());
        EXPECT_EQ(snapshot(m_Dir.path()), before);
        EXPECT_TRUE(window->saveProjectAct->isEnabled());
        EXPECT_TRUE(prompts.saw(QStringLiteral("Dateifehler: ") + path + QStringLiteral(" konnte nicht erstellt werden")));
    }
    // The disk fills up while the series writes its data file.
    {
        struct rlimit old {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 200;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = window->saveProject();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(saved);
        EXPECT_EQ(snapshot(m_Dir.path()), before);
        EXPECT_TRUE(window->saveProjectAct->isEnabled());
    }
    // "Ja" in the discard question, then the save fails: the work is kept.
    {
        FailingParticipant failing;
        failing.failSave = true;
        prompts.answers = {QStringLiteral("Ja")};
        EXPECT_EQ(window->askToSaveProject(true), -1);
    }
    // "Ja", then the save-as dialog is cancelled: kept too.
    window->m_sProjectPath.clear();
    dialogAnswer.clear();
    prompts.answers = {QStringLiteral("Ja")};
    EXPECT_EQ(window->askToSaveProject(true), -1);
    prompts.answers = {QStringLiteral("Ja")};
    EXPECT_FALSE(window->newProject());
    EXPECT_NE(window->m_pExposureSeries, nullptr);
}

TEST_F(ProjectWindowTest, SaveQuestionsOnNewProjectAndClose)
{
    loadPhoto();
    window->MarkChanged();
    MP_UI_SetDisplayGammaHDRMode(1);

    // "Abbrechen" keeps the document; the gamma mode is off all the same.
    prompts.answers = {QStringLiteral("Abbrechen")};
    EXPECT_FALSE(window->newProject());
    EXPECT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(MP_UI_GetDisplayGammaHDRMode(), 0);
    EXPECT_TRUE(prompts.saw(QStringLiteral("Warnung|Projekt nicht gespeichert. Speichern?")));

    // Closing a modified document asks too; "Abbrechen" keeps the window open.
    prompts.answers = {QStringLiteral("Abbrechen")};
    QCloseEvent close;
    QCoreApplication::sendEvent(window.get(), &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(prompts.seen.size(), 2);

    // "Nein" discards; the editors' painters forget their strokes.
    struct Painter : IProjectPainter {
        void Clear() override { ++clears; }
        int clears = 0;
    } painter;
    ProjectSeams::AddPainter(&painter);
    prompts.answers = {QStringLiteral("Nein")};
    EXPECT_TRUE(window->newProject());
    ProjectSeams::RemovePainter(&painter);
    EXPECT_EQ(painter.clears, 1);
    EXPECT_EQ(window->m_pExposureSeries, nullptr);
    EXPECT_FALSE(window->saveProjectAsAct->isEnabled());
    EXPECT_FALSE(window->setUndoAct->isEnabled());
    EXPECT_EQ(window->m_iUndoLevel, -1);
}

TEST_F(ProjectWindowTest, SaveAsAsksBeforeReplacingAnotherProject)
{
    loadPhoto();
    const QString path = saveAs(QStringLiteral("shot"));
    const auto before = snapshot(m_Dir.path());
    window->m_sProjectPath.clear();
    window->MarkChanged();

    dialogAnswer = m_Dir.filePath(QStringLiteral("shot")); // the extension is added to it
    prompts.answers = {QStringLiteral("Nein")};
    EXPECT_FALSE(window->saveProjectAs());
    EXPECT_TRUE(prompts.saw(path));
    EXPECT_EQ(snapshot(m_Dir.path()), before);
    EXPECT_TRUE(window->m_sProjectPath.isEmpty());

    prompts.answers = {QStringLiteral("Ja")};
    EXPECT_TRUE(window->saveProjectAs());
    EXPECT_EQ(window->m_sProjectPath, path);
}

TEST_F(ProjectWindowTest, DamagedOrMissingProjectFiles)
{
    loadPhoto();
    const QString path = saveAs(QStringLiteral("shot"));
    const QByteArray good = readFile(path);
    const QString data = m_Dir.filePath(QStringLiteral("shot.lumivexdata"));
    const QString backup = m_Dir.filePath(QStringLiteral("backup"));
    ASSERT_TRUE(PF::CopyDir(data, backup, true));

    struct SCase {
        const char* name;
        std::function<void()> damage;
        QString message; // shown in a box; empty: the participant's own message
        int mode;
    };
    const QString incomplete = QStringLiteral("Projektdateien unvollständig.");
    const QString incompatible = QStringLiteral("Projektdateien sind nicht kompatibel.");
    const SCase cases[] = {
        {"version 299", [&] { writeFile(path, QByteArray(good).replace("Version=300", "Version=299")); },
         incompatible, 1},
        {"no version", [&] { writeFile(path, QByteArray(good).replace("Version=300", "")); }, incompatible, 1},
        {"junk", [&] { writeFile(path, QByteArray("\x01\x02[[[\nVersion=\"300\n\xff\xfe", 16)); }, incompatible, 3},
        {"no data folder", [&] { QDir(data).rename(data, data + QStringLiteral(".away")); }, incomplete, -1},
        {"no file", [&] { QFile::remove(path); }, incomplete, -1},
        {"short data file",
         [&] {
             QFile f(data + QStringLiteral("/CMap0000.dat"));
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.resize(f.size() / 2);
         },
         QString(), 1},
        // A project whose series holds no picture (a count of 0, or one that
        // does not read as a number) is as incomplete as one without files.
        {"no picture", [&] { QSettings(path, QSettings::IniFormat).setValue("ExposureSeries/Size", 0); }, incomplete, 1},
        {"count unreadable",
         [&] { QSettings(path, QSettings::IniFormat).setValue("ExposureSeries/Size", "one"); }, incomplete, 1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.damage();
        prompts.seen.clear();
        progress.Clear();
        prompts.answers = {QString()};
        window->openProject(path);
        EXPECT_EQ(window->m_pExposureSeries, nullptr);
        EXPECT_TRUE(window->m_sProjectPath.isEmpty());
        if (c.message.isEmpty()) {
            EXPECT_TRUE(progress.HasMessage(QStringLiteral("Projekt could not be loaded"), 10, 2));
        } else {
            EXPECT_TRUE(prompts.saw(c.message)) << prompts.seen.join(QLatin1Char('\n')).toStdString();
        }
        if (c.mode >= 0) {
            EXPECT_EQ(window->m_iSaveMode, c.mode);
        }
        // Back to the good project.
        PF::RemoveDir(data + QStringLiteral(".away"));
        PF::RemoveDir(data);
        ASSERT_TRUE(PF::CopyDir(backup, data, true));
        writeFile(path, good);
        prompts.answers = {QString()};
        window->openProject(path);
        ASSERT_NE(window->m_pExposureSeries, nullptr) << prompts.seen.join(QLatin1Char('\n')).toStdString();
    }
    // Without "SaveMode" the data load with mode 3.
    writeFile(path, QByteArray(good).replace("SaveMode=1", ""));
    window->openProject(path);
    EXPECT_EQ(window->m_iSaveMode, 3);

    // A cancelled open dialog is counted all the same.
    dialogAnswer.clear();
    window->openProject();
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iProjectsLoaded")), 1);
}

TEST_F(ProjectWindowTest, UndoPointsAreSetRestoredAndTrimmed)
{
    loadPhoto();
    const QString root = undoRoot();
    window->m_sProjectPath = m_Dir.filePath(QStringLiteral("mine.lumivexProject"));
    MP_UI_SetSaveTimeLineMode(1);
    MP_UI_SetBufferCompressionMode(0);

    window->SaveUndo();
    EXPECT_EQ(window->m_iUndoLevel, 0);
    EXPECT_EQ(window->m_iChangeCounter, 2);
    EXPECT_EQ(iconName(), QStringLiteral("UndoLaden01"));
    EXPECT_TRUE(window->getUndoAct->isEnabled());
    EXPECT_EQ(window->m_sProjectPath, m_Dir.filePath(QStringLiteral("mine.lumivexProject")));
    EXPECT_EQ(MP_UI_GetSaveTimeLineMode(), 1);
    EXPECT_EQ(MP_UI_GetBufferCompressionMode(), 0);
    const QString folder = root + QStringLiteral("temp0/");
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("undo.lumivexProject")).isFile());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("undo.lumivexdata/CMap0000.dat")).isFile());
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("undo.dat")).size(), 115200);
    EXPECT_FALSE(QImage(folder + QStringLiteral("undo.jpg")).isNull());
    EXPECT_EQ(QImage(folder + QStringLiteral("undo.jpg")).size(), window->GetTimeLineImageSize());
    EXPECT_FALSE(QSettings(folder + QStringLiteral("datetime.ini"), QSettings::IniFormat)
                     .value(QStringLiteral("datetime"))
                     .toString()
                     .isEmpty());
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 1);
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iUndoSaved")), 1);

    // Change marking: the first change after a point clears the selection.
    EXPECT_TRUE(window->m_pTimelineDock->Label(0)->m_bChecked);
    window->MarkChanged();
    EXPECT_FALSE(window->m_pTimelineDock->Label(0)->m_bChecked);

    // Ten points: "UndoLaden10"; eleven: "UndoLaden10p".
    for (int i = 1; i < 10; ++i)
        window->SaveUndo();
    EXPECT_EQ(iconName(), QStringLiteral("UndoLaden10"));
    window->SaveUndo();
    EXPECT_EQ(window->m_iUndoLevel, 10);
    EXPECT_EQ(iconName(), QStringLiteral("UndoLaden10p"));
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 11);

    // "Undopunkt holen": point 10 comes back and goes; the user's path stays.
    window->getUndo();
    EXPECT_EQ(window->m_iUndoLevel, 9);
    EXPECT_EQ(iconName(), QStringLiteral("UndoLaden10"));
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 10);
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("temp10")));
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(window->m_sProjectPath, m_Dir.filePath(QStringLiteral("mine.lumivexProject")));
    // The restored state is not the saved project: closing would ask.
    EXPECT_TRUE(window->saveProjectAct->isEnabled());
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iUndoLoaded")), 1);
    EXPECT_EQ(MP_UI_GetAskForSaveProjectMode(), 1);
    EXPECT_EQ(MP_UI_GetBufferCompressionMode(), 0);

    // The load button on point 3 keeps every entry and selects it.
    window->m_iChangeCounter = 3;
    window->m_pTimelineDock->LoadButton(3)->click();
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 10);
    EXPECT_EQ(window->m_iUndoLevel, 9);
    EXPECT_EQ(iconName(), QStringLiteral("UndoLaden")); // until the level changes again
    EXPECT_TRUE(window->m_pTimelineDock->Label(3)->m_bChecked);
    // With four changes the current state becomes a point first.
    window->m_iChangeCounter = 4;
    window->m_pTimelineDock->LoadButton(3)->click();
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 11);
    EXPECT_EQ(window->m_iUndoLevel, 10);

    // Saving the project copies the points; opening it brings them back.
    const QString path = saveAs(QStringLiteral("withundo"));
    EXPECT_TRUE(QFileInfo(m_Dir.filePath(QStringLiteral("withundo.lumivexdata/temp10/undo.dat"))).isFile());
    window->clearUndo();
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("temp0")));
    prompts.answers = {QStringLiteral("Nein")};
    window->MarkChanged();
    window->openProject(path);
    ASSERT_NE(window->m_pExposureSeries, nullptr);
    EXPECT_EQ(window->m_iUndoLevel, 10);
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 11);
    EXPECT_EQ(QFileInfo(root + QStringLiteral("temp10/undo.dat")).size(), 115200);

    // The limit "1": setting a point leaves one, renumbered to 0.
    factory.options.maxIndex = 0;
    window->setUndo();
    EXPECT_EQ(window->m_iUndoLevel, 0);
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 1);
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("temp0")));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("temp1")));
    MP_UI_SetSaveTimeLineMode(0);
}

// A participant with a version: its key and data file are saved, and what
// it finds on loading is kept.
class VersionParticipant : public IProject {
public:
    bool SaveProject(QSettings& settings, const QString& folder) const override
    {
        settings.setValue(QStringLiteral("Test/Version"), version);
        QSaveFile file(folder + QStringLiteral("/version.dat"));
        return file.open(QIODevice::WriteOnly) && file.write(version.toUtf8()) > 0 && file.commit();
    }
    bool LoadProject(QSettings& settings, const QString& folder) override
    {
        loaded = settings.value(QStringLiteral("Test/Version")).toString() + QLatin1Char('/') +
                 QString::fromUtf8(readFile(folder + QStringLiteral("/version.dat")));
        return true;
    }
    QString version;
    QString loaded;
};

// A project save and an undo point stopped at any step of their commit: the
// project opens, and the point is restored, as exactly the old or exactly the
// new version, pictures included, and nothing of the attempt stays.
TEST_F(ProjectWindowTest, ASaveOrUndoPointStoppedAtAnyStepOpensWhole)
{
    loadPhoto();
    VersionParticipant part;
    MP_UI_SetAskForSaveProjectMode(0);
    const int background = MP_UI_GetBackgroundColor();
    auto leftovers = [](const QString& root) {
        QStringList found;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = QFileInfo(it.next()).fileName();
            for (const char* mark : {".saving", ".old", ".commit", ".lock"})
                if (name.contains(QLatin1String(mark))) {
                    found << name;
                    break;
                }
        }
        return found.join(QLatin1Char(' ')).toStdString();
    };
    auto stopAt = [](int k, const std::function<void()>& save) {
        StepOperations stop(StepOperations::EMode::Throw, k);
        OperationsScope scope(&stop);
        try {
            save();
        } catch (const StepOperations::Stopped&) {
            return true;
        }
        return false;
    };
    auto countSteps = [](const std::function<void()>& save) {
        StepOperations counting;
        OperationsScope scope(&counting);
        save();
        return counting.steps;
    };

    // The project file.
    part.version = QStringLiteral("old");
    const QString path = saveAs(QStringLiteral("shot"));
    const QString data = m_Dir.filePath(QStringLiteral("shot.lumivexdata"));
    const QString pristine = m_Dir.filePath(QStringLiteral("pristine"));
    ASSERT_TRUE(PF::CopyDir(data, pristine, true));
    const QByteArray oldFile = readFile(path);
    auto reset = [&] {
        PF::RemoveDir(data);
        ASSERT_TRUE(PF::CopyDir(pristine, data, true));
        writeFile(path, oldFile);
    };
    part.version = QStringLiteral("new");
    const int projectSteps = countSteps([&] { EXPECT_TRUE(window->saveProject()); });
    ASSERT_GT(projectSteps, 3);
    for (int k = 1; k <= projectSteps; ++k) {
        SCOPED_TRACE(testing::Message() << "project stopped at step " << k << " of " << projectSteps);
        reset();
        part.version = QStringLiteral("new");
        EXPECT_TRUE(stopAt(k, [&] { window->saveProject(); }));
        window->m_sProjectPath = path;
        part.loaded.clear();
        window->openProject(path);
        ASSERT_NE(window->m_pExposureSeries, nullptr) << prompts.seen.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(part.loaded == QStringLiteral("old/old") || part.loaded == QStringLiteral("new/new"))
            << part.loaded.toStdString();
        EXPECT_EQ(leftovers(m_Dir.path()), "");
    }

    // An undo point written again into the folder of an earlier one.
    const QString folder = undoRoot() + QStringLiteral("temp0");
    const QString keep = m_Dir.filePath(QStringLiteral("pristine-undo"));
    window->m_sProjectPath.clear();
    part.version = QStringLiteral("old");
    MP_UI_SetBackgroundColor(0x102030);
    window->setUndoLevel(-1);
    window->SaveUndo();
    ASSERT_EQ(window->m_iUndoLevel, 0);
    ASSERT_TRUE(PF::CopyDir(folder, keep, true));
    const QByteArray oldThumb = readFile(folder + QStringLiteral("/undo.dat"));
    const QByteArray oldJpg = readFile(folder + QStringLiteral("/undo.jpg"));
    part.version = QStringLiteral("new");
    MP_UI_SetBackgroundColor(0xa0b0c0);
    window->setUndoLevel(-1);
    const int undoSteps = countSteps([&] { window->SaveUndo(); });
    ASSERT_GT(undoSteps, 3);
    for (int k = 1; k <= undoSteps; ++k) {
        SCOPED_TRACE(testing::Message() << "undo point stopped at step " << k << " of " << undoSteps);
        // The new point as a whole save of the current state writes it.
        auto restart = [&] {
            PF::RemoveDir(folder);
            ASSERT_TRUE(PF::CopyDir(keep, folder, true));
            window->setUndoLevel(-1);
            window->m_sProjectPath.clear();
        };
        restart();
        window->SaveUndo();
        const QByteArray newThumb = readFile(folder + QStringLiteral("/undo.dat"));
        const QByteArray newJpg = readFile(folder + QStringLiteral("/undo.jpg"));
        ASSERT_NE(oldThumb, newThumb);
        ASSERT_NE(oldJpg, newJpg);
        restart();
        EXPECT_TRUE(stopAt(k, [&] { window->SaveUndo(); }));
        window->m_sProjectPath.clear();
        window->setUndoLevel(0);
        part.loaded.clear();
        window->RestoreTimeline(0);
        ASSERT_NE(window->m_pExposureSeries, nullptr) << prompts.seen.join(QLatin1Char('\n')).toStdString();
        const QByteArray thumb = readFile(folder + QStringLiteral("/undo.dat"));
        const QByteArray jpg = readFile(folder + QStringLiteral("/undo.jpg"));
        const bool isOld = part.loaded == QStringLiteral("old/old") && thumb == oldThumb && jpg == oldJpg;
        const bool isNew = part.loaded == QStringLiteral("new/new") && thumb == newThumb && jpg == newJpg;
        EXPECT_TRUE(isOld || isNew) << part.loaded.toStdString() << " thumbnail "
                                    << (thumb == oldThumb ? "old" : thumb == newThumb ? "new" : "other") << " picture "
                                    << (jpg == oldJpg ? "old" : jpg == newJpg ? "new" : "other");
        EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/datetime.ini")).isFile());
        EXPECT_EQ(leftovers(folder), "");
    }
    MP_UI_SetBackgroundColor(background);
    MP_UI_SetAskForSaveProjectMode(1);
}

TEST_F(ProjectWindowTest, AFailedUndoPointChangesNothing)
{
    loadPhoto();
    window->MarkChanged();
    const int counter = window->m_iChangeCounter;
    // Something that is not a folder where the point's folder belongs.
    writeFile(undoRoot() + QStringLiteral("temp0"), "in the way");
    window->SaveUndo();
    EXPECT_EQ(window->m_iUndoLevel, -1);
    EXPECT_EQ(window->m_iChangeCounter, counter);
    EXPECT_TRUE(window->m_sProjectPath.isEmpty());
    EXPECT_TRUE(window->saveProjectAct->isEnabled());
    EXPECT_FALSE(window->getUndoAct->isEnabled());
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 0);
    EXPECT_EQ(factory.counters.values.value(QStringLiteral("m_iUndoSaved")), 0);
    EXPECT_TRUE(prompts.saw(QStringLiteral("Dateifehler:")));
    QFile::remove(undoRoot() + QStringLiteral("temp0"));
}

TEST_F(ProjectWindowTest, InstancesKeepTheirOwnUndoFolders)
{
    loadPhoto();
    window->SaveUndo();
    QDir().mkpath(window->SettingsPath() + QStringLiteral("mytemplates"));

    ProjectFactory otherFactory;
    HDRMainWindow other(0, QString(), &otherFactory);
    EXPECT_EQ(other.UndoRoot(), window->SettingsPath() + QStringLiteral("undo1/"));
    loadPhoto(&other, QStringLiteral("other.png"));
    other.SaveUndo();
    EXPECT_TRUE(QFileInfo(other.UndoRoot() + QStringLiteral("temp0/undo.dat")).isFile());

    // Closing one instance clears its own points only, and no user folder.
    other.clearUndo();
    EXPECT_FALSE(QFileInfo::exists(other.UndoRoot() + QStringLiteral("temp0")));
    EXPECT_TRUE(QFileInfo(window->UndoRoot() + QStringLiteral("temp0/undo.dat")).isFile());
    window->clearUndo();
    EXPECT_FALSE(QFileInfo::exists(window->UndoRoot() + QStringLiteral("temp0")));
    EXPECT_TRUE(QFileInfo(window->SettingsPath() + QStringLiteral("mytemplates")).isDir());
    EXPECT_TRUE(QFileInfo(window->SettingsPath() + QStringLiteral("undo1")).isDir());
    EXPECT_EQ(window->m_pTimelineDock->EntryCount(), 0);
    QDir().rmdir(window->SettingsPath() + QStringLiteral("mytemplates"));
}

TEST_F(ProjectFilesTest, UndoPicturesAreTheSameAtAnyThreadCount)
{
    const int w = 1203, h = 797;
    std::vector<uint16_t> result(size_t(w) * size_t(h) * 3);
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = uint16_t((i * 2654435761u) >> 16);
    std::vector<QByteArray> hashes;
    for (int threads : {1, 3, 8}) {
        MP_UI_SetIdealThreadCount(threads);
        PF::SUndoPictures pictures;
        ASSERT_EQ(PF::MakeUndoPictures(result.data(), w, h, 480, 360, 0x336699u, pictures), PF::EUndoPictures::Done);
        QCryptographicHash hash(QCryptographicHash::Sha1);
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(pictures.canvas.get()), 480 * 360 * 6));
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(pictures.thumbnail.get()), PF::kThumbBytes));
        hashes.push_back(hash.result());
        // The background shows above and below the 480 x 318 picture.
        EXPECT_EQ(pictures.canvas[0], 0x3300);
        EXPECT_EQ(pictures.canvas[2], 0x9900);
    }
    EXPECT_EQ(hashes[0], hashes[1]);
    EXPECT_EQ(hashes[0], hashes[2]);
    PF::SUndoPictures none;
    EXPECT_EQ(PF::MakeUndoPictures(nullptr, w, h, 480, 360, 0, none), PF::EUndoPictures::NoPicture);
    EXPECT_EQ(PF::MakeUndoPictures(result.data(), w, h, 0, 0, 0, none), PF::EUndoPictures::NoPicture);
    EXPECT_EQ(none.thumbnail, nullptr);
}
