#pragma once
// HDRStatistic, the local usage statistics: 66 integer counters (63 sums and
// three maxima) kept in "statistic.ini" of the user settings folder, so that
// they add up over all runs, and the HTML report of the statistics window.
// Every part of the program counts through HandleValue (the main window's
// IUsageCounters, the document's IStatisticSink). Reports may come from the
// GUI and the batch thread: one mutex covers the update and the write.
// Rewrites of the file are whole (temporary file and rename) and coalesced to
// at most one a second by a timer of the constructing (GUI) thread; Flush and
// the destructor write what is pending.

#include "document/seriesseams.h"
#include "ui/mainwindow/mainwindowseams.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QString>
#include <QStringList>

class QObject;
class QTimer;

// The counters in file order: name (the member and its key) and kind.
#define LUMIVEX_STATISTIC_COUNTERS(SUM, MAX)                                                                          \
    SUM(m_iProgramStarted) SUM(m_iExposureSeriesLoaded) SUM(m_iSingleImagesLoaded) SUM(m_iImagesSaved)                \
    SUM(m_iProjectsLoaded) SUM(m_iProjectsSaved) SUM(m_iUndoLoaded) SUM(m_iUndoSaved) SUM(m_iImagesExported)          \
    SUM(m_iExposureSeriesExported) SUM(m_iPanoramaViewerOpened) SUM(m_iHDRPainterOpened) SUM(m_iImageBrowserOpened)   \
    SUM(m_iBatchProcessingOpened) SUM(m_iDragDropLoadProject) SUM(m_iDragDropLoadImage) SUM(m_iDragDropLoadSeries)    \
    SUM(m_iDragDropLoadFolder) SUM(m_iImagesFromPlugin) SUM(m_iBenchmarkOpened) SUM(m_iHomepageOpened)                \
    SUM(m_iHelpOpened) SUM(m_iUpdatepageOpened) SUM(m_iAboutOpened) SUM(m_iOptionsOpened) SUM(m_iWindowsResetted)     \
    SUM(m_iHMirrorClicked) SUM(m_iVMirrorClicked) SUM(m_iRotateLeftClicked) SUM(m_iRotateRightClicked)                \
    SUM(m_iAlignScrollClicked) SUM(m_iAlignRotateClicked) SUM(m_iAlignZoomClicked) SUM(m_iAlignDetailClicked)         \
    SUM(m_iAlignMikroDetailClicked) SUM(m_iPresetCombinerOpened) SUM(m_iPresetCreated) SUM(m_iPresetDeleted)          \
    SUM(m_iPresetsImported) SUM(m_iPresetsExported) SUM(m_iExifViewed) SUM(m_iBorderPixelViewed)                      \
    SUM(m_iLuminanceMapViewed) MAX(m_iLargestImageLoaded) SUM(m_iExposureSeriesImagesLoaded)                          \
    MAX(m_iSeriesHighestImageAmount) SUM(m_iAnimModeUsed) SUM(m_iHDRDynamicHighUsed) SUM(m_iHDRDynamicOptimalUsed)    \
    SUM(m_iHDRDynamicCompressedUsed) MAX(m_iHighestPPCalcTime) SUM(m_iPresetRenamed) SUM(m_iPresetResorted)           \
    SUM(m_iRawDevMotiv0) SUM(m_iRawDevMotiv1) SUM(m_iRawDevMotiv2) SUM(m_iRawDevMotiv3) SUM(m_iRawDevMotiv4)          \
    SUM(m_iRawDevMotiv5) SUM(m_iRawDevMotiv6) SUM(m_iRawDevMotiv7) SUM(m_iRawDevMotiv8) SUM(m_iRawDevMotiv9)          \
    SUM(m_iWebAnimCreated) SUM(m_iVideoCreated) SUM(m_iVrmlCreated)

class HDRStatistic : public IUsageCounters, public IStatisticSink {
public:
    // folder: the user settings folder, ending in a path separator. Loads the
    // file and writes it back at once.
    explicit HDRStatistic(QString folder);
    // Writes a pending rewrite.
    virtual ~HDRStatistic();

    HDRStatistic(const HDRStatistic&) = delete;
    HDRStatistic& operator=(const HDRStatistic&) = delete;

    void SetIniPath(QString folder);
    void FromSettings();
    void ToSettings();
    // Counts the value into the counter named key (a sum adds, a maximum
    // takes a larger value); any key, known or not, rewrites the file.
    void HandleValue(const QString& key, int value) override;
    // Rebuilds the report; valid until the next call.
    const QString& CreateText();

    // The program's statistics: created for the folder, registered as the
    // document's statistic sink and deleted (written, unregistered) when the
    // owner (the main window) is destroyed.
    static HDRStatistic* CreateOwned(QObject* owner, const QString& folder);

    // Writes a pending rewrite now (at exit; tests).
    void Flush();
    bool IsWritePending() const;
    // The counter named key; 0 for a key that names none.
    int Value(const QString& key) const;
    // The 66 counter keys in file order.
    static const QStringList& CounterKeys();
    // The file: folder + "statistic.ini".
    QString IniFile() const { return m_strIniPath + QStringLiteral("statistic.ini"); }
    // Minimum time between two rewrites of the file (milliseconds).
    static constexpr int kWriteIntervalMs = 1000;

    QString m_strIniPath;
    QString m_strText;
#define LUMIVEX_STATISTIC_MEMBER(name) int name = 0;
    LUMIVEX_STATISTIC_COUNTERS(LUMIVEX_STATISTIC_MEMBER, LUMIVEX_STATISTIC_MEMBER)
#undef LUMIVEX_STATISTIC_MEMBER

private:
    // Writes the file now (m_Mutex held).
    void WriteLocked();
    // Writes at once or schedules a rewrite (m_Mutex held).
    void ScheduleWriteLocked();
    void TimerFired();

    mutable QMutex m_Mutex;
    QTimer* m_pTimer = nullptr;
    QElapsedTimer m_LastWrite;
    bool m_bWritePending = false;
    bool m_bTimerRequested = false;
};
