// The application object and the start-up of the toolkit.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <utility>

#include "platform/PlatformApp.h"
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

namespace
{

// The application a CPlatformApp created and nobody has deleted yet.
QApplication* g_pOwnedApplication = nullptr;

void DeleteOwnedApplication()
{
    delete std::exchange(g_pOwnedApplication, nullptr);
}

// exit() destroys the main thread's thread-local objects before any static one. Deleting the
// application here, rather than in the destructor of a CPlatformApp that is itself a static, keeps
// it from outliving the toolkit's own statics, which its destructor still uses.
struct SExitGuard
{
    SExitGuard() = default;
    SExitGuard(const SExitGuard&) = delete;
    SExitGuard& operator=(const SExitGuard&) = delete;
    ~SExitGuard() { DeleteOwnedApplication(); }
};

} // namespace

CPlatformApp::CPlatformApp(int& argc, char** argv)
{
    if (QCoreApplication::instance() == nullptr)
    {
        g_pOwnedApplication = new QApplication(argc, argv);
        m_bOwnsApplication = true;
        // Made after the application, so destroyed before whatever thread-local state it made.
        static thread_local SExitGuard s_exitGuard;
    }
}

CPlatformApp::~CPlatformApp()
{
    if (m_bOwnsApplication)
        DeleteOwnedApplication(); // nothing left to do when the program is already exiting
}

void CPlatformApp::ProcessEvents()
{
    for (int i = 0; i < 10; ++i)
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void CPlatformApp::RunFor(int nMilliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(nMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
