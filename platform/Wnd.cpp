// Windows on Qt widgets: creation, messages, painting, timers, capture, cursor and the class
// registry.
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDateTime>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>
#include <QTimer>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "platform/Button.h"
#include "platform/ClientDC.h"
#include "platform/DataExchange.h"
#include "platform/Edit.h"
#include "platform/Font.h"
#include "platform/Menu.h"
#include "platform/PaintDC.h"
#include "platform/Resource.h"
#include "platform/ScrollBar.h"
#include "platform/Static.h"
#include "platform/TestSupport.h"
#include "platform/WinGdi.h"
#include "platform/WinUser.h"
#include "platform/Wnd.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/Widgets.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{

std::unordered_set<HWND>& LiveWindows()
{
    static std::unordered_set<HWND> s_windows;
    return s_windows;
}

std::unordered_map<const QWidget*, HWND>& WidgetMap()
{
    static std::unordered_map<const QWidget*, HWND> s_map;
    return s_map;
}

HWND g_hCapture = nullptr;
HWND g_hMouseWnd = nullptr; // the window handling mouse input, for SetCursor
HCURSOR g_hCursor = nullptr;

std::string Lower(const char* psz)
{
    std::string s = psz != nullptr ? psz : "";
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

struct ClassEntry
{
    std::string strName;
    WNDCLASSA wc;
    ATOM atom;
};

std::unordered_map<std::string, ClassEntry>& ClassTable()
{
    static std::unordered_map<std::string, ClassEntry> s_classes;
    return s_classes;
}

bool IsBuiltInClass(const std::string& lower)
{
    return lower == "button" || lower == "edit" || lower == "static" || lower == "scrollbar" ||
           lower == "#32770";
}

HINSTANCE__* ModuleInstance()
{
    static char s_module;
    return reinterpret_cast<HINSTANCE__*>(&s_module);
}

LPARAM PointParam(const QPoint& p)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x())),
                      static_cast<WORD>(static_cast<short>(p.y())));
}

UINT KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT n = 0;
    if (buttons & Qt::LeftButton)
        n |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        n |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        n |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        n |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        n |= MK_CONTROL;
    return n;
}

CWnd* NewTemporaryFor(HWND hWnd)
{
    switch (hWnd->eKind)
    {
    case WndKind::ScrollBar:
        return new CScrollBar;
    case WndKind::Button:
    case WndKind::Check:
    case WndKind::GroupBox:
        return new CButton;
    case WndKind::Edit:
        return new CEdit;
    case WndKind::Static:
        return new CStatic;
    default:
        return new CWnd;
    }
}

void ApplyCursor(HWND hWnd, HCURSOR hCursor)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return;
    const int nShape =
        hCursor != nullptr ? hCursor->nCursorShape : static_cast<int>(Qt::BlankCursor);
    hWnd->pWidget->setCursor(
        QCursor(static_cast<Qt::CursorShape>(nShape >= 0 ? nShape : Qt::ArrowCursor)));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Window data
// ---------------------------------------------------------------------------------------------
namespace platform_detail
{

HWND LiveWnd(HWND h)
{
    return h != nullptr && LiveWindows().count(h) != 0 ? h : nullptr;
}

HWND WndFromWidget(const QWidget* p)
{
    auto it = WidgetMap().find(p);
    return it != WidgetMap().end() ? it->second : nullptr;
}

void RemoveWindowData(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr)
        return;
    if (!hWnd->bDestroying)
    {
        hWnd->bDestroying = true;
        Send(hWnd, WM_DESTROY, 0, 0);
    }
    LiveWindows().erase(hWnd);
    WidgetMap().erase(hWnd->pWidget.data());
    if (g_hCapture == hWnd)
        g_hCapture = nullptr;
    if (g_hMouseWnd == hWnd)
        g_hMouseWnd = nullptr;
    hWnd->pTimers.reset();
    if (hWnd->hMenu != nullptr && LiveMenu(hWnd->hMenu) != nullptr && hWnd->hMenu->hOwner == hWnd)
        hWnd->hMenu->hOwner = nullptr;
    if (HMENU hOwned = LiveMenu(hWnd->hOwnedMenu); hOwned != nullptr)
    {
        hOwned->hOwner = nullptr;
        FreeMenu(hOwned);
    }
    if (hWnd->hOwnedFont != nullptr)
        ::DeleteObject(hWnd->hOwnedFont);
    CWnd* pWnd = hWnd->pPermanent;
    if (pWnd != nullptr)
    {
        pWnd->m_hWnd = nullptr;
        hWnd->pPermanent = nullptr;
    }
    if (hWnd->pTemporary)
        hWnd->pTemporary->m_hWnd = nullptr;
    delete hWnd;
}

LRESULT Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LiveWnd(hWnd) == nullptr)
        return 0;
    if (hWnd->pPermanent != nullptr)
        return hWnd->pPermanent->WindowProc(message, wParam, lParam);
    if (hWnd->pfnWndProc != nullptr && hWnd->pfnWndProc != &DefWindowProcA)
        return hWnd->pfnWndProc(hWnd, message, wParam, lParam);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

UINT_PTR TimerHost::Set(UINT_PTR nId, UINT nElapse, TIMERPROC pfn)
{
    Kill(nId);
    const UINT nMs = std::clamp(nElapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const int nQtId = startTimer(static_cast<int>(nMs));
    if (nQtId == 0)
        return 0;
    m_timers[nId] = Timer{nQtId, pfn, nMs};
    return nId == 0 ? 1 : nId;
}

bool TimerHost::Kill(UINT_PTR nId)
{
    auto it = m_timers.find(nId);
    if (it == m_timers.end())
        return false;
    killTimer(it->second.nQtId);
    m_timers.erase(it);
    return true;
}

bool TimerHost::Period(UINT_PTR nId, UINT* pnElapse) const
{
    auto it = m_timers.find(nId);
    if (it == m_timers.end())
        return false;
    if (pnElapse != nullptr)
        *pnElapse = it->second.nElapse;
    return true;
}

void TimerHost::timerEvent(QTimerEvent* pEvent)
{
    for (const auto& [nId, timer] : m_timers)
    {
        if (timer.nQtId != pEvent->timerId())
            continue;
        const UINT_PTR nIdCopy = nId;
        if (timer.pfn != nullptr)
            timer.pfn(m_hWnd, WM_TIMER, nIdCopy,
                      static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch()));
        else
            Send(m_hWnd, WM_TIMER, nIdCopy, 0); // may kill timers: the loop ends here
        return;
    }
}

