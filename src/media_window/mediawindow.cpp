#include "mediawindow.h"

#include "mediatablemodel.h"
#include "mediawindowtexts.h"

#include "catalogue/cataloguestore.h"
#include "maintenance/mediumcommands.h"
#include "maintenance/mediumtexts.h"
#include "platform/dialogs.h"
#include "platform/volumes.h"
#include "widgets/accessiblecaption.h"
#include "widgets/busycursor.h"
#include "widgets/named.h"
#include "widgets/screenfit.h"

#include "utf8text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <iterator>

using namespace MediaWindowTexts;

namespace {

// A command button that Tab reaches and Enter runs as well as Space, as in every window.
QPushButton *commandButton(const char *caption, const char *toolTip, const char *name)
{
    auto *button = named(new QPushButton(text(caption)), QLatin1String(name));
    if (toolTip)
        button->setToolTip(text(toolTip));
    button->setAutoDefault(true);
    return button;
}

} // namespace

MediaWindow::MediaWindow(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
                         Dialogs &dialogs, Volumes &volumes, QWidget *parent)
    // A dialog window is a transient of its parent: the window manager keeps it above the
    // main window, which stays above other programs' windows.
    : QWidget(parent, Qt::Dialog)
    , m_store(store)
    , m_model(model)
    , m_counters(counters)
    , m_dialogs(dialogs)
    , m_volumes(volumes)
    , m_media(new MediaTableModel(this))
    , m_sorted(new QSortFilterProxyModel(this))
{
    setObjectName(QStringLiteral("FormSupporti"));
    setWindowTitle(text(kCaption));

    m_sorted->setSourceModel(m_media);
    m_sorted->setSortRole(MediaTableModel::kSortRole);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_sorted->setSortLocaleAware(true);

    auto *listCaption = named(new QLabel(text(kListCaption)), QStringLiteral("Label1"));
    m_list = named(new QTableView, QStringLiteral("ListaSupporti"));
    m_list->setModel(m_sorted);
    captionBy(listCaption, m_list);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTabKeyNavigation(false);
    m_list->setSortingEnabled(true);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->sortByColumn(MediaTableModel::LabelColumn, Qt::AscendingOrder);

    // The headers sort with the pointer; the chooser does the same from the keyboard.
    auto *sortCaption = named(new QLabel(text(kSortCaption)), QStringLiteral("Label2"));
    m_sortChooser = named(new QComboBox, QStringLiteral("OrdinaSupporti"));
    for (const char *header : kHeaders)
        m_sortChooser->addItem(text(header));
    captionBy(sortCaption, m_sortChooser);

    m_renameButton = commandButton(kRename, kRenameToolTip, "Rinomina");
    m_showButton = commandButton(kShow, kShowToolTip, "Mostra");
    m_removeButton = commandButton(kRemove, kRemoveToolTip, "Elimina");
    auto *closeButton = commandButton(kClose, nullptr, "Chiudi");

    auto *sortRow = new QHBoxLayout;
    sortRow->addWidget(sortCaption);
    sortRow->addWidget(m_sortChooser);
    sortRow->addStretch();
    auto *commands = new QHBoxLayout;
    commands->addWidget(m_renameButton);
    commands->addWidget(m_showButton);
    commands->addWidget(m_removeButton);
    commands->addStretch();
    commands->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(listCaption);
    layout->addWidget(m_list, 1);
    layout->addLayout(sortRow);
    layout->addLayout(commands);

    connect(m_sortChooser, &QComboBox::activated, this,
            [this](int column) { m_list->sortByColumn(column, Qt::AscendingOrder); });
    connect(m_list->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column) { m_sortChooser->setCurrentIndex(column); });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MediaWindow::updateCommands);
    connect(m_renameButton, &QPushButton::clicked, this, &MediaWindow::rename);
    connect(m_showButton, &QPushButton::clicked, this, &MediaWindow::showMedium);
    connect(m_removeButton, &QPushButton::clicked, this, &MediaWindow::remove);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);

    reload();
    ScreenFit::resizeToFit(this, QSize(820, 420));
}

void MediaWindow::reload()
{
    const Medium *before = chosen();
    const QString serial = before ? before->supporto : QString();
    const bool hadChoice = before != nullptr;
    std::optional<QList<Medium>> media;
    {
        const BusyCursor busy;
        media = m_store.media();
    }
    if (!media)
        m_dialogs.critical(text(kCaption), text(kCannotRead).arg(m_store.lastError()));
    m_media->setMedia(media.value_or(QList<Medium>()), m_volumes.volumes());
    for (int column = 0; column < m_media->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
    const int row = hadChoice ? m_media->rowOf(serial) : -1;
    if (row >= 0)
        m_list->selectRow(m_sorted->mapFromSource(m_media->index(row, 0)).row());
    else if (m_media->rowCount() > 0)
        m_list->selectRow(0);
    updateCommands();
}

const Medium *MediaWindow::chosen() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    return &m_media->medium(m_sorted->mapToSource(rows.constFirst()).row());
}

void MediaWindow::updateCommands()
{
    const bool any = chosen() != nullptr;
    m_renameButton->setEnabled(any);
    m_showButton->setEnabled(any);
    m_removeButton->setEnabled(any);
}

void MediaWindow::rename()
{
    const Medium *medium = chosen();
    if (!medium)
        return;
    const Medium renamed = *medium;
    const std::optional<QString> label =
        m_dialogs.askText(text(MediumTexts::kRenameTitle),
                          text(MediumTexts::kRenamePrompt).arg(renamed.labelD), renamed.labelD);
    if (!label)
        return;
    MediumCommands commands(m_store, m_model, m_counters, m_dialogs, busyCursorPointer());
    if (commands.rename(renamed, *label) != MediumCommands::Outcome::Done)
        return;
    reload();
    emit catalogueChanged();
}

void MediaWindow::showMedium()
{
    const Medium *medium = chosen();
    if (!medium)
        return;
    MediumCommands commands(m_store, m_model, m_counters, m_dialogs, busyCursorPointer());
    const BusyCursor busy;
    if (commands.show(*medium) == MediumCommands::Outcome::Done)
        emit gridNarrowed();
}

void MediaWindow::remove()
{
    const Medium *medium = chosen();
    if (!medium)
        return;
    const Medium removed = *medium;
    MediumCommands commands(m_store, m_model, m_counters, m_dialogs, busyCursorPointer());
    if (commands.remove(removed) != MediumCommands::Outcome::Done)
        return;
    reload();
    emit catalogueChanged();
}
