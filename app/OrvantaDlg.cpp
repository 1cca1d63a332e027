#include "app/OrvantaDlg.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/LoadNote.h"
#include "app/Resources.h"
#include "core/BarLabels.h"
#include "core/ReplayChart.h"
#include "core/ReplaySpeed.h"
#include "core/TradeAccount.h"
#include "platform/WidgetHost.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>

#include <cmath>

namespace
{

// The window's layout in dialog units.
constexpr int kClientWidth = 379;
constexpr int kClientHeight = 295;
constexpr SDialogRect kChartRect = {7, 17, 365, 230};
constexpr SDialogRect kGroupRect = {7, 248, 365, 40};
constexpr int kLabelTextIds[] = {IDS_OPEN_START,    IDS_HIGH_START,     IDS_LOW_START,
                                 IDS_CLOSE_START,   IDS_ACCOUNT_START, IDS_POSITION_START,
                                 IDS_PROFIT_START};
constexpr SDialogRect kLabelRects[] = {{11, 259, 58, 8},  {79, 259, 58, 8},  {147, 259, 58, 8},
                                       {215, 259, 58, 8}, {283, 259, 82, 8}, {11, 275, 58, 8},
                                       {79, 275, 89, 8}};
constexpr const char* kLabelNames[] = {"open",    "high",     "low",   "close",
                                       "account", "position", "profit"};

// Money as the labels show it: an amount under half a cent is 0.00, never "-0.00".
double ShownMoney(double dAmount)
{
    return std::fabs(dAmount) < 0.005 ? 0.0 : dAmount;
}

// A price label of the string table, with the price in the file's decimals.
QString PriceText(unsigned nId, double dPrice, int nDecimals)
{
    return QString::fromStdString(
        StringFormat(WithPriceDecimals(AppText(nId), nDecimals).c_str(), dPrice));
}


// Keys of the window's actions win over the information line, which would take them as text;
// a number field keeps its digits, which also choose the timeframe.
class CActionKeysFirst : public QObject
{
public:
    CActionKeysFirst(QWidget* pWindow, bool bDigitsAreText, QObject* pParent)
        : QObject(pParent), m_pWindow(pWindow), m_bDigitsAreText(bDigitsAreText)
    {
    }

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pEvent->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(pObject, pEvent);
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (m_bDigitsAreText && pKey->key() >= Qt::Key_0 && pKey->key() <= Qt::Key_9 &&
            (pKey->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            return QObject::eventFilter(pObject, pEvent);
        const QKeySequence pressed(pKey->keyCombination());
        for (const QAction* pAction : m_pWindow->findChildren<QAction*>())
            if (pAction->isEnabled() && pAction->shortcuts().contains(pressed))
                return true; // unclaimed, so the action's shortcut takes the key
        return QObject::eventFilter(pObject, pEvent);
    }

private:
    QWidget* m_pWindow;
    bool m_bDigitsAreText;
};

} // namespace

COrvantaDlg::CModalPause::CModalPause(COrvantaDlg& dlg) : m_dlg(dlg)
{
    ++m_dlg.m_nModalDepth;
    m_dlg.m_replayTimer.stop();
}

COrvantaDlg::CModalPause::~CModalPause()
{
    --m_dlg.m_nModalDepth;
    m_dlg.SyncReplayTimer();
}

COrvantaDlg::COrvantaDlg(QWidget* pParent) : QDialog(pParent), m_replayTimer(this)
{
    m_replayTimer.setObjectName(QStringLiteral("replayTimer"));
    const CDialogUnits units(9);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_MAIN_CAPTION));
    setWindowIcon(AppIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAcceptDrops(true);

    m_pMenuBar = new QMenuBar(this);
    m_pClient = new QWidget(this);
    CreateControls(units);
    CreateActions();
    CreateMenus();

    m_szStartClient = units.Size(kClientWidth, kClientHeight);
    const int nMenuHeight = m_pMenuBar->sizeHint().height();
    // A resizable window never gets smaller than its layout: the layout starts from there.
    setMinimumSize(m_szStartClient.width(), m_szStartClient.height() + nMenuHeight);
    // Where the window always opened; a window manager may place it elsewhere.
    setGeometry(QRect(QPoint(0, 0), minimumSize()));

    m_settings = m_settingsFile.readSettings();
    m_session.SetPeriodMs(m_settings.nPeriodMs);
    for (std::size_t i = 0; i < m_settings.arrAverages.size(); ++i)
        for (CReplayChart* pChart : {m_pReplayChart.get(), m_pReplayChart2.get()})
            pChart->SetAverageShown(i, m_settings.arrAverages[i]);
    ApplySecondChart();
    m_recentFiles.SetFiles(m_settings.vecRecentFiles);
    ShowRecentFiles();
    m_session.SetTradeSettings(m_settings.trade, nullptr);
    m_session.SetPauseOnFill(m_settings.bPauseOnFill);
    m_pQuantity->setValue(m_settings.nQuantity);
    connect(m_pQuantity, &QSpinBox::valueChanged, this, &COrvantaDlg::OnQuantityChanged);

    connect(&m_replayTimer, &QTimer::timeout, this, &COrvantaDlg::OnReplayTimer);
    ShowSession();
    // The first control in the tab order has the focus.
    if (QWidget* pChart = WidgetOfWindow(m_chart))
        pChart->setFocus(Qt::TabFocusReason);
    // Said once the window is up, above it.
    QTimer::singleShot(0, this, &COrvantaDlg::ShowNotes);
}

