// Helpers for tests that drive real windows (Qt types allowed: only tests include this header).
#pragma once

#include <QRect>
#include <QStyle>
#include <functional>
#include <string>

#include "platform/WinTypes.h"

class QImage;
class QScrollBar;
class QWidget;

// The widget that carries a window, for QTest input; nullptr for a dead handle.
QWidget* WidgetFromHwnd(HWND hWnd);
HWND HwndFromWidget(const QWidget* pWidget);
// Runs fn once on the UI thread after nMilliseconds, also inside a modal dialog's loop.
void PlatformRunLater(int nMilliseconds, std::function<void()> fn);
// The period of a running timer after clamping; FALSE when the window has no such timer.
BOOL GetTimerPeriod(HWND hWnd, UINT_PTR nIDEvent, UINT* puElapse);
// Where a part of a scroll bar (an arrow, a page area, the thumb) lies in the bar's own
// coordinates, for clicking it.
QRect ScrollBarPartRect(QScrollBar* pBar, QStyle::SubControl ePart);

// Printing without a printer and without showing anything: the next CPrintDialog::DoModal (only
// that one) answers at once.
//  - PlatformCancelNextPrintDialog: it answers IDCANCEL.
//  - PlatformPrintNextToPdf: IDOK; the job writes a PDF file at strPath (A4, 600 dots per inch,
//    no margins: HORZRES x VERTRES = 4958 x 7017 as Qt rounds A4).
//  - PlatformPrintNextToImages: IDOK; every page is drawn into a white nWidth x nHeight image at
//    nDpi dots per inch, kept for PlatformPrintedPage when the job ends.
void PlatformCancelNextPrintDialog();
void PlatformPrintNextToPdf(const std::string& strPath);
void PlatformPrintNextToImages(int nWidth, int nHeight, int nDpi);
// The next print job fails: at StartDocA when nStep is 0, else at the EndPage of page nStep.
void PlatformFailNextPrintJob(int nStep);

// The last print job that ended (EndDoc) or was thrown away (AbortDoc, or its DC deleted).
struct SPrintRecord
{
    std::string strDocName;
    std::string strOutput; // the PDF file, empty for images
    int nPages = 0;        // pages ended with EndPage
    bool bEnded = false;
    bool bAborted = false;
};
SPrintRecord PlatformLastPrintJob();
// Pages of the last job that printed into images (see PlatformPrintNextToImages), first page 0.
int PlatformPrintedPageCount();
QImage PlatformPrintedPage(int nIndex);
