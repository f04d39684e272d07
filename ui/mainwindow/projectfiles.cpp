#include "ui/mainwindow/projectfiles.h"

#include "document/kernelrunner.h"
#include "engine/views/zoom.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTime>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ProjectFiles {

bool IFileOperations::Rename(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}
bool IFileOperations::Link(const QString& from, const QString& to)
{
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}
bool IFileOperations::Copy(const QString& from, const QString& to)
{
    // In the kernel and without a flush: a copy the save keeps is flushed
    // with the rest of the new version, and most are replaced before that.
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat st {};
    int out = -1;
    if (::fstat(in, &st) == 0 && S_ISREG(st.st_mode))
        out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool good = out >= 0;
    // A clone shares the blocks until one side writes, where the file system can.
    const bool cloned = good && ::ioctl(out, FICLONE, in) == 0;
    off_t done = 0;
    bool kernelCopy = true;
    while (good && !cloned && done < st.st_size) {
        if (kernelCopy) {
            const ssize_t n = ::sendfile(out, in, &done, size_t(std::min<off_t>(st.st_size - done, off_t(1) << 30)));
            if (n < 0 && (errno == EINVAL || errno == ENOSYS) && done == 0)
                kernelCopy = false; // a file system without it: through a buffer
            else
                good = n > 0 || (n < 0 && errno == EINTR);
            continue;
        }
        char buffer[1 << 16];
        const ssize_t n = ::pread(in, buffer, sizeof(buffer), done);
        good = n > 0 && ::write(out, buffer, size_t(n)) == n;
        done += good ? n : 0;
    }
    good = good && ::fchmod(out, st.st_mode & 07777) == 0;
    if (out >= 0 && ::close(out) != 0)
        good = false;
    ::close(in);
    if (!good && out >= 0)
        ::unlink(QFile::encodeName(to).constData());
    return good;
}
bool IFileOperations::MakeDir(const QString& path) { return QDir().mkdir(path); }
bool IFileOperations::RemoveFile(const QString& path) { return QFile::remove(path); }
bool IFileOperations::RemoveTree(const QString& path) { return RemoveDir(path); }

