// Dialogs from templates driven through real widgets: layout in dialog units, tab order, data
// exchange, how modal dialogs end, controls, the menu bar and the file dialog.
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

#include "platform/Button.h"
#include "platform/CmdTarget.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/FileDialog.h"
#include "platform/Font.h"
#include "platform/Menu.h"
#include "platform/Resource.h"
#include "platform/testsupport/TestSupport.h"
#include "tests/platform/ProbeWnd.h"
#include "tests/platform/WhenModal.h"

namespace
{

constexpr UINT kDialogId = 9200;
constexpr UINT kMenuDialogId = 9201;
constexpr UINT kMenuId = 9202;
constexpr int kIntervalEdit = 1004;
constexpr int kNoteEdit = 1005;
constexpr int kGroup = 1006;
constexpr int kLabel = 1007;
constexpr int kHiddenButton = 1010;
constexpr int kDisabledButton = 1011;
constexpr int kCustom = 1000;
constexpr UINT kApplyCommand = 32771;

void RegisterTemplates()
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(AfxGetInstanceHandle(), "DlgProbeCustom", &wc))
    {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.lpszClassName = "DlgProbeCustom";
        RegisterClassA(&wc);
    }
    SDialogTemplate t;
    t.nId = kDialogId;
    t.cx = 200;
    t.cy = 120;
    t.dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.pszCaption = "设置";
    t.pszFace = "MS Shell Dlg";
    t.nPointSize = 9;
    t.items = {
        {"STATIC", "&Interval:", kLabel, 7, 9, 40, 8, SS_LEFT | WS_VISIBLE},
        {"EDIT", "", kIntervalEdit, 50, 7, 60, 14,
         ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE},
        {"BUTTON", "Group", kGroup, 5, 30, 120, 40, BS_GROUPBOX | WS_VISIBLE},
        {"EDIT", "", kNoteEdit, 50, 45, 60, 14, ES_READONLY | WS_BORDER | WS_TABSTOP | WS_VISIBLE},
        {"BUTTON", "OK", IDOK, 140, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE},
        {"BUTTON", "Cancel", IDCANCEL, 140, 25, 50, 14, WS_TABSTOP | WS_VISIBLE},
        {"BUTTON", "Hidden", kHiddenButton, 140, 45, 50, 14, WS_TABSTOP},
        {"BUTTON", "Off", kDisabledButton, 140, 65, 50, 14, WS_TABSTOP | WS_VISIBLE | WS_DISABLED},
        {"DlgProbeCustom", "", kCustom, 5, 75, 100, 40, WS_TABSTOP | WS_VISIBLE},
    };
    RegisterDialogTemplate(t);

    SMenuItemTemplate apply;
    apply.pszText = "&Apply";
    apply.nId = kApplyCommand;
    SMenuItemTemplate close;
    close.pszText = "&Close";
    close.nId = IDCANCEL;
    SMenuItemTemplate edit;
    edit.pszText = "&Edit";
    edit.children = {apply, SMenuItemTemplate{}, close};
    RegisterMenuTemplate(kMenuId, {edit});
    SDialogTemplate m;
    m.nId = kMenuDialogId;
    m.cx = 150;
    m.cy = 60;
    m.pszCaption = "menu";
    m.nMenuId = kMenuId;
    m.items = {{"EDIT", "", kIntervalEdit, 10, 10, 60, 14, WS_TABSTOP | WS_VISIBLE}};
    RegisterDialogTemplate(m);
}

class CSettingsDlg : public CDialog
{
public:
    explicit CSettingsDlg(UINT nId = kDialogId) : CDialog(nId) {}

    std::string m_strInterval = "1";
    std::string m_strNote = "说明";
    CProbeWnd m_custom;
    int m_nApplied = 0;
    bool m_bMenuDialog = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Text(pDX, kIntervalEdit, m_strInterval);
        DDV_MaxChars(pDX, m_strInterval, 4);
        if (m_bMenuDialog)
            return;
        DDX_Control(pDX, kCustom, m_custom);
        DDX_Text(pDX, kNoteEdit, m_strNote);
    }
    void OnApply() { ++m_nApplied; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSettingsDlg, CDialog)
