#include "core/TradeJournal.h"

#include "core/TradeAccount.h"

#include <algorithm>
#include <cassert>

bool ClosesPosition(const STradeRecord& record)
{
    const long long nBefore = record.nPositionBefore;
    const long long nAfter = record.nPosition;
    return nBefore != 0 && nBefore * nAfter <= 0;
}

const STradeRecord& CTradeJournal::Trade(CTradeAccount& account, ETradeSide eSide, double dPrice,
                                         double dBarDate, std::time_t tTime)
{
    STradeRecord record;
    record.nPositionBefore = account.m_nPosition;
    const STradeOutcome outcome = account.Book({eSide, 1, dPrice, 0.0, 0.0});
    record.tTime = tTime;
    record.dBarDate = dBarDate;
    record.eSide = eSide;
    record.dPrice = dPrice;
    record.nPosition = account.m_nPosition;
    record.dAverage = account.m_dAverage;
    record.dRealized = outcome.dNet;
    record.dGross = outcome.dGross;
    // The account's own mark rule, at the trade's price: a trade does not re-mark the account.
    record.dAccount = account.ValueAt(dPrice);
    record.nPriceDecimals = account.m_nPriceDecimals;
    Append(record);
    return m_vecRecords.back();
}

void CTradeJournal::Append(const STradeRecord& record)
{
    m_vecRecords.push_back(record);
    m_vecRecords.back().nMarksBefore = m_vecMarks.size();
    m_vecMarkers.push_back({record.dBarDate, record.dPrice, record.eSide == ETradeSide::Buy});
}

void CTradeJournal::Clear()
{
    m_vecRecords.clear();
    m_vecMarks.clear();
    m_vecMarkers.clear();
}

void CTradeJournal::Truncate(std::size_t nRecords, std::size_t nMarks)
{
    assert(nRecords <= m_vecRecords.size() && nMarks <= m_vecMarks.size() &&
           "Truncate only goes back: take the counts from an earlier state of this journal");
    nRecords = std::min(nRecords, m_vecRecords.size());
    nMarks = std::min(nMarks, m_vecMarks.size());
    if (nRecords < m_vecRecords.size())
    {
        m_vecRecords.resize(nRecords);
        m_vecMarkers.resize(nRecords);
    }
    if (nMarks < m_vecMarks.size())
        m_vecMarks.resize(nMarks);
}

int CTradeJournal::FileIndex(const std::string& strFile)
{
    for (std::size_t i = 0; i < m_vecFiles.size(); ++i)
        if (m_vecFiles[i] == strFile)
            return static_cast<int>(i);
    m_vecFiles.push_back(strFile);
    return static_cast<int>(m_vecFiles.size() - 1);
}

const std::string& CTradeJournal::FileName(const STradeRecord& record) const
{
    static const std::string s_strUnknown;
    if (record.nFile < 0 || static_cast<std::size_t>(record.nFile) >= m_vecFiles.size())
        return s_strUnknown;
    return m_vecFiles[static_cast<std::size_t>(record.nFile)];
}
