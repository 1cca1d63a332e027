// CWinApp: the application object, and the program's entry through AfxWinMain.
#include <QApplication>

#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "platform/WinUser.h"

namespace
{
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_strAppName(lpszAppName != nullptr ? lpszAppName : "")
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}
int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    QApplication::exec();
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIconA(nullptr, MAKEINTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
    return LoadCursorA(nullptr, lpszCursorName);
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

int AfxWinMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return 1;
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce)
{
    return picce != nullptr ? TRUE : FALSE;
}

void AfxEnableControlContainer() {}
