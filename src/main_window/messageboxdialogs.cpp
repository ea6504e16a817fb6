#include "messageboxdialogs.h"

#include "widgets/accessiblecaption.h"
#include "widgets/named.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QVBoxLayout>

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

// A message box whose Enter is `enter` and whose Esc is `escape`.
QMessageBox::StandardButton ask(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                const QString &text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton enter,
                                QMessageBox::StandardButton escape)
{
    QMessageBox box(icon, titleOr(title), text, buttons, parent);
    box.setDefaultButton(enter);
    box.setEscapeButton(escape);
    // Without a window of its own to stand above (a refusal to start), the box would fall
    // behind the main windows, which stay above all others, another program's included.
    if (!parent)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxDialogs::critical(const QString &title, const QString &text)
{
    ask(m_parent, QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok,
        QMessageBox::Ok);
}

bool MessageBoxDialogs::question(const QString &title, const QString &text)
{
    // Enter answers as Esc does: the question's No, which changes nothing.
    return ask(m_parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxDialogs::information(const QString &title, const QString &text)
{
    ask(m_parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok,
        QMessageBox::Ok);
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

std::optional<QString> MessageBoxDialogs::askText(const QString &title, const QString &prompt,
                                                  const QString &initial)
{
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("Testo"));
    dialog.setWindowTitle(titleOr(title));
    auto *caption = named(new QLabel(prompt), QStringLiteral("Label1"));
    auto *edit = named(new QLineEdit(initial), QStringLiteral("Text1"));
    captionBy(caption, edit);
    edit->selectAll();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(caption);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    dialog.resize(qMax(dialog.sizeHint().width(), 420), dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}
