// CWinApp: the application object. Construct one global instance of a subclass; main() calls
// AfxWinMain, which starts the toolkit, runs InitInstance and, if it returns TRUE, the message
// loop.
//
//     COrvantaApp theApp;
//     int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
#pragma once

#include <string>

#include "platform/CmdTarget.h"
#include "platform/WinTypes.h"

class CWnd;

class CWinApp : public CCmdTarget
{
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run(); // the message loop, until the last window closes

    HICON LoadIcon(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    void SetRegistryKey(LPCTSTR lpszRegistryKey); // stored only; nothing is read or written

    CWnd* m_pMainWnd = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;
    std::string m_strAppName;
    std::string m_strRegistryKey;
};

CWinApp* AfxGetApp();
int AfxWinMain(int argc, char** argv);

// Start-up calls that have nothing to do on Linux; they answer success.
struct INITCOMMONCONTROLSEX
{
    DWORD dwSize;
    DWORD dwICC;
};
constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);
void AfxEnableControlContainer();
