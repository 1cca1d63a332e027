#include "app/OrvantaDlg.h"

#include "app/AboutDlg.h"
#include "app/DlgSetting.h"
#include "chart/ChartCrosshair.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartStandardAxis.h"
#include "chart/RefreshHold.h"
#include "core/BarLabels.h"
#include "core/ReplaySettings.h"
#include "platform/DataExchange.h"
#include "platform/FileDialog.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/PaintDC.h"
#include "platform/Resource.h"
#include "platform/StringFormat.h"
#include "platform/WinUser.h"

#include <cmath>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace
{
constexpr int kInfoMaxChars = 512;

// A text of the string table filled in like printf; the table's formats match these callers.
template <class... Args> std::string FormatAppString(unsigned nId, Args... args)
{
    return StringFormat(LoadAppString(nId).c_str(), args...);
}

// Money as the labels show it: an amount under half a cent is 0.00, never "-0.00".
double ShownMoney(double dAmount)
{
    return std::fabs(dAmount) < 0.005 ? 0.0 : dAmount;
}

// A price label of the string table, with the price in the file's decimals.
std::string FormatPriceString(unsigned nId, double dPrice, int nDecimals)
{
    return StringFormat(WithPriceDecimals(LoadAppString(nId), nDecimals).c_str(), dPrice);
}
} // namespace

UINT ReplayTimerPeriod(int nRefreshSeconds)
{
    return ReplayTimerPeriodMs(static_cast<std::int64_t>(nRefreshSeconds) * 1000);
}

UINT ReplayTimerPeriodMs(long long nMilliseconds)
{
    if (nMilliseconds < 0)
        return USER_TIMER_MAXIMUM;
    if (nMilliseconds < USER_TIMER_MINIMUM)
        return USER_TIMER_MINIMUM;
    if (nMilliseconds > USER_TIMER_MAXIMUM)
        return USER_TIMER_MAXIMUM;
    return static_cast<UINT>(nMilliseconds);
}

BEGIN_MESSAGE_MAP(COrvantaDlg, CDialogEx)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_BTN_LOAD, &COrvantaDlg::OnLoad)
ON_COMMAND(ID_MENU_LOAD, &COrvantaDlg::OnLoad)
ON_COMMAND(ID_MENU_SETTINGS, &COrvantaDlg::OnSettings)
ON_WM_TIMER()
ON_BN_CLICKED(IDC_BTN_PLAY, &COrvantaDlg::OnPlayStop)
ON_COMMAND(ID_MENU_PLAY, &COrvantaDlg::OnPlay)
ON_COMMAND(ID_MENU_STOP, &COrvantaDlg::OnStop)
ON_COMMAND(ID_MENU_EXIT, &COrvantaDlg::OnExit)
ON_BN_CLICKED(IDC_BTN_BUY, &COrvantaDlg::OnBuy)
ON_BN_CLICKED(IDC_BTN_SELL, &COrvantaDlg::OnSell)
ON_COMMAND(ID_MENU_ABOUT, &COrvantaDlg::OnAbout)
ON_COMMAND(ID_MENU_PRINT, &COrvantaDlg::OnPrint)
ON_WM_SIZE()
ON_WM_DROPFILES()
ON_COMMAND(ID_MENU_SAVE_IMAGE, &COrvantaDlg::OnSaveImage)
ON_COMMAND(ID_MENU_MA_FIRST, &COrvantaDlg::OnToggleMa5)
ON_COMMAND(ID_MENU_MA_FIRST + 1, &COrvantaDlg::OnToggleMa10)
ON_COMMAND(ID_MENU_MA_FIRST + 2, &COrvantaDlg::OnToggleMa20)
ON_COMMAND(ID_MENU_MA_LAST, &COrvantaDlg::OnToggleMa60)
ON_WM_CLOSE()
ON_COMMAND(ID_KEY_PLAY_STOP, &COrvantaDlg::OnPlayStop)
ON_COMMAND(ID_MENU_STEP_BAR, &COrvantaDlg::OnStepBar)
ON_COMMAND(ID_MENU_BUY, &COrvantaDlg::OnBuy)
ON_COMMAND(ID_MENU_SELL, &COrvantaDlg::OnSell)
ON_COMMAND(ID_MENU_FASTER, &COrvantaDlg::OnFaster)
ON_COMMAND(ID_MENU_SLOWER, &COrvantaDlg::OnSlower)
ON_COMMAND(ID_MENU_CHOOSE_START, &COrvantaDlg::OnChooseStart)
ON_COMMAND(ID_MENU_RANDOM_START, &COrvantaDlg::OnRandomStart)
ON_COMMAND(ID_MENU_REPORT, &COrvantaDlg::OnReport)
ON_COMMAND(ID_MENU_EXPORT, &COrvantaDlg::OnExportTrades)
END_MESSAGE_MAP()

