// Message boxes on Qt's own, so they look like the file dialog beside them.
#include <QMessageBox>

#include "platform/MessageBox.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    QWidget* pOwner = LiveWnd(hWnd) != nullptr ? hWnd->pWidget.data() : nullptr;
    QMessageBox box(pOwner);
    box.setWindowTitle(QString::fromUtf8(lpCaption != nullptr ? lpCaption : ""));
    box.setText(QString::fromUtf8(lpText != nullptr ? lpText : ""));
    if ((uType & MB_ICONERROR) != 0)
        box.setIcon(QMessageBox::Critical);
    else if ((uType & MB_ICONQUESTION) != 0)
        box.setIcon(QMessageBox::Question);
    if ((uType & MB_YESNO) == 0)
    {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return IDOK;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton((uType & MB_DEFBUTTON2) != 0 ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes) ? IDYES : IDNO;
}
