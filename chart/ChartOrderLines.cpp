#include "chart/ChartOrderLines.h"

#include "chart/ChartAxis.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartOrderSink.h"
#include "chart/DCGuard.h"
#include "chart/PriceDecimals.h"
#include "platform/Brush.h"
#include "platform/StringFormat.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

constexpr int kTextLeft = 3;              // label's left edge to its text
constexpr int kTextGap = 4;               // text to the "x" box
constexpr int kBoxMargin = 2;             // "x" box to the label's edges
constexpr std::size_t kMaxPictures = 256; // a few hundred labels cover any practice
constexpr const char* kLabelFace = "Microsoft Sans Serif";

bool CanDraw(CDC* pDC)
{
    return pDC != nullptr && pDC->GetSafeHdc() != nullptr;
}

double RoundToDecimals(double dValue, int nDecimals)
{
    const double dScale = std::pow(10.0, nDecimals);
    const double dRounded = std::round(dValue * dScale) / dScale;
    // Beyond what the scale can hold the value has no digits left to round.
    return std::isfinite(dRounded) ? dRounded : dValue;
}

bool SameLine(const SChartOrderLine& a, const SChartOrderLine& b)
{
    return a.nId == b.nId && a.eRole == b.eRole && a.strKind == b.strKind &&
           a.nQuantity == b.nQuantity && a.dPrice == b.dPrice;
}

// Selects a bitmap into a memory DC for as long as it lives; the one found comes back after.
class CBitmapSelection
{
public:
    explicit CBitmapSelection(CDC& dc) : m_dc(dc) {}
    ~CBitmapSelection()
    {
        if (m_pOld != nullptr)
            m_dc.SelectObject(m_pOld);
    }
    CBitmapSelection(const CBitmapSelection&) = delete;
    CBitmapSelection& operator=(const CBitmapSelection&) = delete;

    void Select(CBitmap* pBitmap)
    {
        CBitmap* pPrevious = m_dc.SelectObject(pBitmap);
        if (m_pOld == nullptr)
            m_pOld = pPrevious;
    }

private:
    CDC& m_dc;
    CBitmap* m_pOld = nullptr;
};

} // namespace

CChartOrderLines::CChartOrderLines(CChartCtrl* pOwner) : m_pOwner(pOwner) {}

CChartOrderLines::~CChartOrderLines()
{
    // The pictures go with the DC's selection undone, the DC after them.
    m_mapPictures.clear();
    m_dcPictures.DeleteDC();
}

void CChartOrderLines::SetLines(const SChartOrderLine* pLines, unsigned nCount)
{
    m_vecLines.assign(pLines, pLines + nCount);
    // Orders gone for good are forgotten once they far outnumber those shown.
    if (m_mapLabels.size() > 2 * std::size_t(nCount) + 64)
    {
        std::unordered_map<int, SOrderLabel> mapKept;
        for (const SChartOrderLine& line : m_vecLines)
            if (auto it = m_mapLabels.find(line.nId); it != m_mapLabels.end())
                mapKept.insert(m_mapLabels.extract(it));
        m_mapLabels.swap(mapKept);
    }
    // A step shows the same orders again: their texts and pictures are kept.
    m_vecLabels.resize(nCount);
    for (unsigned i = 0; i < nCount; ++i)
    {
        SOrderLabel& label = m_mapLabels[pLines[i].nId];
        if (label.strText.empty() || !SameLine(label.line, pLines[i]))
        {
            label.line = pLines[i];
            label.strText = LabelText(label.line, label.line.dPrice);
            label.pPicture = nullptr;
        }
        m_vecLabels[i] = &label;
    }
    if (m_pOwner != nullptr)
        m_pOwner->RefreshChart();
}

void CChartOrderLines::SetPriceDecimals(int nDecimals)
{
    nDecimals = std::clamp(nDecimals, kMinPriceDecimals, kMaxPriceDecimals);
    if (nDecimals != m_nPriceDecimals)
    {
        m_nPriceDecimals = nDecimals;
        for (auto& [nId, label] : m_mapLabels)
        {
            label.strText = LabelText(label.line, label.line.dPrice);
            label.pPicture = nullptr;
        }
    }
    if (m_pOwner != nullptr)
        m_pOwner->RefreshChart();
}

void CChartOrderLines::SetColors(COLORREF crEntry, COLORREF crStopLoss, COLORREF crTakeProfit)
{
    m_crEntry = crEntry;
    m_crStopLoss = crStopLoss;
    m_crTakeProfit = crTakeProfit;
    ForgetLabelPictures();
    if (m_pOwner != nullptr)
        m_pOwner->RefreshChart();
}

void CChartOrderLines::ForgetLabelPictures()
{
    for (auto& [nId, label] : m_mapLabels)
        label.pPicture = nullptr;
    m_mapPictures.clear();
}

