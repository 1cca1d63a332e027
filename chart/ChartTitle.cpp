#include "chart/ChartTitle.h"

#include "chart/ChartCtrl.h"
#include "chart/DCGuard.h"
#include "platform/DC.h"

#include <algorithm>
#include <cstdlib>

CChartTitle::CChartTitle(CChartCtrl* pOwner) : m_pOwner(pOwner) {}

CChartTitle::~CChartTitle() = default;

SIZE CChartTitle::MeasureTitle(CDC* pDC)
{
    SIZE size = {0, 0};
    if (!m_bVisible || m_vecLines.empty() || pDC == nullptr)
        return size;
    int nHeight = 4;
    int nWidth = 0;
    CDCGuard guard(pDC);
    guard.SelectFont(m_defaultFont);
    for (std::size_t i = 0; i < m_vecLines.size(); ++i)
    {
        CDCGuard lineGuard(pDC);
        const CSize extent = SelectLineFont(&lineGuard, pDC, i);
        nHeight += extent.cy + 2;
        nWidth = std::max<int>(nWidth, extent.cx);
    }
    m_rcTitle.bottom = m_rcTitle.top + nHeight;
    size.cx = nWidth + 2;
    size.cy = nHeight;
    return size;
}

void CChartTitle::DrawTitle(CDC* pDC)
{
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr || !m_bVisible || m_vecLines.empty())
        return;
    CDCGuard guard(pDC);
    guard.SelectFont(m_defaultFont);
    guard.SetTextColor(m_crText);
    guard.SetBkMode(TRANSPARENT);
    const int nMiddle = m_rcTitle.left + int(std::abs(m_rcTitle.left - m_rcTitle.right) * 0.5);
    int y = 4;
    for (std::size_t i = 0; i < m_vecLines.size(); ++i)
    {
        CDCGuard lineGuard(pDC);
        const CSize extent = SelectLineFont(&lineGuard, pDC, i);
        const std::string& strLine = m_vecLines[i];
        pDC->ExtTextOut(nMiddle - extent.cx / 2, m_rcTitle.top + y, ETO_CLIPPED, nullptr,
                        strLine.c_str(), UINT(strLine.size()), nullptr);
        y += extent.cy + 2;
    }
}

CSize CChartTitle::SelectLineFont(CDCGuard* pGuard, CDC* pDC, std::size_t nLine)
{
    const auto itFont = m_lineFonts.find(std::int32_t(nLine));
    if (itFont != m_lineFonts.end())
        pGuard->SelectFont(itFont->second);
    const std::string& strLine = m_vecLines[nLine];
    return pDC->GetTextExtent(strLine.c_str(), int(strLine.size()));
}

void CChartTitle::RequestRedraw()
{
    if (m_pOwner != nullptr)
        m_pOwner->RefreshChart();
}

void CChartTitle::AddLine(const std::string& strLine)
{
    m_vecLines.push_back(strLine);
    RequestRedraw();
}

void CChartTitle::RemoveAllLines()
{
    m_vecLines.clear();
    m_lineFonts.clear();
    RequestRedraw();
}

void CChartTitle::SetLineFont(int nLine, const ChartFont& font)
{
    ChartFont& entry = m_lineFonts[nLine];
    entry = font;
    entry.m_bDirty = true;
    RequestRedraw();
}

void CChartTitle::SetDefaultFont(const std::string& strFace, int nSizeTenths, bool bBold,
                                 bool bItalic, bool bUnderline)
{
    m_defaultFont.m_strFace = strFace;
    m_defaultFont.m_nPointSize = nSizeTenths;
    m_defaultFont.m_bBold = bBold;
    m_defaultFont.m_bItalic = bItalic;
    m_defaultFont.m_bUnderline = bUnderline;
    m_defaultFont.m_bDirty = true;
    RequestRedraw();
}

void CChartTitle::SetColor(COLORREF crText)
{
    m_crText = crText;
    RequestRedraw();
}

void CChartTitle::SetVisible(bool bVisible)
{
    m_bVisible = bVisible;
    RequestRedraw();
}