ON_COMMAND(kApplyCommand, &CSettingsDlg::OnApply)
END_MESSAGE_MAP()

// Runs the dialog modally; fn runs inside its loop once it shows. A dialog still open after five
// seconds is ended with -2, so a broken test fails instead of hanging.
INT_PTR RunModal(CDialog& dlg, std::function<void()> fn)
{
    auto pAlive = std::make_shared<bool>(true);
    PlatformRunLater(20,
                     [&dlg, fn, pAlive]
                     {
                         if (!*pAlive || dlg.m_hWnd == nullptr)
                             return;
                         // Focus and keys need the window active; a busy machine takes a while.
                         if (QWidget* pDialog = WidgetFromHwnd(dlg.m_hWnd); pDialog != nullptr)
                         {
                             EXPECT_TRUE(QTest::qWaitForWindowActive(pDialog));
                         }
                         fn();
                     });
    PlatformRunLater(5000,
                     [&dlg, pAlive]
                     {
                         if (*pAlive && dlg.m_hWnd != nullptr)
                         {
                             ADD_FAILURE() << "the dialog did not end";
                             dlg.EndDialog(-2);
                         }
                     });
    const INT_PTR nResult = dlg.DoModal();
    *pAlive = false;
    return nResult;
}

template <class W> W* Control(const CDialog& dlg, int nId)
{
    CWnd* pWnd = dlg.GetDlgItem(nId);
    return pWnd != nullptr ? qobject_cast<W*>(WidgetFromHwnd(pWnd->m_hWnd)) : nullptr;
}

QWidget* DialogWidget(const CDialog& dlg)
{
    return WidgetFromHwnd(dlg.m_hWnd);
}

// Dialog base units of a face and size, measured through GDI like Windows does.
CSize BaseUnits(const char* pszFace, int nPointSize)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont font;
    font.CreateFont(-MulDiv(nPointSize, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                    0, 0, pszFace);
    CFont* pOld = dc.SelectObject(&font);
    const CSize letters =
        dc.GetTextExtent(std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    TEXTMETRIC tm = {};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOld);
    return CSize((letters.cx / 26 + 1) / 2, tm.tmHeight);
}

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override { RegisterTemplates(); }
};

