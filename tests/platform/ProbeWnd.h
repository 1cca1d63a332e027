// A window that records the events its handlers receive, for tests that drive it with real events.
#pragma once

#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/DC.h"
#include "platform/PaintDC.h"
#include "platform/WinUser.h"
#include "platform/Wnd.h"

class CProbeWnd : public CWnd
{
public:
    std::vector<std::string> m_vecLog;
    int m_nPaints = 0;
    int m_nErases = 0;
    bool m_bHideCursor = false;
    CDC* m_pBuffer = nullptr; // copied to the window when painting

    void Clear() { m_vecLog.clear(); }

protected:
    void Log(const char* pszWhat, UINT nFlags, CPoint pt)
    {
        m_vecLog.push_back(std::string(pszWhat) + " " + std::to_string(pt.x) + "," +
                           std::to_string(pt.y) + " " + std::to_string(nFlags));
    }
    void OnPaint() override
    {
        CPaintDC dc(this);
        ++m_nPaints;
        if (m_pBuffer != nullptr)
        {
            CRect rc;
            GetClientRect(&rc);
            dc.BitBlt(0, 0, rc.Width(), rc.Height(), m_pBuffer, 0, 0, SRCCOPY);
        }
    }
    BOOL OnEraseBkgnd(CDC*) override
    {
        ++m_nErases;
        return TRUE;
    }
    void OnMouseMove(UINT nFlags, CPoint point) override
    {
        Log("move", nFlags, point);
        ::SetCursor(m_bHideCursor ? nullptr : LoadCursorA(nullptr, IDC_ARROW));
    }
    void OnLButtonDown(UINT nFlags, CPoint point) override { Log("ldown", nFlags, point); }
    void OnLButtonUp(UINT nFlags, CPoint point) override { Log("lup", nFlags, point); }
    void OnLButtonDblClk(UINT nFlags, CPoint point) override { Log("ldbl", nFlags, point); }
    void OnRButtonDown(UINT nFlags, CPoint point) override { Log("rdown", nFlags, point); }
    void OnRButtonUp(UINT nFlags, CPoint point) override { Log("rup", nFlags, point); }
    void OnRButtonDblClk(UINT nFlags, CPoint point) override { Log("rdbl", nFlags, point); }
};

// Registers the probe classes once: "ProbeDbl" with CS_DBLCLKS, "ProbePlain" without.
inline void RegisterProbeClasses()
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(AfxGetInstanceHandle(), "ProbeDbl", &wc))
    {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.lpszClassName = "ProbeDbl";
        RegisterClassA(&wc);
        wc.style = 0;
        wc.lpszClassName = "ProbePlain";
        RegisterClassA(&wc);
    }
}
