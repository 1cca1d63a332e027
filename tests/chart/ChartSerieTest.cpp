#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartPointStore.h"
#include "chart/ChartStandardAxis.h"

#include "tests/chart/ChartTestApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace
{

using Store = CChartPointStore<SChartCandlestickPoint>;

SChartCandlestickPoint Bar(double dDate, double dLow = 1.0, double dHigh = 2.0, double dTag = 0.0)
{
    SChartCandlestickPoint p;
    p.dDate = dDate;
    p.dLow = dLow;
    p.dHigh = dHigh;
    p.dOpen = dTag;
    p.dClose = dTag;
    return p;
}

std::vector<double> Dates(const Store& store)
{
    std::vector<double> dates;
    for (std::uint32_t i = 0; i < store.GetCount(); ++i)
        dates.push_back(store.GetAt(i).dDate);
    return dates;
}

TEST(ChartPointStore, GrowsByStepOnSingleAddsAndExactlyOnBulkAdds)
{
    Store single;
    EXPECT_EQ(single.m_nCapacity, 1000u);
    const SChartCandlestickPoint* pFirstBlock = single.m_pItems;
    for (int i = 0; i < 1000; ++i)
        single.AddPoint(Bar(i));
    EXPECT_EQ(single.m_nCapacity, 1000u);
    EXPECT_EQ(single.m_pItems, pFirstBlock);
    single.AddPoint(Bar(1000));
    EXPECT_EQ(single.m_nCapacity, 2000u);
    EXPECT_EQ(single.GetCount(), 1001u);
    EXPECT_EQ(single.GetAt(999).dDate, 999.0);

    std::vector<SChartCandlestickPoint> bars;
    for (int i = 0; i < 1500; ++i)
        bars.push_back(Bar(i));
    Store bulk;
    bulk.AddPoints(bars.data(), 1500);
    EXPECT_EQ(bulk.m_nCapacity, 1500u);
    EXPECT_EQ(bulk.GetCount(), 1500u);
    bulk.AddPoint(Bar(2000));
    EXPECT_EQ(bulk.m_nCapacity, 2500u);

    Store roomy;
    roomy.AddPoints(bars.data(), 10);
    EXPECT_EQ(roomy.m_nCapacity, 1000u) << "a bulk add that fits keeps the array";
}

TEST(ChartPointStore, OrderedInsertionPutsEqualKeysAfterEarlierOnes)
{
    Store store;
    store.AddPoint(Bar(3));
    store.AddPoint(Bar(1));
    store.AddPoint(Bar(2, 1, 2, 10));
    store.AddPoint(Bar(2, 1, 2, 20));
    store.AddPoint(Bar(0.5));
    EXPECT_EQ(Dates(store), (std::vector<double>{0.5, 1, 2, 2, 3}));
    EXPECT_EQ(store.GetAt(2).dOpen, 10.0);
    EXPECT_EQ(store.GetAt(3).dOpen, 20.0);

    Store unordered;
    unordered.m_nOrdering = OrderNone;
    for (double d : {3.0, 1.0, 2.0})
        unordered.AddPoint(Bar(d));
    EXPECT_EQ(Dates(unordered), (std::vector<double>{3, 1, 2}));
    std::uint32_t nFirst = 7;
    std::uint32_t nLast = 7;
    ASSERT_TRUE(unordered.FindRange(&nFirst, &nLast, 100.0, 200.0));
    EXPECT_EQ(nFirst, 0u);
    EXPECT_EQ(nLast, 2u);
}

TEST(ChartPointStore, RandomInsertionsMatchAStableSort)
{
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> date(0, 50);
    std::vector<SChartCandlestickPoint> added;
    Store store;
    for (int i = 0; i < 3000; ++i)
    {
        const SChartCandlestickPoint p = Bar(date(rng), 1, 2, i);
        added.push_back(p);
        store.AddPoint(p);
    }
    std::stable_sort(added.begin(), added.end(),
                     [](const auto& a, const auto& b) { return a.dDate < b.dDate; });
    ASSERT_EQ(store.GetCount(), added.size());
    for (std::uint32_t i = 0; i < store.GetCount(); ++i)
    {
        ASSERT_EQ(store.GetAt(i).dDate, added[i].dDate) << i;
        ASSERT_EQ(store.GetAt(i).dOpen, added[i].dOpen) << i;
    }
}

TEST(ChartPointStore, ExtremesOnlyWidenAndIgnoreOpenAndClose)
{
    Store store;
    SChartCandlestickPoint first = Bar(10, 5, 8);
    first.dOpen = 100; // open and close outside low..high never count
    first.dClose = -100;
    store.AddPoint(first);
    EXPECT_EQ(store.m_dMinX, 10.0);
    EXPECT_EQ(store.m_dMaxX, 10.0);
    EXPECT_EQ(store.m_dMinY, 5.0);
    EXPECT_EQ(store.m_dMaxY, 8.0);

    store.AddPoint(Bar(12, 4, 7));
    EXPECT_EQ(store.m_dMinX, 10.0);
    EXPECT_EQ(store.m_dMaxX, 12.0);
    EXPECT_EQ(store.m_dMinY, 4.0);
    EXPECT_EQ(store.m_dMaxY, 8.0);

    store.AddPoint(Bar(9, 6, 9));
    EXPECT_EQ(store.m_dMinX, 9.0);
    EXPECT_EQ(store.m_dMaxY, 9.0);
}

TEST(ChartPointStore, SearchIndexReturnsAPointStraddlingTheValue)
{
    Store store;
    for (double d : {1.0, 2.0, 3.0, 4.0, 5.0})
        store.AddPoint(Bar(d));
    EXPECT_EQ(store.SearchIndex(2.0, 0, 4), 1u);
    EXPECT_EQ(store.SearchIndex(3.0, 0, 4), 3u);
    EXPECT_EQ(store.SearchIndex(0.5, 0, 4), 0u);
    EXPECT_EQ(store.SearchIndex(10.0, 0, 4), 4u);
    EXPECT_EQ(store.SearchIndex(std::nan(""), 0, 4), 4u);

    std::uint32_t nFirst = 0;
    std::uint32_t nLast = 0;
    ASSERT_TRUE(store.FindRange(&nFirst, &nLast, 2.5, 3.5));
    EXPECT_EQ(nFirst, 1u);
    EXPECT_EQ(nLast, 3u);
    // The search for 1.0 lands on date 2; the point on the minimum itself is still in.
    ASSERT_TRUE(store.FindRange(&nFirst, &nLast, 1.0, 5.0));
    EXPECT_EQ(nFirst, 0u);
    EXPECT_EQ(nLast, 4u);
    ASSERT_TRUE(store.FindRange(&nFirst, &nLast, 3.0, 3.0));
    EXPECT_EQ(nFirst, 2u);

    // Property over random sorted keys and values.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> key(0.0, 100.0);
    Store big;
    for (int i = 0; i < 777; ++i)
        big.AddPoint(Bar(std::floor(key(rng))));
    const std::uint32_t nHigh = big.GetCount() - 1;
    for (int i = 0; i < 2000; ++i)
    {
        const double v = key(rng) * 1.1 - 5.0;
        const std::uint32_t r = big.SearchIndex(v, 0, nHigh);
        ASSERT_LE(r, nHigh);
        if (big.GetAt(r).dDate <= v)
            EXPECT_TRUE(r == nHigh || big.GetAt(r + 1).dDate > v) << v;
        else
            EXPECT_TRUE(r == 0 || big.GetAt(r - 1).dDate <= v) << v;
    }
}

TEST(ChartPointStore, FindRangeOnAnEmptyStoreLeavesTheOutputs)
{
    Store store;
    std::uint32_t nFirst = 11;
    std::uint32_t nLast = 22;
    EXPECT_FALSE(store.FindRange(&nFirst, &nLast, 0.0, 1.0));
    EXPECT_EQ(nFirst, 11u);
    EXPECT_EQ(nLast, 22u);
}

TEST(ChartPointStore, SetOrderingSortsByTheNewKey)
{
    Store store;
    store.AddPoint(Bar(1, 30, 40)); // middle 35
    store.AddPoint(Bar(2, 10, 12)); // middle 11
    store.AddPoint(Bar(3, 0, 50));  // middle 25
    store.SetOrdering(OrderByY);
    EXPECT_EQ(Dates(store), (std::vector<double>{2, 3, 1}));
    // Ordered insertion now follows the Y middle.
    store.AddPoint(Bar(4, 14, 16)); // middle 15
    EXPECT_EQ(Dates(store), (std::vector<double>{2, 4, 3, 1}));
    store.SetOrdering(OrderByX);
    EXPECT_EQ(Dates(store), (std::vector<double>{1, 2, 3, 4}));
    store.SetOrdering(OrderNone);
    EXPECT_EQ(Dates(store), (std::vector<double>{1, 2, 3, 4}));
}

TEST(ChartPointStore, NonFiniteKeysNeitherCrashNorLosePoints)
{
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    Store store;
    for (double d : {3.0, dNaN, 1.0, dNaN, 2.0})
        store.AddPoint(Bar(d));
    EXPECT_EQ(store.GetCount(), 5u);
    store.SetOrdering(OrderByX);
    const std::vector<double> dates = Dates(store);
    EXPECT_EQ(dates[0], 1.0);
    EXPECT_EQ(dates[1], 2.0);
    EXPECT_EQ(dates[2], 3.0);
    EXPECT_TRUE(std::isnan(dates[3]) && std::isnan(dates[4]));
}

// A series over a horizontal axis 0..100 px and a vertical axis 200..0 px.
class ChartSerieTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_xAxis.m_bHorizontal = true;
        m_xAxis.m_nStartPixel = 0;
        m_xAxis.m_nEndPixel = 100;
        m_yAxis.m_bHorizontal = false;
        m_yAxis.m_nStartPixel = 200;
        m_yAxis.m_nEndPixel = 0;
        SetRange(m_xAxis, 0, 10);
        SetRange(m_yAxis, 0, 20);
    }

    static void SetRange(CChartAxis& axis, double dMin, double dMax)
    {
        axis.SetRange(dMin, dMax, ERangeChange::Reset);
    }

    CChartCandlestickSerie* NewSerie()
    {
        auto* pSerie = new CChartCandlestickSerie(nullptr);
        pSerie->m_pXAxis = &m_xAxis;
        pSerie->m_pYAxis = &m_yAxis;
        m_xAxis.RegisterSerie(pSerie);
        m_yAxis.RegisterSerie(pSerie);
        return pSerie;
    }

    CChartStandardAxis m_xAxis;
    CChartStandardAxis m_yAxis;
};

