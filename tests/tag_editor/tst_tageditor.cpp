#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "main_window/mainwindow.h"
#include "support/fakeaudiooutput.h"
#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "support/widgettest.h"
#include "tag_editor/player.h"
#include "tag_editor/tageditor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {

/// Dialogs whose messages, like real message boxes, hand the activation back to the main
/// window when they go away.
class ActivatingDialogs : public FakeDialogs
{
public:
    std::function<void()> afterMessage;
    void information(const QString &title, const QString &text) override
    {
        FakeDialogs::information(title, text);
        if (afterMessage)
            afterMessage();
    }
};

const QByteArray kAudio = mpegFrames(3);

} // namespace

class TestTagEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controlsAtStart_data();
    void controlsAtStart();
    void accessibleNames_data();
    void accessibleNames();
    void doubleClickOpensTheRow();
    void doubleClickOutsideRecordsOpensNothing();
    void rowWithoutKeyIsNotShown();
    void saveEnabling_data();
    void saveEnabling();
    void cancelClosesWithoutSaving();
    void saveWritesAndCloses();
    void activatingTheMainWindowClosesTheEditorOnlyOnceShown();
    void unreachableFileIsMarked();
    void playerArea_data();
    void playerArea();
    void playingDisablesTheEditorButtons();

private:
    /// Starts the main window over the records, with files for those named in `files`.
    void startWindow(const QList<CatalogueRecord> &records);
    CatalogueRecord record(const QString &name, const QString &state = QStringLiteral("OK"),
                           const QString &extension = QStringLiteral("mp3"));
    /// Double-clicks grid row `row` and returns the editor, if one is shown.
    TagEditor *doubleClickRow(int row);
    template <typename T = QWidget> static T *control(QWidget *window, const char *name)
    {
        return childNamed<T>(window, name);
    }
    QString music() const { return m_temp->folder() + u'/'; }

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    ActivatingDialogs m_dialogs;
    FakeVolumes m_volumes;
    std::unique_ptr<MainWindow> m_window;
};

void TestTagEditor::init()
{
    m_temp = std::make_unique<TempCatalogue>();
    m_dialogs = ActivatingDialogs();
    VolumeInfo root;
    root.mountPoint = QStringLiteral("/");
    m_volumes.list = {root};
}

void TestTagEditor::cleanup()
{
    m_window.reset();
    m_store.reset();
    m_temp.reset();
}

CatalogueRecord TestTagEditor::record(const QString &name, const QString &state,
                                      const QString &extension)
{
    CatalogueRecord r = sampleRecord(name);
    r.percorso = music();
    r.info = state;
    if (!extension.isEmpty())
        writeMp3(m_temp->folder(), name + u'.' + extension, kAudio);
    return r;
}

void TestTagEditor::startWindow(const QList<CatalogueRecord> &records)
{
    m_temp->add(records);
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY(m_store->open());
    m_window = std::make_unique<MainWindow>(*m_store, m_dialogs, m_volumes);
    // The editor and the search work on files made for them: no start-up checks or tag completion.
    m_window->start(MainWindow::StartupChecks::Skip);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

TagEditor *TestTagEditor::doubleClickRow(int row)
{
    auto *grid = control<QTableView>(m_window.get(), "dati");
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    auto *editor = m_window->findChild<TagEditor *>(QStringLiteral("Form2"));
    return editor && editor->isVisible() ? editor : nullptr;
}

void TestTagEditor::controlsAtStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled"); // the control's own state, whatever its container's
    const auto row = [](const char *name, const char *caption, bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << enabled;
    };
    row("Frame1", "ID3 TAG MP3");
    row("Label1", "Nome File:");
    row("nfile", "");
    row("Label2", "Titolo:");
    row("Label3", "Autore:");
    row("Label4_0", "Album:");
    row("Label4_1", "Anno:");
    row("Label4_2", "Genere");
    row("Label5", "Commento:");
    row("Check1", "Salva il TAG nel File MP3");
    row("Command1", "Modifica", false);
    row("Command2", "Annulla");
    row("p1", "MP3 Player", false);
    row("p2", "", false);
    row("p3", "", false);
    row("p4", "", false);
    row("p5", "PLAY", false);
    row("p6", "PAUSA", false);
    row("p7", "STOP", false);
    row("Label7", "Volume");
    row("vol", "100%");
    row("Label6", "Durata");
    row("durata", "");
    row("tempo", "0");
    row("Check2", "Ripeti");
    row("avanti", "");
    row("Slider1", "");
}

