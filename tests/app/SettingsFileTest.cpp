// The settings file as users have it: written by earlier versions, read by this one, and kept
// whole when the program writes it again.
#include "AppTestSupport.h"

#include "app/AppSettings.h"
#include "app/RecentFiles.h"

namespace
{

TEST(SettingsFileTest, ReadsTheFileEarlierVersionsWroteAndKeepsWhatItDoesNotKnow)
{
    CWorkDir dir;
    // Byte for byte as the previous versions wrote it, with names a user may have.
    dir.Write("config/orvanta/orvanta.ini",
              "[Replay]\nPeriodMs=500\n\n[Indicators]\nMA5=1\nMA10=0\nMA20=0\nMA60=1\n\n"
              "[RecentFiles]\nFile1=/data/日线/SH600000.txt\nFile2=/data/a, b & c.csv\n"
              "File3=\nFile4=/data/x=y;z.csv\nFile5=\n\n[Later]\nKey=kept\n");
    CSettingsFile file;
    SAppSettings settings = file.readSettings();
    EXPECT_EQ(settings.nPeriodMs, 500);
    EXPECT_EQ(settings.arrAverages, (std::array<bool, 4>{true, false, false, true}));
    EXPECT_EQ(settings.vecRecentFiles,
              (std::vector<std::string>{"/data/日线/SH600000.txt", "/data/a, b & c.csv",
                                        "/data/x=y;z.csv"}));
    EXPECT_TRUE(file.TakeNote().isEmpty());

    // What is written reads back the same, and a section of a later version survives.
    settings.vecRecentFiles.insert(settings.vecRecentFiles.begin(), "/new/\"quoted\".csv");
    ASSERT_TRUE(file.writeSettings(settings));
    CSettingsFile again;
    const SAppSettings read = again.readSettings();
    EXPECT_EQ(read.vecRecentFiles, settings.vecRecentFiles);
    EXPECT_EQ(read.nPeriodMs, 500);
    EXPECT_NE(FileText(dir.SettingsFile()).find("Key=kept"), std::string::npos);
}

TEST(RecentFilesTest, NewestFirstWithoutRepeatsSpelledOnceAndAtMostFive)
{
    CWorkDir dir;
    CRecentFiles recent;
    for (const char* pszPath : {"a.csv", "b.csv", "./a.csv", "c.csv", "d.csv", "e.csv", "f.csv"})
        recent.Add(pszPath);
    const std::string strDir = dir.Path().string() + "/";
    EXPECT_EQ(recent.Files(),
              (std::vector<std::string>{strDir + "f.csv", strDir + "e.csv", strDir + "d.csv",
                                        strDir + "c.csv", strDir + "a.csv"}));
    recent.Remove(strDir + "sub/../e.csv");
    EXPECT_EQ(recent.Files().size(), 4U);
    recent.SetFiles({"/x.csv", "", "/y.csv", "/x.csv"});
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/x.csv", "/y.csv"}));

    EXPECT_EQ(RecentFileMenuText(0, "/data/R&D.csv"), "&1 /data/R&&D.csv");
    EXPECT_EQ(RecentFileMenuText(4, "/home/trader/" + std::string(60, 'x') + "/deep/file.csv"),
              "&5 /home/…/file.csv");
}

} // namespace
