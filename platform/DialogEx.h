// CDialogEx: CDialog with MFC's extended-dialog name; nothing more is needed here.
#pragma once

#include "platform/Dialog.h"

class CDialogEx : public CDialog
{
public:
    CDialogEx() = default;
    explicit CDialogEx(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : CDialog(nIDTemplate, pParentWnd)
    {
    }
};