namespace {

IFileOperations g_plainOperations;
IFileOperations* g_pOperations = &g_plainOperations;
IFileOperations& ops() { return *g_pOperations; }

// How long a save waits for another save of the same project, and how long
// opening waits before it leaves a running save alone.
constexpr int kSaveLockWaitMs = 5000;
constexpr int kOpenLockWaitMs = 500;

// A name beside path that nothing uses yet.
QString freeName(const QString& path, const char* tag)
{
    for (int i = 0; i < 100000; ++i) {
        const QString candidate = path + QLatin1String(tag) + QString::number(i);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
    return QString();
}

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool isRealDir(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

// Flushes a file or folder to the disk (as far as the file system lets us).
void syncPath(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Flushes every file and folder below path, then path itself.
void syncTree(const QString& path)
{
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (!info.isSymLink())
            syncPath(info.absoluteFilePath());
    }
    syncPath(path);
}

// A new, empty file with the mode the user's umask gives new files, or the
// given mode.
bool createFile(const QString& path, int mode)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ::close(fd);
    return mode < 0 || ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
}

int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// The index of an undo copy "temp%d" (written exactly so), else -1.
int undoCopyIndex(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^temp(\\d{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return -1;
    const int index = match.captured(1).toInt();
    return QString::number(index) == match.captured(1) ? index : -1;
}

bool isUndoPart(const QFileInfo& entry)
{
    return (entry.isDir() && undoCopyIndex(entry.fileName()) >= 0) ||
           (entry.isFile() && entry.fileName() == QLatin1String("timeline.ini"));
}

QFileInfoList entriesOf(const QString& folder)
{
    return QDir(folder).entryInfoList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System,
                                      QDir::Name);
}

// The participants see copies of the old data files, so that nothing they do
// reaches the old project's files. A copy gets a modification time no write
// can give it; a copy that still has it after the participants is the old
// file unchanged and becomes a hard link of it again, which spares writing
// its data to the disk a second time.
constexpr time_t kUntouchedSeconds = 1;

struct SCopiedFile {
    QString source;
    QString copy;
    ino_t inode = 0;
};

bool copyForParticipants(const QString& source, const QString& copy, std::vector<SCopiedFile>& copies)
{
    if (!ops().Copy(source, copy))
        return false;
    struct timespec times[2] = {{0, UTIME_OMIT}, {kUntouchedSeconds, 0}};
    struct stat st {};
    const QByteArray name = QFile::encodeName(copy);
    if (::utimensat(AT_FDCWD, name.constData(), times, AT_SYMLINK_NOFOLLOW) == 0 &&
        ::lstat(name.constData(), &st) == 0)
        copies.push_back({source, copy, st.st_ino});
    return true;
}

// Fills target (a new, empty folder) with copies of source's regular files
// and real folders; links are skipped.
bool copyTree(const QString& source, const QString& target, std::vector<SCopiedFile>& copies)
{
    for (const QFileInfo& entry : entriesOf(source)) {
        if (entry.isSymLink())
            continue;
        const QString to = target + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!ops().MakeDir(to) || !copyTree(entry.absoluteFilePath(), to, copies))
                return false;
        } else if (entry.isFile() && !copyForParticipants(entry.absoluteFilePath(), to, copies)) {
            return false;
        }
    }
    return true;
}

// The copies no participant has touched become links of the old files.
bool relinkUntouchedCopies(const std::vector<SCopiedFile>& copies)
{
    for (const SCopiedFile& file : copies) {
        struct stat st {};
        if (::lstat(QFile::encodeName(file.copy).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
            st.st_ino != file.inode || st.st_mtim.tv_sec != kUntouchedSeconds || st.st_mtim.tv_nsec != 0)
            continue;
        if (!ops().RemoveFile(file.copy) ||
            (!ops().Link(file.source, file.copy) && !ops().Copy(file.source, file.copy)))
            return false;
    }
    return true;
}

// The same with hard links of the files (copies where a link cannot be made).
bool linkTree(const QString& source, const QString& target)
{
    for (const QFileInfo& entry : entriesOf(source)) {
        if (entry.isSymLink())
            continue;
        const QString to = target + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!ops().MakeDir(to) || !linkTree(entry.absoluteFilePath(), to))
                return false;
        } else if (entry.isFile() && !ops().Link(entry.absoluteFilePath(), to) &&
                   !ops().Copy(entry.absoluteFilePath(), to)) {
            return false;
        }
    }
    return true;
}

// The names of one save of a project, all in the project's folder: the
// staged data folder, the old data folder moved aside, the temporary files
// and the commit record.
struct SAttempt {
    SNames names;
    QString projectPath;
    int token = 0;

    QString dataName() const { return names.baseName + QLatin1String(kDataSuffix); }
    QString Staging() const { return names.dataFolder + QStringLiteral(".saving") + QString::number(token); }
    QString Backup() const { return names.dataFolder + QStringLiteral(".old") + QString::number(token); }
    // The temporary file of a file in the project's folder.
    QString Temporary(const QString& name) const
    {
        QString path = projectPath + QStringLiteral(".saving") + QString::number(token);
        if (name != names.fileName)
            path += QLatin1Char('-') + name;
        return path;
    }
    QString Record() const { return projectPath + QStringLiteral(".commit"); }
    QString RecordTemporary() const { return Temporary(names.fileName + QStringLiteral(".commit")); }
    QString InFolder(const QString& name) const { return names.folder + QLatin1Char('/') + name; }
};

SAttempt attemptFor(const QString& projectPath, int token = 0)
{
    SAttempt attempt;
    attempt.names = Names(projectPath);
    attempt.projectPath = projectPath;
    attempt.token = token;
    return attempt;
}

