#include "app/StartDateDlg.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/Resources.h"

#include <QLineEdit>
#include <QPushButton>

namespace
{
// Room for what a user may type, so a date with more after it is refused, not cut short.
constexpr int kDateMaxChars = 32;
} // namespace

CStartDateDlg::CStartDateDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogUnits units(9);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_START_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(180, 62));

    AddLabel(this, units, AppQText(IDS_START_PROMPT), {7, 10, 90, 8});
    m_pDate = AddEdit(this, units, {100, 8, 72, 12}, false, kDateMaxChars);
    QPushButton* pOk = AddButton(this, units, AppQText(IDS_OK), {66, 40, 50, 14}, true);
    QPushButton* pCancel = AddButton(this, units, AppQText(IDS_CANCEL), {122, 40, 50, 14});
    connect(pOk, &QPushButton::clicked, this, &CStartDateDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &CStartDateDlg::reject);
    m_pDate->setFocus(Qt::TabFocusReason);
}

void CStartDateDlg::SetDate(const std::string& strDate)
{
    m_pDate->setText(QString::fromStdString(strDate));
    m_pDate->selectAll();
}

std::string CStartDateDlg::Date() const
{
    return m_pDate->text().toStdString();
}
