#include "app/OrvantaApp.h"

#include "app/OrvantaDlg.h"

int COrvantaApp::InitInstance()
{
    COrvantaDlg dlg;
    dlg.LoadAtStart(m_strStartFile, m_strStartDate);
    dlg.exec();
    return 0;
}
