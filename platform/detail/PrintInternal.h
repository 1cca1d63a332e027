// Private to the platform layer: print jobs behind printer DCs, and the watcher through which tests
// print without a printer.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSize>
#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

class CPrintDialog;

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
    int nFailStep = -1; // this job fails (0: StartDocA, n: EndPage of page n)
    std::string strDocName;
    std::string strOutput;
    const CPrintDialog* pOwner = nullptr;
};

HDC LivePrinterDc(HDC hdc); // nullptr unless hdc is a live printer DC with its job
HDC NewPrinterDc(const PrintTarget& target, const CPrintDialog* pOwner);
std::unique_ptr<QPrinter> MakePdfPrinter(const QString& path); // A4, 600 dpi, no margins
QString PdfNameFor(const std::string& strDocName); // a file name in the current directory

// What the next print dialog answers without showing itself.
struct SPrintDialogAnswer
{
    enum class Kind
    {
        Ask,
        Cancel,
        Pdf,
        Images
    };
    Kind eKind = Kind::Ask;
    std::string strPdfPath; // Pdf
    QSize imageSize;        // Images
    int nImageDpi = 0;      // Images
};

// Lets tests answer print dialogs, fail jobs and see what was printed. The program sets none.
class PrintWatcher
{
public:
    virtual SPrintDialogAnswer TakeDialogAnswer() = 0; // asked once by every DoModal
    virtual int TakeFailStep() = 0;                    // asked once by every StartDocA; -1: none
    // A job ended (bEnded) or was thrown away; pPages holds the pages of an image job that
    // ended, else it is nullptr.
    virtual void JobFinished(const PrintJob& job, bool bEnded, std::vector<QImage>* pPages) = 0;

protected:
    ~PrintWatcher() = default;
};
void SetPrintWatcher(PrintWatcher* pWatcher); // nullptr: print for real
PrintWatcher* CurrentPrintWatcher();

} // namespace platform_detail
