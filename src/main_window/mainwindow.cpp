#include "mainwindow.h"

#include "catalogueview.h"
#include "exportcommand.h"
#include "gridkeys.h"
#include "hovercommand.h"
#include "importflow.h"
#include "mainwindowtexts.h"
#include "searchpanel.h"
#include "sortpanel.h"
#include "startupsequence.h"
#include "waitwindow.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "grid/statusline.h"
#include "inspection/collectioncounters.h"
#include "maintenance/entrydeletion.h"
#include "maintenance/readonlychange.h"
#include "maintenance/startupcheck.h"
#include "missing_files/missingfileswindow.h"
#include "platform/dialogs.h"
#include "tag_editor/tageditor.h"

#include "widgets/busycursor.h"
#include "widgets/keyboard.h"
#include "widgets/named.h"
#include "widgets/screenfit.h"

#include "utf8text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace MainWindowTexts;

MainWindow::MainWindow(CatalogueStore &store, Dialogs &dialogs, Volumes &volumes, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
    , m_dialogs(dialogs)
    , m_volumes(volumes)
    , m_model(new CatalogueModel(this))
    , m_counters(new CollectionCounters(this))
    , m_hover(new HoverController(this))
    , m_importFlow(new ImportFlow(
          store, dialogs, volumes, m_driveTable, *m_model, *m_counters,
          [this](const std::function<bool()> &load) { showCatalogue(load); }, this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(text(kCaption));
    // The catalogue window stays above the windows of other programs.
    setWindowFlag(Qt::WindowStaysOnTopHint);

    auto *top = new QHBoxLayout;
    m_searchPanel = new SearchPanel(m_store, *m_model, *m_counters, m_dialogs, *m_hover);
    connect(m_searchPanel, &SearchPanel::searchStarted, this, [this] {
        setRefreshEnabled(true);
        m_grid->setCurrentIndex(QModelIndex());
    });
    connect(m_searchPanel, &SearchPanel::duplicatesRequested, this, &MainWindow::showDuplicates);
    top->addWidget(m_searchPanel, 3);
    m_sortPanel = new SortPanel(*m_model, *m_hover);
    top->addWidget(m_sortPanel, 2);
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
    m_grid = new CatalogueView(*m_model);
    connect(m_grid, &QTableView::clicked, this, &MainWindow::gridClicked);
    connect(m_grid, &QTableView::doubleClicked, this, &MainWindow::openEditor);
    connect(new GridKeys(m_grid), &GridKeys::openRequested, this, &MainWindow::openEditor);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_statusLine);

    buildHoverRules();
    setTabChain();
    connect(m_counters, &CollectionCounters::changed, this, &MainWindow::showCounters);
    showCounters();
    ScreenFit::resizeToFit(this, QSize(1100, 760));
}

MainWindow::~MainWindow() = default;

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
    grid->addWidget(hoverCommand(*m_hover, m_attributesButton, m_attributesFace), 3, 0, 1, 4);
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
    (new QVBoxLayout(m_importFrame))
        ->addWidget(hoverCommand(*m_hover, m_importButton, m_importFace));
    connect(m_importButton, &QPushButton::clicked, m_importFlow, &ImportFlow::openDiskSearch);
    return m_importFrame;
}

QWidget *MainWindow::buildRefreshPair()
{
    m_refreshButton = named(new QPushButton(text(kRefresh)), QStringLiteral("Command2"));
    m_refreshButton->setToolTip(text(kRefreshToolTip));
    m_refreshFace = named(new QLabel(text(kRefresh)), QStringLiteral("Label3"));
    connect(m_refreshButton, &QPushButton::clicked, this, &MainWindow::refresh);
    return hoverCommand(*m_hover, m_refreshButton, m_refreshFace);
}

void MainWindow::buildHoverRules()
{
    using Effect = HoverController::Effect;
    QPushButton *searchButton = m_searchPanel->searchButton();
    m_hover->addRule(m_searchPanel, searchButton, Effect::Hide);
    m_hover->addRule(m_refreshButton, searchButton, Effect::Hide);
    m_hover->addRule(searchButton, m_refreshButton, Effect::Hide);
    m_hover->addRule(m_importFrame, m_importButton, Effect::Hide);
    m_hover->addRule(m_infoFrame, m_attributesButton, Effect::Hide);
}

void MainWindow::setTabChain()
{
    // Reading order: the search, the sort, the delete options, the list's commands, the import,
    // the refresh, then the grid. A hover command is reached by its face, then its button.
    ::setTabChain(m_searchPanel->tabChain() + m_sortPanel->tabChain() +
                  QList<QWidget *>{m_noConfirmCheck, m_deleteFileCheck, m_attributesFace,
                                   m_attributesButton, m_exportButton, m_mediaButton, m_importFace,
                                   m_importButton, m_refreshFace, m_refreshButton, m_grid});
}

void MainWindow::start()
{
    cleanStoredTextsAtStart(m_store, m_dialogs);
    // At start-up the files are looked at while the grid loads.
    std::vector<FileLook> looks;
    showCatalogue([this, &looks] {
        StartupLoad load = loadLookingAtFiles(m_store, *m_model, *m_counters);
        looks = std::move(load.looks);
        return load.loaded;
    });
    m_driveTable = buildDriveTable(m_volumes.volumes());
    if (MissingFilesWindow *missingFiles =
            checkFilesAtStart(m_store, *m_model, m_dialogs, std::move(looks), this))
        showMissingFiles(missingFiles);
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
    m_grid->setCurrentIndex(QModelIndex());
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
    m_sortPanel->setSortable(m_model->recordCount() > 1);
}

void MainWindow::refresh()
{
    m_grid->setCurrentIndex(QModelIndex());
    m_refreshButton->hide();
    setRefreshEnabled(false);
    const BusyCursor busy;
    caricaDB();
}

void MainWindow::setRefreshEnabled(bool enabled)
{
    m_refreshFace->setEnabled(enabled);
    m_refreshButton->setEnabled(enabled);
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

// --- The tag editor ---

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

// --- Maintenance: the vanished files, the delete, the read-only change ---

void MainWindow::showMissingFiles(MissingFilesWindow *missingFiles)
{
    // The window takes no input until the vanished entries are dealt with or the list closes.
    // The list is a window of its own kept above this one; disabling this window disables it
    // too, so it is enabled again by itself.
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
