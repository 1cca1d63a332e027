// Hooks for tests and benchmarks that drive the chart: printing without a printer. Free of Qt
// types, so a benchmark can use them without seeing the toolkit; only tests and benchmarks link
// them.
#pragma once

#include <string>

#include "platform/WinTypes.h"

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
