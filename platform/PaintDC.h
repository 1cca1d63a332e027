// CPaintDC: the device context of a window inside its OnPaint handler.
// Outside a paint of that window it has no device context (m_hDC is null) and draws nothing.
#pragma once

#include "platform/DC.h"

class CWnd;

class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
};
