#include "cataloguesearch.h"

#include "catalogue/cataloguestore.h"
#include "cataloguemodel.h"
#include "gridloader.h"
#include "inspection/collectioncounters.h"

namespace CatalogueSearch {

Column columnOfOption(int optionIndex)
{
    switch (optionIndex) {
    case 1:
        return Artist;
    case 2:
        return Album;
    case 3:
        return FileName;
    case 4:
        return Genre;
    default:
        return Title;
    }
}

namespace {

bool matchesUpper(const QString &cell, const QString &upperText, const Request &request)
{
    if (request.column != Genre && request.wordSearch && cell.contains(u' ')) {
        const QString upperCell = cell.toUpper();
        for (const QStringView word : QStringView(upperCell).split(u' ')) {
            if (word == upperText)
                return true;
        }
        return false;
    }
    return cell.toUpper() == upperText;
}

} // namespace

bool matches(const QString &cell, const Request &request)
{
    return matchesUpper(cell, request.text.toUpper(), request);
}

QStringList matchingKeys(const CatalogueModel &model, const Request &request)
{
    const QString upperText = request.text.toUpper();
    QStringList keys;
    for (int r = 0; r < model.recordCount(); ++r) {
        const GridRow &row = model.row(r);
        if (matchesUpper(row[request.column], upperText, request))
            keys << row[Key];
    }
    return keys;
}

bool rebuild(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
             const QStringList &keys)
{
    QList<qint64> ids;
    ids.reserve(keys.size());
    for (const QString &key : keys) {
        bool isNumber = false;
        const qint64 id = key.toLongLong(&isNumber);
        if (isNumber)
            ids << id;
    }
    const auto records = store.recordsByIds(ids);
    // The narrow header stands while nothing is listed; every record listed brings the full one.
    model.setHeader(records && !records->isEmpty() ? GridHeader::Kind::Full
                                                   : GridHeader::Kind::Narrow);
    showRecords(records.value_or(QList<CatalogueRecord>()), model, counters);
    return records.has_value();
}

} // namespace CatalogueSearch