QString MnemonicFree(const char* psz)
{
    const QString s = QString::fromUtf8(psz != nullptr ? psz : "");
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i)
    {
        if (s[i] == QLatin1Char('&'))
        {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&'))
            {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Widgets
// ---------------------------------------------------------------------------------------------
GenericWidget::GenericWidget(HWND hWnd, QWidget* pParent) : WindowWidget<QWidget>(hWnd, pParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    // The window procedure gets every right-button message; on X a right press would otherwise
    // also ask the parent dialog for its context menu, which then takes the drag away.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void GenericWidget::paintEvent(QPaintEvent* pEvent)
{
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd == nullptr)
        return;
    hWnd->pPaintEvent = pEvent;
    hWnd->bInvalid = false;
    if (hWnd->bErasePending)
    {
        hWnd->bErasePending = false;
        HDC hdc = NewDc(DcKind::Paint);
        hdc->pWidget = this;
        hdc->pPainter = std::make_unique<QPainter>(this);
        Send(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        FreeDc(hdc);
    }
    Send(hWnd, WM_PAINT, 0, 0);
    if (LiveWnd(hWnd) != nullptr)
        hWnd->pPaintEvent = nullptr;
}

void GenericWidget::resizeEvent(QResizeEvent*)
{
    if (HWND hWnd = LiveWnd(m_hWnd); hWnd != nullptr)
    {
        hWnd->bErasePending = true;
        const UINT nType =
            isMinimized() ? SIZE_MINIMIZED : (isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED);
        Send(hWnd, WM_SIZE, nType,
             MAKELPARAM(static_cast<WORD>(width()), static_cast<WORD>(height())));
    }
}

namespace
{
void SendMouse(HWND hWnd, UINT message, QMouseEvent* pEvent)
{
    if (LiveWnd(hWnd) == nullptr)
        return;
    HWND hPrev = g_hMouseWnd;
    g_hMouseWnd = hWnd;
    const LPARAM lParam = PointParam(pEvent->position().toPoint());
    const WPARAM wParam = KeyFlags(pEvent->buttons(), pEvent->modifiers());
    if (message == WM_MOUSEMOVE)
        Send(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd),
             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (LiveWnd(hWnd) != nullptr)
        Send(hWnd, message, wParam, lParam);
    g_hMouseWnd = LiveWnd(hPrev);
}

UINT DownMessage(Qt::MouseButton button)
{
    return button == Qt::LeftButton ? WM_LBUTTONDOWN
                                    : (button == Qt::RightButton ? WM_RBUTTONDOWN : WM_NULL);
}
} // namespace

void GenericWidget::mousePressEvent(QMouseEvent* pEvent)
{
    Press(pEvent, false);
}

void GenericWidget::mouseReleaseEvent(QMouseEvent* pEvent)
{
    m_bPressDown = false;
    const UINT message = pEvent->button() == Qt::LeftButton
                             ? WM_LBUTTONUP
                             : (pEvent->button() == Qt::RightButton ? WM_RBUTTONUP : WM_NULL);
    if (message != WM_NULL)
        SendMouse(m_hWnd, message, pEvent);
}

void GenericWidget::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    // Some toolkit versions deliver the second press before its double-click event, others only
    // the double-click event: it stands for the press unless that press has arrived already.
    if (!m_bPressDown)
        Press(pEvent, true);
}

void GenericWidget::Press(QMouseEvent* pEvent, bool bToolkitDouble)
{
    HWND hWnd = LiveWnd(m_hWnd);
    UINT message = DownMessage(pEvent->button());
    m_bPressDown = true;
    if (hWnd == nullptr || message == WM_NULL)
        return;
    // Like Windows: a second press of the same button, soon and near enough, is a double click;
    // a third one starts over.
    const QStyleHints* pHints = QGuiApplication::styleHints();
    const QPointF delta = pEvent->position() - m_ptLastPress;
    const bool bSoon = pEvent->button() == m_lastButton &&
                       pEvent->timestamp() - m_nLastPressTime <=
                           static_cast<quint64>(pHints->mouseDoubleClickInterval());
    const bool bNear = std::abs(delta.x()) <= pHints->mouseDoubleClickDistance() &&
                       std::abs(delta.y()) <= pHints->mouseDoubleClickDistance();
    const bool bDouble = ((bSoon && bNear) || bToolkitDouble) && !(bSoon && m_bLastWasDouble);
    m_lastButton = pEvent->button();
    m_nLastPressTime = pEvent->timestamp();
    m_ptLastPress = pEvent->position();
    m_bLastWasDouble = bDouble;
    // Without CS_DBLCLKS the second click is an ordinary button-down.
    if (bDouble && (hWnd->nClassStyle & CS_DBLCLKS) != 0)
        message = message == WM_LBUTTONDOWN ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
    SendMouse(hWnd, message, pEvent);
}

void GenericWidget::mouseMoveEvent(QMouseEvent* pEvent)
{
    SendMouse(m_hWnd, WM_MOUSEMOVE, pEvent);
}

void GenericWidget::wheelEvent(QWheelEvent* pEvent)
{
    const QPoint ptScreen = pEvent->globalPosition().toPoint();
    const UINT nFlags = KeyFlags(pEvent->buttons(), pEvent->modifiers());
    const auto nDelta = static_cast<WORD>(static_cast<short>(pEvent->angleDelta().y()));
    Send(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(nFlags), nDelta),
         PointParam(ptScreen));
}

void GenericWidget::closeEvent(QCloseEvent* pEvent)
{
    pEvent->ignore(); // WM_CLOSE decides (the default destroys the window)
    Send(m_hWnd, WM_CLOSE, 0, 0);
}

DialogWidget::DialogWidget(HWND hWnd, QWidget* pParent) : WindowWidget<QDialog>(hWnd, pParent) {}

void DialogWidget::reject()
{
    Send(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void DialogWidget::LayoutClient()
{
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd == nullptr || hWnd->pClient == nullptr)
        return;
    int nTop = 0;
    // Not isVisible(): the dialog is laid out before it is shown.
    if (hWnd->pMenuBar != nullptr && !hWnd->pMenuBar->isHidden())
    {
        nTop = hWnd->pMenuBar->sizeHint().height();
        hWnd->pMenuBar->setGeometry(0, 0, width(), nTop);
    }
    if (hWnd->pClient != this)
        hWnd->pClient->setGeometry(0, nTop, width(), std::max(0, height() - nTop));
}

void DialogWidget::closeEvent(QCloseEvent* pEvent)
{
    pEvent->ignore();
    Send(m_hWnd, WM_CLOSE, 0, 0);
}

void DialogWidget::resizeEvent(QResizeEvent*)
{
    LayoutClient();
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd != nullptr && hWnd->pClient != nullptr)
        Send(hWnd, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(hWnd->pClient->width()),
                        static_cast<WORD>(hWnd->pClient->height())));
}

namespace
{
// The release of the press that opened the menu picks nothing, so no single right-button drag
// can end on "Close" and quit.
class SystemContextMenu : public QMenu
{
public:
    SystemContextMenu(QWidget* pParent, bool bOpenedByPress)
        : QMenu(pParent), m_bOpeningPressDown(bOpenedByPress)
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent* pEvent) override
    {
        if (m_bOpeningPressDown && pEvent->button() == Qt::RightButton)
        {
            m_bOpeningPressDown = false;
            return;
        }
        QMenu::mouseReleaseEvent(pEvent);
    }

private:
    bool m_bOpeningPressDown = false;
};
} // namespace

