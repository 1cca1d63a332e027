#pragma once

#include <QDialog>

// The About box: the program's icon, name and version.
class CAboutDlg : public QDialog
{
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};
