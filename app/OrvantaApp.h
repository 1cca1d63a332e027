#pragma once

#include <string>

// The application: runs the main window modally and ends the program with it.
class COrvantaApp
{
public:
    // Shows the main window until it closes; the program's exit status.
    int InitInstance();

    std::string m_strStartFile; // loaded at start as if chosen in the file dialog; empty = none
    std::string m_strStartDate; // where the practice in the start file begins; empty = first bar
};
