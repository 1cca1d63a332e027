#pragma once

#include "platform/WinApp.h"

#include <string>

// The application object: starts the toolkit's dialogs, runs the main dialog modally and ends
// the program with it. Its two replay settings are views onto the process-wide replay settings,
// which the core reads without an application object.
class COrvantaApp : public CWinApp
{
public:
    COrvantaApp();

    BOOL InitInstance() override;

    int& m_nRefreshSeconds;     // timer period in seconds; starts at 1 on every run
    int& m_nWindowBars;         // bars in the replay window; 26, never changed
    std::string m_strStartFile; // loaded at start as if chosen in the file dialog; empty = none
    std::string m_strStartDate; // where the practice in the start file begins; empty = first bar
};

// The one application object of the program (defined in main.cpp).
extern COrvantaApp theApp;
