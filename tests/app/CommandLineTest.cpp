#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <cctype>
#include <initializer_list>
#include <string>
#include <vector>

namespace
{

// Parses "orvanta" followed by args.
SCommandLine Parse(std::initializer_list<const char*> args)
{
    std::vector<const char*> argv{"orvanta"};
    argv.insert(argv.end(), args);
    argv.push_back(nullptr);
    return ParseCommandLine(static_cast<int>(argv.size()) - 1, argv.data());
}

struct SCase
{
    std::initializer_list<const char*> args;
    ECommandAction eAction;
    const char* pszStartFile;
    const char* pszError;
};

TEST(CommandLineTest, ActsOnTheFirstDecidingArgument)
{
    const SCase cases[] = {
        {{}, ECommandAction::Run, "", ""},
        {{"data.csv"}, ECommandAction::Run, "data.csv", ""},
        {{"/tmp/k line.csv"}, ECommandAction::Run, "/tmp/k line.csv", ""},
        {{"--help"}, ECommandAction::ShowHelp, "", ""},
        {{"-h"}, ECommandAction::ShowHelp, "", ""},
        {{"--version"}, ECommandAction::ShowVersion, "", ""},
        {{"data.csv", "--help"}, ECommandAction::ShowHelp, "", ""},
        {{"--version", "--help"}, ECommandAction::ShowVersion, "", ""},
        {{"--help", "--bogus"}, ECommandAction::ShowHelp, "", ""},
        {{"--bogus", "--help"}, ECommandAction::Refuse, "", "unknown option '--bogus'"},
        {{"-x"}, ECommandAction::Refuse, "", "unknown option '-x'"},
        // Near misses of real options are not taken for them.
        {{"--help=all"}, ECommandAction::Refuse, "", "unknown option '--help=all'"},
        {{"--Version"}, ECommandAction::Refuse, "", "unknown option '--Version'"},
        {{"-hV"}, ECommandAction::Refuse, "", "unknown option '-hV'"},
        {{"---"}, ECommandAction::Refuse, "", "unknown option '---'"},
        // Toolkit options are not passed through; the program takes none of them.
        {{"-platform", "offscreen"}, ECommandAction::Refuse, "", "unknown option '-platform'"},
    };
    for (const SCase& c : cases)
    {
        std::string strArgs;
        for (const char* pszArg : c.args)
            strArgs += std::string(" ") + pszArg;
        SCOPED_TRACE("orvanta" + strArgs);
        const SCommandLine result = Parse(c.args);
        EXPECT_EQ(result.eAction, c.eAction);
        EXPECT_EQ(result.strStartFile, c.pszStartFile);
        EXPECT_EQ(result.strError, c.pszError);
    }
}

TEST(CommandLineTest, FilesThatLookLikeOptionsFollowTheEndOfOptions)
{
    EXPECT_EQ(Parse({"--", "-bars.csv"}).strStartFile, "-bars.csv");
    EXPECT_EQ(Parse({"--", "--help"}).eAction, ECommandAction::Run);
    EXPECT_EQ(Parse({"--", "--help"}).strStartFile, "--help");
    EXPECT_EQ(Parse({"--", "--"}).strStartFile, "--");
    EXPECT_EQ(Parse({"bars.csv", "--"}).strStartFile, "bars.csv");
    // A lone dash is a name, as in most tools.
    EXPECT_EQ(Parse({"-"}).eAction, ECommandAction::Run);
    EXPECT_EQ(Parse({"-"}).strStartFile, "-");
}

TEST(CommandLineTest, RefusesASecondFileInsteadOfIgnoringIt)
{
    const SCommandLine result = Parse({"a.csv", "b.csv", "c.csv"});
    EXPECT_EQ(result.eAction, ECommandAction::Refuse);
    EXPECT_EQ(result.strStartFile, "");
    EXPECT_EQ(result.strError, "one FILE at most; 'b.csv' is a second");
    EXPECT_EQ(Parse({"--", "a.csv", "-b.csv"}).eAction, ECommandAction::Refuse);
    // An empty argument still counts as a FILE; loading it fails later like any missing file.
    EXPECT_EQ(Parse({"", "a.csv"}).eAction, ECommandAction::Refuse);
}

TEST(CommandLineTest, UsageNamesEveryOptionTheParserTakes)
{
    const std::string strUsage = CommandLineUsage();
    EXPECT_EQ(strUsage.rfind("Usage: orvanta [--start YYYY-MM-DD] [--lang zh|en] [FILE]\n", 0), 0u);
    for (const char* pszOption : {"-h, --help", "--version", "--  ", "--start DATE", "--lang LANG"})
    {
        SCOPED_TRACE(pszOption);
        EXPECT_NE(strUsage.find(pszOption), std::string::npos);
    }
    EXPECT_EQ(strUsage.back(), '\n');
}

TEST(CommandLineTest, LanguageIsZhOrEnAndOtherwiseRefused)
{
    EXPECT_EQ(Parse({}).language, std::nullopt) << "the locale decides";
    EXPECT_EQ(Parse({"--lang", "en", "a.csv"}).language, ELanguage::English);
    EXPECT_EQ(Parse({"--lang", "en", "a.csv"}).strStartFile, "a.csv");
    EXPECT_EQ(Parse({"--lang=zh"}).language, ELanguage::Chinese);
    EXPECT_EQ(Parse({"--lang", "zh", "--lang", "en"}).language, ELanguage::English) << "last wins";
    const auto expectRefused = [](const SCommandLine& result, const char* pszError)
    {
        EXPECT_EQ(result.eAction, ECommandAction::Refuse) << pszError;
        EXPECT_EQ(result.strError, pszError);
    };
    expectRefused(Parse({"--lang", "fr"}), "--lang takes zh or en, not 'fr'");
    expectRefused(Parse({"--lang", "EN"}), "--lang takes zh or en, not 'EN'");
    expectRefused(Parse({"--lang"}), "--lang takes zh or en, not ''");
    expectRefused(Parse({"--lang="}), "--lang takes zh or en, not ''");
    expectRefused(Parse({"--language=en"}), "unknown option '--language=en'");
}

TEST(CommandLineTest, VersionIsTheProgramNameAndADottedNumber)
{
    const std::string strVersion = CommandLineVersion();
    ASSERT_EQ(strVersion.rfind("orvanta ", 0), 0u);
    const std::string strNumber = strVersion.substr(8);
    ASSERT_FALSE(strNumber.empty());
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(strNumber.front())));
    EXPECT_EQ(strNumber.find_first_not_of("0123456789."), std::string::npos) << strNumber;
}

} // namespace

