#pragma once

#include "core/PracticeSession.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QSpinBox;

// Asks how far to go forward: to a date, by a number of bars, or until an order fills. A date
// that is not one is refused with a message and the dialog stays open.
class CForwardDlg : public QDialog
{
public:
    CForwardDlg(const std::string& strShownDate, QWidget* pParent = nullptr);

    CPracticeSession::EForwardUntil Until() const { return m_eUntil; }
    int Bars() const;
    double Date() const { return m_dDate; }

    void accept() override;

private:
    QRadioButton* m_pByDate = nullptr;
    QRadioButton* m_pByBars = nullptr;
    QRadioButton* m_pUntilFill = nullptr;
    QLineEdit* m_pDate = nullptr;
    QSpinBox* m_pBars = nullptr;
    CPracticeSession::EForwardUntil m_eUntil = CPracticeSession::EForwardUntil::Bars;
    double m_dDate = 0.0;
};
