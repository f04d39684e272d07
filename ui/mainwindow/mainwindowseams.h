#pragma once
// The windows of the main window's workflow that other parts of the program
// build: the main window reaches each through the narrow interface below,
// made by its window factory. A window that is not built yet is null and
// every call on it is skipped.

#include <QSize>
#include <QString>

class CExposureSeries;
class CPostProcessing;
class QDockWidget;

// A preset tile of the presets dock (HDRPresetGroupBox).
class IPresetTile {
public:
    virtual ~IPresetTile() = default;
    // The size of the tile's thumbnail label.
    virtual QSize LabelSize() const = 0;
    // Shows the chain's thumbnail result in the label.
    virtual void UpdateLabelPixmap() = 0;
    virtual void SetCalculated(bool calculated) = 0;
    // The reset and save buttons (the preset shows as modified).
    virtual void EnableModifiedButtons() = 0;
};

// The presets dock (HDRPresetsDockWidget).
class IPresetsDock {
public:
    virtual ~IPresetsDock() = default;
    virtual QDockWidget* Dock() = 0;
    // The incremental thumbnail timer.
    virtual void StopPreviewTimer() = 0;
    virtual void StartPreviewTimer(int milliseconds) = 0;
    // Recomputes every thumbnail; with reapply the selected tile is applied again.
    virtual void CreateAllPreviews(bool reapply) = 0;
    virtual void resetCalculatedStates() = 0;
    virtual IPresetTile* GetSelectedPresetGroupBox() = 0;
    virtual void resetLabelHighlights() = 0;
};

// The post-processing dock (HDRPostProcessingDockWidget).
class IPostProcessingDock {
public:
    virtual ~IPostProcessingDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void SetCurrentPostProcessing(CPostProcessing* chain) = 0;
};

// The HDR operator dock (HDROperatorDockWidget).
class IHDROperatorDock {
public:
    virtual ~IHDROperatorDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual QString GetKernelName() const = 0;
    // Fills the series' parameter table (10 x 256 values).
    virtual void GetParameterValues(float values[10][256]) const = 0;
    virtual void UpdateHDRContrastLabel() = 0;
};

// The exposure-series dock (HDRExposureSeriesDockWidget).
class IExposureSeriesDock {
public:
    virtual ~IExposureSeriesDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void UpdateDisplay(CExposureSeries* series, bool refreshOnly) = 0;
    virtual void resetLabelHighlights() = 0;
    virtual void ScrollToCenter() = 0;
    // The HDR weight preset (0 custom .. 4), set without recomputing weights.
    virtual void ResetPresetToIndex(int) {}
};

// The RAW development window (HDRRAWDevelopment).
class IRawDevelopment {
public:
    virtual ~IRawDevelopment() = default;
    // "Fenster immer anzeigen".
    virtual bool IsShowAgainChecked() const = 0;
    // Runs the window modally.
    virtual int Exec() = 0;
    // The progress categories its steps add: alignment, optimisation, de-ghosting (0..3).
    virtual int ExtraProgressCategories() const = 0;
    // The image type (0..9).
    virtual int getImageTypeIndex() const = 0;
    virtual void rememberGroupboxStates() = 0;
    virtual void disableAllGroupboxStates() = 0;
    virtual void recoverGroupboxStates() = 0;
};

// The usage counters (HDRStatistic::HandleValue).
class IUsageCounters {
public:
    virtual ~IUsageCounters() = default;
    virtual void HandleValue(const QString& key, int value) = 0;
};
