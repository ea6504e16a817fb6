#include "maintenancetest.h"

#include "maintenance/mediumcommands.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace MaintenanceTest;
using Outcome = MediumCommands::Outcome;
using Kind = FakeDialogs::Kind;

namespace {

// A record of the file `name` in `folder` on the medium `supporto` labelled `labelD`.
CatalogueRecord onMedium(const QString &folder, const QString &name, const QString &supporto,
                         const QString &labelD, const QString &state = u"OK"_s)
{
    CatalogueRecord r = fileRecord(folder, name, state);
    r.supporto = supporto;
    r.labelD = labelD;
    return r;
}

} // namespace

// The commands over a whole medium, on a real catalogue, the grid and the counters; the window
// that offers them is a journey.
class TestMediumCommands : public QObject, private Scene
{
    Q_OBJECT

private slots:
    void init() { setUp(); }

    void labelProblem_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("problem"); // a part of the message, empty for none
        QTest::newRow("a new label") << u"Vacanze"_s << u""_s;
        QTest::newRow("empty") << u""_s << u"non può essere vuota"_s;
        QTest::newRow("blanks only") << u"   "_s << u"non può essere vuota"_s;
        QTest::newRow("255 characters") << QString(255, u'x') << u""_s;
        QTest::newRow("256 characters") << QString(256, u'x') << u"al massimo 255 caratteri"_s;
        QTest::newRow("255 characters and blanks around")
            << u" "_s + QString(255, u'x') + u" "_s << u""_s;
        QTest::newRow("another medium's") << u"Rock"_s << u"già usata"_s;
        QTest::newRow("another medium's in other capitals") << u"ROCK "_s << u"già usata"_s;
        QTest::newRow("another medium's with an accent less") << u"Caffe"_s << u""_s;
    }

    void labelProblem()
    {
        QFETCH(QString, label);
        QFETCH(QString, problem);
        const QString found = MediumCommands::labelProblem(label, {u"Rock"_s, u"Caffè"_s});
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.contains(problem), qPrintable(found));
    }

    // The label chosen, the outcome, and the message; the other medium "Pop" keeps its label.
    void rename_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("locked"); // the catalogue refuses to change the last record
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("renamed") << u" Vacanze 2024 "_s << false << Outcome::Done << u""_s;
        QTest::newRow("the label it has") << u"TRACKLODGE_1"_s << false << Outcome::Done << u""_s;
        QTest::newRow("another medium's") << u"pop"_s << false << Outcome::Refused
                                          << u"Rinomina supporto|L'etichetta \"pop\" è già usata"_s;
        QTest::newRow("empty") << u""_s << false << Outcome::Refused
                               << u"Rinomina supporto|L'etichetta non può essere vuota."_s;
        QTest::newRow("catalogue refuses")
            << u"Vacanze"_s << true << Outcome::Failed
            << u"Rinomina supporto|Impossibile rinominare il supporto"_s;
    }

    // Renaming a medium of 10,000 records is one transaction (a record the catalogue refuses
    // keeps every record as it was) and one compaction; the grid shows the new label at once.
    void rename()
    {
        QFETCH(QString, label);
        QFETCH(bool, locked);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        QList<CatalogueRecord> records;
        for (int i = 0; i < 10000; ++i)
            records << onMedium(m_music, u"f%1"_s.arg(i), u"100"_s, u"TRACKLODGE_1"_s);
        records << onMedium(m_music, u"pop"_s, u"200"_s, u"Pop"_s);
        load(records);
        if (locked)
            QVERIFY(lockRecord("UPDATE", m_ids[9999]));
        const QByteArray before = fileBytes(m_temp->path());
        int replaced = 0;
        CompactionFiles files;
        files.replace = [&replaced](const QString &from, const QString &to, QString &reason) {
            ++replaced;
            return renameIntoPlace(from, to, reason);
        };
        const Medium medium = m_store->media()->constFirst();
        QCOMPARE(medium.supporto, u"100"_s);

        QCOMPARE(MediumCommands(*m_store, *m_model, *m_counters, m_dialogs, busy(), files)
                     .rename(medium, label),
                 outcome);
        QVERIFY2(message.isEmpty() ? m_dialogs.messages.isEmpty()
                                   : onlyMessage(Kind::Critical).startsWith(message),
                 qPrintable(onlyMessage(Kind::Critical)));
        const bool written = outcome == Outcome::Done && label != medium.labelD;
        QCOMPARE(replaced, written ? 1 : 0);
        QCOMPARE(m_compactions, written ? 1 : 0);
        if (!written)
            QCOMPARE(fileBytes(m_temp->path()), before);
        const QString expected = written ? label.trimmed() : medium.labelD;
        const auto stored = storedRecords(*m_store);
        QVERIFY(stored);
        for (int i = 0; i < 10000; ++i) {
            QCOMPARE(stored->at(i).labelD, expected);
            QCOMPARE(m_model->cell(i, MediumLabel), expected);
        }
        QCOMPARE(stored->last().labelD, u"Pop"_s);
        QCOMPARE(m_model->cell(10000, MediumLabel), u"Pop"_s);
    }

    // A renamed medium keeps the grid as narrowed as it was, and its order.
    void renameKeepsTheRowsShown()
    {
        load({onMedium(m_music, u"a"_s, u"1"_s, u"Uno"_s),
              onMedium(m_music, u"b"_s, u"2"_s, u"Due"_s),
              onMedium(m_music, u"c"_s, u"1"_s, u"Uno"_s)});
        MediumCommands commands(*m_store, *m_model, *m_counters, m_dialogs);
        const Medium uno{u"1"_s, u"Uno"_s, QString(), 2, 2};
        QCOMPARE(commands.show(uno), Outcome::Done);
        m_model->reorderRows({1, 0});
        QCOMPARE(commands.rename(uno, u"Primo"_s), Outcome::Done);
        QCOMPARE(m_model->recordCount(), 2);
        QCOMPARE(m_model->cell(0, FileName), u"c"_s);
        QCOMPARE(m_model->cell(1, MediumLabel), u"Primo"_s);
    }

    void remove_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("supporto");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("left"); // file names in the grid and the catalogue
        QTest::newRow("Yes")
            << true << u"1"_s
            << u"Elimina supporto|Eliminare dal catalogo il supporto \"CD Estate\" con i suoi 2 "
               "brani?\nI file sul disco non vengono toccati."_s
            << QStringList{u"b"_s};
        QTest::newRow("No") << false << u"1"_s << u"Elimina supporto|"_s
                            << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("one record")
            << true << u"2"_s
            << u"Elimina supporto|Eliminare dal catalogo il supporto \"Chiavetta\" con il suo "
               "unico brano?"_s
            << QStringList{u"a"_s, u"c"_s};
    }

    // Removing a medium deletes its records and no file, and the counters follow.
    void remove()
    {
        QFETCH(bool, yes);
        QFETCH(QString, supporto);
        QFETCH(QString, question);
        QFETCH(QStringList, left);
        const QStringList files{writeMp3(m_music, u"a.mp3"_s, mpegFrames(2)),
                                writeMp3(m_music, u"b.mp3"_s, mpegFrames(2)),
                                writeMp3(m_music, u"c.mp3"_s, mpegFrames(2))};
        load({onMedium(m_music, u"a"_s, u"1"_s, u"CD Estate"_s, u"CDROM"_s),
              onMedium(m_music, u"b"_s, u"2"_s, u"Chiavetta"_s, u"Disco Rimovibile"_s),
              onMedium(m_music, u"c"_s, u"1"_s, u"CD Estate"_s, u"CDROM"_s)});
        QList<QByteArray> contents;
        for (const QString &file : files)
            contents << fileBytes(file);
        Medium medium;
        const auto media = m_store->media();
        QVERIFY(media);
        for (const Medium &m : *media) {
            if (m.supporto == supporto)
                medium = m;
        }
        m_dialogs.answers = {yes};

        QCOMPARE(MediumCommands(*m_store, *m_model, *m_counters, m_dialogs, busy()).remove(medium),
                 yes ? Outcome::Done : Outcome::Declined);
        QVERIFY2(onlyMessage(Kind::Question).startsWith(question),
                 qPrintable(onlyMessage(Kind::Question)));
        QCOMPARE(m_compactions, yes ? 1 : 0);
        const auto records = storedRecords(*m_store);
        QVERIFY(records);
        QStringList stored;
        for (const CatalogueRecord &r : *records)
            stored << r.nome;
        QCOMPARE(stored, left);
        QStringList shown;
        for (int row = 0; row < m_model->recordCount(); ++row)
            shown << m_model->cell(row, FileName);
        QCOMPARE(shown, left);
        QCOMPARE(m_counters->value(CollectionCounters::Counter::Found), left.size());
        QCOMPARE(m_counters->value(CollectionCounters::Counter::CdRom),
                 left.count(u"a"_s) + left.count(u"c"_s));
        for (int i = 0; i < files.size(); ++i)
            QCOMPARE(fileBytes(files[i]), contents[i]);
    }

    void removeRefusedByTheCatalogue()
    {
        load({onMedium(m_music, u"a"_s, u"1"_s, u"Uno"_s),
              onMedium(m_music, u"b"_s, u"1"_s, u"Uno"_s)});
        QVERIFY(lockRecord("DELETE", m_ids[1]));
        m_dialogs.answers = {true};
        const QList<int> before = state();
        QCOMPARE(MediumCommands(*m_store, *m_model, *m_counters, m_dialogs, busy())
                     .remove(m_store->media()->constFirst()),
                 Outcome::Failed);
        QVERIFY(m_dialogs.messages.last().text.contains(u"record locked"_s));
        QCOMPARE(state(), before);
        QCOMPARE(m_compactions, 0);
    }

    void show_data()
    {
        QTest::addColumn<QString>("supporto");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("a medium") << u"1"_s << QStringList{u"a"_s, u"c"_s};
        QTest::newRow("the records without serial") << QString() << QStringList{u"d"_s};
        QTest::newRow("a medium gone meanwhile") << u"9"_s << QStringList{};
    }

    void show()
    {
        QFETCH(QString, supporto);
        QFETCH(QStringList, shown);
        load({onMedium(m_music, u"a"_s, u"1"_s, u"Uno"_s, u"CDROM"_s),
              onMedium(m_music, u"b"_s, u"2"_s, u"Due"_s),
              onMedium(m_music, u"c"_s, u"1"_s, u"Uno"_s, u"CDROM"_s),
              onMedium(m_music, u"d"_s, QString(), u"X"_s)});
        Medium medium;
        medium.supporto = supporto;
        QCOMPARE(MediumCommands(*m_store, *m_model, *m_counters, m_dialogs).show(medium),
                 Outcome::Done);
        QStringList names;
        for (int row = 0; row < m_model->recordCount(); ++row)
            names << m_model->cell(row, FileName);
        QCOMPARE(names, shown);
        QCOMPARE(m_counters->value(CollectionCounters::Counter::Found), shown.size());
        QCOMPARE(m_counters->value(CollectionCounters::Counter::CdRom), supporto == u"1"_s ? 2 : 0);
        QCOMPARE(m_store->media()->size(), 3); // nothing was removed
    }

    void mountPointOf_data()
    {
        QTest::addColumn<QString>("supporto");
        QTest::addColumn<QString>("mountPoint"); // null for none
        QTest::newRow("mounted") << u"-5"_s << u"/media/cd"_s;
        QTest::newRow("not mounted") << u"7"_s << QString();
        QTest::newRow("no serial") << QString() << QString();
        QTest::newRow("empty serial") << u""_s << QString();
    }

    void mountPointOf()
    {
        QFETCH(QString, supporto);
        QFETCH(QString, mountPoint);
        VolumeInfo cd{u"/media/cd"_s, DriveType::CdRom, u"CD"_s, u"-5"_s, u"iso9660"_s, {}};
        VolumeInfo blank{u"/mnt/x"_s, DriveType::Fixed, {}, {}, u"ext4"_s, {}};
        Medium medium;
        medium.supporto = supporto;
        const std::optional<QString> found = ::mountPointOf(medium, {blank, cd});
        QCOMPARE(found.value_or(QString()), mountPoint);
        QCOMPARE(found.has_value(), !mountPoint.isNull());
    }
};

QTEST_GUILESS_MAIN(TestMediumCommands)
#include "tst_mediumcommands.moc"