TEST_F(DialogTest, TemplateBuildsCaptionAndControlsInDialogUnits)
{
    const CSize base = BaseUnits("MS Shell Dlg", 9);
    ASSERT_GT(base.cx, 0);
    ASSERT_GT(base.cy, 0);
    auto px = [&](int x, int y, int cx, int cy)
    {
        return QRect(MulDiv(x, base.cx, 4), MulDiv(y, base.cy, 8),
                     MulDiv(x + cx, base.cx, 4) - MulDiv(x, base.cx, 4),
                     MulDiv(y + cy, base.cy, 8) - MulDiv(y, base.cy, 8));
    };
    CSettingsDlg dlg;
    const INT_PTR nResult =
        RunModal(dlg,
                 [&]
                 {
                     QWidget* pDialog = DialogWidget(dlg);
                     ASSERT_NE(pDialog, nullptr);
                     EXPECT_EQ(pDialog->windowTitle(), QString::fromUtf8("设置"));
                     EXPECT_EQ(pDialog->size(), px(0, 0, 200, 120).size());
                     CRect rc;
                     dlg.GetClientRect(&rc);
                     EXPECT_EQ(rc, CRect(0, 0, MulDiv(200, base.cx, 4), MulDiv(120, base.cy, 8)));
                     RECT mapped{50, 7, 110, 21};
                     dlg.MapDialogRect(&mapped);
                     EXPECT_EQ(QRect(mapped.left, mapped.top, mapped.right - mapped.left,
                                     mapped.bottom - mapped.top),
                               px(50, 7, 60, 14));

                     auto* pInterval = Control<QLineEdit>(dlg, kIntervalEdit);
                     auto* pGroup = Control<QGroupBox>(dlg, kGroup);
                     auto* pLabel = Control<QLabel>(dlg, kLabel);
                     auto* pOk = Control<QPushButton>(dlg, IDOK);
                     QWidget* pCustom = WidgetFromHwnd(dlg.m_custom.m_hWnd);
                     ASSERT_TRUE(pInterval && pGroup && pLabel && pOk && pCustom);
                     EXPECT_EQ(pInterval->geometry(), px(50, 7, 60, 14));
                     EXPECT_EQ(pGroup->geometry(), px(5, 30, 120, 40));
                     EXPECT_EQ(pOk->geometry(), px(140, 7, 50, 14));
                     EXPECT_EQ(pCustom->geometry(), px(5, 75, 100, 40));
                     EXPECT_EQ(pInterval->font().pixelSize(), MulDiv(9, 96, 72))
                         << "controls use the dialog font";
                     EXPECT_EQ(pLabel->text(), QStringLiteral("Interval:"));
                     EXPECT_TRUE(pOk->isDefault());
                     EXPECT_FALSE(Control<QPushButton>(dlg, kHiddenButton)->isVisible());
                     EXPECT_FALSE(Control<QPushButton>(dlg, kDisabledButton)->isEnabled());
                     EXPECT_EQ(dlg.GetDlgItem(kCustom), &dlg.m_custom)
                         << "the C++ object is attached to the custom control";
                     EXPECT_EQ(dlg.m_custom.GetDlgCtrlID(), kCustom);
                     EXPECT_EQ(dlg.ChildWindowFromPoint(CPoint(px(5, 75, 1, 1).topLeft().x() + 2,
                                                               px(5, 75, 1, 1).y() + 2)),
                               &dlg.m_custom);
                     // The custom control's messages reach its object.
                     dlg.m_custom.Clear();
                     QTest::mouseClick(pCustom, Qt::LeftButton, Qt::NoModifier, QPoint(4, 3));
                     EXPECT_EQ(dlg.m_custom.m_vecLog,
                               (std::vector<std::string>{"ldown 4,3 1", "lup 4,3 0"}));
                     dlg.EndDialog(IDCANCEL);
                 });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_custom.m_hWnd, nullptr) << "the control went with the dialog";
}

TEST_F(DialogTest, TabFollowsTheTemplateOrderSkippingLabelsHiddenAndDisabledControls)
{
    CSettingsDlg dlg;
    std::vector<int> order;
    RunModal(dlg,
             [&]
             {
                 // The dialog starts with the focus on its first tab stop.
                 for (int i = 0; i < 6; ++i)
                 {
                     CWnd* pFocus = CWnd::GetFocus();
                     order.push_back(pFocus != nullptr ? pFocus->GetDlgCtrlID() : 0);
                     QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                 }
                 dlg.EndDialog(IDCANCEL);
             });
    EXPECT_EQ(order,
              (std::vector<int>{kIntervalEdit, kNoteEdit, IDOK, IDCANCEL, kCustom, kIntervalEdit}));
}

