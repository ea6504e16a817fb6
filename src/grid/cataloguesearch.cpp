#include "cataloguesearch.h"

#include "catalogue/cataloguestore.h"
#include "cataloguemodel.h"
#include "gridloader.h"
#include "inspection/collectioncounters.h"

#include <algorithm>
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
std::optional<bool> readInOnePass(CatalogueStore &store, const QList<qint64> &keys, GridRows &rows)
{
    if (keys.size() < 64)
        return std::nullopt;
    // The pass goes over every row from the lowest key to the highest; a row passed over costs
    // about a sixteenth of a look-up.
    constexpr quint64 kRowsPerLookup = 16;
    const auto [lowest, highest] = std::minmax_element(keys.cbegin(), keys.cend());
    const qint64 first = *lowest;
    const qint64 last = *highest;
    const auto span = static_cast<quint64>(last) - static_cast<quint64>(first);
    if (span >= kRowsPerLookup * static_cast<quint64>(keys.size()))
        return std::nullopt;
    // The place of each key in the list, indexed by key from the lowest; -1 for none.
    std::vector<int> placeOf(span + 1, -1);
    const auto placeAt = [&placeOf, first](qint64 key) -> int & {
        return placeOf[static_cast<size_t>(static_cast<quint64>(key) -
                                           static_cast<quint64>(first))];
    };
    for (int place = 0; place < keys.size(); ++place) {
        int &slot = placeAt(keys.at(place));
        if (slot >= 0)
            return std::nullopt;
        slot = place;
    }
    std::vector<int> rowAtPlace(static_cast<size_t>(keys.size()), -1);
    int row = 0;
    int lastPlace = -1;
    bool inOrder = true;
    const bool read = store.visitRecordsWhere(
        first, last, [&](qint64 key) { return key >= first && key <= last && placeAt(key) >= 0; },
        [&](const RecordView &record) {
            const int place = placeAt(record.id);
            rows.append(record);
            rowAtPlace[static_cast<size_t>(place)] = row++;
            inOrder = inOrder && place > lastPlace;
            lastPlace = place;
        });
    // Keys in ascending order (a grid in stored order) leave the rows in their order.
    if (inOrder)
        return read;
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
    std::optional<bool> onePass = readInOnePass(store, keys, rows);
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
