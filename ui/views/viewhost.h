#pragma once

#include <QString>
// What the image views need of the main window, which implements it (tests
// install a fake): the current buffers, the stage, the options dialog's
// gamma-view switch, the document's facts and operations the preview shows
// and calls, the change marking, usage counting and the main window's slots
// the preview's buttons reach first. Buffers are RGB16 at the working size, null and 0 x 0
// without a document; callers copy what they keep.

class IViewHost {
public:
    virtual ~IViewHost() = default;

    // The post-processing result in the post-processing stage, else the HDR result.
    virtual const unsigned short* GetActualResultBuffer(int* width, int* height) = 0;
    virtual const unsigned short* GetActualHDRBuffer(int* width, int* height) = 0;
    virtual const unsigned short* GetActualPPBuffer(int* width, int* height) = 0;
    virtual const unsigned short* GetActualMasterBuffer(int* width, int* height) = 0;
    // True in the HDR stage (the exposure-series dock is visible).
    virtual bool IsHDRStage() const = 0;
    // The options dialog's "gamma/view" check box.
    virtual bool IsGammaViewChecked() const = 0;

    // What the preview's status bar shows of the document.
    struct SDocumentInfo {
        bool exists = false;         // a document is open
        int exposures = 0;           // its exposure count
        int fullWidth = 0, fullHeight = 0;
        int previewWidth = 0, previewHeight = 0;
        bool hasMaster = false;      // projects may set none
        QString masterFileName;
        int iso = -1;                // below 0: unknown
        QString cameraModel;
    };
    virtual SDocumentInfo DocumentInfo() const = 0;
    // The document's orientation operations (called only with an exposure).
    enum EOrientation { eMIRROR = 0, eFLIP = 1, eROTATE_LEFT = 2, eROTATE_RIGHT = 3 };
    virtual void ChangeOrientation(EOrientation operation) = 0;
    // The change marking: save action enabled, change counter, timeline, title.
    virtual void MarkChanged() = 0;
    // Counts a user action when the statistics object exists.
    virtual void CountUsage(const char* key, int delta) = 0;
    // The main window's slots, reached before the preview's own.
    virtual void PreviewModeToggled(bool on) = 0;
    virtual void RealTimeModeToggled(bool on) = 0;
    virtual void RefreshClicked() = 0;
    virtual void WeightDrawQuit() = 0;
};

namespace ViewSeams {
// The host of the views; null until the main window sets itself (the views
// then show nothing).
void SetHost(IViewHost* host);
IViewHost* Host();
} // namespace ViewSeams
