#include "core/TradeJournalCsv.h"

#include "chart/PriceDecimals.h"

#include "core/TradeJournal.h"
#include "platform/AtomicWrite.h"
#include "platform/OleDate.h"
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

std::string BarDateText(double dDate)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dDate, &st))
        return std::string();
    std::string strText = StringFormat("%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
    if (st.wHour != 0 || st.wMinute != 0 || st.wSecond != 0)
        strText += StringFormat(" %02u:%02u", st.wHour, st.wMinute);
    if (st.wSecond != 0)
        strText += StringFormat(":%02u", st.wSecond);
    return strText;
}

// A field as CSV readers expect it: quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& strField)
{
    if (strField.find_first_of(",\"\r\n") == std::string::npos)
        return strField;
    std::string strQuoted = "\"";
    for (const char c : strField)
    {
        if (c == '"')
            strQuoted += '"';
        strQuoted += c;
    }
    return strQuoted + '"';
}

} // namespace

std::string FormatTradeJournalCsv(const CTradeJournal& journal, int nPriceDecimals)
{
    std::string strText = "time,side,price,position,average,realized,account,"
                          "date,file,quantity,order,costs,gross,net\n";
    for (const STradeRecord& record : journal.Records())
    {
        const int nDecimals =
            std::clamp(record.nPriceDecimals > 0 ? record.nPriceDecimals : nPriceDecimals,
                       kMinPriceDecimals, kMaxPriceDecimals);
        strText += LocalTimeText(record.tTime);
        strText += StringFormat(",%s,%.*f,%d,%.*f,%.2f,%.2f,", SideName(record.eSide), nDecimals,
                                record.dPrice, record.nPosition, nDecimals, record.dAverage,
                                record.dRealized, record.dAccount);
        strText += BarDateText(record.dBarDate);
        strText += ',';
        strText += CsvField(journal.FileName(record));
        strText += StringFormat(",%d,%s,%.2f,", record.nQuantity, OrderKindName(record.eOrder),
                                record.dCosts);
        if (ClosesPosition(record))
            strText += StringFormat("%.2f,%.2f", record.dGross, record.dRealized);
        else
            strText += ',';
        strText += '\n';
    }
    return strText;
}

bool ExportTradeJournalCsv(const CTradeJournal& journal, const std::string& strPath,
                           int nPriceDecimals, std::string* pReason)
{
    return AtomicWriteFile(strPath, FormatTradeJournalCsv(journal, nPriceDecimals), pReason);
}
