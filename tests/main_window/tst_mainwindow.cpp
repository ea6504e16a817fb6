#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "inspection/recordfile.h"
#include "main_window/mainwindow.h"
#include "main_window/screenfit.h"
#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "support/widgettest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <memory>
#include <sys/stat.h>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void captionsAndToolTips_data();
    void captionsAndToolTips();
    void accessibleNames_data();
    void accessibleNames();
    void hoverButtons_data();
    void hoverButtons();
    void startsWithAnEmptyCatalogue();
    void loadShowsRecordsAndCounters();
    void clickedRowShowsItsStatusLine();
    void refreshReadsChangesAndEnablesTheSort();
    void genreChooserAndDriveTable();
    void searchOptions_data();
    void searchOptions();
    void enterRunsTheSearchAndRefreshBringsAllBack();
    void genreSearchUsesTheChooser();
    void sortThenRefresh();

    // Start-up checks, delete and read-only change.
    void missingFilesDisableTheWindowUntilDeleted();
    void closingTheMissingFileListEnablesTheWindow();
    void startUpCompletesMissingTags();
    void deleteKeyOnTheGrid_data();
    void deleteKeyOnTheGrid();
    void deleteTakesTheRowAtTheEndOfTheSelection_data();
    void deleteTakesTheRowAtTheEndOfTheSelection();
    void attribMakesReadOnlyFilesWritable();
    void exportCsvWritesTheChosenFile();

private:
    /// Starts the window over the records, each with its file on disk (a tagged MP3) so that
    /// the start-up finds no file missing: a record whose file is not there gets one, in its
    /// folder taken below the temporary folder. Records on CDs and removable disks are left as
    /// they are: the start-up does not look at their files.
    void startWindow(const QList<CatalogueRecord> &records = {});
    /// Starts the window over the records exactly as given.
    void startWindowAsGiven(const QList<CatalogueRecord> &records);
    /// The missing-file window, when it is shown.
    QWidget *errati() const;
    /// The file names of the grid's rows, top to bottom.
    QStringList shownFiles() const
    {
        QStringList names;
        for (int r = 0; r < m_window->model().recordCount(); ++r)
            names << m_window->model().cell(r, FileName);
        return names;
    }
    template <typename T = QWidget> T *control(const char *name)
    {
        return childNamed<T>(m_window.get(), name);
    }

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    FakeDialogs m_dialogs;
    FakeVolumes m_volumes;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::init()
{
    m_temp = std::make_unique<TempCatalogue>();
    m_dialogs = FakeDialogs();
    VolumeInfo root;
    root.mountPoint = QStringLiteral("/");
    VolumeInfo cd;
    cd.mountPoint = QStringLiteral("/media/cdrom");
    m_volumes.list = {root, cd};
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_store.reset();
    m_temp.reset();
}

void TestMainWindow::startWindow(const QList<CatalogueRecord> &records)
{
    QList<CatalogueRecord> onDisk = records;
    for (CatalogueRecord &r : onDisk) {
        if (r.info == QLatin1String("CDROM") || r.info == QLatin1String("Disco Rimovibile") ||
            findRecordFile(r.percorso, r.nome))
            continue;
        if (!QFileInfo(r.percorso).isDir())
            r.percorso = m_temp->folder() + QStringLiteral("/files") + r.percorso;
        QVERIFY(QDir().mkpath(r.percorso));
        QVERIFY(!writeMp3(r.percorso, r.nome + QStringLiteral(".mp3"), mpegFrames(1),
                          tagBlock("T", "A", "B", "2000", "C", 17))
                     .isEmpty());
    }
    startWindowAsGiven(onDisk);
}

