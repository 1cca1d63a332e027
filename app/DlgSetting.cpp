#include "app/DlgSetting.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/Resources.h"
#include "app/TradeTexts.h"
#include "core/PracticeSession.h"
#include "core/ReplaySpeed.h"
#include "core/TradeRefusal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace
{

constexpr int kIntervalMaxChars = 4;
constexpr int kNumberMaxChars = 16;

// A cost as the edit shows it: without trailing zeros, as typed.
QString NumberText(double dValue)
{
    return QString::fromStdString(StringFormat("%g", dValue));
}

} // namespace

CDlgSetting::CDlgSetting(int nPeriodMs, const STradeSettings& trade, bool bPauseOnFill,
                         QWidget* pParent)
    : QDialog(pParent), m_nPeriodMs(nPeriodMs), m_trade(trade), m_bPauseOnFill(bPauseOnFill)
{
    const CDialogUnits units(8);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_SETTINGS_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(219, 180));

    QPushButton* pOk = AddButton(this, units, AppQText(IDS_OK), {106, 159, 50, 14}, true);
    QPushButton* pCancel = AddButton(this, units, AppQText(IDS_CANCEL), {162, 159, 50, 14});
    AddGroupBox(this, units, AppQText(IDS_SETTINGS_GROUP), {7, 5, 205, 65});
    AddLabel(this, units, AppQText(IDS_SETTINGS_INTERVAL), {13, 20, 33, 8});
    m_pInterval = AddEdit(this, units, {47, 19, 23, 9}, false, kIntervalMaxChars);
    m_pInterval->setText(QString::fromStdString(ReplaySpeedSeconds(nPeriodMs)));
    AddLabel(this, units, AppQText(IDS_SETTINGS_SECONDS), {72, 20, 9, 8});

    AddGroupBox(this, units, AppQText(IDS_SETTINGS_TRADE_GROUP), {7, 74, 205, 80});
    AddLabel(this, units, AppQText(IDS_SETTINGS_LEVERAGE), {13, 89, 40, 8});
    m_pLeverage = AddEdit(this, units, {55, 87, 45, 12}, false, kNumberMaxChars);
    m_pLeverage->setText(NumberText(trade.dLeverage));
    AddLabel(this, units, AppQText(IDS_SETTINGS_COMMISSION), {13, 105, 40, 8});
    m_pCommission = AddEdit(this, units, {55, 103, 45, 12}, false, kNumberMaxChars);
    m_pCommission->setText(NumberText(trade.costs.dCommission));
    m_pCommissionKind = new QComboBox(this);
    for (unsigned nId = IDS_SETTINGS_COMMISSION_FIRST; nId <= IDS_SETTINGS_COMMISSION_LAST; ++nId)
        m_pCommissionKind->addItem(AppQText(nId));
    m_pCommissionKind->setCurrentIndex(static_cast<int>(trade.costs.eCommission));
    m_pCommissionKind->setGeometry(units.Rect(104, 102, 70, 14));
    AddLabel(this, units, AppQText(IDS_SETTINGS_SLIPPAGE), {13, 121, 40, 8});
    m_pSlippage = AddEdit(this, units, {55, 119, 45, 12}, false, kNumberMaxChars);
    m_pSlippage->setText(NumberText(trade.costs.dSlippage));
    m_pPauseOnFill = new QCheckBox(AppQText(IDS_SETTINGS_PAUSE_ON_FILL), this);
    m_pPauseOnFill->setChecked(bPauseOnFill);
    m_pPauseOnFill->setGeometry(units.Rect(13, 136, 190, 12));

    connect(pOk, &QPushButton::clicked, this, &CDlgSetting::accept);
    connect(pCancel, &QPushButton::clicked, this, &CDlgSetting::reject);
    pOk->setFocus(Qt::TabFocusReason);
}

void CDlgSetting::accept()
{
    double dSeconds = 0.0;
    const double dMin = CPracticeSession::kMinPeriodMs / 1000.0;
    const double dMax = CPracticeSession::kMaxPeriodMs / 1000.0;
    if (!ParseNumber(m_pInterval->text(), &dSeconds) || dSeconds < dMin || dSeconds > dMax)
    {
        ShowMessageBox(this, AppQText(IDS_SETTINGS_OUT_OF_RANGE));
        m_pInterval->setFocus(Qt::TabFocusReason);
        return;
    }
    if (!TakeTradeSettings())
        return;
    m_nPeriodMs = static_cast<int>(std::lround(dSeconds * 1000.0));
    m_bPauseOnFill = m_pPauseOnFill->isChecked();
    QDialog::accept();
}

bool CDlgSetting::TakeTradeSettings()
{
    STradeSettings trade;
    for (auto [pEdit, pdValue] : {std::pair{m_pLeverage, &trade.dLeverage},
                                  {m_pCommission, &trade.costs.dCommission},
                                  {m_pSlippage, &trade.costs.dSlippage}})
        if (!ParseNumber(pEdit->text(), pdValue))
        {
            ShowMessageBox(this, QString::fromStdString(FormatAppText(
                                     IDS_ORDER_BAD_NUMBER, pEdit->text().toStdString().c_str())));
            pEdit->setFocus(Qt::TabFocusReason);
            return false;
        }
    trade.costs.eCommission = static_cast<ECommissionKind>(m_pCommissionKind->currentIndex());
    STradeRefusal refusal;
    if (!CheckTradeSettings(trade, &refusal))
    {
        ShowMessageBox(this, QString::fromStdString(RefusalText(refusal, 2)));
        return false;
    }
    m_trade = trade;
    return true;
}
