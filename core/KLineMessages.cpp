#include "core/KLineMessages.h"

#include "platform/OleDate.h"

#include <cstdio>
#include <cstring>

namespace
{

const char* FileTypeText(EKLineFileType eType)
{
    switch (eType)
    {
    case EKLineFileType::Directory:
        return "a directory";
    case EKLineFileType::NamedPipe:
        return "a named pipe";
    case EKLineFileType::Socket:
        return "a socket";
    case EKLineFileType::CharacterDevice:
        return "a character device";
    case EKLineFileType::BlockDevice:
        return "a block device";
    case EKLineFileType::Regular:
    case EKLineFileType::Other:
        break;
    }
    return "not an ordinary file";
}

std::string Lines(long n, const char* pszWhat)
{
    return std::to_string(n) + " " + pszWhat + (n == 1 ? "" : "s");
}

} // namespace

std::string KLineLoadFailureText(const SKLineLoad& load)
{
    const bool bRecords = load.m_layout.m_eKind != EKLineFileKind::Text;
    switch (load.m_eError)
    {
    case EKLineLoadError::None:
        return {};
    case EKLineLoadError::CannotOpen:
    case EKLineLoadError::ReadError:
        return std::strerror(load.m_nErrno);
    case EKLineLoadError::NotRegularFile:
        return std::string("not a regular file (") + FileTypeText(load.m_eFileType) + ")";
    case EKLineLoadError::Empty:
        return "the file is empty";
    case EKLineLoadError::NotText:
        return "not a text file (it holds binary data)";
    case EKLineLoadError::AmbiguousLayout:
        return "its columns can be read more than one way; choose the layout";
    case EKLineLoadError::BadBinary:
        return load.m_layout.m_eKind == EKLineFileKind::MetaTraderHistory
                   ? "not a MetaTrader 4 history file of version 400 or 401"
                   : "not a day file of the Chinese terminals";
    case EKLineLoadError::UnknownLayout:
    case EKLineLoadError::NoBars:
        return std::string("no ") + (bRecords ? "record" : "line") + " could be read as a bar" +
               (load.m_stats.m_nFirstSkippedLine > 0
                    ? " (first skipped: " + std::string(bRecords ? "record " : "line ") +
                          std::to_string(load.m_stats.m_nFirstSkippedLine) + ")"
                    : "");
    }
    return {};
}

std::string KLineBarTimeText(double dDate, bool bTimeOfDay)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dDate, &st))
        return "?";
    char text[40];
    if (!bTimeOfDay)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    else if (st.wSecond == 0 && st.wMilliseconds == 0)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", st.wYear, st.wMonth, st.wDay,
                      st.wHour, st.wMinute);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth,
                      st.wDay, st.wHour, st.wMinute, st.wSecond);
    return text;
}

std::string KLineLoadNote(const SKLineLoad& load)
{
    return KLineLoadNote(load.m_layout, load.m_stats, load.m_vecBars);
}

std::string KLineLoadNote(const SKLineLayout& layout, const SKLineReadStats& stats,
                          const std::vector<SChartCandlestickPoint>& vecBars)
{
    const bool bRecords = layout.m_eKind != EKLineFileKind::Text;
    std::string note = KLineLayoutName(layout) + ": " + Lines(long(vecBars.size()), "bar");
    if (!vecBars.empty())
        note += ", " + KLineBarTimeText(vecBars.front().dDate, stats.m_bTimeOfDay) + " to " +
                KLineBarTimeText(vecBars.back().dDate, stats.m_bTimeOfDay);
    if (stats.m_nSkipped > 0)
    {
        note += "; " + Lines(stats.m_nSkipped, bRecords ? "record" : "line") + " skipped";
        const long nFaults = stats.m_nSkipped - stats.m_nRoutineSkipped;
        if (nFaults > 0)
            note += " (" + std::to_string(nFaults) + " not " + (nFaults == 1 ? "a bar" : "bars") +
                    ", first: " + (bRecords ? "record " : "line ") +
                    std::to_string(stats.m_nFirstFaultLine) + ")";
        else
            note += " (headers and rows without prices)";
    }
    if (stats.m_bReordered)
        note += "; newest first, replayed oldest first";
    return note;
}

void ReportKLineLoad(const std::string& strPath, const SKLineLoad& load)
{
    if (load.m_eError == EKLineLoadError::CannotOpen)
        std::fprintf(stderr, "Error opening file: %s\n", KLineLoadFailureText(load).c_str());
    else if (load.m_vecBars.empty())
        std::fprintf(stderr, "%s: %s\n", strPath.c_str(), KLineLoadFailureText(load).c_str());
    else
        std::fprintf(stderr, "%s: %s\n", strPath.c_str(), KLineLoadNote(load).c_str());
}
