#include "app/AboutDlg.h"

#include "app/DialogControls.h"
#include "app/DialogUnits.h"
#include "app/Resources.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogUnits units(9);
    units.ApplyTo(this);
    setWindowTitle(AppQText(IDS_ABOUT_CAPTION));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(units.Size(167, 74));

    QLabel* pIcon = AddLabel(this, units, {}, {14, 14, 21, 20});
    pIcon->setPixmap(AppIcon().pixmap(ORVANTA_ICON_SIZE, ORVANTA_ICON_SIZE));
    AddLabel(this, units,
             QString::fromStdString(FormatAppText(IDS_ABOUT_VERSION, ORVANTA_VERSION)),
             {42, 14, 114, 8});
    AddLabel(this, units, AppQText(IDS_MAIN_CAPTION), {42, 26, 114, 8});
    QPushButton* pOk = AddButton(this, units, AppQText(IDS_OK), {110, 53, 50, 14}, true);
    connect(pOk, &QPushButton::clicked, this, &CAboutDlg::accept);
    pOk->setFocus(Qt::TabFocusReason);
}
