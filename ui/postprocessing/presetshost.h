#pragma once
// The main window as the presets host of the preset library, the HDR
// operator dock and the RAW development window.

#include "ui/postprocessing/presetsseams.h"

class HDRMainWindow;

class CMainWindowPresetsHost : public IPresetsHost {
public:
    explicit CMainWindowPresetsHost(HDRMainWindow* window) : m_pWindow(window) {}
    // Registers the one host over the window (once; null: nothing).
    static void Install(HDRMainWindow* window);

    CExposureSeries* Series() const override;
    float DynamicRange() const override;
    const unsigned short* GetActualHDRBuffer(int* width, int* height) override;
    void HandleValue(const QString& key, int delta) override;
    bool PreviewMode() const override;
    bool PreviewButtonVisible() const override;
    QString ResultsFolder() const override;
    QString LastDialogPath() const override;
    void SaveDepthMap() override;
    void SetPaintPanoramaActionByMode() override {}

private:
    HDRMainWindow* m_pWindow;
};
