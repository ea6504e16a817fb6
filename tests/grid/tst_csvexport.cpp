#include "grid/cataloguemodel.h"
#include "grid/csvexport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kHeader = "Titolo;Artista;Album;Anno;Genere;Commento;Nome File;Percoso File;"
                           "Dimensione File;Info;Etichetta Disco;IdKey\r\n";

GridRow gridRow(const QString &title, const QString &size, const QString &key)
{
    return {title,      u"Artista"_s,  u"Album"_s, u"1999"_s, u"Rock"_s, u" "_s,
            u"brano"_s, u"/musica/"_s, size,       u"OK"_s,   u"DATI"_s, key};
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // Quoting, the header and the order are the journeys'; here a line break inside a field, a
    // comma and a leading blank, and the size without its padding.
    void writesTheRowsTheGridShows()
    {
        CatalogueModel model;
        GridRow row = gridRow(u"riga\r\nriga"_s, u"           1.234 KB"_s, u"7"_s);
        row[Album] = u" a, b"_s;
        model.setRows({row});
        const QString path = m_dir.filePath(u"lista.csv"_s);
        QCOMPARE(CsvExport::write(model, path).outcome, CsvExport::Outcome::Written);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(
            file.readAll(),
            kBom + kHeader +
                "\"riga\r\nriga\";Artista; a, b;1999;Rock; ;brano;/musica/;1.234 KB;OK;DATI;7\r\n");
    }

    void failedOrCancelledExportLeavesNoFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<CsvExport::Outcome>("outcome");
        QTest::newRow("folder missing") << u"manca/lista.csv"_s << CsvExport::Outcome::Failed;
        QTest::newRow("cancelled after the first rows: the old file stays")
            << u"vecchia.csv"_s << CsvExport::Outcome::Cancelled;
    }

    void failedOrCancelledExportLeavesNoFile()
    {
        QFETCH(QString, target);
        QFETCH(CsvExport::Outcome, outcome);
        QTemporaryDir dir;
        QFile old(dir.filePath(u"vecchia.csv"_s));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("vecchio") == 7);
        old.close();
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        CatalogueModel model;
        model.setRows(std::vector<GridRow>(2500, gridRow(u"Brano"_s, u"1 KB"_s, u"1"_s)));
        QList<qsizetype> reports;
        const CsvExport::Result result =
            CsvExport::write(model, dir.filePath(target), [&reports](qsizetype done, qsizetype) {
                reports << done;
                return false;
            });
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), "vecchio"_ba);
        if (outcome == CsvExport::Outcome::Cancelled) {
            QCOMPARE(reports, QList<qsizetype>{1000});
            QVERIFY(result.error.isEmpty());
        } else {
            QVERIFY(result.error.startsWith(u"Impossibile esportare la lista nel file \""_s +
                                            dir.filePath(target)));
        }
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
