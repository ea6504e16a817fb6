#include "mainwindow.h"

#include "exportcommand.h"
#include "importprogress.h"
#include "mainwindowtexts.h"
#include "waitwindow.h"

#include "catalogue/cataloguestore.h"
#include "catalogue/storedtextcleanup.h"
#include "disk_search/winseek.h"
#include "grid/cataloguemodel.h"
#include "grid/cataloguesearch.h"
#include "grid/gridloader.h"
#include "grid/gridsort.h"
#include "grid/statusline.h"
#include "import/fileimport.h"
#include "inspection/collectioncounters.h"
#include "inspection/drivetable.h"
#include "maintenance/entrydeletion.h"
#include "maintenance/missingfilecheck.h"
#include "maintenance/readonlychange.h"
#include "maintenance/startupcheck.h"
#include "missing_files/missingfileswindow.h"
#include "platform/dialogs.h"
#include "platform/volumes.h"
#include "tag_editor/tageditor.h"
#include "tags/genretable.h"
#include "tags/taglibid3v2reader.h"

#include "widgets/accessiblecaption.h"
#include "widgets/busycursor.h"
#include "widgets/hovercontroller.h"
#include "widgets/named.h"
#include "widgets/screenfit.h"

#include "utf8text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using namespace MainWindowTexts;

} // namespace

