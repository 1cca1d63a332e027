// CPaintDC: drawing on a window while it paints.
#include <QPainter>

#include "platform/PaintDC.h"
#include "platform/Wnd.h"
#include "platform/detail/GdiInternal.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

CPaintDC::CPaintDC(CWnd* pWnd)
{
    HWND hWnd = pWnd != nullptr ? LiveWnd(pWnd->m_hWnd) : nullptr;
    if (hWnd == nullptr || hWnd->pPaintEvent == nullptr || hWnd->pWidget == nullptr)
    {
        qWarning("CPaintDC::CPaintDC: the window is not painting");
        return;
    }
    HDC hdc = NewDc(DcKind::Paint);
    hdc->pWidget = hWnd->pWidget;
    hdc->pPainter = std::make_unique<QPainter>(hWnd->pWidget.data());
    Attach(hdc);
}

CPaintDC::~CPaintDC()
{
    FreeDc(Detach());
}
