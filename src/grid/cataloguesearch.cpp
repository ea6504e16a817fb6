#include "cataloguesearch.h"

#include "catalogue/cataloguestore.h"
#include "cataloguemodel.h"
#include "gridloader.h"
#include "inspection/collectioncounters.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>
#include <vector>

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

// matchesUpper for a cell of plain ASCII, in one pass over its bytes: such a cell is
// upper-cased letter by letter. `upperAscii` is the upper-cased search text when it is ASCII
// too, and null otherwise (no ASCII word can equal it then); `words` splits the cell at every
// blank, so consecutive blanks give empty words. nullopt for a cell that is not ASCII.
std::optional<bool> matchesAsciiCell(QByteArrayView cell, QByteArrayView upperAscii, bool words)
{
    const bool comparable = !upperAscii.isNull();
    bool found = false;
    // The current word so far equals the start of the text, which is `at` bytes long.
    bool equal = comparable;
    qsizetype at = 0;
    for (const char byte : cell) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return std::nullopt;
        if (byte == ' ' && words) {
            found = found || (equal && at == upperAscii.size());
            equal = comparable;
            at = 0;
            continue;
        }
        if (equal) {
            const char upper =
                byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
            equal = at < upperAscii.size() && upper == upperAscii[at];
            ++at;
        }
    }
    return found || (equal && at == upperAscii.size());
}

bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

bool matches(const QString &cell, const Request &request)
{
    return matchesUpper(cell, request.text.toUpper(), request);
}

QList<qint64> matchingKeys(const CatalogueModel &model, const Request &request)
{
    const QString upperText = request.text.toUpper();
    const bool asciiText = isAscii(upperText);
    const QByteArray upperAscii = upperText.toLatin1();
    // constData() is never null, so an empty search text gives an empty, not a null, view.
    const QByteArrayView upperAsciiView =
        asciiText ? QByteArrayView(upperAscii.constData(), upperAscii.size()) : QByteArrayView();
    const bool words = request.column != Genre && request.wordSearch;
    QList<qint64> keys;
    for (int r = 0; r < model.recordCount(); ++r) {
        const std::optional<qint64> key = model.key(r);
        if (!key)
            continue;
        const std::optional<bool> ascii =
            request.column == Key
                ? std::nullopt
                : matchesAsciiCell(model.cellUtf8(r, request.column), upperAsciiView, words);
        if (ascii ? *ascii : matchesUpper(model.cell(r, request.column), upperText, request))
            keys << *key;
    }
    return keys;
}

namespace {

// The records of many keys are read in one pass over the table rather than one look-up each,
// and then put in the order of the keys. nullopt when that does not pay, or when a key comes
// twice (a look-up per key lists such a record twice).
std::optional<bool> readInOnePass(CatalogueStore &store, const QList<qint64> &keys,
                                  qsizetype tableRows, GridRows &rows)
{
    // Below this share of the table the look-ups cost less than the pass.
    constexpr qsizetype kShareOfTable = 8;
    if (keys.size() < 64 || keys.size() * kShareOfTable < tableRows)
        return std::nullopt;
    // Keys already ascending (a grid in stored order) need no reordering.
    if (std::adjacent_find(keys.cbegin(), keys.cend(), std::greater_equal<>()) == keys.cend()) {
        return store.visitRecordsOfSortedKeys(
            keys, [&rows](const RecordView &record) { rows.append(record); });
    }
    // The keys in ascending order, each with its place; the pass hands the records over in key
    // order, so one cursor over them answers every row.
    std::vector<std::pair<qint64, int>> sorted;
    sorted.reserve(static_cast<size_t>(keys.size()));
    for (int i = 0; i < keys.size(); ++i)
        sorted.emplace_back(keys.at(i), i);
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
            return a.first == b.first;
        }) != sorted.end())
        return std::nullopt;
    std::vector<qint64> sortedKeys;
    sortedKeys.reserve(sorted.size());
    for (const auto &[key, place] : sorted)
        sortedKeys.push_back(key);
    size_t cursor = 0;
    std::vector<int> rowAtPlace(static_cast<size_t>(keys.size()), -1);
    int row = 0;
    const bool read = store.visitRecordsOfSortedKeys(sortedKeys, [&](const RecordView &record) {
        while (cursor + 1 < sortedKeys.size() && sortedKeys[cursor] < record.id)
            ++cursor;
        rows.append(record);
        rowAtPlace[static_cast<size_t>(sorted[cursor].second)] = row++;
    });
    std::vector<int> order;
    order.reserve(static_cast<size_t>(row));
    for (const int r : rowAtPlace) {
        if (r >= 0)
            order.push_back(r);
    }
    rows.reorder(order);
    return read;
}

} // namespace

bool rebuild(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
             const QList<qint64> &keys)
{
    GridRows rows;
    std::optional<bool> onePass = readInOnePass(store, keys, model.recordCount(), rows);
    const bool read =
        onePass ? *onePass : store.visitRecordsByIds(keys, [&rows](const RecordView &record) {
            rows.append(record);
        });
    // The narrow header stands while nothing is listed; every record listed brings the full one.
    model.setHeader(read && rows.size() > 0 ? GridHeader::Kind::Full : GridHeader::Kind::Narrow);
    showRows(read ? std::move(rows) : GridRows(), model, counters);
    return read;
}

} // namespace CatalogueSearch
