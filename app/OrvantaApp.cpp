#include "app/OrvantaApp.h"

#include "app/OrvantaDlg.h"
#include "app/Resources.h"
#include "core/ReplaySettings.h"

namespace
{
constexpr DWORD kRestartManagerSupportRestart = 0x01;
}

COrvantaApp::COrvantaApp()
    : CWinApp("Orvanta"), m_nRefreshSeconds(ReplaySettings().m_nRefreshSeconds),
      m_nWindowBars(ReplaySettings().m_nWindowBars)
{
    m_dwRestartManagerSupportFlags = kRestartManagerSupportRestart;
    // Nothing is kept between runs: every start begins with these.
    m_nRefreshSeconds = 1;
    m_nWindowBars = 26;
}

BOOL COrvantaApp::InitInstance()
{
    INITCOMMONCONTROLSEX initCtrls = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&initCtrls);

    CWinApp::InitInstance();
    AfxEnableControlContainer();

    // The key is only handed over; nothing is read or written under it.
    SetRegistryKey("应用程序向导生成的本地应用程序");

    RegisterOrvantaResources();

    {
        COrvantaDlg dlg;
        dlg.m_strStartFile = m_strStartFile;
        dlg.m_strStartDate = m_strStartDate;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }

    // No message loop after the dialog: the program ends with it.
    return FALSE;
}
