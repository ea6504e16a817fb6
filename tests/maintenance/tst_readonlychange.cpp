#include "maintenancetest.h"

#include "maintenance/readonlychange.h"
#include "support/testmp3.h"

#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace MaintenanceTest;
using Counter = CollectionCounters::Counter;

namespace {

void setMode(const QString &path, int mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)), 0);
}

} // namespace

class TestReadOnlyChange : public QObject, private Scene
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
    void taggedUntaggedAndMissingFiles();
    void rowThatCannotBeRewrittenKeepsItsState();
    void fileThatCannotBeMadeWritableKeepsItsState();

private:
    ReadOnlyChangeResult change();
};

ReadOnlyChangeResult TestReadOnlyChange::change()
{
    return changeReadOnlyFiles(*m_store, *m_model, *m_counters, m_dialogs, busy());
}

void TestReadOnlyChange::taggedUntaggedAndMissingFiles()
{
    const QString tagged = writeMp3(m_music, QStringLiteral("con tag.MP3"), mpegFrames(2),
                                    tagBlock("T", "A", "B", "2000", "C", 17));
    const QString untagged = writeMp3(m_music, QStringLiteral("senza tag.mp3"), mpegFrames(2));
    const QString okButReadOnly = writeMp3(m_music, QStringLiteral("ok.mp3"), mpegFrames(1));
    const QString cd = writeMp3(m_music, QStringLiteral("cd.mp3"), mpegFrames(1));
    for (const QString &file : {tagged, untagged, okButReadOnly, cd})
        setMode(file, 0444);
    CatalogueRecord withTag =
        fileRecord(m_music, QStringLiteral("con tag"), QStringLiteral("Solo Lettura"));
    withTag.genere = QStringLiteral("Trip  Hop");
    withTag.commento = QString(); // shown as a blank and stored back as one
    load({withTag, fileRecord(m_music, QStringLiteral("ok"), QStringLiteral("OK")),
          fileRecord(m_music, QStringLiteral("senza tag"), QStringLiteral("Solo Lettura")),
          fileRecord(m_music, QStringLiteral("cd"), QStringLiteral("CDROM")),
          fileRecord(m_music, QStringLiteral("sparito"), QStringLiteral("Solo Lettura"))});
    const std::vector<GridRow> before = {m_model->row(0), m_model->row(2), m_model->row(4)};

    const ReadOnlyChangeResult result = change();
    QCOMPARE(result.changed, 3);
    QVERIFY(result.failures.isEmpty());
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(m_compactions, 1);

    QStringList states;
    for (int row = 0; row < 5; ++row)
        states << m_model->cell(row, State);
    QCOMPARE(states, (QStringList{"OK", "OK", "Nessun TAG ID3", "CDROM", "File Corrotto!"}));
    QCOMPARE(state(), (QList<int>{5, 5, 5, 2, 1, 1, 0, 1}));
    const QList<int> modes{permissionBits(tagged), permissionBits(untagged),
                           permissionBits(okButReadOnly), permissionBits(cd)};
    QCOMPARE(modes, (QList<int>{0644, 0644, 0444, 0444}));
    QVERIFY2(!QFileInfo::exists(m_music + QStringLiteral("sparito.mp3")), "never created");
    QCOMPARE(QFileInfo(untagged).size(), 2 * 417);

    // The records carry the rows' values with the new state word.
    const int rows[] = {0, 2, 4};
    for (int i = 0; i < 3; ++i) {
        const auto stored = m_store->recordById(m_ids[rows[i]]);
        QVERIFY(stored);
        GridRow expected = before[static_cast<size_t>(i)];
        expected[State] = m_model->cell(rows[i], State);
        // The blank of the NULL comment is stored back as a blank, which the grid trims.
        if (rows[i] == 0)
            expected[Comment] = QStringLiteral("");
        QCOMPARE(MettiDati(*stored), expected);
    }
    QCOMPARE(m_store->recordById(m_ids[0])->genere, QStringLiteral("Trip  Hop"));
    QCOMPARE(m_store->recordById(m_ids[0])->commento, QStringLiteral(" "));
    QCOMPARE(m_store->recordById(m_ids[1])->info, QStringLiteral("OK"));

    // A second run finds nothing to change.
    QCOMPARE(change().changed, 0);
    QCOMPARE(m_compactions, 1);
}

void TestReadOnlyChange::rowThatCannotBeRewrittenKeepsItsState()
{
    const QString locked = writeMp3(m_music, QStringLiteral("bloccato.mp3"), mpegFrames(1));
    const QString free = writeMp3(m_music, QStringLiteral("libero.mp3"), mpegFrames(1));
    setMode(locked, 0444);
    setMode(free, 0444);
    load({fileRecord(m_music, QStringLiteral("bloccato"), QStringLiteral("Solo Lettura")),
          fileRecord(m_music, QStringLiteral("libero"), QStringLiteral("Solo Lettura"))});
    QVERIFY(execOn(m_temp->path(), QStringLiteral("CREATE TRIGGER keep BEFORE UPDATE ON Mp3 "
                                                  "WHEN old.id = %1 BEGIN SELECT "
                                                  "RAISE(ABORT, 'record locked'); END")
                                       .arg(m_ids[0])));

    const ReadOnlyChangeResult result = change();
    QCOMPARE(result.changed, 1);
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(m_model->cell(0, State), QStringLiteral("Solo Lettura"));
    QCOMPARE(m_model->cell(1, State), QStringLiteral("Nessun TAG ID3"));
    QCOMPARE(m_store->recordById(m_ids[0])->info, QStringLiteral("Solo Lettura"));
    QCOMPARE(state(), (QList<int>{2, 2, 2, 0, 1, 0, 1, 0}));
    const QString message = onlyMessage(FakeDialogs::Kind::Critical);
    QVERIFY2(message.startsWith(QStringLiteral("Cambia Attributi|")) &&
                 message.contains(m_music + QStringLiteral("bloccato.mp3")) &&
                 message.contains(QStringLiteral("record locked")),
             qPrintable(message));
    QCOMPARE(m_compactions, 1);
}

void TestReadOnlyChange::fileThatCannotBeMadeWritableKeepsItsState()
{
    // The kernel's own files refuse a change of mode, even to root.
    const QString link = m_music + QStringLiteral("di sistema.mp3");
    QCOMPARE(::symlink("/proc/self/status", QFile::encodeName(link).constData()), 0);
    writeMp3(m_music, QStringLiteral("normale.mp3"), mpegFrames(1));
    load({fileRecord(m_music, QStringLiteral("di sistema"), QStringLiteral("Solo Lettura")),
          fileRecord(m_music, QStringLiteral("normale"), QStringLiteral("Solo Lettura"))});

    const ReadOnlyChangeResult result = change();
    QCOMPARE(result.changed, 1);
    QCOMPARE(result.failures.size(), 1);
    QVERIFY2(result.failures[0].startsWith(link), qPrintable(result.failures[0]));
    QCOMPARE(m_model->cell(0, State), QStringLiteral("Solo Lettura"));
    QCOMPARE(m_store->recordById(m_ids[0])->info, QStringLiteral("Solo Lettura"));
    QCOMPARE(m_model->cell(1, State), QStringLiteral("Nessun TAG ID3"));
    QCOMPARE(m_dialogs.messages.size(), 1);
}

QTEST_GUILESS_MAIN(TestReadOnlyChange)
#include "tst_readonlychange.moc"
