// Windows driven by real events offscreen: mouse messages, painting, timers, geometry, capture,
// cursor.
#include <QApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Brush.h"
#include "platform/Dialog.h"
#include "platform/Pen.h"
#include "platform/Resource.h"
#include "platform/testsupport/TestSupport.h"
#include "tests/platform/ProbeWnd.h"

namespace
{

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override { RegisterProbeClasses(); }
    QWidget* Show(CProbeWnd& wnd, const char* pszClass, int cx = 120, int cy = 80)
    {
        EXPECT_TRUE(wnd.CreateEx(0, pszClass, "probe", WS_POPUP | WS_VISIBLE, CRect(0, 0, cx, cy),
                                 nullptr, 0));
        QWidget* w = WidgetFromHwnd(wnd.m_hWnd);
        EXPECT_NE(w, nullptr);
        if (w != nullptr)
        {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        }
        return w;
    }
};

using Log = std::vector<std::string>;

// Mouse input as the window system hands it to the toolkit, with a chosen time stamp.
void SystemMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos, int nTime)
{
    const Qt::MouseButtons state =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    qt_handleMouseEvent(w->windowHandle(), pos, w->mapToGlobal(pos), state, button, type,
                        Qt::NoModifier, nTime);
    QCoreApplication::processEvents();
}

TEST_F(WindowTest, MouseMessagesCarryClientPointsAndKeyFlags)
{
    CProbeWnd wnd;
    QWidget* w = Show(wnd, "ProbeDbl");
    wnd.Clear();
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 25), w->mapToGlobal(QPointF(12, 25)),
                     Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(12, 25));
    QTest::mousePress(w, Qt::RightButton, Qt::ControlModifier, QPoint(30, 5));
    QTest::mouseRelease(w, Qt::RightButton, Qt::ControlModifier, QPoint(30, 5));
    // Down flags include the pressed button; up flags no longer do.
    const Log expected{"ldown 10,20 1", "move 12,25 5", "lup 12,25 0", "rdown 30,5 10",
                       "rup 30,5 8"};
    Log buttons;
    for (const std::string& s : wnd.m_vecLog)
        if (s.rfind("move", 0) != 0 || s == "move 12,25 5")
            buttons.push_back(s);
    EXPECT_EQ(buttons, expected);
}

TEST_F(WindowTest, DoubleClicksNeedTheClassStyle)
{
    // Button messages only, moves left out.
    auto buttons = [](const CProbeWnd& wnd)
    {
        Log v;
        for (const std::string& s : wnd.m_vecLog)
            if (s.rfind("move", 0) != 0)
                v.push_back(s);
        return v;
    };
    // A double click as the system delivers it: press, release, press, double-click event, release.
    CProbeWnd dbl;
    QWidget* w = Show(dbl, "ProbeDbl");
    dbl.Clear();
    QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(buttons(dbl), (Log{"ldown 5,6 1", "lup 5,6 0", "ldbl 5,6 1", "lup 5,6 0"}));
    // Three quick clicks: the third starts over.
    dbl.Clear();
    int nTime = 1 << 24;
    for (int i = 0; i < 3; ++i)
    {
        SystemMouse(w, QEvent::MouseButtonPress, Qt::RightButton, QPoint(7, 8), nTime += 10);
        SystemMouse(w, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(7, 8), nTime += 10);
    }
    EXPECT_EQ(buttons(dbl), (Log{"rdown 7,8 2", "rup 7,8 0", "rdbl 7,8 2", "rup 7,8 0",
                                 "rdown 7,8 2", "rup 7,8 0"}));
    // Too slow, or too far apart: two single clicks.
    dbl.Clear();
    const int nSlow = QGuiApplication::styleHints()->mouseDoubleClickInterval() + 1;
    SystemMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(7, 8), nTime += nSlow);
    SystemMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(7, 8), nTime += 1);
    SystemMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(7, 8), nTime += nSlow);
    SystemMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(7, 8), nTime += 1);
    SystemMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(40, 8), nTime += 1);
    SystemMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(40, 8), nTime += 1);
    EXPECT_EQ(buttons(dbl), (Log{"ldown 7,8 1", "lup 7,8 0", "ldown 7,8 1", "lup 7,8 0",
                                 "ldown 40,8 1", "lup 40,8 0"}));

    CProbeWnd plain;
    QWidget* p = Show(plain, "ProbePlain");
    plain.Clear();
    QTest::mouseDClick(p->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(buttons(plain), (Log{"ldown 5,6 1", "lup 5,6 0", "ldown 5,6 1", "lup 5,6 0"}))
        << "the second click arrives as a button-down";

    // A lone double-click event stands for the second press.
    dbl.Clear();
    plain.Clear();
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    QTest::mouseDClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_EQ(buttons(dbl), (Log{"ldbl 3,4 1"}));
    EXPECT_EQ(buttons(plain), (Log{"ldown 3,4 1"}));
}

