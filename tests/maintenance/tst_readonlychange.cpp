#include "maintenancetest.h"

#include "maintenance/readonlychange.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace MaintenanceTest;

// A read-only file made writable, with its row and record, is a journey; here the states a row
// takes, and the failures that leave a row as it was.
class TestReadOnlyChange : public QObject, private Scene
{
    Q_OBJECT

private slots:
    void init() { setUp(); }

    void change_data()
    {
        // "tagged", "untagged", "gone", "trigger" (the catalogue refuses), "kernel" (a file that
        // refuses a change).
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QString>("word"); // of the row and the record afterwards
        QTest::addColumn<int>("modeAfter");
        QTest::addColumn<QString>("failure"); // a part of the message, empty for none
        QTest::newRow("tagged") << u"tagged"_s << u"OK"_s << 0644 << u""_s;
        QTest::newRow("untagged") << u"untagged"_s << u"Nessun TAG ID3"_s << 0644 << u""_s;
        QTest::newRow("file gone") << u"gone"_s << u"File Corrotto!"_s << -1 << u""_s;
        QTest::newRow("row that cannot be rewritten")
            << u"trigger"_s << u"Solo Lettura"_s << 0644 << u"record locked"_s;
        QTest::newRow("file that cannot be made writable")
            << u"kernel"_s << u"Solo Lettura"_s << 0444 << u"Musica/brano.mp3"_s;
    }

    void change()
    {
        QFETCH(QString, scene);
        QFETCH(QString, word);
        QFETCH(int, modeAfter);
        QFETCH(QString, failure);
        const QString file = m_music + u"brano.mp3"_s;
        const QByteArray tag = scene == u"tagged" ? tagBlock("T", "A", "B", "2000", "C", 17) : "";
        if (scene == u"kernel")
            QCOMPARE(::symlink("/proc/self/status", QFile::encodeName(file).constData()), 0);
        else if (scene != u"gone")
            QCOMPARE(
                ::chmod(QFile::encodeName(writeMp3(m_music, u"brano.mp3"_s, mpegFrames(2), tag))
                            .constData(),
                        0444),
                0);
        // A read-only file in another state, and a file on a CD, are left alone.
        const QString other = writeMp3(m_music, u"cd.mp3"_s, mpegFrames(1));
        QCOMPARE(::chmod(QFile::encodeName(other).constData(), 0444), 0);
        load({fileRecord(m_music, u"brano"_s, u"Solo Lettura"_s),
              fileRecord(m_music, u"cd"_s, u"CDROM"_s),
              fileRecord(m_music, u"libero"_s, u"Solo Lettura"_s)});
        writeMp3(m_music, u"libero.mp3"_s, mpegFrames(1));
        if (scene == u"trigger")
            QVERIFY(lockRecord("UPDATE", m_ids[0]));

        const ReadOnlyChangeResult result =
            changeReadOnlyFiles(*m_store, *m_model, *m_counters, m_dialogs, busy());
        QCOMPARE(result.changed, failure.isEmpty() ? 2 : 1);
        QCOMPARE(m_model->cell(0, State) + u'|' + m_store->recordById(m_ids[0])->info,
                 word + u'|' + word);
        QCOMPARE(m_model->cell(1, State) + m_model->cell(2, State), u"CDROMNessun TAG ID3"_s);
        QCOMPARE(permissionBits(scene == u"kernel" ? u"/proc/self/status"_s : file), modeAfter);
        QCOMPARE(permissionBits(other), 0444);
        QCOMPARE(m_compactions, 1);
        const QString message = onlyMessage(FakeDialogs::Kind::Critical);
        QVERIFY2(failure.isEmpty()
                     ? m_dialogs.messages.isEmpty()
                     : message.startsWith(u"Cambia Attributi|"_s) && message.contains(failure),
                 qPrintable(message));
        QCOMPARE(m_counters->value(CollectionCounters::Counter::ReadOnly),
                 failure.isEmpty() ? 0 : 1);
        // A second run finds nothing more to change.
        QCOMPARE(changeReadOnlyFiles(*m_store, *m_model, *m_counters, m_dialogs, busy()).changed,
                 0);
    }
};

QTEST_GUILESS_MAIN(TestReadOnlyChange)
#include "tst_readonlychange.moc"
