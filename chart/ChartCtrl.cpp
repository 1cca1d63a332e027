#include "chart/ChartCtrl.h"

#include "chart/ChartAxis.h"
#include "chart/ChartAxisLabel.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartGradient.h"
#include "chart/ChartGrid.h"
#include "chart/ChartLegend.h"
#include "chart/ChartOverlay.h"
#include "chart/ChartScrollBar.h"
#include "chart/ChartSerie.h"
#include "chart/ChartStandardAxis.h"
#include "chart/ChartTitle.h"
#include "chart/DCGuard.h"
#include "chart/RefreshHold.h"
#include "platform/Brush.h"
#include "platform/ClientDC.h"
#include "platform/PaintDC.h"

#include <array>

namespace
{

constexpr const char* kChartClassName = "ChartCtrl";

constexpr std::array<COLORREF, 10> kDefaultSerieColors = {
    RGB(255, 0, 0),   RGB(0, 150, 0),   RGB(0, 0, 255),   RGB(255, 255, 0), RGB(0, 255, 255),
    RGB(255, 128, 0), RGB(128, 0, 128), RGB(128, 128, 0), RGB(255, 0, 255), RGB(64, 128, 128),
};

// Draws the four sides of rc, right and bottom edges included.
void FrameRect(CDC* pDC, const RECT& rc)
{
    pDC->MoveTo(rc.left, rc.top);
    pDC->LineTo(rc.right, rc.top);
    pDC->LineTo(rc.right, rc.bottom);
    pDC->LineTo(rc.left, rc.bottom);
    pDC->LineTo(rc.left, rc.top);
}

} // namespace

CChartCtrl::CChartCtrl()
{
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    m_crGradientFrom = crFace;
    m_crGradientTo = crFace;
    m_crBackground = crFace;
    m_itSeriesWalk = m_seriesById.end();
    RegisterChartClass();
    m_pChartLegend = new CChartLegend(this);
    m_pChartTitle = new CChartTitle(this);
}

CChartCtrl::~CChartCtrl()
{
    for (auto& [nId, pSerie] : m_seriesById)
        delete pSerie;
    for (auto& [nId, pOverlay] : m_overlaysById)
        delete pOverlay;
    for (CChartAxis*& pAxis : m_axisSlots)
    {
        delete pAxis;
        pAxis = nullptr;
    }
    delete m_pChartLegend;
    m_pChartLegend = nullptr;
    delete m_pChartTitle;
    m_pChartTitle = nullptr;
    m_overlaysById.clear();
    m_printFont.DeleteObject();
    m_seriesById.clear();
    m_dcBuffer.DeleteDC();
    m_bmpBuffer.DeleteObject();
}

bool CChartCtrl::RegisterChartClass()
{
    WNDCLASSA wndClass = {};
    const HINSTANCE hInstance = AfxGetInstanceHandle();
    if (GetClassInfoA(hInstance, kChartClassName, &wndClass))
        return true;
    wndClass.style = CS_DBLCLKS;
    wndClass.lpfnWndProc = DefWindowProcA;
    wndClass.cbClsExtra = 0;
    wndClass.cbWndExtra = 0;
    wndClass.hInstance = hInstance;
    wndClass.hIcon = nullptr;
    wndClass.hCursor = nullptr;
    wndClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wndClass.lpszMenuName = nullptr;
    wndClass.lpszClassName = kChartClassName;
    return RegisterClassA(&wndClass) != 0;
}

COLORREF CChartCtrl::DefaultSerieColor(std::size_t nAttached)
{
    return kDefaultSerieColors[nAttached % kDefaultSerieColors.size()];
}

CChartStandardAxis* CChartCtrl::NewStandardAxis()
{
    auto* pAxis = new CChartStandardAxis;
    InstallAxis(pAxis, SlotLeft);
    return pAxis;
}

CChartDateTimeAxis* CChartCtrl::NewDateTimeAxis()
{
    auto* pAxis = new CChartDateTimeAxis;
    InstallAxis(pAxis, SlotBottom);
    return pAxis;
}

void CChartCtrl::InstallAxis(CChartAxis* pAxis, int nSlot)
{
    if (!pAxis || nSlot < SlotLeft || nSlot > SlotTop)
        return;
    pAxis->m_pOwner = this;
    pAxis->m_pGrid->m_pOwner = this;
    pAxis->m_pCaption->m_pOwner = this;

    const bool bHorizontal = nSlot == SlotBottom;
    pAxis->m_bHorizontal = bHorizontal;
    pAxis->m_pGrid->m_bHorizontal = bHorizontal;
    pAxis->m_pCaption->m_bHorizontal = bHorizontal;
    pAxis->m_pCaption->m_Font.m_bVertical = !bHorizontal;
    pAxis->m_pCaption->m_Font.m_bDirty = true;

    pAxis->CreateScrollBar();

    CChartAxis*& pSlot = m_axisSlots[static_cast<std::size_t>(nSlot)];
    if (pSlot != pAxis)
        delete pSlot;
    pSlot = pAxis;
}

