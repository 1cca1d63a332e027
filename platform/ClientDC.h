// CClientDC: a device context for a window's client area that measures (text extents, device caps,
// compatible memory DCs and bitmaps) but does not draw: windows are drawn only while they paint.
#pragma once

#include "platform/DC.h"

class CWnd;

class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
};