COrvantaDlg::~COrvantaDlg() = default;

void COrvantaDlg::CreateControls(const CDialogUnits& units)
{
    CreateCharts(units.Rect(kChartRect.x, kChartRect.y, kChartRect.cx, kChartRect.cy));

    QGroupBox* pGroup = AddGroupBox(m_pClient, units, AppQText(IDS_TRADE_GROUP), kGroupRect);
    m_pBtnLoad = AddButton(m_pClient, units, AppQText(IDS_LOAD_BUTTON), {279, 2, 45, 12});
    AddLabel(m_pClient, units, AppQText(IDS_INFO_LABEL), {7, 3, 28, 8});
    m_pInfo = AddEdit(m_pClient, units, {36, 2, 240, 12}, true, 512);
    m_pInfo->setObjectName(QStringLiteral("info"));
    m_pBtnPlay = AddButton(m_pClient, units, AppQText(IDS_PLAY), {327, 2, 45, 12});
    for (std::size_t i = 0; i < m_arrLabels.size(); ++i)
    {
        m_arrLabels[i] = AddLabel(m_pClient, units, AppQText(kLabelTextIds[i]), kLabelRects[i]);
        m_arrLabels[i]->setObjectName(QString::fromLatin1(kLabelNames[i]));
    }
    m_pBtnBuy = AddButton(m_pClient, units, AppQText(IDS_BUY_BUTTON), {215, 270, 54, 16});
    m_pBtnSell = AddButton(m_pClient, units, AppQText(IDS_SELL_BUTTON), {283, 270, 54, 16});
    // The units Buy and Sell trade, beside them.
    m_pQuantity = new QSpinBox(m_pClient);
    m_pQuantity->setObjectName(QStringLiteral("quantity"));
    m_pQuantity->setRange(1, kMaxPositionUnits);
    m_pQuantity->setToolTip(AppQText(IDS_QUANTITY_TIP));
    m_pQuantity->setGeometry(units.Rect(170, 272, 42, 12));
    m_pInfo->installEventFilter(new CActionKeysFirst(this, false, this));
    m_pQuantity->findChild<QLineEdit*>()->installEventFilter(new CActionKeysFirst(this, true, this));

    connect(m_pBtnLoad, &QPushButton::clicked, this, &COrvantaDlg::OnLoad);
    connect(m_pBtnPlay, &QPushButton::clicked, this, &COrvantaDlg::OnPlayStop);
    connect(m_pBtnBuy, &QPushButton::clicked, this, &COrvantaDlg::OnBuy);
    connect(m_pBtnSell, &QPushButton::clicked, this, &COrvantaDlg::OnSell);

    const auto anchor = [this](QWidget* pWidget, bool bRight, bool bBottom, bool bGrowX,
                               bool bGrowY)
    { m_vecLayout.push_back({pWidget, pWidget->geometry(), bRight, bBottom, bGrowX, bGrowY}); };
    anchor(m_pSplitter, false, false, true, true);
    anchor(m_pInfo, false, false, true, false);
    anchor(m_pBtnLoad, true, false, false, false);
    anchor(m_pBtnPlay, true, false, false, false);
    anchor(pGroup, false, true, true, false);
    for (QLabel* pLabel : m_arrLabels)
        anchor(pLabel, false, true, false, false);
    anchor(m_pBtnBuy, true, true, false, false);
    anchor(m_pBtnSell, true, true, false, false);
    anchor(m_pQuantity, true, true, false, false);
}

