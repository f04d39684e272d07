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
#include <QTemporaryFile>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>

#include <unistd.h>

namespace ProjectFiles {

namespace {

// Fills target (a new, empty folder) with hard links of source's regular
// files, copies where a link cannot be made, and real sub-folders alike.
bool linkTree(const QString& source, const QString& target)
{
    QDir dir(source);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::NoDotAndDotDot | QDir::AllDirs | QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink())
            continue;
        const QString to = target + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            if (!QDir().mkdir(to) || !linkTree(entry.absoluteFilePath(), to))
                return false;
        } else if (entry.isFile()) {
            if (::link(QFile::encodeName(entry.absoluteFilePath()).constData(), QFile::encodeName(to).constData()) !=
                    0 &&
                !QFile::copy(entry.absoluteFilePath(), to))
                return false;
        }
    }
    return true;
}

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

bool renamePath(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

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

    const QString data = names.dataFolder;
    const QFileInfo dataInfo(data);
    const bool hadData = dataInfo.exists() || dataInfo.isSymLink();
    if (hadData && (dataInfo.isSymLink() || !dataInfo.isDir()))
        return fail(ESaveResult::DataFolderFailed, names.folder);

    // The new data folder, filled with the old files first.
    const QString staging = freeName(data, ".saving");
    if (staging.isEmpty() || !QDir().mkdir(staging))
        return fail(ESaveResult::DataFolderFailed, names.folder);
    if (hadData)
        QFile::setPermissions(staging, QFileInfo(data).permissions());
    auto discard = [&](const QString& ini) {
        RemoveDir(staging);
        if (!ini.isEmpty())
            QFile::remove(ini);
    };
    if (hadData && !linkTree(data, staging)) {
        discard(QString());
        return fail(ESaveResult::PartFailed, request.projectPath);
    }

    // The project file goes to a temporary file beside it.
    QString iniPath;
    {
        QTemporaryFile temporary(request.projectPath + QStringLiteral(".saving-XXXXXX"));
        temporary.setAutoRemove(false);
        if (!temporary.open()) {
            discard(QString());
            return fail(ESaveResult::ProjectNotWritable, request.projectPath);
        }
        iniPath = temporary.fileName();
    }
    if (projectInfo.exists())
        QFile::setPermissions(iniPath, projectInfo.permissions());

    bool good = true;
    {
        QSettings settings(iniPath, QSettings::IniFormat);
        settings.clear();
        settings.setValue(QStringLiteral("Version"), kVersion);
        settings.setValue(QStringLiteral("PostProcessing"), request.postProcessing);
        settings.setValue(QStringLiteral("SaveMode"), request.saveMode);
        if (request.participants)
            good = request.participants(settings, staging);
        if (good && request.saveTimeline) {
            const int level = std::max(request.undoLevel, -1);
            for (int i = 0; i <= level && good; ++i) {
                const QString source = UndoFolder(request.undoRoot, i);
                const QString target = UndoFolder(staging, i);
                std::cout << "copyDir: " << source.toStdString() << " -> "
                          << UndoFolder(data, i).toStdString() << std::endl;
                good = RemoveDir(target) && CopyDir(source, target, true);
                if (request.progress)
                    request.progress(float(i + 1) / float(level + 1) * 0.25f + 0.75f);
            }
            for (int j = level + 1; good && j < kStaleCopyLimit; ++j) {
                const QString stale = UndoFolder(staging, j);
                if (!QFileInfo::exists(stale))
                    break;
                std::cout << "removeDir: " << UndoFolder(data, j).toStdString() << std::endl;
                good = RemoveDir(stale);
            }
            if (good) {
                const QString timeline = staging + QStringLiteral("/timeline.ini");
                QFile::remove(timeline); // a link to the old file is replaced, not written through
                QSettings ini(timeline, QSettings::IniFormat);
                ini.setValue(QStringLiteral("undolevel"), level);
                ini.sync();
                good = ini.status() == QSettings::NoError;
            }
        }
        settings.sync();
        good = good && settings.status() == QSettings::NoError;
    }
    if (!good) {
        discard(iniPath);
        return fail(ESaveResult::PartFailed, request.projectPath);
    }

    // Commit: the old data folder aside, the new one in, the file over the old.
    QString backup;
    if (hadData) {
        backup = freeName(data, ".old");
        if (backup.isEmpty() || !renamePath(data, backup)) {
            discard(iniPath);
            return fail(ESaveResult::PartFailed, request.projectPath);
        }
    }
    if (!renamePath(staging, data)) {
        if (hadData)
            renamePath(backup, data);
        discard(iniPath);
        return fail(ESaveResult::PartFailed, request.projectPath);
    }
    if (!renamePath(iniPath, request.projectPath)) {
        renamePath(data, staging);
        if (hadData)
            renamePath(backup, data);
        discard(iniPath);
        return fail(ESaveResult::PartFailed, request.projectPath);
    }
    if (hadData)
        RemoveDir(backup);
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
