// CCmdTarget: routing WM_COMMAND through the message maps of a class and its bases.
#include "platform/CmdTarget.h"
#include "platform/WinUser.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP s_map = {nullptr, &s_entries[0]};
    return &s_map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p)
        {
            if (p->nMessage == WM_COMMAND && p->nSig == AfxSigCmd_v &&
                static_cast<int>(p->nCode) == nCode && nID >= p->nID && nID <= p->nLastID &&
                p->pfn != nullptr)
            {
                (this->*(p->pfn))();
                return TRUE;
            }
        }
    }
    return FALSE;
}
