// Printing through the print dialog and a printer DC: mapping modes on printed pages, PDF output,
// failed and thrown-away jobs, and who deletes the printer DC.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Brush.h"
#include "platform/DC.h"
#include "platform/Pen.h"
#include "platform/PrintDialog.h"
#include "platform/PrintInfo.h"
#include "platform/WinGdi.h"
#include "platform/testsupport/TestSupport.h"
#include "tests/platform/WhenModal.h"

namespace
{

constexpr DWORD kChartFlags =
    PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr QRgb kBluePixel = 0xFF0000FF;
constexpr QRgb kRedPixel = 0xFFFF0000;

// Pages in a PDF file: its page objects, not the page tree.
int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = file.readAll();
    int n = 0;
    for (qsizetype at = data.indexOf("/Type /Page"); at >= 0;
         at = data.indexOf("/Type /Page", at + 1))
        n += data.mid(at + 11, 1) != "s" ? 1 : 0;
    return n;
}

DOCINFO DocInfo(const char* pszName)
{
    DOCINFO di = {};
    di.cbSize = 20; // the size callers built for 32-bit Windows still starts a document
    di.lpszDocName = pszName;
    return di;
}

class PrintingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_nBaseline = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    }
    void TearDown() override
    {
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), m_nBaseline)
            << "a DC or GDI object leaked";
    }
    QString Path(const char* pszName) const { return m_dir.filePath(QString::fromLatin1(pszName)); }

    QTemporaryDir m_dir;
    DWORD m_nBaseline = 0;
};

TEST_F(PrintingTest, AnisotropicMappingScalesEveryDrawingCallOntoThePage)
{
    PlatformPrintNextToImages(400, 300, 300);
    CPrintDialog dlg(FALSE, kChartFlags);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    CDC dc;
    ASSERT_TRUE(dc.Attach(dlg.GetPrinterDC()));
    dc.m_bPrinting = TRUE;
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 400);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 300);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 300);
    DOCINFO di = DocInfo("Mapped");
    EXPECT_GT(dc.StartDoc(&di), 0);
    CBrush blue(kBlue);
    const RECT cell{10, 10, 20, 20};
    dc.FillRect(&cell, &blue); // no page yet: nothing reaches the paper
    EXPECT_GT(dc.StartPage(), 0);
    // A logical page of 100 x 75 on 400 x 300 dots: four dots per unit.
    EXPECT_EQ(dc.SetMapMode(MM_ANISOTROPIC), MM_TEXT);
    dc.SetWindowExt(CSize(100, 75));
    dc.SetViewportExt(CSize(400, 300));
    dc.SetWindowOrg(0, 0);
    dc.FillRect(&cell, &blue);
    CPen red(PS_SOLID, 0, RGB(255, 0, 0));
    CPen* pOld = dc.SelectObject(&red);
    dc.MoveTo(0, 50);
    dc.LineTo(50, 50);
    dc.SelectObject(pOld);
    // The window origin moves everything drawn after it.
    dc.SetWindowOrg(-50, 0);
    dc.FillRect(&cell, &blue);
    dc.SetWindowOrg(0, 0);
    EXPECT_GT(dc.EndPage(), 0);
    EXPECT_GT(dc.EndDoc(), 0);
    dc.Detach();

    ASSERT_EQ(PlatformPrintedPageCount(), 1);
    const QImage page = PlatformPrintedPage(0);
    ASSERT_EQ(page.size(), QSize(400, 300));
    EXPECT_EQ(page.pixel(40, 40), kBluePixel);
    EXPECT_EQ(page.pixel(79, 79), kBluePixel);
    EXPECT_EQ(page.pixel(39, 40), kWhitePixel);
    EXPECT_EQ(page.pixel(80, 79), kWhitePixel) << "the right edge is excluded after scaling too";
    EXPECT_EQ(page.pixel(40, 80), kWhitePixel);
    EXPECT_EQ(page.pixel(240, 40), kBluePixel);
    EXPECT_EQ(page.pixel(279, 79), kBluePixel);
    EXPECT_EQ(page.pixel(239, 40), kWhitePixel);
    // A zero-width pen stays one dot wide whatever the scale.
    EXPECT_EQ(page.pixel(100, 200), kRedPixel);
    EXPECT_EQ(page.pixel(100, 199), kWhitePixel);
    EXPECT_EQ(page.pixel(100, 201), kWhitePixel);
    EXPECT_EQ(page.pixel(200, 200), kWhitePixel) << "the line leaves its end point";
    const SPrintRecord job = PlatformLastPrintJob();
    EXPECT_EQ(job.strDocName, "Mapped");
    EXPECT_EQ(job.nPages, 1);
    EXPECT_TRUE(job.bEnded);
    EXPECT_FALSE(job.bAborted);
}

TEST_F(PrintingTest, APdfJobHasOnePagePerStartPage)
{
    const QString path = Path("chart.pdf");
    PlatformPrintNextToPdf(path.toStdString());
    CPrintDialog dlg(FALSE, kChartFlags);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    CDC dc;
    ASSERT_TRUE(dc.Attach(dlg.GetPrinterDC()));
    // A4 at 600 dots per inch, no margins.
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_NEAR(dc.GetDeviceCaps(HORZRES), 4961, 4);
    EXPECT_NEAR(dc.GetDeviceCaps(VERTRES), 7016, 4);
    DOCINFO di = DocInfo("Chart");
    ASSERT_GT(dc.StartDoc(&di), 0);
    for (int i = 0; i < 2; ++i)
    {
        ASSERT_GT(dc.StartPage(), 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(SIZE{594, 841});
        dc.SetViewportExt(SIZE{dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)});
        dc.Rectangle(10, 10, 200, 100);
        dc.TextOut(20, 20, std::string("page"));
        ASSERT_GT(dc.EndPage(), 0);
    }
    EXPECT_GT(dc.EndDoc(), 0);
    dc.Detach();
    EXPECT_EQ(PdfPageCount(path), 2);
    const SPrintRecord job = PlatformLastPrintJob();
    EXPECT_EQ(job.strOutput, path.toStdString());
    EXPECT_EQ(job.nPages, 2);
}

