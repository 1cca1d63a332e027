// The application object and the start-up of the toolkit.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <memory>

#include "platform/PlatformApp.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "platform/WinUser.h"

namespace {
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

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run()
{
    QApplication::exec();
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIconA(nullptr, MAKEINTRESOURCE(nIDResource)); }

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const { return LoadCursorA(nullptr, lpszCursorName); }

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) { m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : ""; }

CWinApp* AfxGetApp() { return g_pApp; }

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

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) { return picce != nullptr ? TRUE : FALSE; }

void AfxEnableControlContainer() {}

CPlatformApp::CPlatformApp(int& argc, char** argv)
{
    if (QCoreApplication::instance() == nullptr) {
        new QApplication(argc, argv);
        m_bOwnsApplication = true;
    }
}

CPlatformApp::~CPlatformApp()
{
    if (m_bOwnsApplication)
        delete QCoreApplication::instance();
}

void CPlatformApp::ProcessEvents()
{
    for (int i = 0; i < 10; ++i) {
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