void DialogWidget::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // Linux windows have no system menu: its items appear as the dialog's context menu, on the
    // dialog's own background only.
    HWND hWnd = LiveWnd(m_hWnd);
    if (hWnd == nullptr || hWnd->pSystemMenu == nullptr)
        return;
    if (pEvent->reason() == QContextMenuEvent::Mouse)
    {
        HWND hHit = WndFromWidget(childAt(pEvent->pos()));
        if (hHit != nullptr && hHit != hWnd && hHit->eKind != WndKind::Static &&
            hHit->eKind != WndKind::GroupBox)
            return;
    }
    HMENU hMenu = LiveMenu(hWnd->pSystemMenu->m_hMenu);
    if (hMenu == nullptr)
        return;
    SystemContextMenu menu(this, pEvent->reason() == QContextMenuEvent::Mouse &&
                                     (QGuiApplication::mouseButtons() & Qt::RightButton) != 0);
    for (const HMENU__::Item& item : hMenu->items)
    {
        if (item.nFlags & MF_SEPARATOR)
        {
            menu.addSeparator();
            continue;
        }
        QAction* pAction = menu.addAction(QString::fromUtf8(item.strText.c_str()));
        pAction->setData(item.nId);
        pAction->setEnabled((item.nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
    }
    QAction* pChosen = menu.exec(pEvent->globalPos());
    if (pChosen != nullptr && LiveWnd(hWnd) != nullptr)
        Send(hWnd, WM_SYSCOMMAND, pChosen->data().toUInt(), 0);
}

// ---------------------------------------------------------------------------------------------
// Creation
// ---------------------------------------------------------------------------------------------
HWND CreateWnd(const char* pszClass, const char* pszText, DWORD dwStyle, DWORD dwExStyle,
               const QRect& rect, HWND hParent, int nId, QWidget* pOwner)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    {
        qWarning("CreateWindow: no application object; construct a CWinApp or CPlatformApp first");
        return nullptr;
    }
    const std::string cls = Lower(pszClass);
    hParent = LiveWnd(hParent);
    if ((dwStyle & WS_CHILD) != 0 && hParent == nullptr)
        return nullptr;
    QWidget* pParentWidget = (dwStyle & WS_CHILD) != 0 ? hParent->pClient.data() : pOwner;
    auto hWnd = new HWND__;
    hWnd->hParent = (dwStyle & WS_CHILD) != 0 ? hParent : nullptr;
    hWnd->strClass = pszClass != nullptr ? pszClass : "";
    hWnd->dwStyle = dwStyle;
    hWnd->dwExStyle = dwExStyle;
    hWnd->nId = nId;
    const QString text = QString::fromUtf8(pszText != nullptr ? pszText : "");
    QWidget* pWidget = nullptr;
    if (cls == "button")
    {
        const DWORD nType = dwStyle & BS_TYPEMASK;
        if (nType == BS_GROUPBOX)
        {
            hWnd->eKind = WndKind::GroupBox;
            auto* p = new GroupBoxWidget(hWnd, text, pParentWidget);
            p->setAttribute(Qt::WA_TransparentForMouseEvents);
            pWidget = p;
        }
        else if (nType == BS_CHECKBOX || nType == BS_AUTOCHECKBOX)
        {
            hWnd->eKind = WndKind::Check;
            auto* p = new CheckWidget(hWnd, text, pParentWidget);
            QObject::connect(p, &QCheckBox::clicked, p,
                             [hWnd]
                             {
                                 if (LiveWnd(hWnd) != nullptr)
                                     Send(hWnd->hParent, WM_COMMAND,
                                          MAKEWPARAM(static_cast<WORD>(hWnd->nId), BN_CLICKED),
                                          reinterpret_cast<LPARAM>(hWnd));
                             });
            pWidget = p;
        }
        else
        {
            hWnd->eKind = WndKind::Button;
            auto* p = new ButtonWidget(hWnd, text, pParentWidget);
            p->setDefault(nType == BS_DEFPUSHBUTTON);
            QObject::connect(p, &QPushButton::clicked, p,
                             [hWnd]
                             {
                                 if (LiveWnd(hWnd) != nullptr)
                                     Send(hWnd->hParent, WM_COMMAND,
                                          MAKEWPARAM(static_cast<WORD>(hWnd->nId), BN_CLICKED),
                                          reinterpret_cast<LPARAM>(hWnd));
                             });
            pWidget = p;
        }
    }
    else if (cls == "edit")
    {
        hWnd->eKind = WndKind::Edit;
        auto* p = new EditWidget(hWnd, text, pParentWidget);
        p->setReadOnly((dwStyle & ES_READONLY) != 0);
        p->setFrame((dwStyle & WS_BORDER) != 0 || (dwExStyle & WS_EX_CLIENTEDGE) != 0);
        p->setMaxLength(32767);
        if ((dwStyle & ES_CENTER) != 0)
            p->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        else if ((dwStyle & ES_RIGHT) != 0)
            p->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QObject::connect(p, &QLineEdit::textChanged, p,
                         [hWnd]
                         {
                             if (LiveWnd(hWnd) != nullptr)
                                 Send(hWnd->hParent, WM_COMMAND,
                                      MAKEWPARAM(static_cast<WORD>(hWnd->nId), EN_CHANGE),
                                      reinterpret_cast<LPARAM>(hWnd));
                         });
        pWidget = p;
    }
    else if (cls == "static")
    {
        hWnd->eKind = WndKind::Static;
        const bool bIcon = (dwStyle & 0xF) == SS_ICON;
        auto* p = new StaticWidget(hWnd, bIcon ? QString() : MnemonicFree(pszText), pParentWidget);
        if (bIcon && pszText != nullptr && pszText[0] == '#')
        {
            // "#128": the registered icon 128, like an ICON statement of a resource script.
            hWnd->hIconBig = LoadIconA(nullptr, MAKEINTRESOURCE(std::atoi(pszText + 1)));
            if (hWnd->hIconBig != nullptr)
                p->setPixmap(hWnd->hIconBig->icon.pixmap(32, 32));
        }
        const DWORD nAlign = bIcon ? SS_LEFT : dwStyle & 0x3;
        p->setAlignment((nAlign == SS_CENTER  ? Qt::AlignHCenter
                         : nAlign == SS_RIGHT ? Qt::AlignRight
                                              : Qt::AlignLeft) |
                        Qt::AlignTop);
        pWidget = p;
    }
    else if (cls == "scrollbar")
    {
        hWnd->eKind = WndKind::ScrollBar;
        pWidget = new ScrollBarWidget(
            hWnd, (dwStyle & SBS_VERT) != 0 ? Qt::Vertical : Qt::Horizontal, pParentWidget);
    }
    else if (cls == "#32770")
    {
        hWnd->eKind = WndKind::Dialog;
        auto* p = new DialogWidget(hWnd, pParentWidget);
        QPalette pal = p->palette();
        pal.setColor(QPalette::Window, ToQColor(GetSysColor(COLOR_BTNFACE)));
        p->setPalette(pal);
        pWidget = p;
    }
    else
    {
        // A registered class, or a plain window without one.
        if (!cls.empty())
        {
            auto it = ClassTable().find(cls);
            if (it == ClassTable().end())
            {
                delete hWnd;
                return nullptr;
            }
            hWnd->strClass = it->second.strName;
            hWnd->nClassStyle = it->second.wc.style;
            hWnd->hbrBackground = it->second.wc.hbrBackground;
            hWnd->hCursor = it->second.wc.hCursor;
            hWnd->pfnWndProc = it->second.wc.lpfnWndProc;
        }
        else
        {
            hWnd->nClassStyle = CS_DBLCLKS;
        }
        hWnd->eKind = WndKind::Generic;
        pWidget = new GenericWidget(hWnd, pParentWidget);
    }
    if ((dwStyle & WS_CHILD) == 0 && pParentWidget != nullptr)
        pWidget->setWindowFlag(Qt::Window, true);
    hWnd->pWidget = pWidget;
    hWnd->pClient = pWidget;
    hWnd->pTimers = std::make_unique<TimerHost>(hWnd);
    LiveWindows().insert(hWnd);
    WidgetMap()[pWidget] = hWnd;
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
    return hWnd;
}

} // namespace platform_detail

