#pragma once
// The narrow interfaces through which the main window reaches the information
// docks of ui/tools/ (made by its window factory). Each dock connects its own
// signals to the main window's slots of the same names when the main window
// has them (exifDockClosed, updateHistogram, showHistogram,
// histogramDockClosed, infoDockClosed), so the main window needs no
// knowledge of the dock classes.

#include <QSize>
#include <QString>

class CExposure;
class QDockWidget;
class QPixmap;

// The metadata dock (HDRExifDockwidget).
class IExifDock {
public:
    virtual ~IExifDock() = default;
    virtual QDockWidget* Dock() = 0;
    // Shows the exposure's metadata; null (a new document) hides every section.
    virtual void UpdateExif(CExposure* exposure) = 0;
    // Sections 1 and 2 opened, the others collapsed (a new project).
    virtual void ShowDefaultCategories() = 0;
};

// The histogram dock (HDRHistogramDockWidget).
class IHistogramDock {
public:
    virtual ~IHistogramDock() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void SetPixmap(const QPixmap& pixmap) = 0;
    // The size the histogram picture is rendered at (270 x 160).
    virtual QSize LabelSize() const = 0;
    // The five flags of the histogram call, in this order.
    virtual void GetFlags(bool& luminance, bool& red, bool& green, bool& blue, bool& cumulative) const = 0;
};

// The information dock and the start page (HDRInfoDockWidget).
class IInfoDockPanel {
public:
    virtual ~IInfoDockPanel() = default;
    virtual QDockWidget* Dock() = 0;
    virtual void UpdateText(const QString& html) = 0;
    virtual void EnableFixedSize(bool on) = 0;
    virtual void SetIsTitleScreen(bool on) = 0;
};
