#include "app/DialogControls.h"

#include "app/DialogUnits.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QValidator>

namespace
{

QRect PixelRect(const CDialogUnits& units, SDialogRect rc)
{
    return units.Rect(rc.x, rc.y, rc.cx, rc.cy);
}

QString WithoutMnemonics(const QString& strText)
{
    QString strPlain;
    for (qsizetype i = 0; i < strText.size(); ++i)
    {
        if (strText[i] != QLatin1Char('&'))
            strPlain += strText[i];
        else if (i + 1 < strText.size() && strText[i + 1] == QLatin1Char('&'))
            strPlain += strText[++i];
    }
    return strPlain;
}

// Holds back what the user types beyond the limit; text the program sets is never cut.
class CTypingLimit : public QValidator
{
public:
    CTypingLimit(QObject* pParent, int nChars) : QValidator(pParent), m_nChars(nChars) {}
    State validate(QString& strInput, int&) const override
    {
        return strInput.size() <= m_nChars ? Acceptable : Invalid;
    }

private:
    int m_nChars;
};

} // namespace

QPushButton* AddButton(QWidget* pParent, const CDialogUnits& units, const QString& strText,
                       SDialogRect rc, bool bDefault)
{
    auto* pButton = new QPushButton(strText, pParent);
    pButton->setDefault(bDefault);
    pButton->setFocusPolicy(Qt::StrongFocus);
    pButton->setGeometry(PixelRect(units, rc));
    return pButton;
}

QLabel* AddLabel(QWidget* pParent, const CDialogUnits& units, const QString& strText,
                 SDialogRect rc)
{
    auto* pLabel = new QLabel(WithoutMnemonics(strText), pParent);
    pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pLabel->setGeometry(PixelRect(units, rc));
    return pLabel;
}

QLineEdit* AddEdit(QWidget* pParent, const CDialogUnits& units, SDialogRect rc, bool bReadOnly,
                   int nTypingLimit)
{
    auto* pEdit = new QLineEdit(pParent);
    pEdit->setReadOnly(bReadOnly);
    pEdit->setFrame(true);
    pEdit->setValidator(new CTypingLimit(pEdit, nTypingLimit));
    pEdit->setFocusPolicy(Qt::StrongFocus);
    pEdit->setGeometry(PixelRect(units, rc));
    return pEdit;
}

QGroupBox* AddGroupBox(QWidget* pParent, const CDialogUnits& units, const QString& strText,
                       SDialogRect rc)
{
    auto* pGroup = new QGroupBox(strText, pParent);
    pGroup->setAttribute(Qt::WA_TransparentForMouseEvents);
    pGroup->setGeometry(PixelRect(units, rc));
    return pGroup;
}

bool ShowMessageBox(QWidget* pParent, const QString& strText, bool bQuestion)
{
    QMessageBox box(pParent);
    box.setWindowTitle(pParent != nullptr ? pParent->window()->windowTitle() : QString());
    box.setText(strText);
    if (bQuestion)
    {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    else
    {
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.exec();
    return !bQuestion || box.clickedButton() == box.button(QMessageBox::Yes);
}

void ShowMenuCheck(QAction* pAction, bool bChecked)
{
    pAction->setCheckable(bChecked);
    pAction->setChecked(bChecked);
}