// A file that may be committed beside the project file: a plain name that
// cannot be taken for the project's own files.
bool isBesideName(const SAttempt& a, const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0)) && !name.startsWith(a.names.fileName) &&
           name != a.dataName() && !name.startsWith(a.dataName() + QLatin1Char('.'));
}

// What the commit record holds: the attempt's number, the files that go in
// (the project file and beside files) and the beside files that go.
struct SRecord {
    int token = 0;
    QStringList files;
    QStringList removed;
};

bool writeRecord(const SAttempt& a, const SRecord& record)
{
    const QString path = a.RecordTemporary();
    if (!createFile(path, -1))
        return false;
    {
        QSettings ini(path, QSettings::IniFormat);
        ini.setValue(QStringLiteral("Token"), record.token);
        ini.setValue(QStringLiteral("Files"), record.files);
        ini.setValue(QStringLiteral("Removed"), record.removed);
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return false;
    }
    syncPath(path);
    return true;
}

// Reads and checks a commit record: false for anything this program did not
// write (the names must be those of this project's attempt).
bool readRecord(const QString& projectPath, SRecord* record)
{
    QSettings ini(projectPath + QStringLiteral(".commit"), QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return false;
    bool ok = false;
    record->token = ini.value(QStringLiteral("Token")).toInt(&ok);
    if (!ok || record->token < 0)
        return false;
    record->files = ini.value(QStringLiteral("Files")).toStringList();
    record->removed = ini.value(QStringLiteral("Removed")).toStringList();
    const SAttempt a = attemptFor(projectPath, record->token);
    for (const QString& name : record->files)
        if (name != a.names.fileName && !isBesideName(a, name))
            return false;
    for (const QString& name : record->removed)
        if (!isBesideName(a, name))
            return false;
    return true;
}

// The renames of a recorded commit, each done only when it is still to be
// done, so that it can be repeated after a stop at any point: the old data
// folder aside, the staged one in, the temporary files over their files,
// the dropped beside files removed; then the old data folder and the record
// go. False when a step failed; the record then stays for the next try.
bool rollForward(const SAttempt& a, const SRecord& record)
{
    const QString data = a.names.dataFolder;
    if (isRealDir(a.Staging())) {
        if (exists(data) && (exists(a.Backup()) || !ops().Rename(data, a.Backup())))
            return false;
        if (!ops().Rename(a.Staging(), data))
            return false;
    }
    for (const QString& name : record.files) {
        const QString temporary = a.Temporary(name);
        if (exists(temporary) && !ops().Rename(temporary, a.InFolder(name)))
            return false;
    }
    for (const QString& name : record.removed)
        if (exists(a.InFolder(name)) && !ops().RemoveFile(a.InFolder(name)))
            return false;
    syncPath(a.names.folder);
    // From here on the new version is complete: what fails now is only left over.
    if (exists(a.Backup()))
        ops().RemoveTree(a.Backup());
    ops().RemoveFile(a.Record());
    syncPath(a.names.folder);
    return true;
}

// The leftovers of attempts without a commit record (and of earlier program
// versions): temporary files, staged and moved-aside data folders. A data
// folder moved aside while no data folder is there belongs to the project
// file on disk and comes back.
struct SLeftoverPatterns {
    QRegularExpression temporary, staging, backup;
    QString lock, record;
    explicit SLeftoverPatterns(const SAttempt& a)
        : temporary(QStringLiteral("^") + QRegularExpression::escape(a.names.fileName) +
                    QStringLiteral("\\.saving(\\d+(-.+)?|-[A-Za-z0-9]{6})$")),
          staging(QStringLiteral("^") + QRegularExpression::escape(a.dataName()) + QStringLiteral("\\.saving\\d+$")),
          backup(QStringLiteral("^") + QRegularExpression::escape(a.dataName()) + QStringLiteral("\\.old\\d+$")),
          lock(a.names.fileName + QStringLiteral(".lock")), record(a.names.fileName + QStringLiteral(".commit"))
    {
    }
    bool Matches(const QString& name) const
    {
        return name == lock || name == record || temporary.match(name).hasMatch() ||
               staging.match(name).hasMatch() || backup.match(name).hasMatch();
    }
};

bool rollBack(const SAttempt& a)
{
    const SLeftoverPatterns patterns(a);
    bool good = true;
    for (const QFileInfo& entry : entriesOf(a.names.folder)) {
        const QString name = entry.fileName();
        const QString path = entry.absoluteFilePath();
        const bool folder = entry.isDir() && !entry.isSymLink();
        if (patterns.backup.match(name).hasMatch() && folder && !exists(a.names.dataFolder)) {
            good = ops().Rename(path, a.names.dataFolder) && good;
        } else if (patterns.temporary.match(name).hasMatch() || patterns.staging.match(name).hasMatch() ||
                   patterns.backup.match(name).hasMatch()) {
            good = (folder ? ops().RemoveTree(path) : ops().RemoveFile(path)) && good;
        }
    }
    syncPath(a.names.folder);
    return good;
}

// Recovery with the project's lock held.
bool recoverLocked(const QString& projectPath)
{
    const SAttempt any = attemptFor(projectPath);
    if (exists(any.Record())) {
        SRecord record;
        if (readRecord(projectPath, &record)) {
            if (!rollForward(attemptFor(projectPath, record.token), record))
                return false;
        } else if (!ops().RemoveFile(any.Record())) {
            return false; // not ours, and in the way
        }
    }
    return rollBack(any);
}

bool hasLeftovers(const SAttempt& a)
{
    const SLeftoverPatterns patterns(a);
    for (const QString& name :
         QDir(a.names.folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System))
        if (patterns.Matches(name))
            return true;
    return false;
}

std::unique_ptr<QLockFile> lockProject(const QString& projectPath, int waitMs)
{
    auto lock = std::make_unique<QLockFile>(projectPath + QStringLiteral(".lock"));
    // Only the lock of a process that has died is taken over, however old.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(waitMs))
        return nullptr;
    return lock;
}

// Carries the undo copies into the staged data folder after the participants
// are done: with the timeline saved, copies 0..level from the undo root, the
// stale copies above level up to the first gap dropped and the rest linked
// in, and a new "timeline.ini"; without, everything of the old folder linked in.
bool carryUndoCopies(const SSaveRequest& request, const QString& data, bool hadData, const QString& staging)
{
    const QFileInfoList old = hadData ? entriesOf(data) : QFileInfoList();
    auto carry = [&](const QFileInfo& entry) {
        const QString to = staging + QLatin1Char('/') + entry.fileName();
        if (exists(to))
            return true; // a participant's own file of that name wins
        if (entry.isDir())
            return ops().MakeDir(to) && linkTree(entry.absoluteFilePath(), to);
        return ops().Link(entry.absoluteFilePath(), to) || ops().Copy(entry.absoluteFilePath(), to);
    };
    if (!request.saveTimeline) {
        for (const QFileInfo& entry : old)
            if (!entry.isSymLink() && isUndoPart(entry) && !carry(entry))
                return false;
        return true;
    }
    const int level = std::max(request.undoLevel, -1);
    for (int i = 0; i <= level; ++i) {
        const QString source = UndoFolder(request.undoRoot, i);
        const QString target = UndoFolder(staging, i);
        std::cout << "copyDir: " << source.toStdString() << " -> " << UndoFolder(data, i).toStdString() << std::endl;
        if (!RemoveDir(target) || !CopyDir(source, target, true))
            return false;
        if (request.progress)
            request.progress(float(i + 1) / float(level + 1) * 0.25f + 0.75f);
    }
    int firstKept = level + 1;
    while (hadData && firstKept < kStaleCopyLimit && exists(UndoFolder(data, firstKept))) {
        std::cout << "removeDir: " << UndoFolder(data, firstKept).toStdString() << std::endl;
        ++firstKept;
    }
    for (const QFileInfo& entry : old) {
        const int index = entry.isSymLink() || !entry.isDir() ? -1 : undoCopyIndex(entry.fileName());
        if (index > firstKept && !carry(entry))
            return false;
    }
    const QString timeline = staging + QStringLiteral("/timeline.ini");
    RemoveDir(timeline);
    QFile::remove(timeline);
    QSettings ini(timeline, QSettings::IniFormat);
    ini.setValue(QStringLiteral("undolevel"), level);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

} // namespace

void SetFileOperations(IFileOperations* operations) { g_pOperations = operations ? operations : &g_plainOperations; }

bool RecoverProject(const QString& projectPath)
{
    const SAttempt a = attemptFor(projectPath);
    if (!isRealDir(a.names.folder) || !hasLeftovers(a))
        return true;
    const std::unique_ptr<QLockFile> lock = lockProject(projectPath, kOpenLockWaitMs);
    return lock && recoverLocked(projectPath);
}

SNames Names(const QString& projectPath)
{
    SNames names;
    const int slash = int(projectPath.lastIndexOf(QLatin1Char('/')));
    names.fileName = slash >= 0 ? projectPath.mid(slash + 1) : projectPath;
    names.folder = slash >= 0 ? projectPath.left(slash) : QStringLiteral(".");
    const int dot = int(names.fileName.lastIndexOf(QLatin1Char('.')));
    names.baseName = dot >= 0 ? names.fileName.left(dot) : names.fileName;
    names.dataFolder = names.folder + QLatin1Char('/') + names.baseName + QLatin1String(kDataSuffix);
    return names;
}

QString WithProjectSuffix(const QString& path)
{
    return path.endsWith(QLatin1String(kProjectSuffix)) ? path : path + QLatin1String(kProjectSuffix);
}

bool RemoveDir(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFile::remove(path); // the link goes, never what it points at
    if (!info.exists())
        return true;
    if (!info.isDir())
        return false;
    QDir dir(path);
    const QFileInfoList entries = dir.entryInfoList(
        QDir::NoDotAndDotDot | QDir::System | QDir::Hidden | QDir::AllDirs | QDir::Files, QDir::DirsFirst);
    for (const QFileInfo& entry : entries) {
        const bool removed = (entry.isDir() && !entry.isSymLink()) ? RemoveDir(entry.absoluteFilePath())
                                                                   : QFile::remove(entry.absoluteFilePath());
        if (!removed)
            return false;
    }
    return QDir().rmdir(path);
}

bool CopyDir(const QString& source, const QString& target, bool overwrite)
{
    const QFileInfo info(source);
    if (!info.isDir() || info.isSymLink())
        return false;
    bool error = !QDir().mkpath(target);
    QDir dir(source);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::NoDotAndDotDot | QDir::AllDirs | QDir::Hidden)) {
        if (!entry.isDir() || entry.isSymLink())
            continue;
        const QString to = target + QLatin1Char('/') + entry.fileName();
        if (!QDir().mkpath(to) || !CopyDir(entry.absoluteFilePath(), to, overwrite))
            error = true;
    }
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        if (entry.isSymLink() || !entry.isFile())
            continue;
        const QString to = target + QLatin1Char('/') + dir.relativeFilePath(entry.absoluteFilePath());
        if (overwrite && (QFileInfo::exists(to) || QFileInfo(to).isSymLink()))
            QFile::remove(to);
        if (!QFile::copy(entry.absoluteFilePath(), to))
            error = true;
    }
    return !error;
}

