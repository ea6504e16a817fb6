#pragma once

#include "gridcolumns.h"

#include <QString>
#include <QStringList>

#include <functional>

/// What the grid's exports (CsvExport, XlsxExport) share: their outcome, their progress and the
/// texts they write.
namespace GridExport {

/// Progress of an export: `done` of `total` rows written. Returning false cancels the export.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;

/// Rows an export writes between two progress reports.
inline constexpr int kBatchRows = 1000;

/// What an export did.
enum class Outcome {
    Written,   ///< the file is in place
    Cancelled, ///< the progress asked to stop; any file at the path is as it was
    Failed,    ///< the file could not be written; any file at the path is as it was
};

struct Result
{
    Outcome outcome = Outcome::Failed;
    QString error; ///< the Italian message of a failed export, empty otherwise
};

/// The twelve column labels, in column order.
QStringList headerLabels();

/// The text an export writes for one cell: the size without its padding blanks, every other
/// cell as the grid shows it.
QString cellText(const GridRow &row, Column column);

/// A failed export of the file at `path`, with the Italian message naming the file and `reason`.
Result failure(const QString &path, const QString &reason);

} // namespace GridExport
