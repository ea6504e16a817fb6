#include "catalogue/cataloguestore.h"
#include "maintenance/missingfilecheck.h"
#include "missing_files/missingfileswindow.h"
#include "support/fakedialogs.h"
#include "support/sqlscene.h"
#include "support/tempcatalogue.h"
#include "support/widgettest.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// Which files are missing is MissingFileCheck's to find, the delete and the close are the
// journeys' and the main window's test's; here the window meets a catalogue that refuses.
class TestMissingFilesWindow : public QObject
{
    Q_OBJECT

    /// Four records, all but the second listed as missing; opens the window.
    void openWindow()
    {
        QList<CatalogueRecord> records;
        for (const char *name : {"uno", "presente", "due", "tre"})
            records << sampleRecord(QString::fromLatin1(name));
        m_ids = m_temp.add(records);
        for (int i : {0, 2, 3}) {
            m_entries << MissingFileCheck::MissingEntry{
                m_ids[i], records[i].percorso + records[i].nome + QStringLiteral(".mp3")};
        }
        QVERIFY(m_store.open());
        m_window.emplace(m_store, m_dialogs, m_entries);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*m_window));
    }

    TempCatalogue m_temp;
    CatalogueStore m_store{m_temp.path()};
    FakeDialogs m_dialogs;
    QList<qint64> m_ids;
    QList<MissingFileCheck::MissingEntry> m_entries;
    std::optional<MissingFilesWindow> m_window;

private slots:
    void failedDeletionIsReportedOnce()
    {
        openWindow();
        // The list is read by the heading above it.
        QCOMPARE(controlsWithoutCaption(&*m_window).join(u' '), QString());
        // Two entries fail: one whose record went meanwhile, one the catalogue refuses.
        QCOMPARE(m_store.remove(m_ids[0]), CatalogueStore::WriteResult::Done);
        QVERIFY(refuseOn(m_temp.path(), "DELETE", QStringLiteral("old.id = %1").arg(m_ids[3])));
        QSignalSpy closed(&*m_window, &MissingFilesWindow::closed);
        QTest::mouseClick(childNamed<QPushButton>(&*m_window, "Command1"), Qt::LeftButton);
        QCOMPARE(m_dialogs.messages.size(), 1);
        const FakeDialogs::Message &message = m_dialogs.messages[0];
        QVERIFY(message.kind == FakeDialogs::Kind::Critical &&
                message.title == m_window->windowTitle());
        QVERIFY(message.text.contains(m_entries[0].text()) &&
                message.text.contains(m_entries[2].text()));
        QVERIFY(!message.text.contains(m_entries[1].text()));
        QVERIFY(m_store.recordById(m_ids[2]).isNotFound() &&
                m_store.recordById(m_ids[3]).isFound());
        QVERIFY(closed.count() == 1 && m_window->entries().isEmpty());
    }
};

QTEST_MAIN(TestMissingFilesWindow)
#include "tst_missingfileswindow.moc"