MainWindow::MainWindow(CatalogueStore &store, Dialogs &dialogs, Volumes &volumes, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
    , m_dialogs(dialogs)
    , m_volumes(volumes)
    , m_model(new CatalogueModel(this))
    , m_counters(new CollectionCounters(this))
    , m_hover(new HoverController(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(text(kCaption));
    // The catalogue window stays above the windows of other programs.
    setWindowFlag(Qt::WindowStaysOnTopHint);

    auto *top = new QHBoxLayout;
    top->addWidget(buildSearchFrame(), 3);
    top->addWidget(buildSortFrame(), 2);
    auto *right = new QVBoxLayout;
    right->addWidget(buildDeleteFrame());
    right->addWidget(buildInfoFrame());
    right->addWidget(buildImportFrame());
    right->addWidget(buildRefreshPair());
    right->addStretch();
    top->addLayout(right, 2);

    m_statusLine = named(new QLabel(text(kStatusStart)), QStringLiteral("Label4"));
    m_statusLine->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildGrid(), 1);
    layout->addWidget(m_statusLine);

    buildHoverRules();
    connect(m_counters, &CollectionCounters::changed, this, &MainWindow::showCounters);
    showCounters();
    ScreenFit::resizeToFit(this, QSize(1100, 760));
}

MainWindow::~MainWindow() = default;

QGroupBox *MainWindow::buildSearchFrame()
{
    m_searchFrame = named(new QGroupBox(text(kSearchFrame)), QStringLiteral("Ricerca"));
    auto *grid = new QGridLayout(m_searchFrame);
    for (int i = 0; i < 5; ++i) {
        m_searchOptions[i] =
            named(new QRadioButton(text(kSearchOptions[i])), QStringLiteral("Option1_%1").arg(i));
        grid->addWidget(m_searchOptions[i], i, 0);
    }
    auto *keyCaption = named(new QLabel(text(kKey)), QStringLiteral("Label1"));
    m_searchEdit = named(new QLineEdit, QStringLiteral("Text1"));
    captionBy(keyCaption, m_searchEdit);
    m_genreChooser = named(new QComboBox, QStringLiteral("Combo1"));
    // The genre chooser takes the place of the text box for the genre search: the same key.
    m_genreChooser->setAccessibleName(text(kKey));
    m_inFieldCheck = named(new QCheckBox(text(kWholeField)), QStringLiteral("Check1"));
    m_inFieldCheck->setToolTip(text(kWholeFieldToolTip));
    m_searchButton = named(new QPushButton(text(kStartSearch)), QStringLiteral("Command1"));
    m_searchButton->setToolTip(text(kStartSearchToolTip));
    m_searchFace = named(new QLabel(text(kStartSearch)), QStringLiteral("cerca"));
    auto *foundFrame = named(new QGroupBox, QStringLiteral("Frame10"));
    m_foundKeysList = named(new QListWidget, QStringLiteral("List3"));
    m_foundKeysList->setAccessibleName(text(kFoundKeys));
    (new QVBoxLayout(foundFrame))->addWidget(m_foundKeysList);

    grid->addWidget(keyCaption, 0, 1);
    grid->addWidget(m_searchEdit, 1, 1);
    grid->addWidget(m_genreChooser, 2, 1);
    grid->addWidget(m_inFieldCheck, 3, 1);
    grid->addWidget(hoverCommand(m_searchButton, m_searchFace), 4, 1);
    grid->addWidget(foundFrame, 0, 2, 5, 1);
    m_duplicatesButton = named(new QPushButton(text(kDuplicates)), QStringLiteral("Doppioni"));
    m_duplicatesButton->setToolTip(text(kDuplicatesToolTip));
    m_duplicatesButton->setAutoDefault(true);
    grid->addWidget(m_duplicatesButton, 5, 0);
    connect(m_duplicatesButton, &QPushButton::clicked, this, &MainWindow::showDuplicates);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    for (int i = 0; i < 5; ++i)
        connect(m_searchOptions[i], &QRadioButton::clicked, this,
                [this, i] { searchOptionClicked(i); });
    connect(m_searchEdit, &QLineEdit::textChanged, this, &MainWindow::searchTextChanged);
    connect(m_searchEdit, &QLineEdit::returnPressed, this, &MainWindow::runSearch);
    connect(m_searchButton, &QPushButton::clicked, this, &MainWindow::runSearch);
    // The genre chooser appears with the genre search; until something is typed or the genre
    // search is chosen there is nothing to search for.
    m_genreChooser->hide();
    setSearchEnabled(false);
    return m_searchFrame;
}

QGroupBox *MainWindow::buildSortFrame()
{
    m_sortFrame = named(new QGroupBox(text(kSortFrame)), QStringLiteral("Frame7"));
    auto *grid = new QGridLayout(m_sortFrame);
    for (int i = 0; i < 10; ++i) {
        m_sortOptions[i] =
            named(new QRadioButton(text(kSortOptions[i])), QStringLiteral("ordina_%1").arg(i));
        grid->addWidget(m_sortOptions[i], i % 5, i / 5);
    }
    m_sortButton = named(new QPushButton(text(kStartSort)), QStringLiteral("ordinamento"));
    m_sortFace = named(new QLabel(text(kStartSort)), QStringLiteral("selordina"));
    grid->addWidget(hoverCommand(m_sortButton, m_sortFace), 5, 0, 1, 2);
    for (int i = 0; i < 10; ++i)
        connect(m_sortOptions[i], &QRadioButton::clicked, this, [this, i] { m_sortOption = i; });
    connect(m_sortButton, &QPushButton::clicked, this, &MainWindow::runSort);
    return m_sortFrame;
}

QGroupBox *MainWindow::buildDeleteFrame()
{
    auto *deleteFrame = named(new QGroupBox(text(kDeleteFrame)), QStringLiteral("Frame9"));
    m_noConfirmCheck = named(new QCheckBox(text(kNoConfirm)), QStringLiteral("conferma"));
    m_deleteFileCheck = named(new QCheckBox(text(kDeleteFile)), QStringLiteral("cancella"));
    auto *box = new QHBoxLayout(deleteFrame);
    box->addWidget(m_noConfirmCheck);
    box->addWidget(m_deleteFileCheck);
    return deleteFrame;
}

QGroupBox *MainWindow::buildInfoFrame()
{
    m_infoFrame = named(new QGroupBox(text(kInfoFrame)), QStringLiteral("Frame2"));
    auto *grid = new QGridLayout(m_infoFrame);
    struct CounterRow
    {
        const char *caption;
        const char *captionName;
        const char *valueName;
    };
    // In the order of CollectionCounters::Counter.
    static constexpr CounterRow rows[6] = {
        {kFound, "Label40", "mp3found"}, {kWithTag, "Label41", "conid"},
        {kWithoutTag, "Label6", "noid"}, {kCorrupt, "Label5", "mp3errati"},
        {kReadOnly, "Label7", "ROnly"},  {kOnCdRom, "Label8", "cdrom"}};
    for (int i = 0; i < 6; ++i) {
        auto *caption =
            named(new QLabel(text(rows[i].caption)), QString::fromLatin1(rows[i].captionName));
        m_counterLabels[i] =
            named(new QLabel(QStringLiteral("0")), QString::fromLatin1(rows[i].valueName));
        m_counterLabels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setBuddy(m_counterLabels[i]);
        grid->addWidget(caption, i % 3, (i / 3) * 2);
        grid->addWidget(m_counterLabels[i], i % 3, (i / 3) * 2 + 1);
    }
    m_attributesButton = named(new QPushButton(text(kChangeAttributes)), QStringLiteral("attrib"));
    m_attributesButton->setToolTip(text(kChangeAttributesToolTip));
    m_attributesFace = named(new QLabel(text(kChangeAttributes)), QStringLiteral("txtattr"));
    grid->addWidget(hoverCommand(m_attributesButton, m_attributesFace), 3, 0, 1, 4);
    connect(m_attributesButton, &QPushButton::clicked, this, &MainWindow::changeAttributes);
    m_exportButton = named(new QPushButton(text(kExportList)), QStringLiteral("EsportaCsv"));
    m_exportButton->setToolTip(text(kExportListToolTip));
    grid->addWidget(m_exportButton, 4, 0, 1, 4);
    connect(m_exportButton, &QPushButton::clicked, this,
            [this] { exportGrid(*m_model, m_dialogs, this); });
    m_mediaButton = named(new QPushButton(text(kMedia)), QStringLiteral("Supporti"));
    m_mediaButton->setToolTip(text(kMediaToolTip));
    m_mediaButton->setAutoDefault(true);
    grid->addWidget(m_mediaButton, 5, 0, 1, 4);
    connect(m_mediaButton, &QPushButton::clicked, this, &MainWindow::openMedia);
    return m_infoFrame;
}

QGroupBox *MainWindow::buildImportFrame()
{
    m_importFrame = named(new QGroupBox(text(kImportFrame)), QStringLiteral("Frame1"));
    m_importButton = named(new QPushButton(text(kImport)), QStringLiteral("Importa"));
    m_importButton->setToolTip(text(kImportToolTip));
    m_importFace = named(new QLabel(text(kImport)), QStringLiteral("Label2"));
    (new QVBoxLayout(m_importFrame))->addWidget(hoverCommand(m_importButton, m_importFace));
    connect(m_importButton, &QPushButton::clicked, this, &MainWindow::openDiskSearch);
    return m_importFrame;
}

QWidget *MainWindow::buildRefreshPair()
{
    m_refreshButton = named(new QPushButton(text(kRefresh)), QStringLiteral("Command2"));
    m_refreshButton->setToolTip(text(kRefreshToolTip));
    m_refreshFace = named(new QLabel(text(kRefresh)), QStringLiteral("Label3"));
    connect(m_refreshButton, &QPushButton::clicked, this, &MainWindow::refresh);
    return hoverCommand(m_refreshButton, m_refreshFace);
}

QWidget *MainWindow::hoverCommand(QPushButton *button, QLabel *face)
{
    QWidget *pair = m_hover->addCommand(button, face);
    pair->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    face->setMinimumHeight(button->sizeHint().height());
    return pair;
}

QTableView *MainWindow::buildGrid()
{
    m_grid = named(new QTableView, QStringLiteral("dati"));
    m_grid->setModel(m_model);
    m_grid->setToolTip(text(kGridToolTip));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    // The arrow keys move within the grid; Tab moves on to the next control, as everywhere.
    m_grid->setTabKeyNavigation(false);
    m_grid->setSortingEnabled(false);
    // Fixed row heights keep scrolling through a large catalogue cheap.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setHighlightSections(false);
    connect(m_grid, &QTableView::clicked, this, &MainWindow::gridClicked);
    connect(m_grid, &QTableView::doubleClicked, this, &MainWindow::openEditor);
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &MainWindow::applyColumnWidths);
    connect(m_model, &QAbstractItemModel::modelReset, this, &MainWindow::applyColumnWidths);
    applyColumnWidths();
    return m_grid;
}