void TestMainWindow::startWindowAsGiven(const QList<CatalogueRecord> &records)
{
    if (!records.isEmpty())
        m_temp->add(records);
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY2(m_store->open(), qPrintable(m_store->lastError()));
    m_window = std::make_unique<MainWindow>(*m_store, m_dialogs, m_volumes);
    m_window->start();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::captionsAndToolTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    const auto row = [](const char *name, const char *caption, const char *tip = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                            << QString::fromUtf8(tip);
    };
    row("dati", "", "Per cancellare, selezionare una sola riga e premere DEL");
    row("Label4", "Versione 2.0");
    row("Command2", "Refresh Lista",
        "Legge il DB e aggiorna la Lista (da utilizzare per resettare una ricerca)");
    row("Label3", "Refresh Lista");
    row("Ricerca", "Ricerca");
    row("Option1_0", "Ricerca per Titolo Brano");
    row("Option1_1", "Ricerca per Artista");
    row("Option1_2", "Ricerca per Album");
    row("Option1_3", "Ricerca per Nome File");
    row("Option1_4", "Ricerca per Genere");
    row("Label1", "Chiave");
    row("Check1", "Ricerca in tutto il campo", "Cerca la parola all'interno del testo del campo");
    row("Command1", "Avvia Ricerca", "Ricerca nel DB in base alle preferenze");
    row("cerca", "Avvia Ricerca");
    row("Frame7", "Ordinamento");
    row("ordina_0", "Ordina per Titolo");
    row("ordina_5", "Ordina per Nome File");
    row("ordina_6", "Ordina per Percorso");
    row("ordina_9", "Ordina per Etichetta");
    row("ordinamento", "Avvia Ordinamento");
    row("selordina", "Avvia Ordinamento");
    row("Frame9", "Cancellazione");
    row("conferma", "Senza Conferma");
    row("cancella", "Cancella anche il File");
    row("Frame2", "Info Lista");
    row("Label40", "MP3 Presenti:");
    row("Label41", "MP3 con ID3");
    row("Label6", "MP3 Senza ID3");
    row("Label5", "MP3 Errati:");
    row("Label7", "MP3 solo Lettura");
    row("Label8", "MP3 su CDROM");
    row("attrib", "Cambia Attributi",
        "Modifica gli attributi dei file di Sola Lettura in Scrittura");
    row("txtattr", "Cambia Attributi");
    row("EsportaCsv", "Esporta CSV",
        "Salva le righe mostrate nella Lista in un file CSV da aprire con un foglio di calcolo");
    row("Frame1", "Importa MP3");
    row("Importa", "Importa",
        "Utilizzare questo pulsante per importare dal disco degli MP3 da aggiungere al DB");
    row("Label2", "Importa");
}

void TestMainWindow::captionsAndToolTips()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    startWindow();
    QWidget *widget = m_window->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(captionOf(widget), caption);
    QCOMPARE(widget->toolTip(), toolTip);
}

void TestMainWindow::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<int>("role");
    const auto row = [](const char *name, const char *accessible, QAccessible::Role role) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(accessible)
                            << int(role);
    };
    row("Text1", "Chiave", QAccessible::EditableText);
    row("Combo1", "Chiave", QAccessible::ComboBox);
    row("List3", "Chiavi trovate", QAccessible::List);
    row("Importa", "Importa", QAccessible::Button);
    row("Label2", "Importa", QAccessible::StaticText);
    row("Command2", "Refresh Lista", QAccessible::Button);
    row("Command1", "Avvia Ricerca", QAccessible::Button);
    row("ordinamento", "Avvia Ordinamento", QAccessible::Button);
    row("attrib", "Cambia Attributi", QAccessible::Button);
    row("Frame1", "Importa MP3", QAccessible::Grouping);
}

void TestMainWindow::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    QFETCH(int, role);
    startWindow();
    QWidget *widget = control(qPrintable(name));
    QCOMPARE(::accessibleName(widget), accessibleName);
    QCOMPARE(int(accessibleRole(widget)), role);
    QCOMPARE(controlsWithoutCaption(m_window.get()).join(u' '), QString());
}

void TestMainWindow::hoverButtons_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hider"); // moving to its top left corner hides the button
    QTest::newRow("search") << "cerca"
                            << "Command1"
                            << "Ricerca";
    QTest::newRow("refresh") << "Label3"
                             << "Command2"
                             << "Command1";
    QTest::newRow("import") << "Label2"
                            << "Importa"
                            << "Frame1";
    QTest::newRow("attributes") << "txtattr"
                                << "attrib"
                                << "Frame2";
    QTest::newRow("sort") << "selordina"
                          << "ordinamento"
                          << "ordina_0";
}