COrvantaDlg::COrvantaDlg(CWnd* pParent) : CDialogEx(IDD_ORVANTA_DIALOG, pParent)
{
    m_hIcon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
    ShowBarLabels();
    m_strAccount = LoadAppString(IDS_ACCOUNT_START);
    m_strPosition = LoadAppString(IDS_POSITION_START);
    m_strProfit = LoadAppString(IDS_PROFIT_START);
}

void COrvantaDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHART, m_chart);
    DDX_Text(pDX, IDC_EDIT_INFO, m_strInfo);
    DDV_MaxChars(pDX, m_strInfo, kInfoMaxChars);
    DDX_Control(pDX, IDC_BTN_PLAY, m_btnPlay);
    DDX_Text(pDX, IDC_STATIC_OPEN, m_strOpen);
    DDX_Text(pDX, IDC_STATIC_HIGH, m_strHigh);
    DDX_Text(pDX, IDC_STATIC_LOW, m_strLow);
    DDX_Text(pDX, IDC_STATIC_CLOSE, m_strClose);
    DDX_Text(pDX, IDC_STATIC_ACCOUNT, m_strAccount);
    DDX_Text(pDX, IDC_STATIC_POSITION, m_strPosition);
    DDX_Text(pDX, IDC_STATIC_PROFIT, m_strProfit);
}

BOOL COrvantaDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    // On Linux the "system menu" is the window's context menu; its items come as OnSysCommand.
    if (CMenu* pSysMenu = GetSystemMenu(FALSE))
    {
        std::string strAboutMenu;
        AfxLoadString(IDS_ABOUTBOX, strAboutMenu);
        if (!strAboutMenu.empty())
        {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu.c_str());
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_pTimeAxis = m_chart.NewDateTimeAxis();
    m_pTimeAxis->SetRangeMode(AllPoints);
    m_pTimeAxis->SetTickLabelFormat(false, "%Y-%m-%d");
    if (CChartScrollBar* pScrollBar = m_pTimeAxis->m_pAxisScrollBar)
    {
        pScrollBar->m_bEnabled = true;
        pScrollBar->ShowWindow(SW_SHOW);
    }
    m_pPriceAxis = m_chart.NewStandardAxis();
    m_pPriceAxis->SetRangeMode(AllPoints);
    SetUpWindowFeatures();

    SetUpPractice();
    SetUpRecentFiles();
    // The timer runs for the dialog's whole life; ticks only act while playing.
    ArmReplayTimer();
    ShowCommandState();
    LoadStartFile();
    return TRUE;
}

void COrvantaDlg::LoadStartFile()
{
    if (m_strStartFile.empty())
        return;
    std::error_code ec;
    const std::filesystem::path fullPath = std::filesystem::absolute(m_strStartFile, ec);
    // Nobody may be watching standard error, so a file that cannot be read is also shown.
    LoadChosenFile(ec ? m_strStartFile : fullPath.lexically_normal().string(), true);
    if (!m_strStartDate.empty() && m_player.m_nBarCount > 0)
        StartAtDate(m_strStartDate);
}

void COrvantaDlg::ArmReplayTimer()
{
    SetTimer(kReplayTimer, ReplayTimerPeriodMs(ReplayPeriodMs()), nullptr);
}

void COrvantaDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    }
    else
    {
        CDialogEx::OnSysCommand(nID, lParam);
    }
}

void COrvantaDlg::OnPaint()
{
    if (!IsIconic())
    {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR COrvantaDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void COrvantaDlg::OnLoad()
{
    CFileDialog dlgFile(TRUE, nullptr, nullptr, OFN_HIDEREADONLY,
                        LoadAppString(IDS_FILE_FILTER).c_str(), this);
    if (dlgFile.DoModal() != IDOK)
        return;
    LoadChosenFile(dlgFile.GetPathName(), false);
}

void COrvantaDlg::LoadChosenFile(const std::string& strPath, bool bShowFailure)
{
    if (strPath.empty())
        return;
    m_strFilePath = strPath;
    std::string strReason;
    const bool bLoaded = m_player.Load(m_strFilePath, &strReason);
    RememberLoad(m_strFilePath, bLoaded);
    FitAxesToBars(m_pTimeAxis, m_pPriceAxis, m_player.m_bTimeOfDay, m_player.m_nPriceDecimals);
    m_account.m_nPriceDecimals = m_player.m_nPriceDecimals;
    if (m_pCrosshair != nullptr)
        m_pCrosshair->SetDecimals(m_player.m_nPriceDecimals);

    // The new file starts stopped, with nothing of the old one on the screen. The account is
    // not the file's: its labels stay.
    m_bPlaying = FALSE;
    m_bFinished = false;
    ClearChart();
    SetDatePadding();
    ShowBarLabels();
    m_strInfo =
        WithSpeed(FormatAppString(IDS_INFO_LOADED, m_strFilePath.c_str(), m_player.m_nBarCount));
    ShowCommandState();
    UpdateData(FALSE);

    if (!bLoaded && bShowFailure)
    {
        std::string strCaption;
        GetWindowText(strCaption);
        const std::string strText =
            FormatAppString(IDS_LOAD_FAILED, m_strFilePath.c_str(), strReason.c_str());
        MessageBoxA(m_hWnd, strText.c_str(), strCaption.c_str(), MB_OK | MB_ICONERROR);
    }
}

void COrvantaDlg::ClearChart()
{
    // Without series the automatic axes fall back to the empty range they started with.
    m_chart.HoldRefresh();
    m_chart.DeleteAllSeries();
    m_pTimeAxis->RefreshAutoRange();
    m_pPriceAxis->RefreshAutoRange();
    m_chart.ReleaseRefresh();
}

void COrvantaDlg::OnPlayStop()
{
    if (m_bPlaying)
        OnStop();
    else
        OnPlay();
}

void COrvantaDlg::OnPlay()
{
    if (m_bPlaying || m_bFinished)
        return;
    m_bPlaying = TRUE;
    ReplayTick();
}

void COrvantaDlg::OnStop()
{
    if (!m_bPlaying)
        return;
    m_bPlaying = FALSE;
    ShowCommandState();
}

void COrvantaDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kReplayTimer && m_bPlaying)
        ReplayTick();
    CDialogEx::OnTimer(nIDEvent);
}

void COrvantaDlg::ReplayTick()
{
    // 1. Step; the step that shows the last bar ends the replay, and still marks and shows.
    if (m_player.m_pChart == nullptr)
        m_player.m_pChart = &m_chart;
    {
        // The step's candles and the averages over them make one redraw.
        CRefreshHold hold(&m_chart);
        if (m_player.Step() == m_player.m_nBarCount)
        {
            m_bPlaying = FALSE;
            m_bFinished = true;
        }
        ShowAverages();
        ShowTradeMarkers();
    }
    // 2. Mark the account to the close on the screen; an empty file shows no bar to mark to.
    if (m_player.HasCurrentBar())
    {
        m_account.SetCurrentPrice(m_player.m_dClose);
        m_journal.AddMark(m_account.GetShownAccount());
    }
    // 3. Show it.
    m_strInfo =
        WithSpeed(FormatAppString(IDS_INFO_PROGRESS, m_strFilePath.c_str(), m_player.m_nBarCount,
                                  m_player.m_nCursor, m_player.m_nBarCount));
    ShowBarLabels();
    ShowAccountLabels();
    ShowCommandState();
    UpdateData(FALSE);
}