// ---------------------------------------------------------------------------------------------
// USER free functions
// ---------------------------------------------------------------------------------------------
HINSTANCE AfxGetInstanceHandle()
{
    return ModuleInstance();
}
HMODULE GetModuleHandleA(LPCSTR lpModuleName)
{
    return lpModuleName == nullptr ? ModuleInstance() : nullptr;
}

ATOM RegisterClassA(const WNDCLASSA* lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr ||
        *lpWndClass->lpszClassName == '\0')
        return 0;
    const std::string key = Lower(lpWndClass->lpszClassName);
    if (IsBuiltInClass(key) || ClassTable().count(key) != 0)
        return 0;
    static ATOM s_nextAtom = 0xC000;
    ClassEntry entry{lpWndClass->lpszClassName, *lpWndClass, s_nextAtom++};
    entry.wc.lpszClassName =
        nullptr; // points into the caller's memory; the name is kept in strName
    entry.wc.lpszMenuName = nullptr;
    ClassTable()[key] = entry;
    return entry.atom;
}

BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE)
{
    return ClassTable().erase(Lower(lpClassName)) != 0 ? TRUE : FALSE;
}

BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass)
{
    if (lpClassName == nullptr || lpWndClass == nullptr)
        return FALSE;
    const std::string key = Lower(lpClassName);
    if (IsBuiltInClass(key))
    {
        *lpWndClass = WNDCLASSA{};
        lpWndClass->lpfnWndProc = &DefWindowProcA;
        lpWndClass->lpszClassName = lpClassName;
        return TRUE;
    }
    if (hInstance != nullptr && hInstance != ModuleInstance())
        return FALSE;
    auto it = ClassTable().find(key);
    if (it == ClassTable().end())
        return FALSE;
    *lpWndClass = it->second.wc;
    lpWndClass->hInstance = ModuleInstance();
    lpWndClass->lpszClassName = it->second.strName.c_str();
    return TRUE;
}

