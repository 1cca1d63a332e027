#pragma once

#include "chart/Forward.h"
#include "platform/Font.h"
#include "platform/Pen.h"
#include "platform/WinTypes.h"

#include <string>

class CBrush;
class CDC;

// Every change a drawing routine makes to a device context goes through one of these; when the
// guard goes out of scope it puts back the pen, brush, font, background mode, text colour,
// background colour and clip it found, on every path out of the routine, then deletes the
// objects it created. Each state is remembered the first time it changes, so a routine may
// select several fonts in turn. A guard on a null device context changes nothing.
class CDCGuard
{
public:
    explicit CDCGuard(CDC* pDC);
    ~CDCGuard();

    CDCGuard(const CDCGuard&) = delete;
    CDCGuard& operator=(const CDCGuard&) = delete;

    // Objects owned by the caller, which must outlive the guard.
    void SelectPen(CPen* pPen);
    void SelectBrush(CBrush* pBrush);
    void SelectFont(CFont* pFont);
    // Creates the font first if the description changed.
    void SelectFont(ChartFont& font);

    // Objects owned by the guard, one of each kind per guard.
    void SelectNewPen(COLORREF crColor, int nWidth = 0);
    void SelectNewPointFont(int nTenthsOfPoint, const std::string& strFace);

    void SetBkMode(int nMode);
    void SetTextColor(COLORREF crColor);
    void SetBkColor(COLORREF crColor);
    // Narrows the clip to rc; the clip found before comes back at the end.
    void IntersectClip(const RECT& rc);

private:
    void RestoreClip();

    CDC* m_pDC = nullptr;
    CPen* m_pOldPen = nullptr;
    CBrush* m_pOldBrush = nullptr;
    CFont* m_pOldFont = nullptr;
    bool m_bBkModeSet = false;
    int m_nOldBkMode = 0;
    bool m_bTextColorSet = false;
    COLORREF m_crOldText = 0;
    bool m_bBkColorSet = false;
    COLORREF m_crOldBk = 0;
    bool m_bClipSet = false;
    int m_nOldClipKind = 0;
    RECT m_rcOldClip = {0, 0, 0, 0};
    CPen m_pen;
    CFont m_font;
};
