#include "chart/ChartAxisLabel.h"

#include "chart/ChartCtrl.h"
#include "chart/DCGuard.h"
#include "platform/DC.h"

namespace
{

bool CanDraw(const CDC* pDC)
{
    return pDC && pDC->GetSafeHdc() && pDC->m_hAttribDC;
}

} // namespace

SIZE CChartAxisLabel::GetSize(CDC* pDC)
{
    if (!m_bVisible || m_strText.empty() || !CanDraw(pDC))
        return {0, 0};
    CSize szText;
    {
        CDCGuard guard(pDC);
        guard.SelectFont(m_Font);
        szText = pDC->GetTextExtent(m_strText);
    }
    // A vertical caption is turned, so its text length runs down the band.
    if (m_bHorizontal)
        return {szText.cx + 4, szText.cy + 4};
    return {szText.cy + 4, szText.cx + 4};
}

void CChartAxisLabel::Draw(CDC* pDC)
{
    if (!m_bVisible || m_strText.empty() || !CanDraw(pDC))
        return;
    CDCGuard guard(pDC);
    guard.SetBkMode(TRANSPARENT);
    guard.SetTextColor(m_crText);
    guard.SelectFont(m_Font);
    if (m_bHorizontal)
        pDC->ExtTextOut(m_rcText.left, m_rcText.top + 2, ETO_CLIPPED, nullptr, m_strText, nullptr);
    else
        pDC->ExtTextOut(m_rcText.left + 2, m_rcText.top, ETO_CLIPPED, nullptr, m_strText, nullptr);
}

void CChartAxisLabel::SetText(const std::string& strText)
{
    m_strText = strText;
    if (m_pOwner)
        m_pOwner->RefreshChart();
}
