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

QList<qint64> matchingKeys(const CatalogueModel &model, const Request &request)
{
    const QString upperText = request.text.toUpper();
    QList<qint64> keys;
    for (int r = 0; r < model.recordCount(); ++r) {
        const std::optional<qint64> key = model.key(r);
        if (key && matchesUpper(model.cell(r, request.column), upperText, request))
            keys << *key;
    }
    return keys;
}

bool rebuild(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
             const QList<qint64> &keys)
{
    GridRows rows;
    const bool read =
        store.visitRecordsByIds(keys, [&rows](const RecordView &record) { rows.append(record); });
    // The narrow header stands while nothing is listed; every record listed brings the full one.
    model.setHeader(read && rows.size() > 0 ? GridHeader::Kind::Full : GridHeader::Kind::Narrow);
    showRows(read ? std::move(rows) : GridRows(), model, counters);
    return read;
}

} // namespace CatalogueSearch
