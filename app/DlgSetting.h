#pragma once

#include "platform/DialogEx.h"

#include <string>

// Edits the replay timer period in seconds. OK stores whatever number the text starts with
// (no range check); Cancel stores nothing.
class CDlgSetting : public CDialogEx
{
public:
    explicit CDlgSetting(CWnd* pParent = nullptr);

    std::string m_strInterval;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()
};