LRESULT CALLBACK DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    hWnd = LiveWnd(hWnd);
    if (hWnd == nullptr)
        return 0;
    switch (Msg)
    {
    case WM_ERASEBKGND:
    {
        auto hdc = reinterpret_cast<HDC>(wParam);
        if (hWnd->hbrBackground == nullptr || LiveDc(hdc) == nullptr || hWnd->pWidget == nullptr)
            return 0;
        const RECT rc{0, 0, hWnd->pWidget->width(), hWnd->pWidget->height()};
        ::FillRect(hdc, &rc, hWnd->hbrBackground);
        return 1;
    }
    case WM_SETCURSOR:
        if (hWnd->hCursor != nullptr && LOWORD(static_cast<DWORD_PTR>(lParam)) == HTCLIENT)
        {
            ::SetCursor(hWnd->hCursor);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        ::DestroyWindow(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0)
        {
        case SC_CLOSE:
            Send(hWnd, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            ::ShowWindow(hWnd, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ::ShowWindow(hWnd, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ::ShowWindow(hWnd, SW_RESTORE);
            break;
        default:
            break;
        }
        return 0;
    case WM_SETTEXT:
        if (hWnd->pWidget != nullptr)
        {
            const char* psz = reinterpret_cast<const char*>(lParam);
            const QString text = QString::fromUtf8(psz != nullptr ? psz : "");
            QWidget* w = hWnd->pWidget;
            switch (hWnd->eKind)
            {
            case WndKind::Button:
                static_cast<QPushButton*>(w)->setText(text);
                break;
            case WndKind::Check:
                static_cast<QCheckBox*>(w)->setText(text);
                break;
            case WndKind::GroupBox:
                static_cast<QGroupBox*>(w)->setTitle(text);
                break;
            case WndKind::Edit:
                static_cast<QLineEdit*>(w)->setText(text);
                break;
            case WndKind::Static:
                static_cast<QLabel*>(w)->setText(MnemonicFree(psz));
                break;
            default:
                w->setWindowTitle(text);
                break;
            }
        }
        return TRUE;
    case WM_SETICON:
        if (hWnd->pWidget != nullptr && lParam != 0)
            hWnd->pWidget->setWindowIcon(reinterpret_cast<HICON>(lParam)->icon);
        return 0;
    default:
        return 0;
    }
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return Send(hWnd, Msg, wParam, lParam);
}

BOOL IsWindow(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr;
}

BOOL IsWindowVisible(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr && hWnd->pWidget != nullptr && hWnd->pWidget->isVisible();
}

BOOL IsWindowEnabled(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr && hWnd->pWidget != nullptr && hWnd->pWidget->isEnabled();
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    QWidget* w = hWnd->pWidget;
    const BOOL bWasVisible = !w->isHidden();
    switch (nCmdShow)
    {
    case SW_HIDE:
        w->hide();
        hWnd->dwStyle &= ~WS_VISIBLE;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        w->showMinimized();
        hWnd->dwStyle |= WS_VISIBLE;
        break;
    case SW_MAXIMIZE:
        w->showMaximized();
        hWnd->dwStyle |= WS_VISIBLE;
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (w->isWindow())
            w->showNormal();
        else
            w->show();
        hWnd->dwStyle |= WS_VISIBLE;
        break;
    default:
        w->show();
        hWnd->dwStyle |= WS_VISIBLE;
        break;
    }
    return bWasVisible;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    const BOOL bWasDisabled = !hWnd->pWidget->isEnabled();
    hWnd->pWidget->setEnabled(bEnable != FALSE);
    if (bEnable)
        hWnd->dwStyle &= ~WS_DISABLED;
    else
        hWnd->dwStyle |= WS_DISABLED;
    return bWasDisabled;
}

BOOL DestroyWindow(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr)
        return FALSE;
    QWidget* w = hWnd->pWidget;
    if (!hWnd->bDestroying)
    {
        hWnd->bDestroying = true;
        Send(hWnd, WM_DESTROY, 0, 0);
    }
    if (w != nullptr)
        delete w; // the widget's destructor frees the window data, then the children's
    else
        RemoveWindowData(hWnd);
    return TRUE;
}

HWND GetParent(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? LiveWnd(hWnd->hParent) : nullptr;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    if (LiveWnd(hDlg) == nullptr || hDlg->pClient == nullptr)
        return nullptr;
    for (QObject* pChild : hDlg->pClient->children())
    {
        HWND h = WndFromWidget(qobject_cast<QWidget*>(pChild));
        if (h != nullptr && h->hParent == hDlg && h->nId == nIDDlgItem)
            return h;
    }
    return nullptr;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    if (LiveWnd(hWnd) == nullptr || lpRect == nullptr || hWnd->pClient == nullptr)
        return FALSE;
    *lpRect = RECT{0, 0, hWnd->pClient->width(), hWnd->pClient->height()};
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    if (LiveWnd(hWnd) == nullptr || lpRect == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    QWidget* w = hWnd->pWidget;
    QRect r = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    hWnd->pWidget->setGeometry(X, Y, std::max(0, nWidth), std::max(0, nHeight));
    if (bRepaint)
        hWnd->pWidget->update();
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    if (LiveWnd(hWnd) == nullptr || lpPoint == nullptr || hWnd->pClient == nullptr)
        return FALSE;
    const QPoint p = hWnd->pClient->mapToGlobal(QPoint(lpPoint->x, lpPoint->y));
    *lpPoint = POINT{p.x(), p.y()};
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    if (LiveWnd(hWnd) == nullptr || lpPoint == nullptr || hWnd->pClient == nullptr)
        return FALSE;
    const QPoint p = hWnd->pClient->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
    *lpPoint = POINT{p.x(), p.y()};
    return TRUE;
}

HWND ChildWindowFromPointEx(HWND hwnd, POINT pt, UINT flags)
{
    if (LiveWnd(hwnd) == nullptr || hwnd->pClient == nullptr)
        return nullptr;
    if (!hwnd->pClient->rect().contains(QPoint(pt.x, pt.y)))
        return nullptr;
    const QObjectList& children = hwnd->pClient->children();
    // Top of the z-order first.
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        auto* w = qobject_cast<QWidget*>(*it);
        HWND h = WndFromWidget(w);
        if (h == nullptr || h->hParent != hwnd)
            continue;
        if ((flags & CWP_SKIPINVISIBLE) != 0 && w->isHidden())
            continue;
        if ((flags & CWP_SKIPDISABLED) != 0 && !w->isEnabled())
            continue;
        if (w->geometry().contains(QPoint(pt.x, pt.y)))
            return h;
    }
    return hwnd;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT Point)
{
    return ChildWindowFromPointEx(hWndParent, Point, CWP_ALL);
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    hWnd->bInvalid = true;
    if (bErase)
        hWnd->bErasePending = true;
    if (lpRect == nullptr)
        hWnd->pWidget->update();
    else
        hWnd->pWidget->update(QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                    lpRect->bottom - lpRect->top));
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr || hWnd->pWidget == nullptr)
        return FALSE;
    if (hWnd->bInvalid && hWnd->pWidget->isVisible())
        hWnd->pWidget->repaint();
    return TRUE;
}

HDC GetDC(HWND hWnd)
{
    HDC hdc = NewDc(DcKind::Measure);
    if (LiveWnd(hWnd) != nullptr)
        hdc->pWidget = hWnd->pWidget;
    return hdc;
}

int ReleaseDC(HWND, HDC hDC)
{
    return DeleteDC(hDC);
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (LiveWnd(hWnd) == nullptr || !hWnd->pTimers)
        return 0;
    return hWnd->pTimers->Set(nIDEvent, uElapse, lpTimerFunc);
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    return LiveWnd(hWnd) != nullptr && hWnd->pTimers && hWnd->pTimers->Kill(uIDEvent) ? TRUE
                                                                                      : FALSE;
}

