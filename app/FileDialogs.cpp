#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace
{

// "All Files(*.*)|*.*||" -> {"All Files(*.*) (*)"}
QStringList NameFilters(const std::string& strFilter)
{
    const QStringList parts = QString::fromStdString(strFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
    {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& strPattern : patterns)
            if (strPattern.trimmed() == QLatin1String("*.*"))
                strPattern = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

std::string Run(QFileDialog& dialog, const std::string& strFilter)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (const QStringList filters = NameFilters(strFilter); !filters.isEmpty())
        dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toStdString();
}

} // namespace

std::string ChooseFileToOpen(QWidget* pParent, const std::string& strFilter)
{
    QFileDialog dialog(pParent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The name typed need not exist: reading it tells what is wrong with it.
    dialog.setFileMode(QFileDialog::AnyFile);
    return Run(dialog, strFilter);
}

std::string ChooseFileToSave(QWidget* pParent, const std::string& strFilter,
                             const std::string& strDefaultSuffix,
                             const std::string& strDefaultName)
{
    QFileDialog dialog(pParent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!strDefaultSuffix.empty())
        dialog.setDefaultSuffix(QString::fromStdString(strDefaultSuffix));
    if (!strDefaultName.empty())
        dialog.selectFile(QString::fromStdString(strDefaultName));
    return Run(dialog, strFilter);
}
