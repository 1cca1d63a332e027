// CWnd: a window. Each window is a Qt widget that turns its events into Windows messages and hands
// them to WindowProc, which calls the virtual handlers below with MFC's names and signatures
// (mouse points in client coordinates, key flags MK_*). Handlers that are not overridden do the
// default handling (Default()).
//
// - No background erase happens unless InvalidateRect asked for it; then OnEraseBkgnd runs first
//   (default: fill with the class background brush, if the class has one).
// - Double clicks arrive as OnLButtonDblClk/OnRButtonDblClk only for a window whose class has
//   CS_DBLCLKS; otherwise as a second button-down.
// - Timers are per window and id; ticks also arrive while a modal dialog runs.
#pragma once

#include <string>

#include "platform/CmdTarget.h"
#include "platform/ShellApi.h"
#include "platform/WinTypes.h"
#include "platform/WinUser.h"

class CDC;
class CFont;
class CMenu;
class CScrollBar;
class CDataExchange;
class QWidget;

class CWnd : public CCmdTarget
{
public:
    CWnd() = default;
    ~CWnd() override; // destroys the window if it still exists

    // The permanent object attached to the window, or a temporary one that lives as long as the
    // window.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creation. lpszClassName: a registered class, a built-in control class, or nullptr for a plain
    // window. A child needs WS_CHILD and a parent; it is shown only with WS_VISIBLE.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Attaching this object to an existing window (e.g. a control of a dialog template): from then
    // on the window's messages reach this object's handlers.
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Hierarchy and identity
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* ChildWindowFromPoint(POINT point) const; // hidden and disabled children included
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // Text (UTF-8)
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(std::string& rString) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, std::string& rString) const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // State
    BOOL ShowWindow(int nCmdShow); // returns whether the window was visible before
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE); // returns whether the window was disabled before
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // Geometry: client rectangles start at (0, 0); window rectangles are in screen coordinates.
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // Position in the parent's client coordinates (screen coordinates for a top-level window).
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    // Painting
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE); // nullptr = the whole client area
    void UpdateWindow();                                     // paints now if anything is invalid
    CDC* GetDC(); // a CClientDC-like DC; give it back with ReleaseDC
    int ReleaseDC(CDC* pDC);

    // Timers
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Mouse capture
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Icons and menus. Linux windows have no system menu: GetSystemMenu returns a menu that the
    // window shows as a context menu when its client area is right-clicked outside any control
    // (dialogs only); its items arrive as OnSysCommand.
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    CMenu* GetSystemMenu(BOOL bRevert) const;
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);

    // Messages
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Data exchange: calls DoDataExchange; FALSE when a validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    HWND m_hWnd = nullptr;

    // Entry point of every message; calls the handlers below.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void PreSubclassWindow();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();
    // The default handling of the message being handled.
    LRESULT Default();

    // Message handlers
    afx_msg virtual int OnCreate(void* lpCreateStruct);
    afx_msg virtual void OnDestroy();
    afx_msg virtual void OnClose();
    afx_msg virtual void OnPaint();
    afx_msg virtual BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg virtual void OnSize(UINT nType, int cx, int cy);
    afx_msg virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg virtual void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg virtual void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg virtual void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonDblClk(UINT nFlags, CPoint point);
    // pt in screen coordinates; zDelta in multiples of WHEEL_DELTA, positive away from the user.
    afx_msg virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg virtual void OnTimer(UINT_PTR nIDEvent);
    afx_msg virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg virtual void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg virtual HCURSOR OnQueryDragIcon();
    // Files dropped on a window that accepts them; the default gives the list back unread.
    afx_msg virtual void OnDropFiles(HDROP hDropInfo);

private:
    // A new window of this object: a child of hParent, or of the widget pOwner when hParent is
    // null, or a top-level window owned by pOwner.
    BOOL CreateWithin(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, HWND hParent, QWidget* pOwner, UINT nID, LPVOID lpParam);
    friend BOOL CreateWindowInWidget(CWnd& wnd, LPCTSTR lpszClassName, QWidget* pHost,
                                     const RECT& rect, DWORD dwStyle);

    struct CurrentMessage
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_currentMsg = {WM_NULL, 0, 0};
    friend struct HWND__;
};
