#pragma once

#include "gridexport.h"

#include <QString>

class CatalogueModel;

/// The grid written as an Excel workbook (XLSX): one sheet, the column labels in bold in a
/// frozen first row with an autofilter, the columns as wide as their texts, and every cell a
/// text, so that no spreadsheet reads a tag text as a number, a date or a formula.
namespace XlsxExport {

/// Most characters one cell holds.
inline constexpr int kCellCharacters = 32767;

/// Writes the twelve column labels, then every row the grid shows in its order, to the file at
/// `path`; each cell as GridExport::cellText() gives it, an empty one left blank. The workbook
/// is made in a scratch file beside the path (the library's temporary files go there too) and
/// the file is put in place only when complete, so a failed or cancelled export never leaves a
/// partial file and any file at the path is as it was. `progress` is told after every batch of
/// rows, the last one included (not at all for a grid without rows). Fails with an Italian
/// message when a text is longer than a cell holds or the grid has more rows than a sheet.
GridExport::Result write(const CatalogueModel &model, const QString &path,
                         const GridExport::Progress &progress = {});

} // namespace XlsxExport