const SChartOrderLine* CChartOrderLines::FindLine(int nId) const
{
    const auto it = std::find_if(m_vecLines.begin(), m_vecLines.end(),
                                 [nId](const SChartOrderLine& line) { return line.nId == nId; });
    return it == m_vecLines.end() ? nullptr : &*it;
}

std::string CChartOrderLines::LabelText(const SChartOrderLine& line, double dPrice) const
{
    return StringFormat("%s %d @ %.*f", line.strKind.c_str(), line.nQuantity, int(m_nPriceDecimals),
                        dPrice);
}

bool CChartOrderLines::PriceAtRow(int y, double* pdPrice) const
{
    const CChartAxis* pPrices = m_pOwner != nullptr ? m_pOwner->GetAxis(SlotLeft) : nullptr;
    if (pPrices == nullptr || !(pPrices->m_dMin < pPrices->m_dMax))
        return false;
    *pdPrice = RoundToDecimals(pPrices->PixelToValue(y), m_nPriceDecimals);
    return true;
}

COLORREF CChartOrderLines::RoleColor(EChartOrderRole eRole) const
{
    switch (eRole)
    {
    case EChartOrderRole::StopLoss:
        return m_crStopLoss;
    case EChartOrderRole::TakeProfit:
        return m_crTakeProfit;
    case EChartOrderRole::Entry:
        break;
    }
    return m_crEntry;
}

EOrderLinePart CChartOrderLines::HitTestPart(POINT pt, int* pnId) const
{
    *pnId = 0;
    if (!PtInRect(&m_rcDrawn, pt))
        return EOrderLinePart::None;
    for (auto it = m_vecDrawn.rbegin(); it != m_vecDrawn.rend(); ++it)
    {
        const SLabelLayout& layout = it->layout;
        EOrderLinePart ePart = EOrderLinePart::None;
        if (PtInRect(&layout.rcCancel, pt))
            ePart = EOrderLinePart::CancelBox;
        else if (PtInRect(&layout.rcLabel, pt) || std::abs(pt.y - layout.y) <= m_nGrabRows)
            ePart = EOrderLinePart::Line;
        if (ePart != EOrderLinePart::None)
        {
            *pnId = it->nId;
            return ePart;
        }
    }
    return EOrderLinePart::None;
}

bool CChartOrderLines::StartGesture(POINT pt)
{
    int nId = 0;
    const EOrderLinePart ePart = HitTestPart(pt, &nId);
    const SChartOrderLine* pLine = ePart != EOrderLinePart::None ? FindLine(nId) : nullptr;
    if (pLine == nullptr)
        return false;
    if (ePart == EOrderLinePart::CancelBox)
    {
        m_nCancelId = nId;
        return true;
    }
    // The line stays in the picture until the mouse moves it off its price.
    m_nDragId = nId;
    m_dDragPrice = pLine->dPrice;
    m_bDragShown = false;
    return true;
}

void CChartOrderLines::DragTo(POINT pt)
{
    if (m_nDragId == 0 || m_pOwner == nullptr)
        return;
    // A step filled or cancelled the order while it was dragged: nothing is left to move.
    if (FindLine(m_nDragId) == nullptr)
    {
        m_nDragId = 0;
        m_bDragShown = false;
        m_pOwner->InvalidateRect(nullptr, FALSE);
        return;
    }
    // Beyond the plot the line stays at its edge.
    const RECT rcPlot = m_pOwner->GetPlotRect();
    const int y =
        std::clamp<int>(pt.y, rcPlot.top + 1, std::max(rcPlot.top + 1, rcPlot.bottom - 1));
    double dPrice = 0.0;
    if (!PriceAtRow(y, &dPrice) || dPrice == m_dDragPrice)
        return;
    m_dDragPrice = dPrice;
    if (!m_bDragShown)
    {
        // Once, the picture without the line at rest; from here on only repaints.
        m_bDragShown = true;
        m_pOwner->RefreshChart();
    }
    m_pOwner->InvalidateRect(nullptr, FALSE);
}

void CChartOrderLines::FinishGesture(POINT pt, IChartOrderSink* pSink)
{
    const int nDragged = std::exchange(m_nDragId, 0);
    const bool bShown = std::exchange(m_bDragShown, false);
    const int nCancel = std::exchange(m_nCancelId, 0);
    if (nDragged != 0)
    {
        // Back at the order's price: the sink shows the order again where it lets it move.
        if (bShown && m_pOwner != nullptr)
            m_pOwner->RefreshChart();
        const SChartOrderLine* pLine = FindLine(nDragged);
        if (pLine != nullptr && pLine->dPrice != m_dDragPrice && pSink != nullptr)
            pSink->OnOrderMoved(nDragged, m_dDragPrice);
        return;
    }
    int nId = 0;
    if (nCancel != 0 && HitTestPart(pt, &nId) == EOrderLinePart::CancelBox && nId == nCancel &&
        pSink != nullptr)
        pSink->OnOrderCancel(nCancel);
}

