#include "app/OrvantaDlg.h"

#include "app/AboutDlg.h"
#include "app/DlgSetting.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartStandardAxis.h"
#include "core/ReplaySettings.h"
#include "platform/DataExchange.h"
#include "platform/FileDialog.h"
#include "platform/Menu.h"
#include "platform/PaintDC.h"
#include "platform/Resource.h"
#include "platform/StringFormat.h"
#include "platform/WinUser.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace
{
constexpr const char* kPlayText = "播放K线";
constexpr const char* kStopText = "停止播放";
constexpr int kInfoMaxChars = 512;
} // namespace

UINT ReplayTimerPeriod(int nRefreshSeconds)
{
    const std::int64_t nMilliseconds = static_cast<std::int64_t>(nRefreshSeconds) * 1000;
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
ON_COMMAND(ID_MENU_PLAY, &COrvantaDlg::OnPlayStop)
ON_COMMAND(ID_MENU_STOP, &COrvantaDlg::OnPlayStop)
ON_COMMAND(ID_MENU_EXIT, &COrvantaDlg::OnExit)
ON_BN_CLICKED(IDC_BTN_BUY, &COrvantaDlg::OnBuy)
ON_BN_CLICKED(IDC_BTN_SELL, &COrvantaDlg::OnSell)
ON_COMMAND(ID_MENU_ABOUT, &COrvantaDlg::OnAbout)
ON_COMMAND(ID_MENU_PRINT, &COrvantaDlg::OnPrint)
END_MESSAGE_MAP()

COrvantaDlg::COrvantaDlg(CWnd* pParent) : CDialogEx(IDD_ORVANTA_DIALOG, pParent)
{
    m_hIcon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
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

    // The timer runs for the dialog's whole life; ticks only act while playing.
    ArmReplayTimer();

    if (!m_strStartFile.empty())
    {
        std::error_code ec;
        const std::filesystem::path fullPath = std::filesystem::absolute(m_strStartFile, ec);
        LoadChosenFile(ec ? m_strStartFile : fullPath.lexically_normal().string());
    }
    return TRUE;
}

void COrvantaDlg::ArmReplayTimer()
{
    SetTimer(kReplayTimer, ReplayTimerPeriod(ReplaySettings().m_nRefreshSeconds), nullptr);
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
    CFileDialog dlgFile(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "All Files(*.*)|*.*||", this);
    if (dlgFile.DoModal() != IDOK)
        return;
    LoadChosenFile(dlgFile.GetPathName());
}

void COrvantaDlg::LoadChosenFile(const std::string& strPath)
{
    m_strFilePath = strPath;
    if (!m_strFilePath.empty())
        m_player.Load(m_strFilePath);
    m_strInfo = StringFormat("加载:%s; 数据量:(%d);", m_strFilePath.c_str(), m_player.m_nBarCount);
    // A finished replay can be played again once a file is chosen; m_bPlaying stays as it is.
    m_btnPlay.SetWindowText(kPlayText);
    m_btnPlay.EnableWindow(TRUE);
    UpdateData(FALSE);
}

void COrvantaDlg::OnPlayStop()
{
    if (m_bPlaying)
    {
        m_bPlaying = FALSE;
        m_btnPlay.SetWindowText(kPlayText);
        return;
    }
    m_bPlaying = TRUE;
    m_btnPlay.SetWindowText(kStopText);
    if (m_player.m_pChart == nullptr)
        m_player.m_pChart = &m_chart;
    // The labels follow at the next tick.
    m_player.Step();
}

void COrvantaDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kReplayTimer && m_bPlaying)
    {
        // Step, end check, mark, texts: the tick that shows the last bar still marks and shows.
        if (m_player.m_pChart == nullptr)
            m_player.m_pChart = &m_chart;
        if (m_player.Step() == m_player.m_nBarCount)
        {
            m_bPlaying = FALSE;
            m_btnPlay.SetWindowText(kPlayText);
            m_btnPlay.EnableWindow(FALSE);
        }

        m_account.SetCurrentPrice(m_player.m_dClose);

        m_strInfo = StringFormat("加载:%s; 数据量:(%d); 播放进度:[%d of %d]", m_strFilePath.c_str(),
                                 m_player.m_nBarCount, m_player.m_nCursor, m_player.m_nBarCount);
        m_strOpen = StringFormat("Open:%.2f", m_player.m_dOpen);
        m_strHigh = StringFormat("High:%.2f", m_player.m_dHigh);
        m_strLow = StringFormat("Low:%.2f", m_player.m_dLow);
        m_strClose = StringFormat("Close:%.2f", m_player.m_dClose);
        m_strAccount = StringFormat("Account:%.2f", m_account.GetShownAccount());
        m_strPosition = StringFormat("Position:%d", m_account.m_nPosition);
        m_strProfit = StringFormat("Profit:%.2f", m_account.m_dProfit);
        UpdateData(FALSE);
    }
    CDialogEx::OnTimer(nIDEvent);
}

void COrvantaDlg::OnBuy()
{
    m_account.Buy(m_player.m_dClose);
}

void COrvantaDlg::OnSell()
{
    m_account.Sell(m_player.m_dClose);
}

void COrvantaDlg::OnSettings()
{
    CDlgSetting dlgSetting;
    if (dlgSetting.DoModal() != IDOK)
        return;
    // The settings dialog has stored the new period.
    KillTimer(kReplayTimer);
    ArmReplayTimer();
}

void COrvantaDlg::OnExit()
{
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
