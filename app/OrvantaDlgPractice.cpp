// The main window's practice commands: keys, speed, start point, trade markers, report, export.
#include "app/OrvantaDlg.h"

#include "app/ReportDlg.h"
#include "app/StartDateDlg.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartTradeMarkerSerie.h"
#include "chart/RefreshHold.h"
#include "core/ReplaySettings.h"
#include "core/ReplaySpeed.h"
#include "core/ReplayStart.h"
#include "core/TradeJournalCsv.h"
#include "platform/Accelerator.h"
#include "platform/FileDialog.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/OleDate.h"
#include "platform/ProfileFile.h"
#include "platform/StringFormat.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <limits>

namespace
{
constexpr const char* kProfileSection = "Replay";
constexpr const char* kProfilePeriodKey = "PeriodMs";

// The keys of the main window, shown beside their menu items.
constexpr std::array<ACCEL, 8> kKeys = {{
    {FVIRTKEY, VK_SPACE, ID_KEY_PLAY_STOP},
    {FVIRTKEY, VK_RIGHT, ID_MENU_STEP_BAR},
    {FVIRTKEY, 'B', ID_MENU_BUY},
    {FVIRTKEY, 'S', ID_MENU_SELL},
    {FVIRTKEY, VK_OEM_PLUS, ID_MENU_FASTER},
    {FVIRTKEY, VK_ADD, ID_MENU_FASTER},
    {FVIRTKEY, VK_OEM_MINUS, ID_MENU_SLOWER},
    {FVIRTKEY, VK_SUBTRACT, ID_MENU_SLOWER},
}};

std::string DateText(double dDate)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dDate, &st))
        return {};
    return StringFormat("%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
}

long long PeriodMs()
{
    const SReplaySettings& settings = ReplaySettings();
    if (settings.m_nPeriodMs > 0)
        return settings.m_nPeriodMs;
    return static_cast<long long>(settings.m_nRefreshSeconds) * 1000;
}

// The steps are compared in int; whole seconds beyond that range are slower than any step.
int CurrentStepPeriod()
{
    return static_cast<int>(std::clamp<long long>(PeriodMs(), INT_MIN, INT_MAX));
}

void ShowMessage(CWnd* pOwner, const std::string& strText, UINT uType)
{
    std::string strCaption;
    pOwner->GetWindowText(strCaption);
    MessageBoxA(pOwner->m_hWnd, strText.c_str(), strCaption.c_str(), uType);
}
} // namespace

COrvantaDlg::~COrvantaDlg()
{
    DestroyAcceleratorTable(m_hAccel);
}

void COrvantaDlg::SetUpPractice()
{
    m_hAccel = CreateAcceleratorTable(kKeys.data(), static_cast<int>(kKeys.size()));
    SetWindowAccelerators(m_hWnd, m_hAccel);
    // A period from the settings file that no timer can run is not taken.
    const int nPeriodMs = GetProfileInt(kProfileSection, kProfilePeriodKey, 0);
    if (nPeriodMs > 0)
        ReplaySettings().m_nPeriodMs = nPeriodMs;
    ShowSpeedState();
}

void COrvantaDlg::OnClose()
{
    if (ConfirmExit())
        EndDialog(IDCANCEL);
}

void COrvantaDlg::OnCancel() {}