void MainWindow::buildHoverRules()
{
    using Effect = HoverController::Effect;
    m_hover->addRule(m_searchFrame, m_searchButton, Effect::Hide);
    m_hover->addRule(m_refreshButton, m_searchButton, Effect::Hide);
    m_hover->addRule(m_searchButton, m_refreshButton, Effect::Hide);
    m_hover->addRule(m_importFrame, m_importButton, Effect::Hide);
    m_hover->addRule(m_infoFrame, m_attributesButton, Effect::Hide);
    m_hover->addRule(m_sortFrame, m_sortButton, Effect::Hide);
    for (QRadioButton *option : m_sortOptions)
        m_hover->addRule(option, m_sortButton, Effect::Hide);
}

void MainWindow::applyColumnWidths()
{
    // A column is as wide as its header label with the blanks after it, in the grid's font.
    const QFontMetrics metrics(m_grid->horizontalHeader()->font());
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_grid->setColumnWidth(c, metrics.horizontalAdvance(m_model->headerCell(c)) + 8);
}

void MainWindow::start(StartupChecks checks)
{
    cleanStoredTexts();
    // At start-up the files are looked at while the grid loads.
    std::vector<FileLook> looks;
    if (checks == StartupChecks::Run) {
        showCatalogue([this, &looks] {
            StartupLoad load = loadLookingAtFiles(m_store, *m_model, *m_counters);
            looks = std::move(load.looks);
            return load.loaded;
        });
    } else {
        caricaDB();
    }
    m_driveTable = buildDriveTable(m_volumes.volumes());
    m_genreChooser->clear();
    m_genreChooser->addItem(QString());
    m_genreChooser->addItems(genreNames());
    m_genreChooser->setCurrentIndex(0);
    if (checks == StartupChecks::Run)
        runStartupChecks(std::move(looks));
    // The DEL key on the grid reaches the window first.
    m_grid->installEventFilter(this);
}

