#pragma once

#include "gridexport.h"

#include <QString>
#include <QStringList>

class CatalogueModel;

/// The grid written as a CSV file that Italian spreadsheets open directly: UTF-8 with a byte
/// order mark, fields separated by ";", lines ended by CR LF.
namespace CsvExport {

/// One field as written: a text that a spreadsheet would take for a formula (it begins with
/// "=", "+", "-", "@", a tab or a CR) gets a leading apostrophe; then the field is quoted when
/// it holds ";", a quote, a CR or an LF, with each quote inside it doubled.
QString field(const QString &text);

/// One line of fields, without its end: each field as field() writes it, joined by ";".
QString line(const QStringList &fields);

/// Writes the twelve column labels, then every row the grid shows in its order, to the file at
/// `path`; each cell as GridExport::cellText() gives it. The file is written beside the path and
/// renamed into place when complete, so a failed or cancelled export never leaves a partial
/// file. `progress` is told after every batch of rows, the last one included (not at all for a
/// grid without rows).
GridExport::Result write(const CatalogueModel &model, const QString &path,
                         const GridExport::Progress &progress = {});

} // namespace CsvExport
