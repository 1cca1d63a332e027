#pragma once

// The bars and the chart every chart benchmark draws: daily bars in a random walk, shown the
// way the replay shows them.

#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"

#include <algorithm>
#include <random>
#include <vector>

// Daily bars from 2000-01-03 on, a random walk around 50.
inline std::vector<SChartCandlestickPoint> MakeBenchBars(int nCount)
{
    std::mt19937 rng(20170105);
    std::normal_distribution<double> step(0.0, 0.6);
    std::uniform_real_distribution<double> reach(0.0, 0.8);
    std::vector<SChartCandlestickPoint> bars(static_cast<std::size_t>(nCount));
    double dClose = 50.0;
    for (SChartCandlestickPoint& bar : bars)
    {
        bar.dDate = 36528.0 + double(&bar - bars.data());
        bar.dOpen = dClose;
        dClose = std::max(1.0, dClose + step(rng));
        bar.dClose = dClose;
        bar.dHigh = std::max(bar.dOpen, bar.dClose) + reach(rng);
        bar.dLow = std::min(bar.dOpen, bar.dClose) - reach(rng);
    }
    return bars;
}

// The replay's chart in an offscreen window of 640 x 400 holding the given bars: dates
// "%Y-%m-%d" at the bottom, prices at the left, both fitted to all points.
struct SBenchChart
{
    explicit SBenchChart(const std::vector<SChartCandlestickPoint>& bars)
    {
        m_chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, 640, 400}, nullptr, 0);
        m_pDateAxis = m_chart.NewDateTimeAxis();
        m_pDateAxis->SetTickLabelFormat(false, "%Y-%m-%d");
        m_pDateAxis->SetRangeMode(AllPoints);
        m_pPriceAxis = m_chart.NewStandardAxis();
        m_pPriceAxis->SetRangeMode(AllPoints);
        auto* pSerie = new CChartCandlestickSerie(&m_chart);
        m_chart.AttachSerie(pSerie);
        pSerie->AddPoints(bars.data(), unsigned(bars.size()));
    }

    CChartCtrl m_chart;
    CChartDateTimeAxis* m_pDateAxis = nullptr;
    CChartStandardAxis* m_pPriceAxis = nullptr;
};
