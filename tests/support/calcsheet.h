#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

/// One cell as LibreOffice Calc read it.
struct CalcCell
{
    QString type;    ///< its value type ("string", "float", "date" …); empty for an empty cell
    QString text;    ///< the text it shows, its paragraphs joined by "\n"
    QString formula; ///< the formula it computes; empty for none
    bool bold = false;
};

/// The first sheet of a file as LibreOffice Calc opened it.
struct CalcSheet
{
    QString error; ///< why the file could not be read; everything else is empty then
    QString name;
    /// Up to the last row with a cell that is not empty, each row up to its last such cell.
    QList<QList<CalcCell>> rows;
    /// Widths of the first columns, in centimetres.
    QList<double> columnWidths;
    /// The range of the autofilter ("Lista.A1:Lista.L3"); empty without one.
    QString filterRange;
};

/// Opens files with LibreOffice Calc (soffice, headless, in a profile of its own so that
/// parallel runs do not meet) and reads what it made of them from the flat OpenDocument
/// spreadsheet it saves them as.
class CalcReader
{
public:
    /// The CSV import options of a file in UTF-8 with ";" between fields and '"' around them,
    /// each of its `columns` columns read as text.
    static QString csvAsText(int columns);

    /// "LibreOffice 7.4.7.2 …", or empty when soffice cannot be run.
    QString version();
    /// The first sheet of `path`, opened with the import filter and options `inputFilter`
    /// ("CSV:59,34,…"), or by its type when empty.
    CalcSheet read(const QString &path, const QString &inputFilter = {});

private:
    QTemporaryDir m_profile;
};
