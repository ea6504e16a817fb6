#pragma once

#include "gridcolumns.h"

#include <QString>

class CatalogueModel;

/// The sort of the catalogue grid: it orders the rows the grid shows; nothing is stored.
namespace GridSort {

/// The column sorted by a sort option (0 to 9), or -1 for none (title).
Column columnOfOption(int optionIndex);

/// The order of two cells: two cells that both read as numbers compare as numbers, otherwise
/// as text ignoring case. Negative, zero or positive like QString::compare.
int compareCells(const QString &a, const QString &b);

/// Sorts every row by a column, ascending and stable, moving whole rows.
void sortRows(CatalogueModel &model, Column column);

} // namespace GridSort
