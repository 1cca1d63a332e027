// Private to the platform layer: what window, menu and icon handles point at, and the widgets
// that carry windows.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegion>
#include <QScrollBar>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

class CWnd;
class CMenu;
class QDropEvent;
class QMenuBar;
class QTimerEvent;
struct HDROP__;

namespace platform_detail
{

enum class WndKind
{
    Generic,
    Dialog,
    Button,
    Check,
    GroupBox,
    Edit,
    Static,
    ScrollBar
};

class TimerHost;

struct ScrollState
{
    int nMin = 0;
    int nMax = 100;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

} // namespace platform_detail

struct HWND__
{
    platform_detail::WndKind eKind = platform_detail::WndKind::Generic;
    QPointer<QWidget> pWidget; // the window
    QPointer<QWidget> pClient; // where children live (below a dialog's menu bar); pWidget otherwise
    HWND hParent = nullptr;
    std::string strClass;
    UINT nClassStyle = 0;
    HBRUSH hbrBackground = nullptr;
    HCURSOR hCursor = nullptr;
    WNDPROC pfnWndProc = nullptr;
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    int nId = 0;
    CWnd* pPermanent = nullptr;
    std::unique_ptr<CWnd> pTemporary;
    std::unique_ptr<platform_detail::TimerHost> pTimers;
    bool bErasePending = true;
    bool bInvalid = false;
    bool bDestroying = false;
    bool bToolkitDrops = false; // the widget takes drags of its own (an edit takes text)
    QPaintEvent* pPaintEvent = nullptr;
    HICON hIconBig = nullptr;
    HICON hIconSmall = nullptr;
    HMENU hMenu = nullptr;      // menu bar
    HMENU hOwnedMenu = nullptr; // loaded from the dialog template, freed with the window
    QPointer<QMenuBar> pMenuBar;
    std::unique_ptr<CMenu> pSystemMenu; // shown as a context menu
    HFONT hFont = nullptr;
    HGDIOBJ hOwnedFont = nullptr; // created for GetFont of a dialog font
    platform_detail::ScrollState scroll;
    int nBaseUnitX = 0; // dialogs: average character width of the dialog font
    int nBaseUnitY = 0; // dialogs: character height of the dialog font
};

struct HMENU__
{
    struct Item
    {
        UINT nFlags = MF_STRING;
        UINT nId = 0;
        std::string strText;
        HMENU hSub = nullptr;
        QPointer<QAction> pShown; // the menu bar's action for it, while the bar shows one
    };
    std::vector<Item> items;
    bool bPopup = false;
    HWND hOwner = nullptr; // window whose menu bar shows it
    CMenu* pPermanent = nullptr;
    std::unique_ptr<CMenu> pTemporary;
};

struct HICON__
{
    QIcon icon;
    QImage image;
    int nCursorShape = -1; // a Qt::CursorShape for cursors, -1 for icons
};

namespace platform_detail
{

HWND LiveWnd(HWND h);                 // nullptr when h is not a live window
HWND WndFromWidget(const QWidget* p); // nullptr when the widget is not a window of ours
void AddWindowData(HWND hWnd);        // a new window with its widget set
// The widget of a live window of the given kind, else nullptr.
template <class W> W* WidgetAs(HWND hWnd, WndKind eKind)
{
    return LiveWnd(hWnd) != nullptr && hWnd->eKind == eKind ? static_cast<W*>(hWnd->pWidget.data())
                                                            : nullptr;
}
LRESULT Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// WM_COMMAND from a control or a menu item; nothing is sent once hSource is gone. A control
// (no menuItemId) tells its parent its id at the time, nCode and itself as lParam; a menu item
// tells hSource, the window whose menu shows it, the item's id.
void SendCommand(HWND hSource, WORD nCode, std::optional<UINT> menuItemId = std::nullopt);
template <class Sender, class Signal>
void ConnectCommand(Sender* pSender, Signal signal, HWND hSource, WORD nCode,
                    std::optional<UINT> menuItemId = std::nullopt)
{
    QObject::connect(pSender, signal, pSender,
                     [hSource, nCode, menuItemId] { SendCommand(hSource, nCode, menuItemId); });
}

// The text a window shows: a control's label or contents, a window's title.
void SetWindowTextOf(HWND hWnd, const char* psz);
QString WindowTextOf(HWND hWnd);

// Registered window classes, found by their lower-case name.
struct SWindowClass
{
    std::string strName;
    WNDCLASSA wc;
    ATOM atom;
};
const SWindowClass* FindWindowClass(const std::string& lower); // nullptr when not registered

// The window whose mouse message is being handled, for SetCursor; restored when the scope ends.
class CMouseWindowScope
{
public:
    explicit CMouseWindowScope(HWND hWnd);
    ~CMouseWindowScope();
    CMouseWindowScope(const CMouseWindowScope&) = delete;
    CMouseWindowScope& operator=(const CMouseWindowScope&) = delete;

private:
    HWND m_hPrevious;
};
void ForgetMouseWindow(HWND hWnd); // the window is going: it no longer has capture or the mouse
HWND CreateWnd(const char* pszClass, const char* pszText, DWORD dwStyle, DWORD dwExStyle,
               const QRect& rect, HWND hParent, int nId, QWidget* pOwner = nullptr);
void SetMenuBar(HWND hWnd, HMENU hMenu);
void RebuildMenuBar(HWND hWnd);
HMENU NewMenu(bool bPopup);
void FreeMenu(HMENU hMenu);
HMENU LiveMenu(HMENU h);
QString MnemonicFree(const char* psz); // "&File" -> "File", "&&" -> "&"
void RemoveWindowData(HWND hWnd);      // the widget is going away

// Dropped files (DropFiles.cpp). A new list belongs to hWnd until DragFinish frees it; the lists
// a window never gave back are freed when it goes.
HDROP__* NewDrop(HWND hWnd, std::vector<std::string> vecPaths);
void FreeDropsOf(HWND hWnd);
void ShowAcceptFiles(HWND hWnd); // the widget takes drags while the window accepts files
// A drag over or dropped on the window's widget; false when the window does not accept files and
// the widget's own handling applies.
bool OfferDrag(HWND hWnd, QDropEvent* pEvent);
bool DeliverDrop(HWND hWnd, QDropEvent* pEvent);

class TimerHost : public QObject
{
public:
    explicit TimerHost(HWND hWnd) : m_hWnd(hWnd) {}
    UINT_PTR Set(UINT_PTR nId, UINT nElapse, TIMERPROC pfn);
    bool Kill(UINT_PTR nId);
    bool Period(UINT_PTR nId, UINT* pnElapse) const;

protected:
    void timerEvent(QTimerEvent* pEvent) override;

private:
    struct Timer
    {
        int nQtId;
        TIMERPROC pfn;
        UINT nElapse;
    };
    HWND m_hWnd;
    std::map<UINT_PTR, Timer> m_timers;
};

} // namespace platform_detail
