// CPrintDialog: choosing where to print, and the printer DC for that choice.
#include <QApplication>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <algorithm>
#include <utility>

#include "platform/PrintDialog.h"
#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/PrintInternal.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

QWidget* DialogOwner(CWnd* pParentWnd)
{
    if (pParentWnd != nullptr && LiveWnd(pParentWnd->m_hWnd) != nullptr)
        return pParentWnd->m_hWnd->pWidget;
    return QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget()
                                                        : QApplication::activeWindow();
}

// What the user chose in the dialog, written back into pd.
void ReadChoices(const QPrinter& printer, PRINTDLG& pd)
{
    pd.nCopies = static_cast<WORD>(std::clamp(printer.copyCount(), 1, 0xFFFF));
    pd.Flags &= ~(PD_SELECTION | PD_PAGENUMS | PD_PRINTTOFILE | PD_COLLATE);
    if (printer.printRange() == QPrinter::PageRange)
    {
        pd.Flags |= PD_PAGENUMS;
        pd.nFromPage = static_cast<WORD>(printer.fromPage());
        pd.nToPage = static_cast<WORD>(printer.toPage());
    }
    else if (printer.printRange() == QPrinter::Selection)
    {
        pd.Flags |= PD_SELECTION;
    }
    if (!printer.outputFileName().isEmpty())
        pd.Flags |= PD_PRINTTOFILE;
    if (printer.collateCopies())
        pd.Flags |= PD_COLLATE;
}

// Shows the print dialog for pTarget's printer; false when the user cancels.
bool AskTheUser(PrintTarget* pTarget, PRINTDLG& pd, CWnd* pParentWnd)
{
    const bool bNoPrinter = QPrinterInfo::availablePrinters().isEmpty();
    pTarget->pPrinter =
        bNoPrinter ? MakePdfPrinter(PdfNameFor(QCoreApplication::applicationName().toStdString()))
                   : std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(pTarget->pPrinter.get(), DialogOwner(pParentWnd));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, (pd.Flags & PD_NOSELECTION) == 0);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, (pd.Flags & PD_NOPAGENUMS) == 0);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies,
                     (pd.Flags & PD_USEDEVMODECOPIESANDCOLLATE) != 0);
    // Without a printer, a file is the only place to print to.
    dialog.setOption(QAbstractPrintDialog::PrintToFile,
                     bNoPrinter || (pd.Flags & (PD_HIDEPRINTTOFILE | PD_DISABLEPRINTTOFILE)) == 0);
    if (pd.nMinPage <= pd.nMaxPage)
        dialog.setMinMax(pd.nMinPage, pd.nMaxPage);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ReadChoices(*pTarget->pPrinter, pd);
    return true;
}

} // namespace

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CDialog(0, pParentWnd), m_pd{}
{
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
    m_pd.nFromPage = m_pd.nToPage = 1;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    ReleasePrinterDC();
}

void CPrintDialog::ReleasePrinterDC()
{
    // Only the DC this dialog made: the handle may have been deleted and its address reused.
    if (HDC hdc = LivePrinterDc(m_pd.hDC); hdc != nullptr && hdc->pJob->pOwner == this)
        ::DeleteDC(hdc);
    m_pd.hDC = nullptr;
}

HDC CPrintDialog::CreatePrinterDC()
{
    ReleasePrinterDC();
    if (!m_pTarget)
    {
        // Nothing chosen yet: the default printer, else a PDF file.
        m_pTarget = std::make_unique<PrintTarget>();
        if (QPrinterInfo::availablePrinters().isEmpty())
            m_pTarget->pPrinter = MakePdfPrinter(QString());
        else
            m_pTarget->pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    m_pd.hDC = NewPrinterDc(*m_pTarget, this);
    return m_pd.hDC;
}

INT_PTR CPrintDialog::DoModal()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return IDCANCEL;
    PrintWatcher* pWatcher = CurrentPrintWatcher();
    const SPrintDialogAnswer answer =
        pWatcher != nullptr ? pWatcher->TakeDialogAnswer() : SPrintDialogAnswer{};
    auto pTarget = std::make_unique<PrintTarget>();
    switch (answer.eKind)
    {
    case SPrintDialogAnswer::Kind::Cancel:
        return IDCANCEL;
    case SPrintDialogAnswer::Kind::Pdf:
        pTarget->pPrinter = MakePdfPrinter(QString::fromUtf8(answer.strPdfPath.c_str()));
        break;
    case SPrintDialogAnswer::Kind::Images:
        pTarget->imageSize = answer.imageSize;
        pTarget->nImageDpi = answer.nImageDpi;
        break;
    case SPrintDialogAnswer::Kind::Ask:
        if (!AskTheUser(pTarget.get(), m_pd, m_pParentWnd))
            return IDCANCEL;
        break;
    }
    ReleasePrinterDC();
    m_pTarget = std::move(pTarget);
    if ((m_pd.Flags & PD_PRINTSETUP) == 0)
        CreatePrinterDC();
    return IDOK;
}
