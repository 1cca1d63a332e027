// Creating windows: the widget that carries each window class, set up from the window's styles.
#include <QApplication>
#include <QPalette>
#include <cstdlib>

#include "platform/Menu.h"
#include "platform/Resource.h"
#include "platform/WinUser.h"
#include "platform/Wnd.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/Strings.h"
#include "platform/detail/Widgets.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

// What every widget maker is given: the window data to fill in, its text and its parent widget.
struct SNewWindow
{
    HWND hWnd;
    const char* pszText;
    QString text;
    QWidget* pParent;
};

QWidget* MakeButton(const SNewWindow& w)
{
    HWND hWnd = w.hWnd;
    const DWORD nType = hWnd->dwStyle & BS_TYPEMASK;
    if (nType == BS_GROUPBOX)
    {
        hWnd->eKind = WndKind::GroupBox;
        auto* p = new GroupBoxWidget(hWnd, w.text, w.pParent);
        p->setAttribute(Qt::WA_TransparentForMouseEvents);
        return p;
    }
    if (nType == BS_CHECKBOX || nType == BS_AUTOCHECKBOX)
    {
        hWnd->eKind = WndKind::Check;
        auto* p = new CheckWidget(hWnd, w.text, w.pParent);
        ConnectCommand(p, &QCheckBox::clicked, hWnd, BN_CLICKED);
        return p;
    }
    hWnd->eKind = WndKind::Button;
    auto* p = new ButtonWidget(hWnd, w.text, w.pParent);
    p->setDefault(nType == BS_DEFPUSHBUTTON);
    ConnectCommand(p, &QPushButton::clicked, hWnd, BN_CLICKED);
    return p;
}

QWidget* MakeEdit(const SNewWindow& w)
{
    HWND hWnd = w.hWnd;
    hWnd->eKind = WndKind::Edit;
    auto* p = new EditWidget(hWnd, w.text, w.pParent);
    p->setReadOnly((hWnd->dwStyle & ES_READONLY) != 0);
    p->setFrame((hWnd->dwStyle & WS_BORDER) != 0 || (hWnd->dwExStyle & WS_EX_CLIENTEDGE) != 0);
    p->setMaxLength(32767);
    if ((hWnd->dwStyle & ES_CENTER) != 0)
        p->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    else if ((hWnd->dwStyle & ES_RIGHT) != 0)
        p->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ConnectCommand(p, &QLineEdit::textChanged, hWnd, EN_CHANGE);
    return p;
}

QWidget* MakeStatic(const SNewWindow& w)
{
    HWND hWnd = w.hWnd;
    hWnd->eKind = WndKind::Static;
    const bool bIcon = (hWnd->dwStyle & 0xF) == SS_ICON;
    auto* p = new StaticWidget(hWnd, bIcon ? QString() : MnemonicFree(w.pszText), w.pParent);
    if (bIcon && w.pszText != nullptr && w.pszText[0] == '#')
    {
        // "#128": the registered icon 128, like an ICON statement of a resource script.
        hWnd->hIconBig = LoadIconA(nullptr, MAKEINTRESOURCE(std::atoi(w.pszText + 1)));
        if (hWnd->hIconBig != nullptr)
            p->setPixmap(hWnd->hIconBig->icon.pixmap(32, 32));
    }
    const DWORD nAlign = bIcon ? SS_LEFT : hWnd->dwStyle & 0x3;
    p->setAlignment((nAlign == SS_CENTER  ? Qt::AlignHCenter
                     : nAlign == SS_RIGHT ? Qt::AlignRight
                                          : Qt::AlignLeft) |
                    Qt::AlignTop);
    return p;
}

QWidget* MakeScrollBar(const SNewWindow& w)
{
    w.hWnd->eKind = WndKind::ScrollBar;
    return new ScrollBarWidget(
        w.hWnd, (w.hWnd->dwStyle & SBS_VERT) != 0 ? Qt::Vertical : Qt::Horizontal, w.pParent);
}

QWidget* MakeDialog(const SNewWindow& w)
{
    w.hWnd->eKind = WndKind::Dialog;
    auto* p = new DialogWidget(w.hWnd, w.pParent);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, ToQColor(GetSysColor(COLOR_BTNFACE)));
    p->setPalette(pal);
    return p;
}

