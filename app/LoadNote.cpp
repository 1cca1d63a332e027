#include "app/LoadNote.h"

#include "app/Resources.h"
#include "core/KLineMessages.h"
#include "core/KLinePlayer.h"

namespace
{

static_assert(IDS_UNIX_NANOSECONDS - IDS_UNIX_SECONDS ==
              static_cast<unsigned>(EKLineUnixUnit::Nanoseconds));

unsigned FamilyTextId(const SKLineLayout& layout)
{
    const bool bTime = layout.m_nTimeColumn >= 0;
    switch (layout.m_eFamily)
    {
    case EKLineFamily::Plain:
        return IDS_LAYOUT_PLAIN;
    case EKLineFamily::NamedColumns:
        return IDS_LAYOUT_NAMED_COLUMNS;
    case EKLineFamily::DateTimeColumns:
        return IDS_LAYOUT_DATE_TIME_COLUMNS;
    case EKLineFamily::MetaTrader:
        return bTime ? IDS_LAYOUT_METATRADER_TIME : IDS_LAYOUT_METATRADER;
    case EKLineFamily::MetaTrader5:
        return bTime ? IDS_LAYOUT_METATRADER5_TIME : IDS_LAYOUT_METATRADER5;
    case EKLineFamily::TickerExport:
        return IDS_LAYOUT_TICKER;
    case EKLineFamily::UnixTime:
        return IDS_LAYOUT_UNIX;
    case EKLineFamily::ExchangeArchive:
        return IDS_LAYOUT_ARCHIVE;
    case EKLineFamily::DayFirstDots:
        return IDS_LAYOUT_DAY_FIRST_DOTS;
    case EKLineFamily::Slashes:
        return layout.m_eDateOrder == EKLineDateOrder::MonthDayYear ? IDS_LAYOUT_MONTH_FIRST
                                                                    : IDS_LAYOUT_DAY_FIRST;
    case EKLineFamily::MonthNames:
        return IDS_LAYOUT_MONTH_NAMES;
    case EKLineFamily::Semicolons:
        return layout.m_bDecimalComma ? IDS_LAYOUT_SEMICOLONS_COMMA : IDS_LAYOUT_SEMICOLONS;
    case EKLineFamily::ChineseText:
        return bTime ? IDS_LAYOUT_CHINESE_TIME : IDS_LAYOUT_CHINESE;
    case EKLineFamily::ChineseDay:
        return IDS_LAYOUT_CHINESE_DAY;
    case EKLineFamily::MetaTraderHistory:
        return IDS_LAYOUT_HISTORY;
    case EKLineFamily::Custom:
        break;
    }
    return IDS_LAYOUT_CUSTOM;
}

// Counts fit an int for the note: a file of more lines is not held in memory anyway.
int Count(long n)
{
    return static_cast<int>(n);
}

} // namespace

std::string LayoutNameText(const SKLineLayout& layout)
{
    const unsigned nId = FamilyTextId(layout);
    std::string strName =
        nId == IDS_LAYOUT_UNIX || nId == IDS_LAYOUT_ARCHIVE
            ? FormatAppText(nId,
                            AppText(IDS_UNIX_SECONDS + static_cast<unsigned>(layout.m_eUnixUnit)))
            : std::string(AppText(nId));
    if (layout.m_eKind == EKLineFileKind::Text && layout.m_eDateForm == EKLineDateForm::Numeric &&
        layout.m_eDateOrder != EKLineDateOrder::YearMonthDay && layout.m_bOrderFromLocale)
        strName += AppText(layout.m_eDateOrder == EKLineDateOrder::MonthDayYear
                               ? IDS_LAYOUT_LOCALE_MONTH_FIRST
                               : IDS_LAYOUT_LOCALE_DAY_FIRST);
    return strName;
}

std::string LoadNoteText(const SKLineLayout& layout, const SKLineReadStats& stats,
                         const std::vector<SChartCandlestickPoint>& vecBars)
{
    const bool bRecords = layout.m_eKind != EKLineFileKind::Text;
    const std::string strName = LayoutNameText(layout);
    std::string strNote = vecBars.size() == 1 ? FormatAppText(IDS_NOTE_ONE_BAR, strName.c_str())
                                              : FormatAppText(IDS_NOTE_BARS, strName.c_str(),
                                                              static_cast<int>(vecBars.size()));
    if (!vecBars.empty())
        strNote += FormatAppText(
            IDS_NOTE_RANGE, KLineBarTimeText(vecBars.front().dDate, stats.m_bTimeOfDay).c_str(),
            KLineBarTimeText(vecBars.back().dDate, stats.m_bTimeOfDay).c_str());
    if (stats.m_nSkipped > 0)
    {
        if (stats.m_nSkipped == 1)
            strNote += AppText(bRecords ? IDS_NOTE_ONE_RECORD_SKIPPED : IDS_NOTE_ONE_LINE_SKIPPED);
        else
            strNote += FormatAppText(bRecords ? IDS_NOTE_RECORDS_SKIPPED : IDS_NOTE_LINES_SKIPPED,
                                     Count(stats.m_nSkipped));
        const long nFaults = stats.m_nSkipped - stats.m_nRoutineSkipped;
        const int nFirst = Count(stats.m_nFirstFaultLine);
        if (nFaults == 1)
            strNote += FormatAppText(bRecords ? IDS_NOTE_ONE_FAULT_RECORD : IDS_NOTE_ONE_FAULT_LINE,
                                     nFirst);
        else if (nFaults > 1)
            strNote += FormatAppText(bRecords ? IDS_NOTE_FAULT_RECORDS : IDS_NOTE_FAULT_LINES,
                                     Count(nFaults), nFirst);
        else
            strNote += AppText(IDS_NOTE_ROUTINE);
    }
    if (stats.m_bReordered)
        strNote += AppText(IDS_NOTE_REORDERED);
    return strNote;
}

std::string LoadNoteText(const CKLinePlayer& player)
{
    if (player.m_strFilePath.empty())
        return {};
    return LoadNoteText(player.m_layout, player.m_stats, player.m_vecBars);
}
