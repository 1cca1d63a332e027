#include "app/AboutDlg.h"

#include "app/Resources.h"
#include "platform/Resource.h"
#include "platform/Static.h"
#include "platform/WinUser.h"

CAboutDlg::CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    // The template names the icon; give it again in case the control came up without one.
    if (CWnd* pItem = GetDlgItem(IDC_ABOUT_ICON))
    {
        CStatic icon;
        if (icon.Attach(pItem->GetSafeHwnd()))
        {
            if (!icon.GetIcon())
                icon.SetIcon(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME)));
            icon.Detach();
        }
    }
    return TRUE;
}