QAction* COrvantaDlg::NewAction(unsigned nTextId, void (COrvantaDlg::*pfnSlot)())
{
    auto* pAction = new QAction(AppQText(nTextId), this);
    connect(pAction, &QAction::triggered, this, pfnSlot);
    return pAction;
}

void COrvantaDlg::CreateActions()
{
    m_pActLoad = NewAction(IDS_MENU_LOAD, &COrvantaDlg::OnLoad);
    m_pActImport = NewAction(IDS_MENU_IMPORT, &COrvantaDlg::OnImportSettings);
    // Space plays while stopped and stops while playing: each item has it while it is offered.
    m_pActPlay = NewAction(IDS_MENU_PLAY, &COrvantaDlg::OnPlay);
    m_pActPlay->setShortcut(Qt::Key_Space);
    m_pActStop = NewAction(IDS_MENU_STOP, &COrvantaDlg::OnStop);
    m_pActStop->setShortcut(Qt::Key_Space);
    m_pActStepBar = NewAction(IDS_MENU_STEP_BAR, &COrvantaDlg::OnStepBar);
    m_pActStepBar->setShortcut(Qt::Key_Right);
    m_pActStepBack = NewAction(IDS_MENU_STEP_BACK, &COrvantaDlg::OnStepBack);
    m_pActStepBack->setShortcut(Qt::Key_Left);
    m_pActForward = NewAction(IDS_MENU_FORWARD, &COrvantaDlg::OnForward);
    m_pActChooseStart = NewAction(IDS_MENU_CHOOSE_START, &COrvantaDlg::OnChooseStart);
    m_pActRandomStart = NewAction(IDS_MENU_RANDOM_START, &COrvantaDlg::OnRandomStart);
    m_pActPrint = NewAction(IDS_MENU_PRINT, &COrvantaDlg::OnPrint);
    m_pActSaveImage = NewAction(IDS_MENU_SAVE_IMAGE, &COrvantaDlg::OnSaveImage);
    m_pActExit = NewAction(IDS_MENU_EXIT, &COrvantaDlg::OnExit);
    m_pActSettings = NewAction(IDS_MENU_SETTINGS, &COrvantaDlg::OnSettings);
    for (int nPeriodMs : kReplaySpeedSteps)
    {
        auto* pAction = new QAction(QString::fromStdString(FormatAppText(
                                        IDS_SPEED_STEP, ReplaySpeedSeconds(nPeriodMs).c_str())),
                                    this);
        connect(pAction, &QAction::triggered, this,
                [this, nPeriodMs] { OnSpeedStep(nPeriodMs); });
        m_vecSpeedActions.push_back(pAction);
    }
    m_pActFaster = NewAction(IDS_MENU_FASTER, &COrvantaDlg::OnFaster);
    m_pActFaster->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                                QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)});
    m_pActSlower = NewAction(IDS_MENU_SLOWER, &COrvantaDlg::OnSlower);
    m_pActSlower->setShortcuts(
        {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)});
    m_pActBuy = NewAction(IDS_MENU_BUY, &COrvantaDlg::OnBuy);
    // With Shift or Caps Lock too: a trade key must not depend on the keyboard's state.
    m_pActBuy->setShortcuts({QKeySequence(Qt::Key_B), QKeySequence(Qt::SHIFT | Qt::Key_B)});
    m_pActSell = NewAction(IDS_MENU_SELL, &COrvantaDlg::OnSell);
    m_pActSell->setShortcuts({QKeySequence(Qt::Key_S), QKeySequence(Qt::SHIFT | Qt::Key_S)});
    m_pActReport = NewAction(IDS_MENU_REPORT, &COrvantaDlg::OnReport);
    m_pActExport = NewAction(IDS_MENU_EXPORT, &COrvantaDlg::OnExportTrades);
    m_pActPlaceOrder = NewAction(IDS_MENU_PLACE_ORDER, &COrvantaDlg::OnPlaceOrder);
    m_pActPlaceOrder->setShortcut(Qt::Key_O);
    m_pActOrders = NewAction(IDS_MENU_ORDERS, &COrvantaDlg::OnOrders);
    m_pActAbout = NewAction(IDS_MENU_ABOUT, &COrvantaDlg::OnAbout);
    for (std::size_t i = 0; i < m_arrAverageActions.size(); ++i)
    {
        m_arrAverageActions[i] =
            new QAction(QStringLiteral("MA%1").arg(CReplayChart::kAveragePeriods[i]), this);
        connect(m_arrAverageActions[i], &QAction::triggered, this, [this, i] { ToggleAverage(i); });
    }
    CreateChartActions();
    // The keys work wherever the focus is in the window, also while no menu is open.
    addActions({m_pActPlay, m_pActStop, m_pActStepBar, m_pActStepBack, m_pActFaster, m_pActSlower, m_pActBuy,
                m_pActSell, m_pActPlaceOrder});
}

