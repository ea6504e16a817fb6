#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class CatalogueModel;

/// The grid written as a CSV file that Italian spreadsheets open directly: UTF-8 with a byte
/// order mark, fields separated by ";", lines ended by CR LF.
namespace CsvExport {

/// One line of fields, without its end: fields joined by ";", a field quoted when it holds ";",
/// a quote, a CR or an LF, with each quote inside it doubled.
QString line(const QStringList &fields);

/// Progress of an export: `done` of `total` rows written. Returning false cancels the export.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;

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

/// Writes the twelve column labels, then every row the grid shows in its order, to the file at
/// `path`; the size column without its padding blanks, every other cell as the grid shows it.
/// The file is written beside the path and renamed into place when complete, so a failed or
/// cancelled export never leaves a partial file. `progress` is told after every batch of rows,
/// the last one included (not at all for a grid without rows).
Result write(const CatalogueModel &model, const QString &path, const Progress &progress = {});

} // namespace CsvExport
