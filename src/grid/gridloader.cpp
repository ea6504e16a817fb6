#include "gridloader.h"

#include "catalogue/cataloguestore.h"
#include "cataloguemodel.h"
#include "inspection/collectioncounters.h"

void showRows(GridRows rows, CatalogueModel &model, CollectionCounters &counters)
{
    model.setRows(std::move(rows));
    counters.recount(model.recordCount(),
                     [&model](qsizetype r) { return model.cell(static_cast<int>(r), State); });
}

bool caricaDB(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters)
{
    return caricaDB(store, model, counters, {});
}

bool caricaDB(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
              const RowAdded &rowAdded)
{
    model.setHeader(GridHeader::Kind::Full);
    GridRows rows;
    const bool read = store.visitAllRecords([&rows, &rowAdded](const RecordView &record) {
        rows.append(record);
        if (rowAdded)
            rowAdded(rows, rows.size() - 1);
    });
    showRows(read ? std::move(rows) : GridRows(), model, counters);
    return read;
}

void AddedRows::take(const RecordView &record)
{
    if (m_rows.size() == 0)
        m_firstKey = record.id;
    m_rows.append(record);
}

bool AddedRows::caricaDB(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
                         Import import)
{
    // Keys of added records are above every key the table held before, so the older records
    // are the ones below the first added.
    if (import != Import::OnlyAdded || m_rows.size() == 0 || !store.hasOwnTable())
        return ::caricaDB(store, model, counters);
    model.setHeader(GridHeader::Kind::Full);
    GridRows rows;
    const bool read = store.visitRecordsBelow(
        m_firstKey, [&rows](const RecordView &record) { rows.append(record); });
    if (!read) {
        showRows(GridRows(), model, counters);
        return false;
    }
    if (rows.size() == 0) {
        rows = std::move(m_rows);
    } else {
        rows.append(m_rows);
        m_rows = GridRows();
    }
    showRows(std::move(rows), model, counters);
    return true;
}
