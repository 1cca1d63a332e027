// A program that ends the way tools do, for the lifetime test: it keeps its toolkit in a
// function-static CPlatformApp and uses a window and mouse input first, so the toolkit has made its
// lazily created state before the process exits.
#include <QTest>
#include <QWidget>
#include <cstring>

#include "platform/PlatformApp.h"
#include "platform/Wnd.h"
#include "platform/testsupport/TestSupport.h"

namespace
{

void UseTheToolkit()
{
    CWnd wnd;
    wnd.CreateEx(0, nullptr, "probe", WS_POPUP | WS_VISIBLE, RECT{0, 0, 60, 40}, nullptr, 0);
    QTest::mouseClick(WidgetFromHwnd(wnd.m_hWnd), Qt::LeftButton);
    CPlatformApp::RunFor(20);
}

void EnsureStaticToolkit()
{
    static int s_nArgc = 1;
    static char s_szName[] = "orvanta_platform_exit_probe";
    static char* s_argv[] = {s_szName, nullptr};
    static CPlatformApp s_app(s_nArgc, s_argv);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "static") == 0)
    {
        EnsureStaticToolkit();
        UseTheToolkit();
        return 0;
    }
    return 2;
}
