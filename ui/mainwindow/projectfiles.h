#pragma once
// Project files and undo folders without a window: the names derived from a
// project path, the folder helpers, the all-or-nothing save of a project file
// with its data folder, the checks of a project being opened, the undo root
// of this instance and the picture arithmetic of an undo point. The main
// window forwards to these; tests drive them with fake participants.

#include <QLockFile>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QSettings;

namespace ProjectFiles {

inline constexpr const char* kProjectSuffix = ".lumivexProject";
inline constexpr const char* kDataSuffix = ".lumivexdata";
inline constexpr int kVersion = 300;
// The pre-coding of projects and undo points: byte planes, lossless.
inline constexpr int kSaveMode = 1;
// The pre-coding of a project file without a "SaveMode" key.
inline constexpr int kDefaultLoadMode = 3;
// Index of the first stale undo copy never looked at.
inline constexpr int kStaleCopyLimit = 50000;

// The names derived from a project path (case-sensitive string operations).
struct SNames {
    QString fileName;   // after the last "/"
    QString baseName;   // the file name up to its last "."; all of it without a "."
    QString folder;     // before the last "/"
    QString dataFolder; // folder + "/" + base name + ".lumivexdata"
};
SNames Names(const QString& projectPath);
// path + ".lumivexProject" unless it already ends so (case-sensitive).
QString WithProjectSuffix(const QString& path);

// Removes a folder with everything in it; true when nothing is left at path
// (also when nothing was there). A link is removed itself, never followed.
bool RemoveDir(const QString& path);
// Copies the regular files and real folders of source into target (made as
// needed); links are skipped. False when source is no folder (nothing made)
// or any copy failed (the rest is still copied).
bool CopyDir(const QString& source, const QString& target, bool overwrite);

// The file operations of a save and of its recovery. Tests replace them to
// fail or stop a save at any step; the plain ones act on the file system.
class IFileOperations {
public:
    virtual ~IFileOperations() = default;
    // rename(2): replaces a file at to; a folder only when to is missing.
    virtual bool Rename(const QString& from, const QString& to);
    // A hard link to at from's file.
    virtual bool Link(const QString& from, const QString& to);
    // A copy of a file (to must not exist).
    virtual bool Copy(const QString& from, const QString& to);
    virtual bool MakeDir(const QString& path);
    virtual bool RemoveFile(const QString& path);
    // RemoveDir.
    virtual bool RemoveTree(const QString& path);
};
// Puts operations in place of the plain ones (null: the plain ones again).
void SetFileOperations(IFileOperations* operations);

// A file written beside the project file in the same commit (the pictures of
// an undo point): write gets a fresh path to write to and returns false when
// the file has no content this time, which removes an earlier one.
struct SBesideFile {
    QString name; // a plain file name in the project's folder
    std::function<bool(const QString& path)> write;
};

// What a save writes beside the participants' part.
struct SSaveRequest {
    QString projectPath;
    bool postProcessing = false;
    int saveMode = kSaveMode;
    // Copies of the undo folders 0..undoLevel of undoRoot and "timeline.ini".
    bool saveTimeline = false;
    int undoLevel = -1;
    QString undoRoot; // with trailing "/"
    // The participants (IProject::Save): settings and the folder they write to.
    std::function<bool(QSettings&, const QString&)> participants;
    // Progress 0..1 of the save.
    std::function<void(float)> progress;
    // Files beside the project file replaced in the same commit.
    std::vector<SBesideFile> besideFiles;
};

enum class ESaveResult { Saved, ProjectNotWritable, DataFolderFailed, PartFailed };

// Writes the project file, the data folder and the beside files as one
// commit. Everything new is staged first: the project file and the beside
// files as temporary files "<project file>.saving<N>[-<name>]", the data
// folder as "<data folder>.saving<N>" (the participants see copies of the
// old data files, never the old files themselves; the undo copies are linked
// in after them). A commit record "<project file>.commit", written last,
// makes the new version the project; the renames that follow are repeated
// by RecoverProject when a save stops half-way. Before the record the old
// version stays whole and a failed save leaves it byte-identical. The save
// runs under the lock file "<project file>.lock". *failedPath names what
// failed (project file or its folder).
ESaveResult SaveProject(const SSaveRequest& request, QString* failedPath = nullptr);

// Finishes or undoes a save of this project that stopped half-way (killed
// or failed): with a commit record the new version is completed, without
// one the leftovers of the attempt are removed (a data folder moved aside
// by an earlier program version comes back). False when the project is
// locked by a running save or the folder cannot be changed; the files are
// then left as they are.
bool RecoverProject(const QString& projectPath);

// Whether a project file and its data folder are both there.
bool ProjectComplete(const QString& projectPath);
// The "Version" of an opened project file; 0 when missing or the file could
// not be read as INI.
int ReadVersion(const QSettings& settings);
// "SaveMode", kDefaultLoadMode when missing or out of range.
int ReadSaveMode(const QSettings& settings);
// The undo level a data folder's "timeline.ini" gives, limited to the last
// index k whose copies 0..k are all present; -1 for none; -2 when the data
// folder has no "timeline.ini".
int RecoverableUndoLevel(const QString& dataFolder);
// "temp%d" of a folder (no trailing "/").
QString UndoFolder(const QString& root, int index);
// Whether clearUndo may remove a folder of this name: "temp" + digits, or a
// folder that a deletion moved aside.
bool IsUndoFolderName(const QString& name);
// The name a deleted undo folder is moved to before it is removed.
QString MovedAsideName(const QString& root, int index);
// The creation text of an undo point: time + " - " + date.
QString UndoTimeText();

// The undo root of this instance: the lowest n whose lock file "undo%d.lock"
// in the settings folder this process holds; the settings folder itself for
// n = 0, else its sub-folder "undo%d/". A lock whose owner is alive is never
// taken; a dead owner's lock is taken with its folders.
class CUndoRoot {
public:
    explicit CUndoRoot(const QString& settingsFolder);
    ~CUndoRoot();
    QString Root() const { return m_sRoot; }
    int Number() const { return m_iNumber; }

private:
    std::unique_ptr<QLockFile> m_pLock;
    QString m_sRoot;
    int m_iNumber = -1;
};

// ---- undo pictures -------------------------------------------------------------
inline constexpr int kThumbWidth = 160;
inline constexpr int kThumbHeight = 120;
inline constexpr qint64 kThumbBytes = qint64(kThumbWidth) * kThumbHeight * 6; // 115,200

// The size a w x h result takes inside a W x H canvas: shrunk by 0.9999 steps
// in single precision until it fits, never enlarged. False (no picture) for
// an empty result or canvas.
bool FitSize(int w, int h, int canvasW, int canvasH, int* outW, int* outH);
// Fills an RGB48 canvas with a 0xRRGGBB colour (each 16-bit sample the 8-bit
// channel times 256).
void FillCanvas(uint16_t* canvas, int w, int h, unsigned int rgb);
// Copies an sw x sh RGB48 picture into the canvas centred.
void PlaceCentred(uint16_t* canvas, int w, int h, const uint16_t* picture, int sw, int sh);
// The pictures of an undo point from a w x h RGB48 result: the canvas
// (canvasW x canvasH, background colour 0xRRGGBB, the result scaled into its
// centre) and the 160 x 120 thumbnail of the whole canvas.
enum class EUndoPictures { Done, NoPicture, OutOfMemory };
struct SUndoPictures {
    std::unique_ptr<uint16_t[]> canvas;
    std::unique_ptr<uint16_t[]> thumbnail;
};
EUndoPictures MakeUndoPictures(const uint16_t* result, int w, int h, int canvasW, int canvasH,
                               unsigned int background, SUndoPictures& out);
// Reads a thumbnail file into the buffer (kThumbBytes); the buffer is zeroed
// first, so a missing or short file gives black where it has no data.
void ReadThumbnail(const QString& path, uint16_t* buffer);
// Writes the thumbnail; false when the file could not be written.
bool WriteThumbnail(const QString& path, const uint16_t* buffer);

} // namespace ProjectFiles
