#include "core/TradeJournalCsv.h"

#include "core/TradeJournal.h"
#include "platform/AtomicWrite.h"
#include "platform/StringFormat.h"

#include <algorithm>
#include <ctime>

namespace
{

std::string LocalTimeText(std::time_t tTime)
{
    std::tm local{};
    localtime_r(&tTime, &local);
    char text[32];
    const std::size_t nLength = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, nLength);
}

} // namespace

std::string FormatTradeJournalCsv(const CTradeJournal& journal, int nPriceDecimals)
{
    const int nDecimals = std::clamp(nPriceDecimals, 2, 6);
    std::string strText = "time,side,price,position,average,realized,account\n";
    for (const STradeRecord& record : journal.Records())
    {
        strText += LocalTimeText(record.tTime);
        strText += record.eSide == ETradeSide::Buy ? ",Buy," : ",Sell,";
        strText +=
            StringFormat("%.*f,%d,%.*f,%.2f,%.2f\n", nDecimals, record.dPrice, record.nPosition,
                         nDecimals, record.dAverage, record.dRealized, record.dAccount);
    }
    return strText;
}

bool ExportTradeJournalCsv(const CTradeJournal& journal, const std::string& strPath,
                           int nPriceDecimals, std::string* pReason)
{
    return AtomicWriteFile(strPath, FormatTradeJournalCsv(journal, nPriceDecimals), pReason);
}