ESaveResult SaveProject(const SSaveRequest& request, QString* failedPath)
{
    const SNames names = Names(request.projectPath);
    auto fail = [&](ESaveResult result, const QString& what) {
        if (failedPath)
            *failedPath = what;
        return result;
    };

    // The folders on the way are made, as the writability check of a
    // settings file makes them.
    QDir().mkpath(names.folder);
    const QFileInfo folderInfo(names.folder);
    const QFileInfo projectInfo(request.projectPath);
    if (!folderInfo.isDir() || !folderInfo.isWritable() || projectInfo.isDir() ||
        (projectInfo.exists() && !projectInfo.isWritable()))
        return fail(ESaveResult::ProjectNotWritable, request.projectPath);

    // One save of a project at a time; what an interrupted one left is
    // finished or undone first.
    const std::unique_ptr<QLockFile> lock = lockProject(request.projectPath, kSaveLockWaitMs);
    if (!lock)
        return fail(ESaveResult::ProjectNotWritable, request.projectPath);
    if (!recoverLocked(request.projectPath))
        return fail(ESaveResult::PartFailed, request.projectPath);

    const QString data = names.dataFolder;
    const bool hadData = exists(data);
    if (hadData && !isRealDir(data))
        return fail(ESaveResult::DataFolderFailed, names.folder);

    SAttempt a = attemptFor(request.projectPath);
    for (const SBesideFile& file : request.besideFiles)
        if (!isBesideName(a, file.name) || !file.write)
            return fail(ESaveResult::PartFailed, request.projectPath);
    while (exists(a.Staging()) || exists(a.Backup()) || exists(a.Temporary(names.fileName)))
        ++a.token;

    // The new data folder: copies of the old data files for the participants.
    const QString staging = a.Staging();
    if (!ops().MakeDir(staging))
        return fail(ESaveResult::DataFolderFailed, names.folder);
    if (hadData)
        QFile::setPermissions(staging, QFileInfo(data).permissions());
    QStringList temporaries;
    auto discard = [&]() {
        ops().RemoveTree(staging);
        for (const QString& path : temporaries)
            if (exists(path))
                ops().RemoveFile(path);
    };
    std::vector<SCopiedFile> copies;
    if (hadData) {
        for (const QFileInfo& entry : entriesOf(data)) {
            if (entry.isSymLink() || isUndoPart(entry))
                continue;
            const QString to = staging + QLatin1Char('/') + entry.fileName();
            const bool copied = entry.isDir()
                                    ? ops().MakeDir(to) && copyTree(entry.absoluteFilePath(), to, copies)
                                    : !entry.isFile() || copyForParticipants(entry.absoluteFilePath(), to, copies);
            if (!copied) {
                discard();
                return fail(ESaveResult::PartFailed, request.projectPath);
            }
        }
    }

    // The project file: a new one gets the mode new files get (as the data
    // files do), an existing one keeps its own.
    const QString iniPath = a.Temporary(names.fileName);
    if (!createFile(iniPath, projectInfo.exists() ? modeOf(request.projectPath) : -1)) {
        discard();
        return fail(ESaveResult::ProjectNotWritable, request.projectPath);
    }
    temporaries << iniPath;
    bool good = true;
    {
        QSettings settings(iniPath, QSettings::IniFormat);
        settings.clear();
        settings.setValue(QStringLiteral("Version"), kVersion);
        settings.setValue(QStringLiteral("PostProcessing"), request.postProcessing);
        settings.setValue(QStringLiteral("SaveMode"), request.saveMode);
        if (request.participants)
            good = request.participants(settings, staging);
        settings.sync();
        good = good && settings.status() == QSettings::NoError;
    }
    good = good && relinkUntouchedCopies(copies) && carryUndoCopies(request, data, hadData, staging);

    // The files beside the project file.
    SRecord record;
    record.token = a.token;
    record.files << names.fileName;
    for (const SBesideFile& file : request.besideFiles) {
        if (!good)
            break;
        const QString path = a.Temporary(file.name);
        temporaries << path;
        if (file.write(path) && QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) {
            record.files << file.name;
        } else {
            if (exists(path))
                good = ops().RemoveFile(path);
            record.removed << file.name;
        }
    }
    if (!good) {
        discard();
        return fail(ESaveResult::PartFailed, request.projectPath);
    }

    // The commit record, written when everything new is on the disk, makes
    // the new version the project.
    syncTree(staging);
    for (const QString& path : temporaries)
        if (exists(path))
            syncPath(path);
    temporaries << a.RecordTemporary();
    if (!writeRecord(a, record) || !ops().Rename(a.RecordTemporary(), a.Record())) {
        discard();
        return fail(ESaveResult::PartFailed, request.projectPath);
    }
    syncPath(names.folder);

    // The data folders change places first; as long as that can be undone a
    // failure gives the old version back.
    auto withdraw = [&]() {
        if (ops().RemoveFile(a.Record()))
            discard(); // else the next opening completes the new version
        return fail(ESaveResult::PartFailed, request.projectPath);
    };
    if (hadData && !ops().Rename(data, a.Backup()))
        return withdraw();
    if (!ops().Rename(staging, data)) {
        if (!hadData || ops().Rename(a.Backup(), data))
            return withdraw();
        return fail(ESaveResult::PartFailed, request.projectPath);
    }
    if (!rollForward(a, record))
        return fail(ESaveResult::PartFailed, request.projectPath);
    return ESaveResult::Saved;
}

