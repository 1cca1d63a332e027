// Timers per window and id, ticking as WM_TIMER (or a timer procedure) on the UI thread.
#include <QDateTime>
#include <QTimerEvent>
#include <algorithm>

#include "platform/WinUser.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace platform_detail
{

UINT_PTR TimerHost::Set(UINT_PTR nId, UINT nElapse, TIMERPROC pfn)
{
    Kill(nId);
    const UINT nMs = std::clamp(nElapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    const int nQtId = startTimer(static_cast<int>(nMs));
    if (nQtId == 0)
        return 0;
    m_timers[nId] = Timer{nQtId, pfn, nMs};
    return nId == 0 ? 1 : nId;
}

bool TimerHost::Kill(UINT_PTR nId)
{
    auto it = m_timers.find(nId);
    if (it == m_timers.end())
        return false;
    killTimer(it->second.nQtId);
    m_timers.erase(it);
    return true;
}

bool TimerHost::Period(UINT_PTR nId, UINT* pnElapse) const
{
    auto it = m_timers.find(nId);
    if (it == m_timers.end())
        return false;
    if (pnElapse != nullptr)
        *pnElapse = it->second.nElapse;
    return true;
}

void TimerHost::timerEvent(QTimerEvent* pEvent)
{
    for (const auto& [nId, timer] : m_timers)
    {
        if (timer.nQtId != pEvent->timerId())
            continue;
        const UINT_PTR nIdCopy = nId;
        if (timer.pfn != nullptr)
            timer.pfn(m_hWnd, WM_TIMER, nIdCopy,
                      static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch()));
        else
            Send(m_hWnd, WM_TIMER, nIdCopy, 0); // may kill timers: the loop ends here
        return;
    }
}
} // namespace platform_detail

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (LiveWnd(hWnd) == nullptr || !hWnd->pTimers)
        return 0;
    return hWnd->pTimers->Set(nIDEvent, uElapse, lpTimerFunc);
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    return LiveWnd(hWnd) != nullptr && hWnd->pTimers && hWnd->pTimers->Kill(uIDEvent) ? TRUE
                                                                                      : FALSE;
}
