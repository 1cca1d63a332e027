// Printing: the print dialog, printer DCs over QPrinter (a printer or a PDF file) or page images,
// and the document calls from StartDocA to EndDoc.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/DC.h"
#include "platform/PrintDialog.h"
#include "platform/PrintInfo.h"
#include "platform/TestSupport.h"
#include "platform/WinGdi.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace platform_detail
{

// Where a print dialog's output goes: a QPrinter (a printer or a PDF file), or page images.
struct PrintTarget
{
    std::unique_ptr<QPrinter> pPrinter;
    QSize imageSize;
    int nImageDpi = 0;
};

struct PrintJob
{
    QPrinter* pPrinter = nullptr; // the dialog's; nullptr when printing into images
    QSize imageSize;
    int nImageDpi = 0;
    QImage page;
    std::vector<QImage> pages;
    QPainter painter;
    bool bDocOpen = false;
    bool bPageOpen = false;
    int nPagesStarted = 0;
    int nPagesEnded = 0;
    int nFailStep = -1; // a test asked this job to fail (0: StartDocA, n: EndPage of page n)
    std::string strDocName;
    std::string strOutput;
    const CPrintDialog* pOwner = nullptr;
};

} // namespace platform_detail

namespace
{

constexpr int kPdfDpi = 600;

enum class Answer
{
    Ask,
    Cancel,
    Pdf,
    Images
};

struct SPrintHooks
{
    Answer eAnswer = Answer::Ask;
    std::string strPdfPath;
    QSize imageSize;
    int nImageDpi = 0;
    int nFailStep = -1;
    SPrintRecord lastJob;
    std::vector<QImage> printedPages;
};

SPrintHooks& Hooks()
{
    static SPrintHooks s_hooks;
    return s_hooks;
}

std::unique_ptr<QPrinter> MakePdfPrinter(const QString& path)
{
    auto pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pPrinter->setOutputFormat(QPrinter::PdfFormat);
    pPrinter->setResolution(kPdfDpi);
    pPrinter->setPageSize(QPageSize(QPageSize::A4));
    pPrinter->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pPrinter->setOutputFileName(path);
    return pPrinter;
}

// A file name made from a document name, in the current directory.
QString PdfNameFor(const std::string& strDocName)
{
    QString name = QString::fromUtf8(strDocName.c_str()).trimmed();
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    if (name.isEmpty())
        name = QStringLiteral("document");
    return QDir::current().absoluteFilePath(name + QStringLiteral(".pdf"));
}

HDC LivePrinterDc(HDC hdc)
{
    return LiveDc(hdc) != nullptr && hdc->eKind == DcKind::Printer && hdc->pJob != nullptr
               ? hdc
               : nullptr;
}

HDC NewPrinterDc(const PrintTarget& target, const CPrintDialog* pOwner)
{
    HDC hdc = NewDc(DcKind::Printer);
    auto* pJob = new PrintJob;
    pJob->pOwner = pOwner;
    if (target.pPrinter)
    {
        QPrinter* pPrinter = target.pPrinter.get();
        pJob->pPrinter = pPrinter;
        hdc->nDpiX = hdc->nDpiY = pPrinter->resolution();
        hdc->nHorzRes = pPrinter->width();
        hdc->nVertRes = pPrinter->height();
    }
    else
    {
        pJob->imageSize = target.imageSize;
        pJob->nImageDpi = target.nImageDpi;
        hdc->nDpiX = hdc->nDpiY = target.nImageDpi;
        hdc->nHorzRes = target.imageSize.width();
        hdc->nVertRes = target.imageSize.height();
    }
    hdc->pJob = pJob;
    return hdc;
}

void Record(const PrintJob& job, bool bEnded)
{
    SPrintRecord& r = Hooks().lastJob;
    r = SPrintRecord{};
    r.strDocName = job.strDocName;
    r.strOutput = job.strOutput;
    r.nPages = job.nPagesEnded;
    r.bEnded = bEnded;
    r.bAborted = !bEnded;
}

bool BeginImagePage(PrintJob& job)
{
    job.page = QImage(job.imageSize, QImage::Format_RGB32);
    if (job.page.isNull())
        return false;
    job.page.fill(Qt::white);
    const int nDotsPerMeter = static_cast<int>(job.nImageDpi / 0.0254 + 0.5);
    job.page.setDotsPerMeterX(nDotsPerMeter);
    job.page.setDotsPerMeterY(nDotsPerMeter);
    return job.painter.begin(&job.page);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Printer DCs
// ---------------------------------------------------------------------------------------------
namespace platform_detail
{

QPainter* PrinterPainter(HDC hdc)
{
    PrintJob* pJob = hdc->pJob;
    return pJob != nullptr && pJob->bPageOpen && pJob->painter.isActive() ? &pJob->painter
                                                                          : nullptr;
}

void FreePrintJob(HDC hdc)
{
    if (hdc->pJob == nullptr)
        return;
    if (hdc->pJob->bDocOpen)
        AbortDoc(hdc);
    delete std::exchange(hdc->pJob, nullptr);
}

} // namespace platform_detail

int StartDocA(HDC hdc, const DOCINFOA* lpdi)
{
    if (LivePrinterDc(hdc) == nullptr || lpdi == nullptr || hdc->pJob->bDocOpen)
        return SP_ERROR;
    PrintJob& job = *hdc->pJob;
    job.strDocName = lpdi->lpszDocName != nullptr ? lpdi->lpszDocName : "";
    job.strOutput.clear();
    job.nPagesStarted = job.nPagesEnded = 0;
    job.pages.clear();
    job.nFailStep = std::exchange(Hooks().nFailStep, -1);
    if (job.nFailStep == 0)
        return SP_ERROR;
    if (job.pPrinter != nullptr)
    {
        QPrinter& printer = *job.pPrinter;
        printer.setDocName(QString::fromUtf8(job.strDocName.c_str()));
        if (lpdi->lpszOutput != nullptr && *lpdi->lpszOutput != '\0')
            printer.setOutputFileName(QString::fromUtf8(lpdi->lpszOutput));
        else if (printer.outputFormat() == QPrinter::PdfFormat &&
                 printer.outputFileName().isEmpty())
            printer.setOutputFileName(PdfNameFor(job.strDocName));
        job.strOutput = printer.outputFileName().toStdString();
        // Opening the output now makes an unwritable file fail here, as a missing printer would.
        if (!job.painter.begin(&printer))
            return SP_ERROR;
    }
    job.bDocOpen = true;
    job.bPageOpen = false;
    static int s_nJobId = 0;
    return ++s_nJobId;
}

int StartPage(HDC hdc)
{
    if (LivePrinterDc(hdc) == nullptr || !hdc->pJob->bDocOpen || hdc->pJob->bPageOpen)
        return SP_ERROR;
    PrintJob& job = *hdc->pJob;
    if (job.pPrinter != nullptr)
    {
        // The painter opened the first page with the document.
        if (job.nPagesStarted > 0 && !job.pPrinter->newPage())
            return SP_ERROR;
    }
    else if (!BeginImagePage(job))
    {
        return SP_ERROR;
    }
    job.bPageOpen = true;
    hdc->bClipStale = true; // a new page or a new painter
    ++job.nPagesStarted;
    return 1;
}

int EndPage(HDC hdc)
{
    if (LivePrinterDc(hdc) == nullptr || !hdc->pJob->bPageOpen)
        return SP_ERROR;
    PrintJob& job = *hdc->pJob;
    job.bPageOpen = false;
    if (job.pPrinter == nullptr)
    {
        job.painter.end();
        job.pages.push_back(job.page);
        job.page = QImage();
    }
    if (job.nFailStep == job.nPagesStarted)
        return SP_ERROR;
    ++job.nPagesEnded;
    return 1;
}

int EndDoc(HDC hdc)
{
    if (LivePrinterDc(hdc) == nullptr || !hdc->pJob->bDocOpen)
        return SP_ERROR;
    PrintJob& job = *hdc->pJob;
    if (job.bPageOpen)
        EndPage(hdc);
    bool bOk = true;
    if (job.pPrinter != nullptr)
        bOk = job.painter.end();
    else
        Hooks().printedPages = std::move(job.pages);
    job.pages.clear();
    job.bDocOpen = false;
    Record(job, true);
    return bOk ? 1 : SP_ERROR;
}

int AbortDoc(HDC hdc)
{
    if (LivePrinterDc(hdc) == nullptr)
        return SP_ERROR;
    PrintJob& job = *hdc->pJob;
    if (job.bDocOpen)
    {
        if (job.pPrinter != nullptr)
        {
            job.pPrinter->abort();
            if (job.painter.isActive())
                job.painter.end();
            // A thrown-away document leaves no half-written file behind.
            if (job.pPrinter->outputFormat() == QPrinter::PdfFormat && !job.strOutput.empty())
                QFile::remove(QString::fromUtf8(job.strOutput.c_str()));
        }
        else if (job.painter.isActive())
        {
            job.painter.end();
        }
    }
    job.bDocOpen = false;
    job.bPageOpen = false;
    job.pages.clear();
    job.page = QImage();
    Record(job, false);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// CDC
// ---------------------------------------------------------------------------------------------
int CDC::StartDoc(LPDOCINFO lpDocInfo)
{
    return ::StartDocA(m_hDC, lpDocInfo);
}

int CDC::StartDoc(LPCTSTR lpszDocName)
{
    DOCINFOA di = {};
    di.cbSize = sizeof di;
    di.lpszDocName = lpszDocName;
    return ::StartDocA(m_hDC, &di);
}

int CDC::StartPage()
{
    return ::StartPage(m_hDC);
}
int CDC::EndPage()
{
    return ::EndPage(m_hDC);
}
int CDC::EndDoc()
{
    return ::EndDoc(m_hDC);
}
int CDC::AbortDoc()
{
    return ::AbortDoc(m_hDC);
}

// ---------------------------------------------------------------------------------------------
// CPrintDialog
// ---------------------------------------------------------------------------------------------
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
    SPrintHooks& hooks = Hooks();
    const Answer eAnswer = std::exchange(hooks.eAnswer, Answer::Ask);
    auto pTarget = std::make_unique<PrintTarget>();
    switch (eAnswer)
    {
    case Answer::Cancel:
        return IDCANCEL;
    case Answer::Pdf:
        pTarget->pPrinter = MakePdfPrinter(QString::fromUtf8(hooks.strPdfPath.c_str()));
        break;
    case Answer::Images:
        pTarget->imageSize = hooks.imageSize;
        pTarget->nImageDpi = hooks.nImageDpi;
        break;
    case Answer::Ask:
    {
        const bool bNoPrinter = QPrinterInfo::availablePrinters().isEmpty();
        pTarget->pPrinter =
            bNoPrinter
                ? MakePdfPrinter(PdfNameFor(QCoreApplication::applicationName().toStdString()))
                : std::make_unique<QPrinter>(QPrinter::HighResolution);
        QWidget* pOwner = nullptr;
        if (m_pParentWnd != nullptr && LiveWnd(m_pParentWnd->m_hWnd) != nullptr)
            pOwner = m_pParentWnd->m_hWnd->pWidget;
        else
            pOwner = QApplication::activeModalWidget() != nullptr
                         ? QApplication::activeModalWidget()
                         : QApplication::activeWindow();
        QPrintDialog dialog(pTarget->pPrinter.get(), pOwner);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, (m_pd.Flags & PD_NOSELECTION) == 0);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, (m_pd.Flags & PD_NOPAGENUMS) == 0);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies,
                         (m_pd.Flags & PD_USEDEVMODECOPIESANDCOLLATE) != 0);
        // Without a printer, a file is the only place to print to.
        dialog.setOption(QAbstractPrintDialog::PrintToFile,
                         bNoPrinter ||
                             (m_pd.Flags & (PD_HIDEPRINTTOFILE | PD_DISABLEPRINTTOFILE)) == 0);
        if (m_pd.nMinPage <= m_pd.nMaxPage)
            dialog.setMinMax(m_pd.nMinPage, m_pd.nMaxPage);
        if (dialog.exec() != QDialog::Accepted)
            return IDCANCEL;
        QPrinter& printer = *pTarget->pPrinter;
        m_pd.nCopies = static_cast<WORD>(std::clamp(printer.copyCount(), 1, 0xFFFF));
        m_pd.Flags &= ~(PD_SELECTION | PD_PAGENUMS | PD_PRINTTOFILE | PD_COLLATE);
        if (printer.printRange() == QPrinter::PageRange)
        {
            m_pd.Flags |= PD_PAGENUMS;
            m_pd.nFromPage = static_cast<WORD>(printer.fromPage());
            m_pd.nToPage = static_cast<WORD>(printer.toPage());
        }
        else if (printer.printRange() == QPrinter::Selection)
        {
            m_pd.Flags |= PD_SELECTION;
        }
        if (!printer.outputFileName().isEmpty())
            m_pd.Flags |= PD_PRINTTOFILE;
        if (printer.collateCopies())
            m_pd.Flags |= PD_COLLATE;
        break;
    }
    }
    ReleasePrinterDC();
    m_pTarget = std::move(pTarget);
    if ((m_pd.Flags & PD_PRINTSETUP) == 0)
        CreatePrinterDC();
    return IDOK;
}