bool ProjectComplete(const QString& projectPath)
{
    const SNames names = Names(projectPath);
    return QFileInfo(projectPath).isFile() && QFileInfo(names.dataFolder).isDir();
}

int ReadVersion(const QSettings& settings)
{
    if (settings.status() != QSettings::NoError)
        return 0;
    bool ok = false;
    const int version = settings.value(QStringLiteral("Version"), 0).toInt(&ok);
    return ok ? version : 0;
}

int ReadSaveMode(const QSettings& settings)
{
    if (!settings.contains(QStringLiteral("SaveMode")))
        return kDefaultLoadMode;
    bool ok = false;
    const int mode = settings.value(QStringLiteral("SaveMode")).toInt(&ok);
    return (ok && mode >= 0 && mode <= 15) ? mode : kDefaultLoadMode;
}

int RecoverableUndoLevel(const QString& dataFolder)
{
    const QString path = dataFolder + QStringLiteral("/timeline.ini");
    if (!QFileInfo(path).isFile())
        return -2;
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return -1;
    bool ok = false;
    const int wanted = ini.value(QStringLiteral("undolevel"), 0).toInt(&ok);
    if (!ok || wanted < 0)
        return -1;
    int last = -1;
    while (last < wanted && QFileInfo(UndoFolder(dataFolder, last + 1)).isDir())
        ++last;
    return last;
}

