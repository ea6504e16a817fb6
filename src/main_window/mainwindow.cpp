#include "mainwindow.h"

#include "accessiblecaption.h"
#include "csvexportcommand.h"
#include "hovercontroller.h"
#include "mainwindowtexts.h"
#include "screenfit.h"
#include "waitwindow.h"

#include "catalogue/cataloguestore.h"
#include "disk_search/importprogress.h"
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
#include "maintenance/tagcompletion.h"
#include "missing_files/missingfileswindow.h"
#include "platform/dialogs.h"
#include "platform/volumes.h"
#include "tag_editor/tageditor.h"
#include "tags/genretable.h"
#include "tags/taglibid3v2reader.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using namespace MainWindowTexts;

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

template <typename W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

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

    m_label4 = named(new QLabel(text(kStatusStart)), QStringLiteral("Label4"));
    m_label4->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    // The import's work list and the drive table; never shown. The drive, folder and file
    // lists are kept hidden and unconnected: the catalogue is always the one of the folder the
    // program was started in, whatever they show.
    m_list1 = named(new QListView(this), QStringLiteral("List1"));
    m_workList = new QStringListModel(this);
    m_list1->setModel(m_workList);
    m_list2 = named(new QListWidget(this), QStringLiteral("List2"));
    const QList<QWidget *> hidden = {m_list1, m_list2,
                                     named(new QComboBox(this), QStringLiteral("Drive1")),
                                     named(new QListWidget(this), QStringLiteral("Dir1")),
                                     named(new QListWidget(this), QStringLiteral("File1"))};
    for (QWidget *widget : hidden)
        widget->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildGrid(), 1);
    layout->addWidget(m_label4);

    buildHoverRules();
    connect(m_counters, &CollectionCounters::changed, this, &MainWindow::showCounters);
    showCounters();
    ScreenFit::resizeToFit(this, QSize(1100, 760));
}

MainWindow::~MainWindow() = default;

