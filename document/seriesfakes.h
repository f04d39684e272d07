#pragma once
// A stand-in for the application side of the series' seams (tests): main
// window, statistics, preview area and real-time flag with public values and
// counters. Installs itself on construction, restores the previous ones on
// destruction.

#include "document/seriesseams.h"

#include <QMap>

#include <atomic>

class CFakeSeriesHost : public ISeriesMainWindow,
                        public IStatisticSink,
                        public IPreviewAreaSource,
                        public IRealTimeModeSource {
public:
    CFakeSeriesHost();
    ~CFakeSeriesHost() override;

    void MarkHDRStarted() override { ++hdrStarts; }
    void RefreshCompareWindow() override { ++compareRefreshes; }
    int GetSaveMode() const override { return saveMode; }
    void HandleValue(const QString& key, int value) override { statistics[key] = value; }
    QSize GetPreviewAreaSize() const override { return previewArea; }
    bool GetRealTimeMode() const override { return realTime; }

    std::atomic<int> hdrStarts{0};
    std::atomic<int> compareRefreshes{0};
    int saveMode = 1;
    QMap<QString, int> statistics;
    QSize previewArea;
    bool realTime = false;

private:
    ISeriesMainWindow* m_pPrevMainWindow;
    IStatisticSink* m_pPrevStatistic;
    IPreviewAreaSource* m_pPrevArea;
    IRealTimeModeSource* m_pPrevRealTime;
};
