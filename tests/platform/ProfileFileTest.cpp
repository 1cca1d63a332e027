#include "platform/ProfileFile.h"

#include "ConfigHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class ProfileFileTest : public ::testing::Test
{
protected:
    fs::path IniPath() const { return m_home.IniPath(); }

    void WriteIni(const std::string& strText) const
    {
        fs::create_directories(IniPath().parent_path());
        std::ofstream(IniPath(), std::ios::binary) << strText;
    }

    std::string ReadIni() const
    {
        std::ifstream in(IniPath(), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    CConfigHome m_home;
    const fs::path m_root = m_home.Root();
};

} // namespace

TEST_F(ProfileFileTest, ValuesComeBackAndTheFolderIsMadeOnFirstWrite)
{
    EXPECT_FALSE(fs::exists(m_root / "config"));
    EXPECT_EQ(GetProfileString("Replay", "Speed", "none"), "none");
    EXPECT_EQ(GetProfileInt("Replay", "Speed", 7), 7);

    ASSERT_TRUE(WriteProfileInt("Replay", "Speed", 500));
    ASSERT_TRUE(WriteProfileString("RecentFiles", "File1", "/data/a b=c.csv"));
    ASSERT_TRUE(WriteProfileString("Replay", "Language", "中文"));
    ASSERT_TRUE(WriteProfileInt("Replay", "Speed", -2000)); // replaces, keeps its place
    ASSERT_TRUE(WriteProfileString("RecentFiles", "Empty", ""));

    EXPECT_EQ(GetProfileInt("Replay", "Speed", 7), -2000);
    EXPECT_EQ(GetProfileInt("replay", "SPEED", 7), -2000) << "names match in any case";
    EXPECT_EQ(GetProfileString("RecentFiles", "File1", ""), "/data/a b=c.csv");
    EXPECT_EQ(GetProfileString("Replay", "Language", ""), "中文");
    EXPECT_EQ(GetProfileString("RecentFiles", "Empty", "x"), "");
    EXPECT_EQ(GetProfileString("RecentFiles", "File2", "x"), "x");
    EXPECT_EQ(ReadIni(), "[Replay]\nSpeed=-2000\nLanguage=中文\n\n"
                         "[RecentFiles]\nFile1=/data/a b=c.csv\nEmpty=\n");
    EXPECT_EQ(fs::status(IniPath().parent_path()).permissions() & fs::perms::all,
              fs::perms::owner_all);
}

TEST_F(ProfileFileTest, HandWrittenFilesAreRead)
{
    WriteIni("; made by hand\r\n\n  [ Replay ]  \r\n Speed = 200\r\n# note\nName= two  words \n"
             "[Other]\nSpeed=1\n[replay]\nExtra=3\n");
    EXPECT_EQ(GetProfileInt("Replay", "Speed", 0), 200);
    EXPECT_EQ(GetProfileString("Replay", "Name", ""), " two  words ");
    EXPECT_EQ(GetProfileInt("Replay", "Extra", 0), 3) << "a section named again continues";
    EXPECT_EQ(GetProfileInt("Other", "Speed", 0), 1);
}

TEST_F(ProfileFileTest, NumbersAreReadLikeTheStartOfAText)
{
    const struct
    {
        const char* pszValue;
        int nRead;
    } cases[] = {
        {"12", 12},
        {" -5", -5},
        {"+9", 9},
        {"12ab", 12},
        {"abc", 99},
        {"", 99},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(WriteProfileString("N", "Value", c.pszValue));
        EXPECT_EQ(GetProfileInt("N", "Value", 99), c.nRead) << '"' << c.pszValue << '"';
    }
}

TEST_F(ProfileFileTest, NamesAndValuesTheFileCannotHoldAreRefused)
{
    const struct
    {
        const char* pszSection;
        const char* pszKey;
        std::string strValue;
    } cases[] = {
        {"S", "a=b", "v"}, {"S", "k", "two\nlines"}, {"S", "k", "cr\r"},
        {"S", "k\n", "v"}, {"S", "", "v"},           {"", "k", "v"},
        {"S]", "k", "v"},  {"S", " k", "v"},         {"S", "[k", "v"},
        {"S", ";k", "v"},  {"S\n", "k", "v"},        {"S", "k", std::string("nul\0", 4)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(WriteProfileString(c.pszSection, c.pszKey, c.strValue))
            << c.pszSection << "/" << c.pszKey;
    EXPECT_FALSE(fs::exists(IniPath())) << "nothing refused is written";
}

TEST_F(ProfileFileTest, DamagedFilesAreIgnoredWithOneNote)
{
    const struct
    {
        std::string strText;
        const char* pszReason;
    } cases[] = {
        {std::string("[S]\nk=v\n\x01\x02\xff\0garbage", 19), "binary data on line 3"},
        {"[S]\nk=v\njust words\n", "no '=' on line 3"},
        {"k=v\n[S]\n", "a key before any section on line 1"},
        {"[]\nk=v\n", "bad section name on line 1"},
        {"[S]\n=v\n", "bad key on line 2"},
        {"[S]\n" + std::string(2 << 20, 'x') + "=1\n", "larger than 1048576 bytes"},
    };
    for (const auto& c : cases)
    {
        WriteIni(c.strText);
        testing::internal::CaptureStderr();
        EXPECT_EQ(GetProfileString("S", "k", "default"), "default") << c.pszReason;
        EXPECT_EQ(GetProfileString("S", "k", "default"), "default") << c.pszReason;
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Settings: ignoring " + IniPath().string() + ": " + c.pszReason + "\n");
    }
    // Writing replaces the damaged file with a sound one.
    ASSERT_TRUE(WriteProfileString("S", "k", "new"));
    EXPECT_EQ(ReadIni(), "[S]\nk=new\n");
}

TEST_F(ProfileFileTest, AFolderInThePlaceOfTheFileIsNeitherReadNorReplaced)
{
    fs::create_directories(IniPath());
    testing::internal::CaptureStderr();
    EXPECT_EQ(GetProfileInt("S", "k", 4), 4);
    EXPECT_FALSE(WriteProfileInt("S", "k", 5));
    const std::string strNotes = testing::internal::GetCapturedStderr();
    EXPECT_NE(strNotes.find("Settings: ignoring " + IniPath().string() + ": not a regular file"),
              std::string::npos)
        << strNotes;
    EXPECT_NE(strNotes.find("Settings: cannot save " + IniPath().string()), std::string::npos)
        << strNotes;
    EXPECT_TRUE(fs::is_directory(IniPath()));
}

TEST_F(ProfileFileTest, AReadOnlyFileIsLeftAsItWas)
{
    WriteIni("[S]\nk=old\n");
    fs::permissions(IniPath(), fs::perms::owner_read | fs::perms::group_read);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteProfileString("S", "k", "new"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Settings: cannot save " +
                                                          IniPath().string() + ": " +
                                                          IniPath().string() + " is read-only\n");
    EXPECT_EQ(ReadIni(), "[S]\nk=old\n");
    EXPECT_EQ(GetProfileString("S", "k", ""), "old");
}

TEST_F(ProfileFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    WriteIni("[S]\nk=old\n");
    // A file size limit makes the write fail as a full disk would, for root too.
    rlimit old = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    CProfileFile profile(IniPath().string());
    profile.Load();
    ASSERT_TRUE(profile.Set("S", "k", std::string(200, 'n')));
    std::string strReason;
    const bool bWritten = profile.Save(&strReason);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(bWritten);
    EXPECT_EQ(strReason.rfind("cannot write " + IniPath().string() + ": ", 0), 0u) << strReason;
    EXPECT_EQ(ReadIni(), "[S]\nk=old\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(IniPath().parent_path()), {}), 1);
}

TEST_F(ProfileFileTest, TheFileLivesUnderXdgConfigHomeElseUnderHome)
{
    EXPECT_EQ(ProfileFilePath(), IniPath().string());
    ::setenv("HOME", (m_root / "home").c_str(), 1);
    const std::string strUnderHome = (m_root / "home/.config/orvanta/orvanta.ini").string();
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ProfileFilePath(), strUnderHome);
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(ProfileFilePath(), strUnderHome) << "a relative folder does not count";
    ASSERT_TRUE(WriteProfileInt("S", "k", 1));
    EXPECT_TRUE(fs::exists(strUnderHome));

    ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ProfileFilePath(), "");
    EXPECT_EQ(GetProfileInt("S", "k", 3), 3);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteProfileInt("S", "k", 2));
    testing::internal::GetCapturedStderr();
}