CChartAxis* CChartCtrl::GetAxis(int nSlot) const
{
    if (nSlot < SlotLeft || nSlot > SlotTop)
        return nullptr;
    return m_axisSlots[static_cast<std::size_t>(nSlot)];
}

void CChartCtrl::AttachSerie(CChartSerie* pSerie)
{
    if (!pSerie)
        return;
    pSerie->m_rcClip = m_rcPlot;
    pSerie->m_crColor = DefaultSerieColor(m_seriesById.size());
    (pSerie->m_pOwner ? pSerie->m_pOwner : this)->RefreshChart();
    pSerie->m_pYAxis = m_axisSlots[SlotLeft];
    pSerie->m_pXAxis = m_axisSlots[SlotBottom];
    m_seriesById[pSerie->m_nId] = pSerie;

    CRefreshHold hold(this);
    for (CChartAxis* pAxis : {m_axisSlots[SlotLeft], m_axisSlots[SlotBottom]})
    {
        if (!pAxis)
            continue;
        pAxis->RegisterSerie(pSerie);
        pAxis->RefreshAutoRange();
    }
    RefreshChart();
}

void CChartCtrl::DeleteAllSeries()
{
    for (auto& [nId, pSerie] : m_seriesById)
        delete pSerie;
    m_seriesById.clear();
    m_itSeriesWalk = m_seriesById.end();
    RefreshChart();
}

void CChartCtrl::HoldRefresh()
{
    --m_nRefreshLevel;
    RunDeferredRefresh();
}

void CChartCtrl::ReleaseRefresh()
{
    ++m_nRefreshLevel;
    RunDeferredRefresh();
}

void CChartCtrl::RunDeferredRefresh()
{
    if (m_nRefreshLevel > 0 && m_bRefreshDeferred)
    {
        m_bRefreshDeferred = false;
        RefreshChart();
    }
}

bool CChartCtrl::SaveImage(const std::string& strPath, const char* pszFormat) const
{
    return m_bmpBuffer.SaveAsImage(strPath.c_str(), pszFormat) != FALSE;
}

unsigned CChartCtrl::AddOverlay(ChartOverlay* pOverlay)
{
    const unsigned nId = m_overlaysById.empty() ? 1 : m_overlaysById.rbegin()->first + 1;
    m_overlaysById[nId] = pOverlay;
    return nId;
}

void CChartCtrl::RestoreAxisRanges()
{
    CRefreshHold hold(this);
    for (int nSlot : {SlotBottom, SlotLeft, SlotTop, SlotRight})
    {
        if (CChartAxis* pAxis = m_axisSlots[static_cast<std::size_t>(nSlot)])
            pAxis->RestoreSavedRange();
    }
}

void CChartCtrl::ResyncAxes()
{
    for (CChartAxis* pAxis : m_axisSlots)
    {
        if (!pAxis)
            continue;
        if (pAxis->m_pAxisScrollBar)
            pAxis->m_pAxisScrollBar->SyncWithAxis();
        if (pAxis->m_eRangeMode == VisiblePoints)
            pAxis->RefreshAutoRange();
    }
}

void CChartCtrl::RewindSeries()
{
    m_itSeriesWalk = m_seriesById.begin();
}

CChartSerie* CChartCtrl::NextSerie()
{
    if (m_itSeriesWalk == m_seriesById.end())
        return nullptr;
    CChartSerie* pSerie = m_itSeriesWalk->second;
    ++m_itSeriesWalk;
    return pSerie;
}

void CChartCtrl::RefreshChart()
{
    if (!GetSafeHwnd())
        return;
    if (m_nRefreshLevel < 1)
    {
        m_bRefreshDeferred = true;
        return;
    }
    RECT rc = {0, 0, 0, 0};
    GetClientRect(&rc);
    if (!m_dcBuffer.GetSafeHdc())
    {
        // The window's DC is needed only to make a buffer that matches it.
        CClientDC dc(this);
        m_dcBuffer.CreateCompatibleDC(&dc);
        m_bmpBuffer.CreateCompatibleBitmap(&dc, rc.right - rc.left, rc.bottom - rc.top);
        // Stays selected, not guarded: the bitmap lives exactly as long as the buffer's DC.
        m_dcBuffer.SelectObject(&m_bmpBuffer);
    }
    PaintBackground(&m_dcBuffer, rc);
    InflateRect(&rc, -3, -3);
    PaintContents(&m_dcBuffer, rc);
    for (CChartAxis* pAxis : m_axisSlots)
    {
        if (pAxis)
            pAxis->PlaceScrollBar();
    }
    InvalidateRect(nullptr, TRUE);
}

