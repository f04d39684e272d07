#pragma once
// What the presets dock, the HDR operator dock, the RAW development window,
// the preset combiner and the texture selector need of the main window,
// as one narrow interface. The main window (through the application's window
// factory) registers an implementation; tests register a fake. Without one
// every question has its "no document" answer and every action is skipped.

#include <QSize>
#include <QString>

class CExposureSeries;

class IPresetsHost {
public:
    virtual ~IPresetsHost() = default;
    // The current document; null without one.
    virtual CExposureSeries* Series() const = 0;
    // The document's dynamic-range ratio of the last HDR fusion.
    virtual float DynamicRange() const = 0;
    // The current HDR result (preview or full size by the preview mode), null
    // and 0 x 0 without a document.
    virtual const unsigned short* GetActualHDRBuffer(int* width, int* height) = 0;
    // Adds delta to a usage counter when the program keeps statistics.
    virtual void HandleValue(const QString& key, int delta) = 0;
    // COptions::m_bPreviewMode and whether the preview's preview-mode button shows.
    virtual bool PreviewMode() const = 0;
    virtual bool PreviewButtonVisible() const = 0;
    // The options dialog's results folder (empty when not set) and the
    // "lastDialogPath" of the folder settings (empty when absent).
    virtual QString ResultsFolder() const = 0;
    virtual QString LastDialogPath() const = 0;
    virtual void SaveDepthMap() = 0;
    virtual void SetPaintPanoramaActionByMode() = 0;
};

namespace PresetsSeams {
void SetHost(IPresetsHost* host);
IPresetsHost* Host();
// Shorthands over the host with the neutral answers when none is set.
CExposureSeries* Series();
void CountUsage(const char* key);
} // namespace PresetsSeams