QGroupBox *MainWindow::buildSearchFrame()
{
    m_ricerca = named(new QGroupBox(text(kSearchFrame)), QStringLiteral("Ricerca"));
    auto *grid = new QGridLayout(m_ricerca);
    for (int i = 0; i < 5; ++i) {
        m_option1[i] =
            named(new QRadioButton(text(kSearchOptions[i])), QStringLiteral("Option1_%1").arg(i));
        grid->addWidget(m_option1[i], i, 0);
    }
    auto *label1 = named(new QLabel(text(kKey)), QStringLiteral("Label1"));
    m_text1 = named(new QLineEdit, QStringLiteral("Text1"));
    captionBy(label1, m_text1);
    m_combo1 = named(new QComboBox, QStringLiteral("Combo1"));
    // The genre chooser takes the place of the text box for the genre search: the same key.
    m_combo1->setAccessibleName(text(kKey));
    m_check1 = named(new QCheckBox(text(kWholeField)), QStringLiteral("Check1"));
    m_check1->setToolTip(text(kWholeFieldToolTip));
    m_command1 = named(new QPushButton(text(kStartSearch)), QStringLiteral("Command1"));
    m_command1->setToolTip(text(kStartSearchToolTip));
    m_cerca = named(new QLabel(text(kStartSearch)), QStringLiteral("cerca"));
    auto *frame10 = named(new QGroupBox, QStringLiteral("Frame10"));
    m_list3 = named(new QListWidget, QStringLiteral("List3"));
    m_list3->setAccessibleName(text(kFoundKeys));
    (new QVBoxLayout(frame10))->addWidget(m_list3);

    grid->addWidget(label1, 0, 1);
    grid->addWidget(m_text1, 1, 1);
    grid->addWidget(m_combo1, 2, 1);
    grid->addWidget(m_check1, 3, 1);
    grid->addWidget(hoverCommand(m_command1, m_cerca), 4, 1);
    grid->addWidget(frame10, 0, 2, 5, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    for (int i = 0; i < 5; ++i)
        connect(m_option1[i], &QRadioButton::clicked, this, [this, i] { searchOptionClicked(i); });
    connect(m_text1, &QLineEdit::textChanged, this, &MainWindow::searchTextChanged);
    connect(m_text1, &QLineEdit::returnPressed, this, &MainWindow::runSearch);
    connect(m_command1, &QPushButton::clicked, this, &MainWindow::runSearch);
    // The genre chooser appears with the genre search; until something is typed or the genre
    // search is chosen there is nothing to search for.
    m_combo1->hide();
    setSearchEnabled(false);
    return m_ricerca;
}

QGroupBox *MainWindow::buildSortFrame()
{
    m_frame7 = named(new QGroupBox(text(kSortFrame)), QStringLiteral("Frame7"));
    auto *grid = new QGridLayout(m_frame7);
    for (int i = 0; i < 10; ++i) {
        m_ordina[i] =
            named(new QRadioButton(text(kSortOptions[i])), QStringLiteral("ordina_%1").arg(i));
        grid->addWidget(m_ordina[i], i % 5, i / 5);
    }
    m_ordinamento = named(new QPushButton(text(kStartSort)), QStringLiteral("ordinamento"));
    m_selordina = named(new QLabel(text(kStartSort)), QStringLiteral("selordina"));
    grid->addWidget(hoverCommand(m_ordinamento, m_selordina), 5, 0, 1, 2);
    for (int i = 0; i < 10; ++i)
        connect(m_ordina[i], &QRadioButton::clicked, this, [this, i] { m_sortOption = i; });
    connect(m_ordinamento, &QPushButton::clicked, this, &MainWindow::runSort);
    return m_frame7;
}

QGroupBox *MainWindow::buildDeleteFrame()
{
    auto *frame9 = named(new QGroupBox(text(kDeleteFrame)), QStringLiteral("Frame9"));
    m_conferma = named(new QCheckBox(text(kNoConfirm)), QStringLiteral("conferma"));
    m_cancella = named(new QCheckBox(text(kDeleteFile)), QStringLiteral("cancella"));
    auto *box = new QHBoxLayout(frame9);
    box->addWidget(m_conferma);
    box->addWidget(m_cancella);
    return frame9;
}

QGroupBox *MainWindow::buildInfoFrame()
{
    m_frame2 = named(new QGroupBox(text(kInfoFrame)), QStringLiteral("Frame2"));
    auto *grid = new QGridLayout(m_frame2);
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
    m_attrib = named(new QPushButton(text(kChangeAttributes)), QStringLiteral("attrib"));
    m_attrib->setToolTip(text(kChangeAttributesToolTip));
    m_txtattr = named(new QLabel(text(kChangeAttributes)), QStringLiteral("txtattr"));
    grid->addWidget(hoverCommand(m_attrib, m_txtattr), 3, 0, 1, 4);
    connect(m_attrib, &QPushButton::clicked, this, &MainWindow::changeAttributes);
    m_exportCsv = named(new QPushButton(text(kExportCsv)), QStringLiteral("EsportaCsv"));
    m_exportCsv->setToolTip(text(kExportCsvToolTip));
    grid->addWidget(m_exportCsv, 4, 0, 1, 4);
    connect(m_exportCsv, &QPushButton::clicked, this,
            [this] { exportGridAsCsv(*m_model, m_dialogs, this); });
    return m_frame2;
}

QGroupBox *MainWindow::buildImportFrame()
{
    m_frame1 = named(new QGroupBox(text(kImportFrame)), QStringLiteral("Frame1"));
    m_importa = named(new QPushButton(text(kImport)), QStringLiteral("Importa"));
    m_importa->setToolTip(text(kImportToolTip));
    m_label2 = named(new QLabel(text(kImport)), QStringLiteral("Label2"));
    (new QVBoxLayout(m_frame1))->addWidget(hoverCommand(m_importa, m_label2));
    connect(m_importa, &QPushButton::clicked, this, &MainWindow::openDiskSearch);
    return m_frame1;
}

QWidget *MainWindow::buildRefreshPair()
{
    m_command2 = named(new QPushButton(text(kRefresh)), QStringLiteral("Command2"));
    m_command2->setToolTip(text(kRefreshToolTip));
    m_label3 = named(new QLabel(text(kRefresh)), QStringLiteral("Label3"));
    connect(m_command2, &QPushButton::clicked, this, &MainWindow::refresh);
    return hoverCommand(m_command2, m_label3);
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
    m_dati = named(new QTableView, QStringLiteral("dati"));
    m_dati->setModel(m_model);
    m_dati->setToolTip(text(kGridToolTip));
    m_dati->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_dati->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dati->setWordWrap(false);
    // The arrow keys move within the grid; Tab moves on to the next control, as everywhere.
    m_dati->setTabKeyNavigation(false);
    m_dati->setSortingEnabled(false);
    // Fixed row heights keep scrolling through a large catalogue cheap.
    m_dati->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_dati->verticalHeader()->setDefaultSectionSize(m_dati->fontMetrics().height() + 6);
    m_dati->verticalHeader()->hide();
    m_dati->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_dati->horizontalHeader()->setHighlightSections(false);
    connect(m_dati, &QTableView::clicked, this, &MainWindow::gridClicked);
    connect(m_dati, &QTableView::doubleClicked, this, &MainWindow::openEditor);
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &MainWindow::applyColumnWidths);
    connect(m_model, &QAbstractItemModel::modelReset, this, &MainWindow::applyColumnWidths);
    applyColumnWidths();
    return m_dati;
}