TEST_F(WindowTest, TimersTickByIdUntilKilled)
{
    CProbeWnd wnd;
    Show(wnd, "ProbeDbl");
    EXPECT_EQ(wnd.SetTimer(7, 10), 7u);
    EXPECT_EQ(wnd.SetTimer(9, 15), 9u);
    auto count = [&](UINT_PTR id)
    { return std::count(wnd.m_vecTicks.begin(), wnd.m_vecTicks.end(), id); };
    // Generous waits: a busy machine makes ticks late, never early.
    EXPECT_TRUE(QTest::qWaitFor([&] { return count(7) >= 3 && count(9) >= 2; }, 20000));
    EXPECT_TRUE(wnd.KillTimer(7));
    EXPECT_FALSE(wnd.KillTimer(7));
    const auto nSeven = count(7);
    const auto nNine = count(9);
    EXPECT_TRUE(QTest::qWaitFor([&] { return count(9) >= nNine + 3; }, 20000));
    EXPECT_EQ(count(7), nSeven);
    UINT nPeriod = 0;
    EXPECT_FALSE(GetTimerPeriod(wnd.m_hWnd, 7, &nPeriod));
    wnd.SetTimer(9, 0);
    EXPECT_TRUE(GetTimerPeriod(wnd.m_hWnd, 9, &nPeriod));
    EXPECT_EQ(nPeriod, USER_TIMER_MINIMUM);
    wnd.SetTimer(9, static_cast<UINT>(-1000));
    EXPECT_TRUE(GetTimerPeriod(wnd.m_hWnd, 9, &nPeriod));
    EXPECT_EQ(nPeriod, USER_TIMER_MAXIMUM);
}

class CTimedDlg : public CDialog
{
public:
    CTimedDlg(CProbeWnd& wnd) : CDialog(9100), m_wnd(wnd) {}
    size_t m_nTicksAtStart = 0;
    size_t m_nTicksAtEnd = 0;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_nTicksAtStart = m_wnd.m_vecTicks.size();
        PlatformRunLater(150,
                         [this]
                         {
                             m_nTicksAtEnd = m_wnd.m_vecTicks.size();
                             EndDialog(IDOK);
                         });
        return TRUE;
    }

private:
    CProbeWnd& m_wnd;
};

TEST_F(WindowTest, TicksArriveWhileAModalDialogRuns)
{
    RegisterDialogTemplate(
        SDialogTemplate{.nId = 9100, .cx = 100, .cy = 50, .pszCaption = "modal", .items = {}});
    CProbeWnd wnd;
    Show(wnd, "ProbeDbl");
    wnd.SetTimer(1, 10);
    CTimedDlg dlg(wnd);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_GE(dlg.m_nTicksAtEnd, dlg.m_nTicksAtStart + 3);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the dialog window is gone after DoModal";
}

TEST_F(WindowTest, PaintCopiesTheBackBufferPixelForPixel)
{
    constexpr int cx = 64;
    constexpr int cy = 48;
    CDC buffer;
    buffer.CreateCompatibleDC(nullptr);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&buffer, cx, cy);
    CBitmap* pOldBmp = buffer.SelectObject(&bmp);
    // A picture with every kind of primitive.
    TRIVERTEX v[2] = {{0, 0, 0xFF00, 0x8000, 0, 0}, {cx, cy, 0, 0x4000, 0xFF00, 0}};
    GRADIENT_RECT gr{0, 1};
    buffer.GradientFill(v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
    RECT rc{0, 0, cx, cy};
    buffer.DrawEdge(&rc, EDGE_RAISED, BF_RECT);
    CPen pen(PS_SOLID, 0, RGB(0, 128, 0));
    CBrush brush(RGB(255, 255, 0));
    CPen* pOldPen = buffer.SelectObject(&pen);
    CBrush* pOldBrush = buffer.SelectObject(&brush);
    buffer.Rectangle(10, 10, 30, 25);
    buffer.MoveTo(5, 40);
    buffer.LineTo(60, 30);
    buffer.SelectObject(pOldBrush);
    buffer.SelectObject(pOldPen);
    // Row 24 of 48 is halfway down the gradient from (255, 128, 0) to (0, 64, 255).
    const COLORREF yellow = RGB(255, 255, 0);
    const COLORREF green = RGB(0, 128, 0);
    const COLORREF halfway = RGB(127, 96, 127);
    ASSERT_EQ(buffer.GetPixel(20, 17), yellow);
    ASSERT_EQ(buffer.GetPixel(10, 10), green);
    ASSERT_EQ(buffer.GetPixel(40, 24), halfway);

    CProbeWnd wnd;
    wnd.m_pBuffer = &buffer;
    QWidget* w = Show(wnd, "ProbeDbl", cx, cy);
    const QImage shown = w->grab().toImage();
    ASSERT_EQ(shown.width(), cx);
    ASSERT_EQ(shown.height(), cy);
    int nDifferent = 0;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
        {
            const QRgb p = shown.pixel(x, y);
            nDifferent += RGB(qRed(p), qGreen(p), qBlue(p)) != buffer.GetPixel(x, y) ? 1 : 0;
        }
    EXPECT_EQ(nDifferent, 0);
    EXPECT_EQ(shown.pixel(20, 17), qRgb(255, 255, 0));
    EXPECT_EQ(shown.pixel(10, 10), qRgb(0, 128, 0));
    EXPECT_EQ(shown.pixel(40, 24), qRgb(127, 96, 127));
    EXPECT_GT(wnd.m_nPaints, 0);
    wnd.DestroyWindow();
    buffer.SelectObject(pOldBmp);
}

