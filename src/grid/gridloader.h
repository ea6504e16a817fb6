#pragma once

#include "gridcolumns.h"
#include "gridrows.h"

#include <functional>

class CatalogueStore;
class CatalogueModel;
class CollectionCounters;

/// Replaces the grid rows (one model reset) and recounts the counters over them.
void showRows(GridRows rows, CatalogueModel &model, CollectionCounters &counters);

/// Loads every record of the catalogue into the grid with the full header, in stored order, and
/// counts them (caricaDB). The model is reset once. On failure the grid and the counters are
/// left empty, the store's lastError() says why, and the result is false.
bool caricaDB(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters);

/// Called with the rows being loaded and the index of the row just added; what `rows` gives is
/// valid only during the call.
using RowAdded = std::function<void(const GridRows &rows, int row)>;

/// caricaDB that hands every row to `rowAdded` as soon as it is read.
bool caricaDB(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
              const RowAdded &rowAdded);

/// The grid rows of the records an import adds, taken as the store writes them (see
/// CatalogueStore::add), so that the grid can show the catalogue after the import without
/// reading them back.
class AddedRows
{
public:
    /// Takes a record the store has just added; records come in the order they were added.
    void take(const RecordView &record);

    /// What the import did to the records it did not add.
    enum class Import {
        OnlyAdded, ///< it rewrote no record and every record it added was kept
        Other,     ///< it rewrote records, or stopped and may have lost records it added
    };

    /// caricaDB after the import: the same grid and counters, with the records older than the
    /// first one added read from the catalogue and the added ones shown from their rows. For
    /// an Other import, or a catalogue whose table is not the program's own, the whole
    /// catalogue is read.
    bool caricaDB(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
                  Import import);

private:
    GridRows m_rows;
    qint64 m_firstKey = 0;
};
