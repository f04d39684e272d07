#include "document/seriesseams.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <climits>

namespace {

QMutex g_seamMutex;
ISeriesMainWindow* g_mainWindow = nullptr;
IStatisticSink* g_statistic = nullptr;
IPreviewAreaSource* g_previewArea = nullptr;
IRealTimeModeSource* g_realTime = nullptr;

template <typename T> T* exchange(T*& slot, T* value)
{
    QMutexLocker lock(&g_seamMutex);
    T* previous = slot;
    slot = value;
    return previous;
}

template <typename T> T* current(T* const& slot)
{
    QMutexLocker lock(&g_seamMutex);
    return slot;
}

} // namespace

ISeriesMainWindow* CSeriesSeams::SetMainWindow(ISeriesMainWindow* mainWindow)
{
    return exchange(g_mainWindow, mainWindow);
}

IStatisticSink* CSeriesSeams::SetStatisticSink(IStatisticSink* sink)
{
    return exchange(g_statistic, sink);
}

IPreviewAreaSource* CSeriesSeams::SetPreviewAreaSource(IPreviewAreaSource* source)
{
    return exchange(g_previewArea, source);
}

IRealTimeModeSource* CSeriesSeams::SetRealTimeModeSource(IRealTimeModeSource* source)
{
    return exchange(g_realTime, source);
}

void CSeriesSeams::MarkHDRStarted()
{
    if (ISeriesMainWindow* w = current(g_mainWindow))
        w->MarkHDRStarted();
}

void CSeriesSeams::RefreshCompareWindow()
{
    if (ISeriesMainWindow* w = current(g_mainWindow))
        w->RefreshCompareWindow();
}

int CSeriesSeams::SaveMode()
{
    ISeriesMainWindow* w = current(g_mainWindow);
    return w ? w->GetSaveMode() : 1;
}

void CSeriesSeams::HandleStatistic(const QString& key, long long value)
{
    if (IStatisticSink* s = current(g_statistic))
        s->HandleValue(key, int(std::clamp<long long>(value, INT_MIN, INT_MAX)));
}

QSize CSeriesSeams::PreviewAreaSize()
{
    IPreviewAreaSource* s = current(g_previewArea);
    return s ? s->GetPreviewAreaSize() : QSize();
}

bool CSeriesSeams::RealTimeMode()
{
    IRealTimeModeSource* s = current(g_realTime);
    return s && s->GetRealTimeMode();
}