// A registered class, or a plain window without one (cls empty); nullptr for an unknown class.
QWidget* MakeGeneric(const SNewWindow& w, const std::string& cls)
{
    HWND hWnd = w.hWnd;
    if (!cls.empty())
    {
        const SWindowClass* pClass = FindWindowClass(cls);
        if (pClass == nullptr)
            return nullptr;
        hWnd->strClass = pClass->strName;
        hWnd->nClassStyle = pClass->wc.style;
        hWnd->hbrBackground = pClass->wc.hbrBackground;
        hWnd->hCursor = pClass->wc.hCursor;
        hWnd->pfnWndProc = pClass->wc.lpfnWndProc;
    }
    else
    {
        hWnd->nClassStyle = CS_DBLCLKS;
    }
    hWnd->eKind = WndKind::Generic;
    return new GenericWidget(hWnd, w.pParent);
}

QWidget* MakeWidget(const SNewWindow& w, const std::string& cls)
{
    if (cls == "button")
        return MakeButton(w);
    if (cls == "edit")
        return MakeEdit(w);
    if (cls == "static")
        return MakeStatic(w);
    if (cls == "scrollbar")
        return MakeScrollBar(w);
    if (cls == "#32770")
        return MakeDialog(w);
    return MakeGeneric(w, cls);
}

// Title, geometry, enabled state, focus and visibility from the window's styles.
void ApplyStyles(HWND hWnd, QWidget* pWidget, const QString& text, const QRect& rect)
{
    const DWORD dwStyle = hWnd->dwStyle;
    if ((dwStyle & WS_CHILD) == 0)
        pWidget->setWindowTitle(text);
    pWidget->setGeometry(rect);
    pWidget->setEnabled((dwStyle & WS_DISABLED) == 0);
    if (hWnd->eKind != WndKind::GroupBox && hWnd->eKind != WndKind::Static)
        // A dialog never holds the focus itself; keys reach it while none of its controls has it.
        pWidget->setFocusPolicy((dwStyle & WS_TABSTOP) != 0 && hWnd->eKind != WndKind::Dialog
                                    ? Qt::StrongFocus
                                    : Qt::NoFocus);
    if (hWnd->eKind != WndKind::Dialog)
        pWidget->setVisible((dwStyle & WS_VISIBLE) != 0);
    hWnd->bToolkitDrops = pWidget->acceptDrops();
    ShowAcceptFiles(hWnd);
}

} // namespace

namespace platform_detail
{

HWND CreateWnd(const char* pszClass, const char* pszText, DWORD dwStyle, DWORD dwExStyle,
               const QRect& rect, HWND hParent, int nId, QWidget* pOwner)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    {
        qWarning("CreateWindow: no application object; construct a CWinApp or CPlatformApp first");
        return nullptr;
    }
    hParent = LiveWnd(hParent);
    // A child lives in its parent window, or in the widget it was given when it has none.
    if ((dwStyle & WS_CHILD) != 0 && hParent == nullptr && pOwner == nullptr)
        return nullptr;
    QWidget* pParentWidget =
        (dwStyle & WS_CHILD) != 0 && hParent != nullptr ? hParent->pClient.data() : pOwner;
    auto hWnd = new HWND__;
    hWnd->hParent = (dwStyle & WS_CHILD) != 0 ? hParent : nullptr;
    hWnd->strClass = pszClass != nullptr ? pszClass : "";
    hWnd->dwStyle = dwStyle;
    hWnd->dwExStyle = dwExStyle;
    hWnd->nId = nId;
    const QString text = QString::fromUtf8(pszText != nullptr ? pszText : "");
    QWidget* pWidget = MakeWidget(SNewWindow{hWnd, pszText, text, pParentWidget}, Lower(pszClass));
    if (pWidget == nullptr)
    {
        delete hWnd;
        return nullptr;
    }
    if ((dwStyle & WS_CHILD) == 0 && pParentWidget != nullptr)
        pWidget->setWindowFlag(Qt::Window, true);
    hWnd->pWidget = pWidget;
    hWnd->pClient = pWidget;
    hWnd->pTimers = std::make_unique<TimerHost>(hWnd);
    AddWindowData(hWnd);
    ApplyStyles(hWnd, pWidget, text, rect);
    return hWnd;
}

} // namespace platform_detail
