#pragma once

#include "platform/DialogEx.h"

// The About box: the program's icon, name and version.
class CAboutDlg : public CDialogEx
{
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};
