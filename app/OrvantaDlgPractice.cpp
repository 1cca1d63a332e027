// The main window's practice commands: replay, trades, speed, start point, averages, report,
// export, settings, About and leaving.
#include "app/OrvantaDlg.h"

#include "app/AboutDlg.h"
#include "app/DialogControls.h"
#include "app/DlgSetting.h"
#include "app/FileDialogs.h"
#include "app/ForwardDlg.h"
#include "app/OrderDlg.h"
#include "app/OrdersDlg.h"
#include "app/ReportDlg.h"
#include "app/Resources.h"
#include "app/StartDateDlg.h"
#include "app/TradeTexts.h"
#include "chart/RefreshHold.h"
#include "core/ReplayChart.h"
#include "core/TradeJournalCsv.h"
#include "core/TradeLog.h"

#include <ctime>

#include <QCloseEvent>
#include <QSpinBox>

void COrvantaDlg::OnPlayStop()
{
    if (m_session.IsPlaying())
        OnStop();
    else
        OnPlay();
}

void COrvantaDlg::OnPlay()
{
    if (!m_session.CanPlay())
        return;
    RunTick(&CPracticeSession::Play);
}

void COrvantaDlg::OnStop()
{
    m_session.Stop();
    ShowSession();
}

void COrvantaDlg::OnReplayTimer()
{
    if (m_session.IsPlaying())
        RunTick(&CPracticeSession::Tick);
}

void COrvantaDlg::OnStepBar()
{
    if (m_session.IsPlaying() || m_session.IsFinished() || m_session.Player().m_nBarCount == 0)
        return;
    RunTick(&CPracticeSession::Tick);
}

void COrvantaDlg::OnStepBack()
{
    if (!m_session.CanStepBack())
        return;
    m_session.StepBack();
    ShowCharts();
    ShowSession();
    ShowNotes();
}

void COrvantaDlg::OnForward()
{
    CForwardDlg dlgForward(m_session.ShownDate(), this);
    {
        const CModalPause pause(*this);
        if (dlgForward.exec() != QDialog::Accepted)
            return;
    }
    m_session.FastForward(dlgForward.Until(), dlgForward.Bars(), dlgForward.Date());
    ShowCharts();
    ShowSession();
    ShowNotes();
}

void COrvantaDlg::RunTick(void (CPracticeSession::*pfnStep)())
{
    (m_session.*pfnStep)();
    ShowCharts();
    ShowSession();
    ShowNotes();
}

void COrvantaDlg::OnBuy()
{
    Trade(ETradeSide::Buy);
}

void COrvantaDlg::OnSell()
{
    Trade(ETradeSide::Sell);
}

void COrvantaDlg::Trade(ETradeSide eSide)
{
    if (!m_session.CanTrade())
        return;
    STradeRefusal refusal;
    const int nQuantity = m_pQuantity->value();
    const bool bTraded = eSide == ETradeSide::Buy ? m_session.Buy(nQuantity, &refusal)
                                                  : m_session.Sell(nQuantity, &refusal);
    ShowTrading();
    if (!bTraded)
        ShowRefusal(refusal);
    ShowNotes();
}

void COrvantaDlg::ShowTrading()
{
    ShowTradingOnCharts();
    ShowSession();
}

void COrvantaDlg::ShowRefusal(const STradeRefusal& refusal)
{
    ShowMessage(RefusalText(refusal, m_session.PriceDecimals()));
}

void COrvantaDlg::OnQuantityChanged(int nQuantity)
{
    m_settings.nQuantity = nQuantity;
    m_settingsFile.writeSettings(m_settings);
    ShowNotes();
}

void COrvantaDlg::OnPlaceOrder()
{
    SOrderRequest request;
    request.nQuantity = m_pQuantity->value();
    request.dPrice = m_session.Player().m_dClose;
    PlaceOrderFrom(request);
}

void COrvantaDlg::PlaceOrderFrom(const SOrderRequest& initial)
{
    if (!m_session.CanTrade())
        return;
    COrderDlg dlgOrder(m_session, initial,
                       [this](const SOrderRequest& request, std::string* pstrWhy)
                       {
                           STradeRefusal refusal;
                           const bool bPlaced = m_session.PlaceRequest(request, &refusal);
                           ShowTrading();
                           if (!bPlaced)
                               *pstrWhy = RefusalText(refusal, m_session.PriceDecimals());
                           return bPlaced;
                       },
                       this);
    {
        const CModalPause pause(*this);
        dlgOrder.exec();
    }
    ShowNotes();
}

void COrvantaDlg::OnOrders()
{
    COrdersDlg dlgOrders(m_session.Desk(), m_session.PriceDecimals(),
                         [this](int nId)
                         {
                             m_session.CancelOrder(nId);
                             ShowTrading();
                         },
                         this);
    const CModalPause pause(*this);
    dlgOrders.exec();
}

void COrvantaDlg::OnSpeedStep(int nPeriodMs)
{
    SetReplayPeriod(nPeriodMs);
}

void COrvantaDlg::OnFaster()
{
    m_session.Faster();
    SetReplayPeriod(m_session.PeriodMs());
}

void COrvantaDlg::OnSlower()
{
    m_session.Slower();
    SetReplayPeriod(m_session.PeriodMs());
}

void COrvantaDlg::SetReplayPeriod(int nPeriodMs)
{
    // One period, one owner: the session's, saved whichever way it was changed.
    m_session.SetPeriodMs(nPeriodMs);
    if (m_settings.nPeriodMs != m_session.PeriodMs())
    {
        m_settings.nPeriodMs = m_session.PeriodMs();
        m_settingsFile.writeSettings(m_settings);
    }
    // The timer is armed again with the new period.
    m_replayTimer.stop();
    ShowSession();
    ShowNotes();
}

