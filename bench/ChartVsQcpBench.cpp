// Our chart against QCustomPlot's candlesticks on the same bars, in one process: 640 x 400, no
// antialiasing, our RefreshChart into the back buffer against replot() into QCustomPlot's paint
// buffer. The two are timed alternately, round after round, and each line prints the medians.
// Times are the thread's CPU time, so other work on a shared machine does not count.
//
//   orvanta_chart_vs_qcp [rounds-factor [case]]   (factor 2: twice the rounds; case: a substring)

#include "bench/BenchCharts.h"
#include "platform/PlatformApp.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

namespace
{

double ThreadMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// OLE dates count days from 1899-12-30; QCustomPlot keys are seconds since 1970-01-01 UTC.
constexpr double kOleUnixEpoch = 25569.0;

double ToUnixSeconds(double dOleDate)
{
    return (dOleDate - kOleUnixEpoch) * 86400.0;
}

// QCustomPlot set up as close to our chart as it goes: dates at the bottom, prices at the left,
// candles 7 pixels wide, white when rising, filled when falling.
struct SQcpChart
{
    SQcpChart(const std::vector<SChartCandlestickPoint>& bars, const CChartAxis& dateAxis,
              const CChartAxis& priceAxis)
    {
        m_plot.resize(640, 400);
        m_plot.setNotAntialiasedElements(QCP::aeAll);
        m_plot.setPlottingHints(QCP::phCacheLabels);
        auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
        ticker->setDateTimeFormat("yyyy-MM-dd");
        m_plot.xAxis->setTicker(ticker);
        auto* pFinancial = new QCPFinancial(m_plot.xAxis, m_plot.yAxis);
        pFinancial->setAntialiased(false);
        pFinancial->setChartStyle(QCPFinancial::csCandlestick);
        pFinancial->setWidthType(QCPFinancial::wtAbsolute);
        pFinancial->setWidth(7);
        pFinancial->setTwoColored(true);
        const QColor color(0, 0, 255);
        pFinancial->setPenPositive(QPen(color));
        pFinancial->setPenNegative(QPen(color));
        pFinancial->setBrushPositive(QBrush(Qt::white));
        pFinancial->setBrushNegative(QBrush(color));
        QVector<double> keys, open, high, low, close;
        for (const SChartCandlestickPoint& bar : bars)
        {
            keys.push_back(ToUnixSeconds(bar.dDate));
            open.push_back(bar.dOpen);
            high.push_back(bar.dHigh);
            low.push_back(bar.dLow);
            close.push_back(bar.dClose);
        }
        pFinancial->addData(keys, open, high, low, close, true);
        // The same ranges our axes show.
        m_plot.xAxis->setRange(ToUnixSeconds(dateAxis.m_dMin), ToUnixSeconds(dateAxis.m_dMax));
        m_plot.yAxis->setRange(priceAxis.m_dMin, priceAxis.m_dMax);
    }

    QCustomPlot m_plot;
};

// Mean milliseconds of one call over nCalls calls.
double TimeCalls(const std::function<void()>& draw, int nCalls)
{
    const double dStart = ThreadMilliseconds();
    for (int i = 0; i < nCalls; ++i)
        draw();
    return (ThreadMilliseconds() - dStart) / nCalls;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Each side gets as many calls per round as fill about 20 ms, at least one.
int CallsPerRound(const std::function<void()>& draw)
{
    draw();
    const double dOnce = TimeCalls(draw, 1);
    return std::clamp(int(20.0 / std::max(dOnce, 1e-3)), 1, 2000);
}

const char* g_pszOnly = nullptr;

void Compare(const char* pszCase, const std::vector<SChartCandlestickPoint>& bars, int nRounds,
             double dZoomFrom = 0.0, double dZoomTo = 0.0)
{
    if (g_pszOnly != nullptr && std::strstr(pszCase, g_pszOnly) == nullptr)
        return;
    SBenchChart ours(bars);
    if (dZoomTo > dZoomFrom)
        ours.m_pDateAxis->SetZoomRange(dZoomFrom, dZoomTo);
    ours.m_chart.RefreshChart();
    SQcpChart theirs(bars, *ours.m_pDateAxis, *ours.m_pPriceAxis);

    const std::function<void()> drawOurs = [&] { ours.m_chart.RefreshChart(); };
    const std::function<void()> drawTheirs = [&]
    { theirs.m_plot.replot(QCustomPlot::rpQueuedRefresh); };
    const int nOurCalls = CallsPerRound(drawOurs);
    const int nTheirCalls = CallsPerRound(drawTheirs);

    std::vector<double> ourTimes, theirTimes, ratios;
    for (int nRound = 0; nRound < nRounds; ++nRound)
    {
        // Alternate who goes first, so neither always runs on a warmer cache.
        const bool bOursFirst = nRound % 2 == 0;
        double dOurs = 0.0;
        double dTheirs = 0.0;
        if (bOursFirst)
            dOurs = TimeCalls(drawOurs, nOurCalls);
        dTheirs = TimeCalls(drawTheirs, nTheirCalls);
        if (!bOursFirst)
            dOurs = TimeCalls(drawOurs, nOurCalls);
        ourTimes.push_back(dOurs);
        theirTimes.push_back(dTheirs);
        ratios.push_back(dOurs / dTheirs);
    }
    std::printf("%-22s %10.4f ms %10.4f ms %8.3f %8.3f %6d\n", pszCase, Median(ourTimes),
                Median(theirTimes), Median(ourTimes) / Median(theirTimes), Median(ratios), nRounds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const double dFactor = argc > 1 ? std::max(0.1, std::atof(argv[1])) : 1.0;
    const auto rounds = [dFactor](int n) { return std::max(3, int(n * dFactor)) | 1; };
    g_pszOnly = argc > 2 ? argv[2] : nullptr;
    CPlatformApp app(argc, argv);

    std::printf("%-22s %13s %13s %8s %8s %6s\n", "case", "ours", "QCustomPlot", "ratio", "r.median",
                "rounds");
    Compare("26 candles", MakeBenchBars(26), rounds(41));
    const std::vector<SChartCandlestickPoint> bars = MakeBenchBars(100000);
    Compare("200 of 100,000", bars, rounds(41), bars[50000].dDate - 0.5, bars[50199].dDate + 0.5);
    Compare("all 100,000", bars, rounds(15));
    Compare("all 1,000,000", MakeBenchBars(1000000), rounds(7));
    return 0;
}
