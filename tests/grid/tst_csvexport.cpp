#include "exportgrid.h"

#include "grid/cataloguemodel.h"
#include "grid/csvexport.h"
#include "support/calcsheet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using GridExport::Outcome;

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
        model.setRows(rowsShowing({row}));
        const QString path = m_dir.filePath(u"lista.csv"_s);
        QCOMPARE(CsvExport::write(model, path).outcome, Outcome::Written);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(
            file.readAll(),
            kBom + kHeader +
                "\"riga\r\nriga\";Artista; a, b;1999;Rock; ;brano;/musica/;1.234 KB;OK;DATI;7\r\n");
    }

    void guardsTextsSpreadsheetsReadAsFormulas_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("formula") << u"=1+1"_s << u"'=1+1"_s;
        QTest::newRow("plus") << u"+39 02"_s << u"'+39 02"_s;
        QTest::newRow("minus") << u"-5"_s << u"'-5"_s;
        QTest::newRow("at") << u"@SUM(A1)"_s << u"'@SUM(A1)"_s;
        QTest::newRow("leading tab") << u"\tx"_s << u"'\tx"_s;
        QTest::newRow("leading CR, then quoted") << u"\rx"_s << u"\"'\rx\""_s;
        QTest::newRow("formula with a separator, quoted after the guard")
            << u"=\"a\";b"_s << u"\"'=\"\"a\"\";b\""_s;
        QTest::newRow("sign inside") << u"a=b-c"_s << u"a=b-c"_s;
        QTest::newRow("blank first") << u" =1"_s << u" =1"_s;
        QTest::newRow("apostrophe first, left as it is") << u"'=1"_s << u"'=1"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void guardsTextsSpreadsheetsReadAsFormulas()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QCOMPARE(CsvExport::field(text), written);
    }

    // What a person sees: LibreOffice Calc opening the file with its CSV import, told the
    // separator, the quote and UTF-8, every column as text (a column left to "Standard" turns
    // "007" into 7 and "01/02" into a date: the apostrophe guard keeps formulas out, nothing
    // keeps numbers as typed but the column type). Calc keeps the guard's apostrophe as part of
    // the text, unlike a typed one; in a text column it would compute no formula even without
    // the guard, which is for "Standard" columns and for other spreadsheets. Its import reads a
    // CR inside a quoted field as a line break, as it reads CR LF (see kExportTexts).
    void libreOfficeReadsEveryCellAsTheGridShowsIt()
    {
        CatalogueModel model;
        model.setRows(rowsShowing(exportRows()));
        const QString path = m_dir.filePath(u"celle.csv"_s);
        QCOMPARE(CsvExport::write(model, path).outcome, Outcome::Written);

        CalcReader calc;
        qInfo().noquote() << "read back with" << calc.version();
        const CalcSheet sheet = calc.read(path, CalcReader::csvAsText(kColumnCount));
        QVERIFY2(sheet.error.isEmpty(), qPrintable(sheet.error));
        QCOMPARE(sheet.rows.size(), 1 + kExportTexts.size());
        for (int c = 0; c < kColumnCount; ++c)
            QCOMPARE(sheet.rows[0].value(c).text, kColumnLabels[c]);
        const QString wrong = firstCellNotAsInTheGrid(sheet, &ExportText::csv);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // A file opened as it comes, every column left to "Standard": Calc computes "=1+1" and
    // reads "-5" as a number there, and reads a guarded text as a text with its apostrophe.
    void libreOfficeComputesNoFormulaOfATag()
    {
        CatalogueModel model;
        model.setRows(rowsShowing(exportRows()));
        const QString path = m_dir.filePath(u"standard.csv"_s);
        QCOMPARE(CsvExport::write(model, path).outcome, Outcome::Written);

        CalcReader calc;
        const CalcSheet sheet = calc.read(path, u"CSV:59,34,76,1"_s);
        QVERIFY2(sheet.error.isEmpty(), qPrintable(sheet.error));
        QCOMPARE(sheet.rows.size(), 1 + kExportTexts.size());
        for (int r = 0; r < kExportTexts.size(); ++r) {
            for (int c = 0; c < kColumnCount; ++c) {
                const auto column = static_cast<Column>(c);
                if (column == Size || column == Key)
                    continue;
                const CalcCell cell = sheet.rows[r + 1].value(c);
                const ExportText &text = exportText(r, column);
                QVERIFY2(cell.formula.isEmpty(), qPrintable(cell.formula));
                if (!text.csv.startsWith(u'\'') || text.grid.startsWith(u'\''))
                    continue;
                QCOMPARE(cell.text, text.csv);
                QCOMPARE(cell.type, u"string"_s);
            }
        }
    }

    void failedOrCancelledExportLeavesNoFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<Outcome>("outcome");
        QTest::newRow("folder missing") << u"manca/lista.csv"_s << Outcome::Failed;
        QTest::newRow("cancelled after the first rows: the old file stays")
            << u"vecchia.csv"_s << Outcome::Cancelled;
    }

    void failedOrCancelledExportLeavesNoFile()
    {
        QFETCH(QString, target);
        QFETCH(Outcome, outcome);
        QTemporaryDir dir;
        QFile old(dir.filePath(u"vecchia.csv"_s));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("vecchio") == 7);
        old.close();
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        CatalogueModel model;
        model.setRows(
            rowsShowing(std::vector<GridRow>(2500, gridRow(u"Brano"_s, u"1 KB"_s, u"1"_s))));
        QList<qsizetype> reports;
        const GridExport::Result result =
            CsvExport::write(model, dir.filePath(target), [&reports](qsizetype done, qsizetype) {
                reports << done;
                return false;
            });
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), "vecchio"_ba);
        if (outcome == Outcome::Cancelled) {
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