void TestMainWindow::hoverButtons()
{
    QFETCH(QString, face);
    QFETCH(QString, button);
    QFETCH(QString, hider);
    startWindow();
    QWidget *target = control(qPrintable(button));
    QWidget *over = control(qPrintable(face));
    QVERIFY2(target->isHidden(), "a command button is hidden at start");
    // The search command hides the refresh command: it is shown to be moved over.
    pointAt(control("cerca"));
    pointAt(over);
    QVERIFY(target->isVisible());
    // Where the button shows it takes the click, not the face below it.
    QCOMPARE(m_window->childAt(over->mapTo(m_window.get(), over->rect().center())), target);
    QWidget *away = control(qPrintable(hider));
    pointAt(m_window.get(), away->mapTo(m_window.get(), QPoint(2, 2)));
    QVERIFY(target->isHidden());
}

void TestMainWindow::startsWithAnEmptyCatalogue()
{
    startWindow();
    QVERIFY(m_window->isEnabled());
    QVERIFY(!errati());
    QVERIFY2(!QApplication::overrideCursor(), "the hourglass is taken back");
    QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("TRACKLODGE")));
    // The grid gives way on a laptop screen, the rest of the window fits it.
    const QSize laptop = QSize(1366, 768).shrunkBy(ScreenFit::kExpectedFrame);
    QCOMPARE(m_window->minimumSizeHint().boundedTo(laptop), m_window->minimumSizeHint());
    QCOMPARE(m_window->model().recordCount(), 0);
    QCOMPARE(control<QTableView>("dati")->model()->columnCount(), 12);
    for (const char *name : {"mp3found", "conid", "noid", "mp3errati", "ROnly", "cdrom"})
        QCOMPARE(control<QLabel>(name)->text(), QStringLiteral("0"));
    QVERIFY(m_dialogs.messages.isEmpty());
    QWidget *wait = m_window->findChild<QWidget *>(QStringLiteral("Attendere"));
    QVERIFY2(wait, "the wait window was shown for the load");
    QVERIFY(!wait->isVisible());
    QCOMPARE(wait->windowTitle(), QStringLiteral("ATTENDERE"));
    QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Caricamento DataBase in corso!!!"));
    for (const char *name : {"List1", "List2", "Drive1", "Dir1", "File1"})
        QVERIFY2(!control(name)->isVisible(), name);
    // A click on a grid without records leaves the status line alone.
    QTest::mouseClick(control<QTableView>("dati")->viewport(), Qt::LeftButton);
    QCOMPARE(control<QLabel>("Label4")->text(), QStringLiteral("Versione 2.0"));
    // Typing is refused while there are no records.
    auto *text1 = control<QLineEdit>("Text1");
    QTest::keyClicks(text1, QStringLiteral("abc"));
    QCOMPARE(text1->text(), QString());
    QVERIFY(!control("cerca")->isEnabled());
}

void TestMainWindow::loadShowsRecordsAndCounters()
{
    CatalogueRecord a = sampleRecord(QStringLiteral("a"));
    CatalogueRecord b = sampleRecord(QStringLiteral("b"));
    b.info = QStringLiteral("Solo Lettura");
    CatalogueRecord c = sampleRecord(QStringLiteral("c"));
    c.info = QStringLiteral("CDROM");
    startWindow({a, b, c});
    QCOMPARE(m_window->model().recordCount(), 3);
    QCOMPARE(control<QLabel>("mp3found")->text(), QStringLiteral("3"));
    QCOMPARE(control<QLabel>("conid")->text(), QStringLiteral("1"));
    QCOMPARE(control<QLabel>("ROnly")->text(), QStringLiteral("1"));
    QCOMPARE(control<QLabel>("cdrom")->text(), QStringLiteral("1"));
    QCOMPARE(control<QLabel>("noid")->text(), QStringLiteral("0"));
    QVERIFY(control("attrib")->isEnabled());
    QVERIFY(control("txtattr")->isEnabled());
    auto *grid = control<QTableView>("dati");
    QCOMPARE(grid->model()->headerData(7, Qt::Horizontal).toString(),
             QStringLiteral("Percoso File"));
    // Column widths follow the blanks of the header: the folder column is the widest.
    QVERIFY(grid->columnWidth(7) > grid->columnWidth(0));
    QVERIFY(grid->columnWidth(0) > grid->columnWidth(3));
}