void TestTagEditor::controlsAtStart()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    startWindow({});
    TagEditor editor(m_window->model(), *m_store, m_dialogs);
    QCOMPARE(editor.windowTitle(), QStringLiteral("Modifica ID3"));
    QWidget *widget = editor.findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(captionOf(widget), caption);
    auto *mplay = control(&editor, "mplay");
    QCOMPARE(widget->isEnabledTo(mplay->isAncestorOf(widget) ? mplay : &editor), enabled);
    // Without a player the whole player area is disabled.
    QVERIFY(!mplay->isEnabled());
}

void TestTagEditor::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<int>("role");
    const auto row = [](const char *name, const char *accessible, QAccessible::Role role) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(accessible)
                            << int(role);
    };
    row("in1_0", "Titolo:", QAccessible::EditableText);
    row("in1_1", "Autore:", QAccessible::EditableText);
    row("in1_2", "Album:", QAccessible::EditableText);
    row("in1_3", "Anno:", QAccessible::EditableText);
    row("in1_5", "Commento:", QAccessible::EditableText);
    row("Combo1", "Genere", QAccessible::ComboBox);
    row("p2", "PLAY", QAccessible::Button);
    row("p3", "PAUSA", QAccessible::Button);
    row("p4", "STOP", QAccessible::Button);
    row("Slider1", "Volume", QAccessible::Slider);
    row("avanti", "Posizione", QAccessible::Slider);
    row("Command1", "Modifica", QAccessible::Button);
}

void TestTagEditor::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    QFETCH(int, role);
    startWindow({});
    TagEditor editor(m_window->model(), *m_store, m_dialogs);
    QWidget *widget = control(&editor, qPrintable(name));
    QCOMPARE(::accessibleName(widget), accessibleName);
    QCOMPARE(int(accessibleRole(widget)), role);
    QCOMPARE(controlsWithoutCaption(&editor).join(u' '), QString());
}

void TestTagEditor::doubleClickOpensTheRow()
{
    CatalogueRecord r =
        record(QStringLiteral("Brano"), QStringLiteral("OK"), QStringLiteral("MP3"));
    r.genere = QStringLiteral("Trip  Hop");
    startWindow({record(QStringLiteral("first")), r});
    TagEditor *editor = doubleClickRow(1);
    QVERIFY(editor);
    QVERIFY(editor->isWindow());
    QCOMPARE(editor->parentWidget(), m_window.get());
    const char *boxes[6] = {"in1_0", "in1_1", "in1_2", "in1_3", "in1_4", "in1_5"};
    // The hidden genre box holds at most 4 characters.
    const QString cells[6] = {r.titolo, r.autore, r.album, r.anno, r.genere.left(4), r.commento};
    const int limits[6] = {30, 30, 30, 4, 4, 30};
    for (int i = 0; i < 6; ++i) {
        auto *box = control<QLineEdit>(editor, boxes[i]);
        QCOMPARE(box->text(), cells[i]);
        QCOMPARE(box->maxLength(), limits[i]);
        QCOMPARE(box->isVisible(), i != 4);
    }
    QCOMPARE(control<QLabel>(editor, "nfile")->text(), QStringLiteral("Brano"));
    QCOMPARE(control<QLabel>(editor, "row")->text(), QStringLiteral("1"));
    QCOMPARE(control<QLabel>(editor, "id")->text(), m_window->model().cell(1, Key));
    // The file is found with its extension as it is on disk.
    QCOMPARE(control<QLabel>(editor, "filename")->text(), music() + QStringLiteral("Brano.MP3"));
    for (const char *hidden : {"filename", "id", "row"})
        QVERIFY2(!control(editor, hidden)->isVisible(), hidden);
    auto *genres = control<QComboBox>(editor, "Combo1");
    QVERIFY(genres->isEditable());
    QCOMPARE(genres->count(), 149);
    QCOMPARE(genres->currentText(), QStringLiteral("Trip  Hop"));
    QVERIFY(control<QCheckBox>(editor, "Check1")->isChecked());
    QVERIFY(control(editor, "Check1")->isEnabled());
    // Filling the boxes counts as a change: a record with a title can be saved at once.
    QVERIFY(control(editor, "Command1")->isEnabled());
    QVERIFY(m_dialogs.messages.isEmpty());
    auto *timer = control<QTimer>(editor, "Timer1");
    QVERIFY(!timer->isActive());
    auto *volume = control<QSlider>(editor, "Slider1");
    QCOMPARE(volume->minimum(), 0);
    QCOMPARE(volume->maximum(), 100);
}

