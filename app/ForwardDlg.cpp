#include "app/ForwardDlg.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/Resources.h"
#include "core/KLineFile.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace
{
constexpr int kDateMaxChars = 32;
}

CForwardDlg::CForwardDlg(const std::string& strShownDate, QWidget* pParent) : QDialog(pParent)
{
    const CDialogUnits units(9);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_FORWARD_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(200, 86));

    m_pByBars = new QRadioButton(AppQText(IDS_FORWARD_BARS), this);
    m_pByBars->setGeometry(units.Rect(7, 8, 90, 12));
    m_pBars = new QSpinBox(this);
    m_pBars->setRange(1, 100000000);
    m_pBars->setValue(10);
    m_pBars->setGeometry(units.Rect(100, 7, 60, 13));
    m_pByDate = new QRadioButton(AppQText(IDS_FORWARD_DATE), this);
    m_pByDate->setGeometry(units.Rect(7, 25, 90, 12));
    m_pDate = AddEdit(this, units, {100, 24, 72, 13}, false, kDateMaxChars);
    m_pDate->setText(QString::fromStdString(strShownDate));
    m_pUntilFill = new QRadioButton(AppQText(IDS_FORWARD_FILL), this);
    m_pUntilFill->setGeometry(units.Rect(7, 42, 150, 12));
    m_pByBars->setChecked(true);
    QPushButton* pOk = AddButton(this, units, AppQText(IDS_OK), {86, 65, 50, 14}, true);
    QPushButton* pCancel = AddButton(this, units, AppQText(IDS_CANCEL), {142, 65, 50, 14});
    // Typing in a field chooses it.
    connect(m_pBars, &QSpinBox::valueChanged, this, [this] { m_pByBars->setChecked(true); });
    connect(m_pDate, &QLineEdit::textEdited, this, [this] { m_pByDate->setChecked(true); });
    connect(pOk, &QPushButton::clicked, this, &CForwardDlg::accept);
    connect(pCancel, &QPushButton::clicked, this, &CForwardDlg::reject);
    m_pBars->setFocus(Qt::TabFocusReason);
}

int CForwardDlg::Bars() const
{
    return m_pBars->value();
}

void CForwardDlg::accept()
{
    if (m_pByDate->isChecked())
    {
        const std::string strDate = m_pDate->text().trimmed().toStdString();
        double dDate = 0.0;
        if (strDate.size() != 10 || !ParseKLineDate(strDate, &dDate))
        {
            ShowMessageBox(this, QString::fromStdString(
                                     FormatAppText(IDS_START_NOT_A_DATE, strDate.c_str())));
            return;
        }
        m_dDate = dDate;
        m_eUntil = CPracticeSession::EForwardUntil::Date;
    }
    else
        m_eUntil = m_pUntilFill->isChecked() ? CPracticeSession::EForwardUntil::Fill
                                             : CPracticeSession::EForwardUntil::Bars;
    QDialog::accept();
}
