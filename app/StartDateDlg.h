#pragma once

#include "platform/DialogEx.h"

#include <string>

// Asks for the day the practice starts on, as YYYY-MM-DD.
class CStartDateDlg : public CDialogEx
{
public:
    explicit CStartDateDlg(CWnd* pParent = nullptr);

    std::string m_strDate; // shown when the dialog opens; the text entered after OK

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
