// CPlatformApp: the toolkit started for tools and tests, and taken down in time.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <utility>

#include "platform/PlatformApp.h"

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