TEST_F(ChartSerieTest, IdsGrowAndDefaultsAreSet)
{
    std::unique_ptr<CChartCandlestickSerie> pA(NewSerie());
    std::unique_ptr<CChartCandlestickSerie> pB(NewSerie());
    EXPECT_EQ(pB->m_nId, pA->m_nId + 1);
    EXPECT_TRUE(pA->m_bVisible);
    EXPECT_TRUE(pA->m_bDrawShadow) << "candles draw their shadow";
    EXPECT_EQ(pA->m_crShadow, RGB(150, 150, 150));
    EXPECT_EQ(pA->m_nShadowOffset, 2);
    EXPECT_TRUE(pA->m_bClickEvents);
    EXPECT_FALSE(pA->m_bMoveEvents);
    EXPECT_EQ(pA->m_nCandleWidth, 7);
    EXPECT_EQ(pA->m_Points.m_nOrdering, OrderByX);
}

TEST_F(ChartSerieTest, DestroyingASerieUnregistersItOnceFromEachAxis)
{
    CChartCandlestickSerie* pA = NewSerie();
    std::unique_ptr<CChartCandlestickSerie> pB(NewSerie());
    ASSERT_EQ(m_xAxis.RegisteredSerieCount(), 2u);
    delete pA;
    EXPECT_EQ(m_xAxis.RegisteredSerieCount(), 1u);
    EXPECT_EQ(m_yAxis.RegisteredSerieCount(), 1u);
    EXPECT_EQ(m_xAxis.m_RegisteredSeries.front(), pB.get());
}

