#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "main_window/mainwindow.h"
#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "support/widgettest.h"
#include "tag_editor/tageditor.h"

#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>

#include <functional>
#include <memory>

namespace {

/// Dialogs whose messages, like real message boxes, hand the activation back to the main
/// window when they go away.
struct ActivatingDialogs : FakeDialogs
{
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
    // Opening, editing, saving and playing are the journeys'; here what they cannot time.
    void activatingTheMainWindowClosesTheEditorOnlyOnceShown()
    {
        TempCatalogue temp;
        CatalogueRecord record = sampleRecord(QStringLiteral("a"));
        record.percorso = temp.folder() + u'/';
        record.info = QStringLiteral("CDROM");
        writeMp3(temp.folder(), QStringLiteral("a.mp3"), mpegFrames(3));
        temp.add({record});
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        ActivatingDialogs dialogs;
        FakeVolumes volumes;
        MainWindow window(store, dialogs, volumes);
        window.start();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // The CD warning is shown before the editor is: a real message box takes the activation
        // and hands it back to the main window when it goes away.
        dialogs.afterMessage = [&window] {
            QWidget messageBox;
            messageBox.show();
            QVERIFY(QTest::qWaitForWindowActive(&messageBox));
            messageBox.close();
            window.activateWindow();
        };
        auto *grid = childNamed<QTableView>(&window, "dati");
        const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QPointer<TagEditor> editor = window.findChild<TagEditor *>(QStringLiteral("Form2"));
        QTRY_VERIFY(editor && editor->hasBeenActive());
        // Events still pending from the message do not close it either.
        QCoreApplication::processEvents();
        QVERIFY(editor && editor->isVisible());
        // A record can be saved as long as it keeps a title, even one of blanks.
        auto *title = childNamed<QLineEdit>(editor, "in1_0");
        for (const char *text : {"", " "}) {
            title->setText(QString::fromLatin1(text));
            QCOMPARE(childNamed(editor, "Command1")->isEnabled(), *text != 0);
        }
        // Once it has been active, activating the main window closes it and drops the edits.
        title->setText(QStringLiteral("Dropped"));
        dialogs.afterMessage = {};
        window.activateWindow();
        QTRY_VERIFY(!editor);
        QCOMPARE(storedRecords(store)->constFirst().titolo, record.titolo);
        QCOMPARE(window.model().cell(0, Title), record.titolo);
    }
};

QTEST_MAIN(TestTagEditor)
#include "tst_tageditor.moc"
