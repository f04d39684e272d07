#include "document/seriesfakes.h"

CFakeSeriesHost::CFakeSeriesHost()
    : m_pPrevMainWindow(CSeriesSeams::SetMainWindow(this)),
      m_pPrevStatistic(CSeriesSeams::SetStatisticSink(this)),
      m_pPrevArea(CSeriesSeams::SetPreviewAreaSource(this)),
      m_pPrevRealTime(CSeriesSeams::SetRealTimeModeSource(this))
{
}

CFakeSeriesHost::~CFakeSeriesHost()
{
    CSeriesSeams::SetMainWindow(m_pPrevMainWindow);
    CSeriesSeams::SetStatisticSink(m_pPrevStatistic);
    CSeriesSeams::SetPreviewAreaSource(m_pPrevArea);
    CSeriesSeams::SetRealTimeModeSource(m_pPrevRealTime);
}
