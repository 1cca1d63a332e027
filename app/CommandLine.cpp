#include "app/CommandLine.h"

#include "app/Resources.h"

#include <cctype>
#include <string_view>

namespace
{

// The value of "--name VALUE" or "--name=VALUE" at argv[i]; i moves past a separate value.
std::string_view OptionValue(std::string_view name, int argc, const char* const* argv, int& i)
{
    const std::string_view arg = argv[i];
    if (arg.size() > name.size())
        return arg.substr(name.size() + 1);
    if (i + 1 < argc && argv[i + 1] != nullptr)
        return argv[++i];
    return {};
}

bool IsOption(std::string_view arg, std::string_view name)
{
    return arg == name ||
           (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=');
}

// YYYY-MM-DD by its shape; whether the file has such a day is for the replay to say.
bool LooksLikeDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != 4 && i != 7 && std::isdigit(static_cast<unsigned char>(text[i])) == 0)
            return false;
    return true;
}

// Later options belong in this text and in the manual page, next to the parser's cases.
constexpr const char* kUsage =
    "Usage: orvanta [--start YYYY-MM-DD] [--lang zh|en] [FILE]\n"
    "       orvanta --help | --version\n"
    "\n"
    "Trading practice on a candlestick chart: replays the K-line FILE (date, open,\n"
    "high, low, close in the layout of most exporters) bar by bar while you trade\n"
    "at the newest close or place orders that wait. Without FILE the program starts\n"
    "empty; 加载K线 picks a file.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "  --version      show the program name and version and exit\n"
    "  --start DATE   start the practice at the last bar on or before DATE\n"
    "                 (YYYY-MM-DD), with at least a window of bars before it\n"
    "  --lang LANG    texts of the window in LANG: zh (Chinese) or en (English);\n"
    "                 without it an English locale (LC_ALL, LC_MESSAGES or LANG\n"
    "                 beginning with en) gives English, any other Chinese\n"
    "  --             end of options; a FILE beginning with '-' may follow\n"
    "\n"
    "Every trade is appended to YYYYMMDDTradeDetails.log in the current directory.\n";

} // namespace

SCommandLine ParseCommandLine(int argc, const char* const* argv)
{
    SCommandLine result;
    int nFiles = 0;
    std::string strExtraFile;
    bool bOptionsEnded = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
        // A lone "-" is a name, not an option.
        const bool bOption = !bOptionsEnded && arg.size() > 1 && arg.front() == '-';
        if (!bOption)
        {
            if (++nFiles == 1)
                result.strStartFile = arg;
            else if (nFiles == 2)
                strExtraFile = arg;
            continue;
        }
        if (arg == "--")
            bOptionsEnded = true;
        else if (arg == "-h" || arg == "--help")
            return {ECommandAction::ShowHelp, {}, {}};
        else if (arg == "--version")
            return {ECommandAction::ShowVersion, {}, {}};
        else if (IsOption(arg, "--start"))
        {
            const std::string_view date = OptionValue("--start", argc, argv, i);
            if (!LooksLikeDate(date))
                return {ECommandAction::Refuse,
                        {},
                        "--start needs a date YYYY-MM-DD, not '" + std::string(date) + "'"};
            result.strStartDate = date;
        }
        else if (IsOption(arg, "--lang"))
        {
            const std::string_view name = OptionValue("--lang", argc, argv, i);
            result.language = LanguageFromName(name);
            if (!result.language)
                return {ECommandAction::Refuse,
                        {},
                        "--lang takes zh or en, not '" + std::string(name) + "'"};
        }
        else
            return {ECommandAction::Refuse, {}, "unknown option '" + std::string(arg) + "'"};
    }
    if (nFiles > 1)
        return {ECommandAction::Refuse, {}, "one FILE at most; '" + strExtraFile + "' is a second"};
    if (!result.strStartDate.empty() && result.strStartFile.empty())
        return {ECommandAction::Refuse, {}, "--start needs a FILE to start in"};
    return result;
}

const char* CommandLineUsage()
{
    return kUsage;
}

std::string CommandLineVersion()
{
    return std::string("orvanta ") + ORVANTA_VERSION;
}
