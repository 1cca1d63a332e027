#include "app/RecentFiles.h"
#include "platform/ProfileFile.h"
#include "tests/platform/ConfigHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{

using Files = std::vector<std::string>;

class RecentFilesTest : public ::testing::Test
{
protected:
    CConfigHome m_home;
    CRecentFiles m_recent;
};

} // namespace

TEST_F(RecentFilesTest, NewestFirstWithoutRepeatsAndAtMostFive)
{
    for (const char* pszPath : {"/d/a.csv", "/d/b.csv", "/d/c.csv"})
        m_recent.Add(pszPath);
    EXPECT_EQ(m_recent.Files(), (Files{"/d/c.csv", "/d/b.csv", "/d/a.csv"}));

    m_recent.Add("/d/a.csv");
    EXPECT_EQ(m_recent.Files(), (Files{"/d/a.csv", "/d/c.csv", "/d/b.csv"}));
    m_recent.Add("/d/a.csv");
    EXPECT_EQ(m_recent.Files(), (Files{"/d/a.csv", "/d/c.csv", "/d/b.csv"}));

    for (const char* pszPath : {"/d/d.csv", "/d/e.csv", "/d/f.csv"})
        m_recent.Add(pszPath);
    EXPECT_EQ(m_recent.Files(),
              (Files{"/d/f.csv", "/d/e.csv", "/d/d.csv", "/d/a.csv", "/d/c.csv"}));

    m_recent.Remove("/d/./d.csv");
    EXPECT_EQ(m_recent.Files(), (Files{"/d/f.csv", "/d/e.csv", "/d/a.csv", "/d/c.csv"}));
}

TEST_F(RecentFilesTest, SpellingsOfOneFileAreOneEntry)
{
    const std::string strHere = std::filesystem::current_path().string();
    m_recent.Add("data/bars.csv");
    m_recent.Add("/d/x/../a.csv");
    m_recent.Add(strHere + "/data/./bars.csv");
    m_recent.Add("//d//a.csv");
    m_recent.Add("");
    m_recent.Add("/d/line\nbreak.csv");
    EXPECT_EQ(m_recent.Files(), (Files{"/d/a.csv", strHere + "/data/bars.csv"}));
}

TEST_F(RecentFilesTest, TheListSurvivesASaveAndALoad)
{
    for (const char* pszPath : {"/d/a.csv", "/d/b b.csv", "/d/中文=1.csv"})
        m_recent.Add(pszPath);
    ASSERT_TRUE(m_recent.Save());
    EXPECT_EQ(GetProfileString("RecentFiles", "File1", ""), "/d/中文=1.csv");
    EXPECT_EQ(GetProfileString("RecentFiles", "File3", ""), "/d/a.csv");

    CRecentFiles loaded;
    loaded.Load();
    EXPECT_EQ(loaded.Files(), m_recent.Files());

    // A shorter list clears the places it no longer fills.
    CRecentFiles shorter;
    shorter.Add("/d/z.csv");
    ASSERT_TRUE(shorter.Save());
    loaded.Load();
    EXPECT_EQ(loaded.Files(), (Files{"/d/z.csv"}));
}

TEST_F(RecentFilesTest, HandEditedListsAreCleanedOnLoad)
{
    std::filesystem::create_directories(m_home.IniPath().parent_path());
    std::ofstream(m_home.IniPath()) << "[Replay]\nSpeed=500\n[RecentFiles]\nFile1=/d/a.csv\n"
                                       "File2=\nFile3=/d/./a.csv\nFile4=/d/b.csv\nFile9=/d/c.csv\n";
    m_recent.Load();
    EXPECT_EQ(m_recent.Files(), (Files{"/d/a.csv", "/d/b.csv"}));
    ASSERT_TRUE(m_recent.Save());
    EXPECT_EQ(GetProfileInt("Replay", "Speed", 0), 500) << "other settings stay";
}

TEST_F(RecentFilesTest, NoSettingsFileMeansAnEmptyList)
{
    m_recent.Add("/d/a.csv");
    m_recent.Load();
    EXPECT_TRUE(m_recent.Files().empty());
}
