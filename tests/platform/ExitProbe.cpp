// A program that ends the way real ones do, for the lifetime tests: run with "static" it keeps its
// toolkit in a function-static CPlatformApp; with "winapp" it runs a modal dialog from a global
// CWinApp through AfxWinMain. Either way it uses windows, mouse input and timers first, so the
// toolkit has made its lazily created state before the process exits.
#include <QTest>
#include <QWidget>
#include <cstring>

#include "platform/Dialog.h"
#include "platform/PlatformApp.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "platform/Wnd.h"
#include "platform/testsupport/TestSupport.h"

namespace
{

constexpr UINT kDialogId = 500;

void UseTheToolkit()
{
    CWnd wnd;
    wnd.CreateEx(0, nullptr, "probe", WS_POPUP | WS_VISIBLE, CRect(0, 0, 60, 40), nullptr, 0);
    QTest::mouseClick(WidgetFromHwnd(wnd.m_hWnd), Qt::LeftButton);
    CPlatformApp::RunFor(20);
}

class CProbeDialog : public CDialog
{
public:
    CProbeDialog() : CDialog(kDialogId) {}

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 10);
        return TRUE;
    }
    void OnTimer(UINT_PTR) override
    {
        KillTimer(1);
        QTest::mouseClick(WidgetFromHwnd(m_hWnd), Qt::LeftButton);
        EndDialog(IDOK);
    }
};

class CProbeApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        SDialogTemplate t;
        t.nId = kDialogId;
        t.cx = 100;
        t.cy = 50;
        t.pszCaption = "probe";
        RegisterDialogTemplate(t);
        CProbeDialog dlg;
        m_pMainWnd = &dlg;
        m_nResult = dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
    int ExitInstance() override { return m_nResult == IDOK ? 0 : 3; }

private:
    INT_PTR m_nResult = -1;
};

CProbeApp theApp;

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
    if (argc > 1 && std::strcmp(argv[1], "winapp") == 0)
        return AfxWinMain(argc, argv);
    return 2;
}