QString UndoFolder(const QString& root, int index)
{
    QString base = root;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + QString::asprintf("temp%d", index);
}

bool IsUndoFolderName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^temp\\d+(\\.deleted\\d+)?$"));
    return pattern.match(name).hasMatch();
}

QString MovedAsideName(const QString& root, int index) { return freeName(UndoFolder(root, index), ".deleted"); }

QString UndoTimeText()
{
    return QTime::currentTime().toString(Qt::TextDate) + QStringLiteral(" - ") +
           QDate::currentDate().toString(Qt::TextDate);
}

// ---- undo root ------------------------------------------------------------------------

CUndoRoot::CUndoRoot(const QString& settingsFolder)
{
    QString base = settingsFolder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    QDir().mkpath(base);
    for (int n = 0; n < 1000; ++n) {
        auto lock = std::make_unique<QLockFile>(base + QString::asprintf("undo%d.lock", n));
        // Only a lock whose owner has died counts as stale; a live owner's
        // lock is never taken, however old.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_pLock = std::move(lock);
            m_iNumber = n;
            m_sRoot = n == 0 ? base : base + QString::asprintf("undo%d/", n);
            QDir().mkpath(m_sRoot);
            return;
        }
    }
    // No lock to be had (a read-only folder): work in the settings folder.
    m_sRoot = base;
}

