#pragma once

#include "gridcolumns.h"

#include <QString>
#include <QStringList>

/// The grid's header format texts: one cell per column separated by "|", each cell "<", the
/// column label and a run of blanks that fixes the column width.
namespace GridHeader {

enum class Kind {
    Full,   ///< set by every full load
    Narrow, ///< one blank less after "Percoso File"; set by the import and the search
};

/// The format text of a header.
QString formatString(Kind kind);
/// The cells of a format text without their alignment mark: the label and its blanks.
QStringList cells(const QString &format);
/// The label of a format cell: the cell without its trailing blanks.
QString label(const QString &cell);

} // namespace GridHeader
