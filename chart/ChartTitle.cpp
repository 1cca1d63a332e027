#include "chart/ChartTitle.h"

#include "chart/ChartCtrl.h"
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
    m_defaultFont.SelectFont(pDC);
    for (std::size_t i = 0; i < m_vecLines.size(); ++i)
    {
        const auto itFont = m_lineFonts.find(std::int32_t(i));
        if (itFont != m_lineFonts.end())
            itFont->second.SelectFont(pDC);
        const std::string& strLine = m_vecLines[i];
        const CSize extent = pDC->GetTextExtent(strLine.c_str(), int(strLine.size()));
        nHeight += extent.cy + 2;
        nWidth = std::max<int>(nWidth, extent.cx);
        if (itFont != m_lineFonts.end())
        {
            pDC->SelectObject(itFont->second.m_pPrevFont);
            itFont->second.m_pPrevFont = nullptr;
        }
    }
    m_rcTitle.bottom = m_rcTitle.top + nHeight;
    pDC->SelectObject(m_defaultFont.m_pPrevFont);
    m_defaultFont.m_pPrevFont = nullptr;
    size.cx = nWidth + 2;
    size.cy = nHeight;
    return size;
}

void CChartTitle::DrawTitle(CDC* pDC)
{
    if (pDC == nullptr || pDC->GetSafeHdc() == nullptr || !m_bVisible || m_vecLines.empty())
        return;
    m_defaultFont.SelectFont(pDC);
    const COLORREF crOldText = pDC->SetTextColor(m_crText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const int nMiddle = m_rcTitle.left + int(std::abs(m_rcTitle.left - m_rcTitle.right) * 0.5);
    int y = 4;
    for (std::size_t i = 0; i < m_vecLines.size(); ++i)
    {
        const auto itFont = m_lineFonts.find(std::int32_t(i));
        if (itFont != m_lineFonts.end())
            itFont->second.SelectFont(pDC);
        const std::string& strLine = m_vecLines[i];
        const CSize extent = pDC->GetTextExtent(strLine.c_str(), int(strLine.size()));
        pDC->ExtTextOut(nMiddle - extent.cx / 2, m_rcTitle.top + y, ETO_CLIPPED, nullptr,
                        strLine.c_str(), UINT(strLine.size()), nullptr);
        if (itFont != m_lineFonts.end())
        {
            pDC->SelectObject(itFont->second.m_pPrevFont);
            itFont->second.m_pPrevFont = nullptr;
        }
        y += extent.cy + 2;
    }
    pDC->SelectObject(m_defaultFont.m_pPrevFont);
    m_defaultFont.m_pPrevFont = nullptr;
    pDC->SetTextColor(crOldText);
    pDC->SetBkMode(nOldMode);
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
