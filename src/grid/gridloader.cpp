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

void showRows(GridRows rows, CatalogueModel &model, CollectionCounters &counters)
{
    model.setRows(std::move(rows));
    counters.recount(model.recordCount(),
                     [&model](qsizetype r) { return model.cell(static_cast<int>(r), State); });
}

void showRecords(const QList<CatalogueRecord> &records, CatalogueModel &model,
                 CollectionCounters &counters)
{
    GridRows rows;
    for (const CatalogueRecord &record : records)
        rows.append(MettiDati(record));
    showRows(std::move(rows), model, counters);
}

bool caricaDB(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters)
{
    model.setHeader(GridHeader::Kind::Full);
    GridRows rows;
    const bool read =
        store.visitAllRecords([&rows](const RecordView &record) { rows.append(record); });
    showRows(read ? std::move(rows) : GridRows(), model, counters);
    return read;
}
