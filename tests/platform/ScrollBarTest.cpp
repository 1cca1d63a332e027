// Scroll bar controls: Windows' clamping rules and user actions arriving as SB_* notifications.
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

#include "platform/ScrollBar.h"
#include "platform/testsupport/TestSupport.h"
#include "tests/platform/ProbeWnd.h"

namespace
{

enum class EBar
{
    Horizontal,
    Vertical
};

struct Note
{
    EBar eBar;
    UINT nCode;
    UINT nPos;
    CScrollBar* pBar;
    bool operator==(const Note&) const = default;
};

class CScrollParent : public CProbeWnd
{
public:
    std::vector<Note> m_notes;
    bool m_bFollow = false; // move the thumb as a real parent does

protected:
    void Handle(EBar eBar, UINT nCode, UINT nPos, CScrollBar* pBar)
    {
        m_notes.push_back(Note{eBar, nCode, nPos, pBar});
        if (!m_bFollow || pBar == nullptr)
            return;
        if (nCode == SB_LINEDOWN)
            pBar->SetScrollPos(pBar->GetScrollPos() + 1);
        else if (nCode == SB_THUMBTRACK || nCode == SB_THUMBPOSITION)
            pBar->SetScrollPos(static_cast<int>(nPos));
    }
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override
    {
        Handle(EBar::Horizontal, nSBCode, nPos, pScrollBar);
    }
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override
    {
        Handle(EBar::Vertical, nSBCode, nPos, pScrollBar);
    }
};

class ScrollBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterProbeClasses();
        ASSERT_TRUE(m_parent.CreateEx(0, "ProbeDbl", "", WS_POPUP | WS_VISIBLE,
                                      CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetFromHwnd(m_parent.m_hWnd)));
    }
    QScrollBar* Make(CScrollBar& bar, DWORD dwStyle, const RECT& rc)
    {
        EXPECT_TRUE(bar.Create(dwStyle | WS_CHILD | WS_VISIBLE, rc, &m_parent, 100));
        SCROLLINFO si{sizeof(SCROLLINFO),
                      SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                      0,
                      39,
                      10,
                      5,
                      0};
        bar.SetScrollInfo(&si, TRUE);
        return static_cast<QScrollBar*>(WidgetFromHwnd(bar.m_hWnd));
    }
    CScrollParent m_parent;
};

TEST_F(ScrollBarTest, ScrollInfoIsClampedLikeWindows)
{
    CScrollBar bar;
    QScrollBar* q = Make(bar, SBS_HORZ, CRect(0, 0, 200, 17));
    SCROLLINFO si{
        sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 39, 10, 35, 0};
    bar.SetScrollInfo(&si);
    EXPECT_EQ(bar.GetScrollPos(), 30) << "the position stops at max - page + 1";
    int nMin = -1, nMax = -1;
    bar.GetScrollRange(&nMin, &nMax);
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 39);
    EXPECT_EQ(q->minimum(), 0);
    EXPECT_EQ(q->maximum(), 30);
    EXPECT_EQ(q->pageStep(), 10);
    EXPECT_EQ(q->value(), 30);
    EXPECT_TRUE(q->isEnabled());
    EXPECT_EQ(bar.SetScrollPos(-4), 30);
    EXPECT_EQ(bar.GetScrollPos(), 0);

    // Ten steps or fewer: the page covers the range and the bar shows itself disabled.
    si = SCROLLINFO{
        sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 9, 10, 1, 0};
    bar.SetScrollInfo(&si);
    EXPECT_FALSE(q->isEnabled());
    EXPECT_EQ(bar.GetScrollPos(), 0);
    si =
        SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 10, 50, 0, 0};
    bar.SetScrollInfo(&si);
    EXPECT_FALSE(q->isEnabled()) << "a page of eleven covers 0..10";
    SCROLLINFO out{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(bar.GetScrollInfo(&out, SIF_ALL));
    EXPECT_EQ(out.nPage, 11u) << "the page never exceeds the range";
    // One more position makes the bar useful again.
    si = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_DISABLENOSCROLL, 0, 11, 0, 0, 0};
    bar.SetScrollInfo(&si);
    EXPECT_TRUE(q->isEnabled());
    EXPECT_EQ(q->maximum(), 1);
    // Without SIF_DISABLENOSCROLL a useless bar keeps its enabled state.
    si = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 1, 10, 0, 0};
    bar.SetScrollInfo(&si);
    EXPECT_TRUE(q->isEnabled());
    q->setEnabled(false);
    // A new range that needs scrolling enables it; a new page alone does not.
    si = SCROLLINFO{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 1, 0, 0};
    bar.SetScrollInfo(&si);
    EXPECT_FALSE(q->isEnabled());
    si = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE, 0, 99, 0, 0, 0};
    bar.SetScrollInfo(&si);
    EXPECT_TRUE(q->isEnabled());
}

