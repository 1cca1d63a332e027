#pragma once

// The two replay settings, shared by the application and the core. They live in memory only:
// every start begins with the defaults, and the core works without an application object.
struct SReplaySettings
{
    int m_nRefreshSeconds = 1; // replay timer period; the timer gets this times 1000 ms
    int m_nWindowBars = 26;    // N, the bars in the replay window; read at every Load and Step
};

// The process-wide settings.
SReplaySettings& ReplaySettings();
