#include "messageboxdialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

QString titleOr(const QString &title)
{
    return title.isEmpty() ? QString::fromLatin1(kDefaultDialogTitle) : title;
}

// The extension a file type adds to a name typed without one: "xlsx" of "Excel (*.xlsx)".
QString extensionOf(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral(R"(\(\*\.([^ ;)]+))"));
    return pattern.match(filter).captured(1);
}

} // namespace

void MessageBoxDialogs::critical(const QString &title, const QString &text)
{
    QMessageBox::critical(m_parent, titleOr(title), text, QMessageBox::Ok);
}

bool MessageBoxDialogs::question(const QString &title, const QString &text)
{
    return QMessageBox::question(m_parent, titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxDialogs::information(const QString &title, const QString &text)
{
    QMessageBox::information(m_parent, titleOr(title), text, QMessageBox::Ok);
}

SaveFileChoice MessageBoxDialogs::saveFileName(const QString &title, const QString &suggestedPath,
                                               const QStringList &filters)
{
    const QFileInfo suggested(suggestedPath);
    QFileDialog dialog(m_parent, titleOr(title), suggested.absolutePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(extensionOf(filters.value(0)));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &filter) { dialog.setDefaultSuffix(extensionOf(filter)); });
    dialog.selectFile(suggested.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}
