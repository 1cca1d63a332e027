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
    box.setIcon((uType & MB_ICONERROR) != 0 ? QMessageBox::Critical : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
}
