// CDialog: a modal dialog built from a registered dialog template (see Resource.h).
//
//     class CDlgSetting : public CDialogEx {
//     public:
//         CDlgSetting() : CDialogEx(130) {}
//         std::string m_strInterval;
//     protected:
//         void DoDataExchange(CDataExchange* pDX) override
//         {
//             CDialogEx::DoDataExchange(pDX);
//             DDX_Text(pDX, 1004, m_strInterval);
//             DDV_MaxChars(pDX, m_strInterval, 4);
//         }
//     };
//     if (dlg.DoModal() == IDOK) ...
//
// DoModal creates the window and its controls, runs OnInitDialog (whose default does the first
// UpdateData(FALSE)), shows the dialog and returns the value given to EndDialog. The Enter key
// presses the default push button; Escape and closing the window call OnCancel. Commands from
// buttons and menu items go to the message map; IDOK and IDCANCEL default to OnOK and OnCancel.
// After DoModal returns the window is destroyed and m_hWnd is null again.
#pragma once

#include "platform/Wnd.h"

class CDialog : public CWnd
{
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal(); // -1 when the template is missing
    void EndDialog(int nResult);
    virtual BOOL OnInitDialog();
    // Dialog units to pixels with the dialog font: x * average character width / 4, y * height / 8.
    void MapDialogRect(LPRECT lpRect) const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDHelp = 0;

protected:
    virtual void OnOK();     // UpdateData(TRUE), then EndDialog(IDOK) if it succeeded
    virtual void OnCancel(); // EndDialog(IDCANCEL)
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    bool m_bEnded = false;
};