void TestTagEditor::doubleClickOutsideRecordsOpensNothing()
{
    startWindow({record(QStringLiteral("only"))});
    auto *grid = control<QTableView>(m_window.get(), "dati");
    QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                       QPoint(10, grid->horizontalHeader()->height() / 2));
    const QRect last = grid->visualRect(grid->model()->index(0, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       QPoint(last.center().x(), last.bottom() + 3 * last.height()));
    QVERIFY(!m_window->findChild<TagEditor *>());
}

void TestTagEditor::rowWithoutKeyIsNotShown()
{
    startWindow({record(QStringLiteral("a"))});
    m_window->model().setCell(0, Key, QString());
    QVERIFY(!doubleClickRow(0));
    QTRY_VERIFY(!m_window->findChild<TagEditor *>());
}

void TestTagEditor::saveEnabling_data()
{
    QTest::addColumn<QString>("title");     // the record's title
    QTest::addColumn<QStringList>("edits"); // "box=text", in order
    QTest::addColumn<bool>("enabled");
    QTest::newRow("opened with a title") << "T" << QStringList{} << true;
    QTest::newRow("opened with an empty title") << "" << QStringList{} << false;
    QTest::newRow("title emptied") << "T" << QStringList{"in1_0="} << false;
    QTest::newRow("another box typed while the title is empty")
        << "" << QStringList{"in1_1=Artista"} << false;
    QTest::newRow("title typed again") << "T" << QStringList{"in1_0=", "in1_0=Nuovo"} << true;
    QTest::newRow("title of blanks counts") << "" << QStringList{"in1_0= "} << true;
}

void TestTagEditor::saveEnabling()
{
    QFETCH(QString, title);
    QFETCH(QStringList, edits);
    QFETCH(bool, enabled);
    CatalogueRecord r = record(QStringLiteral("a"));
    r.titolo = title;
    startWindow({r});
    TagEditor *editor = doubleClickRow(0);
    QVERIFY(editor);
    for (const QString &edit : edits) {
        const QStringList parts = edit.split(u'=');
        auto *box = control<QLineEdit>(editor, qPrintable(parts[0]));
        box->selectAll();
        if (parts[1].isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, parts[1]);
    }
    QCOMPARE(control(editor, "Command1")->isEnabled(), enabled);
}

void TestTagEditor::cancelClosesWithoutSaving()
{
    startWindow({record(QStringLiteral("a"))});
    const auto before = m_store->allRecords();
    const GridRow row = m_window->model().row(0);
    QPointer<TagEditor> editor = doubleClickRow(0);
    QVERIFY(editor);
    control<QLineEdit>(editor, "in1_0")->setText(QStringLiteral("Changed"));
    QTest::mouseClick(control<QPushButton>(editor, "Command2"), Qt::LeftButton);
    QTRY_VERIFY(!editor);
    QCOMPARE(m_store->allRecords(), before);
    QCOMPARE(m_window->model().row(0), row);
    QCOMPARE(fileContents(music() + QStringLiteral("a.mp3")), kAudio);
}