void COrvantaDlg::CreateMenus()
{
    m_pFileMenu = m_pMenuBar->addMenu(AppQText(IDS_MENU_FILE));
    m_pFileMenu->addActions({m_pActLoad, m_pActImport, m_pActPlay, m_pActStop, m_pActStepBar,
                             m_pActStepBack, m_pActForward});
    m_pFileMenu->addSeparator();
    m_pFileMenu->addActions({m_pActChooseStart, m_pActRandomStart});
    m_pFileMenu->addSeparator();
    m_pFileMenu->addActions({m_pActPrint, m_pActSaveImage});
    m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(m_pActExit);

    QMenu* pOptions = m_pMenuBar->addMenu(AppQText(IDS_MENU_OPTIONS));
    pOptions->addAction(m_pActSettings);
    QMenu* pSpeed = pOptions->addMenu(AppQText(IDS_MENU_SPEED));
    for (QAction* pAction : m_vecSpeedActions)
        pSpeed->addAction(pAction);
    pSpeed->addSeparator();
    pSpeed->addActions({m_pActFaster, m_pActSlower});
    CreateChartMenus(pOptions);

    QMenu* pTrade = m_pMenuBar->addMenu(AppQText(IDS_MENU_TRADE));
    pTrade->addActions({m_pActBuy, m_pActSell});
    pTrade->addSeparator();
    pTrade->addActions({m_pActPlaceOrder, m_pActOrders});
    pTrade->addSeparator();
    pTrade->addActions({m_pActReport, m_pActExport});

    m_pMenuBar->addMenu(AppQText(IDS_MENU_HELP))->addAction(m_pActAbout);

    QMenu* pIndicators = m_pMenuBar->addMenu(AppQText(IDS_MENU_INDICATORS));
    for (QAction* pAction : m_arrAverageActions)
        pIndicators->addAction(pAction);
}