void MainWindow::buildHoverRules()
{
    using Effect = HoverController::Effect;
    m_hover->addRule(m_ricerca, m_command1, Effect::Hide);
    m_hover->addRule(m_command2, m_command1, Effect::Hide);
    m_hover->addRule(m_command1, m_command2, Effect::Hide);
    m_hover->addRule(m_frame1, m_importa, Effect::Hide);
    m_hover->addRule(m_frame2, m_attrib, Effect::Hide);
    m_hover->addRule(m_frame7, m_ordinamento, Effect::Hide);
    for (QRadioButton *option : m_ordina)
        m_hover->addRule(option, m_ordinamento, Effect::Hide);
}

void MainWindow::applyColumnWidths()
{
    // A column is as wide as its header label with the blanks after it, in the grid's font.
    const QFontMetrics metrics(m_dati->horizontalHeader()->font());
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_dati->setColumnWidth(c, metrics.horizontalAdvance(m_model->headerCell(c)) + 8);
}

void MainWindow::start(StartupChecks checks)
{
    caricaDB();
    m_driveTable = buildDriveTable(m_volumes.volumes());
    m_list2->clear();
    for (const DriveTableEntry &entry : std::as_const(m_driveTable))
        m_list2->addItem(entry.text());
    m_combo1->clear();
    m_combo1->addItem(QString());
    m_combo1->addItems(genreNames());
    m_combo1->setCurrentIndex(0);
    if (checks == StartupChecks::Run)
        runStartupChecks();
    // The DEL key on the grid reaches the window first.
    m_dati->installEventFilter(this);
}

void MainWindow::caricaDB()
{
    if (!m_wait)
        m_wait = new WaitWindow(this);
    m_wait->showNow();
    const bool loaded = ::caricaDB(m_store, *m_model, *m_counters);
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
    m_attrib->setEnabled(readOnlyFiles);
    m_txtattr->setEnabled(readOnlyFiles);
    const bool sortable = m_model->recordCount() > 1;
    m_ordinamento->setEnabled(sortable);
    m_selordina->setEnabled(sortable);
}

void MainWindow::refresh()
{
    m_dati->setCurrentIndex(QModelIndex());
    m_command2->hide();
    setRefreshEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    caricaDB();
    QApplication::restoreOverrideCursor();
}

void MainWindow::setSearchEnabled(bool enabled)
{
    m_cerca->setEnabled(enabled);
    m_command1->setEnabled(enabled);
}

void MainWindow::setRefreshEnabled(bool enabled)
{
    m_label3->setEnabled(enabled);
    m_command2->setEnabled(enabled);
}

void MainWindow::searchOptionClicked(int index)
{
    m_searchOption = index;
    if (CatalogueSearch::columnOfOption(index) == Genre) {
        m_command1->show();
        setSearchEnabled(true);
        m_combo1->show();
        m_text1->show();
        m_check1->setChecked(false);
        m_check1->setEnabled(false);
        return;
    }
    if (m_text1->text().isEmpty()) {
        m_command1->hide();
        setSearchEnabled(false);
    }
    m_combo1->hide();
    m_text1->show();
    m_check1->setChecked(false);
    m_check1->setEnabled(true);
}

void MainWindow::searchTextChanged(const QString &typed)
{
    if (!typed.isEmpty() && m_counters->value(CollectionCounters::Counter::Found) > 0) {
        setSearchEnabled(true);
        return;
    }
    // Nothing can be typed while the grid shows no record.
    setSearchEnabled(false);
    m_text1->clear();
}

void MainWindow::runSearch()
{
    m_command1->setEnabled(false);
    setRefreshEnabled(true);
    CatalogueSearch::Request request;
    request.column = CatalogueSearch::columnOfOption(m_searchOption);
    request.text = request.column == Genre ? m_combo1->currentText() : m_text1->text();
    request.wordSearch = m_check1->isChecked();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QList<qint64> keys = CatalogueSearch::matchingKeys(*m_model, request);
    QStringList keyTexts;
    keyTexts.reserve(keys.size());
    for (const qint64 key : keys)
        keyTexts << QString::number(key);
    m_list3->clear();
    m_list3->addItems(keyTexts);
    m_dati->setCurrentIndex(QModelIndex());
    const bool rebuilt = CatalogueSearch::rebuild(m_store, *m_model, *m_counters, keys);
    QApplication::restoreOverrideCursor();
    m_command1->setEnabled(true);
    if (!rebuilt)
        m_dialogs.critical(QString(), text(kLoadFailed).arg(m_store.lastError()));
}

void MainWindow::runSort()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    GridSort::sortRows(*m_model, GridSort::columnOfOption(m_sortOption));
    QApplication::restoreOverrideCursor();
}

