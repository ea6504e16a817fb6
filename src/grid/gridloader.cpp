#include "gridloader.h"

#include "catalogue/cataloguestore.h"
#include "cataloguemodel.h"
#include "inspection/collectioncounters.h"

namespace {

QString withoutTrailingBlanks(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return end == text.size() ? text : text.left(end);
}

// A NULL field shows as a single blank; an empty text stays empty.
QString shown(const QString &field)
{
    return field.isNull() ? QStringLiteral(" ") : field;
}

QString shownTrimmed(const QString &field)
{
    return field.isNull() ? QStringLiteral(" ") : withoutTrailingBlanks(field);
}

} // namespace

GridRow MettiDati(const CatalogueRecord &r)
{
    GridRow row;
    row[Title] = shownTrimmed(r.titolo);
    row[Artist] = shownTrimmed(r.autore);
    row[Album] = shownTrimmed(r.album);
    row[Year] = shownTrimmed(r.anno);
    row[Genre] = shown(r.genere);
    row[Comment] = shownTrimmed(r.commento);
    row[FileName] = shown(r.nome);
    row[Folder] = shown(r.percorso);
    row[Size] = shown(r.dimenzione);
    row[State] = shown(r.info);
    row[MediumLabel] = shown(r.labelD);
    row[Key] = QString::number(r.id);
    return row;
}

void showRecords(const QList<CatalogueRecord> &records, CatalogueModel &model,
                 CollectionCounters &counters)
{
    std::vector<GridRow> rows;
    rows.reserve(static_cast<size_t>(records.size()));
    for (const CatalogueRecord &record : records)
        rows.push_back(MettiDati(record));
    model.setRows(std::move(rows));
    counters.recount(model.recordCount(),
                     [&model](qsizetype r) { return model.row(static_cast<int>(r))[State]; });
}

bool caricaDB(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters)
{
    model.setHeader(GridHeader::Kind::Full);
    const auto records = store.allRecords();
    showRecords(records.value_or(QList<CatalogueRecord>()), model, counters);
    return records.has_value();
}
