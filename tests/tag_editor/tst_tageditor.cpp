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

} // namespace

class TestTagEditor : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_window.reset();
        m_store.reset();
        m_temp.emplace();
    }
    void accessibleNames();
    void doubleClickOpensTheRow();
    void activatingTheMainWindowClosesTheEditorOnlyOnceShown();
    void playerArea_data();
    void playerArea();

private:
    /// A record of the catalogue's folder in state `state`, with an MP3 file of `bytes` named
    /// by `name` and `extension` (none when empty).
    CatalogueRecord record(const QString &name, const char *state = "OK",
                           const QByteArray &bytes = mpegFrames(3), const char *extension = "mp3")
    {
        CatalogueRecord r = sampleRecord(name);
        r.percorso = m_temp->folder() + u'/';
        r.info = QString::fromUtf8(state);
        if (!bytes.isEmpty())
            writeMp3(m_temp->folder(), name + u'.' + QLatin1String(extension), bytes);
        return r;
    }
    /// Starts the main window over the records, without start-up checks.
    void startWindow(const QList<CatalogueRecord> &records)
    {
        m_temp->add(records);
        m_store.emplace(m_temp->path());
        QVERIFY(m_store->open());
        m_window.emplace(*m_store, m_dialogs, m_volumes);
        m_window->start(MainWindow::StartupChecks::Skip);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(&*m_window));
    }
    /// Double-clicks grid row `row` and returns the editor, if one is shown.
    TagEditor *doubleClickRow(int row)
    {
        auto *grid = childNamed<QTableView>(&*m_window, "dati");
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        auto *editor = m_window->findChild<TagEditor *>(QStringLiteral("Form2"));
        return editor && editor->isVisible() ? editor : nullptr;
    }

    std::optional<TempCatalogue> m_temp;
    std::optional<CatalogueStore> m_store;
    ActivatingDialogs m_dialogs;
    FakeVolumes m_volumes;
    std::optional<MainWindow> m_window;
};

void TestTagEditor::accessibleNames()
{
    startWindow({});
    TagEditor editor(m_window->model(), *m_store, m_dialogs);
    const QList<std::pair<const char *, const char *>> names = {
        {"in1_0", "Titolo:"},   {"in1_1", "Autore:"},  {"in1_2", "Album:"},    {"in1_3", "Anno:"},
        {"in1_5", "Commento:"}, {"Combo1", "Genere"},  {"p2", "PLAY"},         {"p3", "PAUSA"},
        {"p4", "STOP"},         {"Slider1", "Volume"}, {"avanti", "Posizione"}};
    for (const auto &[name, accessible] : names)
        QCOMPARE(accessibleName(childNamed(&editor, name)), QString::fromUtf8(accessible));
    QCOMPARE(controlsWithoutCaption(&editor).join(u' '), QString());
}

void TestTagEditor::doubleClickOpensTheRow()
{
    CatalogueRecord r = record(QStringLiteral("Brano"), "OK", mpegFrames(3), "MP3");
    r.genere = QStringLiteral("Trip  Hop");
    startWindow({record(QStringLiteral("first")), r});
    TagEditor *editor = doubleClickRow(1);
    QVERIFY(editor);
    // The hidden genre box holds at most 4 characters.
    const QString cells[6] = {r.titolo, r.autore, r.album, r.anno, r.genere.left(4), r.commento};
    const int limits[6] = {30, 30, 30, 4, 4, 30};
    for (int i = 0; i < 6; ++i) {
        auto *box = childNamed<QLineEdit>(editor, qPrintable(QStringLiteral("in1_%1").arg(i)));
        QVERIFY(box->text() == cells[i] && box->maxLength() == limits[i]);
        QVERIFY(box->isVisible() == (i != 4));
    }
    auto *genres = childNamed<QComboBox>(editor, "Combo1");
    QVERIFY(genres->count() == 149 && genres->currentText() == QLatin1String("Trip  Hop"));
    // The file is found with its extension as it is on disk: the tag can be written.
    QVERIFY(childNamed<QCheckBox>(editor, "Check1")->isChecked());
    QVERIFY(m_dialogs.messages.isEmpty());
    // A record can be saved as long as it keeps a title, even one of blanks.
    for (const char *title : {"", " "}) {
        childNamed<QLineEdit>(editor, "in1_0")->setText(QString::fromLatin1(title));
        QCOMPARE(childNamed(editor, "Command1")->isEnabled(), *title != 0);
    }

    // The header, the space below the rows and a row whose key is empty open nothing.
    editor->close();
    QTRY_VERIFY(!m_window->findChild<TagEditor *>());
    auto *grid = childNamed<QTableView>(&*m_window, "dati");
    QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                       QPoint(10, grid->horizontalHeader()->height() / 2));
    const QRect last = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       QPoint(last.center().x(), last.bottom() + 3 * last.height()));
    QVERIFY(!m_window->findChild<TagEditor *>());
    m_window->model().setCell(0, Key, QString());
    QVERIFY(!doubleClickRow(0));
}