TEST_F(DialogTest, DataExchangeRoundTripsTextAndLimitsTheEdit)
{
    CSettingsDlg dlg;
    dlg.m_strInterval = "一二三";
    const INT_PTR nResult =
        RunModal(dlg,
                 [&]
                 {
                     auto* pInterval = Control<QLineEdit>(dlg, kIntervalEdit);
                     auto* pNote = Control<QLineEdit>(dlg, kNoteEdit);
                     // OnInitDialog loaded the members and limited the edit that DDV_MaxChars
                     // follows.
                     EXPECT_EQ(pInterval->text(), QString::fromUtf8("一二三"));
                     EXPECT_EQ(pNote->text(), QString::fromUtf8("说明"));
                     auto* pIntervalEdit = dynamic_cast<CEdit*>(dlg.GetDlgItem(kIntervalEdit));
                     auto* pNoteEdit = dynamic_cast<CEdit*>(dlg.GetDlgItem(kNoteEdit));
                     ASSERT_TRUE(pIntervalEdit != nullptr && pNoteEdit != nullptr);
                     EXPECT_EQ(pIntervalEdit->GetLimitText(), 4u);
                     EXPECT_EQ(pNoteEdit->GetLimitText(), 32767u)
                         << "only the edit before DDV_MaxChars is limited";
                     pInterval->setFocus();
                     pInterval->end(false);
                     QTest::keyClicks(pInterval, "45");
                     EXPECT_EQ(pInterval->text(), QString::fromUtf8("一二三4"))
                         << "typing stops at the limit";
                     // The limit is the user's: the program's own text is shown whole, and
                     // over the limit typing adds nothing while deleting still works.
                     pIntervalEdit->SetWindowText("123456");
                     EXPECT_EQ(pInterval->text(), QStringLiteral("123456"));
                     pInterval->end(false);
                     QTest::keyClicks(pInterval, "7");
                     EXPECT_EQ(pInterval->text(), QStringLiteral("123456"));
                     QTest::keyClick(pInterval, Qt::Key_Backspace);
                     EXPECT_EQ(pInterval->text(), QStringLiteral("12345"));
                     // Read-only: typing changes nothing.
                     QTest::keyClicks(pNote, "x");
                     EXPECT_EQ(pNote->text(), QString::fromUtf8("说明"));
                     // A text over the limit (put there past the edit's limit) fails validation: OK
                     // keeps the dialog open with the edit focused and selected, and the member
                     // unchanged for the rest.
                     pInterval->setText(QStringLiteral("12345"));
                     QTest::mouseClick(Control<QPushButton>(dlg, IDOK), Qt::LeftButton);
                     EXPECT_NE(dlg.m_hWnd, nullptr) << "validation failed, the dialog stays";
                     EXPECT_EQ(QApplication::focusWidget(), pInterval);
                     EXPECT_EQ(pInterval->selectedText(), QStringLiteral("12345"));
                     EXPECT_EQ(dlg.UpdateData(TRUE), FALSE);
                     pInterval->setText(QStringLiteral("30"));
                     QTest::mouseClick(Control<QPushButton>(dlg, IDOK), Qt::LeftButton);
                 });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(dlg.m_strInterval, "30");
    EXPECT_EQ(dlg.m_strNote, "说明");
}

TEST_F(DialogTest, ModalDialogsEndWithOkCancelEscapeEnterOrClosing)
{
    struct SCase
    {
        const char* pszHow;
        std::function<void(CSettingsDlg&)> end;
        INT_PTR nExpected;
        std::string strInterval; // the member afterwards
    };
    const std::vector<SCase> cases = {
        {"OK button",
         [](CSettingsDlg& d) { QTest::mouseClick(Control<QPushButton>(d, IDOK), Qt::LeftButton); },
         IDOK, "77"},
        {"Cancel button",
         [](CSettingsDlg& d)
         { QTest::mouseClick(Control<QPushButton>(d, IDCANCEL), Qt::LeftButton); },
         IDCANCEL, "1"},
        {"Escape", [](CSettingsDlg& d) { QTest::keyClick(DialogWidget(d), Qt::Key_Escape); },
         IDCANCEL, "1"},
        {"Enter in the edit",
         [](CSettingsDlg& d)
         { QTest::keyClick(Control<QLineEdit>(d, kIntervalEdit), Qt::Key_Return); },
         IDOK, "77"},
        {"closing the window", [](CSettingsDlg& d) { DialogWidget(d)->close(); }, IDCANCEL, "1"},
    };
    for (const SCase& c : cases)
    {
        CSettingsDlg dlg;
        const INT_PTR nResult =
            RunModal(dlg,
                     [&]
                     {
                         Control<QLineEdit>(dlg, kIntervalEdit)->setText(QStringLiteral("77"));
                         Control<QLineEdit>(dlg, kIntervalEdit)->setFocus();
                         c.end(dlg);
                     });
        EXPECT_EQ(nResult, c.nExpected) << c.pszHow;
        EXPECT_EQ(dlg.m_strInterval, c.strInterval) << c.pszHow;
        EXPECT_EQ(dlg.m_hWnd, nullptr) << c.pszHow;
    }
}