void MainWindow::gridClicked(const QModelIndex &index)
{
    if (!index.isValid() || index.row() >= m_model->recordCount())
        return;
    m_dati->selectRow(index.row());
    showStatus(statusLineText(m_model->row(index.row()), m_volumes),
               m_model->cell(index.row(), Key));
}

void MainWindow::showStatus(const QString &text, const QString &key)
{
    m_label4->setText(text);
    m_statusKey = key;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dati && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteCurrentRow();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- Tag editor (Form2) ---

void MainWindow::openEditor(const QModelIndex &index)
{
    // The row at the end of the selection; the header is not a row and opens nothing.
    const int row = m_dati->currentIndex().isValid() ? m_dati->currentIndex().row() : index.row();
    if (row < 0 || row >= m_model->recordCount())
        return;
    if (m_editor)
        m_editor->close();
    m_editor = new TagEditor(*m_model, m_store, m_dialogs, m_player, this);
    const QString key = m_model->cell(row, Key);
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
    m_workList->setStringList({});
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
    m_workList->setStringList(m_workList->stringList() + files);
    show();
    raise();
    activateWindow();
    riempi(driveEntry, id3v2);
}

void MainWindow::riempi(const QString &driveEntry, Id3v2Fallback id3v2)
{
    const TagLibId3v2Reader id3v2Reader;
    FileImport::Result result;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ImportProgress progress(this);
        FileImport fileImport(m_store, m_dialogs, m_volumes, m_driveTable, driveEntry);
        if (id3v2 == Id3v2Fallback::On)
            fileImport.setId3v2Reader(&id3v2Reader);
        result = fileImport.riempi(
            m_workList->stringList(),
            [&progress](qsizetype done, qsizetype total) { progress.update(done, total); });
        QApplication::restoreOverrideCursor();
    }
    m_dati->setCurrentIndex(QModelIndex());
    caricaDB();
    if (const QString report = result.report(); !report.isEmpty())
        m_dialogs.critical(QString(), report);
}

// --- Maintenance: the start-up checks, the delete, the read-only change ---

namespace {

void showHourglass()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void restorePointer()
{
    QApplication::restoreOverrideCursor();
}

} // namespace

void MainWindow::runStartupChecks()
{
    showHourglass();
    const auto missing = MissingFileCheck::findMissing(*m_model);
    if (missing.isEmpty()) {
        CompleteMissingTags(m_store, *m_model, m_dialogs);
        restorePointer();
        return;
    }
    restorePointer();
    // The window takes no input until the vanished entries are dealt with or the list closes.
    // The list is a window of its own kept above this one; disabling this window disables it
    // too, so it is enabled again by itself.
    auto *errati = new MissingFilesWindow(m_store, m_dialogs, missing, this);
    connect(errati, &MissingFilesWindow::entriesDeleted, this, &MainWindow::caricaDB);
    connect(errati, &MissingFilesWindow::closed, this, [this] { setEnabled(true); });
    setEnabled(false);
    errati->setEnabled(true);
    // The list is a transient of this window: the window manager keeps it above this one only
    // when this one is on the screen before it. At start-up it waits for this window.
    if (isVisible())
        errati->show();
    else
        m_pendingErrati = errati;
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Queued: the window system maps this window on the way out of show(), the list after it.
    if (m_pendingErrati) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_pendingErrati)
                    m_pendingErrati->show();
                m_pendingErrati = nullptr;
            },
            Qt::QueuedConnection);
    }
}

void MainWindow::deleteCurrentRow()
{
    // The current row is where the selection ends: it is the one checked and deleted.
    const QModelIndex current = m_dati->currentIndex();
    if (!current.isValid())
        return;
    EntryDeletion deletion(m_store, *m_model, *m_counters, m_dialogs);
    const auto confirmation = m_conferma->isChecked() ? EntryDeletion::Confirmation::Skip
                                                      : EntryDeletion::Confirmation::Ask;
    const auto fileAction = m_cancella->isChecked() ? EntryDeletion::FileAction::DeleteFile
                                                    : EntryDeletion::FileAction::KeepFile;
    const QString key = m_model->cell(current.row(), Key);
    if (deletion.deleteRow(current.row(), confirmation, fileAction) ==
        EntryDeletion::Outcome::Deleted) {
        m_dati->clearSelection();
        m_dati->setCurrentIndex(QModelIndex());
        // The status line no longer describes a record that is gone.
        if (!key.isEmpty() && key == m_statusKey)
            showStatus(QString(), QString());
    }
}

void MainWindow::changeAttributes()
{
    const BusyPointer hourglass{showHourglass, restorePointer};
    changeReadOnlyFiles(m_store, *m_model, *m_counters, m_dialogs, hourglass);
}
