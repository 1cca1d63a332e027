#include "core/MovingAverage.h"
#include "chart/ChartCandlestickPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{

std::vector<SChartCandlestickPoint> Bars(const std::vector<double>& vecCloses)
{
    std::vector<SChartCandlestickPoint> vecBars;
    for (std::size_t i = 0; i < vecCloses.size(); ++i)
        vecBars.push_back(
            {40000.0 + double(i), vecCloses[i], vecCloses[i], vecCloses[i], vecCloses[i]});
    return vecBars;
}

double NaiveAverage(const std::vector<SChartCandlestickPoint>& vecBars, std::size_t nLast,
                    int nPeriod)
{
    double dSum = 0.0;
    for (std::size_t i = nLast + 1 - std::size_t(nPeriod); i <= nLast; ++i)
        dSum += vecBars[i].dClose;
    return dSum / nPeriod;
}

} // namespace

TEST(MovingAverage, StartsAtTheNthBarAndFollowsTheDates)
{
    const auto vecBars = Bars({1, 2, 3, 4, 5});
    const auto vecLine = MovingAverage(vecBars.data(), vecBars.size(), 3);
    ASSERT_EQ(vecLine.size(), 5u);
    EXPECT_TRUE(std::isnan(vecLine[0].dY));
    EXPECT_TRUE(std::isnan(vecLine[1].dY));
    EXPECT_DOUBLE_EQ(vecLine[2].dY, 2);
    EXPECT_DOUBLE_EQ(vecLine[3].dY, 3);
    EXPECT_DOUBLE_EQ(vecLine[4].dY, 4);
    EXPECT_EQ(vecLine[4].dX, 40004.0);

    // From bar 3 on, with the bars before as history.
    const auto vecTail = MovingAverage(vecBars.data(), vecBars.size(), 3, 3);
    ASSERT_EQ(vecTail.size(), 2u);
    EXPECT_DOUBLE_EQ(vecTail[0].dY, 3);
    EXPECT_EQ(vecTail[0].dX, 40003.0);

    EXPECT_TRUE(MovingAverage(vecBars.data(), vecBars.size(), 3, 5).empty());
    EXPECT_DOUBLE_EQ(MovingAverage(vecBars.data(), 5, 1)[0].dY, 1);
    EXPECT_TRUE(std::isnan(MovingAverage(vecBars.data(), 5, 6)[4].dY)) << "fewer bars than N";
    EXPECT_TRUE(std::isnan(MovingAverage(vecBars.data(), 5, 0)[4].dY));
}

TEST(MovingAverage, MatchesANaiveSumOnRandomData)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> price(1000.0, 5000.0);
    std::vector<double> vecCloses(20000);
    for (double& dClose : vecCloses)
        dClose = price(random);
    const auto vecBars = Bars(vecCloses);
    for (const int nPeriod : {1, 5, 26, 250})
    {
        for (const std::size_t nFrom : {std::size_t(0), std::size_t(3), std::size_t(19000)})
        {
            const auto vecLine = MovingAverage(vecBars.data(), vecBars.size(), nPeriod, nFrom);
            ASSERT_EQ(vecLine.size(), vecBars.size() - nFrom);
            for (std::size_t i = nFrom; i < vecBars.size(); ++i)
            {
                const double dGot = vecLine[i - nFrom].dY;
                if (i + 1 < std::size_t(nPeriod))
                    ASSERT_TRUE(std::isnan(dGot)) << i;
                else // compensated sums stay within a few ulps of the direct sum
                    ASSERT_NEAR(dGot, NaiveAverage(vecBars, i, nPeriod), 1e-9)
                        << nPeriod << " " << i;
            }
        }
    }
}