CChartOrderLines::SLabelLayout CChartOrderLines::Layout(int y, SIZE szText,
                                                        const RECT& rcClip) const
{
    // The label ends one pixel inside the clip, so the plot's frame stays whole; it is centred on
    // the line, and kept inside the plot near its top and bottom.
    const int nHeight = szText.cy + 2;
    const int nBox = std::max(nHeight - 2 * kBoxMargin, 3);
    const int nWidth = kTextLeft + szText.cx + kTextGap + nBox + kBoxMargin;
    const LONG nRight = rcClip.right - 1;
    const LONG nLeft = std::max<LONG>(nRight - nWidth, rcClip.left);
    LONG nTop = y - nHeight / 2;
    nTop = std::max<LONG>(std::min<LONG>(nTop, rcClip.bottom - 1 - nHeight), rcClip.top + 1);
    SLabelLayout layout;
    layout.y = y;
    layout.rcLabel = {nLeft, nTop, nRight, nTop + nHeight};
    const LONG nBoxLeft = nRight - kBoxMargin - nBox;
    const LONG nBoxTop = nTop + (nHeight - nBox) / 2;
    layout.rcCancel = {nBoxLeft, nBoxTop, nBoxLeft + nBox, nBoxTop + nBox};
    return layout;
}

void CChartOrderLines::DrawLabel(CDC* pDC, const SLabelLayout& layout, COLORREF crBox,
                                 const std::string& strText) const
{
    CDCGuard guard(pDC);
    guard.SelectNewPen(m_crLabelText, 1);
    guard.SetTextColor(m_crLabelText);
    guard.SetBkMode(TRANSPARENT);
    CBrush brBox(crBox);
    CBrush brText(m_crLabelText);
    pDC->FillRect(&layout.rcLabel, &brBox);
    pDC->ExtTextOut(layout.rcLabel.left + kTextLeft, layout.rcLabel.top + 1, 0, nullptr, strText,
                    nullptr);
    // The "x" box: a frame of thin fills and two diagonals (lines leave their end pixel unset).
    const RECT& rc = layout.rcCancel;
    const RECT rcEdges[4] = {{rc.left, rc.top, rc.right, rc.top + 1},
                             {rc.left, rc.bottom - 1, rc.right, rc.bottom},
                             {rc.left, rc.top, rc.left + 1, rc.bottom},
                             {rc.right - 1, rc.top, rc.right, rc.bottom}};
    for (const RECT& rcEdge : rcEdges)
        pDC->FillRect(&rcEdge, &brText);
    pDC->MoveTo(rc.left + 2, rc.top + 2);
    pDC->LineTo(rc.right - 2, rc.bottom - 2);
    pDC->MoveTo(rc.right - 3, rc.top + 2);
    pDC->LineTo(rc.left + 1, rc.bottom - 2);
}

CChartOrderLines::SLabelLayout CChartOrderLines::DrawLineDirect(CDC* pDC, const RECT& rcClip, int y,
                                                                COLORREF cr,
                                                                const std::string& strText) const
{
    const SLabelLayout layout = Layout(y, pDC->GetTextExtent(strText), rcClip);
    CBrush brush(cr);
    const RECT rcLine = {rcClip.left, y, layout.rcLabel.left, y + 1};
    pDC->FillRect(&rcLine, &brush);
    DrawLabel(pDC, layout, cr, strText);
    return layout;
}

CChartOrderLines::SLabelPicture* CChartOrderLines::LabelPicture(SOrderLabel& label)
{
    if (label.pPicture != nullptr)
        return label.pPicture;
    std::string strKey = label.strText;
    strKey += char('0' + int(label.line.eRole));
    auto it = m_mapPictures.find(strKey);
    if (it == m_mapPictures.end())
    {
        if (!m_dcPictures.GetSafeHdc() && !m_dcPictures.CreateCompatibleDC(nullptr))
            return nullptr;
        if (m_mapPictures.size() >= kMaxPictures)
            ForgetLabelPictures();
        auto pPicture = std::make_unique<SLabelPicture>();
        CDCGuard guard(&m_dcPictures);
        guard.SelectNewPointFont(m_nLabelFontSize, kLabelFace);
        pPicture->szText = m_dcPictures.GetTextExtent(label.strText);
        // Laid out as on a plot whose clip starts at the picture's corner.
        SLabelLayout layout = Layout(0, pPicture->szText, RECT{0, 0, 1 << 20, 1 << 20});
        const RECT rcLabel = layout.rcLabel;
        OffsetRect(&layout.rcLabel, -rcLabel.left, -rcLabel.top);
        OffsetRect(&layout.rcCancel, -rcLabel.left, -rcLabel.top);
        pPicture->szPicture = {layout.rcLabel.right, layout.rcLabel.bottom};
        if (!pPicture->bitmap.CreateCompatibleBitmap(&m_dcPictures, pPicture->szPicture.cx,
                                                     pPicture->szPicture.cy))
            return nullptr;
        CBitmapSelection selection(m_dcPictures);
        selection.Select(&pPicture->bitmap);
        DrawLabel(&m_dcPictures, layout, RoleColor(label.line.eRole), label.strText);
        it = m_mapPictures.emplace(std::move(strKey), std::move(pPicture)).first;
    }
    label.pPicture = it->second.get();
    return label.pPicture;
}