// ---------------------------------------------------------------------------------------------
// CPrintInfo
// ---------------------------------------------------------------------------------------------
CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION))
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);
}

CPrintInfo::~CPrintInfo()
{
    delete m_pPD;
}

void CPrintInfo::SetMinPage(UINT nMinPage)
{
    m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage);
}
void CPrintInfo::SetMaxPage(UINT nMaxPage)
{
    m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage);
}
UINT CPrintInfo::GetMinPage() const
{
    return m_pPD->m_pd.nMinPage;
}
UINT CPrintInfo::GetMaxPage() const
{
    return m_pPD->m_pd.nMaxPage;
}
UINT CPrintInfo::GetFromPage() const
{
    return m_pPD->m_pd.nFromPage;
}
UINT CPrintInfo::GetToPage() const
{
    return m_pPD->m_pd.nToPage;
}

// ---------------------------------------------------------------------------------------------
// Test support
// ---------------------------------------------------------------------------------------------
void PlatformCancelNextPrintDialog()
{
    Hooks().eAnswer = Answer::Cancel;
}

void PlatformPrintNextToPdf(const std::string& strPath)
{
    Hooks().eAnswer = Answer::Pdf;
    Hooks().strPdfPath = strPath;
}

void PlatformPrintNextToImages(int nWidth, int nHeight, int nDpi)
{
    Hooks().eAnswer = Answer::Images;
    Hooks().imageSize = QSize(std::max(1, nWidth), std::max(1, nHeight));
    Hooks().nImageDpi = std::max(1, nDpi);
}

void PlatformFailNextPrintJob(int nStep)
{
    Hooks().nFailStep = nStep;
}

SPrintRecord PlatformLastPrintJob()
{
    return Hooks().lastJob;
}

int PlatformPrintedPageCount()
{
    return static_cast<int>(Hooks().printedPages.size());
}

QImage PlatformPrintedPage(int nIndex)
{
    const auto& pages = Hooks().printedPages;
    return nIndex >= 0 && nIndex < static_cast<int>(pages.size())
               ? pages[static_cast<size_t>(nIndex)]
               : QImage();
}
