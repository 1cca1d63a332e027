#include "chart/ChartAxis.h"

#include "chart/ChartAxisLabel.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartGrid.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartSerie.h"
#include "chart/DCGuard.h"
#include "platform/DC.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace
{

// Offsets beyond this many pixels from the axis start are cut: far outside any window, yet
// small enough that drawing code can add to them without overflowing.
constexpr double kPixelOffsetLimit = 1 << 20;

// Enough ticks for any window; a tick sequence that stops advancing (an increment below the
// resolution of the values) is cut here instead of looping for ever.
constexpr int kMaxTicks = 10000;

// A scroll bar holds int positions; mirrored positions add count and position, so both stay
// well inside int.
constexpr double kMaxScrollSteps = 1 << 29;

int ClampToInt(std::int64_t nValue)
{
    return static_cast<int>(std::clamp<std::int64_t>(nValue, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// Floor of a pixel offset as an integer that is always safe to convert and add.
std::int64_t SafeOffset(double dOffset)
{
    if (std::isnan(dOffset))
        return 0;
    return static_cast<std::int64_t>(
        std::clamp(std::floor(dOffset), -kPixelOffsetLimit, kPixelOffsetLimit));
}

bool CanDraw(const CDC* pDC)
{
    return pDC && pDC->GetSafeHdc() && pDC->m_hAttribDC;
}

// Where a tick mark runs across the band (from the axis line outwards) and where the top-left
// of its label goes, nLabel being the label's pixel along the axis.
struct STickLayout
{
    int nMarkFrom = 0;
    int nMarkTo = 0;
    POINT ptText = {0, 0};
};

STickLayout LayoutTick(const CChartAxis& axis, int nLabel, SIZE szText, SIZE szCaption)
{
    const RECT& rcBand = axis.m_rcBand;
    if (axis.m_bHorizontal)
    {
        const int x = nLabel - szText.cx / 2;
        if (axis.m_bOppositeSide)
            return {rcBand.bottom - 1, rcBand.bottom - 4, {x, rcBand.bottom - szText.cy - 5}};
        return {rcBand.top + 1, rcBand.top + 4, {x, rcBand.top + 5}};
    }
    const int y = nLabel - szText.cy / 2;
    if (axis.m_bOppositeSide)
        return {rcBand.left + 1, rcBand.left + 4, {rcBand.left + 6, y}};
    // Labels start right of the caption column, left-aligned.
    return {rcBand.right - 1, rcBand.right - 4, {rcBand.left + szCaption.cx + 4, y}};
}

} // namespace

CChartAxis::CChartAxis() : m_pGrid(new CChartGrid), m_pCaption(new CChartAxisLabel) {}

CChartAxis::~CChartAxis()
{
    delete m_pGrid;
    m_pGrid = nullptr;
    delete m_pCaption;
    m_pCaption = nullptr;
    delete m_pAxisScrollBar;
    m_pAxisScrollBar = nullptr;
    m_RegisteredSeries.clear();
}

void CChartAxis::SetBetweenTicks(bool bBetweenTicks)
{
    m_bBetweenTicks = bBetweenTicks;
    if (m_pOwner)
        m_pOwner->RefreshChart();
}

std::int64_t CChartAxis::PixelLength() const
{
    return std::abs(static_cast<std::int64_t>(m_nEndPixel) - m_nStartPixel);
}

double CChartAxis::PixelToValue(int nPixel) const
{
    const std::int64_t nLength = PixelLength();
    if (m_dMax == m_dMin || nLength == 0)
        return m_dMin;
    std::int64_t nOffset = 0;
    if (m_bHorizontal)
        nOffset =
            m_bReversed ? std::int64_t(m_nEndPixel) - nPixel : std::int64_t(nPixel) - m_nStartPixel;
    else
        nOffset =
            m_bReversed ? std::int64_t(nPixel) - m_nEndPixel : std::int64_t(m_nStartPixel) - nPixel;
    return static_cast<double>(nOffset) / static_cast<double>(nLength) * (m_dMax - m_dMin) + m_dMin;
}

int CChartAxis::ValueToPixel(double dValue) const
{
    const double dLength = static_cast<double>(PixelLength());
    const std::int64_t nOffset = SafeOffset(dLength * (dValue - m_dMin) / (m_dMax - m_dMin));
    std::int64_t nPixel = 0;
    if (m_bHorizontal)
        nPixel = m_bReversed ? m_nEndPixel - nOffset : m_nStartPixel + nOffset;
    else
        nPixel = m_bReversed ? m_nEndPixel + nOffset : m_nStartPixel - nOffset;
    return ClampToInt(nPixel);
}

int CChartAxis::LabelPixel(double dValue) const
{
    if (m_dMax == m_dMin)
    {
        const int nHalf =
            static_cast<int>(std::abs((static_cast<double>(m_nEndPixel) - m_nStartPixel) * 0.5));
        return m_bHorizontal ? m_nStartPixel + nHalf : m_nStartPixel - nHalf;
    }
    return m_bBetweenTicks ? IntervalMidPixel(dValue) : ValueToPixel(dValue);
}

bool CChartAxis::IsPixelInside(int nPixel) const
{
    if (m_bHorizontal)
        return m_nStartPixel <= nPixel && nPixel <= m_nEndPixel;
    return m_nEndPixel <= nPixel && nPixel <= m_nStartPixel;
}

bool CChartAxis::IsLabelInside(double dValue) const
{
    return IsPixelInside(LabelPixel(dValue));
}

void CChartAxis::RegisterSerie(CChartSerie* pSerie)
{
    if (std::find(m_RegisteredSeries.begin(), m_RegisteredSeries.end(), pSerie) ==
        m_RegisteredSeries.end())
        m_RegisteredSeries.push_back(pSerie);
}

void CChartAxis::UnregisterSerie(CChartSerie* pSerie)
{
    const auto it = std::find(m_RegisteredSeries.begin(), m_RegisteredSeries.end(), pSerie);
    if (it != m_RegisteredSeries.end())
        m_RegisteredSeries.erase(it);
}

void CChartAxis::CollectRange(bool bVisibleOnly, double* pMin, double* pMax) const
{
    const auto ask = [this, bVisibleOnly](CChartSerie* pSerie, double* pLow, double* pHigh)
    {
        if (bVisibleOnly)
            return m_bHorizontal ? pSerie->GetVisibleXRange(pLow, pHigh)
                                 : pSerie->GetVisibleYRange(pLow, pHigh);
        return m_bHorizontal ? pSerie->GetXRange(pLow, pHigh) : pSerie->GetYRange(pLow, pHigh);
    };

    *pMin = 0.0;
    *pMax = 0.0;
    if (m_RegisteredSeries.empty())
        return;
    // The first series seeds the result, so a first series without points lets 0 in.
    ask(m_RegisteredSeries.front(), pMin, pMax);
    double dLow = 0.0;
    double dHigh = 0.0;
    for (CChartSerie* pSerie : m_RegisteredSeries)
    {
        ask(pSerie, &dLow, &dHigh);
        if (dLow < *pMin)
            *pMin = dLow;
        if (dHigh > *pMax)
            *pMax = dHigh;
    }
}

void CChartAxis::GetSeriesRange(double* pMin, double* pMax) const
{
    CollectRange(false, pMin, pMax);
}

void CChartAxis::GetSeriesVisibleRange(double* pMin, double* pMax) const
{
    CollectRange(true, pMin, pMax);
}

void CChartAxis::SyncScrollBar()
{
    if (m_pAxisScrollBar)
        m_pAxisScrollBar->SyncWithAxis();
}

void CChartAxis::RefreshAutoRange()
{
    SyncScrollBar();
    if (m_eRangeMode == Manual)
        return;
    double dMin = 0.0;
    double dMax = 0.0;
    if (m_eRangeMode == AllPoints)
        GetSeriesRange(&dMin, &dMax);
    else
        GetSeriesVisibleRange(&dMin, &dMax);
    if (!m_RegisteredSeries.empty() && m_dAutoPadding > 0.0)
    {
        dMin -= m_dAutoPadding;
        dMax += m_dAutoPadding;
    }
    if (dMax == m_dMax && dMin == m_dMin)
        return;
    // A range that cannot be mapped is not taken; the axis keeps what it shows.
    if (SetRange(dMin, dMax, ERangeChange::Fit) && m_pOwner)
        m_pOwner->RefreshChart();
}

void CChartAxis::SetRangeMode(AxisRangeMode eMode)
{
    m_eRangeMode = eMode;
    // Cleared, so that re-ranging sees a change whenever the series have a range.
    SetRange(0.0, 0.0, ERangeChange::Reset);
    RefreshAutoRange();
}

void CChartAxis::RestoreSavedRange()
{
    SetRange(m_dSavedMin, m_dSavedMax, ERangeChange::Reset);
    if (m_pOwner)
        m_pOwner->RefreshChart();
}

bool CChartAxis::SetRange(double dMin, double dMax, ERangeChange eChange)
{
    if (!std::isfinite(dMin) || !std::isfinite(dMax))
        return false;
    if (eChange == ERangeChange::Navigate)
    {
        if (!m_bZoomable || m_dMin == m_dMax)
            return false;
        if (m_dMinZoomSpan > dMax - dMin)
            dMax = dMin + m_dMinZoomSpan;
    }
    if (dMax < dMin)
        return false;
    m_dMin = dMin;
    m_dMax = dMax;
    if (eChange == ERangeChange::Fit)
    {
        m_dSavedMin = dMin;
        m_dSavedMax = dMax;
    }
    SyncScrollBar();
    return true;
}

void CChartAxis::SetZoomRange(double dMin, double dMax)
{
    SetRange(dMin, dMax, ERangeChange::Navigate);
}

void CChartAxis::PanPixels(int nFromPixel, int nToPixel)
{
    const double dDelta = PixelToValue(nFromPixel) - PixelToValue(nToPixel);
    SetZoomRange(m_dMin + dDelta, m_dMax + dDelta);
}

void CChartAxis::GetScrollSteps(int* pStepCount, int* pStepPos) const
{
    double dFullMin = 0.0;
    double dFullMax = 0.0;
    GetSeriesRange(&dFullMin, &dFullMax);
    const double dVisible = m_dMax - m_dMin;
    const double dFull = dFullMax - dFullMin;
    if (dVisible == 0.0 || dFull == 0.0)
    {
        *pStepCount = 1;
        *pStepPos = 1;
        return;
    }
    double dCount = std::ceil(dFull / (dVisible / 10.0));
    dCount = std::isnan(dCount) ? 1.0 : std::clamp(dCount, 1.0, kMaxScrollSteps);
    const int nCount = static_cast<int>(dCount);
    double dPos = (m_dMin - dFullMin) / dFull * nCount;
    dPos = std::isnan(dPos) ? 0.0 : std::clamp(dPos, -kMaxScrollSteps, kMaxScrollSteps);
    *pStepCount = nCount;
    *pStepPos = static_cast<int>(dPos);
}

void CChartAxis::ScrollBySteps(int nFromPos, int nToPos, bool bBackwards)
{
    const double dShift =
        (m_dMax - m_dMin) / 10.0 * (static_cast<double>(nToPos) - static_cast<double>(nFromPos));
    if (bBackwards)
        SetZoomRange(m_dMin - dShift, m_dMax - dShift);
    else
        SetZoomRange(m_dMin + dShift, m_dMax + dShift);
    if (m_pOwner)
        m_pOwner->ResyncAxes();
}

void CChartAxis::SetPlacement(RECT rcArea, RECT rcPlot)
{
    m_rcBand = rcArea;
    if (m_bHorizontal)
    {
        m_nStartPixel = rcPlot.left;
        m_nEndPixel = rcPlot.right;
        if (m_bOppositeSide)
            m_rcBand.bottom = rcPlot.top;
        else
            m_rcBand.top = rcPlot.bottom;
    }
    else
    {
        m_nStartPixel = rcPlot.bottom;
        m_nEndPixel = rcPlot.top;
        if (m_bOppositeSide)
            m_rcBand.left = rcPlot.right;
        else
            m_rcBand.right = rcPlot.left;
    }
}

SIZE CChartAxis::CaptionSize(CDC* pDC) const
{
    return m_pCaption ? m_pCaption->GetSize(pDC) : SIZE{0, 0};
}

int CChartAxis::ReserveMargin(RECT* pPlot, CDC* pDC, RECT rcArea)
{
    if (!m_bVisible)
        return 0;
    const SIZE szLabel = GetMaxTickLabelSize(pDC);
    const SIZE szCaption = CaptionSize(pDC);
    int nThickness = m_nBandThickness;
    if (m_bHorizontal)
    {
        if (m_bAutoBand)
            m_nBandThickness = nThickness = szLabel.cy + 6 + szCaption.cy;
        if (m_bOppositeSide)
        {
            if (rcArea.top + nThickness > pPlot->top)
                pPlot->top = rcArea.top + nThickness;
        }
        else if (rcArea.bottom - nThickness < pPlot->bottom)
            pPlot->bottom = rcArea.bottom - nThickness;
        // Room for half of the widest label beyond the last tick.
        const int nRight = rcArea.right - 3 - szLabel.cx / 2;
        if (nRight < pPlot->right)
            pPlot->right = nRight;
    }
    else
    {
        if (m_bAutoBand)
            m_nBandThickness = nThickness = szLabel.cx + 10 + szCaption.cx;
        // Room for half a label above the top tick.
        const int nTop = rcArea.top + 3 + szLabel.cy / 2;
        if (nTop > pPlot->top)
            pPlot->top = nTop;
        if (m_bOppositeSide)
        {
            if (rcArea.right - nThickness < pPlot->right)
                pPlot->right = rcArea.right - nThickness;
        }
        else if (rcArea.left + nThickness > pPlot->left)
            pPlot->left = rcArea.left + nThickness;
    }
    return nThickness;
}

template <typename Visit> void CChartAxis::ForEachTick(Visit visit) const
{
    double dTick = GetFirstTick();
    visit(dTick);
    double dNext = dTick;
    for (int nCount = 1; nCount < kMaxTicks && GetNextTick(dTick, &dNext); ++nCount)
    {
        // Dates before the epoch do not grow in value from tick to tick, so only a step that
        // stays put ends the walk here; the subclass judges the order.
        if (dNext == dTick || std::isnan(dNext))
            break;
        dTick = dNext;
        visit(dTick);
    }
}

bool CChartAxis::SMeasureContext::operator==(const SMeasureContext& other) const
{
    return strFace == other.strFace && nSize == other.nSize && nDpiY == other.nDpiY &&
           nMapMode == other.nMapMode && szWindowExt.cx == other.szWindowExt.cx &&
           szWindowExt.cy == other.szWindowExt.cy && szViewportExt.cx == other.szViewportExt.cx &&
           szViewportExt.cy == other.szViewportExt.cy;
}

void CChartAxis::CheckExtentCache(CDC* pDC) const
{
    SMeasureContext context;
    context.strFace = m_strTickFontFace;
    context.nSize = m_nTickFontSize;
    context.nDpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    context.nMapMode = pDC->GetMapMode();
    context.szWindowExt = pDC->GetWindowExt();
    context.szViewportExt = pDC->GetViewportExt();
    // A zoom or a scroll brings new labels; a few hundred cover any number of layouts.
    if (!(context == m_measureContext) || m_labelExtents.size() > 512)
    {
        m_labelExtents.clear();
        m_measureContext = context;
    }
}

SIZE CChartAxis::TickLabelExtent(CDC* pDC, const std::string& strLabel) const
{
    const auto it = m_labelExtents.find(strLabel);
    if (it != m_labelExtents.end())
        return it->second;
    const SIZE szText = pDC->GetTextExtent(strLabel);
    m_labelExtents.emplace(strLabel, szText);
    return szText;
}

SIZE CChartAxis::GetMaxTickLabelSize(CDC* pDC) const
{
    SIZE szMax = {0, 0};
    if (!CanDraw(pDC))
        return szMax;
    CheckExtentCache(pDC);
    // The tick font is made only when a label has not been measured before.
    CDCGuard guard(pDC);
    bool bFontSelected = false;
    const auto measure = [&](const std::string& strLabel)
    {
        if (!bFontSelected && m_labelExtents.find(strLabel) == m_labelExtents.end())
        {
            guard.SelectNewPointFont(m_nTickFontSize, m_strTickFontFace);
            bFontSelected = true;
        }
        return TickLabelExtent(pDC, strLabel);
    };
    if (m_dMax == m_dMin)
        szMax = measure(FormatTickLabel(m_dMin));
    else
        ForEachTick(
            [&](double dTick)
            {
                if (!IsLabelInside(dTick))
                    return;
                const SIZE szText = measure(FormatTickLabel(dTick));
                szMax.cx = std::max(szMax.cx, szText.cx);
                szMax.cy = std::max(szMax.cy, szText.cy);
            });
    return szMax;
}

void CChartAxis::Draw(CDC* pDC)
{
    if (!m_bVisible || !CanDraw(pDC))
        return;
    CDCGuard guard(pDC);
    guard.SelectNewPen(m_crLine);
    guard.SelectNewPointFont(m_nTickFontSize, m_strTickFontFace);
    guard.SetTextColor(m_crTickText);
    guard.SetBkMode(TRANSPARENT);
    CheckExtentCache(pDC);

    if (m_bHorizontal)
    {
        const int y = m_bOppositeSide ? m_rcBand.bottom - 1 : m_rcBand.top + 1;
        pDC->MoveTo(m_nStartPixel, y);
        pDC->LineTo(m_nEndPixel, y);
    }
    else
    {
        const int x = m_bOppositeSide ? m_rcBand.left + 1 : m_rcBand.right - 1;
        pDC->MoveTo(x, m_nStartPixel);
        pDC->LineTo(x, m_nEndPixel);
    }

    DrawCaption(pDC);
    if (m_pGrid)
        m_pGrid->ClearTicks();
    if (m_dMax == m_dMin)
        DrawTick(pDC, m_dMin);
    else
        ForEachTick([&](double dTick) { DrawTick(pDC, dTick); });
    if (m_pGrid)
        m_pGrid->Draw(pDC);
}

void CChartAxis::DrawTick(CDC* pDC, double dValue)
{
    // With an empty range the tick pixel means nothing: only the label is drawn.
    const bool bEmptyRange = m_dMax == m_dMin;
    const int nTick = bEmptyRange ? 0 : TickToPixel(dValue);
    const int nLabel = LabelPixel(dValue);
    const std::string strText = FormatTickLabel(dValue);
    const SIZE szText = TickLabelExtent(pDC, strText);
    const STickLayout layout = LayoutTick(*this, nLabel, szText, CaptionSize(pDC));
    if (!bEmptyRange && IsPixelInside(nTick))
    {
        if (m_bHorizontal)
        {
            pDC->MoveTo(nTick, layout.nMarkFrom);
            pDC->LineTo(nTick, layout.nMarkTo);
        }
        else
        {
            pDC->MoveTo(layout.nMarkFrom, nTick);
            pDC->LineTo(layout.nMarkTo, nTick);
        }
    }
    if (IsPixelInside(nLabel))
        pDC->ExtTextOut(layout.ptText.x, layout.ptText.y, ETO_CLIPPED | ETO_OPAQUE, nullptr,
                        strText, nullptr);
    if (!bEmptyRange && m_pGrid)
        m_pGrid->AddTick(nTick);
}

void CChartAxis::DrawCaption(CDC* pDC)
{
    if (!m_pCaption)
        return;
    const SIZE szCaption = m_pCaption->GetSize(pDC);
    const int nMiddle =
        static_cast<int>(std::abs((static_cast<double>(m_nStartPixel) + m_nEndPixel) * 0.5));
    int nLeft = 0;
    int nTop = 0;
    if (m_bHorizontal)
    {
        nLeft = nMiddle - szCaption.cx / 2;
        // Under the labels on the normal side. An empty caption draws nothing wherever it is.
        const bool bUnderLabels = !m_bOppositeSide && (szCaption.cx != 0 || szCaption.cy != 0);
        nTop = bUnderLabels ? m_rcBand.top + GetMaxTickLabelSize(pDC).cy + 2 : m_rcBand.top;
    }
    else
    {
        // The turned text runs upward from the rectangle's top.
        nTop = nMiddle + szCaption.cy / 2;
        nLeft = m_bOppositeSide ? m_rcBand.right - szCaption.cx - 2 : m_rcBand.left;
    }
    m_pCaption->m_rcText = {nLeft, nTop, nLeft + szCaption.cx, nTop + szCaption.cy};
    m_pCaption->Draw(pDC);
}

void CChartAxis::CreateScrollBar()
{
    delete m_pAxisScrollBar;
    m_pAxisScrollBar = new CChartScrollBar(this);
    m_pAxisScrollBar->CreateForAxis(m_pOwner ? m_pOwner->m_rcPlot : RECT{0, 0, 0, 0});
}

void CChartAxis::PlaceScrollBar()
{
    if (!m_pAxisScrollBar || !m_pOwner || !m_pAxisScrollBar->GetSafeHwnd())
        return;
    const RECT rcPlot = m_pOwner->m_rcPlot;
    RECT rcBar = {0, 0, 0, 0};
    m_pAxisScrollBar->GetWindowRect(&rcBar);
    const int nBarWidth = rcBar.right - rcBar.left;
    const int nBarHeight = rcBar.bottom - rcBar.top;
    RECT rc = {rcPlot.left + 1, rcPlot.top + 1, rcPlot.right, rcPlot.bottom};
    if (m_bHorizontal)
    {
        if (m_bOppositeSide)
            rc.bottom = rcPlot.top + 1 + nBarHeight;
        else
            rc.top = rcPlot.bottom - nBarHeight;
    }
    else if (m_bOppositeSide)
        rc.left = rcPlot.right - nBarWidth;
    else
        rc.right = rcPlot.left + 1 + nBarWidth;
    m_pAxisScrollBar->MoveWindow(&rc, TRUE);
}
