// Accelerators as an application event filter: it sees a key before the focused widget does.
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include "platform/Accelerator.h"
#include "platform/detail/WindowInternal.h"

#include <map>
#include <vector>

using namespace platform_detail;

struct HACCEL__
{
    std::vector<ACCEL> vecEntries;
};

namespace
{

// The virtual key of a Qt key; 0 for keys no table can name.
WORD VirtualKey(int nQtKey, bool bKeypad)
{
    if (nQtKey >= Qt::Key_A && nQtKey <= Qt::Key_Z)
        return static_cast<WORD>('A' + (nQtKey - Qt::Key_A));
    if (nQtKey >= Qt::Key_0 && nQtKey <= Qt::Key_9)
        return static_cast<WORD>('0' + (nQtKey - Qt::Key_0));
    switch (nQtKey)
    {
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return bKeypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return bKeypad ? VK_SUBTRACT : VK_OEM_MINUS;
    default:
        return 0;
    }
}

class AcceleratorFilter : public QObject
{
public:
    std::map<HWND, HACCEL> m_tables;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        const QEvent::Type eType = pEvent->type();
        if (eType != QEvent::KeyPress && eType != QEvent::ShortcutOverride)
            return false;
        auto* pWidget = qobject_cast<QWidget*>(pObject);
        if (pWidget == nullptr)
            return false;
        WORD nCmd = 0;
        HWND hTarget = Match(pWidget, static_cast<QKeyEvent*>(pEvent), &nCmd);
        if (hTarget == nullptr)
            return false;
        // Claiming the override keeps Qt's own shortcuts (menu mnemonics) off the key.
        if (eType == QEvent::ShortcutOverride)
        {
            pEvent->accept();
            return true;
        }
        Send(hTarget, WM_COMMAND, MAKEWPARAM(nCmd, 0), 0);
        return true;
    }

private:
    HWND Match(QWidget* pWidget, QKeyEvent* pKey, WORD* pCmd)
    {
        QWidget* pWindow = pWidget->window();
        for (auto it = m_tables.begin(); it != m_tables.end();)
        {
            HWND hWnd = LiveWnd(it->first);
            if (hWnd == nullptr)
            {
                it = m_tables.erase(it);
                continue;
            }
            if (hWnd->pWidget == pWindow)
            {
                *pCmd = LookUpAccelerator(it->second, pKey->key(),
                                          static_cast<unsigned>(pKey->modifiers().toInt()));
                return *pCmd != 0 ? hWnd : nullptr;
            }
            ++it;
        }
        return nullptr;
    }
};

AcceleratorFilter* Filter()
{
    static QPointer<AcceleratorFilter> s_pFilter;
    if (s_pFilter == nullptr && qApp != nullptr)
    {
        s_pFilter = new AcceleratorFilter;
        s_pFilter->setParent(qApp);
        qApp->installEventFilter(s_pFilter);
    }
    return s_pFilter;
}

} // namespace

HACCEL CreateAcceleratorTable(const ACCEL* pAccel, int nCount)
{
    if (pAccel == nullptr || nCount <= 0)
        return nullptr;
    auto* hAccel = new HACCEL__;
    hAccel->vecEntries.assign(pAccel, pAccel + nCount);
    return hAccel;
}

BOOL DestroyAcceleratorTable(HACCEL hAccel)
{
    if (hAccel == nullptr)
        return FALSE;
    if (AcceleratorFilter* pFilter = Filter())
        std::erase_if(pFilter->m_tables,
                      [hAccel](const auto& entry) { return entry.second == hAccel; });
    delete hAccel;
    return TRUE;
}

BOOL SetWindowAccelerators(HWND hWnd, HACCEL hAccel)
{
    AcceleratorFilter* pFilter = Filter();
    if (LiveWnd(hWnd) == nullptr || pFilter == nullptr)
        return FALSE;
    if (hAccel == nullptr)
        pFilter->m_tables.erase(hWnd);
    else
        pFilter->m_tables[hWnd] = hAccel;
    return TRUE;
}

WORD LookUpAccelerator(HACCEL hAccel, int nQtKey, unsigned nQtModifiers)
{
    if (hAccel == nullptr)
        return 0;
    const Qt::KeyboardModifiers modifiers =
        Qt::KeyboardModifiers::fromInt(static_cast<int>(nQtModifiers));
    const WORD nKey = VirtualKey(nQtKey, modifiers.testFlag(Qt::KeypadModifier));
    if (nKey == 0)
        return 0;
    const bool bShift = modifiers.testFlag(Qt::ShiftModifier);
    const bool bControl = modifiers.testFlag(Qt::ControlModifier);
    const bool bAlt = modifiers.testFlag(Qt::AltModifier);
    for (const ACCEL& accel : hAccel->vecEntries)
    {
        if (accel.key != nKey || ((accel.fVirt & FCONTROL) != 0) != bControl ||
            ((accel.fVirt & FALT) != 0) != bAlt)
            continue;
        if ((accel.fVirt & FSHIFT) != 0 && !bShift)
            continue;
        return accel.cmd;
    }
    return 0;
}
