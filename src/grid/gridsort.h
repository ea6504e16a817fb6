#pragma once

#include "gridcolumns.h"

#include <QString>

class CatalogueModel;

/// The sort of the catalogue grid: it orders the rows the grid shows; nothing is stored.
namespace GridSort {

/// The column sorted by a sort option (0 to 9), or -1 for none (title).
Column columnOfOption(int optionIndex);

/// Sorts every row by the texts a column shows, ascending and stable, moving whole rows: two
/// cells that both read as numbers compare as numbers, otherwise as text ignoring case.
void sortRows(CatalogueModel &model, Column column);

} // namespace GridSort