TEST_F(ScrollBarTest, AlignmentStylesGiveTheStandardThickness)
{
    CScrollBar bottom;
    QScrollBar* q = Make(bottom, SBS_HORZ | SBS_BOTTOMALIGN, CRect(10, 10, 110, 60));
    const int nThick = GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_GT(nThick, 0);
    EXPECT_EQ(q->geometry(), QRect(10, 60 - nThick, 100, nThick));
    CScrollBar left;
    QScrollBar* v = Make(left, SBS_VERT | SBS_LEFTALIGN, CRect(10, 10, 110, 60));
    EXPECT_EQ(v->geometry(), QRect(10, 10, GetSystemMetrics(SM_CXVSCROLL), 50));
    EXPECT_EQ(v->orientation(), Qt::Vertical);
}

TEST_F(ScrollBarTest, ArrowClickSendsLineDownAndEndScrollWithTheBar)
{
    CScrollBar bar;
    QScrollBar* q = Make(bar, SBS_HORZ, CRect(0, 0, 200, 17));
    QTest::mouseClick(q, Qt::LeftButton, Qt::NoModifier,
                      ScrollBarPartRect(q, QStyle::SC_ScrollBarAddLine).center());
    const std::vector<Note> expected{{EBar::Horizontal, SB_LINEDOWN, 0, &bar},
                                     {EBar::Horizontal, SB_ENDSCROLL, 0, &bar}};
    EXPECT_EQ(m_parent.m_notes, expected);
    EXPECT_EQ(bar.GetScrollPos(), 5) << "the bar waits for its parent to move it";
    EXPECT_EQ(q->value(), 5);

    m_parent.m_notes.clear();
    m_parent.m_bFollow = true;
    QTest::mouseClick(q, Qt::LeftButton, Qt::NoModifier,
                      ScrollBarPartRect(q, QStyle::SC_ScrollBarSubLine).center());
    QTest::mouseClick(q, Qt::LeftButton, Qt::NoModifier,
                      ScrollBarPartRect(q, QStyle::SC_ScrollBarAddLine).center());
    ASSERT_EQ(m_parent.m_notes.size(), 4u);
    EXPECT_EQ(m_parent.m_notes[0].nCode, SB_LINEUP);
    EXPECT_EQ(m_parent.m_notes[2].nCode, SB_LINEDOWN);
    EXPECT_EQ(bar.GetScrollPos(), 6);
    EXPECT_EQ(q->value(), 6);
}

TEST_F(ScrollBarTest, PageClicksSendPageCodes)
{
    CScrollBar bar;
    QScrollBar* q = Make(bar, SBS_HORZ, CRect(0, 0, 200, 17));
    const QRect slider = ScrollBarPartRect(q, QStyle::SC_ScrollBarSlider);
    const QRect addPage = ScrollBarPartRect(q, QStyle::SC_ScrollBarAddPage);
    const QRect subPage = ScrollBarPartRect(q, QStyle::SC_ScrollBarSubPage);
    ASSERT_FALSE(addPage.isEmpty());
    ASSERT_FALSE(subPage.isEmpty());
    EXPECT_LT(slider.left(), addPage.left());
    QTest::mouseClick(q, Qt::LeftButton, Qt::NoModifier, addPage.center());
    QTest::mouseClick(q, Qt::LeftButton, Qt::NoModifier, subPage.center());
    ASSERT_EQ(m_parent.m_notes.size(), 4u);
    EXPECT_EQ(m_parent.m_notes[0].nCode, SB_PAGEDOWN);
    EXPECT_EQ(m_parent.m_notes[1].nCode, SB_ENDSCROLL);
    EXPECT_EQ(m_parent.m_notes[2].nCode, SB_PAGEUP);
    EXPECT_EQ(bar.GetScrollPos(), 5);
}

TEST_F(ScrollBarTest, ThumbDragTracksThenSetsThePosition)
{
    CScrollBar bar;
    QScrollBar* q = Make(bar, SBS_VERT, CRect(0, 0, 17, 180));
    const QPoint start = ScrollBarPartRect(q, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(q, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(q, start + QPoint(0, 20));
    QTest::mouseMove(q, start + QPoint(0, 40));
    QTest::mouseRelease(q, Qt::LeftButton, Qt::NoModifier, start + QPoint(0, 40));
    ASSERT_GE(m_parent.m_notes.size(), 3u);
    const Note& last = m_parent.m_notes.back();
    const Note& position = m_parent.m_notes[m_parent.m_notes.size() - 2];
    const Note& track = m_parent.m_notes[m_parent.m_notes.size() - 3];
    EXPECT_EQ(track.eBar, EBar::Vertical);
    EXPECT_EQ(track.nCode, SB_THUMBTRACK);
    EXPECT_GT(track.nPos, 5u);
    EXPECT_LE(track.nPos, 30u);
    EXPECT_EQ(position.nCode, SB_THUMBPOSITION);
    EXPECT_EQ(position.nPos, track.nPos);
    EXPECT_EQ(last.nCode, SB_ENDSCROLL);
    EXPECT_EQ(last.pBar, &bar);
    EXPECT_EQ(bar.GetScrollPos(), 5) << "nobody moved it";
    EXPECT_EQ(q->value(), 5) << "the thumb snaps back";
}

} // namespace