void TestMainWindow::clickedRowShowsItsStatusLine()
{
    CatalogueRecord r = sampleRecord(QStringLiteral("x"));
    r.nome = QStringLiteral("brano");
    r.info = QStringLiteral("CDROM");
    r.percorso = QStringLiteral("/media/cdrom/Rock/");
    r.labelD = QStringLiteral("Rock");
    startWindow({sampleRecord(QStringLiteral("other")), r});
    auto *grid = control<QTableView>("dati");
    grid->selectAll();
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(control<QLabel>("Label4")->text(),
             QStringLiteral("brano - CDROM (/media/cdrom) - ROCK"));
    const QModelIndexList selected = grid->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.constFirst().row(), 1);
}

void TestMainWindow::refreshReadsChangesAndEnablesTheSort()
{
    // One record: nothing to sort, nothing read-only.
    startWindow({sampleRecord(QStringLiteral("a"))});
    QVERIFY(!control("ordinamento")->isEnabled());
    QVERIFY(!control("selordina")->isEnabled());
    QVERIFY(!control("attrib")->isEnabled());
    {
        CatalogueStore other(m_temp->path());
        QVERIFY(other.open());
        CatalogueRecord added = sampleRecord(QStringLiteral("b"));
        added.info = QStringLiteral("Nessun TAG ID3");
        QVERIFY(other.add(added));
    }
    auto *refresh = control<QPushButton>("Command2");
    clickCommand(control("Label3"));
    QCOMPARE(shownFiles(), (QStringList{"a", "b"}));
    QCOMPARE(control<QLabel>("noid")->text(), QStringLiteral("1"));
    QVERIFY(!refresh->isVisible());
    QVERIFY(!control("Label3")->isEnabled());
    QVERIFY2(!QApplication::overrideCursor(), "the hourglass is taken back");
    QVERIFY(control("ordinamento")->isEnabled());
    QVERIFY(control("selordina")->isEnabled());
}

void TestMainWindow::genreChooserAndDriveTable()
{
    m_volumes.list[0].type = DriveType::Fixed;
    m_volumes.list[1].type = DriveType::CdRom;
    startWindow();
    auto *combo = control<QComboBox>("Combo1");
    QCOMPARE(combo->count(), 149);
    QCOMPARE(combo->itemText(0), QString());
    QCOMPARE(combo->itemText(1), QStringLiteral("Blues"));
    QCOMPARE(combo->currentText(), QString());
    // Which volumes go in, and how, is DriveTable's.
    QCOMPARE(m_window->driveTable(),
             (DriveTable{{"/", DriveType::Fixed}, {"/media/cdrom", DriveType::CdRom}}));
}

void TestMainWindow::searchOptions_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("searchEnabled");
    QTest::addColumn<bool>("comboVisible");
    QTest::addColumn<bool>("checkEnabled");
    QTest::newRow("genre without text") << "" << 4 << true << true << false;
    QTest::newRow("artist without text") << "" << 1 << false << false << true;
    QTest::newRow("artist with text") << "dalla" << 1 << true << false << true;
}

