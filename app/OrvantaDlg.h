#pragma once

#include "app/RecentFiles.h"
#include "app/Resources.h"
#include "chart/ChartCtrl.h"
#include "core/KLinePlayer.h"
#include "core/TradeAccount.h"
#include "core/TradeJournal.h"
#include "platform/Button.h"
#include "platform/DialogEx.h"

#include <array>
#include <random>
#include <string>
#include <vector>

class CChartStandardAxis;
class CChartTradeMarkerSerie;
struct HACCEL__;
class CChartDateTimeAxis;
class CChartCrosshair;

// The replay timer's period in milliseconds for a period in seconds. The product is taken in 64
// bits; below 10 ms it is 10 ms (the fastest replay), and a negative product becomes the longest
// period the timer has, 2^31 - 1 ms, so the replay as good as pauses.
UINT ReplayTimerPeriod(int nRefreshSeconds);
// The same clamping for a period already in milliseconds.
UINT ReplayTimerPeriodMs(long long nMilliseconds);

// "&1 /path/file.csv": the file menu's item for the recent file at nIndex.
std::string RecentFileMenuText(int nIndex, const std::string& strPath);

// The main window: picks and loads a K-line file, plays it with timer 1, trades one unit at the
// newest close and shows the newest bar and the account under the chart.
class COrvantaDlg : public CDialogEx
{
public:
    explicit COrvantaDlg(CWnd* pParent = nullptr);
    ~COrvantaDlg() override;

    static constexpr UINT_PTR kReplayTimer = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT nID, LPARAM lParam) override;
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnTimer(UINT_PTR nIDEvent) override;

    afx_msg void OnLoad();
    afx_msg void OnPlayStop();
    afx_msg void OnPlay();
    afx_msg void OnStop();
    afx_msg void OnBuy();
    afx_msg void OnSell();
    afx_msg void OnSettings();
    afx_msg void OnExit();
    afx_msg void OnAbout();
    afx_msg void OnPrint();
    // The window, the chart's reading aids and its picture: OrvantaDlgWindow.cpp.
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDropFiles(HDROP hDropInfo) override;
    afx_msg void OnSaveImage();
    afx_msg void OnToggleMa5();
    afx_msg void OnToggleMa10();
    afx_msg void OnToggleMa20();
    afx_msg void OnToggleMa60();
    // Practice: keys, speed, start point, journal (OrvantaDlgPractice.cpp).
    afx_msg void OnStepBar();
    afx_msg void OnFaster();
    afx_msg void OnSlower();
    void OnSpeedStep(UINT nID);
    // The speed steps and the recent files: one handler for each range of items.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnChooseStart();
    afx_msg void OnRandomStart();
    afx_msg void OnReport();
    afx_msg void OnExportTrades();
    void OnClose() override;
    // Recent files (OrvantaDlgRecentFiles.cpp).
    void OnRecentFile(UINT nID);
    // Escape does nothing: a window driven from the keyboard must not close on a stray key.
    void OnCancel() override;
    DECLARE_MESSAGE_MAP()

public:
    static constexpr std::array<int, 4> kAveragePeriods = {5, 10, 20, 60};
    // Shows or hides the average of kAveragePeriods[nIndex] and remembers the choice.
    void ToggleAverage(std::size_t nIndex);
    // Writes the chart's picture to strPath, ".png" added when missing; a failure is shown in a
    // box. Answers whether the file was written.
    bool SaveChartImage(std::string strPath);

