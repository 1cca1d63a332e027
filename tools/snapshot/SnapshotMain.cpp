// orvanta-snapshot: renders a window of bars of a K-line file the way the replay shows it and
// saves the picture as a PNG.

#include "chart/ChartCandlestickSerie.h"
#include "chart/ChartCtrl.h"
#include "chart/ChartDateTimeAxis.h"
#include "chart/ChartStandardAxis.h"
#include "core/BarLabels.h"
#include "core/KLineFile.h"
#include "core/KLineMessages.h"
#include "core/ReplaySettings.h"
#include "platform/Bitmap.h"
#include "platform/DC.h"
#include "platform/PlatformApp.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr const char* kUsage =
    "usage: orvanta-snapshot FILE [OUT.png] [--first K] [--bars N] [--size WxH] [--labels]\n"
    "  Renders bars K to K+N-1 of the K-line FILE (K counts from 0; default: the first\n"
    "  window of the replay) as a candlestick chart of W x H pixels (default 640x400).\n"
    "  --labels also prints the labels drawn on the date and price axes.\n"
    "  The note on the layout found and the bars read goes to standard error; without\n"
    "  OUT.png that note is all it does.\n";

struct SOptions
{
    std::string strInput;
    std::string strOutput;
    int nFirst = 0;
    int nBars = 0;
    int nWidth = 640;
    int nHeight = 400;
    bool bLabels = false;
};

bool ParseInt(std::string_view text, int nMin, int nMax, int* pValue)
{
    int nValue = 0;
    const auto [pEnd, ec] = std::from_chars(text.data(), text.data() + text.size(), nValue);
    if (ec != std::errc() || pEnd != text.data() + text.size() || nValue < nMin || nValue > nMax)
        return false;
    *pValue = nValue;
    return true;
}

bool ParseSize(std::string_view text, int* pWidth, int* pHeight)
{
    const std::size_t nX = text.find_first_of("xX");
    return nX != std::string_view::npos && ParseInt(text.substr(0, nX), 16, 10000, pWidth) &&
           ParseInt(text.substr(nX + 1), 16, 10000, pHeight);
}

// False with a message on standard error for anything it cannot use.
bool ParseArguments(int argc, char** argv, SOptions* pOptions)
{
    std::string strError;
    int nPositional = 0;
    for (int i = 1; i < argc && strError.empty(); ++i)
    {
        const std::string_view arg = argv[i];
        const bool bHasValue = i + 1 < argc;
        if (arg == "--first" || arg == "--bars" || arg == "--size")
        {
            if (!bHasValue)
            {
                strError = std::string(arg) + " needs a value";
                break;
            }
            const std::string_view value = argv[++i];
            if (arg == "--first" && !ParseInt(value, 0, 2147483647, &pOptions->nFirst))
                strError =
                    "--first wants a bar index of 0 or more, not '" + std::string(value) + "'";
            else if (arg == "--bars" && !ParseInt(value, 1, 1000000, &pOptions->nBars))
                strError =
                    "--bars wants a count from 1 to 1000000, not '" + std::string(value) + "'";
            else if (arg == "--size" && !ParseSize(value, &pOptions->nWidth, &pOptions->nHeight))
                strError = "--size wants WxH with each side from 16 to 10000, not '" +
                           std::string(value) + "'";
        }
        else if (arg == "--labels")
            pOptions->bLabels = true;
        else if (arg.size() > 1 && arg[0] == '-')
            strError = "unknown option '" + std::string(arg) + "'";
        else if (nPositional == 0)
        {
            pOptions->strInput = arg;
            ++nPositional;
        }
        else if (nPositional == 1)
        {
            pOptions->strOutput = arg;
            ++nPositional;
        }
        else
            strError = "unexpected argument '" + std::string(arg) + "'";
    }
    if (strError.empty() && nPositional < 1)
        strError = "missing FILE";
    if (!strError.empty())
    {
        std::fprintf(stderr, "orvanta-snapshot: %s\n%s", strError.c_str(), kUsage);
        return false;
    }
    return true;
}

