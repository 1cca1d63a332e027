// Test hooks: a print watcher that answers print dialogs and records jobs.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/detail/PrintInternal.h"
#include "platform/testsupport/TestSupport.h"

using namespace platform_detail;

namespace
{

class CPrintRecorder final : public PrintWatcher
{
public:
    SPrintDialogAnswer TakeDialogAnswer() override
    {
        return std::exchange(m_answer, SPrintDialogAnswer{});
    }
    int TakeFailStep() override { return std::exchange(m_nFailStep, -1); }
    void JobFinished(const PrintJob& job, bool bEnded, std::vector<QImage>* pPages) override
    {
        if (pPages != nullptr)
            m_vecPages = std::move(*pPages);
        m_lastJob = SPrintRecord{job.strDocName, job.strOutput, job.nPagesEnded, bEnded, !bEnded};
    }

    SPrintDialogAnswer m_answer;
    int m_nFailStep = -1;
    SPrintRecord m_lastJob;
    std::vector<QImage> m_vecPages;
};

// Never destroyed: a print DC deleted during static destruction still reports to it.
CPrintRecorder& Recorder()
{
    static CPrintRecorder* s_pRecorder = []
    {
        auto* p = new CPrintRecorder;
        SetPrintWatcher(p);
        return p;
    }();
    return *s_pRecorder;
}

// Jobs are recorded from the start, also when a test only reads the record afterwards.
[[maybe_unused]] const bool g_bRecording = (Recorder(), true);

} // namespace

void PlatformCancelNextPrintDialog()
{
    Recorder().m_answer.eKind = SPrintDialogAnswer::Kind::Cancel;
}

void PlatformPrintNextToPdf(const std::string& strPath)
{
    Recorder().m_answer.eKind = SPrintDialogAnswer::Kind::Pdf;
    Recorder().m_answer.strPdfPath = strPath;
}

void PlatformPrintNextToImages(int nWidth, int nHeight, int nDpi)
{
    SPrintDialogAnswer& answer = Recorder().m_answer;
    answer.eKind = SPrintDialogAnswer::Kind::Images;
    answer.imageSize = QSize(std::max(1, nWidth), std::max(1, nHeight));
    answer.nImageDpi = std::max(1, nDpi);
}

void PlatformFailNextPrintJob(int nStep)
{
    Recorder().m_nFailStep = nStep;
}

SPrintRecord PlatformLastPrintJob()
{
    return Recorder().m_lastJob;
}

int PlatformPrintedPageCount()
{
    return static_cast<int>(Recorder().m_vecPages.size());
}

QImage PlatformPrintedPage(int nIndex)
{
    const auto& pages = Recorder().m_vecPages;
    return nIndex >= 0 && nIndex < static_cast<int>(pages.size())
               ? pages[static_cast<size_t>(nIndex)]
               : QImage();
}
