#pragma once

#include "TempDir.h"
#include "core/KLineFile.h"
#include "core/KLineMessages.h"
#include "platform/StringFormat.h"

#include <cstdio>
#include <string>
#include <vector>

// Daily bars from 2020-01-01 whose closes tell which bar they are: bar i trades from 9 + i to
// 12 + i and closes at 10.5 + i.
inline std::string DailyBarsText(int nCount)
{
    std::string strText;
    for (int i = 0; i < nCount; ++i)
        strText += StringFormat("2020-%02d-%02d,%d,%d,%d,%.1f\n", 1 + i / 28, 1 + i % 28, 10 + i,
                                12 + i, 9 + i, 10.5 + i);
    return strText;
}

// Loads text written to a file of the given name, through the loader's recognition.
inline SKLineLoad LoadFixture(const CTempDir& dir, const std::string& strName,
                              const std::string& strText,
                              EKLineDateOrder eLocale = EKLineDateOrder::DayMonthYear)
{
    SKLineLoad load;
    LoadKLineFile(dir.Write(strName, strText), &load, nullptr, eLocale);
    return load;
}

// A bar as "2021-03-01 09:00 1.2075 1.208 1.207 1.2078" (open, high, low, close).
inline std::string BarText(const SChartCandlestickPoint& bar)
{
    char prices[128];
    std::snprintf(prices, sizeof prices, " %.10g %.10g %.10g %.10g", bar.dOpen, bar.dHigh, bar.dLow,
                  bar.dClose);
    return KLineBarTimeText(bar.dDate, true) + prices;
}

inline std::vector<std::string> BarTexts(const std::vector<SChartCandlestickPoint>& bars)
{
    std::vector<std::string> texts;
    for (const SChartCandlestickPoint& bar : bars)
        texts.push_back(BarText(bar));
    return texts;
}