void TestTagEditor::activatingTheMainWindowClosesTheEditorOnlyOnceShown()
{
    // The CD warning is shown before the editor is: a real message box takes the activation
    // and hands it back to the main window when it goes away.
    startWindow({record(QStringLiteral("a"), "CDROM")});
    m_dialogs.afterMessage = [this] {
        QWidget messageBox;
        messageBox.show();
        QVERIFY(QTest::qWaitForWindowActive(&messageBox));
        messageBox.close();
        m_window->activateWindow();
    };
    QPointer<TagEditor> editor = doubleClickRow(0);
    QTRY_VERIFY(editor && editor->hasBeenActive());
    // Events still pending from the message do not close it either.
    QCoreApplication::processEvents();
    QVERIFY(editor && editor->isVisible());
    // Once it has been active, activating the main window closes it and drops the edits.
    const auto before = m_store->allRecords();
    childNamed<QLineEdit>(editor, "in1_0")->setText(QStringLiteral("Dropped"));
    m_dialogs.afterMessage = {};
    m_window->activateWindow();
    QTRY_VERIFY(!editor);
    QCOMPARE(m_store->allRecords(), before);
    QCOMPARE(m_window->model().cell(0, Title), before->constFirst().titolo);
}

void TestTagEditor::playerArea_data()
{
    // How each control of the area shows a load is PlayerTransport's; here the editor hands it
    // the load step's outcome, with or without a player.
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<bool>("withPlayer");
    QTest::addColumn<bool>("transport");   // p2 enabled
    QTest::addColumn<bool>("tagWritable"); // Check1
    QTest::addColumn<bool>("marked");      // status line and grid row
    QTest::newRow("no audio in the program") << QByteArray("OK") << false << false << true << false;
    QTest::newRow("Solo Lettura, playable")
        << QByteArray("Solo Lettura") << true << true << false << false;
    QTest::newRow("File Corrotto!")
        << QByteArray("File Corrotto!") << true << false << false << true;
}

void TestTagEditor::playerArea()
{
    QFETCH(QByteArray, state);
    QFETCH(bool, withPlayer);
    QFETCH(bool, transport);
    QFETCH(bool, tagWritable);
    QFETCH(bool, marked);
    startWindow({record(QStringLiteral("a"), state.constData(), mpegFrames(200))});
    FakeAudioOutput output;
    Player player(output);
    auto *editor = new TagEditor(m_window->model(), *m_store, m_dialogs,
                                 withPlayer ? &player : nullptr, &*m_window);
    QSignalSpy status(editor, &TagEditor::statusText);
    QVERIFY(editor->openRow(0));
    auto *mplay = childNamed(editor, "mplay");
    QCOMPARE(mplay->isEnabled(), withPlayer);
    QCOMPARE(childNamed(editor, "p2")->isEnabledTo(mplay), transport);
    auto *tagBox = childNamed<QCheckBox>(editor, "Check1");
    QVERIFY(tagBox->isChecked() == tagWritable && tagBox->isEnabled() == tagWritable);
    QCOMPARE(status.size(), marked ? 1 : 0);
    QCOMPARE(m_window->model().cell(0, State).toUtf8(), marked ? "File Corrotto!" : state);
    editor->close();
}

QTEST_MAIN(TestTagEditor)
#include "tst_tageditor.moc"
