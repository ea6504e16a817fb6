#include "missingfileswindow.h"

#include "missingfilestexts.h"

#include "maintenance/missingfilecheck.h"
#include "platform/dialogs.h"
#include "widgets/accessiblecaption.h"
#include "widgets/busycursor.h"
#include "widgets/screenfit.h"

#include "utf8text.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

MissingFilesWindow::MissingFilesWindow(CatalogueStore &store, Dialogs &dialogs,
                                       const QList<MissingFileCheck::MissingEntry> &entries,
                                       QWidget *parent)
    // A dialog window is a transient of its parent: the window manager keeps it above the
    // main window, which stays above other programs' windows.
    : QWidget(parent, Qt::Dialog)
    , m_store(store)
    , m_dialogs(dialogs)
    , m_entries(entries)
    , m_entryList(new QListWidget(this))
    , m_deleteButton(new QPushButton(text(MissingFilesTexts::kDeleteFromCatalogue), this))
{
    setObjectName(QStringLiteral("errati"));
    setWindowTitle(text(MissingFilesTexts::kCaption));
    auto *heading = new QLabel(text(MissingFilesTexts::kHeading), this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setAlignment(Qt::AlignCenter);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    m_entryList->setObjectName(QStringLiteral("List1"));
    captionBy(heading, m_entryList);
    for (const MissingFileCheck::MissingEntry &entry : entries)
        m_entryList->addItem(entry.text());
    m_deleteButton->setObjectName(QStringLiteral("Command1"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_entryList, 1);
    layout->addWidget(m_deleteButton, 0, Qt::AlignHCenter);
    connect(m_deleteButton, &QPushButton::clicked, this, &MissingFilesWindow::deleteFromCatalogue);
    ScreenFit::resizeToFit(this, QSize(720, 420));
}

void MissingFilesWindow::deleteFromCatalogue()
{
    MissingFileCheck::PurgeResult result;
    {
        const BusyCursor busy;
        result = MissingFileCheck::deleteEntries(m_store, m_entries);
    }
    if (!result.failures.isEmpty())
        m_dialogs.critical(text(MissingFilesTexts::kCaption),
                           text(MissingFilesTexts::kDeleteFailed).arg(result.failures.join(u'\n')));
    m_entries.clear();
    m_entryList->clear();
    emit entriesDeleted();
    close();
}

void MissingFilesWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