void MainWindow::caricaDB()
{
    showCatalogue([this] { return ::caricaDB(m_store, *m_model, *m_counters); });
}

void MainWindow::showCatalogue(const std::function<bool()> &load)
{
    if (!m_wait)
        m_wait = new WaitWindow(this);
    m_wait->showNow();
    const bool loaded = load();
    m_wait->close();
    if (!loaded)
        m_dialogs.critical(QString(), text(kLoadFailed).arg(m_store.lastError()));
}

void MainWindow::showCounters()
{
    using Counter = CollectionCounters::Counter;
    static constexpr Counter order[6] = {Counter::Found,   Counter::WithTag,  Counter::WithoutTag,
                                         Counter::Corrupt, Counter::ReadOnly, Counter::CdRom};
    for (int i = 0; i < 6; ++i)
        m_counterLabels[i]->setText(QString::number(m_counters->value(order[i])));
    // Read-only files can be made writable, and two or more records can be sorted.
    const bool readOnlyFiles = m_counters->value(Counter::ReadOnly) > 0;
    m_attributesButton->setEnabled(readOnlyFiles);
    m_attributesFace->setEnabled(readOnlyFiles);
    const bool sortable = m_model->recordCount() > 1;
    m_sortButton->setEnabled(sortable);
    m_sortFace->setEnabled(sortable);
}

void MainWindow::refresh()
{
    m_grid->setCurrentIndex(QModelIndex());
    m_refreshButton->hide();
    setRefreshEnabled(false);
    const BusyCursor busy;
    caricaDB();
}

void MainWindow::setSearchEnabled(bool enabled)
{
    m_searchFace->setEnabled(enabled);
    m_searchButton->setEnabled(enabled);
}

void MainWindow::setRefreshEnabled(bool enabled)
{
    m_refreshFace->setEnabled(enabled);
    m_refreshButton->setEnabled(enabled);
}