namespace
{

struct SStartCase
{
    std::initializer_list<const char*> args;
    ECommandAction eAction;
    const char* pszStartDate;
    const char* pszError;
};

TEST(CommandLineTest, StartDateNeedsADateAndAFile)
{
    const SStartCase cases[] = {
        {{"--start", "2021-03-04", "a.csv"}, ECommandAction::Run, "2021-03-04", ""},
        {{"a.csv", "--start=2021-03-04"}, ECommandAction::Run, "2021-03-04", ""},
        {{"--start", "2021-3-4", "a.csv"},
         ECommandAction::Refuse,
         "",
         "--start needs a date YYYY-MM-DD, not '2021-3-4'"},
        {{"a.csv", "--start"},
         ECommandAction::Refuse,
         "",
         "--start needs a date YYYY-MM-DD, not ''"},
        {{"--start", "2021-03-04"}, ECommandAction::Refuse, "", "--start needs a FILE to start in"},
        {{"--start", "2021-03-04", "--help"}, ECommandAction::ShowHelp, "", ""},
    };
    for (const SStartCase& c : cases)
    {
        const SCommandLine result = Parse(c.args);
        EXPECT_EQ(result.eAction, c.eAction) << *c.args.begin();
        EXPECT_EQ(result.strStartDate, c.pszStartDate);
        EXPECT_EQ(result.strError, c.pszError);
    }
}

} // namespace
