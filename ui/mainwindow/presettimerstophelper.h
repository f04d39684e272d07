#pragma once
// Keeps the presets dock's incremental thumbnail timer out of the way while a
// recalculation runs: the outermost scope stops it, and it restarts 20 ms
// after the outermost scope ends. GUI thread only.

class IPresetsDock;

class HDRPresetTimerStopHelper {
public:
    // The dock whose timer the scopes control; null: none.
    static void SetPresetsDock(IPresetsDock* dock);
    HDRPresetTimerStopHelper();
    ~HDRPresetTimerStopHelper();
    HDRPresetTimerStopHelper(const HDRPresetTimerStopHelper&) = delete;
    HDRPresetTimerStopHelper& operator=(const HDRPresetTimerStopHelper&) = delete;

    static unsigned int m_uiRefCnt;
};
