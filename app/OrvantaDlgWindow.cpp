// The main window's size, files dropped on it, the chart's reading aids (crosshair, moving
// averages) and saving the chart as a picture.
#include "app/OrvantaDlg.h"

#include "chart/ChartCrosshair.h"
#include "chart/ChartLineSerie.h"
#include "chart/RefreshHold.h"
#include "core/MovingAverage.h"
#include "platform/FileDialog.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/ProfileFile.h"
#include "platform/ShellApi.h"
#include "platform/StringFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{
constexpr const char* kIndicatorSection = "Indicators";

// Never the candles' red: the averages must stay apart from rising bars.
constexpr std::array<COLORREF, 4> kAverageColors = {
    RGB(0, 90, 200),
    RGB(230, 140, 0),
    RGB(150, 0, 170),
    RGB(0, 150, 120),
};

std::string AverageKey(std::size_t nIndex)
{
    return StringFormat("MA%d", COrvantaDlg::kAveragePeriods[nIndex]);
}
} // namespace

void COrvantaDlg::SetUpWindowFeatures()
{
    m_pCrosshair = new CChartCrosshair(&m_chart);
    m_chart.AddOverlay(m_pCrosshair);
    for (std::size_t i = 0; i < kAveragePeriods.size(); ++i)
        m_arrAverageShown[i] = GetProfileInt(kIndicatorSection, AverageKey(i), 0) != 0;
    ShowAverageChecks();
    RememberLayout();
    DragAcceptFiles(m_hWnd, TRUE);
}

void COrvantaDlg::RememberLayout()
{
    m_vecLayout.clear();
    RECT rcClient = {0, 0, 0, 0};
    GetClientRect(&rcClient);
    m_szStartClient = {rcClient.right - rcClient.left, rcClient.bottom - rcClient.top};

    const auto add = [this](CWnd* pWnd, bool bRight, bool bBottom, bool bGrowX, bool bGrowY)
    {
        if (!pWnd || pWnd == this)
            return;
        SAnchoredControl control;
        control.pWnd = pWnd;
        pWnd->GetWindowRect(&control.rcStart);
        ScreenToClient(&control.rcStart);
        control.bRight = bRight;
        control.bBottom = bBottom;
        control.bGrowX = bGrowX;
        control.bGrowY = bGrowY;
        m_vecLayout.push_back(control);
    };
    add(&m_chart, false, false, true, true);
    add(GetDlgItem(IDC_EDIT_INFO), false, false, true, false);
    add(GetDlgItem(IDC_BTN_LOAD), true, false, false, false);
    add(GetDlgItem(IDC_BTN_PLAY), true, false, false, false);
    // The group box has no id of its own: it is the window just inside its top-left corner.
    RECT rcGroup = {7, 248, 8, 249};
    MapDialogRect(&rcGroup);
    add(ChildWindowFromPoint(POINT{rcGroup.right, rcGroup.bottom}), false, true, true, false);
    for (int nId : {IDC_STATIC_OPEN, IDC_STATIC_HIGH, IDC_STATIC_LOW, IDC_STATIC_CLOSE,
                    IDC_STATIC_ACCOUNT, IDC_STATIC_POSITION, IDC_STATIC_PROFIT})
        add(GetDlgItem(nId), false, true, false, false);
    for (int nId : {IDC_BTN_BUY, IDC_BTN_SELL})
        add(GetDlgItem(nId), true, true, false, false);
}

void COrvantaDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialogEx::OnSize(nType, cx, cy);
    ApplyLayout(cx, cy);
}

void COrvantaDlg::ApplyLayout(int cx, int cy)
{
    if (m_vecLayout.empty())
        return;
    // Never smaller than the template: the window keeps that as its minimum anyway.
    const int dx = std::max(0, cx - m_szStartClient.cx);
    const int dy = std::max(0, cy - m_szStartClient.cy);
    for (const SAnchoredControl& control : m_vecLayout)
    {
        RECT rc = control.rcStart;
        if (control.bRight)
            OffsetRect(&rc, dx, 0);
        if (control.bBottom)
            OffsetRect(&rc, 0, dy);
        if (control.bGrowX)
            rc.right += dx;
        if (control.bGrowY)
            rc.bottom += dy;
        control.pWnd->MoveWindow(&rc, TRUE);
    }
    Invalidate();
}

