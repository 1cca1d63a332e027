#pragma once

#include <QString>

class CDialogUnits;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls of the program's dialogs, each placed at its rectangle in dialog units. Controls
// made one after the other take the focus in that order.
struct SDialogRect
{
    int x, y, cx, cy;
};

// A push button; the default one answers Return wherever the focus is in its dialog.
QPushButton* AddButton(QWidget* pParent, const CDialogUnits& units, const QString& strText,
                       SDialogRect rc, bool bDefault = false);
// A text without mnemonic marks ("&&" shows one '&').
QLabel* AddLabel(QWidget* pParent, const CDialogUnits& units, const QString& strText,
                 SDialogRect rc);
// A framed one-line edit; nTypingLimit characters can be typed, the program may set more.
QLineEdit* AddEdit(QWidget* pParent, const CDialogUnits& units, SDialogRect rc, bool bReadOnly,
                   int nTypingLimit);
// A frame with a caption that lets the mouse through to what lies inside it.
QGroupBox* AddGroupBox(QWidget* pParent, const CDialogUnits& units, const QString& strText,
                       SDialogRect rc);

// A menu item's check mark. Only a checked item is checkable, so an unchecked one draws no empty
// box, as the program's menus always looked.
void ShowMenuCheck(QAction* pAction, bool bChecked);

// A box with the caption of its dialog: an error with OK, or a question with Yes and No (No the
// default and the answer to Escape). True for OK and Yes.
bool ShowMessageBox(QWidget* pParent, const QString& strText, bool bQuestion = false);
