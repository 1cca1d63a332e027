#include "app/StartDateDlg.h"

#include "app/Resources.h"
#include "platform/DataExchange.h"

namespace
{
constexpr int kDateMaxChars = 10;
}

CStartDateDlg::CStartDateDlg(CWnd* pParent) : CDialogEx(IDD_START_DATE, pParent) {}

void CStartDateDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_EDIT_START_DATE, m_strDate);
    DDV_MaxChars(pDX, m_strDate, kDateMaxChars);
}
