// CFileDialog: the standard open/save file dialog. The filter has MFC's form
// "All Files(*.*)|*.*||". Paths are UTF-8.
#pragma once

#include <string>

#include "platform/Dialog.h"

struct OPENFILENAMEA
{
    DWORD Flags;
    std::string strFile;
    std::string strDefExt;
    std::string strFilter;
};

class CFileDialog : public CDialog
{
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr,
                         LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr, DWORD dwSize = 0,
                         BOOL bVistaStyle = TRUE);

    INT_PTR DoModal() override; // IDOK with a chosen file, IDCANCEL otherwise
    std::string GetPathName() const;
    std::string GetFileName() const;
    std::string GetFileExt() const;
    std::string GetFileTitle() const;

    OPENFILENAMEA m_ofn;

protected:
    BOOL m_bOpenFileDialog;
};
