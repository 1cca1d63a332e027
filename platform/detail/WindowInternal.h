// Private to the platform layer: what window and cursor handles point at.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/WinTypes.h"

class CWnd;
class QPaintEvent;

namespace platform_detail
{

// A scroll bar's range, page and position as Windows keeps them.
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
    QPointer<QWidget> pWidget; // the window
    CWnd* pWnd = nullptr;      // its C++ object, for as long as the window lives
    HWND hParent = nullptr;
    bool bScrollBar = false;
    UINT nClassStyle = 0;
    HBRUSH hbrBackground = nullptr;
    DWORD dwStyle = 0;
    int nId = 0;
    bool bErasePending = true;
    bool bInvalid = false;
    QPaintEvent* pPaintEvent = nullptr; // while the window paints
    platform_detail::ScrollState scroll;
};

struct HICON__
{
    Qt::CursorShape eShape = Qt::ArrowCursor;
};

namespace platform_detail
{

HWND LiveWnd(HWND h);                 // nullptr when h is not a live window
HWND WndFromWidget(const QWidget* p); // nullptr when the widget is not a window of ours
void AddWindowData(HWND hWnd);        // a new window with its widget set
void RemoveWindowData(HWND hWnd);     // the widget is going away

// Registered window classes, found by their lower-case name.
struct SWindowClass
{
    std::string strName;
    WNDCLASSA wc;
};
const SWindowClass* FindWindowClass(const std::string& lower); // nullptr when not registered

// The window whose mouse event is being handled, for SetCursor; restored when the scope ends.
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

} // namespace platform_detail