void TestMainWindow::searchOptions()
{
    QFETCH(QString, typed);
    QFETCH(int, option);
    QFETCH(bool, searchEnabled);
    QFETCH(bool, comboVisible);
    QFETCH(bool, checkEnabled);
    startWindow({sampleRecord(QStringLiteral("a"))});
    auto *check = control<QCheckBox>("Check1");
    check->setChecked(true);
    control<QLineEdit>("Text1")->setText(typed);
    control<QRadioButton>(qPrintable(QStringLiteral("Option1_%1").arg(option)))->click();
    QCOMPARE(control("cerca")->isEnabled(), searchEnabled);
    QCOMPARE(control("Command1")->isEnabled(), searchEnabled);
    QCOMPARE(control("Combo1")->isVisible(), comboVisible);
    QVERIFY(control("Text1")->isVisible());
    QVERIFY(!check->isChecked());
    QCOMPARE(check->isEnabled(), checkEnabled);
}

void TestMainWindow::enterRunsTheSearchAndRefreshBringsAllBack()
{
    CatalogueRecord a = sampleRecord(QStringLiteral("a"));
    a.autore = QStringLiteral("Lucio Dalla");
    CatalogueRecord b = sampleRecord(QStringLiteral("b"));
    b.autore = QStringLiteral("Paolo Conte");
    CatalogueRecord c = sampleRecord(QStringLiteral("c"));
    c.autore = QStringLiteral("DALLA");
    c.info = QStringLiteral("Solo Lettura");
    startWindow({a, b, c});
    control<QRadioButton>("Option1_1")->click();
    control<QCheckBox>("Check1")->click();
    auto *text1 = control<QLineEdit>("Text1");
    QTest::keyClicks(text1, QStringLiteral("dalla"));
    QTest::keyClick(text1, Qt::Key_Return);
    QCOMPARE(shownFiles(), (QStringList{"a", "c"}));
    auto *keys = control<QListWidget>("List3");
    QCOMPARE(keys->count(), 2);
    QCOMPARE(keys->item(1)->text(), m_window->model().cell(1, Key));
    QVERIFY(control("Label3")->isEnabled());

    clickCommand(control("Label3"));
    QCOMPARE(m_window->model().recordCount(), 3);
    QVERIFY(!control("Label3")->isEnabled());
}

void TestMainWindow::genreSearchUsesTheChooser()
{
    CatalogueRecord a = sampleRecord(QStringLiteral("a"));
    a.genere = QStringLiteral("Trip  Hop");
    startWindow({a, sampleRecord(QStringLiteral("b"))});
    control<QRadioButton>("Option1_4")->click();
    control<QComboBox>("Combo1")->setCurrentText(QStringLiteral("Trip  Hop"));
    clickCommand(control("cerca"));
    QCOMPARE(shownFiles(), QStringList{"a"});
}

void TestMainWindow::sortThenRefresh()
{
    CatalogueRecord a = sampleRecord(QStringLiteral("a"));
    a.anno = QStringLiteral("2001");
    CatalogueRecord b = sampleRecord(QStringLiteral("b"));
    b.anno = QStringLiteral("99");
    CatalogueRecord c = sampleRecord(QStringLiteral("c"));
    c.anno = QStringLiteral("1985");
    startWindow({a, b, c});
    control<QRadioButton>("ordina_3")->click();
    clickCommand(control("selordina"));
    QCOMPARE(shownFiles(), (QStringList{"b", "c", "a"}));
    clickCommand(control("Label3"));
    QCOMPARE(shownFiles(), (QStringList{"a", "b", "c"}));
}

// --- Start-up checks, delete and read-only change ---

QWidget *TestMainWindow::errati() const
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->objectName() == QLatin1String("errati") && window->isVisible())
            return window;
    }
    return nullptr;
}

