#include "ui/mainwindow/presettimerstophelper.h"

#include "ui/mainwindow/mainwindowseams.h"

unsigned int HDRPresetTimerStopHelper::m_uiRefCnt = 0;

namespace {
IPresetsDock* s_pPresetsDock = nullptr;
}

void HDRPresetTimerStopHelper::SetPresetsDock(IPresetsDock* dock) { s_pPresetsDock = dock; }

HDRPresetTimerStopHelper::HDRPresetTimerStopHelper()
{
    if (m_uiRefCnt == 0 && s_pPresetsDock)
        s_pPresetsDock->StopPreviewTimer();
    ++m_uiRefCnt;
}

HDRPresetTimerStopHelper::~HDRPresetTimerStopHelper()
{
    if (m_uiRefCnt == 0 || --m_uiRefCnt == 0) {
        if (s_pPresetsDock)
            s_pPresetsDock->StartPreviewTimer(20);
    }
}
