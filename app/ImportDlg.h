#pragma once

#include "core/KLineLayout.h"

#include <QDialog>

#include <string>
#include <vector>

class CDialogUnits;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableView;

// How a text K-line file is read, for the trader to see and set: the first lines as text, the
// separator, header lines and encoding, the date and time columns and their forms, the price and
// volume columns, the day and month order and the decimal mark, with the first bars as the
// program reads them that way. OK is offered while the first lines give a bar.
class CImportDlg : public QDialog
{
public:
    // strHead is the start of the file, the controls start at preset, and nPromptId (a format
    // taking the path) says why the dialog is open.
    CImportDlg(const std::string& strPath, std::string strHead, const SKLineLayout& preset,
               unsigned nPromptId, QWidget* pParent = nullptr);
    ~CImportDlg() override;

    // The layout the controls show: the preset itself while nothing differs from it, else a
    // layout set by hand.
    const SKLineLayout& Layout() const { return m_layout; }

private:
    void CreateControls(const CDialogUnits& units);
    void ShowPreset();
    // The column drop-downs for the separator, header line and encoding chosen, keeping the
    // columns they show.
    void ShowColumns();
    void ShowFirstLines();
    // The layout from the controls, then the preview of it.
    void TakeControls();
    void ShowPreview();
    // Which two uses the trader gave one column; empty when each column has one use.
    std::string SharedColumnText() const;
    QString Decoded(std::string_view text) const;

    std::string m_strHead;
    std::vector<std::string_view> m_vecLines; // of m_strHead
    SKLineLayout m_preset;
    SKLineLayout m_layout;
    bool m_bShowing = false; // the program fills the controls: their changes are not the trader's

    QPlainTextEdit* m_pFirstLines = nullptr;
    QComboBox* m_pSeparator = nullptr;
    QSpinBox* m_pHeaderLines = nullptr;
    QComboBox* m_pEncoding = nullptr;
    QComboBox* m_pDateColumn = nullptr;
    QComboBox* m_pDateForm = nullptr;
    QComboBox* m_pDateOrder = nullptr;
    QComboBox* m_pTimeColumn = nullptr;
    QComboBox* m_pTimeForm = nullptr;
    QComboBox* m_pDecimal = nullptr;
    QComboBox* m_pOpen = nullptr;
    QComboBox* m_pHigh = nullptr;
    QComboBox* m_pLow = nullptr;
    QComboBox* m_pClose = nullptr;
    QComboBox* m_pVolume = nullptr;
    QCheckBox* m_pQuoted = nullptr;
    QLabel* m_pPreviewNote = nullptr;
    QTableView* m_pPreview = nullptr;
    QPushButton* m_pOk = nullptr;
};
