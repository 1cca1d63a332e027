#include "app/DlgSetting.h"

#include "app/Resources.h"
#include "core/ReplaySettings.h"
#include "platform/DataExchange.h"
#include "platform/StringFormat.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace
{
constexpr int kIntervalMaxChars = 4;

// atoi's reading (white space, sign, leading digits; none gives 0), without its overflow.
int LeadingInteger(const std::string& strText)
{
    const long nValue = std::strtol(strText.c_str(), nullptr, 10);
    if (nValue > INT_MAX)
        return INT_MAX;
    if (nValue < INT_MIN)
        return INT_MIN;
    return static_cast<int>(nValue);
}
} // namespace

BEGIN_MESSAGE_MAP(CDlgSetting, CDialogEx)
ON_BN_CLICKED(IDOK, &CDlgSetting::OnBnClickedOk)
END_MESSAGE_MAP()

CDlgSetting::CDlgSetting(CWnd* pParent) : CDialogEx(IDD_DLG_SETTING, pParent) {}

void CDlgSetting::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_EDIT_INTERVAL, m_strInterval);
    DDV_MaxChars(pDX, m_strInterval, kIntervalMaxChars);
}

BOOL CDlgSetting::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    m_strInterval = StringFormat("%d", ReplaySettings().m_nRefreshSeconds);
    UpdateData(FALSE);
    return TRUE;
}

void CDlgSetting::OnBnClickedOk()
{
    UpdateData(TRUE);
    ReplaySettings().m_nRefreshSeconds = LeadingInteger(m_strInterval);
    CDialogEx::OnOK();
}
