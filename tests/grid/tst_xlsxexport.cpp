#include "exportgrid.h"

#include "grid/cataloguemodel.h"
#include "grid/xlsxexport.h"
#include "support/calcsheet.h"
#include "support/filestate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using GridExport::Outcome;

namespace {

GridRow gridRow(const QString &title, const QString &folder, int key)
{
    return {title,      u"Artista"_s, u"Album"_s,   u"1999"_s, u"Rock"_s, u" "_s,
            u"brano"_s, folder,       u"   1 KB"_s, u"OK"_s,   u"DATI"_s, QString::number(key)};
}

} // namespace

// Every workbook is read back by LibreOffice Calc (its XLSX import), the program people open
// it with here.
class TestXlsxExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    CalcReader m_calc;

private slots:
    void initTestCase() { qInfo().noquote() << "read back with" << m_calc.version(); }

    // Each cell a text exactly as the grid shows it, whatever a spreadsheet would make of it
    // when typed: no numbers, dates, formulas, links. An empty cell is left blank (the library
    // writes no empty text), so Calc reads no value there. Calc reads the format's escape
    // "_x000D_" as a CR and "_x005F_" as "_", but leaves "_x0041_" as it is, though the format
    // makes it an "A": both read back as the grid shows them once the export escapes them.
    void libreOfficeReadsEveryCellAsTheGridShowsIt()
    {
        CatalogueModel model;
        model.setRows(rowsShowing(exportRows()));
        const QString path = m_dir.filePath(u"celle.xlsx"_s);
        QCOMPARE(XlsxExport::write(model, path).outcome, Outcome::Written);

        const CalcSheet sheet = m_calc.read(path);
        QVERIFY2(sheet.error.isEmpty(), qPrintable(sheet.error));
        QCOMPARE(sheet.rows.size(), 1 + kExportTexts.size());
        const QString wrong = firstCellNotAsInTheGrid(sheet, &ExportText::grid);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    void headerRow_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("no rows") << 0;
        QTest::newRow("three rows") << 3;
    }

    // The labels in bold on one sheet, the autofilter over them and the rows, the columns as
    // wide as their longest text or label. The frozen row is the journey's: Calc keeps it in
    // its view settings, which it does not save when it converts a file without a window.
    void headerRow()
    {
        QFETCH(int, rows);
        const QString longFolder = u"/media/archivio/"_s + QString(60, u'x') + u'/';
        std::vector<GridRow> grid;
        for (int r = 0; r < rows; ++r)
            grid.push_back(gridRow(r == 1 ? u"Riga lunga\nsu due righe"_s : u"Brano"_s,
                                   r == 2 ? longFolder : u"/m/"_s, r + 1));
        CatalogueModel model;
        model.setRows(rowsShowing(grid));
        const QString path = m_dir.filePath(u"intestazioni.xlsx"_s);
        QCOMPARE(XlsxExport::write(model, path).outcome, Outcome::Written);

        const CalcSheet sheet = m_calc.read(path);
        QVERIFY2(sheet.error.isEmpty(), qPrintable(sheet.error));
        QCOMPARE(sheet.name, u"Lista"_s);
        QCOMPARE(sheet.rows.size(), 1 + rows);
        QCOMPARE(sheet.rows[0].size(), kColumnCount);
        for (int c = 0; c < kColumnCount; ++c) {
            QCOMPARE(sheet.rows[0][c].text, kColumnLabels[c]);
            QCOMPARE(sheet.rows[0][c].type, u"string"_s);
            QVERIFY2(sheet.rows[0][c].bold, qPrintable(kColumnLabels[c]));
        }
        QCOMPARE(sheet.filterRange, u"Lista.A1:Lista.L%1"_s.arg(1 + rows));
        QVERIFY(sheet.columnWidths.size() >= kColumnCount);
        // Widths in centimetres of a proportional font: compared, not measured.
        const auto width = [&sheet](Column column) {
            return sheet.columnWidths[column];
        };
        QVERIFY(width(Year) > 0);
        QVERIFY2(width(Size) > 2 * width(Year), "the longest label sets the width");
        if (rows == 3) {
            QVERIFY2(width(Folder) > 5 * width(Year), "the longest text sets the width");
            QVERIFY2(width(Title) < width(Size), "a line break ends a line");
        }
    }

    void failedOrCancelledExportLeavesNoFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("longText");
        QTest::addColumn<qint64>("fileSizeLimit");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder missing")
            << u"manca/lista.xlsx"_s << QString() << qint64(-1) << Outcome::Failed << QString();
        QTest::newRow("a folder at the path")
            << u"cartella"_s << QString() << qint64(-1) << Outcome::Failed << QString();
        QTest::newRow("a text longer than a cell holds: the old file stays")
            << u"vecchia.xlsx"_s << QString(32768, u'a') << qint64(-1) << Outcome::Failed
            << u"Il testo della riga 2, colonna \"Titolo\", supera i 32767 caratteri"_s;
        QTest::newRow("the disk fills up: the old file stays")
            << u"vecchia.xlsx"_s << QString() << qint64(20000) << Outcome::Failed << QString();
        QTest::newRow("cancelled after the first rows: the old file stays")
            << u"vecchia.xlsx"_s << QString() << qint64(-1) << Outcome::Cancelled << QString();
    }

    void failedOrCancelledExportLeavesNoFile()
    {
        QFETCH(QString, target);
        QFETCH(QString, longText);
        QFETCH(qint64, fileSizeLimit);
        QFETCH(Outcome, outcome);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"cartella"_s));
        QFile old(dir.filePath(u"vecchia.xlsx"_s));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("vecchio") == 7);
        old.close();
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        // Rows of different texts, so that the packed workbook outgrows the size limit.
        std::vector<GridRow> rows;
        for (int r = 0; r < 2500; ++r)
            rows.push_back(gridRow(u"Brano %1"_s.arg(r * 7919), u"/m/%1/"_s.arg(r), r + 1));
        rows[1][Title] = longText.isEmpty() ? rows[1][Title] : longText;
        CatalogueModel model;
        model.setRows(rowsShowing(rows));
        QList<qsizetype> reports;
        const GridExport::Result result = withFileSizeLimit(fileSizeLimit, [&] {
            return XlsxExport::write(model, dir.filePath(target),
                                     [&reports, outcome](qsizetype done, qsizetype) {
                                         reports << done;
                                         return outcome != Outcome::Cancelled;
                                     });
        });
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QCOMPARE(fileBytes(old.fileName()), "vecchio"_ba);
        if (outcome == Outcome::Cancelled) {
            QCOMPARE(reports, QList<qsizetype>{1000});
            QVERIFY(result.error.isEmpty());
        } else {
            QVERIFY2(result.error.startsWith(u"Impossibile esportare la lista nel file \""_s +
                                             dir.filePath(target) + u"\": "_s),
                     qPrintable(result.error));
            QVERIFY2(result.error.contains(reason), qPrintable(result.error));
        }
    }
};

QTEST_GUILESS_MAIN(TestXlsxExport)
#include "tst_xlsxexport.moc"