void MainWindow::searchOptionClicked(int index)
{
    m_searchOption = index;
    if (CatalogueSearch::columnOfOption(index) == Genre) {
        m_searchButton->show();
        setSearchEnabled(true);
        m_genreChooser->show();
        m_searchEdit->show();
        m_inFieldCheck->setChecked(false);
        m_inFieldCheck->setEnabled(false);
        return;
    }
    if (m_searchEdit->text().isEmpty()) {
        m_searchButton->hide();
        setSearchEnabled(false);
    }
    m_genreChooser->hide();
    m_searchEdit->show();
    m_inFieldCheck->setChecked(false);
    m_inFieldCheck->setEnabled(true);
}

void MainWindow::searchTextChanged(const QString &typed)
{
    if (!typed.isEmpty() && m_counters->value(CollectionCounters::Counter::Found) > 0) {
        setSearchEnabled(true);
        return;
    }
    // Nothing can be typed while the grid shows no record.
    setSearchEnabled(false);
    m_searchEdit->clear();
}

void MainWindow::runSearch()
{
    m_searchButton->setEnabled(false);
    setRefreshEnabled(true);
    CatalogueSearch::Request request;
    request.column = CatalogueSearch::columnOfOption(m_searchOption);
    request.text = request.column == Genre ? m_genreChooser->currentText() : m_searchEdit->text();
    request.wordSearch = m_inFieldCheck->isChecked();
    bool rebuilt = false;
    {
        const BusyCursor busy;
        const QList<qint64> keys = CatalogueSearch::matchingKeys(*m_model, request);
        QStringList keyTexts;
        keyTexts.reserve(keys.size());
        for (const qint64 key : keys)
            keyTexts << QString::number(key);
        m_foundKeysList->clear();
        m_foundKeysList->addItems(keyTexts);
        m_grid->setCurrentIndex(QModelIndex());
        rebuilt = CatalogueSearch::rebuild(m_store, *m_model, *m_counters, keys);
    }
    m_searchButton->setEnabled(true);
    if (!rebuilt)
        m_dialogs.critical(QString(), text(kLoadFailed).arg(m_store.lastError()));
}

void MainWindow::runSort()
{
    const BusyCursor busy;
    GridSort::sortRows(*m_model, GridSort::columnOfOption(m_sortOption));
}

void MainWindow::gridClicked(const QModelIndex &index)
{
    if (!index.isValid() || index.row() >= m_model->recordCount())
        return;
    m_grid->selectRow(index.row());
    showStatus(statusLineText(m_model->row(index.row()), m_volumes), m_model->key(index.row()));
}

void MainWindow::showStatus(const QString &text, std::optional<qint64> key)
{
    m_statusLine->setText(text);
    m_statusKey = key;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteCurrentRow();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- The tag editor, the disk search window and the import ---

void MainWindow::openEditor(const QModelIndex &index)
{
    // The row at the end of the selection; the header is not a row and opens nothing.
    const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : index.row();
    if (row < 0 || row >= m_model->recordCount())
        return;
    if (m_editor)
        m_editor->close();
    m_editor = new TagEditor(*m_model, m_store, m_dialogs, m_player, this);
    const std::optional<qint64> key = m_model->key(row);
    connect(m_editor, &TagEditor::statusText, this,
            [this, key](const QString &status) { showStatus(status, key); });
    if (!m_editor->openRow(row))
        m_editor->close();
}

void MainWindow::changeEvent(QEvent *event)
{
    // Only an editor that has been active is closed: the main window also becomes active again
    // when a message of the editor's load step goes away, before the editor is shown.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_editor &&
        m_editor->hasBeenActive())
        m_editor->close();
    QWidget::changeEvent(event);
}

void MainWindow::openDiskSearch()
{
    m_workList.clear();
    if (!m_winSeek) {
        m_winSeek = new WinSeek(m_volumes, m_dialogs, this);
        connect(m_winSeek, &WinSeek::importRequested, this, &MainWindow::importFound);
    }
    m_winSeek->show();
    m_winSeek->raise();
    m_winSeek->activateWindow();
}

void MainWindow::importFound(const QStringList &files, const QString &driveEntry,
                             Id3v2Fallback id3v2)
{
    m_workList += files;
    show();
    raise();
    activateWindow();
    riempi(driveEntry, id3v2);
}

