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
};

enum class ESaveResult { Saved, ProjectNotWritable, DataFolderFailed, PartFailed };

// Writes the project file to a temporary file beside it and the data files
// into a fresh folder beside the data folder (hard links of the old files,
// copies where links fail); both replace the old ones only when every part
// succeeded. On any failure the old files are left byte-identical and nothing
// of the attempt stays behind. *failedPath names what failed (project file
// or its folder).
ESaveResult SaveProject(const SSaveRequest& request, QString* failedPath = nullptr);

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
