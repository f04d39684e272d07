#pragma once
// The "save result" command: crop and caption (post-processing stage), the
// save dialog, the folder and format memory, the preview question, the count
// and the write. It runs over the export host, which the main window
// implements and tests fake; the dialog, the crop window and the message
// boxes go through _gui::ExecModal.

#include "ui/editors/cropdata.h"
#include "ui/mainwindow/resultimagewriter.h"
#include "ui/mainwindow/mainwindowseams.h"

#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

// The crop and caption window (CCropWindow). It keeps its selection and
// caption from one save to the next; its DrawText paints the caption of the
// written file, so preview and file agree.
class IResultCropWindow : public ICropCaptionPainter {
public:
    virtual SCropResult Show() = 0;
    // Back to the whole image and no caption (a new project, a new geometry).
    virtual void Reset() = 0;
};

// What the save flow (and later the hand-off and printing) needs of the main window.
class IResultExportHost {
public:
    virtual ~IResultExportHost() = default;
    virtual QWidget* DialogParent() = 0;
    // The post-processing dock is visible (the crop window comes first).
    virtual bool IsPostProcessingStage() const = 0;
    // The exposure-series dock is visible (the write re-fuses floats).
    virtual bool IsHDRStage() const = 0;
    // The current result of the stage with its size; null and 0 x 0 when
    // buffer and size differ.
    virtual const unsigned short* GetActualResultBuffer(int* width, int* height) = 0;
    virtual bool IsPreviewMode() const = 0;
    virtual float PreviewScalingFactor() const = 0;
    // Toggles the image preview's preview-mode button (recomputes before returning).
    virtual void TogglePreviewMode() = 0;
    virtual IResultCropWindow* CropWindow() = 0;  // null: no crop stage
    virtual QString GetPath(int index) const = 0; // the options' folders (3: results)
    virtual QString MasterPath() const = 0;
    virtual QString GetMergedFilename(int quality) const = 0;
    virtual IUsageCounters* UsageCounter() = 0;   // HDRStatistic; null counts nothing
    // The series, sigmoid, size mode and caption painter of the write.
    virtual SResultWriterContext WriterContext() { return SResultWriterContext(); }
};

class CResultSaveFlow {
public:
    // The write, inside the progress guard by default.
    using WriteFn = std::function<bool(const QString& path, const uint16_t* rgb48, int quality, bool floatFromSeries,
                                       int width, int height, const QString& masterFile, const SCropData* crop)>;

    explicit CResultSaveFlow(IResultExportHost& host, QString iniPath = QString());
    void SetWriter(WriteFn writer) { m_Writer = std::move(writer); }

    // True only when a file was committed.
    bool saveResultImage(QString path = QString(), bool sendTo = false);

    // The dialog's filter list (the five 8- and 16-bit formats).
    static QString ResultFileFilter();

private:
    bool AskForPath(QString& path, SCropResult& crop);
    void WarnUnknownTail(const QString& path);
    // False when the user keeps a file the write would replace unasked.
    bool MayReplaceTarget(const QString& path);

    IResultExportHost& m_Host;
    QString m_strIniPath;
    WriteFn m_Writer;
};
