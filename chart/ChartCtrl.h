#pragma once

#include "chart/ChartMouseEvent.h"
#include "chart/Forward.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"
#include "platform/Font.h"
#include "platform/WinTypes.h"
#include "platform/Wnd.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

class CPrintDialog;
class CPrintInfo;

// Index of an axis in the control: left and right axes are vertical, bottom and top horizontal.
enum AxisSlot : int
{
    SlotLeft = 0,
    SlotBottom = 1,
    SlotRight = 2,
    SlotTop = 3,
};

// The chart window. It owns its axes, series, legend and title, draws everything into a back
// buffer on RefreshChart and paints by copying that buffer.
class CChartCtrl : public CWnd
{
public:
    CChartCtrl();
    ~CChartCtrl() override;

    CChartCtrl(const CChartCtrl&) = delete;
    CChartCtrl& operator=(const CChartCtrl&) = delete;

    // Prints the chart as one page. Without a dialog it asks the user for a printer first and
    // returns when the user cancels. The steps below are virtual so a subclass can replace any.
    virtual void PrintChart(const std::string& strDocName, CPrintDialog* pPrintDialog = nullptr);
    // Creates the print font and sizes the logical page: the printed area as the screen would
    // show it, at three quarters.
    virtual void PreparePrint(CDC* pDC, CPrintInfo* pInfo);
    // Lays out and draws title, legend, axes and series on the page; no background, no edge.
    virtual void PrintPage(CDC* pDC, CPrintInfo* pInfo);
    // Deletes the print font and lays the chart out for the window again.
    virtual void FinishPrint(CDC* pDC, CPrintInfo* pInfo);
    // Lays out and draws title, legend, axes, plot frame and series inside rcArea.
    virtual void PaintContents(CDC* pDC, RECT rcArea);
    // Fills the background and draws the window edge.
    virtual void PaintBackground(CDC* pDC, RECT rcArea);

    static bool RegisterChartClass();

    CChartStandardAxis* NewStandardAxis();
    CChartDateTimeAxis* NewDateTimeAxis();
    // Takes ownership; an axis already in the slot is destroyed.
    void InstallAxis(CChartAxis* pAxis, int nSlot);

    // Takes ownership. The left and bottom axes must be installed first.
    void AttachSerie(CChartSerie* pSerie);
    void DeleteAllSeries();

    void RefreshChart();
    void HoldRefresh();
    void ReleaseRefresh();
    void RestoreAxisRanges();
    // Zooms the date axis around pixel column x, a fifth of the span per notch (positive
    // notches zoom in), never wider than the data; the price axes refit to the bars in view.
    void ZoomDateAxisAt(int x, double dNotches);
    // Writes the picture as it is shown, without the mouse's overlays, to an image file in
    // pszFormat ("PNG", "JPG", "BMP"). A failed write leaves no file behind and answers false with
    // errno set.
    bool SaveImage(const std::string& strPath, const char* pszFormat = "PNG") const;
    // Takes ownership; overlays are drawn over the buffered picture in the order of their ids.
    unsigned AddOverlay(ChartOverlay* pOverlay);
    void ResyncAxes();

    void RewindSeries();
    CChartSerie* NextSerie();

    CChartAxis* GetAxis(int nSlot) const;
    CChartLegend* GetLegend() const { return m_pChartLegend; }
    CChartTitle* GetTitle() const { return m_pChartTitle; }
    RECT GetPlotRect() const { return m_rcPlot; }
    CDC* GetBufferDC() { return &m_dcBuffer; }
    std::size_t SerieCount() const { return m_seriesById.size(); }

    // The default colour of the series attached when nAttached series are already there.
    static COLORREF DefaultSerieColor(std::size_t nAttached);

    // Offers a mouse event to the mouse sink, by the area it happened in, then to the series,
    // the most recently attached first, until one takes it.
    void RouteMouseEvent(ChartMouseEvent eEvent, const POINT* pPoint);

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnSize(UINT nType, int cx, int cy) override;
    // Left drag: zoom box, zoom on release, restore when dragged backwards; one that starts on
    // an order line moves the order, a click on a label's "x" cancels it. Right drag: pan, once
    // the mouse is beyond the click distance; a right click over the plot asks for a menu.
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnRButtonUp(UINT nFlags, CPoint point) override;
    void OnRButtonDblClk(UINT nFlags, CPoint point) override;
    // The wheel over the plot zooms the date axis around the mouse.
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    // Notifications of the axes' scroll bars: the bar scrolls its axis, then the chart redraws.
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;

private:
    void RunDeferredRefresh();
    // A left press on an order line or its "x" starts that gesture instead of a zoom box.
    bool StartOrderGesture(POINT point);
    void ZoomToBox();
    // Shows an auto-hiding scroll bar only while the mouse is over it.
    void UpdateAutoHideScrollBars(POINT point);
    // The mouse is off the plot: the crosshair and whatever else follows it hide.
    void LeaveOverlays();
    // Places the axis for this layout pass and brings its ticks up to date.
    void PrepareAxisTicks(CChartAxis* pAxis, RECT rcArea, CDC* pDC);

public:
    std::int32_t m_nRefreshLevel = 1;
    bool m_bRefreshDeferred = false;
    CDC m_dcBuffer;
    bool m_bBufferPrimed = false;
    bool m_bGradientFill = false;
    COLORREF m_crGradientFrom = 0;
    COLORREF m_crGradientTo = 0;
    int m_nGradientStyle = 1;
    COLORREF m_crBackground = 0;
    COLORREF m_crPlotFrame = 0;
    unsigned int m_nEdgeFlags = EDGE_RAISED;
    RECT m_rcPlot = {0, 0, 0, 0};
    std::map<unsigned int, CChartSerie*> m_seriesById;
    std::array<CChartAxis*, 4> m_axisSlots = {nullptr, nullptr, nullptr, nullptr};
    CChartLegend* m_pChartLegend = nullptr;
    CChartTitle* m_pChartTitle = nullptr;
    bool m_bPanAllowed = true;
    bool m_bPanning = false;
    POINT m_ptPanLast = {0, 0};
    bool m_bZoomAllowed = true;
    bool m_bZooming = false;
    RECT m_rcZoomBox = {0, 0, 0, 0};
    COLORREF m_crZoomBox = RGB(255, 255, 255);
    CFont m_printFont;
    SIZE m_szPrintLogical = {0, 0};
    SIZE m_szPrintDevice = {0, 0};
    std::map<unsigned int, ChartOverlay*> m_overlaysById;
    IChartMouseSink* m_pMouseSink = nullptr;
    IChartOrderSink* m_pOrderSink = nullptr;
    // The order lines a left press went to, until the release; owned as an overlay.
    CChartOrderLines* m_pOrderGesture = nullptr;
    POINT m_ptRightPress = {0, 0};
    bool m_bRightDragged = false; // moved beyond the click distance: a pan, not a menu
    bool m_bShowCursorInPlot = true;
    std::map<unsigned int, CChartSerie*>::iterator m_itSeriesWalk;

private:
    // The back buffer's bitmap, selected into m_dcBuffer for as long as that DC exists.
    CBitmap m_bmpBuffer;
};
