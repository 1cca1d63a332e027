// CPaintDC: drawing on a window while it paints.
#include <QPaintEvent>
#include <QPainter>

#include "platform/PaintDC.h"
#include "platform/Wnd.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

CPaintDC::CPaintDC(CWnd* pWnd)
{
    m_hWnd = pWnd != nullptr ? LiveWnd(pWnd->m_hWnd) : nullptr;
    if (m_hWnd == nullptr || m_hWnd->pPaintEvent == nullptr || m_hWnd->pWidget == nullptr)
    {
        qWarning("CPaintDC::CPaintDC: the window is not painting");
        return;
    }
    HDC hdc = NewDc(DcKind::Paint);
    hdc->pWidget = m_hWnd->pWidget;
    hdc->pPainter = std::make_unique<QPainter>(m_hWnd->pWidget.data());
    Attach(hdc);
    const QRect r = m_hWnd->pPaintEvent->rect();
    m_ps.hdc = hdc;
    m_ps.rcPaint = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

CPaintDC::~CPaintDC()
{
    HDC h = Detach();
    FreeDc(h);
}
