#pragma once
// What the batch window and its series boxes need of the HDR operator dock
// and the presets dock (ui/tools/batchdocksources.h serves both from the
// real docks). The main window reaches the batch window through IBatchWindow
// (ui/mainwindow/mainwindowseams.h).

#include <QString>
#include <QStringList>

class CPostProcessing;

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
