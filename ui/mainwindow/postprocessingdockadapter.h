#pragma once
// The post-processing dock as the main window reaches it: the real dock
// behind the main window's IPostProcessingDock, with the main window as the
// dock's host.

#include "ui/mainwindow/mainwindowseams.h"
#include "ui/postprocessing/hdrpostprocessingdockwidget.h"

#include <QObject>

class HDRMainWindow;

class CPostProcessingDockAdapter : public QObject, public IPostProcessingDock, public IPostProcessingDockHost {
    Q_OBJECT
public:
    // Builds the dock ("Expertenmodus") as a child of the window; the adapter
    // lives as long as the dock.
    static CPostProcessingDockAdapter* Create(HDRMainWindow* window, const QString& catalogue = QString());

    HDRPostProcessingDockWidget* DockWidget() const { return m_pDock; }

    // ---- IPostProcessingDock ----
    QDockWidget* Dock() override { return m_pDock; }
    void SetCurrentPostProcessing(CPostProcessing* chain) override { m_pDock->SetCurrentPostProcessing(chain); }
    void SetInitialUserPath(const QString& path) override { m_pDock->SetInitialUserPath(path); }
    void CollapsiblesFromSettings() override { m_pDock->CollapsiblesFromSettings(); }
    void CollapsiblesToSettings() override { m_pDock->CollapsiblesToSettings(); }
    void ResetAllFilterButtons() override { m_pDock->ResetAllFilterButtons(); }
    void SetDynamicStyleSheets() override { m_pDock->SetDynamicStyleSheets(); }
    void SetPresets(IPresetsDock* presets) override
    {
        m_pDock->SetPresets(dynamic_cast<IPostProcessingPresets*>(presets));
    }

    // ---- IPostProcessingDockHost ----
    void HighlightPostProcessingDock() override;
    void RecomputeHDR() override;
    bool PreviewMode() const override;
    void TogglePreviewMode() override;
    void CountAnimModeUsed() override;
    void CountChange() override;
    void SetOverlayText(const QString& text) override;
    void EditGeometry(HDRPositionPicker* picker, const QString& title) override;
    void CalcWebAnim(bool metadata, int unused, int quality, int size, int a, int b, int c, int d,
                     const QString& author, const QString& title) override;

private:
    CPostProcessingDockAdapter(HDRMainWindow* window, HDRPostProcessingDockWidget* dock);
    HDRMainWindow* m_pWindow;
    HDRPostProcessingDockWidget* m_pDock;
};
