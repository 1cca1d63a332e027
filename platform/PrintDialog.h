// CPrintDialog: the standard print dialog. DoModal shows it (with no printer configured, the
// choice is a PDF file); OK gives a printer DC (GetPrinterDC) set up for the chosen printer or
// file, unless the dialog is setup-only. The dialog owns that DC: it is deleted with the dialog if
// nobody deleted it before (DeleteDC on it is fine too).
//
//     CPrintDialog dlg(FALSE, PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE);
//     if (dlg.DoModal() == IDOK) {
//         CDC dc;
//         dc.Attach(dlg.GetPrinterDC());
//         ... StartDoc, StartPage, drawing, EndPage, EndDoc ...
//         dc.Detach();
//     }
#pragma once

#include <memory>

#include "platform/WinTypes.h"

class CWnd;

namespace platform_detail
{
struct PrintTarget;
}

constexpr DWORD PD_ALLPAGES = 0x00000000;
constexpr DWORD PD_NOSELECTION = 0x00000004;
constexpr DWORD PD_NOPAGENUMS = 0x00000008;
constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
constexpr DWORD PD_USEDEVMODECOPIESANDCOLLATE = 0x00040000;
constexpr DWORD PD_DISABLEPRINTTOFILE = 0x00080000;
constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;

class CPrintDialog
{
public:
    // pParentWnd: the window the dialog shows over; else the active one.
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                          PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    ~CPrintDialog(); // deletes the printer DC it made, if it still exists
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    INT_PTR DoModal(); // IDOK or IDCANCEL
    HDC GetPrinterDC() const { return m_hPrinterDC; }

private:
    void ReleasePrinterDC();
    bool m_bSetupOnly = false;
    DWORD m_dwFlags = 0;
    CWnd* m_pParentWnd = nullptr;
    HDC m_hPrinterDC = nullptr;
    std::unique_ptr<platform_detail::PrintTarget> m_pTarget; // where the chosen output goes
};
