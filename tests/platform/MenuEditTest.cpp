#include "platform/Menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Each item of the menu as "text#id" ("--" for a separator, "text>" for a submenu).
std::vector<std::string> Items(const CMenu& menu)
{
    std::vector<std::string> vecItems;
    for (UINT i = 0; i < menu.GetMenuItemCount(); ++i)
    {
        const UINT nId = menu.GetMenuItemID(static_cast<int>(i));
        std::string strText;
        menu.GetMenuString(i, strText, MF_BYPOSITION);
        if (nId == 0)
            vecItems.push_back("--");
        else if (nId == static_cast<UINT>(-1))
            vecItems.push_back(strText + ">");
        else
            vecItems.push_back(strText + "#" + std::to_string(nId));
    }
    return vecItems;
}

using Strings = std::vector<std::string>;

TEST(MenuEditTest, InsertsBeforeAPositionOrACommandAtAnyDepth)
{
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    CMenu* pFile = new CMenu; // owned by the bar once appended
    ASSERT_TRUE(pFile->CreatePopupMenu());
    pFile->AppendMenu(MF_STRING, 10, "Open");
    pFile->AppendMenu(MF_SEPARATOR);
    pFile->AppendMenu(MF_STRING, 11, "Quit");
    ASSERT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(pFile->Detach()), "File"));
    delete pFile;
    CMenu* pShown = bar.GetSubMenu(0);
    ASSERT_NE(pShown, nullptr);

    // By command through the bar: the item lands in the submenu that holds the command.
    EXPECT_TRUE(bar.InsertMenu(11, MF_BYCOMMAND | MF_STRING, 20, "1 a.csv"));
    EXPECT_TRUE(bar.InsertMenu(11, MF_BYCOMMAND | MF_SEPARATOR));
    EXPECT_TRUE(pShown->InsertMenu(0, MF_BYPOSITION | MF_STRING, 21, "New"));
    EXPECT_TRUE(pShown->InsertMenu(99, MF_BYPOSITION | MF_STRING, 22, "Last"));
    EXPECT_EQ(Items(*pShown),
              (Strings{"New#21", "Open#10", "--", "1 a.csv#20", "--", "Quit#11", "Last#22"}));
    EXPECT_FALSE(bar.InsertMenu(12345, MF_BYCOMMAND | MF_STRING, 23, "nowhere"));
    EXPECT_FALSE(pShown->InsertMenu(0, MF_BYPOSITION | MF_POPUP, 0, "no submenu"));

    // Deleting by command or position; the flags of the item do not carry MF_BYPOSITION.
    EXPECT_TRUE(bar.DeleteMenu(20, MF_BYCOMMAND));
    EXPECT_TRUE(pShown->DeleteMenu(3, MF_BYPOSITION));
    EXPECT_TRUE(pShown->DeleteMenu(0, MF_BYPOSITION));
    EXPECT_FALSE(bar.DeleteMenu(20, MF_BYCOMMAND)) << "already gone";
    EXPECT_FALSE(pShown->DeleteMenu(9, MF_BYPOSITION));
    EXPECT_EQ(Items(*pShown), (Strings{"Open#10", "--", "Quit#11", "Last#22"}));

    // A submenu goes with its item.
    EXPECT_TRUE(bar.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_EQ(bar.GetMenuItemCount(), 0u);
    EXPECT_EQ(bar.GetSubMenu(0), nullptr);
}

} // namespace