private:
    // What a chosen file does, whether it came from the file dialog or the command line: the
    // old file's replay, chart and bar labels go. A failure is also shown in a box on request.
    void LoadChosenFile(const std::string& strPath, bool bShowFailure);
    void LoadStartFile();
    void ClearChart();
    void ArmReplayTimer();
    // One replay step with everything that goes with it: end check, mark, texts.
    void ReplayTick();
    void Trade(bool bBuy);
    void ShowBarLabels();
    void ShowAccountLabels();
    // Play, Stop, Buy and Sell are offered exactly when they would do something.
    void ShowCommandState();
    void SetUpWindowFeatures();
    // Where each control sat in the template's layout, and which edges it keeps its distance to.
    void RememberLayout();
    void ApplyLayout(int cx, int cy);
    // The checked averages as line series over the current window's candles.
    void ShowAverages();
    void ShowAverageChecks();

    struct SAnchoredControl
    {
        CWnd* pWnd = nullptr;
        RECT rcStart = {0, 0, 0, 0};
        bool bRight = false;  // keeps its distance to the right edge
        bool bBottom = false; // keeps its distance to the bottom edge
        bool bGrowX = false;  // keeps its left edge and its distance to the right edge
        bool bGrowY = false;  // keeps its top edge and its distance to the bottom edge
    };
    std::vector<SAnchoredControl> m_vecLayout;
    SIZE m_szStartClient = {0, 0};

    // Recent files (OrvantaDlgRecentFiles.cpp): a file that loaded moves to the front, one that
    // failed leaves the list.
    void SetUpRecentFiles();
    void RememberLoad(const std::string& strPath, bool bLoaded);
    void ShowRecentFiles();
    CRecentFiles m_recentFiles;
    std::size_t m_nRecentShown = 0;

    // Practice (OrvantaDlgPractice.cpp).
    void SetUpPractice();
    // Stores a new replay period, remembers it in the settings file and re-arms the timer;
    // 0 = the settings dialog's whole seconds.
    void SetReplayPeriod(int nPeriodMs);
    // The period the replay runs at, in milliseconds.
    static long long ReplayPeriodMs();
    void ShowSpeedState();
    // The information line with the speed after it.
    std::string WithSpeed(const std::string& strInfo) const;
    // Restarts the replay so that its next step shows the window ending at bar nCursor - 1.
    void StartAt(int nCursor);
    // False, with a message shown, when the date names no start in the loaded file.
    bool StartAtDate(const std::string& strDate);
    // Half the shortest spacing of the file's bars keeps the outer candles whole.
    void SetDatePadding();
    // The trades and the open position's average over the window now on the chart.
    void ShowTradeMarkers();
    CChartTradeMarkerSerie* FindMarkerSerie();
    // Asks before a session with trades ends; true when it may end.
    bool ConfirmExit();
    // Decimals of prices in exports and labels of the trades.
    int PriceDecimals() const;

public:
    CChartCtrl m_chart;
    CChartStandardAxis* m_pPriceAxis = nullptr; // owned by m_chart
    CChartDateTimeAxis* m_pTimeAxis = nullptr;  // owned by m_chart
    std::string m_strInfo;
    std::string m_strFilePath;
    BOOL m_bPlaying = FALSE;
    bool m_bFinished = false; // the last bar has been shown; only a load plays again
    CButton m_btnPlay;
    CKLinePlayer m_player;
    CTradeAccount m_account;
    HICON m_hIcon = nullptr;
    // The labels' texts; the constructor gives them their start texts.
    std::string m_strOpen;
    std::string m_strHigh;
    std::string m_strLow;
    std::string m_strClose;
    std::string m_strAccount;
    std::string m_strPosition;
    std::string m_strProfit;

    CChartCrosshair* m_pCrosshair = nullptr; // owned by m_chart
    std::array<bool, 4> m_arrAverageShown = {false, false, false, false};

    // Loaded when the dialog opens, exactly as if chosen in the file dialog; empty = none.
    std::string m_strStartFile;
    // Where the practice in the start file begins (YYYY-MM-DD); empty = the first window.
    std::string m_strStartDate;

    CTradeJournal m_journal;
    std::mt19937 m_randomStart{std::random_device{}()};
    HACCEL__* m_hAccel = nullptr; // the keys of the main window
};