void COrvantaDlg::ShowBarLabels()
{
    if (!m_player.HasCurrentBar())
    {
        m_strOpen = LoadAppString(IDS_OPEN_START);
        m_strHigh = LoadAppString(IDS_HIGH_START);
        m_strLow = LoadAppString(IDS_LOW_START);
        m_strClose = LoadAppString(IDS_CLOSE_START);
        return;
    }
    const int nDecimals = m_player.m_nPriceDecimals;
    m_strOpen = FormatPriceString(IDS_OPEN, m_player.m_dOpen, nDecimals);
    m_strHigh = FormatPriceString(IDS_HIGH, m_player.m_dHigh, nDecimals);
    m_strLow = FormatPriceString(IDS_LOW, m_player.m_dLow, nDecimals);
    m_strClose = FormatPriceString(IDS_CLOSE, m_player.m_dClose, nDecimals);
}

void COrvantaDlg::ShowAccountLabels()
{
    m_strAccount = FormatAppString(IDS_ACCOUNT, ShownMoney(m_account.GetShownAccount()));
    m_strPosition = FormatAppString(IDS_POSITION, m_account.m_nPosition);
    m_strProfit = FormatAppString(IDS_PROFIT, ShownMoney(m_account.GetShownProfit()));
}

void COrvantaDlg::ShowCommandState()
{
    m_btnPlay.SetWindowText(LoadAppString(m_bPlaying ? IDS_STOP : IDS_PLAY).c_str());
    m_btnPlay.EnableWindow(!m_bFinished);
    const BOOL bCanTrade = m_player.HasCurrentBar();
    for (int nId : {IDC_BTN_BUY, IDC_BTN_SELL})
        if (CWnd* pButton = GetDlgItem(nId))
            pButton->EnableWindow(bCanTrade);
    if (CMenu* pMenu = GetMenu())
    {
        const bool bCanPlay = !m_bPlaying && !m_bFinished;
        pMenu->EnableMenuItem(ID_MENU_PLAY, MF_BYCOMMAND | (bCanPlay ? MF_ENABLED : MF_GRAYED));
        pMenu->EnableMenuItem(ID_MENU_STOP, MF_BYCOMMAND | (m_bPlaying ? MF_ENABLED : MF_GRAYED));
    }
}

void COrvantaDlg::OnBuy()
{
    Trade(true);
}

void COrvantaDlg::OnSell()
{
    Trade(false);
}

void COrvantaDlg::Trade(bool bBuy)
{
    // Before a bar is shown there is no price on the screen to trade at.
    if (!m_player.HasCurrentBar())
        return;
    m_journal.Trade(m_account, bBuy ? ETradeSide::Buy : ETradeSide::Sell, m_player.m_dClose,
                    m_player.m_vecWindow.empty() ? 0.0 : m_player.m_vecWindow.back().dDate,
                    std::time(nullptr));
    ShowTradeMarkers();
    ShowAccountLabels();
    UpdateData(FALSE);
}

void COrvantaDlg::OnSettings()
{
    const int nSecondsBefore = ReplaySettings().m_nRefreshSeconds;
    CDlgSetting dlgSetting;
    if (dlgSetting.DoModal() != IDOK)
        return;
    // The settings dialog has stored the new period in seconds; an unchanged number keeps a
    // step of the speed menu that whole seconds cannot show.
    const int nSeconds = ReplaySettings().m_nRefreshSeconds;
    if (nSeconds != nSecondsBefore)
    {
        SetReplayPeriod(0);
        return;
    }
    KillTimer(kReplayTimer);
    ArmReplayTimer();
}

void COrvantaDlg::OnExit()
{
    if (ConfirmExit())
        OnOK();
}

void COrvantaDlg::OnAbout()
{
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

void COrvantaDlg::OnPrint()
{
    // The chart runs the print dialog and prints what it shows now, on one page.
    m_chart.PrintChart("Orvanta");
}
