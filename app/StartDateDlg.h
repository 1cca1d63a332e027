#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// Asks for the day the practice starts on, as YYYY-MM-DD.
class CStartDateDlg : public QDialog
{
public:
    explicit CStartDateDlg(QWidget* pParent = nullptr);

    // Shown when the dialog opens, selected, so typing replaces it.
    void SetDate(const std::string& strDate);
    std::string Date() const;

private:
    QLineEdit* m_pDate = nullptr;
};
