// CWnd: a window. Each window is a Qt widget that hands its events to the virtual handlers below
// with MFC's names and signatures (mouse points in client coordinates, key flags MK_*).
//
// - No background erase happens unless InvalidateRect asked for it, the window was resized or it
//   paints for the first time; then OnEraseBkgnd runs first (default: fill with the class
//   background brush, if the class has one).
// - Double clicks arrive as OnLButtonDblClk/OnRButtonDblClk only for a window whose class has
//   CS_DBLCLKS; otherwise as a second button-down.
// - Scroll bar children tell their parent through OnHScroll/OnVScroll.
#pragma once

#include "platform/WinTypes.h"
#include "platform/WinUser.h"

class CDC;
class CScrollBar;
class QWidget;

namespace platform_detail
{
class WindowWidget;
class ScrollBarWidget;
} // namespace platform_detail

class CWnd
{
public:
    CWnd() = default;
    virtual ~CWnd(); // destroys the window if it still exists
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creation. lpszClassName: a registered class, "SCROLLBAR", or nullptr for a plain window. A
    // child needs WS_CHILD and a parent; a window is shown only with WS_VISIBLE. The name is the
    // title of a top-level window. No extended style applies here; dwExStyle and lpParam keep the
    // usual call shape.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          LPVOID lpParam = nullptr);
    // The window goes with its children; this object stays and may create another.
    virtual BOOL DestroyWindow();

    static CWnd* FromHandle(HWND hWnd); // nullptr for a dead handle
    CWnd* GetParent() const;
    int GetDlgCtrlID() const;
    // The child whose rectangle holds point (client coordinates), hidden ones included; this
    // window when no child does, nullptr when the point is outside the client area.
    CWnd* ChildWindowFromPoint(POINT point) const;

    BOOL ShowWindow(int nCmdShow); // SW_HIDE or SW_SHOW; answers whether it was visible before
    BOOL IsWindowVisible() const;

    // Client rectangles start at (0, 0); window rectangles are in screen coordinates.
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // Position in the parent's client coordinates (screen coordinates for a top-level window).
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);

    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE); // nullptr = the whole client area
    void UpdateWindow();                                     // paints now if anything is invalid

    CWnd* SetCapture(); // answers the window that had the mouse before
    static CWnd* GetCapture();

    HWND m_hWnd = nullptr;

protected:
    // What a handler that is not overridden does. None of the events a window gets here has a
    // default beyond OnEraseBkgnd's own fill, so handlers that pass an event on answer 0.
    LRESULT Default() { return 0; }

    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    // The mouse left the window, unless a button held it.
    virtual void OnMouseLeave();
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnRButtonUp(UINT nFlags, CPoint point);
    virtual void OnRButtonDblClk(UINT nFlags, CPoint point);
    // pt in screen coordinates; zDelta in multiples of WHEEL_DELTA, positive away from the user.
    virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

private:
    // A new window of this object: a child of hParent, or of the widget pHost when hParent is
    // null, or a top-level window when neither is given.
    BOOL CreateWithin(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, HWND hParent, QWidget* pHost, UINT nID);
    friend BOOL CreateWindowInWidget(CWnd& wnd, LPCTSTR lpszClassName, QWidget* pHost,
                                     const RECT& rect, DWORD dwStyle);
    // The widgets that carry windows hand their events to the handlers.
    friend class platform_detail::WindowWidget;
    friend class platform_detail::ScrollBarWidget;
};
