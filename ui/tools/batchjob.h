#pragma once
// The widget-free part of batch processing: the folder scan and its extension
// filter, the output names, the progress and remaining-time texts, and the
// job runner that turns each series (a list of files) into a written result:
// full-size load, HDR stage, post-processing chain, save.
//
// The batch window snapshots everything the run needs on the GUI thread
// (SBatchRunSettings, one SBatchJob per series box) and hands it to the runner
// on its worker thread; the runner reads no widget.

#include "document/imageloader.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class CExposureSeries;
class CPostProcessing;

namespace BatchFiles {

// The 45 accepted extensions, in their order (with the leading dot).
const QStringList& AcceptedExtensions();
// True when the path ends with an accepted extension (letter case ignored).
bool IsAcceptedImage(const QString& path);
// a.toLower() < b.toLower(), by character code.
bool caseInsensitiveLessThan(const QString& a, const QString& b);

struct SScanResult {
    QStringList files; // full paths, accepted ones, in load order
    int iBefore = 0;   // entries before the extension filter
    bool bCancelled = false;
};
// Lists a folder (with subfolders when recursive) and keeps the accepted
// images. Writes the three log lines to standard output.
SScanResult ScanFolder(const QString& folder, bool recursive);

// The title of a series from its first file name: base and extension joined
// by an underscore ("IMG_0042.JPG" -> "IMG_0042_JPG"; "scan" -> "scan_scan").
QString TitleFromFileName(const QString& fileName);

// Lists a folder like ScanFolder; `cancelled` is asked before each entry and
// a true answer ends the walk at once (`bCancelled`, no files, no count lines).
struct SScanControl {
    std::function<bool()> cancelled;
};
SScanResult ScanFolder(const QString& folder, bool recursive, const SScanControl& control);

// folder/title+ext, or folder/title_k+ext with the first k = 0, 1, ... whose
// file does not exist: an existing file is never chosen.
QString OutputPath(const QString& folder, const QString& title, const QString& extension);

// Progress bar values (single precision, truncated).
int LoadProgress(int maximum, unsigned loaded, unsigned threads);
int PreviewProgress(int maximum, unsigned index, unsigned boxes);

// The notice after a series: "d/c abgeschlossen" with the remaining time
// estimated from the mean time of the series done so far.
QString SeriesDoneText(unsigned done, unsigned checked, double totalMs);

} // namespace BatchFiles

// One series box as the run sees it.
struct SBatchJob {
    quint32 uiBox = 0;           // index of the box in the window's list
    bool bChecked = false;       // process this series
    QString strTitle;            // output base name
    QVector<SExposure> vecFiles; // remembered files (path only)
};

// The dialog's and docks' state at the start of the run.
struct SBatchRunSettings {
    QString strTargetFolder;
    QString strExtension; // ".jpg", ...
    QString strKernelName;
    std::vector<float> vecParameterValues = std::vector<float>(10 * 256, 0.0f);
    // A private copy of the chosen preset tile's chain (null: no chain; every
    // series then ends without a result).
    std::shared_ptr<CPostProcessing> pChain;
    // Overlapped run: the next series' files are decoded and the previous
    // result is encoded and written while the engine works on the current
    // series. false: one series after the other, from its decode to its file.
    // The files, their names and the progress lines are the same either way.
    bool bOverlapped = true;
    // The HDR stage's preview-size pass before the full-size one; the run
    // never uses its image (kept selectable for comparison).
    bool bHDRPreviewPass = false;
};

// Where the runner reports; the batch window forwards to the progress window
// and to its list.
class IBatchRunReporter {
public:
    virtual ~IBatchRunReporter() = default;
    // A progress-window line in category 11 (type 0 normal, 1 notice, 2 error).
    virtual void Message(const QString& text, unsigned type) = 0;
    virtual void Fraction(float fraction) = 0;
    // The run is done with box i (checked or not): the window hides it.
    virtual void BoxDone(quint32 box) = 0;
    // The time in milliseconds (the engine's clock; tests record one).
    virtual double Now();
};

class CBatchRunner {
public:
    CBatchRunner(const SBatchRunSettings& settings, IBatchRunReporter& reporter, const std::atomic<bool>& cancel);

    // Runs every checked job, newest first (jobs are in list order). Returns
    // the number of files written.
    int Run(const QVector<SBatchJob>& jobs);

    // One series at full size: a fresh series (not the document's) from the
    // job's files, its HDR image, the chain. The result is the chains' shared
    // full-size buffer, or null (nothing loadable, out of memory, no chain);
    // `series` holds the series (for size and master file) until the caller
    // drops it.
    unsigned short* CalculateResult(const SBatchJob& job, std::unique_ptr<CExposureSeries>& series);

    // The full paths of the written files, in the order they were written.
    QStringList m_lstWritten;

private:
    int RunOneAtATime(const QVector<SBatchJob>& jobs);
    int RunOverlapped(const QVector<SBatchJob>& jobs);
    // The engine part of a series: `load` fills the fresh series, `beforeChain`
    // runs before the chain overwrites its shared full-size buffer.
    unsigned short* ComputeSeries(const SBatchJob& job, std::unique_ptr<CExposureSeries>& series,
                                  const std::function<void(const QString&, unsigned)>& message,
                                  const std::function<void(CExposureSeries&)>& load,
                                  const std::function<void()>& beforeChain);

    const SBatchRunSettings& m_Settings;
    IBatchRunReporter& m_Reporter;
    const std::atomic<bool>& m_bCancel;
};
