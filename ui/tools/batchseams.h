#pragma once
// What the batch window and its series boxes need of the HDR operator dock
// and the presets dock, and how the main window reaches the batch and
// benchmark windows. The docks implement the first two; the window factory
// makes the windows.

#include <QString>
#include <QStringList>
#include <QVector>

#include "document/imageloader.h"

class CPostProcessing;
class QDialog;

// The HDR operator dock (HDROperatorDockWidget): its HDR preset list and the
// kernel and parameters of the chosen HDR operator.
class IBatchOperatorSource {
public:
    virtual ~IBatchOperatorSource() = default;
    // The item texts of the HDR preset list, in list order.
    virtual QStringList HDRPresetTexts() const = 0;
    virtual QString CurrentHDRPresetText() const = 0;
    // Selects the item with exactly this text, the list's signals blocked;
    // nothing when no item has it.
    virtual void SelectHDRPresetText(const QString& text) = 0;
    virtual QString GetKernelName() const = 0;
    // Zeroes the block and writes slider i's value into entry 0 of set i.
    virtual void GetParameterValues(float values[10][256]) const = 0;
};

// The presets dock (HDRPresetsDockWidget): its tiles in tile order.
class IBatchPresetSource {
public:
    virtual ~IBatchPresetSource() = default;
    virtual int TileCount() const = 0;
    // The tile's title (its preset name).
    virtual QString TileTitle(int index) const = 0;
    // The tile's own chain; null outside 0..count-1.
    virtual CPostProcessing* TileChain(int index) = 0;
};

// The batch dialog as the main window uses it.
class IBatchWindow {
public:
    virtual ~IBatchWindow() = default;
    virtual QDialog* Dialog() = 0;
    // 0 batch processing, 1 image-data browser; before every exec.
    virtual void setWindowMode(int mode) = 0;
    // The source folder of the next show.
    virtual void setDragDropFolder(const QString& folder) = 0;
    virtual int Exec() = 0;
    // After exec: the series chosen with "Als Projekt öffnen" (empty: none).
    virtual QVector<SExposure> OpenAsProject() const = 0;
};

// The benchmark window as the main window uses it.
class IBenchmarkWindow {
public:
    virtual ~IBenchmarkWindow() = default;
    virtual QDialog* Dialog() = 0;
    virtual int Exec() = 0;
};
