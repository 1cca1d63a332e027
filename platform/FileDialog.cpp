// The standard file dialog (Qt's own, so it looks and behaves the same everywhere).
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/FileDialog.h"
#include "platform/detail/WindowInternal.h"

using namespace platform_detail;

namespace
{
// "All Files(*.*)|*.*||" -> {"All Files(*.*) (*)"}
QStringList ParseFilter(const std::string& strFilter)
{
    QStringList parts = QString::fromUtf8(strFilter.c_str()).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    {
        if (parts[i].isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p.trimmed() == QLatin1String("*.*"))
                p = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}
} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD, BOOL)
    : CDialog(0, pParentWnd), m_bOpenFileDialog(bOpenFileDialog)
{
    m_ofn.Flags = dwFlags;
    m_ofn.strDefExt = lpszDefExt != nullptr ? lpszDefExt : "";
    m_ofn.strFile = lpszFileName != nullptr ? lpszFileName : "";
    m_ofn.strFilter = lpszFilter != nullptr ? lpszFilter : "";
}

INT_PTR CFileDialog::DoModal()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return IDCANCEL;
    QWidget* pOwner = nullptr;
    if (m_pParentWnd != nullptr && LiveWnd(m_pParentWnd->m_hWnd) != nullptr)
        pOwner = m_pParentWnd->m_hWnd->pWidget;
    else
        pOwner = QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget()
                                                              : QApplication::activeWindow();
    QFileDialog dialog(pOwner);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (m_bOpenFileDialog)
        dialog.setFileMode((m_ofn.Flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                                  : QFileDialog::AnyFile);
    if (!m_ofn.strDefExt.empty())
        dialog.setDefaultSuffix(QString::fromUtf8(m_ofn.strDefExt.c_str()));
    const QStringList filters = ParseFilter(m_ofn.strFilter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!m_ofn.strFile.empty())
        dialog.selectFile(QString::fromUtf8(m_ofn.strFile.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    m_ofn.strFile = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toStdString();
    return IDOK;
}

std::string CFileDialog::GetPathName() const
{
    return m_ofn.strFile;
}

std::string CFileDialog::GetFileName() const
{
    const auto n = m_ofn.strFile.find_last_of('/');
    return n == std::string::npos ? m_ofn.strFile : m_ofn.strFile.substr(n + 1);
}

std::string CFileDialog::GetFileExt() const
{
    const std::string name = GetFileName();
    const auto n = name.find_last_of('.');
    return n == std::string::npos ? std::string() : name.substr(n + 1);
}

std::string CFileDialog::GetFileTitle() const
{
    const std::string name = GetFileName();
    const auto n = name.find_last_of('.');
    return n == std::string::npos ? name : name.substr(0, n);
}
