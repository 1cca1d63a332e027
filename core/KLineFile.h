#pragma once

#include "chart/ChartCandlestickPoint.h"
#include "core/KLineLayout.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reading price files. The layout comes from the file's first lines (RecognizeKLineLayout) or
// from the caller; then every line is read with that one layout in a single pass. A line that
// is not a bar (a header, a footer, a row without prices, a bad date or time, an empty or
// non-numeric price, a high under the low, an open or close outside high..low, a price beyond
// 1e12 in magnitude) is skipped and counted. Lines end with LF, CRLF or a lone CR; a UTF-8
// byte-order mark is not part of the first line.

// Far above any bar; a longer line is skipped without being held in memory.
constexpr std::size_t kMaxKLineLine = std::size_t(1) << 20;

// Prices beyond this in magnitude are not bars: products of two of them stay finite.
constexpr double kMaxKLinePrice = 1e12;

// Most decimals a price is noted with; more are not shown.
constexpr int kMostKLinePriceDecimals = 10;

// What a read found besides the bars. Binary files count records where text files count lines.
struct SKLineReadStats
{
    long m_nLines = 0;            // lines seen, blank ones included
    long m_nSkipped = 0;          // non-blank lines that are not bars, header lines included
    long m_nRoutineSkipped = 0;   // of those: header lines, rows without any price, footers
    long m_nFirstSkippedLine = 0; // 1-based, 0 when none was skipped
    long m_nFirstFaultLine = 0;   // first skipped line that is not routine; 0 when none
    bool m_bReordered = false;    // the bars were not in date order and have been sorted
    int m_nPriceDecimals = 0;     // most digits after the decimal mark in a price of a bar
    bool m_bTimeOfDay = false;    // some bar carries a time of day other than midnight
};

// Why a load gave no bars.
enum class EKLineLoadError
{
    None,
    CannotOpen,     // m_nErrno says why
    NotRegularFile, // m_eFileType says what it is
    ReadError,      // m_nErrno says why
    Empty,          // no byte, or only blank lines
    NotText,        // binary bytes where text was expected
    UnknownLayout,  // no layout reads the first lines as bars
    AmbiguousLayout,
    NoBars,    // lines were read, none of them is a bar
    BadBinary, // a .hst of another version, or a file shorter than one record
};

enum class EKLineFileType
{
    Regular,
    Directory,
    NamedPipe,
    Socket,
    CharacterDevice,
    BlockDevice,
    Other,
};

struct SKLineLoad
{
    SKLineLayout m_layout; // the layout read with (or proposed, when it was not recognised)
    EKLineRecognition m_eRecognition = EKLineRecognition::Recognized;
    std::vector<SChartCandlestickPoint> m_vecBars;
    // One per bar when the layout has a volume column (NaN where a bar's field holds none);
    // empty when the file has no volume.
    std::vector<double> m_vecVolumes;
    SKLineReadStats m_stats;
    EKLineLoadError m_eError = EKLineLoadError::None;
    int m_nErrno = 0;
    EKLineFileType m_eFileType = EKLineFileType::Regular;
};

// Reads a price file: refuses anything but a regular file before reading (a named pipe is
// opened without blocking), finds the layout unless one is given, reads every bar. True when at
// least one bar was read; otherwise m_eError says why (KLineLoadFailureText puts it in words).
bool LoadKLineFile(const std::string& strPath, SKLineLoad* pLoad,
                   const SKLineLayout* pLayout = nullptr);
bool LoadKLineFile(const std::string& strPath, SKLineLoad* pLoad, const SKLineLayout* pLayout,
                   EKLineDateOrder eLocaleOrder);

// The same from a descriptor the caller opened and closes; fileName gives the extension.
bool LoadKLineDescriptor(int fd, std::string_view fileName, SKLineLoad* pLoad,
                         const SKLineLayout* pLayout, EKLineDateOrder eLocaleOrder);

// Reads text already in memory with a layout, up to nMaxBars bars (an import dialog's preview).
bool ReadKLineText(std::string_view text, const SKLineLayout& layout, SKLineLoad* pLoad,
                   std::size_t nMaxBars = SIZE_MAX);

// A year-first date with an optional time of day, as plain files write it ("2014/1/13",
// "2017-04-25 13:00"). False, *pdDate untouched, when it names no valid day and time.
bool ParseKLineDate(std::string_view text, double* pdDate);

// The start of a regular file, at most nMaxBytes of it, ending after a whole line when the file
// is longer (an import dialog's sample). False, with the reason in words, when it cannot be read.
bool ReadKLineFileHead(const std::string& strPath, std::size_t nMaxBytes, std::string* pHead,
                       std::string* pReason);

// The layout of a file from its first lines, without reading the rest (an import dialog's
// presets). Unknown, with *pLayout the plain default, when the file cannot be opened.
EKLineRecognition RecognizeKLineFile(const std::string& strPath, EKLineDateOrder eLocaleOrder,
                                     SKLineLayout* pLayout);
