#pragma once

#include "app/AppSettings.h"
#include "app/RecentFiles.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartOrderSink.h"
#include "core/PracticeSession.h"
#include "core/Timeframe.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDialogUnits;
class CReplayChart;
class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QSplitter;
class QSpinBox;

// The main window: picks and loads a K-line file, plays it on a timer, trades at the newest close
// and shows the newest bar and the account under the chart. It holds no trading state: it shows
// the practice session and forwards the user's commands to it.
class COrvantaDlg : public QDialog, private IChartOrderSink
{
public:
    explicit COrvantaDlg(QWidget* pParent = nullptr);
    ~COrvantaDlg() override;

    // Loaded once the window runs, as if chosen in the file dialog; a failure is shown in a box.
    // strStartDate (YYYY-MM-DD, may be empty) is where the practice in it begins.
    void LoadAtStart(const std::string& strPath, const std::string& strStartDate);

    // What a test reads of the window besides its widgets.
    const CPracticeSession& Session() const { return m_session; }
    CChartCtrl& Chart() { return m_chart; }
    // Writes the chart's picture to strPath in the format its extension names (PNG, JPEG, BMP),
    // PNG with ".png" added when it names none; a failure is shown in a box.
    bool SaveChartImage(std::string strPath);

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    // Escape does nothing: a window driven from the keyboard must not close on a stray key.
    void reject() override {}
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    // Building the window (OrvantaDlg.cpp).
    void CreateControls(const CDialogUnits& units);
    void CreateActions();
    void CreateMenus();
    QAction* NewAction(unsigned nTextId, void (COrvantaDlg::*pfnSlot)());
    void ApplyLayout();

    // The charts (OrvantaDlgCharts.cpp): the main one and a second of the same file, each in
    // its own timeframe, side by side or one above the other, split where the user drags.
    void CreateCharts(const QRect& rcCharts);
    void CreateChartActions();
    void CreateChartMenus(QMenu* pOptions);
    void ShowNewFileOnCharts();
    // The window of bars on every chart shown, with its averages and markers: one redraw each.
    void ShowCharts();
    void ShowTradingOnCharts();
    void ShowChartChecks();
    void OnTimeframe(int nIndex);
    void OnSecondTimeframe(int nIndex);
    void OnSecondChart(int nMode);
    void ApplySecondChart();
    // The timeframe a chart shows of the loaded file for a chosen index: none, the file's own
    // bars, for the finest offered or below.
    std::optional<ETimeframe> ShownTimeframe(int nChosen) const;
    bool HasSecondChart() const { return m_settings.nSecondChart != 0; }

    // Showing the session: everything the window shows follows from it.
    void ShowSession();
    void ShowLabels();
    void ShowCommandState();
    void ShowInfoLine();
    void SyncReplayTimer();
    // Tells the user, once, what went wrong with the settings file or the trade log.
    void ShowNotes();

    // Files (OrvantaDlgFiles.cpp): what a chosen file does, wherever it came from.
    void OnLoad();
    void LoadChosenFile(const std::string& strPath);
    // The import dialog for the file loaded now; OK loads it again that way.
    void OnImportSettings();
    bool CanImportCurrentFile() const;
    // The trader chooses the layout in the import dialog; true once the file was read with it.
    bool ImportFile(const std::string& strPath, const SKLineLayout& preset, unsigned nPromptId,
                    SReadFile* pFile);
    // Asks about an open position, then replaces the practice's file; pChosen is kept for the
    // file when the trader chose it.
    void OpenReadFile(SReadFile&& file, const SKLineLayout* pChosen);
    // True when no position is open, or the user had it closed at the last close shown.
    bool ClosePositionFirst(unsigned nQuestionId);
    void OnRecentFile(std::size_t nIndex);
    void ShowRecentFiles();
    void RememberLoad(const std::string& strPath, bool bLoaded);
    void OnSaveImage();
    void OnPrint();

    // Replay and practice (OrvantaDlgPractice.cpp).
    void OnPlayStop();
    void OnPlay();
    void OnStop();
    void OnReplayTimer();
    void OnStepBar();
    void OnStepBack();
    void OnForward();
    // 1. the step, its averages and markers in one redraw; 2. the window shows the result.
    void RunTick(void (CPracticeSession::*pfnStep)());
    void OnBuy();
    void OnSell();
    void Trade(ETradeSide eSide);
    void ShowRefusal(const STradeRefusal& refusal);
    // The order dialog, opened on this request (the menu's: a market buy of the quantity shown).
    void OnPlaceOrder();
    void PlaceOrderFrom(const SOrderRequest& initial);
    void OnOrders();
    void OnQuantityChanged(int nQuantity);
    // What trading changed on the chart and in the labels: markers, order lines, account.
    void ShowTrading();