void COrvantaDlg::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    const int nMenuHeight = m_pMenuBar->sizeHint().height();
    m_pMenuBar->setGeometry(0, 0, width(), nMenuHeight);
    m_pClient->setGeometry(0, nMenuHeight, width(), std::max(0, height() - nMenuHeight));
    ApplyLayout();
}

void COrvantaDlg::ApplyLayout()
{
    // Never smaller than the start: the window keeps that as its minimum anyway.
    const int dx = std::max(0, m_pClient->width() - m_szStartClient.width());
    const int dy = std::max(0, m_pClient->height() - m_szStartClient.height());
    for (const SAnchoredControl& control : m_vecLayout)
    {
        QRect rc = control.rcStart;
        if (control.bRight)
            rc.translate(dx, 0);
        if (control.bBottom)
            rc.translate(0, dy);
        if (control.bGrowX)
            rc.setRight(rc.right() + dx);
        if (control.bGrowY)
            rc.setBottom(rc.bottom() + dy);
        if (control.pWidget->geometry() != rc)
            control.pWidget->setGeometry(rc);
    }
}

void COrvantaDlg::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // Linux windows have no system menu: its items appear as the window's context menu, on its
    // own background only.
    if (pEvent->reason() == QContextMenuEvent::Mouse)
    {
        QWidget* pHit = childAt(pEvent->pos());
        if (pHit != nullptr && pHit != m_pClient && qobject_cast<QLabel*>(pHit) == nullptr)
            return;
    }
    // The release of the press that opened the menu picks nothing, so no single right-button
    // drag can end on "Close" and quit.
    class CSystemMenu : public QMenu
    {
    public:
        CSystemMenu(QWidget* pParent, bool bOpenedByPress)
            : QMenu(pParent), m_bOpeningPressDown(bOpenedByPress)
        {
        }

    protected:
        void mouseReleaseEvent(QMouseEvent* pRelease) override
        {
            if (m_bOpeningPressDown && pRelease->button() == Qt::RightButton)
            {
                m_bOpeningPressDown = false;
                return;
            }
            QMenu::mouseReleaseEvent(pRelease);
        }

    private:
        bool m_bOpeningPressDown = false;
    };
    CSystemMenu menu(this, pEvent->reason() == QContextMenuEvent::Mouse &&
                               (QGuiApplication::mouseButtons() & Qt::RightButton) != 0);
    QAction* pClose = menu.addAction(QStringLiteral("Close"));
    menu.addSeparator();
    QAction* pAbout = menu.addAction(AppQText(IDS_ABOUTBOX));
    QAction* pChosen = menu.exec(pEvent->globalPos());
    if (pChosen == pClose)
        close();
    else if (pChosen == pAbout)
        OnAbout();
}

void COrvantaDlg::ShowSession()
{
    ShowInfoLine();
    ShowLabels();
    ShowCommandState();
    SyncReplayTimer();
}

void COrvantaDlg::ShowInfoLine()
{
    const CKLinePlayer& player = m_session.Player();
    if (m_session.FilePath().empty())
    {
        m_pInfo->clear();
        return;
    }
    const char* pszPath = m_session.FilePath().c_str();
    const std::string strBase =
        player.HasCurrentBar()
            ? FormatAppText(IDS_INFO_PROGRESS, pszPath, player.m_nBarCount, player.m_nCursor,
                            player.m_nBarCount)
            : FormatAppText(IDS_INFO_LOADED, pszPath, player.m_nBarCount);
    std::string strLine =
        FormatAppText(IDS_INFO_SPEED, strBase.c_str(), SpeedText(m_session.PeriodMs()).c_str());
    if (!m_strLogFailure.empty())
    {
        strLine += ' ';
        strLine += AppText(IDS_LOG_NOT_WRITTEN_NOTE);
    }
    strLine = FormatAppText(IDS_INFO_LOAD_NOTE, strLine.c_str(), LoadNoteText(player).c_str());
    const QString strText = QString::fromStdString(strLine);
    if (m_pInfo->text() != strText)
    {
        m_pInfo->setText(strText);
        m_pInfo->setToolTip(strText);
    }
}

