#pragma once
// The windows of the main window's workflow that other parts of the program
// build: the main window reaches each through the narrow interface below,
// made by its window factory. A window that is not built yet is null and
// every call on it is skipped.

#include "document/imageloader.h"
#include "ui/toolkit/toolkitseams.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

class CExposure;
class CExposureSeries;
class CPostProcessing;
class QDialog;
class QDockWidget;
class QPixmap;

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
    // A new project: every tile's chain reloaded from its file, then the
    // thumbnail timer stopped and the thumbnails cleared.
    virtual void ResetAllPresets() {}
    virtual void ClearAllPreviews() {}
    // After a style change: the dock's and its tiles' style sheets again.
    virtual void RefreshStyle() {}
};

// The post-processing dock (HDRPostProcessingDockWidget).
class IPostProcessingDock {
public:
    virtual ~IPostProcessingDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void SetCurrentPostProcessing(CPostProcessing* chain) = 0;
    // The user settings folder the dock's own files ("collapsibles.ini") go to.
    virtual void SetInitialUserPath(const QString&) {}
    // The open state of the dock's collapsible panel, read and written.
    virtual void CollapsiblesFromSettings() {}
    virtual void CollapsiblesToSettings() {}
    // Shows every operator type of the catalogue again.
    virtual void ResetAllFilterButtons() {}
    // Rebuilds the dock's style-dependent sheets (a new style).
    virtual void SetDynamicStyleSheets() {}
    // The presets dock whose tiles the dock's film and grey settings reach.
    virtual void SetPresets(IPresetsDock*) {}
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
    // Resets every HDR operator's values (a new project).
    virtual void ResetAllValues() {}
    // A new project: the default HDR preset, the depth-map smoothing slider
    // at its centre and the depth-map invert box unchecked.
    virtual void ResetPreset() {}
};

// The exposure-series dock (HDRExposureSeriesDockWidget).
class IExposureSeriesDock {
public:
    virtual ~IExposureSeriesDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void UpdateDisplay(CExposureSeries* series, bool refreshOnly) = 0;
    virtual void resetLabelHighlights() = 0;
    virtual void ScrollToCenter() = 0;
    // Clears the selection of the series' exposures.
    virtual void ClearAllSelectedStates(CExposureSeries*) {}
    // Selects an entry of the weighting-preset combo box, signals blocked.
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

// The docks around the stage. Each is a QDockWidget; the main window connects
// the signals it finds on it by name: "closeClicked()" of the information,
// EXIF and histogram docks, "updateHistogram()" and "showHistogram()" of the
// histogram dock, "SigClosed()" of the compare dock.

// An information dock (HDRInfoDockWidget): the information dock and the
// start-page dock.
class IMainInfoDock : public IInfoDock {
public:
    virtual QDockWidget* Dock() = 0;
    // True fixes the dock's size; false lifts every size limit.
    virtual void EnableFixedSize(bool) {}
    // Marks the dock as the start page.
    virtual void SetIsTitleScreen(bool) {}
};

// The EXIF dock (HDRExifDockwidget).
class IExifDock {
public:
    virtual ~IExifDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void UpdateExif(CExposure*) {}
    virtual void ShowDefaultCategories() {}
};

// The histogram dock (HDRHistogramDockWidget).
class IHistogramDock {
public:
    virtual ~IHistogramDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void SetPixmap(const QPixmap&) {}
    // The size of the dock's picture label.
    virtual QSize PictureSize() const { return QSize(256, 128); }
    // The check boxes: luminance, red, green, blue, cumulative.
    virtual void Channels(bool* luminance, bool* red, bool* green, bool* blue, bool* cumulative) const
    {
        *luminance = true;
        *red = *green = *blue = *cumulative = false;
    }
};

// The compare dock (CCompareDockWidget).
class ICompareDock {
public:
    virtual ~ICompareDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void SetDefaultSizing(bool) {}
    virtual void Reset() {}
    // Renders the before/after picture again; true when it drew.
    virtual bool Refresh() { return false; }
};

// The batch window (HDRBatchWindow) in its two modes.
class IBatchWindow {
public:
    virtual ~IBatchWindow() = default;
    // 0 batch processing, 1 image-data browser.
    virtual void setWindowMode(int mode) = 0;
    virtual void setDragDropFolder(const QString& folder) = 0;
    virtual int Exec() = 0;
    // What the browser chose, read after it closes: series to open, or files.
    virtual QVector<SExposure> OpenAsProject() const { return {}; }
    virtual QStringList SelectedFiles() const = 0;
};
