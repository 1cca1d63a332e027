#include "app/DlgSetting.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/Resources.h"
#include "core/PracticeSession.h"
#include "core/ReplaySpeed.h"

#include <QLineEdit>
#include <QPushButton>

#include <cmath>
#include <cstdlib>

namespace
{

constexpr int kIntervalMaxChars = 4;

// Seconds as typed: a decimal number filling the whole text but for blanks around it.
bool ParseSeconds(const QString& strText, double* pdSeconds)
{
    bool bNumber = false;
    const double dSeconds = strText.trimmed().toDouble(&bNumber);
    if (!bNumber || !std::isfinite(dSeconds))
        return false;
    *pdSeconds = dSeconds;
    return true;
}

} // namespace

CDlgSetting::CDlgSetting(int nPeriodMs, QWidget* pParent) : QDialog(pParent), m_nPeriodMs(nPeriodMs)
{
    const CDialogUnits units(8);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_SETTINGS_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(219, 96));

    QPushButton* pOk = AddButton(this, units, AppQText(IDS_OK), {106, 75, 50, 14}, true);
    QPushButton* pCancel = AddButton(this, units, AppQText(IDS_CANCEL), {162, 75, 50, 14});
    AddGroupBox(this, units, AppQText(IDS_SETTINGS_GROUP), {7, 5, 205, 65});
    AddLabel(this, units, AppQText(IDS_SETTINGS_INTERVAL), {13, 20, 33, 8});
    m_pInterval = AddEdit(this, units, {47, 19, 23, 9}, false, kIntervalMaxChars);
    m_pInterval->setText(QString::fromStdString(ReplaySpeedSeconds(nPeriodMs)));
    AddLabel(this, units, AppQText(IDS_SETTINGS_SECONDS), {72, 20, 9, 8});
    connect(pOk, &QPushButton::clicked, this, &CDlgSetting::accept);
    connect(pCancel, &QPushButton::clicked, this, &CDlgSetting::reject);
    pOk->setFocus(Qt::TabFocusReason);
}

void CDlgSetting::accept()
{
    double dSeconds = 0.0;
    const double dMin = CPracticeSession::kMinPeriodMs / 1000.0;
    const double dMax = CPracticeSession::kMaxPeriodMs / 1000.0;
    if (!ParseSeconds(m_pInterval->text(), &dSeconds) || dSeconds < dMin || dSeconds > dMax)
    {
        ShowMessageBox(this, AppQText(IDS_SETTINGS_OUT_OF_RANGE));
        m_pInterval->setFocus(Qt::TabFocusReason);
        return;
    }
    m_nPeriodMs = static_cast<int>(std::lround(dSeconds * 1000.0));
    QDialog::accept();
}
