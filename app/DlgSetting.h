#pragma once

#include "core/TradeCosts.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The replay period in seconds and how trades are made: leverage, commission, slippage, whether
// a fill pauses the replay. OK takes a period from 0.1 to 5 seconds (decimals too) and costs the
// account accepts, refusing anything else with a message and keeping the dialog open; Cancel
// changes nothing.
class CDlgSetting : public QDialog
{
public:
    CDlgSetting(int nPeriodMs, const STradeSettings& trade, bool bPauseOnFill,
                QWidget* pParent = nullptr);

    // What was entered, once the dialog ended with OK.
    int PeriodMs() const { return m_nPeriodMs; }
    const STradeSettings& TradeSettings() const { return m_trade; }
    bool PauseOnFill() const { return m_bPauseOnFill; }

    void accept() override;

private:
    bool TakeTradeSettings();

    QLineEdit* m_pInterval = nullptr;
    QLineEdit* m_pLeverage = nullptr;
    QLineEdit* m_pCommission = nullptr;
    QComboBox* m_pCommissionKind = nullptr;
    QLineEdit* m_pSlippage = nullptr;
    QCheckBox* m_pPauseOnFill = nullptr;
    int m_nPeriodMs = 0;
    STradeSettings m_trade;
    bool m_bPauseOnFill = true;
};
