#include "missingfileswindow.h"

#include "missingfilestexts.h"

#include "main_window/accessiblecaption.h"
#include "main_window/screenfit.h"
#include "maintenance/missingfilecheck.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

MissingFilesWindow::MissingFilesWindow(CatalogueStore &store, Dialogs &dialogs,
                                       const QList<MissingFileCheck::MissingEntry> &entries,
                                       QWidget *parent)
    // A dialog window is a transient of its parent: the window manager keeps it above the
    // main window, which stays above other programs' windows.
    : QWidget(parent, Qt::Dialog)
    , m_store(store)
    , m_dialogs(dialogs)
    , m_entries(entries)
    , m_list1(new QListWidget(this))
    , m_command1(new QPushButton(text(MissingFilesTexts::kDeleteFromCatalogue), this))
{
    setObjectName(QStringLiteral("errati"));
    setWindowTitle(text(MissingFilesTexts::kCaption));
    auto *label1 = new QLabel(text(MissingFilesTexts::kHeading), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setAlignment(Qt::AlignCenter);
    QFont font = label1->font();
    font.setBold(true);
    label1->setFont(font);
    m_list1->setObjectName(QStringLiteral("List1"));
    captionBy(label1, m_list1);
    for (const MissingFileCheck::MissingEntry &entry : entries)
        m_list1->addItem(entry.text());
    m_command1->setObjectName(QStringLiteral("Command1"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(m_list1, 1);
    layout->addWidget(m_command1, 0, Qt::AlignHCenter);
    connect(m_command1, &QPushButton::clicked, this, &MissingFilesWindow::deleteFromCatalogue);
    ScreenFit::resizeToFit(this, QSize(720, 420));
}

void MissingFilesWindow::deleteFromCatalogue()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MissingFileCheck::PurgeResult result =
        MissingFileCheck::deleteEntries(m_store, m_entries);
    QApplication::restoreOverrideCursor();
    if (!result.failures.isEmpty())
        m_dialogs.critical(text(MissingFilesTexts::kCaption),
                           text(MissingFilesTexts::kDeleteFailed).arg(result.failures.join(u'\n')));
    m_entries.clear();
    m_list1->clear();
    emit entriesDeleted();
    close();
}

void MissingFilesWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