void MainWindow::riempi(const QString &driveEntry, Id3v2Fallback id3v2)
{
    const TagLibId3v2Reader id3v2Reader;
    FileImport::Result result;
    // The grid shows the added records from their rows as written, without reading them back.
    AddedRows added;
    {
        const BusyCursor busy;
        ImportProgress progress(this);
        FileImport fileImport(m_store, m_dialogs, m_volumes, m_driveTable, driveEntry);
        if (id3v2 == Id3v2Fallback::On)
            fileImport.setId3v2Reader(&id3v2Reader);
        fileImport.setAddedRecords([&added](const RecordView &record) { added.take(record); });
        result = fileImport.riempi(m_workList, [&progress](qsizetype done, qsizetype total) {
            progress.update(done, total);
        });
    }
    m_grid->setCurrentIndex(QModelIndex());
    showCatalogue([&] {
        return added.caricaDB(m_store, *m_model, *m_counters,
                              result.onlyAdded() ? AddedRows::Import::OnlyAdded
                                                 : AddedRows::Import::Other);
    });
    if (const QString report = result.report(); !report.isEmpty())
        m_dialogs.critical(QString(), report);
}

// --- Maintenance: the start-up checks, the delete, the read-only change ---

void MainWindow::cleanStoredTexts()
{
    // Before the first load, so that no cell, search or export ever sees what is cleaned.
    const TextCleanup cleanup = ::cleanStoredTexts(m_store);
    if (!cleanup.ok())
        m_dialogs.critical(QString(), cleanup.error);
    else if (cleanup.cleaned > 0)
        CompattaDB(m_store, m_dialogs, busyCursorPointer());
}

void MainWindow::runStartupChecks(std::vector<FileLook> looks)
{
    QList<MissingFileCheck::MissingEntry> missing;
    {
        const BusyCursor busy;
        missing = checkFilesAtStartup(m_store, *m_model, m_dialogs, {}, std::move(looks)).missing;
    }
    if (missing.isEmpty())
        return;
    // The window takes no input until the vanished entries are dealt with or the list closes.
    // The list is a window of its own kept above this one; disabling this window disables it
    // too, so it is enabled again by itself.
    auto *missingFiles = new MissingFilesWindow(m_store, m_dialogs, missing, this);
    connect(missingFiles, &MissingFilesWindow::entriesDeleted, this, &MainWindow::caricaDB);
    connect(missingFiles, &MissingFilesWindow::closed, this, [this] { setEnabled(true); });
    setEnabled(false);
    missingFiles->setEnabled(true);
    // The list is a transient of this window: the window manager keeps it above this one only
    // when this one is on the screen before it. At start-up it waits for this window.
    if (isVisible())
        missingFiles->show();
    else
        m_pendingMissingFiles = missingFiles;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Queued: the window system maps this window on the way out of show(), the list after it.
    if (m_pendingMissingFiles) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_pendingMissingFiles)
                    m_pendingMissingFiles->show();
                m_pendingMissingFiles = nullptr;
            },
            Qt::QueuedConnection);
    }
}

void MainWindow::deleteCurrentRow()
{
    // The current row is where the selection ends: it is the one checked and deleted.
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    EntryDeletion deletion(m_store, *m_model, *m_counters, m_dialogs);
    const auto confirmation = m_noConfirmCheck->isChecked() ? EntryDeletion::Confirmation::Skip
                                                            : EntryDeletion::Confirmation::Ask;
    const auto fileAction = m_deleteFileCheck->isChecked() ? EntryDeletion::FileAction::DeleteFile
                                                           : EntryDeletion::FileAction::KeepFile;
    const std::optional<qint64> key = m_model->key(current.row());
    if (deletion.deleteRow(current.row(), confirmation, fileAction) ==
        EntryDeletion::Outcome::Deleted) {
        m_grid->clearSelection();
        m_grid->setCurrentIndex(QModelIndex());
        // The status line no longer describes a record that is gone.
        if (key && key == m_statusKey)
            showStatus(QString(), std::nullopt);
    }
}

void MainWindow::changeAttributes()
{
    changeReadOnlyFiles(m_store, *m_model, *m_counters, m_dialogs, busyCursorPointer());
}
