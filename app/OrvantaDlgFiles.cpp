// The main window's files: loading (button, menu, command line, drop, recent list), choosing a
// file's layout in the import dialog, the recent files in the file menu, the chart as a picture
// and on paper.
#include "app/OrvantaDlg.h"

#include "app/FileDialogs.h"
#include "app/ImportDlg.h"
#include "app/Resources.h"
#include "chart/RefreshHold.h"
#include "core/KLineMessages.h"
#include "core/ReplayChart.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace
{

// Longer paths keep their first folder and their file name around an ellipsis.
constexpr std::size_t kMaxShownPath = 60;

// Cut only at '/', so a name in any script stays whole.
std::string ShortenedPath(const std::string& strPath)
{
    if (strPath.size() <= kMaxShownPath)
        return strPath;
    const std::size_t nFirstEnd = strPath.find('/', 1);
    const std::size_t nLastStart = strPath.rfind('/');
    if (nFirstEnd == std::string::npos || nFirstEnd >= nLastStart)
        return strPath;
    return strPath.substr(0, nFirstEnd + 1) + "…" + strPath.substr(nLastStart);
}

// The local files of a drag; empty when anything else is dragged.
QStringList LocalFiles(const QMimeData* pData)
{
    QStringList files;
    if (pData == nullptr || !pData->hasUrls())
        return files;
    for (const QUrl& url : pData->urls())
    {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

// The picture format a file name's extension names; nullptr for none the chart writes.
const char* ImageFormat(const std::string& strPath)
{
    std::string strExt = std::filesystem::path(strPath).extension().string();
    for (char& c : strExt)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (strExt == ".png")
        return "PNG";
    if (strExt == ".jpg" || strExt == ".jpeg")
        return "JPG";
    if (strExt == ".bmp")
        return "BMP";
    return nullptr;
}

// Enough lines for the import dialog to show and preview.
constexpr std::size_t kImportSampleBytes = 64 * 1024;

// Only a text file whose lines gave no bar, or could be read more than one way, is helped by
// choosing its layout; nothing mends a file that is missing, empty or binary.
bool CanBeImported(const SKLineLoad& refused)
{
    return refused.m_layout.m_eKind == EKLineFileKind::Text &&
           (refused.m_eError == EKLineLoadError::UnknownLayout ||
            refused.m_eError == EKLineLoadError::AmbiguousLayout ||
            refused.m_eError == EKLineLoadError::NoBars);
}

} // namespace

std::string RecentFileMenuText(int nIndex, const std::string& strPath)
{
    // A '&' of the name would otherwise take the mnemonic.
    std::string strShown;
    for (char c : ShortenedPath(strPath))
    {
        strShown += c;
        if (c == '&')
            strShown += '&';
    }
    return StringFormat("&%d %s", nIndex + 1, strShown.c_str());
}

void COrvantaDlg::LoadAtStart(const std::string& strPath, const std::string& strStartDate)
{
    if (strPath.empty())
        return;
    m_strStartDate = strStartDate;
    std::error_code ec;
    const std::filesystem::path fullPath = std::filesystem::absolute(strPath, ec);
    const std::string strFullPath = ec ? strPath : fullPath.lexically_normal().string();
    // Once the window runs, so a failure is shown above it.
    QTimer::singleShot(0, this, [this, strFullPath] { LoadChosenFile(strFullPath); });
}

void COrvantaDlg::OnLoad()
{
    std::string strPath;
    {
        const CModalPause pause(*this);
        strPath = ChooseFileToOpen(this, LoadAppString(IDS_FILE_FILTER));
    }
    LoadChosenFile(strPath);
}

void COrvantaDlg::LoadChosenFile(const std::string& strPath)
{
    if (strPath.empty())
        return;
    // The running practice stays until the new file has been read with at least one bar.
    SReadFile file;
    SKLineLoad refused;
    if (CPracticeSession::ReadFile(strPath, ChosenFileLayout(m_settings, strPath), &file, &refused))
    {
        OpenReadFile(std::move(file), nullptr);
        return;
    }
    if (!CanBeImported(refused))
    {
        RememberLoad(strPath, false);
        ShowMessage(
            FormatAppText(IDS_LOAD_FAILED, strPath.c_str(), KLineLoadFailureText(refused).c_str()));
        return;
    }
    const unsigned nPromptId = refused.m_eError == EKLineLoadError::AmbiguousLayout
                                   ? IDS_IMPORT_AMBIGUOUS
                                   : IDS_IMPORT_UNKNOWN;
    if (!ImportFile(strPath, refused.m_layout, nPromptId, &file))
        return;
    const SKLineLayout chosen = file.player.m_layout;
    OpenReadFile(std::move(file), &chosen);
}

void COrvantaDlg::OnImportSettings()
{
    const std::string strPath = m_session.FilePath();
    if (!CanImportCurrentFile())
        return;
    SReadFile file;
    if (!ImportFile(strPath, m_session.Player().m_layout, IDS_IMPORT_CURRENT, &file))
        return;
    const SKLineLayout chosen = file.player.m_layout;
    OpenReadFile(std::move(file), &chosen);
}

bool COrvantaDlg::CanImportCurrentFile() const
{
    return !m_session.FilePath().empty() &&
           m_session.Player().m_layout.m_eKind == EKLineFileKind::Text;
}

bool COrvantaDlg::ImportFile(const std::string& strPath, const SKLineLayout& preset,
                             unsigned nPromptId, SReadFile* pFile)
{
    std::string strHead;
    std::string strReason;
    if (!ReadKLineFileHead(strPath, kImportSampleBytes, &strHead, &strReason))
    {
        ShowMessage(FormatAppText(IDS_LOAD_FAILED, strPath.c_str(), strReason.c_str()));
        return false;
    }
    SKLineLayout layout;
    {
        const CModalPause pause(*this);
        CImportDlg dialog(strPath, std::move(strHead), preset, nPromptId, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        layout = dialog.Layout();
    }
    // The first lines gave bars with it; the file may still have changed since.
    SKLineLoad refused;
    if (CPracticeSession::ReadFile(strPath, &layout, pFile, &refused))
        return true;
    ShowMessage(
        FormatAppText(IDS_LOAD_FAILED, strPath.c_str(), KLineLoadFailureText(refused).c_str()));
    return false;
}

void COrvantaDlg::OpenReadFile(SReadFile&& file, const SKLineLayout* pChosen)
{
    if (!ClosePositionFirst(IDS_LOAD_CLOSE_POSITION))
        return;
    const std::string strPath = file.strPath;
    if (pChosen != nullptr)
        KeepFileLayout(&m_settings, strPath, *pChosen);
    RememberLoad(strPath, true);
    m_session.Open(std::move(file));
    ShowNewFileOnCharts();
    const std::string strStartDate = std::exchange(m_strStartDate, std::string());
    if (!strStartDate.empty())
    {
        ShowStartResult(m_session.StartAtDate(strStartDate), strStartDate);
        ShowCharts();
    }
    ShowSession();
}

bool COrvantaDlg::ClosePositionFirst(unsigned nQuestionId)
{
    if (!m_session.HasOpenPosition())
        return true;
    const std::string strPrice =
        StringFormat("%.*f", m_session.PriceDecimals(), m_session.Player().m_dClose);
    if (!ShowMessage(FormatAppText(nQuestionId, m_session.Account().m_nPosition, strPrice.c_str()),
                     true))
        return false;
    STradeRefusal refusal;
    const bool bClosed = m_session.ClosePosition(&refusal);
    ShowTradingOnCharts();
    ShowSession();
    if (!bClosed)
        ShowRefusal(refusal);
    ShowNotes();
    return bClosed;
}

void COrvantaDlg::RememberLoad(const std::string& strPath, bool bLoaded)
{
    // A file that can no longer be read leaves the list instead of failing again next time.
    if (bLoaded)
        m_recentFiles.Add(strPath);
    else
        m_recentFiles.Remove(strPath);
    m_settings.vecRecentFiles = m_recentFiles.Files();
    m_settingsFile.writeSettings(m_settings);
    ShowRecentFiles();
    ShowNotes();
}

void COrvantaDlg::ShowRecentFiles()
{
    // The list and a separator after it sit just before 退出.
    for (QAction* pAction : m_vecRecentActions)
        delete pAction;
    m_vecRecentActions.clear();
    const std::vector<std::string>& vecFiles = m_recentFiles.Files();
    for (std::size_t i = 0; i < vecFiles.size(); ++i)
    {
        auto* pAction = new QAction(
            QString::fromStdString(RecentFileMenuText(static_cast<int>(i), vecFiles[i])), this);
        connect(pAction, &QAction::triggered, this, [this, i] { OnRecentFile(i); });
        m_pFileMenu->insertAction(m_pActExit, pAction);
        m_vecRecentActions.push_back(pAction);
    }
    if (!vecFiles.empty())
        m_vecRecentActions.push_back(m_pFileMenu->insertSeparator(m_pActExit));
}

void COrvantaDlg::OnRecentFile(std::size_t nIndex)
{
    const std::vector<std::string>& vecFiles = m_recentFiles.Files();
    if (nIndex >= vecFiles.size())
        return;
    // Copied: loading reorders the list.
    const std::string strPath = vecFiles[nIndex];
    LoadChosenFile(strPath);
}

void COrvantaDlg::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (!LocalFiles(pEvent->mimeData()).isEmpty())
        pEvent->acceptProposedAction();
}

void COrvantaDlg::dropEvent(QDropEvent* pEvent)
{
    const QStringList files = LocalFiles(pEvent->mimeData());
    if (files.isEmpty())
        return;
    pEvent->acceptProposedAction();
    // The window holds one file at a time: of several dropped files only the first is loaded,
    // after the drop has ended, so the source is not kept waiting behind a message box.
    const std::string strPath = files.first().toStdString();
    QTimer::singleShot(0, this, [this, strPath] { LoadChosenFile(strPath); });
}

void COrvantaDlg::OnSaveImage()
{
    std::string strPath;
    {
        const CModalPause pause(*this);
        strPath = ChooseFileToSave(this, LoadAppString(IDS_IMAGE_FILTER), "png");
    }
    if (!strPath.empty())
        SaveChartImage(strPath);
}

bool COrvantaDlg::SaveChartImage(std::string strPath)
{
    if (strPath.empty())
        return false;
    const char* pszFormat = ImageFormat(strPath);
    if (pszFormat == nullptr)
    {
        strPath += ".png";
        pszFormat = "PNG";
    }
    errno = 0;
    if (m_chart.SaveImage(strPath, pszFormat))
        return true;
    const int nError = errno;
    ShowMessage(FormatAppText(IDS_SAVE_IMAGE_FAILED, strPath.c_str(), std::strerror(nError)));
    return false;
}

void COrvantaDlg::OnPrint()
{
    // The chart runs the print dialog and prints what it shows now, on one page.
    const CModalPause pause(*this);
    m_chart.PrintChart("Orvanta");
}