void TestMainWindow::missingFilesDisableTheWindowUntilDeleted()
{
    // Which files count as missing and how they are listed is left to their own tests; here the
    // window is disabled, completes no tag while files are missing, and reloads after the delete.
    const QString folder = m_temp->folder() + QStringLiteral("/Musica/");
    QVERIFY(QDir().mkpath(folder));
    const QString tagless = writeMp3(folder, QStringLiteral("presente.mp3"), mpegFrames(2));
    QList<CatalogueRecord> records;
    for (const char *name : {"uno", "presente"}) {
        records << sampleRecord(QString::fromLatin1(name));
        records.last().percorso = folder;
        records.last().info = QStringLiteral("Nessun TAG ID3");
    }
    startWindowAsGiven(records);

    QVERIFY(!m_window->isEnabled());
    QWidget *list = errati();
    QVERIFY2(list, "the missing files are listed");
    QCOMPARE(list->findChild<QListWidget *>(QStringLiteral("List1"))->count(), 1);
    QTest::mouseClick(list->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(m_window->isEnabled());
    QVERIFY(!errati());
    QCOMPARE(shownFiles(), QStringList{"presente"});
    QCOMPARE(control<QLabel>("mp3found")->text(), QStringLiteral("1"));
    QCOMPARE(QFileInfo(tagless).size(), 2 * 417); // no tag completion at this start
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestMainWindow::closingTheMissingFileListEnablesTheWindow()
{
    startWindowAsGiven({sampleRecord(QStringLiteral("sparito"))});
    QVERIFY(!m_window->isEnabled());
    QWidget *list = errati();
    QVERIFY(list);
    QVERIFY(list->close());
    QVERIFY(m_window->isEnabled());
    QCOMPARE(m_window->model().recordCount(), 1);
    QCOMPARE(m_store->allRecords()->size(), 1);
}

void TestMainWindow::startUpCompletesMissingTags()
{
    const QString folder = m_temp->folder() + QStringLiteral("/Musica/");
    QVERIFY(QDir().mkpath(folder));
    const QString file = writeMp3(folder, QStringLiteral("song.mp3"), mpegFrames(2));
    CatalogueRecord r = sampleRecord(QStringLiteral("song"));
    r.percorso = folder;
    r.titolo = QStringLiteral("Song");
    r.info = QStringLiteral("Nessun TAG ID3");
    startWindowAsGiven({r});

    // The tag block itself is TagCompletion's; here the start-up runs it once.
    QVERIFY(m_window->isEnabled());
    QVERIFY(!errati());
    QCOMPARE(QFileInfo(file).size(), 2 * 417 + 128);
    QCOMPARE(m_window->model().cell(0, State), QStringLiteral("Nessun TAG ID3"));
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainWindow::deleteKeyOnTheGrid_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("noConfirm");
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("removed");
    QTest::newRow("asked, Yes") << int(Qt::Key_Delete) << false << false << true << true;
    QTest::newRow("with the file") << int(Qt::Key_Delete) << true << true << false << true;
    QTest::newRow("another key") << int(Qt::Key_Backspace) << true << true << true << false;
}

void TestMainWindow::deleteKeyOnTheGrid()
{
    QFETCH(int, key);
    QFETCH(bool, noConfirm);
    QFETCH(bool, withFile);
    QFETCH(bool, answer);
    QFETCH(bool, removed);
    startWindow({sampleRecord(QStringLiteral("a")), sampleRecord(QStringLiteral("b")),
                 sampleRecord(QStringLiteral("c"))});
    const QString file = recordFilePath(m_window->model().cell(1, Folder), QStringLiteral("b"));
    QVERIFY(QFileInfo::exists(file));
    control<QCheckBox>("conferma")->setChecked(noConfirm);
    control<QCheckBox>("cancella")->setChecked(withFile);
    m_dialogs.answers = {answer};
    auto *grid = control<QTableView>("dati");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(1, 0)).center());

    QTest::keyClick(grid, static_cast<Qt::Key>(key));
    const bool asked = key == Qt::Key_Delete && !noConfirm;
    QCOMPARE(m_dialogs.messages.size(), asked ? 1 : 0);
    QCOMPARE(shownFiles(), (removed ? QStringList{"a", "c"} : QStringList{"a", "b", "c"}));
    QCOMPARE(control<QLabel>("mp3found")->text(),
             removed ? QStringLiteral("2") : QStringLiteral("3"));
    QCOMPARE(m_store->allRecords()->size(), removed ? 2 : 3);
    QCOMPARE(QFileInfo::exists(file), !(removed && withFile));
    // The status line of the clicked row goes with the row.
    QCOMPARE(control<QLabel>("Label4")->text().startsWith(QLatin1String("b - ")), !removed);
}