TEST_F(ChartSerieTest, RangeQueriesAnswerFalseOnEmptyOrHiddenSeries)
{
    std::unique_ptr<CChartCandlestickSerie> pSerie(NewSerie());
    double dMin = -1;
    double dMax = -1;
    unsigned nFirst = 9;
    unsigned nLast = 9;
    EXPECT_FALSE(pSerie->GetXRange(&dMin, &dMax));
    EXPECT_FALSE(pSerie->GetYRange(&dMin, &dMax));
    EXPECT_FALSE(pSerie->GetVisibleYRange(&dMin, &dMax));
    EXPECT_FALSE(pSerie->FindVisibleRange(&nFirst, &nLast));
    EXPECT_EQ(dMin, -1.0);
    EXPECT_EQ(nFirst, 9u);

    const SChartCandlestickPoint bars[] = {Bar(1, 3, 4), Bar(5, 1, 9)};
    pSerie->AddPoints(bars, 2);
    ASSERT_TRUE(pSerie->GetXRange(&dMin, &dMax));
    EXPECT_EQ(dMin, 1.0);
    EXPECT_EQ(dMax, 5.0);
    ASSERT_TRUE(pSerie->GetYRange(&dMin, &dMax));
    EXPECT_EQ(dMin, 1.0);
    EXPECT_EQ(dMax, 9.0);

    pSerie->m_bVisible = false;
    dMin = dMax = -1;
    EXPECT_FALSE(pSerie->GetXRange(&dMin, &dMax));
    EXPECT_FALSE(pSerie->GetYRange(&dMin, &dMax));
    EXPECT_FALSE(pSerie->GetVisibleYRange(&dMin, &dMax));
    EXPECT_EQ(dMin, -1.0);
}

