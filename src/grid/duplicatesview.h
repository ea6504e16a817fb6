#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;

/// What the duplicates view shows: how many groups of alike records, and how many records.
struct DuplicatesShown
{
    qsizetype groups = 0;
    qsizetype records = 0;
};

/// "Doppioni": narrows the grid, as a search does, to the records of the catalogue that are
/// alike to at least one other (see DuplicateGroups), the rows of one group together and the
/// groups in title order; the counters follow. nullopt when the catalogue cannot be read (the
/// grid is then empty and the store's lastError() says why).
std::optional<DuplicatesShown> showDuplicates(CatalogueStore &store, CatalogueModel &model,
                                              CollectionCounters &counters);

/// The status line after the duplicates view: "Doppioni: 2 gruppi, 5 brani", or that there are
/// none.
QString duplicatesStatus(const DuplicatesShown &shown);
