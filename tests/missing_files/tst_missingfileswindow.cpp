#include "catalogue/cataloguestore.h"
#include "maintenance/missingfilecheck.h"
#include "missing_files/missingfileswindow.h"
#include "support/fakedialogs.h"
#include "support/sqlscene.h"
#include "support/tempcatalogue.h"
#include "support/widgettest.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestMissingFilesWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void captionsAndEntries();
    void deleteFromCatalogueRemovesTheEntriesAndCloses();
    void failedDeletionIsReportedOnce();
    void closingOtherwiseDeletesNothing();

private:
    /// Four records, all but the second listed as missing; opens the window.
    void openWindow();
    template <typename T> T *control(const char *name)
    {
        T *widget = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    FakeDialogs m_dialogs;
    QList<qint64> m_ids;
    QList<MissingFileCheck::MissingEntry> m_entries;
    std::unique_ptr<MissingFilesWindow> m_window;
};

void TestMissingFilesWindow::init()
{
    m_temp = std::make_unique<TempCatalogue>();
    m_dialogs = FakeDialogs();
}

void TestMissingFilesWindow::cleanup()
{
    m_window.reset();
    m_store.reset();
    m_temp.reset();
}

void TestMissingFilesWindow::openWindow()
{
    // Which files are missing is MissingFileCheck's to find; the window lists what it is given.
    QList<CatalogueRecord> records;
    for (const char *name : {"uno", "presente", "due", "tre"})
        records << sampleRecord(QString::fromLatin1(name));
    m_ids = m_temp->add(records);
    m_entries.clear();
    for (int i : {0, 2, 3}) {
        m_entries << MissingFileCheck::MissingEntry{
            m_ids[i], records[i].percorso + records[i].nome + QStringLiteral(".mp3")};
    }
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY(m_store->open());
    m_window = std::make_unique<MissingFilesWindow>(*m_store, m_dialogs, m_entries);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMissingFilesWindow::captionsAndEntries()
{
    openWindow();
    QCOMPARE(m_window->objectName(), QStringLiteral("errati"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("MP3 Cancellati o Spostati"));
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("***MP3 Cancellati o Spostati***"));
    QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("Elimina dal DB"));
    auto *list = control<QListWidget>("List1");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(2)->text(), m_entries[2].text());
    QCOMPARE(m_window->entries(), m_entries);
    // The list is read by the heading above it.
    QCOMPARE(accessibleName(list), QStringLiteral("***MP3 Cancellati o Spostati***"));
    QCOMPARE(controlsWithoutCaption(m_window.get()).join(u' '), QString());
}

void TestMissingFilesWindow::deleteFromCatalogueRemovesTheEntriesAndCloses()
{
    openWindow();
    QSignalSpy deleted(m_window.get(), &MissingFilesWindow::entriesDeleted);
    QSignalSpy closed(m_window.get(), &MissingFilesWindow::closed);
    // The grid is reloaded while the window is still there, before it closes.
    bool closedBeforeReload = false;
    connect(m_window.get(), &MissingFilesWindow::entriesDeleted, this,
            [&] { closedBeforeReload = closed.count() > 0; });

    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(deleted.count(), 1);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!closedBeforeReload);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(control<QListWidget>("List1")->count(), 0);
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(m_store->allRecords()->size(), 1);
}

void TestMissingFilesWindow::failedDeletionIsReportedOnce()
{
    openWindow();
    // Two entries fail: one whose record went meanwhile, one the catalogue refuses.
    QCOMPARE(m_store->remove(m_ids[0]), CatalogueStore::WriteResult::Done);
    QVERIFY(execOn(m_temp->path(), QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON Mp3 WHEN "
                                                  "old.id = %1 BEGIN SELECT RAISE(ABORT, "
                                                  "'record locked'); END")
                                       .arg(m_ids[3])));
    QSignalSpy closed(m_window.get(), &MissingFilesWindow::closed);

    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(m_dialogs.messages.size(), 1);
    const FakeDialogs::Message &message = m_dialogs.messages[0];
    QCOMPARE(message.kind, FakeDialogs::Kind::Critical);
    QCOMPARE(message.title, QStringLiteral("MP3 Cancellati o Spostati"));
    QVERIFY2(message.text.contains(m_entries[0].text()), qPrintable(message.text));
    QVERIFY2(message.text.contains(m_entries[2].text()), qPrintable(message.text));
    QVERIFY2(!message.text.contains(m_entries[1].text()), qPrintable(message.text));
    QVERIFY(!m_store->recordById(m_ids[2]));
    QVERIFY(m_store->recordById(m_ids[3]));
    QCOMPARE(closed.count(), 1);
    QVERIFY(!m_window->isVisible());
}

void TestMissingFilesWindow::closingOtherwiseDeletesNothing()
{
    openWindow();
    QSignalSpy deleted(m_window.get(), &MissingFilesWindow::entriesDeleted);
    QSignalSpy closed(m_window.get(), &MissingFilesWindow::closed);
    QVERIFY(m_window->close());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(deleted.count(), 0);
    QCOMPARE(m_store->allRecords()->size(), 4);
    QVERIFY(m_dialogs.messages.isEmpty());
}

QTEST_MAIN(TestMissingFilesWindow)
#include "tst_missingfileswindow.moc"
