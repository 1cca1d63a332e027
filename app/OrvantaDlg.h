#pragma once

#include "app/Resources.h"
#include "chart/ChartCtrl.h"
#include "core/KLinePlayer.h"
#include "core/TradeAccount.h"
#include "platform/Button.h"
#include "platform/DialogEx.h"

#include <string>

class CChartStandardAxis;
class CChartDateTimeAxis;

// The replay timer's period in milliseconds for a period in seconds. The product is taken in 64
// bits; below 10 ms it is 10 ms (the fastest replay), and a negative product becomes the longest
// period the timer has, 2^31 - 1 ms, so the replay as good as pauses.
UINT ReplayTimerPeriod(int nRefreshSeconds);

// The main window: picks and loads a K-line file, plays it with timer 1, trades one unit at the
// newest close and shows the newest bar and the account under the chart.
class COrvantaDlg : public CDialogEx
{
public:
    explicit COrvantaDlg(CWnd* pParent = nullptr);

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
    DECLARE_MESSAGE_MAP()

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

    // Loaded when the dialog opens, exactly as if chosen in the file dialog; empty = none.
    std::string m_strStartFile;
};
