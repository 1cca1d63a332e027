#include "core/TradeJournal.h"

#include "core/TradeAccount.h"

const STradeRecord& CTradeJournal::Trade(CTradeAccount& account, ETradeSide eSide, double dPrice,
                                         double dBarDate, std::time_t tTime)
{
    const CTradeAccount before = account;
    if (eSide == ETradeSide::Buy)
        account.Buy(dPrice);
    else
        account.Sell(dPrice);
    m_vecRecords.push_back(MakeRecord(before, account, eSide, dPrice, dBarDate, tTime));
    return m_vecRecords.back();
}

STradeRecord CTradeJournal::MakeRecord(const CTradeAccount& before, const CTradeAccount& after,
                                       ETradeSide eSide, double dPrice, double dBarDate,
                                       std::time_t tTime)
{
    STradeRecord record;
    record.tTime = tTime;
    record.dBarDate = dBarDate;
    record.eSide = eSide;
    record.dPrice = dPrice;
    record.nPositionBefore = before.m_nPosition;
    record.nPosition = after.m_nPosition;
    record.dAverage = after.m_dAverage;
    // The account books cash only when the position comes back to 0; a reduction keeps its
    // profit in the average until then.
    record.dRealized = after.m_dNoPositionAccount - before.m_dNoPositionAccount;
    // The account's own mark rule, at the trade's price: a trade does not re-mark the account.
    record.dAccount = after.m_dNoPositionAccount + (dPrice - after.m_dAverage) * after.m_nPosition;
    return record;
}

void CTradeJournal::Clear()
{
    m_vecRecords.clear();
    m_vecMarks.clear();
}

std::vector<SChartTradeMarker> CTradeJournal::Markers() const
{
    std::vector<SChartTradeMarker> vecMarkers;
    vecMarkers.reserve(m_vecRecords.size());
    for (const STradeRecord& record : m_vecRecords)
        vecMarkers.push_back({record.dBarDate, record.dPrice, record.eSide == ETradeSide::Buy});
    return vecMarkers;
}
