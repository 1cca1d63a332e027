#pragma once

#include "chart/Forward.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

class CDC;

// How an axis finds its range: set by hand, fitted to all points of its series, or fitted to
// the points the other axis currently shows.
enum AxisRangeMode : std::int32_t
{
    Manual = 0,
    AllPoints = 1,
    VisiblePoints = 2,
};

// Why an axis' visible range changes, which decides the rules the new range must pass.
enum class ERangeChange
{
    // Fitted to the series: taken as it comes, an empty range included, and remembered as the
    // range to restore.
    Fit,
    // Put back to the remembered range, or cleared for a new range mode; not remembered.
    Reset,
    // Zoom, pan or scroll: refused on an axis that is not zoomable or shows an empty range, and
    // widened to the smallest zoom span when narrower or backwards.
    Navigate,
};

// One axis of the chart: maps values to pixels and back, keeps the visible range, lays out its
// band beside the plot rectangle and draws line, ticks, labels, caption and grid. Subclasses
// supply the tick sequence and the label texts.
class CChartAxis
{
public:
    CChartAxis();
    virtual ~CChartAxis();

    CChartAxis(const CChartAxis&) = delete;
    CChartAxis& operator=(const CChartAxis&) = delete;

    virtual void SetBetweenTicks(bool bBetweenTicks);
    virtual double PixelToValue(int nPixel) const;
    // First tick to draw; may lie before m_dMin (labels outside the axis are skipped).
    virtual double GetFirstTick() const = 0;
    // Stores the tick after dCurrent in *pNext; true while that tick is <= m_dMax.
    virtual bool GetNextTick(double dCurrent, double* pNext) const = 0;
    virtual int TickToPixel(double dValue) const = 0;
    virtual int IntervalMidPixel(double dValue) const = 0;
    virtual int ValueToPixel(double dValue) const;
    virtual std::string FormatTickLabel(double dValue) const = 0;
    virtual void RefreshTickIncrement() = 0;
    virtual void RefreshFirstTick() = 0;
    // After the ticks are prepared: widen them until their labels, measured on pDC, fit.
    virtual void FitTickLabels(CDC* /*pDC*/) {}
    virtual void GetScrollSteps(int* pStepCount, int* pStepPos) const;
    virtual void ScrollBySteps(int nFromPos, int nToPos, bool bBackwards);
    virtual void PanPixels(int nFromPixel, int nToPixel);
    virtual void SetZoomRange(double dMin, double dMax);

    void RegisterSerie(CChartSerie* pSerie);
    void UnregisterSerie(CChartSerie* pSerie);
    void RefreshAutoRange();
    void SetRangeMode(AxisRangeMode eMode);
    void GetSeriesRange(double* pMin, double* pMax) const;
    void GetSeriesVisibleRange(double* pMin, double* pMax) const;
    // Puts the range back to what the last re-ranging recorded.
    void RestoreSavedRange();
    // The one way the visible range changes: ranges that are not finite or run backwards are
    // refused, and a taken range resynchronises the scroll bar. Answers whether it was taken.
    bool SetRange(double dMin, double dMax, ERangeChange eChange);

    void SetPlacement(RECT rcArea, RECT rcPlot);
    // Shrinks *pPlot so the band fits between it and rcArea; returns the band thickness.
    int ReserveMargin(RECT* pPlot, CDC* pDC, RECT rcArea);
    void Draw(CDC* pDC);

    void CreateScrollBar();
    void PlaceScrollBar();

    // Pixel where a value's label (and a series' point) goes; the axis middle for an empty range.
    int LabelPixel(double dValue) const;
    bool IsLabelInside(double dValue) const;
    SIZE GetMaxTickLabelSize(CDC* pDC) const;

    std::size_t RegisteredSerieCount() const { return m_RegisteredSeries.size(); }

protected:
    void DrawTick(CDC* pDC, double dValue);
    void DrawCaption(CDC* pDC);
    bool IsPixelInside(int nPixel) const;
    SIZE CaptionSize(CDC* pDC) const;
    void SyncScrollBar();
    std::int64_t PixelLength() const;
    void CollectRange(bool bVisibleOnly, double* pMin, double* pMax) const;
    // Calls visit for the first tick and every next one, stopping where the sequence ends or
    // stops advancing.
    template <typename Visit> void ForEachTick(Visit visit) const;
    // Extent of a tick label in the tick font. Extents are kept while the device context
    // measures the same way; on a miss the tick font must be selected into pDC.
    SIZE TickLabelExtent(CDC* pDC, const std::string& strLabel) const;
    // Forgets the kept extents when pDC measures differently from the last device context.
    void CheckExtentCache(CDC* pDC) const;

public:
    CChartCtrl* m_pOwner = nullptr;
    bool m_bHorizontal = true;
    bool m_bReversed = false;
    AxisRangeMode m_eRangeMode = Manual;
    bool m_bVisible = true;
    bool m_bOppositeSide = false;
    double m_dMax = 0.0;
    double m_dMin = 0.0;
    double m_dSavedMin = 0.0;
    double m_dSavedMax = 0.0;
    bool m_bAutoTicks = true;
    bool m_bBetweenTicks = false;
    std::int32_t m_nStartPixel = 0;
    std::int32_t m_nEndPixel = 0;
    RECT m_rcBand = {0, 0, 0, 0};
    std::int32_t m_nTickFontSize = 80;
    std::string m_strTickFontFace = "Microsoft Sans Serif";
    COLORREF m_crTickText = 0;
    COLORREF m_crLine = 0;
    CChartGrid* m_pGrid = nullptr;
    CChartAxisLabel* m_pCaption = nullptr;
    std::list<CChartSerie*> m_RegisteredSeries;
    bool m_bAutoBand = true;
    std::int32_t m_nBandThickness = 0;
    bool m_bZoomable = true;
    double m_dMinZoomSpan = 0.001;
    // Room added at each end of an automatic range, in axis values (half a bar on a date axis
    // keeps the outer candles whole).
    double m_dAutoPadding = 0.0;
    CChartScrollBar* m_pAxisScrollBar = nullptr;

private:
    // What decides a text extent besides the text: font and the device's scale.
    struct SMeasureContext
    {
        std::string strFace;
        std::int32_t nSize = 0;
        int nDpiY = 0;
        int nMapMode = 0;
        SIZE szWindowExt = {0, 0};
        SIZE szViewportExt = {0, 0};
        bool operator==(const SMeasureContext& other) const;
    };
    mutable SMeasureContext m_measureContext;
    mutable std::unordered_map<std::string, SIZE> m_labelExtents;
};