void TestTagEditor::saveWritesAndCloses()
{
    startWindow({record(QStringLiteral("a"), QStringLiteral("Nessun TAG ID3"))});
    QPointer<TagEditor> editor = doubleClickRow(0);
    QVERIFY(editor);
    auto *title = control<QLineEdit>(editor, "in1_0");
    title->selectAll();
    QTest::keyClicks(title, QStringLiteral("Nuovo titolo"));
    control<QComboBox>(editor, "Combo1")->setCurrentText(QStringLiteral("Jazz"));
    QTest::mouseClick(control<QPushButton>(editor, "Command1"), Qt::LeftButton);
    QTRY_VERIFY(!editor);
    QCOMPARE(m_dialogs.messages.size(), 1);
    // What is written, and the state word after it, are TagSaver's; here the boxes reach it.
    QCOMPARE(m_dialogs.messages[0].title, QStringLiteral("Modifica TAG Generale"));
    QCOMPARE(m_store->allRecords()->constFirst().genere, QStringLiteral("Jazz"));
    QCOMPARE(m_window->model().cell(0, Title), QStringLiteral("Nuovo titolo"));
    const QByteArray bytes = fileContents(music() + QStringLiteral("a.mp3"));
    QCOMPARE(bytes.last(128).first(15), QByteArray("TAGNuovo titolo"));
    QVERIFY(!QApplication::overrideCursor());
}

void TestTagEditor::activatingTheMainWindowClosesTheEditorOnlyOnceShown()
{
    // The CD warning is shown before the editor is: a real message box takes the activation
    // and hands it back to the main window when it goes away.
    startWindow({record(QStringLiteral("a"), QStringLiteral("CDROM"))});
    m_dialogs.afterMessage = [this] {
        QWidget messageBox;
        messageBox.show();
        messageBox.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&messageBox));
        messageBox.close();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    };
    QPointer<TagEditor> editor = doubleClickRow(0);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY(editor);
    QTRY_VERIFY(editor->hasBeenActive());
    // Events still pending from the message do not close it either.
    QCoreApplication::processEvents();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    // Once it has been active, activating the main window closes it and drops the edits.
    const auto before = m_store->allRecords();
    control<QLineEdit>(editor, "in1_0")->setText(QStringLiteral("Dropped"));
    m_dialogs.afterMessage = {};
    m_window->activateWindow();
    QTRY_VERIFY(!editor);
    QCOMPARE(m_store->allRecords(), before);
    QCOMPARE(m_window->model().cell(0, Title), before->constFirst().titolo);
}

void TestTagEditor::unreachableFileIsMarked()
{
    startWindow({record(QStringLiteral("first")),
                 record(QStringLiteral("gone"), QStringLiteral("OK"), QString())});
    TagEditor *editor = doubleClickRow(1);
    QVERIFY(editor);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages[0].title, QStringLiteral("MP3 ASSENTE"));
    QCOMPARE(control<QLabel>(m_window.get(), "Label4")->text(),
             QStringLiteral("FILE CORROTTO o ERRORE NON PREVISTO!"));
    // The record can still be corrected.
    QVERIFY(control(editor, "in1_0")->isEnabled());
    QVERIFY(control(editor, "Command1")->isEnabled());
}