void TestMainWindow::deleteTakesTheRowAtTheEndOfTheSelection_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("downwards") << 0 << 2 << QStringList{"a", "b"};
    QTest::newRow("upwards") << 2 << 0 << QStringList{"b", "c"};
}

void TestMainWindow::deleteTakesTheRowAtTheEndOfTheSelection()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, left);
    CatalogueRecord readOnly = sampleRecord(QStringLiteral("b"));
    readOnly.info = QStringLiteral("Solo Lettura");
    startWindow({sampleRecord(QStringLiteral("a")), readOnly, sampleRecord(QStringLiteral("c"))});
    control<QCheckBox>("conferma")->setChecked(true);
    control<QCheckBox>("cancella")->setChecked(true);
    auto *grid = control<QTableView>("dati");
    const auto centre = [grid](int row) {
        return grid->visualRect(grid->model()->index(row, 0)).center();
    };
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(from));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(to));
    QCOMPARE(grid->selectionModel()->selectedRows().size(), 3);

    QTest::keyClick(grid, Qt::Key_Delete);
    QVERIFY2(m_dialogs.messages.isEmpty(), "the read-only row inside the selection plays no part");
    QCOMPARE(shownFiles(), left);
    QVERIFY(!grid->currentIndex().isValid());
    QVERIFY(grid->selectionModel()->selectedRows().isEmpty());
    // Without a current row the key deletes nothing.
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(shownFiles(), left);
}

void TestMainWindow::attribMakesReadOnlyFilesWritable()
{
    const QString folder = m_temp->folder() + QStringLiteral("/Musica/");
    QVERIFY(QDir().mkpath(folder));
    const QString file = writeMp3(folder, QStringLiteral("brano.mp3"), mpegFrames(1),
                                  tagBlock("T", "A", "B", "2000", "C", 17));
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    CatalogueRecord r = sampleRecord(QStringLiteral("brano"));
    r.percorso = folder;
    r.info = QStringLiteral("Solo Lettura");
    startWindow({r, sampleRecord(QStringLiteral("altro"))});
    QVERIFY(!QFileInfo(file).permission(QFile::WriteOwner));
    QCOMPARE(control<QLabel>("ROnly")->text(), QStringLiteral("1"));

    QVERIFY(control("attrib")->isEnabled());
    clickCommand(control("txtattr"));
    QCOMPARE(m_window->model().cell(0, State), QStringLiteral("OK"));
    QCOMPARE(control<QLabel>("ROnly")->text(), QStringLiteral("0"));
    QVERIFY(QFileInfo(file).permission(QFile::WriteOwner));
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainWindow::exportCsvWritesTheChosenFile()
{
    // What the file holds is CsvExport's: here the chooser's answer reaches it.
    startWindow({sampleRecord(QStringLiteral("uno")), sampleRecord(QStringLiteral("due"))});
    const QString written = m_temp->folder() + QStringLiteral("/lista.csv");
    const QString missingFolder = m_temp->folder() + QStringLiteral("/manca/lista.csv");
    m_dialogs.fileNames = {QString(), written, missingFolder};
    auto *exportCsv = control<QPushButton>("EsportaCsv");
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(exportCsv, Qt::LeftButton);

    QFile file(written);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("\r\n"), 3);
    QVERIFY(!QFileInfo::exists(missingFolder));
    QCOMPARE(m_dialogs.messages.size(), 4);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(m_dialogs.messages.at(i).kind, FakeDialogs::Kind::SaveFileName);
        QCOMPARE(m_dialogs.messages.at(i).text, QDir::current().filePath("Mp3Db.csv"));
    }
    QCOMPARE(m_dialogs.messages.at(3).kind, FakeDialogs::Kind::Critical);
    QVERIFY(m_dialogs.messages.at(3).text.startsWith(
        QStringLiteral("Impossibile esportare la lista nel file \"%1\"").arg(missingFolder)));
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
