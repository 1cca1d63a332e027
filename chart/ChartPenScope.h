#pragma once

#include "platform/DC.h"
#include "platform/Pen.h"

// A pen selected into a device context for one drawing operation: the previous pen comes back
// and the pen is deleted when the scope ends, whatever way it ends.
class CChartPenScope
{
public:
    CChartPenScope(CDC* pDC, int nStyle, int nWidth, COLORREF crColor) : m_pDC(pDC)
    {
        m_pen.CreatePen(nStyle, nWidth, crColor);
        m_pOldPen = m_pDC->SelectObject(&m_pen);
    }
    ~CChartPenScope()
    {
        m_pDC->SelectObject(m_pOldPen);
        m_pen.DeleteObject();
    }

    CChartPenScope(const CChartPenScope&) = delete;
    CChartPenScope& operator=(const CChartPenScope&) = delete;

private:
    CDC* m_pDC = nullptr;
    CPen m_pen;
    CPen* m_pOldPen = nullptr;
};