CUndoRoot::~CUndoRoot() = default;

// ---- undo pictures ----------------------------------------------------------------------

bool FitSize(int w, int h, int canvasW, int canvasH, int* outW, int* outH)
{
    if (w < 1 || h < 1 || canvasW < 1 || canvasH < 1)
        return false;
    float a = float(w);
    float b = float(h);
    const float W = float(canvasW);
    const float H = float(canvasH);
    while (a > W || b > H) {
        a = a * 0.9999f;
        b = b * 0.9999f;
    }
    *outW = std::clamp(int(std::floor(a + 0.5f)), 1, canvasW);
    *outH = std::clamp(int(std::floor(b + 0.5f)), 1, canvasH);
    return true;
}

void FillCanvas(uint16_t* canvas, int w, int h, unsigned int rgb)
{
    const uint16_t r = uint16_t(((rgb >> 16) & 0xffu) * 256u);
    const uint16_t g = uint16_t(((rgb >> 8) & 0xffu) * 256u);
    const uint16_t b = uint16_t((rgb & 0xffu) * 256u);
    const size_t n = size_t(w) * size_t(h);
    for (size_t i = 0; i < n; ++i) {
        canvas[i * 3] = r;
        canvas[i * 3 + 1] = g;
        canvas[i * 3 + 2] = b;
    }
}