TEST_F(WindowTest, InvalidateAndUpdateWindowPaintAtOnceAndEraseOnlyWhenAsked)
{
    CProbeWnd wnd;
    Show(wnd, "ProbeDbl");
    QApplication::processEvents();
    const int nPaints = wnd.m_nPaints;
    const int nErases = wnd.m_nErases;
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.m_nPaints, nPaints + 1);
    EXPECT_EQ(wnd.m_nErases, nErases);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.m_nPaints, nPaints + 1) << "nothing invalid, nothing painted";
    const RECT part{1, 1, 5, 5};
    wnd.InvalidateRect(&part, TRUE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.m_nPaints, nPaints + 2);
    EXPECT_EQ(wnd.m_nErases, nErases + 1);
}

TEST_F(WindowTest, ChildGeometryVisibilityAndHitTesting)
{
    CProbeWnd parent;
    QWidget* w = Show(parent, "ProbeDbl", 120, 80);
    CProbeWnd child;
    ASSERT_TRUE(
        child.Create("ProbePlain", "", WS_CHILD | WS_VISIBLE, CRect(5, 6, 25, 16), &parent, 42));
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(parent.GetDlgItem(42), &child);
    EXPECT_EQ(child.GetDlgCtrlID(), 42);
    CRect rc;
    child.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 20, 10));
    child.GetWindowRect(&rc);
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(rc, CRect(origin.x() + 5, origin.y() + 6, origin.x() + 25, origin.y() + 16));
    child.MoveWindow(10, 12, 30, 20);
    parent.ScreenToClient(&rc);
    child.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(10, 12, 40, 32));

    EXPECT_TRUE(child.ShowWindow(SW_HIDE)) << "it was visible";
    EXPECT_FALSE(child.IsWindowVisible());
    EXPECT_FALSE(child.ShowWindow(SW_HIDE));
    EXPECT_EQ(parent.ChildWindowFromPoint(CPoint(15, 15)), &child)
        << "hidden children are found too";
    EXPECT_EQ(parent.ChildWindowFromPoint(CPoint(15, 15), CWP_SKIPINVISIBLE), &parent);
    EXPECT_EQ(parent.ChildWindowFromPoint(CPoint(100, 70)), &parent);
    EXPECT_EQ(parent.ChildWindowFromPoint(CPoint(500, 500)), nullptr);
    EXPECT_FALSE(child.ShowWindow(SW_SHOW));
    EXPECT_TRUE(child.IsWindowVisible());
    EXPECT_FALSE(child.EnableWindow(FALSE));
    EXPECT_FALSE(child.IsWindowEnabled());
    EXPECT_TRUE(child.EnableWindow(TRUE));

    EXPECT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(child.m_hWnd, nullptr) << "children go with their parent";
    EXPECT_EQ(child.m_nDestroys, 1);
    EXPECT_EQ(parent.m_nDestroys, 1);
}

TEST_F(WindowTest, CaptureAndCursor)
{
    CProbeWnd wnd;
    QWidget* w = Show(wnd, "ProbeDbl");
    EXPECT_EQ(wnd.SetCapture(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), &wnd);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    wnd.m_bHideCursor = true;
    QTest::mouseMove(w, QPoint(20, 20));
    EXPECT_EQ(w->cursor().shape(), Qt::BlankCursor);
    wnd.m_bHideCursor = false;
    QTest::mouseMove(w, QPoint(22, 21));
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowTest, WindowClassRegistry)
{
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "RegistryProbe";
    if (!GetClassInfoA(AfxGetInstanceHandle(), "RegistryProbe", &wc))
    {
        EXPECT_NE(RegisterClassA(&wc), 0);
    }
    EXPECT_EQ(RegisterClassA(&wc), 0) << "registered twice";
    WNDCLASSA found = {};
    ASSERT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), "registryprobe", &found))
        << "names ignore case";
    EXPECT_EQ(found.style, CS_DBLCLKS);
    EXPECT_EQ(found.hbrBackground, wc.hbrBackground);
    EXPECT_STREQ(found.lpszClassName, "RegistryProbe");
    EXPECT_FALSE(GetClassInfoA(AfxGetInstanceHandle(), "NoSuchClass", &found));
    CWnd wnd;
    EXPECT_FALSE(wnd.CreateEx(0, "NoSuchClass", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

} // namespace