void COrvantaDlg::OnChooseStart()
{
    if (m_session.Player().m_nBarCount == 0)
        return;
    CStartDateDlg dlgDate(this);
    dlgDate.SetDate(m_session.ShownDate());
    {
        const CModalPause pause(*this);
        if (dlgDate.exec() != QDialog::Accepted)
            return;
    }
    const std::string strDate = dlgDate.Date();
    // A start that cannot be taken closes nothing.
    if (const EStartResult eCheck = m_session.CheckStart(strDate);
        eCheck == EStartResult::NotADate || eCheck == EStartResult::TooShort)
    {
        ShowStartResult(eCheck, strDate);
        return;
    }
    if (!ClosePositionFirst(IDS_START_CLOSE_POSITION))
        return;
    ShowStartResult(m_session.StartAtDate(strDate), strDate);
    ShowCharts();
}

void COrvantaDlg::OnRandomStart()
{
    if (m_session.Player().m_nBarCount < m_session.WindowBars())
    {
        ShowStartResult(EStartResult::TooShort, {});
        return;
    }
    if (!ClosePositionFirst(IDS_START_CLOSE_POSITION))
        return;
    ShowStartResult(m_session.StartAtRandom(), {});
    ShowCharts();
}

void COrvantaDlg::ShowStartResult(EStartResult eResult, const std::string& strAsked)
{
    ShowSession();
    switch (eResult)
    {
    case EStartResult::Moved:
        return;
    case EStartResult::MovedToFirst:
        ShowMessage(FormatAppText(IDS_START_BEFORE_FIRST, strAsked.c_str(),
                                  m_session.ShownDate().c_str()));
        return;
    case EStartResult::NotADate:
        ShowMessage(FormatAppText(IDS_START_NOT_A_DATE, strAsked.c_str()));
        return;
    case EStartResult::TooShort:
        ShowMessage(FormatAppText(IDS_START_TOO_SHORT, m_session.Player().m_nBarCount,
                                  m_session.WindowBars()));
        return;
    }
}

void COrvantaDlg::OnReport()
{
    CReportDlg dlgReport(m_session.Journal(), this);
    const CModalPause pause(*this);
    dlgReport.exec();
}

void COrvantaDlg::OnExportTrades()
{
    std::string strPath;
    {
        const CModalPause pause(*this);
        strPath = ChooseFileToSave(this, LoadAppString(IDS_CSV_FILTER), "csv", "trades.csv");
    }
    if (strPath.empty())
        return;
    std::string strReason;
    if (!ExportTradeJournalCsv(m_session.Journal(), strPath, m_session.PriceDecimals(),
                               &strReason))
        ShowMessage(FormatAppText(IDS_EXPORT_FAILED, strPath.c_str(), strReason.c_str()));
}

void COrvantaDlg::OnSettings()
{
    CDlgSetting dlgSetting(m_session.PeriodMs(), m_session.Desk().Settings(),
                           m_session.PausesOnFill(), this);
    {
        const CModalPause pause(*this);
        if (dlgSetting.exec() != QDialog::Accepted)
            return;
    }
    // The dialog took only what the account accepts.
    m_session.SetTradeSettings(dlgSetting.TradeSettings(), nullptr);
    m_session.SetPauseOnFill(dlgSetting.PauseOnFill());
    m_settings.trade = dlgSetting.TradeSettings();
    m_settings.bPauseOnFill = dlgSetting.PauseOnFill();
    m_settingsFile.writeSettings(m_settings);
    SetReplayPeriod(dlgSetting.PeriodMs());
}

void COrvantaDlg::OnAbout()
{
    CAboutDlg dlgAbout(this);
    const CModalPause pause(*this);
    dlgAbout.exec();
}

void COrvantaDlg::OnExit()
{
    if (ConfirmExit())
        accept();
}

void COrvantaDlg::closeEvent(QCloseEvent* pEvent)
{
    if (ConfirmExit())
        pEvent->accept();
    else
        pEvent->ignore();
}

bool COrvantaDlg::ConfirmExit()
{
    if (m_session.Journal().Records().empty())
        return true;
    return ShowMessage(LoadAppString(IDS_CONFIRM_EXIT), true);
}

void COrvantaDlg::ToggleAverage(std::size_t nIndex)
{
    const bool bShown = !m_pReplayChart->IsAverageShown(nIndex);
    m_pReplayChart->SetAverageShown(nIndex, bShown);
    m_pReplayChart2->SetAverageShown(nIndex, bShown);
    m_settings.arrAverages[nIndex] = bShown;
    m_settingsFile.writeSettings(m_settings);
    // Shown at once on the window already on the screen, not only from the next tick.
    ShowCharts();
    ShowSession();
    ShowNotes();
}

bool COrvantaDlg::ShowMessage(const std::string& strText, bool bQuestion)
{
    const CModalPause pause(*this);
    return ShowMessageBox(this, QString::fromStdString(strText), bQuestion);
}

void COrvantaDlg::ShowNotes()
{
    if (const QString strNote = m_settingsFile.TakeNote(); !strNote.isEmpty())
        ShowMessage(strNote.toStdString());
    // The first line the log loses is said in a box; the information line keeps a note while
    // lines are lost.
    const STradeLogHealth& health = m_session.Account().LogHealth();
    if (!health.bFailing)
    {
        if (!m_strLogFailure.empty())
        {
            m_strLogFailure.clear();
            ShowInfoLine();
        }
        return;
    }
    if (!m_strLogFailure.empty())
        return;
    m_strLogFailure = health.strReason;
    ShowInfoLine();
    ShowMessage(FormatAppText(IDS_LOG_NOT_WRITTEN,
                              TradeLogFileName(std::time(nullptr)).c_str(),
                              health.strReason.c_str()));
}
