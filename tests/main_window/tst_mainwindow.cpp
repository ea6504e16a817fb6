#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "inspection/recordfile.h"
#include "main_window/mainwindow.h"
#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/filestate.h"
#include "support/sqlscene.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "support/widgettest.h"
#include "tag_editor/tageditor.h"
#include "widgets/screenfit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

// The journeys drive the window's commands as a user does; here are what they cannot reach
// cheaply: failures, the rows of faults mended, and the window's own state.
class TestMainWindow : public QObject
{
    Q_OBJECT

    /// A record whose file, a tagged MP3, is in the temporary folder.
    CatalogueRecord onDisk(const QString &name)
    {
        CatalogueRecord r = sampleRecord(name);
        r.percorso = m_temp->folder() + u'/';
        writeMp3(r.percorso, name + QStringLiteral(".mp3"), mpegFrames(1),
                 tagBlock("T", "A", "B", "2000", "C", 17));
        return r;
    }
    void startWindow(const QList<CatalogueRecord> &records = {})
    {
        m_temp->add(records);
        m_window.reset();
        m_store.emplace(m_temp->path());
        QVERIFY(m_store->open());
        m_window.emplace(*m_store, m_dialogs, m_volumes);
        m_window->start();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*m_window));
    }
    QStringList shownFiles()
    {
        QStringList names;
        for (int r = 0; r < m_window->model().recordCount(); ++r)
            names << m_window->model().cell(r, FileName);
        return names;
    }
    QPoint centreOfRow(int row)
    {
        return childNamed<QTableView>(&*m_window, "dati")
            ->visualRect(m_window->model().index(row, 0))
            .center();
    }

    std::optional<TempCatalogue> m_temp;
    std::optional<CatalogueStore> m_store;
    FakeDialogs m_dialogs;
    FakeVolumes m_volumes;
    std::optional<MainWindow> m_window;

