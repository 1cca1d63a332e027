#pragma once

#include <QDialog>

class QLineEdit;

// Edits the replay period in seconds. OK takes a number from 0.1 to 5 (decimals too) and refuses
// anything else with a message, keeping the dialog open; Cancel changes nothing.
class CDlgSetting : public QDialog
{
public:
    CDlgSetting(int nPeriodMs, QWidget* pParent = nullptr);

    // The period entered, once the dialog ended with OK.
    int PeriodMs() const { return m_nPeriodMs; }

    void accept() override;

private:
    QLineEdit* m_pInterval = nullptr;
    int m_nPeriodMs = 0;
};
