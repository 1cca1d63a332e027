// Hooks for tests and benchmarks that drive the program: code run later on the UI thread, timer
// periods, and printing without a printer. Free of Qt types, so a benchmark can use them without
// seeing the toolkit; only tests and benchmarks link them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/ShellApi.h"
#include "platform/WinTypes.h"

// Runs fn once on the UI thread after nMilliseconds, also inside a modal dialog's loop.
void PlatformRunLater(int nMilliseconds, std::function<void()> fn);
// The period of a running timer after clamping; FALSE when the window has no such timer.
BOOL GetTimerPeriod(HWND hWnd, UINT_PTR nIDEvent, UINT* puElapse);

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
// Pages of the last job that printed into images (see PlatformPrintNextToImages), first page 0;
// the pages themselves are in TestSupport.h.
int PlatformPrintedPageCount();

// A dropped file list as a drop of these paths on hOwner makes it, without the drag: it belongs to
// hOwner until DragFinish. PlatformLiveDropLists counts the lists not given back yet.
HDROP PlatformNewDropList(HWND hOwner, std::vector<std::string> vecPaths);
std::size_t PlatformLiveDropLists();