void PlaceCentred(uint16_t* canvas, int w, int h, const uint16_t* picture, int sw, int sh)
{
    if (sw > w || sh > h || sw < 1 || sh < 1)
        return;
    const int x0 = (w - sw) / 2;
    const int y0 = (h - sh) / 2;
    for (int y = 0; y < sh; ++y)
        std::memcpy(canvas + (size_t(y0 + y) * size_t(w) + size_t(x0)) * 3, picture + size_t(y) * size_t(sw) * 3,
                    size_t(sw) * 6);
}

EUndoPictures MakeUndoPictures(const uint16_t* result, int w, int h, int canvasW, int canvasH,
                               unsigned int background, SUndoPictures& out)
{
    out = SUndoPictures();
    int sw = 0, sh = 0;
    if (!result || !FitSize(w, h, canvasW, canvasH, &sw, &sh))
        return EUndoPictures::NoPicture;
    std::unique_ptr<uint16_t[]> scaled(new (std::nothrow) uint16_t[size_t(sw) * size_t(sh) * 3]);
    std::unique_ptr<uint16_t[]> canvas(new (std::nothrow) uint16_t[size_t(canvasW) * size_t(canvasH) * 3]);
    std::unique_ptr<uint16_t[]> thumbnail(new (std::nothrow) uint16_t[size_t(kThumbBytes / 2)]);
    if (!scaled || !canvas || !thumbnail)
        return EUndoPictures::OutOfMemory;
    CEngineGuard guard;
    MP_MT_zoomPreviewPicture(result, scaled.get(), 0, 0, 0, 0, float(sw), float(sh), float(sw), float(w), float(h),
                             0.0f, 0.0f, float(w), float(h));
    FillCanvas(canvas.get(), canvasW, canvasH, background);
    PlaceCentred(canvas.get(), canvasW, canvasH, scaled.get(), sw, sh);
    MP_MT_zoomPreviewPicture(canvas.get(), thumbnail.get(), 0, 0, 0, 0, float(kThumbWidth), float(kThumbHeight),
                             float(kThumbWidth), float(canvasW), float(canvasH), 0.0f, 0.0f, float(canvasW),
                             float(canvasH));
    out.canvas = std::move(canvas);
    out.thumbnail = std::move(thumbnail);
    return EUndoPictures::Done;
}

void ReadThumbnail(const QString& path, uint16_t* buffer)
{
    std::memset(buffer, 0, size_t(kThumbBytes));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        file.read(reinterpret_cast<char*>(buffer), kThumbBytes);
}

bool WriteThumbnail(const QString& path, const uint16_t* buffer)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(reinterpret_cast<const char*>(buffer), kThumbBytes) == kThumbBytes && file.flush();
}

} // namespace ProjectFiles
