// CPrintDialog: choosing where to print, and the printer DC for that choice.
#include <QApplication>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <utility>

#include "platform/PrintDialog.h"
#include "platform/WinGdi.h"
#include "platform/Wnd.h"
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

// Shows the print dialog for pTarget's printer; false when the user cancels.
bool AskTheUser(PrintTarget* pTarget, DWORD dwFlags, CWnd* pParentWnd)
{
    const bool bNoPrinter = QPrinterInfo::availablePrinters().isEmpty();
    pTarget->pPrinter =
        bNoPrinter ? MakePdfPrinter(PdfNameFor(QCoreApplication::applicationName().toStdString()))
                   : std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(pTarget->pPrinter.get(), DialogOwner(pParentWnd));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, (dwFlags & PD_NOSELECTION) == 0);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, (dwFlags & PD_NOPAGENUMS) == 0);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies,
                     (dwFlags & PD_USEDEVMODECOPIESANDCOLLATE) != 0);
    // Without a printer, a file is the only place to print to.
    dialog.setOption(QAbstractPrintDialog::PrintToFile,
                     bNoPrinter || (dwFlags & (PD_HIDEPRINTTOFILE | PD_DISABLEPRINTTOFILE)) == 0);
    dialog.setMinMax(1, 0xFFFF);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : m_bSetupOnly(bPrintSetupOnly != FALSE), m_dwFlags(dwFlags), m_pParentWnd(pParentWnd)
{
}

CPrintDialog::~CPrintDialog()
{
    ReleasePrinterDC();
}

void CPrintDialog::ReleasePrinterDC()
{
    // Only the DC this dialog made: the handle may have been deleted and its address reused.
    if (HDC hdc = LivePrinterDc(m_hPrinterDC); hdc != nullptr && hdc->pJob->pOwner == this)
        ::DeleteDC(hdc);
    m_hPrinterDC = nullptr;
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
        if (!AskTheUser(pTarget.get(), m_dwFlags, m_pParentWnd))
            return IDCANCEL;
        break;
    }
    ReleasePrinterDC();
    m_pTarget = std::move(pTarget);
    if (!m_bSetupOnly)
        m_hPrinterDC = NewPrinterDc(*m_pTarget, this);
    return IDOK;
}