HWND SetCapture(HWND hWnd)
{
    HWND hPrev = LiveWnd(g_hCapture);
    if (LiveWnd(hWnd) == nullptr)
        return hPrev;
    g_hCapture = hWnd;
    if (hWnd->pWidget != nullptr && hWnd->pWidget->isVisible())
        hWnd->pWidget->grabMouse();
    return hPrev;
}

BOOL ReleaseCapture()
{
    HWND h = LiveWnd(g_hCapture);
    g_hCapture = nullptr;
    if (h != nullptr && h->pWidget != nullptr && QWidget::mouseGrabber() == h->pWidget)
        h->pWidget->releaseMouse();
    return TRUE;
}

HWND GetCapture()
{
    return LiveWnd(g_hCapture);
}

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    if (hInstance != nullptr || !IS_INTRESOURCE(lpCursorName))
        return nullptr;
    static std::unordered_map<ULONG_PTR, HICON__*> s_cursors;
    const auto nId = reinterpret_cast<ULONG_PTR>(lpCursorName);
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (nId)
    {
    case 32512:
        shape = Qt::ArrowCursor;
        break;
    case 32513:
        shape = Qt::IBeamCursor;
        break;
    case 32514:
        shape = Qt::WaitCursor;
        break;
    case 32515:
        shape = Qt::CrossCursor;
        break;
    case 32646:
        shape = Qt::SizeAllCursor;
        break;
    case 32649:
        shape = Qt::PointingHandCursor;
        break;
    default:
        return nullptr;
    }
    HICON__*& p = s_cursors[nId];
    if (p == nullptr)
    {
        p = new HICON__;
        p->nCursorShape = static_cast<int>(shape);
    }
    return p;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    HCURSOR hPrev = g_hCursor;
    g_hCursor = hCursor;
    HWND hTarget = LiveWnd(g_hMouseWnd) != nullptr ? g_hMouseWnd : LiveWnd(g_hCapture);
    ApplyCursor(hTarget, hCursor);
    return hPrev;
}

HCURSOR GetCursor()
{
    return g_hCursor;
}

int GetSystemMetrics(int nIndex)
{
    const bool bApp = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    switch (nIndex)
    {
    case SM_CXSCREEN:
    case SM_CYSCREEN:
    {
        QScreen* pScreen = bApp ? QGuiApplication::primaryScreen() : nullptr;
        if (pScreen == nullptr)
            return nIndex == SM_CXSCREEN ? 1024 : 768;
        return nIndex == SM_CXSCREEN ? pScreen->geometry().width() : pScreen->geometry().height();
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
        return bApp ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 17;
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    default:
        return 0;
    }
}

HBRUSH GetSysColorBrush(int nIndex)
{
    if (nIndex < 0 || nIndex > COLOR_MENUBAR)
        return nullptr;
    return reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(nIndex + 1));
}

