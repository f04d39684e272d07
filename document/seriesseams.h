#pragma once
// What the exposure series needs of the application beyond the settings,
// progress and pixmap seams: the main window's marks at the start of an HDR
// calculation, its compare-window refresh and project save mode, the
// statistics dock's counters, the image preview's visible area and the
// real-time flag of the options. The application registers implementations;
// without one, the defaults below apply. Safe to use from any thread.

#include <QSize>
#include <QString>

// Implemented by the main window.
class ISeriesMainWindow {
public:
    virtual ~ISeriesMainWindow() = default;
    // An HDR calculation starts: enable "Projekt speichern", count the change
    // (clearing the undo timeline's selection past 2) and update the title.
    virtual void MarkHDRStarted() = 0;
    // After an HDR calculation: refresh the compare window when the
    // post-processing dock is visible.
    virtual void RefreshCompareWindow() = 0;
    // The pre-coding flags of a project's image data files ("SaveMode").
    virtual int GetSaveMode() const = 0;
};

// Implemented by the statistics object (HDRStatistic::HandleValue).
class IStatisticSink {
public:
    virtual ~IStatisticSink() = default;
    virtual void HandleValue(const QString& key, int value) = 0;
};

// Implemented by the image preview: the size of its scroll area's viewport.
class IPreviewAreaSource {
public:
    virtual ~IPreviewAreaSource() = default;
    virtual QSize GetPreviewAreaSize() const = 0;
};

// Implemented by the options (COptions::m_bRealTimeMode).
class IRealTimeModeSource {
public:
    virtual ~IRealTimeModeSource() = default;
    virtual bool GetRealTimeMode() const = 0;
};

class CSeriesSeams {
public:
    // Each returns the previous implementation; nullptr removes it.
    static ISeriesMainWindow* SetMainWindow(ISeriesMainWindow* mainWindow);
    static IStatisticSink* SetStatisticSink(IStatisticSink* sink);
    static IPreviewAreaSource* SetPreviewAreaSource(IPreviewAreaSource* source);
    static IRealTimeModeSource* SetRealTimeModeSource(IRealTimeModeSource* source);

    // Without a main window nothing is marked or refreshed and the save mode
    // is the lossless 1.
    static void MarkHDRStarted();
    static void RefreshCompareWindow();
    static int SaveMode();
    // Without a statistics object the value goes nowhere. The 64-bit value
    // is clamped to int.
    static void HandleStatistic(const QString& key, long long value);
    // An invalid size without a preview.
    static QSize PreviewAreaSize();
    // false without options.
    static bool RealTimeMode();
};
