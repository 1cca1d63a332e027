#pragma once

// Forward declarations of the chart's classes, so headers can name each other without
// including each other.

class CChartCtrl;
class CChartAxis;
class CChartStandardAxis;
class CChartDateTimeAxis;
class CChartAxisLabel;
class CChartGrid;
class CChartScrollBar;
class CChartSerie;
class CChartLegend;
class CChartTitle;
class ChartOverlay;
class CChartOrderLineSerie;
class CChartOrderLines;
class IChartOrderSink;
class IChartMouseSink;
class CDCGuard;
class CRefreshHold;
struct ChartFont;
struct SChartCandlestickPoint;
struct SChartOrderLine;
