#include "messageboxdialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QString titleOr(const QString &title)
{
    return title.isEmpty() ? QString::fromLatin1(kDefaultDialogTitle) : title;
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

QString MessageBoxDialogs::saveFileName(const QString &title, const QString &suggestedPath,
                                        const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, titleOr(title), suggestedPath, filter);
}