private slots:
    void init()
    {
        m_window.reset();
        m_store.reset();
        m_temp.emplace();
        m_dialogs = FakeDialogs();
        m_volumes.list = {{QStringLiteral("/"), DriveType::Fixed, {}, {}, {}, {}},
                          {QStringLiteral("/media/cdrom"), DriveType::CdRom, {}, {}, {}, {}}};
    }

    void screenFit()
    {
        startWindow();
        // The grid gives way on a laptop screen, the rest of the window fits it.
        const QSize laptop = QSize(1366, 768).shrunkBy(ScreenFit::kExpectedFrame);
        QCOMPARE(m_window->minimumSizeHint().boundedTo(laptop), m_window->minimumSizeHint());
    }

    void genreSearch()
    {
        CatalogueRecord a = onDisk(QStringLiteral("a"));
        a.genere = QStringLiteral("Trip  Hop");
        startWindow({a, onDisk(QStringLiteral("b"))});
        // The genre search takes its key from the chooser, not from the text box.
        childNamed<QRadioButton>(&*m_window, "Option1_4")->click();
        childNamed<QComboBox>(&*m_window, "Combo1")->setCurrentText(QStringLiteral("Trip  Hop"));
        clickCommand(childNamed(&*m_window, "cerca"));
        QCOMPARE(shownFiles(), QStringList{"a"});
    }

    void startUpCompletesTagsOnlyWithNoFileMissing()
    {
        // A tagless file, first beside a record whose file is gone, then alone.
        const QString file = writeMp3(m_temp->folder(), QStringLiteral("song.mp3"), mpegFrames(2));
        CatalogueRecord r = sampleRecord(QStringLiteral("song"));
        r.percorso = m_temp->folder() + u'/';
        r.info = QStringLiteral("Nessun TAG ID3");
        for (bool withMissing : {true, false}) {
            startWindow(withMissing ? QList{r, sampleRecord(QStringLiteral("sparito"))}
                                    : QList<CatalogueRecord>{});
            QCOMPARE(m_window->isEnabled(), !withMissing);
            QCOMPARE(QFileInfo(file).size(), 2 * 417 + (withMissing ? 0 : 128));
            if (withMissing) {
                // Closing the list of vanished files gives the window back, deleting nothing.
                QVERIFY(childNamed(&*m_window, "errati")->close());
                QVERIFY(m_window->isEnabled());
                QCOMPARE(storedRecords(*m_store)->size(), 2);
                QVERIFY(m_store->remove(storedRecords(*m_store)->constLast().id) ==
                        CatalogueStore::WriteResult::Done);
            }
        }
        QVERIFY(!QApplication::overrideCursor());
    }

    void deleteKeyOnTheGrid_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("noConfirm");
        QTest::addColumn<bool>("withFile");
        // The row clicked before the one shift-clicked, or -1.
        QTest::addColumn<int>("selectedFrom");
        QTest::addColumn<QString>("removed"); // the file name of the row deleted, if any
        QTest::newRow("asked, Yes, with the file")
            << int(Qt::Key_Delete) << false << true << -1 << "b";
        QTest::newRow("another key") << int(Qt::Key_Backspace) << true << true << -1 << "";
        // The current row is where the selection ends; the read-only row inside plays no part.
        QTest::newRow("selection upwards") << int(Qt::Key_Delete) << true << false << 2 << "a";
    }

    // A catalogue of an earlier version holding tag texts padded with NULs is cleaned before
    // the grid first shows it: no cell shows a NUL, and the catalogue keeps the clean texts.
    void catalogueWithNulsIsCleanedAtStart()
    {
        using namespace Qt::StringLiterals;
        CatalogueRecord padded = onDisk(u"perche"_s);
        padded.titolo = u"Perché"_s + QString(24, QChar(0));
        padded.commento = QString(30, QChar(0));
        padded.labelD = u"Disco"_s + QString(25, QChar(0));
        padded.genere = QString();
        m_temp->add({padded, onDisk(u"plain"_s)});
        QVERIFY(execOn(m_temp->path(), u"PRAGMA user_version = 0"_s));
        startWindow();
        QVERIFY(m_dialogs.messages.isEmpty());
        const CatalogueModel &grid = m_window->model();
        QCOMPARE(grid.recordCount(), 2);
        for (int r = 0; r < grid.recordCount(); ++r) {
            for (int c = 0; c < kColumnCount; ++c)
                QVERIFY2(!grid.cell(r, Column(c)).contains(QChar(0)),
                         qPrintable(grid.cell(r, Column(c))));
        }
        QCOMPARE(grid.cell(0, Title), u"Perché"_s);
        QCOMPARE(grid.cell(0, MediumLabel), u"Disco"_s);
        const Lookup<CatalogueRecord> stored = m_store->recordById(*grid.key(0));
        QVERIFY(stored.isFound());
        QCOMPARE(stored->commento, u""_s);
        QCOMPARE(stored->genere, u""_s);
        QCOMPARE(m_store->textsCleaned(), std::optional<bool>(true));
    }

    void deleteKeyOnTheGrid()
    {
        QFETCH(int, key);
        QFETCH(bool, noConfirm);
        QFETCH(bool, withFile);
        QFETCH(int, selectedFrom);
        QFETCH(QString, removed);
        CatalogueRecord b = onDisk(QStringLiteral("b"));
        if (selectedFrom >= 0)
            b.info = QStringLiteral("Solo Lettura");
        startWindow({onDisk(QStringLiteral("a")), b, onDisk(QStringLiteral("c"))});
        const QString file = recordFilePath(m_temp->folder() + u'/', QStringLiteral("b"));
        childNamed<QCheckBox>(&*m_window, "conferma")->setChecked(noConfirm);
        childNamed<QCheckBox>(&*m_window, "cancella")->setChecked(withFile);
        m_dialogs.answers = {true};
        auto *grid = childNamed<QTableView>(&*m_window, "dati");
        if (selectedFrom >= 0)
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOfRow(selectedFrom));
        const int clicked = selectedFrom < 0 ? 1 : 0;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton,
                          selectedFrom < 0 ? Qt::NoModifier : Qt::ShiftModifier,
                          centreOfRow(clicked));
        QTest::keyClick(grid, static_cast<Qt::Key>(key));
        QCOMPARE(m_dialogs.messages.size(), key == Qt::Key_Delete && !noConfirm ? 1 : 0);
        QStringList left{"a", "b", "c"};
        left.removeOne(removed);
        QCOMPARE(shownFiles(), left);
        QCOMPARE(QFileInfo::exists(file), !(removed == u"b" && withFile));
        // Without a current row the key deletes nothing more.
        if (!removed.isEmpty()) {
            QTest::keyClick(grid, Qt::Key_Delete);
            QCOMPARE(shownFiles(), left);
        }
    }

    void keysOnTheGridOpenTheEditor_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("withCurrentRow");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Return") << int(Qt::Key_Return) << true << true;
        QTest::newRow("Enter of the keypad") << int(Qt::Key_Enter) << true << true;
        QTest::newRow("F2") << int(Qt::Key_F2) << true << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << true << false;
        QTest::newRow("F3") << int(Qt::Key_F3) << true << false;
        QTest::newRow("Return without a current row") << int(Qt::Key_Return) << false << false;
    }

    void keysOnTheGridOpenTheEditor()
    {
        // The current row opens with its first field ready to type, as a double click opens it.
        QFETCH(int, key);
        QFETCH(bool, withCurrentRow);
        QFETCH(bool, opens);
        startWindow({onDisk(QStringLiteral("a")), onDisk(QStringLiteral("b"))});
        QVERIFY(QTest::qWaitForWindowActive(&*m_window));
        auto *grid = childNamed<QTableView>(&*m_window, "dati");
        grid->setFocus(Qt::TabFocusReason);
        // The grid taking the focus by Tab makes its first cell current.
        grid->setCurrentIndex(QModelIndex());
        if (withCurrentRow) {
            QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key_Down);
            QCOMPARE(grid->currentIndex().row(), 1);
        }
        QTest::keyClick(grid, static_cast<Qt::Key>(key));
        QPointer<TagEditor> editor = m_window->findChild<TagEditor *>(QStringLiteral("Form2"));
        QCOMPARE(editor && editor->isVisible(), opens);
        if (!opens)
            return;
        auto *title = childNamed<QLineEdit>(editor, "in1_0");
        QCOMPARE(title->text(), m_window->model().cell(1, Title));
        // The window system activates the window, then the widgets follow.
        QTRY_COMPARE(QApplication::focusWidget(), title);
    }

    void escapeInTheEditorIsAnnulla_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Esc") << int(Qt::Key_Escape) << true;
        QTest::newRow("another key") << int(Qt::Key_F4) << false;
    }

    void escapeInTheEditorIsAnnulla()
    {
        // Esc drops the edit and closes the editor; the record and the file stay as they were.
        QFETCH(int, key);
        QFETCH(bool, closes);
        const CatalogueRecord record = onDisk(QStringLiteral("a"));
        startWindow({record});
        const QString file = recordFilePath(m_temp->folder() + u'/', QStringLiteral("a"));
        const QByteArray before = fileBytes(file);
        auto *grid = childNamed<QTableView>(&*m_window, "dati");
        grid->setCurrentIndex(m_window->model().index(0, 0));
        QTest::keyClick(grid, Qt::Key_Return);
        QPointer<TagEditor> editor = m_window->findChild<TagEditor *>(QStringLiteral("Form2"));
        QVERIFY(editor);
        QTRY_VERIFY(editor->isActiveWindow());
        auto *title = childNamed<QLineEdit>(editor, "in1_0");
        QTest::keyClicks(title, QStringLiteral("Nuovo"));
        QTest::keyClick(title, static_cast<Qt::Key>(key));
        if (closes)
            QTRY_VERIFY(!editor);
        else
            QVERIFY(editor && editor->isVisible());
        QVERIFY(m_dialogs.messages.isEmpty());
        QCOMPARE(m_window->model().cell(0, Title), record.titolo);
        QCOMPARE(storedRecords(*m_store)->constFirst().titolo, record.titolo);
        QCOMPARE(fileBytes(file), before);
    }

    void tabChainInReadingOrder_data()
    {
        QTest::addColumn<bool>("editor");      // the tag editor's chain, opened from the grid
        QTest::addColumn<int>("searchOption"); // clicked before, -1 for none
        QTest::addColumn<QString>("typed");    // into the search key
        QTest::addColumn<QStringList>("chain");
        // Tab enters a group of options once, at the one chosen (the first when none is); the
        // arrows move within it.
        const QStringList options{"Option1_0"};
        const QStringList rest{"ordina_0", "selordina", "conferma", "cancella", "EsportaCsv",
                               "Supporti", "Label2",    "Label3",   "dati"};
        // The chain at start is the screen sweep's. A command disabled (no read-only file) is
        // not a stop.
        QTest::newRow("a key typed")
            << false << -1 << QStringLiteral("x")
            << options + QStringList{"Text1", "Check1", "cerca", "List3", "Doppioni"} + rest;
        // The genre chooser comes after the text box it stands beside.
        QTest::newRow("the genre search")
            << false << 4 << QString()
            << QStringList{"Option1_4", "Text1", "Combo1", "cerca", "List3", "Doppioni"} + rest;
        // Without a player the player area is disabled.
        QTest::newRow("the tag editor")
            << true << -1 << QString()
            << QStringList{"in1_0",  "in1_1",  "in1_2",    "in1_3",   "in1_5",
                           "Combo1", "Check1", "Command1", "Command2"};
    }

    void tabChainInReadingOrder()
    {
        QFETCH(bool, editor);
        QFETCH(int, searchOption);
        QFETCH(QString, typed);
        QFETCH(QStringList, chain);
        startWindow({onDisk(QStringLiteral("a")), onDisk(QStringLiteral("b"))});
        if (searchOption >= 0)
            childNamed<QRadioButton>(&*m_window,
                                     qPrintable(QStringLiteral("Option1_%1").arg(searchOption)))
                ->click();
        childNamed<QLineEdit>(&*m_window, "Text1")->setText(typed);
        QWidget *window = &*m_window;
        if (editor) {
            auto *grid = childNamed<QTableView>(&*m_window, "dati");
            grid->setCurrentIndex(m_window->model().index(0, 0));
            QTest::keyClick(grid, Qt::Key_Return);
            window = m_window->findChild<TagEditor *>(QStringLiteral("Form2"));
            QVERIFY(window);
        }
        // As one text, so that a failure shows the whole chain.
        QCOMPARE(tabChain(window).join(u' '), chain.join(u' '));
    }

    void exportWritesTheTypeChosen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("a workbook")
            << QStringLiteral("lista.xlsx") << QStringLiteral("Cartella di lavoro Excel (*.xlsx)")
            << QByteArray("PK\x03\x04");
        QTest::newRow("CSV, whatever the name")
            << QStringLiteral("lista.xlsx") << QStringLiteral("CSV (*.csv)")
            << QByteArray("\xEF\xBB\xBFTitolo;");
        QTest::newRow("a workbook that cannot be written")
            << QStringLiteral("manca/lista.xlsx")
            << QStringLiteral("Cartella di lavoro Excel (*.xlsx)") << QByteArray();
        QTest::newRow("a CSV file that cannot be written")
            << QStringLiteral("manca/lista.csv") << QStringLiteral("CSV (*.csv)") << QByteArray();
    }

    void exportWritesTheTypeChosen()
    {
        // What the files hold is the exports'; here the chooser's answer reaches them.
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QByteArray, start);
        startWindow({onDisk(QStringLiteral("uno"))});
        const QString path = m_temp->folder() + u'/' + name;
        m_dialogs.choices = {{}, {path, filter}};
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(childNamed<QPushButton>(&*m_window, "EsportaCsv"), Qt::LeftButton);
        QCOMPARE(m_dialogs.filters,
                 QStringList({QStringLiteral("Cartella di lavoro Excel (*.xlsx)"),
                              QStringLiteral("CSV (*.csv)")}));
        QFile file(path);
        if (start.isEmpty()) {
            QVERIFY(!file.exists());
            QCOMPARE(m_dialogs.messages.size(), 3);
            QCOMPARE(m_dialogs.messages.at(2).kind, FakeDialogs::Kind::Critical);
            QVERIFY(m_dialogs.messages.at(2).text.startsWith(
                QStringLiteral("Impossibile esportare la lista nel file \"%1\"").arg(path)));
        } else {
            QCOMPARE(m_dialogs.messages.size(), 2);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.read(start.size()), start);
        }
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
