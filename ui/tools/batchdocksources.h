#pragma once
// The batch window's view of the two docks it works with: the HDR operator
// dock (its HDR preset list, kernel and parameters) and the presets dock (its
// tiles and their chains). The main window hands these to the window factory.

#include "ui/tools/batchseams.h"

class HDROperatorDockWidget;
class HDRPresetsDockWidget;

// A null dock stands for the program's one dock (g_pHDROperatorDockWidget,
// g_pHDRPresetsDockWidget), looked up at each call.
class CBatchOperatorDockSource : public IBatchOperatorSource {
public:
    explicit CBatchOperatorDockSource(HDROperatorDockWidget* dock) : m_pGivenDock(dock) {}
    QStringList HDRPresetTexts() const override;
    QString CurrentHDRPresetText() const override;
    void SelectHDRPresetText(const QString& text) override;
    QString GetKernelName() const override;
    void GetParameterValues(float values[10][256]) const override;

private:
    HDROperatorDockWidget* Dock() const;
    HDROperatorDockWidget* m_pGivenDock;
};

class CBatchPresetsDockSource : public IBatchPresetSource {
public:
    explicit CBatchPresetsDockSource(HDRPresetsDockWidget* dock) : m_pGivenDock(dock) {}
    int TileCount() const override;
    QString TileTitle(int index) const override;
    CPostProcessing* TileChain(int index) override;

private:
    HDRPresetsDockWidget* Dock() const;
    HDRPresetsDockWidget* m_pGivenDock;
};
