#include "chart/ChartSerie.h"

#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"

namespace
{
// Ids are never reused: the replay makes a new series per step and the control keys by id.
std::uint32_t g_nNextSerieId = 0;
} // namespace

CChartSerie::CChartSerie(CChartCtrl* pOwner) : m_pOwner(pOwner), m_nId(g_nNextSerieId++) {}

CChartSerie::~CChartSerie()
{
    if (m_pXAxis != nullptr)
        m_pXAxis->UnregisterSerie(this);
    if (m_pYAxis != nullptr)
        m_pYAxis->UnregisterSerie(this);
}

void CChartSerie::RequestRedraw()
{
    if (m_pOwner != nullptr)
        m_pOwner->RefreshChart();
}

void CChartSerie::SetName(const std::string& strName)
{
    m_strName = strName;
    RequestRedraw();
}

void CChartSerie::SetVisible(bool bVisible)
{
    m_bVisible = bVisible;
    RequestRedraw();
}

void CChartSerie::SetDrawShadow(bool bDrawShadow)
{
    m_bDrawShadow = bDrawShadow;
    RequestRedraw();
}

void CChartSerie::SetColor(COLORREF crColor)
{
    m_crColor = crColor;
    RequestRedraw();
}

void CChartSerie::SetShadowColor(COLORREF crShadow)
{
    m_crShadow = crShadow;
    RequestRedraw();
}

void CChartSerie::SetShadowOffset(int nOffset)
{
    m_nShadowOffset = nOffset;
    RequestRedraw();
}

void CChartSerie::SetMouseEvents(bool bClickEvents, bool bMoveEvents)
{
    m_bClickEvents = bClickEvents;
    m_bMoveEvents = bMoveEvents;
}
