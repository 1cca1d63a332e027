// Printing: printer DCs over QPrinter (a printer or a PDF file) or page images, and the document
// calls from StartDoc to EndDoc.
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <utility>

#include "platform/DC.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/PrintInternal.h"

using namespace platform_detail;

namespace
{

constexpr int kPdfDpi = 600;

PrintWatcher* g_pWatcher = nullptr;

void Finished(PrintJob& job, bool bEnded, std::vector<QImage>* pPages)
{
    if (g_pWatcher != nullptr)
        g_pWatcher->JobFinished(job, bEnded, pPages);
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

// Throws the document away: no file is left.
int AbortJob(HDC hdc)
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
    Finished(job, false, nullptr);
    return 1;
}

} // namespace

namespace platform_detail
{

void SetPrintWatcher(PrintWatcher* pWatcher)
{
    g_pWatcher = pWatcher;
}

PrintWatcher* CurrentPrintWatcher()
{
    return g_pWatcher;
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
        AbortJob(hdc);
    delete std::exchange(hdc->pJob, nullptr);
}

} // namespace platform_detail

int CDC::StartDoc(LPDOCINFO lpdi)
{
    HDC hdc = m_hDC;
    if (LivePrinterDc(hdc) == nullptr || lpdi == nullptr || hdc->pJob->bDocOpen)
        return SP_ERROR;
    PrintJob& job = *hdc->pJob;
    job.strDocName = lpdi->lpszDocName != nullptr ? lpdi->lpszDocName : "";
    job.strOutput.clear();
    job.nPagesStarted = job.nPagesEnded = 0;
    job.pages.clear();
    job.nFailStep = g_pWatcher != nullptr ? g_pWatcher->TakeFailStep() : -1;
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

int CDC::StartPage()
{
    HDC hdc = m_hDC;
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

int CDC::EndPage()
{
    HDC hdc = m_hDC;
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

int CDC::EndDoc()
{
    HDC hdc = m_hDC;
    if (LivePrinterDc(hdc) == nullptr || !hdc->pJob->bDocOpen)
        return SP_ERROR;
    PrintJob& job = *hdc->pJob;
    if (job.bPageOpen)
        EndPage();
    bool bOk = true;
    if (job.pPrinter != nullptr)
        bOk = job.painter.end();
    job.bDocOpen = false;
    Finished(job, true, job.pPrinter == nullptr ? &job.pages : nullptr);
    job.pages.clear();
    return bOk ? 1 : SP_ERROR;
}

int CDC::AbortDoc()
{
    return AbortJob(m_hDC);
}
