#pragma once

// The two replay settings, shared by the application and the core. They live in memory only:
// every start begins with the defaults, and the core works without an application object.
struct SReplaySettings
{
    int m_nRefreshSeconds = 1; // replay timer period; the timer gets this times 1000 ms
    int m_nWindowBars = 26;    // N, the bars in the replay window; read at every Load and Step
    // A step of the speed menu, in milliseconds; 0 = m_nRefreshSeconds whole seconds.
    int m_nPeriodMs = 0;
};

// The process-wide settings.
SReplaySettings& ReplaySettings();