    // Orders on the chart (OrvantaDlgChartOrders.cpp): a dragged line moves its order, the "x"
    // cancels it, a right click offers the orders that may wait at the clicked price.
    void OnOrderMoved(int nId, double dPrice) override;
    void OnOrderCancel(int nId) override;
    void OnChartContextMenu(POINT pt, double dPrice) override;
    void PlaceOrderAt(ETradeOrderKind eKind, double dPrice);
    void OnSpeedStep(int nPeriodMs);
    void OnFaster();
    void OnSlower();
    void SetReplayPeriod(int nPeriodMs);
    void OnChooseStart();
    void OnRandomStart();
    void ShowStartResult(EStartResult eResult, const std::string& strAsked);
    void OnReport();
    void OnExportTrades();
    void OnSettings();
    void OnAbout();
    void OnExit();
    void ToggleAverage(std::size_t nIndex);
    // Asks before a session with trades ends; true when it may end.
    bool ConfirmExit();
    // A box with the window's caption. Answers true for Yes (question) or OK.
    bool ShowMessage(const std::string& strText, bool bQuestion = false);

    // Stops the replay timer while a modal dialog of ours is open; the replay goes on when it
    // closes, unless the dialog's action stopped it.
    class CModalPause
    {
    public:
        explicit CModalPause(COrvantaDlg& dlg);
        ~CModalPause();
        CModalPause(const CModalPause&) = delete;
        CModalPause& operator=(const CModalPause&) = delete;

    private:
        COrvantaDlg& m_dlg;
    };
    int m_nModalDepth = 0;

    CPracticeSession m_session;
    CChartCtrl m_chart;
    std::unique_ptr<CReplayChart> m_pReplayChart;
    CChartCtrl m_chart2;
    std::unique_ptr<CReplayChart> m_pReplayChart2;
    QSplitter* m_pSplitter = nullptr;
    int m_nFinestTimeframe = -1; // the finest timeframe the loaded file offers; -1 without one
    CSettingsFile m_settingsFile;
    SAppSettings m_settings;
    CRecentFiles m_recentFiles;
    QTimer m_replayTimer;
    std::string m_strStartDate; // for the file loaded at start
    std::string m_strLogFailure; // why the trade log loses lines, while it does; told once

    // Widgets, owned by the window.
    QMenuBar* m_pMenuBar = nullptr;
    QWidget* m_pClient = nullptr;
    QLineEdit* m_pInfo = nullptr;
    QPushButton* m_pBtnLoad = nullptr;
    QPushButton* m_pBtnPlay = nullptr;
    QPushButton* m_pBtnBuy = nullptr;
    QPushButton* m_pBtnSell = nullptr;
    QSpinBox* m_pQuantity = nullptr;
    std::array<QLabel*, 7> m_arrLabels = {}; // open, high, low, close, account, position, profit

    // Where each control sat at the start, and which edges it keeps its distance to.
    struct SAnchoredControl
    {
        QWidget* pWidget = nullptr;
        QRect rcStart;
        bool bRight = false;  // keeps its distance to the right edge
        bool bBottom = false; // keeps its distance to the bottom edge
        bool bGrowX = false;  // keeps its left edge and its distance to the right edge
        bool bGrowY = false;  // keeps its top edge and its distance to the bottom edge
    };
    std::vector<SAnchoredControl> m_vecLayout;
    QSize m_szStartClient;

    // Actions: one each for the menu and the key.
    QAction* m_pActLoad = nullptr;
    QAction* m_pActImport = nullptr;
    QAction* m_pActPlay = nullptr;
    QAction* m_pActStop = nullptr;
    QAction* m_pActStepBar = nullptr;
    QAction* m_pActStepBack = nullptr;
    QAction* m_pActForward = nullptr;
    QAction* m_pActChooseStart = nullptr;
    QAction* m_pActRandomStart = nullptr;
    QAction* m_pActPrint = nullptr;
    QAction* m_pActSaveImage = nullptr;
    QAction* m_pActExit = nullptr;
    QAction* m_pActSettings = nullptr;
    std::vector<QAction*> m_vecSpeedActions;
    QAction* m_pActFaster = nullptr;
    QAction* m_pActSlower = nullptr;
    QAction* m_pActBuy = nullptr;
    QAction* m_pActSell = nullptr;
    QAction* m_pActReport = nullptr;
    QAction* m_pActExport = nullptr;
    QAction* m_pActPlaceOrder = nullptr;
    QAction* m_pActOrders = nullptr;
    QAction* m_pActAbout = nullptr;
    std::array<QAction*, 4> m_arrAverageActions = {};
    std::vector<QAction*> m_vecTimeframeActions;       // the main chart's, keys 1 to 9
    std::vector<QAction*> m_vecSecondTimeframeActions; // the second chart's
    std::array<QAction*, 3> m_arrSecondChartActions = {}; // off, side by side, one above the other
    QMenu* m_pFileMenu = nullptr;
    std::vector<QAction*> m_vecRecentActions; // the listed files and the separator after them
};
