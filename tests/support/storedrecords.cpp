#include "storedrecords.h"

namespace {

CatalogueRecord recordOf(const RecordView &view)
{
    CatalogueRecord r;
    r.id = view.id;
    QString *const fields[] = {&r.titolo,     &r.autore,   &r.album,  &r.anno,
                               &r.genere,     &r.commento, &r.nome,   &r.percorso,
                               &r.dimenzione, &r.info,     &r.labelD, &r.supporto};
    for (size_t i = 0; i < view.fields.size(); ++i)
        *fields[i] = QString::fromUtf8(view.fields[i]);
    return r;
}

} // namespace

std::optional<QList<CatalogueRecord>> storedRecords(CatalogueStore &store)
{
    QList<CatalogueRecord> records;
    if (!store.visitAllRecords(
            [&records](const RecordView &view) { records.append(recordOf(view)); }))
        return std::nullopt;
    return records;
}

std::optional<QList<CatalogueRecord>> storedRecordsByIds(CatalogueStore &store,
                                                         const QList<qint64> &ids)
{
    QList<CatalogueRecord> records;
    if (!store.visitRecordsByIds(
            ids, [&records](const RecordView &view) { records.append(recordOf(view)); }))
        return std::nullopt;
    return records;
}