void COrvantaDlg::ShowLabels()
{
    const CKLinePlayer& player = m_session.Player();
    const int nDecimals = m_session.PriceDecimals();
    std::array<QString, 7> arrTexts;
    for (std::size_t i = 0; i < arrTexts.size(); ++i)
        arrTexts[i] = AppQText(kLabelTextIds[i]);
    if (player.HasCurrentBar())
    {
        arrTexts[0] = PriceText(IDS_OPEN, player.m_dOpen, nDecimals);
        arrTexts[1] = PriceText(IDS_HIGH, player.m_dHigh, nDecimals);
        arrTexts[2] = PriceText(IDS_LOW, player.m_dLow, nDecimals);
        arrTexts[3] = PriceText(IDS_CLOSE, player.m_dClose, nDecimals);
    }
    // The account is not the file's: once marked or traded, its labels stay across files.
    const CTradeJournal& journal = m_session.Journal();
    if (!journal.Marks().empty() || !journal.Records().empty())
    {
        const CTradeAccount& account = m_session.Account();
        arrTexts[4] = QString::fromStdString(
            FormatAppText(IDS_ACCOUNT, ShownMoney(account.GetShownAccount())));
        arrTexts[5] = QString::fromStdString(FormatAppText(IDS_POSITION, account.m_nPosition));
        arrTexts[6] = QString::fromStdString(
            FormatAppText(IDS_PROFIT, ShownMoney(account.GetShownProfit())));
    }
    for (std::size_t i = 0; i < arrTexts.size(); ++i)
        if (m_arrLabels[i]->text() != arrTexts[i])
            m_arrLabels[i]->setText(arrTexts[i]);
}

void COrvantaDlg::ShowCommandState()
{
    const bool bPlaying = m_session.IsPlaying();
    m_pBtnPlay->setText(AppQText(bPlaying ? IDS_STOP : IDS_PLAY));
    m_pBtnPlay->setEnabled(!m_session.IsFinished());
    const bool bCanTrade = m_session.CanTrade();
    m_pBtnBuy->setEnabled(bCanTrade);
    m_pBtnSell->setEnabled(bCanTrade);
    m_pActPlaceOrder->setEnabled(bCanTrade);
    m_pActPlay->setEnabled(m_session.CanPlay());
    m_pActStop->setEnabled(bPlaying);
    m_pActStepBack->setEnabled(m_session.CanStepBack());
    m_pActForward->setEnabled(!bPlaying && !m_session.IsFinished() && bCanTrade);
    m_pActImport->setEnabled(CanImportCurrentFile());
    const int nSpeed = ReplaySpeedIndex(m_session.PeriodMs());
    for (std::size_t i = 0; i < m_vecSpeedActions.size(); ++i)
        ShowMenuCheck(m_vecSpeedActions[i], static_cast<int>(i) == nSpeed);
    for (std::size_t i = 0; i < m_arrAverageActions.size(); ++i)
        ShowMenuCheck(m_arrAverageActions[i], m_pReplayChart->IsAverageShown(i));
    ShowChartChecks();
}

void COrvantaDlg::SyncReplayTimer()
{
    if (!m_session.IsPlaying() || m_nModalDepth > 0)
    {
        m_replayTimer.stop();
        return;
    }
    if (m_replayTimer.interval() != m_session.PeriodMs())
        m_replayTimer.setInterval(m_session.PeriodMs());
    if (!m_replayTimer.isActive())
        m_replayTimer.start();
}