void TestTagEditor::playerArea_data()
{
    // How each control of the area shows a load is PlayerTransport's; here the editor hands it
    // the load step's outcome, with or without a player.
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("file"); // "long" (2:05 of audio), "text" or "none"
    QTest::addColumn<bool>("withPlayer");
    QTest::addColumn<bool>("titleEnabled"); // p1
    QTest::addColumn<bool>("transport");    // p2
    QTest::addColumn<bool>("tagWritable");  // Check1
    QTest::addColumn<bool>("marked");       // status line and grid row
    const auto row = [](const char *name, const char *state, const char *file, bool withPlayer,
                        bool title, bool transport, bool tag, bool marked) {
        QTest::newRow(name) << QString::fromUtf8(state) << QString::fromLatin1(file) << withPlayer
                            << title << transport << tag << marked;
    };
    row("playable", "OK", "long", true, true, true, true, false);
    row("no audio in the program", "OK", "long", false, true, false, true, false);
    row("Solo Lettura, playable", "Solo Lettura", "long", true, true, true, false, false);
    row("not MPEG audio", "OK", "text", true, true, false, false, true);
    row("File Corrotto!", "File Corrotto!", "long", true, false, false, false, true);
}

void TestTagEditor::playerArea()
{
    QFETCH(QString, state);
    QFETCH(QString, file);
    QFETCH(bool, withPlayer);
    QFETCH(bool, titleEnabled);
    QFETCH(bool, transport);
    QFETCH(bool, tagWritable);
    QFETCH(bool, marked);
    CatalogueRecord r = record(QStringLiteral("a"), state, QString());
    // 4786 frames of 1152 samples at 44.1 kHz: 125.02 seconds.
    if (file == QLatin1String("long"))
        QVERIFY(!writeMp3(m_temp->folder(), QStringLiteral("a.mp3"), mpegFrames(4786)).isEmpty());
    else if (file == QLatin1String("text"))
        QVERIFY(!writeMp3(m_temp->folder(), QStringLiteral("a.mp3"), "not audio at all").isEmpty());
    startWindow({r});
    FakeAudioOutput output;
    Player player(output);
    auto *editor = new TagEditor(m_window->model(), *m_store, m_dialogs,
                                 withPlayer ? &player : nullptr, m_window.get());
    QSignalSpy status(editor, &TagEditor::statusText);
    QVERIFY(editor->openRow(0));

    auto *mplay = control(editor, "mplay");
    QCOMPARE(mplay->isEnabled(), withPlayer);
    QCOMPARE(control(editor, "p1")->isEnabledTo(mplay), titleEnabled);
    QCOMPARE(control(editor, "p2")->isEnabledTo(mplay), transport);
    QCOMPARE(control<QCheckBox>(editor, "Check1")->isChecked(), tagWritable);
    QCOMPARE(control(editor, "Check1")->isEnabled(), tagWritable);
    if (transport)
        QCOMPARE(control<QLabel>(editor, "durata")->text(), QStringLiteral("02:05"));
    QCOMPARE(status.size(), marked ? 1 : 0);
    QCOMPARE(m_window->model().cell(0, State), marked ? QStringLiteral("File Corrotto!") : state);
    editor->close();
}

void TestTagEditor::playingDisablesTheEditorButtons()
{
    CatalogueRecord r = record(QStringLiteral("a"), QStringLiteral("OK"), QString());
    QVERIFY(!writeMp3(m_temp->folder(), QStringLiteral("a.mp3"), mpegFrames(200)).isEmpty());
    startWindow({r});
    FakeAudioOutput output;
    Player player(output);
    m_window->setPlayer(&player);
    TagEditor *editor = doubleClickRow(0);
    QVERIFY(editor);
    QPointer<TagEditor> guard(editor);
    control<QLineEdit>(editor, "in1_0")->setText(QStringLiteral("nuovo"));
    QVERIFY(control(editor, "Command1")->isEnabled());
    // The locking itself, and its end, are PlayerTransport's.
    control<QAbstractButton>(editor, "p2")->click();
    QVERIFY(control(editor, "p5")->isEnabled());
    QVERIFY(!control(editor, "Command1")->isEnabled());
    // Closing the editor releases the file.
    editor->close();
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(player.length(), -1);
}

QTEST_MAIN(TestTagEditor)
#include "tst_tageditor.moc"