void COrvantaDlg::OnDropFiles(HDROP hDropInfo)
{
    // The window holds one file at a time: of several dropped files only the first is loaded.
    std::string strPath;
    const UINT nLength = DragQueryFileA(hDropInfo, 0, nullptr, 0);
    if (nLength > 0)
    {
        strPath.resize(nLength + 1);
        DragQueryFileA(hDropInfo, 0, strPath.data(), nLength + 1);
        strPath.resize(nLength);
    }
    DragFinish(hDropInfo);
    // As if chosen with the load button; a file that cannot be read is also shown in a box, since
    // a drop has no dialog that stays open to tell.
    LoadChosenFile(strPath, true);
}

void COrvantaDlg::OnToggleMa5()
{
    ToggleAverage(0);
}

void COrvantaDlg::OnToggleMa10()
{
    ToggleAverage(1);
}

void COrvantaDlg::OnToggleMa20()
{
    ToggleAverage(2);
}

void COrvantaDlg::OnToggleMa60()
{
    ToggleAverage(3);
}

void COrvantaDlg::ToggleAverage(std::size_t nIndex)
{
    if (nIndex >= kAveragePeriods.size())
        return;
    m_arrAverageShown[nIndex] = !m_arrAverageShown[nIndex];
    WriteProfileInt(kIndicatorSection, AverageKey(nIndex), m_arrAverageShown[nIndex] ? 1 : 0);
    ShowAverageChecks();
    // Shown at once on the window already on the screen, not only from the next tick.
    if (!m_player.HasCurrentBar())
        return;
    CRefreshHold hold(&m_chart);
    m_player.ShowCurrentWindow();
    ShowAverages();
}

void COrvantaDlg::ShowAverageChecks()
{
    CMenu* pMenu = GetMenu();
    if (!pMenu)
        return;
    for (std::size_t i = 0; i < kAveragePeriods.size(); ++i)
        pMenu->CheckMenuItem(ID_MENU_MA_FIRST + static_cast<UINT>(i),
                             MF_BYCOMMAND | (m_arrAverageShown[i] ? MF_CHECKED : MF_UNCHECKED));
}

void COrvantaDlg::ShowAverages()
{
    const std::size_t nShown = std::min(m_player.m_vecWindow.size(),
                                        static_cast<std::size_t>(std::max(0, m_player.m_nCursor)));
    const std::size_t nEnd = static_cast<std::size_t>(std::max(0, m_player.m_nCursor));
    if (nShown == 0 || nEnd > m_player.m_vecBars.size())
        return;
    const std::size_t nWindowStart = nEnd - nShown;
    for (std::size_t i = 0; i < kAveragePeriods.size(); ++i)
    {
        if (!m_arrAverageShown[i])
            continue;
        // Only the bars the averages at the window's first bar reach back to are read.
        const std::size_t nHistory = static_cast<std::size_t>(kAveragePeriods[i] - 1);
        const std::size_t nFirst = nWindowStart > nHistory ? nWindowStart - nHistory : 0;
        const std::vector<SChartLinePoint> vecPoints =
            MovingAverage(m_player.m_vecBars.data() + nFirst, nEnd - nFirst, kAveragePeriods[i],
                          nWindowStart - nFirst);
        auto* pLine = new CChartLineSerie(&m_chart);
        m_chart.AttachSerie(pLine);
        pLine->SetColor(kAverageColors[i]);
        pLine->AddPoints(vecPoints.data(), static_cast<unsigned>(vecPoints.size()));
    }
}

void COrvantaDlg::OnSaveImage()
{
    CFileDialog dlgFile(FALSE, "png", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        LoadAppString(IDS_IMAGE_FILTER).c_str(), this);
    if (dlgFile.DoModal() != IDOK)
        return;
    SaveChartImage(dlgFile.GetPathName());
}

bool COrvantaDlg::SaveChartImage(std::string strPath)
{
    if (strPath.empty())
        return false;
    const std::string strExt = ".png";
    if (strPath.size() < strExt.size() ||
        strPath.compare(strPath.size() - strExt.size(), strExt.size(), strExt) != 0)
        strPath += strExt;
    errno = 0;
    if (m_chart.SaveImage(strPath))
        return true;
    const int nError = errno;
    std::string strCaption;
    GetWindowText(strCaption);
    const std::string strText = StringFormat(LoadAppString(IDS_SAVE_IMAGE_FAILED).c_str(),
                                             strPath.c_str(), std::strerror(nError));
    MessageBoxA(m_hWnd, strText.c_str(), strCaption.c_str(), MB_OK | MB_ICONERROR);
    return false;
}
