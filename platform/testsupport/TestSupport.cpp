// Test support: the widgets behind windows, and where the parts of a scroll bar lie.
#include <QScrollBar>
#include <QStyleOptionSlider>

#include "platform/detail/WindowInternal.h"
#include "platform/testsupport/TestSupport.h"

using namespace platform_detail;

QWidget* WidgetFromHwnd(HWND hWnd)
{
    return LiveWnd(hWnd) != nullptr ? hWnd->pWidget.data() : nullptr;
}

QRect ScrollBarPartRect(QScrollBar* pBar, QStyle::SubControl ePart)
{
    QStyleOptionSlider opt;
    opt.initFrom(pBar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = pBar->orientation();
    opt.minimum = pBar->minimum();
    opt.maximum = pBar->maximum();
    opt.sliderPosition = pBar->sliderPosition();
    opt.sliderValue = pBar->value();
    opt.singleStep = pBar->singleStep();
    opt.pageStep = pBar->pageStep();
    if (pBar->orientation() == Qt::Horizontal)
        opt.state |= QStyle::State_Horizontal;
    return pBar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, ePart, pBar);
}