TEST_F(ChartSerieTest, VisibleRangesFollowTheOtherAxis)
{
    std::unique_ptr<CChartCandlestickSerie> pSerie(NewSerie());
    const SChartCandlestickPoint bars[] = {Bar(1, 10, 11), Bar(2, 5, 6), Bar(3, 7, 8), Bar(4, 2, 3),
                                           Bar(5, 15, 16)};
    pSerie->AddPoints(bars, 5);
    SetRange(m_xAxis, 2.5, 3.5);
    unsigned nFirst = 0;
    unsigned nLast = 0;
    ASSERT_TRUE(pSerie->FindVisibleRange(&nFirst, &nLast));
    EXPECT_EQ(nFirst, 1u);
    EXPECT_EQ(nLast, 3u);
    double dMin = 0;
    double dMax = 0;
    ASSERT_TRUE(pSerie->GetVisibleYRange(&dMin, &dMax));
    EXPECT_EQ(dMin, 2.0) << "the last point of the range counts";
    EXPECT_EQ(dMax, 8.0);
    EXPECT_FALSE(pSerie->GetVisibleXRange(&dMin, &dMax)) << "needs ordering by Y";

    pSerie->SetOrdering(OrderByY); // middles 10.5, 5.5, 7.5, 2.5, 15.5
    EXPECT_FALSE(pSerie->GetVisibleYRange(&dMin, &dMax));
    SetRange(m_yAxis, 6.0, 9.0);
    ASSERT_TRUE(pSerie->GetVisibleXRange(&dMin, &dMax));
    // Sorted by middle: 4, 2, 3, 1, 5; 6.0 lands on date 2 and 9.0 on date 1.
    EXPECT_EQ(dMin, 1.0);
    EXPECT_EQ(dMax, 3.0);

    pSerie->SetOrdering(OrderNone);
    ASSERT_TRUE(pSerie->FindVisibleRange(&nFirst, &nLast));
    EXPECT_EQ(nFirst, 0u);
    EXPECT_EQ(nLast, 4u);
}

TEST_F(ChartSerieTest, PointToScreenUsesTheYMiddleAndTheAxisMiddleForAnEmptyRange)
{
    std::unique_ptr<CChartCandlestickSerie> pSerie(NewSerie());
    const SChartCandlestickPoint bar = Bar(5, 4, 8);
    pSerie->AddPoints(&bar, 1);
    POINT pt = pSerie->PointToScreen(0);
    EXPECT_EQ(pt.x, 50);
    EXPECT_EQ(pt.y, 140); // middle 6 of 0..20 over 200 px, upwards

    SetRange(m_xAxis, 5, 5);
    SetRange(m_yAxis, 3, 3);
    pt = pSerie->PointToScreen(0);
    EXPECT_EQ(pt.x, 50);
    EXPECT_EQ(pt.y, 100);
}

} // namespace