TEST_F(PrintingTest, FailedJobsAreAbortedAndLeaveNoFile)
{
    // StartDoc fails: nothing is printed, the job is aborted.
    {
        const QString path = Path("never.pdf");
        PlatformPrintNextToPdf(path.toStdString());
        PlatformFailNextPrintJob(0);
        CPrintDialog dlg(FALSE, kChartFlags);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        CDC dc;
        ASSERT_TRUE(dc.Attach(dlg.GetPrinterDC()));
        DOCINFOA di = DocInfo("Refused");
        EXPECT_EQ(dc.StartDoc(&di), SP_ERROR);
        EXPECT_EQ(dc.StartPage(), SP_ERROR) << "no document, no page";
        EXPECT_GT(dc.AbortDoc(), 0);
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_TRUE(PlatformLastPrintJob().bAborted);
        EXPECT_EQ(PlatformLastPrintJob().strDocName, "Refused");
    }
    // EndPage of the first page fails: the half-written file goes with AbortDoc.
    {
        const QString path = Path("half.pdf");
        PlatformPrintNextToPdf(path.toStdString());
        PlatformFailNextPrintJob(1);
        CPrintDialog dlg(FALSE, kChartFlags);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        CDC dc;
        ASSERT_TRUE(dc.Attach(dlg.GetPrinterDC()));
        DOCINFOA di = DocInfo("Broken");
        ASSERT_GT(dc.StartDoc(&di), 0);
        ASSERT_GT(dc.StartPage(), 0);
        EXPECT_EQ(dc.EndPage(), SP_ERROR);
        EXPECT_GT(dc.AbortDoc(), 0);
        EXPECT_FALSE(QFile::exists(path));
        const SPrintRecord job = PlatformLastPrintJob();
        EXPECT_TRUE(job.bAborted);
        EXPECT_FALSE(job.bEnded);
        EXPECT_EQ(job.nPages, 0);
    }
    // A DC deleted in the middle of a document throws the document away.
    {
        const QString path = Path("dropped.pdf");
        PlatformPrintNextToPdf(path.toStdString());
        CPrintDialog dlg(FALSE, kChartFlags);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        HDC hdc = dlg.GetPrinterDC();
        CDC dc;
        ASSERT_TRUE(dc.Attach(hdc));
        DOCINFOA di = DocInfo("Dropped");
        ASSERT_GT(dc.StartDoc(&di), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.Detach();
        EXPECT_TRUE(DeleteDC(hdc));
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_TRUE(PlatformLastPrintJob().bAborted);
    }
}

TEST_F(PrintingTest, TheDialogOwnsItsPrinterDcAndCancelGivesNone)
{
    {
        PlatformCancelNextPrintDialog();
        CPrintDialog dlg(FALSE, kChartFlags);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.GetPrinterDC(), nullptr);
    }
    {
        PlatformPrintNextToImages(50, 50, 96);
        CPrintDialog dlg(FALSE, kChartFlags);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_NE(dlg.GetPrinterDC(), nullptr);
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), m_nBaseline + 1);
    } // the dialog deletes it
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), m_nBaseline);
    {
        PlatformPrintNextToImages(50, 50, 96);
        CPrintDialog dlg(FALSE, kChartFlags);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(DeleteDC(dlg.GetPrinterDC())); // deleting it first is fine too
    }
    {
        // Setup only: a choice, no DC.
        PlatformPrintNextToImages(60, 40, 72);
        CPrintDialog dlg(TRUE);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.GetPrinterDC(), nullptr);
    }
}

TEST_F(PrintingTest, TheRealDialogPrintsToAPdfFileWithoutAPrinter)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is configured: the dialog would print on it";
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    // Cancelled with Escape: no DC.
    WhenModal<QPrintDialog>([](QPrintDialog* p) { QTest::keyClick(p, Qt::Key_Escape); });
    {
        CPrintDialog dlg(FALSE, kChartFlags);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.GetPrinterDC(), nullptr);
    }
    // Confirmed: a PDF in the current directory.
    bool bSawDialog = false;
    WhenModal<QPrintDialog>(
        [&](QPrintDialog* p)
        {
            bSawDialog = true;
            p->accept();
        });
    {
        CPrintDialog dlg(FALSE, kChartFlags);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(bSawDialog);
        CDC dc;
        ASSERT_TRUE(dc.Attach(dlg.GetPrinterDC()));
        DOCINFO di = DocInfo("Real");
        ASSERT_GT(dc.StartDoc(&di), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.Rectangle(0, 0, 100, 100);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
        dc.Detach();
    }
    const SPrintRecord job = PlatformLastPrintJob();
    QDir::setCurrent(previous);
    EXPECT_TRUE(job.bEnded);
    ASSERT_FALSE(job.strOutput.empty());
    const QString output = QString::fromStdString(job.strOutput);
    EXPECT_TRUE(output.startsWith(m_dir.path())) << job.strOutput;
    EXPECT_EQ(PdfPageCount(output), 1);
}

} // namespace
