#pragma once

#include "catalogue/cataloguerecord.h"
#include "grid/gridcolumns.h"
#include "grid/gridrows.h"
#include "support/calcsheet.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// A grid of the texts that spreadsheets are known to change when they open an export: numbers
// and dates in disguise, formulas, the CSV's own separators, line breaks, letters beyond ASCII.

/// One tag text, and what a spreadsheet must show for it after opening the CSV export.
struct ExportText
{
    QString grid;
    QString csv;
};

/// The twelve column labels an export begins with.
inline const QStringList kColumnLabels = {
    QStringLiteral("Titolo"),          QStringLiteral("Artista"),
    QStringLiteral("Album"),           QStringLiteral("Anno"),
    QStringLiteral("Genere"),          QStringLiteral("Commento"),
    QStringLiteral("Nome File"),       QStringLiteral("Percoso File"),
    QStringLiteral("Dimensione File"), QStringLiteral("Info"),
    QStringLiteral("Etichetta Disco"), QStringLiteral("IdKey")};

inline const QList<ExportText> kExportTexts = {
    {QStringLiteral("007"), QStringLiteral("007")},
    {QStringLiteral("01/02"), QStringLiteral("01/02")},
    {QStringLiteral("1.234"), QStringLiteral("1.234")},
    {QStringLiteral("1,5"), QStringLiteral("1,5")},
    {QStringLiteral("TRUE"), QStringLiteral("TRUE")},
    {QStringLiteral("=1+1"), QStringLiteral("'=1+1")},
    {QStringLiteral("=HYPERLINK(\"http://x\")"), QStringLiteral("'=HYPERLINK(\"http://x\")")},
    {QStringLiteral("+39 02"), QStringLiteral("'+39 02")},
    {QStringLiteral("-5"), QStringLiteral("'-5")},
    {QStringLiteral("@SUM(A1)"), QStringLiteral("'@SUM(A1)")},
    {QStringLiteral("\tTab iniziale"), QStringLiteral("'\tTab iniziale")},
    // LibreOffice's CSV import reads a CR inside a quoted field as a line break, as it reads
    // CR LF; the workbook keeps the CR.
    {QStringLiteral("\rA capo iniziale"), QStringLiteral("'\nA capo iniziale")},
    {QStringLiteral("Re; live"), QStringLiteral("Re; live")},
    {QStringLiteral("Lucio \"Dalla\""), QStringLiteral("Lucio \"Dalla\"")},
    {QStringLiteral("riga\nriga"), QStringLiteral("riga\nriga")},
    {QStringLiteral("Però è già"), QStringLiteral("Però è già")},
    {QStringLiteral("Straße € 5"), QStringLiteral("Straße € 5")},
    {QString(), QString()},
    {QStringLiteral(" spazio  doppio"), QStringLiteral(" spazio  doppio")},
    {QStringLiteral("'già citato"), QStringLiteral("'già citato")},
    // The workbook format's own escape of a character: read back as a CR unless escaped.
    {QStringLiteral("_x000D_"), QStringLiteral("_x000D_")},
    {QStringLiteral("a_x0041_b"), QStringLiteral("a_x0041_b")},
};

/// Rows of records that show the given texts: a cell of one blank is a NULL field, any other
/// text is the field itself (so none may end with a blank in the columns that trim them); the
/// key is the Key text as a number.
inline GridRows rowsShowing(const std::vector<GridRow> &texts)
{
    GridRows rows;
    for (const GridRow &row : texts) {
        CatalogueRecord record;
        QString *fields[] = {&record.titolo,     &record.autore,   &record.album, &record.anno,
                             &record.genere,     &record.commento, &record.nome,  &record.percorso,
                             &record.dimenzione, &record.info,     &record.labelD};
        for (int c = 0; c < Key; ++c) {
            if (row[c] != QLatin1String(" "))
                *fields[c] = row[c].isNull() ? QStringLiteral("") : row[c];
        }
        record.id = row[Key].toLongLong();
        rows.append(record);
    }
    return rows;
}

/// The size a row of exportRows() shows, and the same without its padding blanks.
inline QString paddedSize(int row)
{
    return QStringLiteral("%1 KB").arg(row + 1, 20);
}
inline QString exportedSize(int row)
{
    return QStringLiteral("%1 KB").arg(row + 1);
}

/// The text column `column` of row `row` of exportRows() shows.
inline const ExportText &exportText(int row, Column column)
{
    const int shift = column < Size ? column : column - 1;
    return kExportTexts.at((row + shift) % kExportTexts.size());
}

/// One row per text of kExportTexts, each text in every text column on one row or another;
/// the size padded, the key the row's number.
inline std::vector<GridRow> exportRows()
{
    std::vector<GridRow> rows;
    for (int r = 0; r < kExportTexts.size(); ++r) {
        GridRow row;
        for (int c = 0; c < kColumnCount; ++c) {
            const auto column = static_cast<Column>(c);
            if (column == Size)
                row[c] = paddedSize(r);
            else if (column == Key)
                row[c] = QString::number(r + 1);
            else
                row[c] = exportText(r, column).grid;
        }
        rows.push_back(row);
    }
    return rows;
}

/// The first record cell of `sheet` (an export of exportRows() read by Calc) that is not the
/// grid's text as `shown` gives it, as "row R, column C: …"; empty when every cell is. The size
/// comes without its padding and the key as a number; a cell must be a plain, not bold text
/// (no value at all when empty) and compute no formula.
inline QString firstCellNotAsInTheGrid(const CalcSheet &sheet, QString ExportText::*shown)
{
    for (int r = 0; r < kExportTexts.size(); ++r) {
        const QList<CalcCell> &cells = sheet.rows.value(r + 1);
        for (int c = 0; c < kColumnCount; ++c) {
            const auto column = static_cast<Column>(c);
            const QString expected = column == Size  ? exportedSize(r)
                                     : column == Key ? QString::number(r + 1)
                                                     : exportText(r, column).*shown;
            const CalcCell cell = cells.value(c);
            const bool plainText =
                cell.formula.isEmpty() && !cell.bold &&
                cell.type == (expected.isEmpty() ? QString() : QStringLiteral("string"));
            if (cell.text != expected || !plainText)
                return QStringLiteral("row %1, column %2: %3 \"%4\" instead of \"%5\"")
                    .arg(r + 2)
                    .arg(kColumnLabels.value(c), cell.type, cell.text, expected);
        }
    }
    return {};
}