TEST_F(DialogTest, ButtonsStaticsAndEditsFollowTheirWindowCalls)
{
    CSettingsDlg dlg;
    int nClicks = 0;
    RunModal(dlg,
             [&]
             {
                 CWnd* pCancel = dlg.GetDlgItem(IDCANCEL);
                 auto* pCancelButton = Control<QPushButton>(dlg, IDCANCEL);
                 pCancel->SetWindowText("Stop");
                 EXPECT_EQ(pCancelButton->text(), QStringLiteral("Stop"));
                 EXPECT_FALSE(pCancel->EnableWindow(FALSE)) << "it was enabled";
                 EXPECT_FALSE(pCancelButton->isEnabled());
                 EXPECT_TRUE(pCancel->GetStyle() & WS_DISABLED);
                 QTest::mouseClick(pCancelButton, Qt::LeftButton);
                 EXPECT_NE(dlg.m_hWnd, nullptr) << "a disabled button sends nothing";
                 EXPECT_TRUE(pCancel->EnableWindow(TRUE)) << "it was disabled";
                 std::string text;
                 pCancel->GetWindowText(text);
                 EXPECT_EQ(text, "Stop");

                 dlg.SetDlgItemText(kLabel, "Period && &rate");
                 EXPECT_EQ(Control<QLabel>(dlg, kLabel)->text(), QStringLiteral("Period & rate"));

                 auto* pEdit = dynamic_cast<CEdit*>(dlg.GetDlgItem(kIntervalEdit));
                 ASSERT_NE(pEdit, nullptr);
                 pEdit->SetWindowText("2");
                 EXPECT_EQ(dlg.GetDlgItemText(kIntervalEdit, text), 1);
                 EXPECT_EQ(text, "2");
                 pEdit->SetLimitText(2);
                 EXPECT_EQ(pEdit->GetLimitText(), 2u);
                 pEdit->SetReadOnly(TRUE);
                 EXPECT_TRUE(Control<QLineEdit>(dlg, kIntervalEdit)->isReadOnly());
                 EXPECT_TRUE(pEdit->GetStyle() & ES_READONLY);
                 nClicks = 1;
                 QTest::mouseClick(pCancelButton, Qt::LeftButton);
             });
    EXPECT_EQ(nClicks, 1);
}

TEST_F(DialogTest, MenuBarSitsAboveTheControlsAndRoutesCommands)
{
    CSettingsDlg dlg(kMenuDialogId);
    dlg.m_bMenuDialog = true;
    const INT_PTR nResult =
        RunModal(dlg,
                 [&]
                 {
                     QWidget* pDialog = DialogWidget(dlg);
                     auto* pMenuBar = pDialog->findChild<QMenuBar*>();
                     ASSERT_NE(pMenuBar, nullptr);
                     EXPECT_TRUE(pMenuBar->isVisible());
                     const int nBar = pMenuBar->height();
                     EXPECT_GT(nBar, 0);
                     EXPECT_EQ(pMenuBar->geometry().topLeft(), QPoint(0, 0));
                     // Controls and the client area start below the menu bar.
                     QWidget* pEdit = Control<QLineEdit>(dlg, kIntervalEdit);
                     EXPECT_EQ(pEdit->mapTo(pDialog, QPoint(0, 0)).y(), nBar + pEdit->y());
                     CRect rc;
                     dlg.GetClientRect(&rc);
                     EXPECT_EQ(rc.Height(), pDialog->height() - nBar);
                     ASSERT_EQ(pMenuBar->actions().size(), 1);
                     EXPECT_EQ(pMenuBar->actions()[0]->text(), QStringLiteral("&Edit"));
                     QMenu* pMenu = pMenuBar->actions()[0]->menu();
                     ASSERT_NE(pMenu, nullptr);
                     std::vector<QAction*> items;
                     for (QAction* p : pMenu->actions())
                         if (!p->isSeparator())
                             items.push_back(p);
                     ASSERT_EQ(items.size(), 2u);
                     items[0]->trigger();
                     items[0]->trigger();
                     EXPECT_EQ(dlg.m_nApplied, 2);
                     items[1]->trigger(); // IDCANCEL from a menu cancels like the button
                 });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(dlg.m_nApplied, 2);
}