// ---------------------------------------------------------------------------------------------
// CWnd
// ---------------------------------------------------------------------------------------------
CWnd::~CWnd()
{
    if (LiveWnd(m_hWnd) != nullptr)
    {
        if (m_hWnd->pPermanent == this)
            ::DestroyWindow(m_hWnd);
        else if (m_hWnd->pTemporary.get() != this)
            m_hWnd = nullptr;
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? hWnd->pPermanent : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (LiveWnd(hWnd) == nullptr)
        return nullptr;
    if (hWnd->pPermanent != nullptr)
        return hWnd->pPermanent;
    if (!hWnd->pTemporary)
    {
        hWnd->pTemporary.reset(NewTemporaryFor(hWnd));
        hWnd->pTemporary->m_hWnd = hWnd;
    }
    return hWnd->pTemporary.get();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void*)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    if (m_hWnd != nullptr)
        return FALSE;
    HWND hParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    const QRect qrect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    QWidget* pOwner = (dwStyle & WS_CHILD) == 0 && LiveWnd(hParent) != nullptr
                          ? hParent->pWidget.data()
                          : nullptr;
    HWND hWnd = CreateWnd(lpszClassName, lpszWindowName, dwStyle & ~WS_VISIBLE, dwExStyle, qrect,
                          hParent, static_cast<int>(nID), pOwner);
    if (hWnd == nullptr)
        return FALSE;
    Attach(hWnd);
    PreSubclassWindow();
    if (Send(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(lpParam)) == -1)
    {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    if (LiveWnd(hWnd) == nullptr)
        return FALSE;
    Send(hWnd, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(static_cast<WORD>(qrect.width()), static_cast<WORD>(qrect.height())));
    if ((dwStyle & WS_VISIBLE) != 0)
    {
        hWnd->dwStyle |= WS_VISIBLE;
        if (hWnd->pWidget != nullptr)
            hWnd->pWidget->show();
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (LiveWnd(m_hWnd) == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (LiveWnd(hWndNew) == nullptr || m_hWnd != nullptr || hWndNew->pPermanent != nullptr)
        return FALSE;
    m_hWnd = hWndNew;
    hWndNew->pPermanent = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (LiveWnd(h) != nullptr && h->pPermanent == this)
        h->pPermanent = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr)
        return FALSE;
    HWND h = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return h != nullptr && SubclassWindow(h);
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}
int CWnd::GetDlgCtrlID() const
{
    return LiveWnd(m_hWnd) != nullptr ? m_hWnd->nId : 0;
}
int CWnd::SetDlgCtrlID(int nID)
{
    if (LiveWnd(m_hWnd) == nullptr)
        return 0;
    return std::exchange(m_hWnd->nId, nID);
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const
{
    return FromHandle(::ChildWindowFromPoint(m_hWnd, point));
}
CWnd* CWnd::ChildWindowFromPoint(POINT point, UINT nFlags) const
{
    return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
}

DWORD CWnd::GetStyle() const
{
    if (LiveWnd(m_hWnd) == nullptr)
        return 0;
    DWORD dw = m_hWnd->dwStyle & ~(WS_VISIBLE | WS_DISABLED);
    if (m_hWnd->pWidget != nullptr && !m_hWnd->pWidget->isHidden())
        dw |= WS_VISIBLE;
    if (m_hWnd->pWidget != nullptr && !m_hWnd->pWidget->isEnabled())
        dw |= WS_DISABLED;
    return dw;
}

DWORD CWnd::GetExStyle() const
{
    return LiveWnd(m_hWnd) != nullptr ? m_hWnd->dwExStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT)
{
    if (LiveWnd(m_hWnd) == nullptr)
        return FALSE;
    const DWORD dwOld = m_hWnd->dwStyle;
    m_hWnd->dwStyle = (dwOld & ~dwRemove) | dwAdd;
    if (m_hWnd->eKind == WndKind::Edit && ((dwOld ^ m_hWnd->dwStyle) & ES_READONLY) != 0)
        static_cast<QLineEdit*>(m_hWnd->pWidget.data())
            ->setReadOnly((m_hWnd->dwStyle & ES_READONLY) != 0);
    return dwOld != m_hWnd->dwStyle;
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    Send(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString != nullptr ? lpszString : ""));
}

void CWnd::GetWindowText(std::string& rString) const
{
    rString.clear();
    if (LiveWnd(m_hWnd) == nullptr || m_hWnd->pWidget == nullptr)
        return;
    QWidget* w = m_hWnd->pWidget;
    QString text;
    switch (m_hWnd->eKind)
    {
    case WndKind::Button:
        text = static_cast<QPushButton*>(w)->text();
        break;
    case WndKind::Check:
        text = static_cast<QCheckBox*>(w)->text();
        break;
    case WndKind::GroupBox:
        text = static_cast<QGroupBox*>(w)->title();
        break;
    case WndKind::Edit:
        text = static_cast<QLineEdit*>(w)->text();
        break;
    case WndKind::Static:
        text = static_cast<QLabel*>(w)->text();
        break;
    default:
        text = w->windowTitle();
        break;
    }
    rString = text.toStdString();
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    if (lpszStringBuf == nullptr || nMaxCount <= 0)
        return 0;
    std::string s;
    GetWindowText(s);
    const int n = std::min(static_cast<int>(s.size()), nMaxCount - 1);
    std::memcpy(lpszStringBuf, s.data(), static_cast<size_t>(n));
    lpszStringBuf[n] = '\0';
    return n;
}

int CWnd::GetWindowTextLength() const
{
    std::string s;
    GetWindowText(s);
    return static_cast<int>(s.size());
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    if (CWnd* p = GetDlgItem(nID); p != nullptr)
        p->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
{
    CWnd* p = GetDlgItem(nID);
    return p != nullptr ? p->GetWindowText(lpStr, nMaxCount) : 0;
}

int CWnd::GetDlgItemText(int nID, std::string& rString) const
{
    rString.clear();
    if (CWnd* p = GetDlgItem(nID); p != nullptr)
        p->GetWindowText(rString);
    return static_cast<int>(rString.size());
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    if (LiveWnd(m_hWnd) == nullptr || m_hWnd->pWidget == nullptr || pFont == nullptr)
        return;
    GdiObj* p = LiveGdi(pFont->m_hObject);
    if (p == nullptr || p->eKind != GdiKind::Font)
        return;
    m_hWnd->hFont = static_cast<HFONT>(pFont->m_hObject);
    m_hWnd->pWidget->setFont(p->font);
    if (bRedraw)
        m_hWnd->pWidget->update();
}

CFont* CWnd::GetFont() const
{
    if (LiveWnd(m_hWnd) == nullptr || m_hWnd->pWidget == nullptr)
        return nullptr;
    if (LiveGdi(m_hWnd->hFont) == nullptr)
    {
        // The font the window shows, as a GDI font that lives as long as the window.
        const QFont f = m_hWnd->pWidget->font();
        LOGFONTA lf = {};
        lf.lfHeight =
            f.pixelSize() > 0 ? -f.pixelSize() : -MulDiv(static_cast<int>(f.pointSizeF()), 96, 72);
        lf.lfWeight = f.weight();
        lf.lfItalic = static_cast<BYTE>(f.italic());
        std::strncpy(lf.lfFaceName, f.family().toUtf8().constData(), LF_FACESIZE - 1);
        m_hWnd->hOwnedFont = ::CreateFontIndirectA(&lf);
        m_hWnd->hFont = static_cast<HFONT>(m_hWnd->hOwnedFont);
    }
    return CFont::FromHandle(m_hWnd->hFont);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}
BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}
BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::IsIconic() const
{
    return LiveWnd(m_hWnd) != nullptr && m_hWnd->pWidget != nullptr &&
           m_hWnd->pWidget->isMinimized();
}
BOOL CWnd::IsZoomed() const
{
    return LiveWnd(m_hWnd) != nullptr && m_hWnd->pWidget != nullptr &&
           m_hWnd->pWidget->isMaximized();
}

CWnd* CWnd::SetFocus()
{
    CWnd* pPrev = GetFocus();
    if (LiveWnd(m_hWnd) != nullptr && m_hWnd->pWidget != nullptr)
        m_hWnd->pWidget->setFocus(Qt::OtherFocusReason);
    return pPrev;
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(WndFromWidget(QApplication::focusWidget()));
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (!::GetClientRect(m_hWnd, lpRect) && lpRect != nullptr)
        *lpRect = RECT{0, 0, 0, 0};
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (!::GetWindowRect(m_hWnd, lpRect) && lpRect != nullptr)
        *lpRect = RECT{0, 0, 0, 0};
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}
void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}
void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    if (lpRect != nullptr)
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, bRepaint);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    if (LiveWnd(m_hWnd) == nullptr || m_hWnd->pWidget == nullptr)
        return;
    QWidget* w = m_hWnd->pWidget;
    QRect area;
    if (pAlternateOwner != nullptr && LiveWnd(pAlternateOwner->m_hWnd) != nullptr)
        area = QRect(pAlternateOwner->m_hWnd->pWidget->mapToGlobal(QPoint(0, 0)),
                     pAlternateOwner->m_hWnd->pWidget->size());
    else if (w->parentWidget() != nullptr && w->isWindow())
        area = w->parentWidget()->window()->frameGeometry();
    else if (QScreen* s = QGuiApplication::primaryScreen(); s != nullptr)
        area = s->availableGeometry();
    if (!area.isEmpty())
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}
void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}
CDC* CWnd::GetDC()
{
    return new CClientDC(this);
}
int CWnd::ReleaseDC(CDC* pDC)
{
    if (pDC == nullptr)
        return 0;
    delete pDC;
    return 1;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}
