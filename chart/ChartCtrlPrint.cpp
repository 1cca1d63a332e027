// Printing the chart as a one-page document: the screen drawing laid out on a logical page of
// three quarters of the printed area's screen size, without background or window edge.
#include "chart/ChartCtrl.h"
#include "chart/DCGuard.h"
#include "platform/PrintDialog.h"
#include "platform/PrintInfo.h"
#include "platform/WinGdi.h"
#include "platform/WinUser.h"

#include <memory>

namespace
{

constexpr int kDocInfoSize = 20;

// dots * screen / printer, then three quarters of it, each step truncated as int arithmetic.
std::int32_t ToLogical(int nDots, int nScreenDpi, int nPrinterDpi)
{
    // A printer that reports no resolution is taken to match the screen.
    if (nPrinterDpi <= 0)
        nPrinterDpi = nScreenDpi;
    if (nPrinterDpi <= 0)
        return nDots * 3 / 4;
    const std::int64_t nScreenDots = std::int64_t(nDots) * nScreenDpi / nPrinterDpi;
    return std::int32_t(nScreenDots * 3 / 4);
}

} // namespace

void CChartCtrl::PrintChart(const std::string& strDocName, CPrintDialog* pPrintDialog)
{
    // A dialog shown here gives up its printer DC when the job is over; a caller's dialog keeps
    // its own.
    std::unique_ptr<CPrintDialog> pOwnDialog;
    HDC hPrinter = nullptr;
    if (pPrintDialog)
        hPrinter = pPrintDialog->GetPrinterDC();
    else
    {
        pOwnDialog = std::make_unique<CPrintDialog>(
            FALSE,
            PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE,
            nullptr);
        if (pOwnDialog->DoModal() != IDOK)
            return;
        hPrinter = pOwnDialog->GetPrinterDC();
    }
    CDC dc;
    if (!hPrinter || !dc.Attach(hPrinter))
        return;
    dc.m_bPrinting = TRUE;

    DOCINFO docInfo = {};
    docInfo.cbSize = kDocInfoSize;
    docInfo.lpszDocName = strDocName.c_str();
    bool bFailed = dc.StartDoc(&docInfo) <= 0;

    CPrintInfo info;
    if (!bFailed)
    {
        info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        PreparePrint(&dc, &info);
        for (UINT nPage = info.GetMinPage(); nPage <= info.GetMaxPage() && !bFailed; ++nPage)
        {
            if (dc.StartPage() <= 0)
            {
                bFailed = true;
                break;
            }
            info.m_nCurPage = nPage;
            PrintPage(&dc, &info);
            if (dc.EndPage() <= 0)
                bFailed = true;
        }
    }
    FinishPrint(&dc, &info);
    if (bFailed)
        dc.AbortDoc();
    else
        dc.EndDoc();
    dc.Detach();
    if (pOwnDialog)
        ::DeleteDC(hPrinter);
}

void CChartCtrl::PreparePrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo)
        return;
    const int nPrinterDpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    const int nPrinterDpiX = pDC->GetDeviceCaps(LOGPIXELSX);
    int nScreenDpiY = 0;
    int nScreenDpiX = 0;
    if (m_dcBuffer.GetSafeHdc())
    {
        nScreenDpiY = m_dcBuffer.GetDeviceCaps(LOGPIXELSY);
        nScreenDpiX = m_dcBuffer.GetDeviceCaps(LOGPIXELSX);
    }
    else
    {
        // No refresh has made a back buffer yet: ask the screen itself.
        HDC hScreen = ::GetDC(nullptr);
        nScreenDpiY = ::GetDeviceCaps(hScreen, LOGPIXELSY);
        nScreenDpiX = ::GetDeviceCaps(hScreen, LOGPIXELSX);
        ::ReleaseDC(nullptr, hScreen);
    }

    m_printFont.DeleteObject();
    m_printFont.CreateFont(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0,
                           "Arial");
    CDCGuard guard(pDC);
    guard.SelectFont(&m_printFont);

    const int nHorzRes = pDC->GetDeviceCaps(HORZRES);
    const int nVertRes = pDC->GetDeviceCaps(VERTRES);
    m_szPrintDevice = {nHorzRes, nVertRes};
    m_szPrintLogical = {ToLogical(nHorzRes, nScreenDpiX, nPrinterDpiX),
                        ToLogical(nVertRes, nScreenDpiY, nPrinterDpiY)};

    // The chart always fits one page.
    pInfo->SetMaxPage(1);
    pInfo->m_nCurPage = 1;
}

void CChartCtrl::PrintPage(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo)
        return;
    CDCGuard guard(pDC);
    guard.SelectFont(&m_printFont);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_szPrintLogical);
    pDC->SetViewportExt(m_szPrintDevice);
    pDC->SetWindowOrg(0, 0);

    // Laid out for the page: plot, axes and title describe the page until the next refresh.
    pInfo->m_rectDraw.SetRect(0, 0, m_szPrintLogical.cx, m_szPrintLogical.cy);
    PaintContents(pDC, pInfo->m_rectDraw);

    pDC->SetWindowOrg(0, 0);
}

void CChartCtrl::FinishPrint(CDC*, CPrintInfo*)
{
    m_printFont.DeleteObject();
    // Lays the chart out for the window again.
    RefreshChart();
}