void CChartOrderLines::DrawLines(CDC* pDC, const RECT& rcClip, const CChartAxis& prices)
{
    // A printed page has coordinates of its own: hit tests keep those of the screen, and the
    // labels are drawn for the page's resolution rather than copied.
    const bool bScreen = pDC == nullptr || !pDC->m_bPrinting;
    if (bScreen)
    {
        m_vecDrawn.clear();
        m_rcDrawn = rcClip;
    }
    if (!CanDraw(pDC) || m_vecLines.empty() || !(rcClip.left < rcClip.right))
        return;
    CDCGuard guard(pDC);
    guard.IntersectClip(rcClip);
    if (!bScreen)
        guard.SelectNewPointFont(m_nLabelFontSize, kLabelFace);
    // Pictures are made before any is selected for copying: making one may forget the others.
    const int nHidden = DraggedId();
    if (bScreen)
        for (SOrderLabel* pLabel : m_vecLabels)
            if (pLabel->line.nId != nHidden || nHidden == 0)
                LabelPicture(*pLabel);
    CBitmapSelection selection(m_dcPictures);
    CBrush brEntry(m_crEntry);
    CBrush brStopLoss(m_crStopLoss);
    CBrush brTakeProfit(m_crTakeProfit);
    for (SOrderLabel* pLabel : m_vecLabels)
    {
        const SChartOrderLine& line = pLabel->line;
        if (nHidden != 0 && line.nId == nHidden)
            continue;
        const int y = prices.LabelPixel(line.dPrice);
        if (y < rcClip.top || y >= rcClip.bottom)
            continue;
        SLabelPicture* pPicture = bScreen ? pLabel->pPicture : nullptr;
        if (pPicture == nullptr)
        {
            CDCGuard fontGuard(pDC);
            if (bScreen)
                fontGuard.SelectNewPointFont(m_nLabelFontSize, kLabelFace);
            const SLabelLayout layout =
                DrawLineDirect(pDC, rcClip, y, RoleColor(line.eRole), pLabel->strText);
            if (bScreen)
                m_vecDrawn.push_back({line.nId, layout});
            continue;
        }
        const SLabelLayout layout = Layout(y, pPicture->szText, rcClip);
        CBrush* pBrush = line.eRole == EChartOrderRole::StopLoss     ? &brStopLoss
                         : line.eRole == EChartOrderRole::TakeProfit ? &brTakeProfit
                                                                     : &brEntry;
        const RECT rcLine = {rcClip.left, y, layout.rcLabel.left, y + 1};
        pDC->FillRect(&rcLine, pBrush);
        const RECT& rc = layout.rcLabel;
        // A label wider than the plot keeps its right end, with the "x".
        const int nSkip = std::max(0, int(pPicture->szPicture.cx - (rc.right - rc.left)));
        selection.Select(&pPicture->bitmap);
        pDC->BitBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, &m_dcPictures, nSkip,
                    0, SRCCOPY);
        m_vecDrawn.push_back({line.nId, layout});
    }
}

void CChartOrderLines::DrawOverlay(CDC* pDC)
{
    const SChartOrderLine* pLine = DraggedId() != 0 ? FindLine(m_nDragId) : nullptr;
    const CChartAxis* pPrices = m_pOwner != nullptr ? m_pOwner->GetAxis(SlotLeft) : nullptr;
    if (pLine == nullptr || pPrices == nullptr || !CanDraw(pDC))
        return;
    // Series draw up to and including the frame's right and bottom lines: so does this.
    const RECT rcPlot = m_pOwner->GetPlotRect();
    const RECT rcClip = {rcPlot.left, rcPlot.top, rcPlot.right + 1, rcPlot.bottom + 1};
    const int y = pPrices->LabelPixel(m_dDragPrice);
    if (y < rcClip.top || y >= rcClip.bottom)
        return;
    CDCGuard guard(pDC);
    guard.IntersectClip(rcClip);
    guard.SelectNewPointFont(m_nLabelFontSize, kLabelFace);
    DrawLineDirect(pDC, rcClip, y, RoleColor(pLine->eRole), LabelText(*pLine, m_dDragPrice));
}