CWnd* CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    if (LiveWnd(m_hWnd) == nullptr)
        return nullptr;
    HICON hPrev = bBigIcon ? std::exchange(m_hWnd->hIconBig, hIcon)
                           : std::exchange(m_hWnd->hIconSmall, hIcon);
    if (m_hWnd->pWidget != nullptr && hIcon != nullptr)
        m_hWnd->pWidget->setWindowIcon(hIcon->icon);
    return hPrev;
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    if (LiveWnd(m_hWnd) == nullptr)
        return nullptr;
    return bBigIcon ? m_hWnd->hIconBig : m_hWnd->hIconSmall;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    if (LiveWnd(m_hWnd) == nullptr || (m_hWnd->dwStyle & WS_SYSMENU) == 0)
        return nullptr;
    if (bRevert || !m_hWnd->pSystemMenu)
    {
        m_hWnd->pSystemMenu = std::make_unique<CMenu>();
        m_hWnd->pSystemMenu->CreatePopupMenu();
        m_hWnd->pSystemMenu->AppendMenu(MF_STRING, SC_CLOSE, "Close");
        if (bRevert)
            return nullptr;
    }
    return m_hWnd->pSystemMenu.get();
}

CMenu* CWnd::GetMenu() const
{
    return LiveWnd(m_hWnd) != nullptr ? CMenu::FromHandle(m_hWnd->hMenu) : nullptr;
}

BOOL CWnd::SetMenu(CMenu* pMenu)
{
    if (LiveWnd(m_hWnd) == nullptr)
        return FALSE;
    SetMenuBar(m_hWnd, pMenu != nullptr ? pMenu->m_hMenu : nullptr);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Send(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage saved = m_currentMsg;
    m_currentMsg = CurrentMessage{message, wParam, lParam};
    const CPoint point(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))),
                       static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))));
    const UINT nFlags = static_cast<UINT>(wParam);
    LRESULT result = 0;
    switch (message)
    {
    case WM_CREATE:
        result = OnCreate(reinterpret_cast<void*>(lParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
        result = OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case WM_SIZE:
        OnSize(nFlags, static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))),
               static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))));
        break;
    case WM_SETCURSOR:
        result = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)),
                             LOWORD(static_cast<DWORD_PTR>(lParam)),
                             HIWORD(static_cast<DWORD_PTR>(lParam)));
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(nFlags, point);
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(nFlags, point);
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(nFlags, point);
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(nFlags, point);
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(nFlags, point);
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(nFlags, point);
        break;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(nFlags, point);
        break;
    case WM_MOUSEWHEEL:
        result = OnMouseWheel(LOWORD(static_cast<DWORD_PTR>(wParam)),
                              GET_WHEEL_DELTA_WPARAM(wParam), point);
        break;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    {
        const UINT nCode = LOWORD(wParam);
        const UINT nPos = static_cast<UINT>(static_cast<short>(HIWORD(wParam)));
        auto* pBar = dynamic_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam)));
        if (message == WM_HSCROLL)
            OnHScroll(nCode, nPos, pBar);
        else
            OnVScroll(nCode, nPos, pBar);
        break;
    }
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam))
            result = DefWindowProc(message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        break;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        break;
    default:
        result = DefWindowProc(message, wParam, lParam);
        break;
    }
    m_currentMsg = saved;
    return result;
}

void CWnd::PreSubclassWindow() {}
void CWnd::DoDataExchange(CDataExchange*) {}
LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

int CWnd::OnCreate(void*)
{
    return static_cast<int>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(Default());
}

// ---------------------------------------------------------------------------------------------
// CCmdTarget
// ---------------------------------------------------------------------------------------------
const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP s_map = {nullptr, &s_entries[0]};
    return &s_map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p)
        {
            if (p->nMessage == WM_COMMAND && p->nSig == AfxSigCmd_v &&
                static_cast<int>(p->nCode) == nCode && nID >= p->nID && nID <= p->nLastID &&
                p->pfn != nullptr)
            {
                (this->*(p->pfn))();
                return TRUE;
            }
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// CPaintDC and CClientDC
// ---------------------------------------------------------------------------------------------
CPaintDC::CPaintDC(CWnd* pWnd)
{
    m_hWnd = pWnd != nullptr ? LiveWnd(pWnd->m_hWnd) : nullptr;
    if (m_hWnd == nullptr || m_hWnd->pPaintEvent == nullptr || m_hWnd->pWidget == nullptr)
    {
        qWarning("CPaintDC::CPaintDC: the window is not painting");
        return;
    }
    HDC hdc = NewDc(DcKind::Paint);
    hdc->pWidget = m_hWnd->pWidget;
    hdc->pPainter = std::make_unique<QPainter>(m_hWnd->pWidget.data());
    Attach(hdc);
    const QRect r = m_hWnd->pPaintEvent->rect();
    m_ps.hdc = hdc;
    m_ps.rcPaint = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

CPaintDC::~CPaintDC()
{
    HDC h = Detach();
    FreeDc(h);
}

CClientDC::CClientDC(CWnd* pWnd)
{
    m_hWnd = pWnd != nullptr ? LiveWnd(pWnd->m_hWnd) : nullptr;
    HDC hdc = ::GetDC(m_hWnd);
    Attach(hdc);
}

CClientDC::~CClientDC()
{
    HDC h = Detach();
    FreeDc(h);
}

// ---------------------------------------------------------------------------------------------
// Test support
// ---------------------------------------------------------------------------------------------
HWND GetActiveWindow()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    if (HWND h = WndFromWidget(QApplication::activeModalWidget()); h != nullptr)
        return h;
    return WndFromWidget(QApplication::activeWindow());
}

QWidget* WidgetFromHwnd(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? hWnd->pWidget.data() : nullptr;
}

HWND HwndFromWidget(const QWidget* pWidget)
{
    return WndFromWidget(pWidget);
}

void PlatformRunLater(int nMilliseconds, std::function<void()> fn)
{
    QTimer::singleShot(nMilliseconds, QCoreApplication::instance(), std::move(fn));
}

BOOL GetTimerPeriod(HWND hWnd, UINT_PTR nIDEvent, UINT* puElapse)
{
    return LiveWnd(hWnd) != nullptr && hWnd->pTimers && hWnd->pTimers->Period(nIDEvent, puElapse)
               ? TRUE
               : FALSE;
}
