#include "AppTestSupport.h"
#include "app/OrvantaDlg.h"
#include "app/RecentFiles.h"
#include "platform/Menu.h"
#include "platform/testsupport/TestSupport.h"

#include <QMessageBox>
#include <gtest/gtest.h>

namespace
{

TEST(RecentFileMenuTextTest, NumbersTheItemKeepsAmpersandsAndShortensLongPaths)
{
    EXPECT_EQ(RecentFileMenuText(0, "/data/a.csv"), "&1 /data/a.csv");
    EXPECT_EQ(RecentFileMenuText(4, "/data/R&D.csv"), "&5 /data/R&&D.csv");
    const std::string strLong = "/home/trader/" + std::string(60, 'x') + "/行情/日线.csv";
    EXPECT_EQ(RecentFileMenuText(1, strLong), "&2 /home/…/日线.csv");
    const std::string strOneLongName = "/" + std::string(80, 'y') + ".csv";
    EXPECT_EQ(RecentFileMenuText(2, strOneLongName), "&3 " + strOneLongName) << "nothing to cut";
}

class RecentFilesMenuTest : public ::testing::Test
{
protected:
    void SetUp() override { EnsureAppTestToolkit(); }

    // The file menu's items after its last fixed item before the list (保存图片...), as shown.
    std::vector<std::string> FileMenuTail()
    {
        CMenu* pFile = m_dlg.GetMenu()->GetSubMenu(0);
        std::vector<std::string> vecItems;
        bool bAfterSave = false;
        for (UINT i = 0; i < pFile->GetMenuItemCount(); ++i)
        {
            const UINT nId = pFile->GetMenuItemID(static_cast<int>(i));
            if (bAfterSave)
            {
                std::string strText;
                pFile->GetMenuString(i, strText, MF_BYPOSITION);
                vecItems.push_back(nId == 0 ? "--" : strText);
            }
            bAfterSave = bAfterSave || nId == ID_MENU_SAVE_IMAGE;
        }
        return vecItems;
    }

    void RunDialog(const std::function<void()>& act) { RunModalDialog(m_dlg, act); }

    std::string Info() const
    {
        std::string strText;
        m_dlg.GetDlgItemText(IDC_EDIT_INFO, strText);
        return strText;
    }

    CWorkDir m_dir;
    COrvantaDlg m_dlg;
};

TEST_F(RecentFilesMenuTest, TheFileMenuListsTheLastFilesAndLoadsThem)
{
    const std::string strA = m_dir.Write("a.csv", KLineText(30));
    const std::string strB = m_dir.Write("b.csv", KLineText(40));
    const std::string strGone = (m_dir.Path() / "gone.csv").string();
    {
        CRecentFiles seeded;
        seeded.Add(strA);
        seeded.Add(strGone);
        seeded.Add(strB);
        ASSERT_TRUE(seeded.Save());
    }
    QString strBoxText;
    RunDialog(
        [&]
        {
            EXPECT_EQ(FileMenuTail(), (std::vector<std::string>{"--", "&1 " + strB, "&2 " + strGone,
                                                                "&3 " + strA, "--", "退出(&Q)"}));

            // Chosen the way the user does, from the menu: the file loads and moves to the front.
            ASSERT_TRUE(ChooseMenuItem(QString::fromStdString("3 " + strA)));
            EXPECT_NE(Info().find(strA), std::string::npos) << Info();
            EXPECT_NE(Info().find("(30)"), std::string::npos) << Info();
            EXPECT_EQ(FileMenuTail(),
                      (std::vector<std::string>{"--", "&1 " + strA, "&2 " + strB, "&3 " + strGone,
                                                "--", "退出(&Q)"}));

            // A file that went away says so and leaves the list.
            WhenModal([](QWidget* pWindow)
                      { return qobject_cast<QMessageBox*>(pWindow) != nullptr; },
                      [&](QWidget* pWindow)
                      {
                          auto* pBox = qobject_cast<QMessageBox*>(pWindow);
                          strBoxText = pBox->text();
                          pBox->button(QMessageBox::Ok)->click();
                      });
            m_dlg.SendMessage(WM_COMMAND, ID_MENU_RECENT_FIRST + 2, 0);
            EXPECT_EQ(FileMenuTail(), (std::vector<std::string>{"--", "&1 " + strA, "&2 " + strB,
                                                                "--", "退出(&Q)"}));
        });
    EXPECT_NE(strBoxText.toStdString().find(strGone), std::string::npos);

    // The next start finds the same list.
    CRecentFiles reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.Files(), (std::vector<std::string>{strA, strB}));
}

TEST_F(RecentFilesMenuTest, AFirstLoadStartsTheListAndAnEmptyListShowsNothing)
{
    const std::string strA = m_dir.Write("a.csv", KLineText(30));
    m_dlg.m_strStartFile = strA;
    RunDialog(
        [&] {
            EXPECT_EQ(FileMenuTail(),
                      (std::vector<std::string>{"--", "&1 " + strA, "--", "退出(&Q)"}));
        });
    CRecentFiles none;
    ASSERT_TRUE(none.Save());
    COrvantaDlg second;
    RunModalDialog(second,
                   [&]
                   {
                       CMenu* pFile = second.GetMenu()->GetSubMenu(0);
                       const int nItems = static_cast<int>(pFile->GetMenuItemCount());
                       EXPECT_EQ(pFile->GetMenuItemID(nItems - 1), ID_MENU_EXIT);
                       EXPECT_EQ(pFile->GetMenuItemID(nItems - 2), 0u);
                       EXPECT_EQ(pFile->GetMenuItemID(nItems - 3), ID_MENU_SAVE_IMAGE);
                   });
}

} // namespace