// One line of the labels an axis drew, left to right or bottom to top.
void PrintLabels(const char* pszName, const CChartAxis& axis)
{
    std::string strLine = pszName;
    const char* pszSeparator = ": ";
    double dTick = axis.GetFirstTick();
    for (int nCount = 0; nCount < 10000; ++nCount)
    {
        if (axis.IsLabelInside(dTick))
        {
            strLine += pszSeparator + axis.FormatTickLabel(dTick);
            pszSeparator = " | ";
        }
        double dNext = dTick;
        if (!axis.GetNextTick(dTick, &dNext) || dNext == dTick)
            break;
        dTick = dNext;
    }
    std::printf("%s\n", strLine.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
        {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    SOptions options;
    options.nBars = ReplaySettings().m_nWindowBars;
    if (!ParseArguments(argc, argv, &options))
        return 2;

    // The input is opened once, without waiting for a writer should it be a named pipe.
    const int fdInput = ::open(options.strInput.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat input = {};
    if (fdInput < 0 || ::fstat(fdInput, &input) != 0)
    {
        std::fprintf(stderr, "orvanta-snapshot: cannot read '%s': %s\n", options.strInput.c_str(),
                     std::strerror(errno));
        return 1;
    }
    ::fcntl(fdInput, F_SETFL, ::fcntl(fdInput, F_GETFL) & ~O_NONBLOCK);
    // By identity, not by name: "./a.csv", a link or a hard link are the same file.
    struct stat output = {};
    if (!options.strOutput.empty() && ::stat(options.strOutput.c_str(), &output) == 0 &&
        output.st_dev == input.st_dev && output.st_ino == input.st_ino)
    {
        std::fprintf(stderr, "orvanta-snapshot: '%s' is the input file; refusing to overwrite it\n",
                     options.strOutput.c_str());
        return 2;
    }
    SKLineLoad load;
    const bool bRead =
        LoadKLineDescriptor(fdInput, options.strInput, &load, nullptr, KLineLocaleDateOrder());
    ::close(fdInput);
    ReportKLineLoad(options.strInput, load);
    if (!bRead)
        return 1;
    const std::vector<SChartCandlestickPoint>& vecBars = load.m_vecBars;
    const SKLineReadStats& stats = load.m_stats;
    if (options.strOutput.empty())
        return 0;
    const int nBarCount = static_cast<int>(vecBars.size());
    if (options.nFirst >= nBarCount)
    {
        std::fprintf(stderr,
                     "orvanta-snapshot: --first %d is past the last bar (the file has %d)\n",
                     options.nFirst, nBarCount);
        return 2;
    }
    const int nAvailable = nBarCount - options.nFirst;
    if (options.nBars > nAvailable)
    {
        std::fprintf(stderr, "orvanta-snapshot: only %d bars from bar %d on; showing those\n",
                     nAvailable, options.nFirst);
        options.nBars = nAvailable;
    }

    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    CPlatformApp app(argc, argv);

    // The replay's chart: dates at the bottom, prices at the left, both fitted to the bars.
    CChartCtrl chart;
    if (!chart.CreateEx(0, "ChartCtrl", "", WS_POPUP, RECT{0, 0, options.nWidth, options.nHeight},
                        nullptr, 0))
    {
        std::fprintf(stderr, "orvanta-snapshot: cannot create the chart window\n");
        return 1;
    }
    CChartDateTimeAxis* pDateAxis = chart.NewDateTimeAxis();
    pDateAxis->SetTickLabelFormat(false, "%Y-%m-%d");
    pDateAxis->SetRangeMode(AllPoints);
    CChartStandardAxis* pPriceAxis = chart.NewStandardAxis();
    pPriceAxis->SetRangeMode(AllPoints);
    FitAxesToBars(pDateAxis, pPriceAxis, stats.m_bTimeOfDay,
                  ShownPriceDecimals(stats.m_nPriceDecimals));

    auto* pSerie = new CChartCandlestickSerie(&chart);
    chart.AttachSerie(pSerie);
    pSerie->AddPoints(vecBars.data() + options.nFirst, unsigned(options.nBars));

    CBitmap* pBitmap = chart.GetBufferDC()->GetCurrentBitmap();
    errno = 0;
    if (pBitmap == nullptr || !pBitmap->SaveAsPng(options.strOutput.c_str()))
    {
        std::fprintf(stderr, "orvanta-snapshot: cannot write '%s': %s\n", options.strOutput.c_str(),
                     std::strerror(errno != 0 ? errno : EIO));
        return 1;
    }
    std::printf("%s: bars %d to %d of %d, %dx%d\n", options.strOutput.c_str(), options.nFirst,
                options.nFirst + options.nBars - 1, nBarCount, options.nWidth, options.nHeight);
    if (options.bLabels)
    {
        PrintLabels("date labels", *pDateAxis);
        PrintLabels("price labels", *pPriceAxis);
    }
    return 0;
}