bool COrvantaDlg::ConfirmExit()
{
    if (m_journal.Records().empty())
        return true;
    std::string strCaption;
    GetWindowText(strCaption);
    return MessageBoxA(m_hWnd, LoadAppString(IDS_CONFIRM_EXIT).c_str(), strCaption.c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void COrvantaDlg::OnStepBar()
{
    if (m_bPlaying || m_bFinished || m_player.m_nBarCount == 0)
        return;
    ReplayTick();
}

long long COrvantaDlg::ReplayPeriodMs()
{
    return PeriodMs();
}

void COrvantaDlg::OnFaster()
{
    SetReplayPeriod(FasterReplayPeriod(CurrentStepPeriod()));
}

void COrvantaDlg::OnSlower()
{
    SetReplayPeriod(SlowerReplayPeriod(CurrentStepPeriod()));
}

BOOL COrvantaDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nId = LOWORD(wParam);
    if (nId >= ID_MENU_SPEED_FIRST && nId <= ID_MENU_SPEED_LAST)
    {
        OnSpeedStep(nId);
        return TRUE;
    }
    if (nId >= ID_MENU_RECENT_FIRST && nId <= ID_MENU_RECENT_LAST)
    {
        OnRecentFile(nId);
        return TRUE;
    }
    return CDialogEx::OnCommand(wParam, lParam);
}

void COrvantaDlg::OnSpeedStep(UINT nID)
{
    SetReplayPeriod(kReplaySpeedSteps[nID - ID_MENU_SPEED_FIRST]);
}

void COrvantaDlg::SetReplayPeriod(int nPeriodMs)
{
    const long long nBefore = ReplayPeriodMs();
    ReplaySettings().m_nPeriodMs = nPeriodMs;
    if (ReplayPeriodMs() != nBefore)
        WriteProfileInt(kProfileSection, kProfilePeriodKey, CurrentStepPeriod());
    KillTimer(kReplayTimer);
    ArmReplayTimer();
    ShowSpeedState();
}

void COrvantaDlg::ShowSpeedState()
{
    const int nIndex = ReplaySpeedIndex(CurrentStepPeriod());
    if (CMenu* pMenu = GetMenu())
        for (UINT nId = ID_MENU_SPEED_FIRST; nId <= ID_MENU_SPEED_LAST; ++nId)
            pMenu->CheckMenuItem(nId, MF_BYCOMMAND |
                                          (static_cast<int>(nId - ID_MENU_SPEED_FIRST) == nIndex
                                               ? MF_CHECKED
                                               : MF_UNCHECKED));
    // The speed is the line's last word; the path before it may hold spaces of its own.
    if (!m_strInfo.empty())
    {
        const std::size_t nAt = m_strInfo.rfind(' ');
        const std::string strBase = nAt == std::string::npos ? m_strInfo : m_strInfo.substr(0, nAt);
        m_strInfo = WithSpeed(strBase);
        UpdateData(FALSE);
    }
}

std::string COrvantaDlg::WithSpeed(const std::string& strInfo) const
{
    return StringFormat(LoadAppString(IDS_INFO_SPEED).c_str(), strInfo.c_str(),
                        SpeedText(CurrentStepPeriod()).c_str());
}

void COrvantaDlg::OnChooseStart()
{
    if (m_player.m_nBarCount == 0)
        return;
    CStartDateDlg dlgDate(this);
    const int nShown = m_player.HasCurrentBar() ? m_player.m_nCursor - 1 : 0;
    dlgDate.m_strDate = DateText(m_player.m_vecBars[static_cast<std::size_t>(nShown)].dDate);
    if (dlgDate.DoModal() != IDOK)
        return;
    StartAtDate(dlgDate.m_strDate);
}

bool COrvantaDlg::StartAtDate(const std::string& strDate)
{
    const int nWindowBars = ReplaySettings().m_nWindowBars;
    if (m_player.m_nBarCount < nWindowBars)
    {
        ShowMessage(this,
                    StringFormat(LoadAppString(IDS_START_TOO_SHORT).c_str(), m_player.m_nBarCount,
                                 nWindowBars),
                    MB_OK | MB_ICONERROR);
        return false;
    }
    int nCursor = 0;
    if (!ReplayStartForDate(m_player.m_vecBars, nWindowBars, strDate, &nCursor))
    {
        ShowMessage(this, StringFormat(LoadAppString(IDS_START_NOT_FOUND).c_str(), strDate.c_str()),
                    MB_OK | MB_ICONERROR);
        return false;
    }
    StartAt(nCursor);
    return true;
}

void COrvantaDlg::OnRandomStart()
{
    int nCursor = 0;
    if (!RandomReplayStart(m_player.m_vecBars, ReplaySettings().m_nWindowBars, m_randomStart,
                           &nCursor))
    {
        ShowMessage(this,
                    StringFormat(LoadAppString(IDS_START_TOO_SHORT).c_str(), m_player.m_nBarCount,
                                 ReplaySettings().m_nWindowBars),
                    MB_OK | MB_ICONERROR);
        return;
    }
    StartAt(nCursor);
}

void COrvantaDlg::StartAt(int nCursor)
{
    // The play state stays as it was; a finished replay can go on from its new start.
    SeekReplayStart(m_player, nCursor);
    m_bFinished = false;
    ReplayTick();
}

void COrvantaDlg::SetDatePadding()
{
    double dSpacing = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < m_player.m_vecBars.size(); ++i)
    {
        const double dGap = m_player.m_vecBars[i].dDate - m_player.m_vecBars[i - 1].dDate;
        if (dGap > 0.0 && dGap < dSpacing)
            dSpacing = dGap;
    }
    m_pTimeAxis->m_dAutoPadding = std::isfinite(dSpacing) ? dSpacing / 2.0 : 0.5;
}

CChartTradeMarkerSerie* COrvantaDlg::FindMarkerSerie()
{
    m_chart.RewindSeries();
    while (CChartSerie* pSerie = m_chart.NextSerie())
        if (auto* pMarkers = dynamic_cast<CChartTradeMarkerSerie*>(pSerie))
            return pMarkers;
    return nullptr;
}

void COrvantaDlg::ShowTradeMarkers()
{
    if (!m_player.HasCurrentBar())
        return;
    CChartTradeMarkerSerie* pSerie = FindMarkerSerie();
    if (pSerie == nullptr && m_journal.Records().empty())
        return;
    if (pSerie == nullptr)
    {
        pSerie = new CChartTradeMarkerSerie(&m_chart);
        m_chart.AttachSerie(pSerie); // the chart owns it; the next step replaces it
    }
    CRefreshHold hold(&m_chart);
    const std::vector<SChartTradeMarker> vecMarkers = m_journal.Markers();
    pSerie->SetBars(m_player.m_vecWindow.data(),
                    static_cast<unsigned>(m_player.m_vecWindow.size()));
    pSerie->SetMarkers(vecMarkers.data(), static_cast<unsigned>(vecMarkers.size()));
    pSerie->SetPriceDecimals(PriceDecimals());
    if (m_account.m_nPosition != 0)
        pSerie->SetAveragePrice(m_account.m_dAverage);
    else
        pSerie->ClearAveragePrice();
}

int COrvantaDlg::PriceDecimals() const
{
    return m_player.m_nPriceDecimals;
}

void COrvantaDlg::OnReport()
{
    CReportDlg dlgReport(m_journal, this);
    dlgReport.DoModal();
}

void COrvantaDlg::OnExportTrades()
{
    CFileDialog dlgFile(FALSE, "csv", "trades.csv", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        LoadAppString(IDS_CSV_FILTER).c_str(), this);
    if (dlgFile.DoModal() != IDOK)
        return;
    const std::string strPath = dlgFile.GetPathName();
    std::string strReason;
    if (!ExportTradeJournalCsv(m_journal, strPath, PriceDecimals(), &strReason))
        ShowMessage(this,
                    StringFormat(LoadAppString(IDS_EXPORT_FAILED).c_str(), strPath.c_str(),
                                 strReason.c_str()),
                    MB_OK | MB_ICONERROR);
}
