#include "platform/Accelerator.h"

#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/testsupport/TestSupport.h"
#include "platform/Wnd.h"

namespace
{

constexpr WORD kPlay = 100, kBuy = 101, kFaster = 102, kSave = 103;
const ACCEL kTable[] = {
    {FVIRTKEY, VK_SPACE, kPlay},       {FVIRTKEY, 'B', kBuy},
    {FVIRTKEY, VK_OEM_PLUS, kFaster},  {FVIRTKEY, VK_ADD, kFaster},
    {FVIRTKEY | FCONTROL, 'S', kSave},
};

TEST(AcceleratorTest, LooksUpKeysWithTheirModifiers)
{
    HACCEL hAccel = CreateAcceleratorTable(kTable, 5);
    ASSERT_NE(hAccel, nullptr);
    struct SCase
    {
        int nKey;
        Qt::KeyboardModifiers modifiers;
        WORD nCmd;
    } const cases[] = {
        {Qt::Key_Space, Qt::NoModifier, kPlay},
        {Qt::Key_B, Qt::NoModifier, kBuy},
        {Qt::Key_B, Qt::ShiftModifier, kBuy}, // Shift is free unless asked for
        {Qt::Key_B, Qt::ControlModifier, 0},  // Control is not
        {Qt::Key_Plus, Qt::ShiftModifier, kFaster},
        {Qt::Key_Equal, Qt::NoModifier, kFaster},
        {Qt::Key_Plus, Qt::KeypadModifier, kFaster},
        {Qt::Key_S, Qt::NoModifier, 0},
        {Qt::Key_S, Qt::ControlModifier, kSave},
        {Qt::Key_S, Qt::ControlModifier | Qt::AltModifier, 0},
        {Qt::Key_F1, Qt::NoModifier, 0},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(LookUpAccelerator(hAccel, c.nKey, static_cast<unsigned>(c.modifiers.toInt())),
                  c.nCmd)
            << c.nKey;
    EXPECT_EQ(LookUpAccelerator(nullptr, Qt::Key_Space, 0), 0);
    EXPECT_TRUE(DestroyAcceleratorTable(hAccel));
    EXPECT_EQ(CreateAcceleratorTable(kTable, 0), nullptr);
}

// A window that notes the commands its table sends.
class CKeyWnd : public CWnd
{
public:
    std::vector<WORD> m_vecCommands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        m_vecCommands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

TEST(AcceleratorTest, KeysReachTheWindowPastAFocusedChild)
{
    CKeyWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "keys", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    CWnd child;
    ASSERT_TRUE(
        child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &wnd, 7));
    HACCEL hAccel = CreateAcceleratorTable(kTable, 5);
    ASSERT_TRUE(SetWindowAccelerators(wnd.GetSafeHwnd(), hAccel));
    QWidget* pChild = WidgetFromHwnd(child.GetSafeHwnd());
    QTest::keyClick(pChild, Qt::Key_Space);
    QTest::keyClick(pChild, Qt::Key_X); // not in the table: left to the control
    QTest::keyClick(pChild, Qt::Key_B);
    EXPECT_EQ(wnd.m_vecCommands, (std::vector<WORD>{kPlay, kBuy}));

    ASSERT_TRUE(SetWindowAccelerators(wnd.GetSafeHwnd(), nullptr));
    QTest::keyClick(pChild, Qt::Key_Space);
    EXPECT_EQ(wnd.m_vecCommands.size(), 2U);
    child.DestroyWindow();
    wnd.DestroyWindow();
    DestroyAcceleratorTable(hAccel);
}

} // namespace