// The system menu stands in as the dialog's context menu; its items arrive as OnSysCommand.
class CSysMenuDlg : public CDialog
{
public:
    CSysMenuDlg() : CDialog(kDialogId) {}
    std::vector<UINT> m_vecSysCommands;
    HICON m_hIcon = nullptr;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (CMenu* pMenu = GetSystemMenu(FALSE); pMenu != nullptr)
        {
            pMenu->AppendMenu(MF_SEPARATOR);
            pMenu->AppendMenu(MF_STRING, 0x0010, "About");
        }
        SetIcon(m_hIcon, TRUE);
        SetIcon(m_hIcon, FALSE);
        return TRUE;
    }
    void OnSysCommand(UINT nID, LPARAM lParam) override
    {
        m_vecSysCommands.push_back(nID);
        if (nID != 0x0010)
            CDialog::OnSysCommand(nID, lParam);
    }
};

// Opens the dialog's context menu at a free spot and chooses the item with this text.
void ChooseFromContextMenu(QWidget* pDialog, const QString& text)
{
    PlatformRunLater(20,
                     [text]
                     {
                         auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                         if (pMenu == nullptr)
                             return;
                         for (QAction* p : pMenu->actions())
                             if (p->text() == text)
                                 pMenu->setActiveAction(p);
                         QTest::keyClick(pMenu, Qt::Key_Return);
                     });
    const QPoint free(pDialog->width() - 3, 3);
    QContextMenuEvent event(QContextMenuEvent::Mouse, free, pDialog->mapToGlobal(free));
    QApplication::sendEvent(pDialog, &event);
}

TEST_F(DialogTest, IconsAndTheSystemMenu)
{
    std::vector<DWORD> pixels(16 * 16, 0xFF2080C0);
    ASSERT_TRUE(RegisterIconResource(9210, 16, 16, pixels.data()));
    CSysMenuDlg dlg;
    dlg.m_hIcon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCE(9210));
    ASSERT_NE(dlg.m_hIcon, nullptr);
    const INT_PTR nResult = RunModal(dlg,
                                     [&]
                                     {
                                         QWidget* pDialog = DialogWidget(dlg);
                                         EXPECT_EQ(dlg.GetIcon(TRUE), dlg.m_hIcon);
                                         EXPECT_EQ(dlg.GetIcon(FALSE), dlg.m_hIcon);
                                         const QImage shown =
                                             pDialog->windowIcon().pixmap(16, 16).toImage();
                                         ASSERT_FALSE(shown.isNull());
                                         EXPECT_EQ(shown.pixel(8, 8), 0xFF2080C0);
                                         ChooseFromContextMenu(pDialog, QStringLiteral("About"));
                                         EXPECT_NE(dlg.m_hWnd, nullptr);
                                         ChooseFromContextMenu(pDialog, QStringLiteral("Close"));
                                     });
    EXPECT_EQ(nResult, IDCANCEL) << "Close in the system menu cancels";
    EXPECT_EQ(dlg.m_vecSysCommands, (std::vector<UINT>{0x0010, SC_CLOSE}));
}

TEST_F(DialogTest, FileDialogReturnsTheChosenPathOrCancel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string strPath = dir.filePath(QStringLiteral("bars.csv")).toStdString();
    std::ofstream(strPath) << "2020-01-02,1,2,0.5,1.5\n";
    QStringList filters;
    WhenModal<QFileDialog>(
        [&](QFileDialog* p)
        {
            filters = p->nameFilters();
            p->selectFile(QString::fromStdString(strPath));
            static_cast<QDialog*>(p)->accept();
        });
    CFileDialog open(TRUE, "csv", nullptr, OFN_FILEMUSTEXIST,
                     "K线文件(*.csv)|*.csv|All Files(*.*)|*.*||");
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), strPath);
    EXPECT_EQ(open.GetFileName(), "bars.csv");
    EXPECT_EQ(open.GetFileExt(), "csv");
    EXPECT_EQ(open.GetFileTitle(), "bars");
    EXPECT_EQ(filters, (QStringList{QString::fromUtf8("K线文件(*.csv) (*.csv)"),
                                    QStringLiteral("All Files(*.*) (*)")}));

    WhenModal<QFileDialog>([](QFileDialog* p) { QTest::keyClick(p, Qt::Key_Escape); });
    CFileDialog cancelled(TRUE);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetPathName(), "");
}

} // namespace
