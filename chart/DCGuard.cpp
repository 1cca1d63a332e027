#include "chart/DCGuard.h"

#include "chart/ChartFont.h"
#include "platform/DC.h"

#include <cassert>

namespace
{

// Keeps what a state was before its first change through the guard; later changes keep nothing.
template <typename T> void KeepFirst(bool* pKept, T* pFirst, T old)
{
    if (!*pKept)
        *pFirst = old;
    *pKept = true;
}

// The same for selected objects, where null means nothing kept yet.
template <typename T> void KeepFirst(T** ppFirst, T* pOld)
{
    if (!*ppFirst)
        *ppFirst = pOld;
}

} // namespace

CDCGuard::CDCGuard(CDC* pDC) : m_pDC(pDC) {}

CDCGuard::~CDCGuard()
{
    if (!m_pDC)
        return;
    if (m_bClipSet)
        RestoreClip();
    if (m_bBkModeSet)
        m_pDC->SetBkMode(m_nOldBkMode);
    if (m_bTextColorSet)
        m_pDC->SetTextColor(m_crOldText);
    if (m_bBkColorSet)
        m_pDC->SetBkColor(m_crOldBk);
    if (m_pOldFont)
        m_pDC->SelectObject(m_pOldFont);
    if (m_pOldBrush)
        m_pDC->SelectObject(m_pOldBrush);
    if (m_pOldPen)
        m_pDC->SelectObject(m_pOldPen);
    // m_pen and m_font are deleted after this, no longer selected.
}

void CDCGuard::SelectPen(CPen* pPen)
{
    if (!m_pDC || !pPen)
        return;
    KeepFirst(&m_pOldPen, m_pDC->SelectObject(pPen));
}

void CDCGuard::SelectBrush(CBrush* pBrush)
{
    if (!m_pDC || !pBrush)
        return;
    KeepFirst(&m_pOldBrush, m_pDC->SelectObject(pBrush));
}

void CDCGuard::SelectFont(CFont* pFont)
{
    if (!m_pDC || !pFont)
        return;
    KeepFirst(&m_pOldFont, m_pDC->SelectObject(pFont));
}

void CDCGuard::SelectFont(ChartFont& font)
{
    if (!m_pDC)
        return;
    CGdiObject* pOld = font.SelectFont(m_pDC);
    // The guard puts the previous font back, not the font's own bookkeeping.
    font.m_pPrevFont = nullptr;
    if (pOld)
        KeepFirst(&m_pOldFont, CFont::FromHandle(static_cast<HFONT>(pOld->m_hObject)));
}

void CDCGuard::SelectNewPen(COLORREF crColor, int nWidth)
{
    assert(!m_pen.GetSafeHandle() && "CDCGuard::SelectNewPen: one pen per guard; open a new scope");
    if (!m_pDC)
        return;
    m_pen.CreatePen(PS_SOLID, nWidth, crColor);
    SelectPen(&m_pen);
}

void CDCGuard::SelectNewPointFont(int nTenthsOfPoint, const std::string& strFace)
{
    assert(!m_font.GetSafeHandle() &&
           "CDCGuard::SelectNewPointFont: one font per guard; open a new scope");
    if (!m_pDC)
        return;
    m_font.CreatePointFont(nTenthsOfPoint, strFace.c_str(), m_pDC);
    SelectFont(&m_font);
}

void CDCGuard::SetBkMode(int nMode)
{
    if (m_pDC)
        KeepFirst(&m_bBkModeSet, &m_nOldBkMode, m_pDC->SetBkMode(nMode));
}

void CDCGuard::SetTextColor(COLORREF crColor)
{
    if (m_pDC)
        KeepFirst(&m_bTextColorSet, &m_crOldText, m_pDC->SetTextColor(crColor));
}

void CDCGuard::SetBkColor(COLORREF crColor)
{
    if (m_pDC)
        KeepFirst(&m_bBkColorSet, &m_crOldBk, m_pDC->SetBkColor(crColor));
}

void CDCGuard::IntersectClip(const RECT& rc)
{
    if (!m_pDC)
        return;
    if (!m_bClipSet)
        m_nOldClipKind = m_pDC->GetClipBox(&m_rcOldClip);
    m_bClipSet = true;
    m_pDC->IntersectClipRect(&rc);
}

void CDCGuard::RestoreClip()
{
    m_pDC->SelectClipRgn(nullptr);
    if (m_nOldClipKind == ERROR)
        return;
    if (m_nOldClipKind == NULLREGION)
    {
        m_pDC->IntersectClipRect(0, 0, 0, 0);
        return;
    }
    // Without a clip the device context reports its whole surface, so only a smaller box was
    // a clip of its own.
    RECT rcWhole = {0, 0, 0, 0};
    m_pDC->GetClipBox(&rcWhole);
    if (!EqualRect(&rcWhole, &m_rcOldClip))
        m_pDC->IntersectClipRect(&m_rcOldClip);
}
