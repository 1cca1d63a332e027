#pragma once

#include <string>

class QWidget;

// The standard file dialogs, Qt's own so they look and behave the same everywhere. strFilter is
// "Name(*.ext)|*.ext;*.other|...||". Empty when the user cancels.
std::string ChooseFileToOpen(QWidget* pParent, const std::string& strFilter);
// A file need not exist; an existing one is replaced only when the user agrees.
std::string ChooseFileToSave(QWidget* pParent, const std::string& strFilter,
                             const std::string& strDefaultSuffix,
                             const std::string& strDefaultName = {});
