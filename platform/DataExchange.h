// Dialog data exchange: UpdateData(FALSE) copies members into controls, UpdateData(TRUE) copies
// controls into members and validates. A failed validation sets m_bFailed (no exception), moves the
// focus to the control and makes UpdateData return FALSE; no message box is shown.
#pragma once

#include <string>

#include "platform/WinTypes.h"

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    HWND PrepareCtrl(int nIDC); // the control's window; nullptr (and a warning) when there is none
    HWND PrepareEditCtrl(int nIDC); // the same, and marks it as the edit that DDV_MaxChars limits
    void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
    bool m_bFailed = false;
};

// Text of a control to and from a string (UTF-8).
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
// Attaches rControl to the dialog's control nIDC the first time (subclassing); later calls do
// nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Saving: fails when value has more than nChars characters. Loading: limits what the user may
// type into the last edit exchanged; the text the program puts there is shown whole.
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);
