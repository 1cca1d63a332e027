// Windows driven by real events offscreen: mouse handlers, painting, geometry, capture, cursor,
// window classes and windows inside the program's widgets.
#include <QApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Brush.h"
#include "platform/Pen.h"
#include "platform/WidgetHost.h"
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

TEST_F(WindowTest, MouseHandlersGetClientPointsAndKeyFlags)
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
    // Button events only, moves left out.
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
    EXPECT_EQ(parent.GetParent(), nullptr);
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
    EXPECT_EQ(parent.ChildWindowFromPoint(CPoint(100, 70)), &parent);
    EXPECT_EQ(parent.ChildWindowFromPoint(CPoint(500, 500)), nullptr);
    EXPECT_FALSE(child.ShowWindow(SW_SHOW));
    EXPECT_TRUE(child.IsWindowVisible());

    EXPECT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(child.m_hWnd, nullptr) << "children go with their parent";
    EXPECT_FALSE(child.DestroyWindow());
    EXPECT_EQ(CWnd::FromHandle(parent.m_hWnd), nullptr);
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

TEST_F(WindowTest, TheClassBrushFillsTheBackgroundByDefault)
{
    // Erasing is left to the class, so the probe's own OnEraseBkgnd is passed over here.
    class CDefaultErase : public CWnd
    {
    };
    WNDCLASSA wc = {};
    if (!GetClassInfoA(AfxGetInstanceHandle(), "ProbeWhite", &wc))
    {
        wc.lpfnWndProc = DefWindowProcA;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "ProbeWhite";
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, RECT{0, 0, 40, 20}, nullptr, 0));
    CDefaultErase white;
    ASSERT_TRUE(white.Create("ProbeWhite", "", WS_VISIBLE, RECT{0, 0, 20, 20}, &host, 1));
    QWidget* w = WidgetFromHwnd(host.m_hWnd);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    white.Invalidate(TRUE); // the grab below paints once more, erasing first
    const QImage shown = w->grab().toImage();
    EXPECT_EQ(shown.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(19, 19), qRgb(255, 255, 255)) << "the whole client area";
}

TEST_F(WindowTest, AWindowInAWidgetGoesWithItsHost)
{
    auto* pHost = new QWidget;
    pHost->resize(200, 100);
    CProbeWnd wnd;
    EXPECT_FALSE(CreateWindowInWidget(wnd, "ProbeDbl", nullptr, RECT{0, 0, 10, 10}));
    EXPECT_FALSE(CreateWindowInWidget(wnd, "NoSuchClass", pHost, RECT{0, 0, 10, 10}));
    EXPECT_EQ(WidgetOfWindow(wnd), nullptr);
    ASSERT_TRUE(CreateWindowInWidget(wnd, "ProbeDbl", pHost, RECT{10, 20, 110, 70}));
    EXPECT_FALSE(CreateWindowInWidget(wnd, "ProbeDbl", pHost, RECT{0, 0, 10, 10}))
        << "one window per object";
    QWidget* w = WidgetOfWindow(wnd);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), pHost);
    EXPECT_EQ(w->geometry(), QRect(10, 20, 100, 50));
    EXPECT_EQ(w->focusPolicy(), Qt::StrongFocus) << "WS_TABSTOP by default";
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 100, 50));
    pHost->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pHost));
    EXPECT_TRUE(wnd.IsWindowVisible());
    EXPECT_GT(wnd.m_nPaints, 0);
    delete pHost;
    EXPECT_EQ(wnd.m_hWnd, nullptr) << "the window went with its host";
    EXPECT_EQ(WidgetOfWindow(wnd), nullptr);
}

} // namespace