void CChartCtrl::PaintBackground(CDC* pDC, RECT rcArea)
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    if (m_bGradientFill)
        FillGradient(pDC, rcArea, m_crGradientFrom, m_crGradientTo, m_nGradientStyle);
    else
    {
        // Left set on purpose: the background colour is the one text drawn opaque sits on.
        pDC->SetBkColor(m_crBackground);
        CBrush brush(m_crBackground);
        pDC->FillRect(&rcArea, &brush);
    }
    pDC->DrawEdge(&rcArea, m_nEdgeFlags, BF_RECT);
}

void CChartCtrl::PaintContents(CDC* pDC, RECT rcArea)
{
    if (!pDC || !pDC->GetSafeHdc())
        return;
    m_rcPlot = rcArea;

    if (m_pChartTitle)
    {
        const SIZE szTitle = m_pChartTitle->MeasureTitle(pDC);
        m_pChartTitle->m_rcTitle = {rcArea.left, rcArea.top, rcArea.right, rcArea.top + szTitle.cy};
        rcArea.top += szTitle.cy;
        m_pChartTitle->DrawTitle(pDC);
    }
    if (m_pChartLegend)
        m_pChartLegend->ReserveSpace(&rcArea, pDC);

    // Each axis first takes its band out of the plot rectangle; only then, with the final plot
    // rectangle, do the axes draw.
    for (CChartAxis* pAxis : m_axisSlots)
    {
        if (!pAxis)
            continue;
        PrepareAxisTicks(pAxis, rcArea, pDC);
        pAxis->ReserveMargin(&m_rcPlot, pDC, rcArea);
    }
    for (CChartAxis* pAxis : m_axisSlots)
    {
        if (!pAxis)
            continue;
        PrepareAxisTicks(pAxis, rcArea, pDC);
        pAxis->Draw(pDC);
    }

    {
        CDCGuard guard(pDC);
        guard.SelectNewPen(m_crPlotFrame);
        FrameRect(pDC, m_rcPlot);
    }

    // Series draw up to and including the frame's right and bottom lines.
    const RECT rcClip = {m_rcPlot.left, m_rcPlot.top, m_rcPlot.right + 1, m_rcPlot.bottom + 1};
    for (auto& [nId, pSerie] : m_seriesById)
    {
        pSerie->m_rcClip = rcClip;
        pSerie->DrawVisiblePoints(pDC);
    }
    {
        CDCGuard guard(pDC);
        guard.IntersectClip(m_rcPlot);
        for (auto& [nId, pSerie] : m_seriesById)
            pSerie->DrawPointLabels(pDC);
    }

    if (m_pChartLegend)
        m_pChartLegend->DrawLegend(pDC);
}

void CChartCtrl::PrepareAxisTicks(CChartAxis* pAxis, RECT rcArea, CDC* pDC)
{
    pAxis->SetPlacement(rcArea, m_rcPlot);
    if (pAxis->m_bAutoTicks)
        pAxis->RefreshTickIncrement();
    pAxis->RefreshFirstTick();
    pAxis->FitTickLabels(pDC);
}

void CChartCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bBufferPrimed)
    {
        RefreshChart();
        m_bBufferPrimed = true;
    }
    RECT rc = {0, 0, 0, 0};
    GetClientRect(&rc);
    if (m_dcBuffer.GetSafeHdc())
        dc.BitBlt(0, 0, rc.right - rc.left, rc.bottom - rc.top, &m_dcBuffer, 0, 0, SRCCOPY);

    // The zoom box is drawn over the copied picture and never enters the back buffer.
    if (m_bZoomAllowed && m_bZooming)
    {
        CDCGuard guard(&dc);
        guard.SelectNewPen(m_crZoomBox, 1);
        FrameRect(&dc, m_rcZoomBox);
    }
    for (auto& [nId, pOverlay] : m_overlaysById)
        pOverlay->DrawOverlay(&dc);
}

BOOL CChartCtrl::OnEraseBkgnd(CDC*)
{
    return FALSE;
}

void CChartCtrl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_dcBuffer.GetSafeHdc())
    {
        m_dcBuffer.DeleteDC();
        m_bmpBuffer.DeleteObject();
    }
    RefreshChart();
}
