#pragma once

#include "chart/ChartOverlay.h"
#include "chart/Forward.h"
#include "platform/WinTypes.h"

#include <functional>
#include <string>

struct SChartCandlestickPoint;

// Dotted lines through the mouse position over the plot and a label with the bar under it.
// Drawn at paint time over the copied back buffer, so the buffered picture never holds it.
class CChartCrosshair : public ChartOverlay
{
public:
    explicit CChartCrosshair(CChartCtrl* pOwner);

    // Decimals of the prices in the label.
    void SetDecimals(int nDecimals);
    int GetDecimals() const { return m_nDecimals; }

    bool IsShown() const { return m_bShown; }
    POINT GetPosition() const { return m_ptMouse; }
    // The bar of the newest candlestick series nearest to pixel column x; false when no bar
    // lies within the plot there.
    bool FindBarAt(int x, SChartCandlestickPoint* pBar) const;
    // Text of the label for a bar: date (and time when the bar has one), open, high, low, close.
    std::string LabelText(const SChartCandlestickPoint& bar) const;

    // Told where the crosshair is whenever the mouse moves over the chart or leaves it: the date
    // of the bar under it, or nothing.
    void SetMoveListener(std::function<void(const double* pdDate)> listener);
    // A vertical line at an instant another chart's crosshair points at, while this chart's own
    // crosshair is not shown.
    void ShowLinkedDate(double dDate);
    void HideLinkedDate();
    bool HasLinkedDate() const { return m_bLinked; }

    void OverlayMouseMove(int x, int y) override;
    void OverlayMouseLeave() override;
    void OverlayButtonDown(int, int) override {}
    void OverlayButtonUp(int, int) override {}
    void DrawOverlay(CDC* pDC) override;

private:
    void DrawLabel(CDC* pDC, const RECT& rcPlot, const std::string& strText) const;
    void DrawLinkedDate(CDC* pDC, const RECT& rcPlot) const;
    void TellListener() const;

    CChartCtrl* m_pOwner = nullptr;
    int m_nDecimals = 2;
    bool m_bShown = false;
    POINT m_ptMouse = {0, 0};
    bool m_bLinked = false;
    double m_dLinkedDate = 0.0;
    std::function<void(const double* pdDate)> m_listener;
    COLORREF m_crLines = RGB(80, 80, 80);
    COLORREF m_crLabelBack = RGB(255, 255, 225);
    COLORREF m_crLabelText = RGB(0, 0, 0);
};
