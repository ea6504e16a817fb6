#include "cataloguesearch.h"

#include "catalogue/cataloguestore.h"
#include "cataloguemodel.h"
#include "gridloader.h"
#include "inspection/collectioncounters.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <unordered_map>
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

bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// A code point of strict UTF-8 at `in`, which moves past it; nullopt (with `in` unmoved) for
// bytes that are not, and for the characters a decoder may treat apart (noncharacters, the byte
// order mark).
std::optional<char32_t> strictCodePoint(const unsigned char *&in, const unsigned char *end)
{
    const unsigned char lead = *in;
    int extra = 0;
    char32_t code = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1F;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0F;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07;
        lowest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (end - in <= extra)
        return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        if ((in[i] & 0xC0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (in[i] & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code == 0xFEFF ||
        (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE)
        return std::nullopt;
    in += extra + 1;
    return code;
}

// The upper case of the characters beyond ASCII met in one search, as Qt gives it, kept when
// it is plain ASCII (a few are: "ß" is "SS", the ligature "ﬁ" is "FI", the dotless "ı" is
// "I"). Qt upper-cases a text character by character, so a word's upper case is the upper case
// of its characters one after the other.
class AsciiUpperCase
{
public:
    // The ASCII upper case of a character beyond ASCII; nullopt when it is not ASCII.
    std::optional<QByteArrayView> of(char32_t code)
    {
        auto known = m_known.find(code);
        if (known == m_known.end()) {
            const auto character = QChar::fromUcs4(code);
            const QString upper = QStringView(character).toString().toUpper();
            known =
                m_known
                    .emplace(code, isAscii(upper) ? std::optional(upper.toLatin1()) : std::nullopt)
                    .first;
        }
        if (!known->second)
            return std::nullopt;
        return QByteArrayView(*known->second);
    }

private:
    std::unordered_map<char32_t, std::optional<QByteArray>> m_known;
};

// matchesUpper for a cell in UTF-8, in one pass over its bytes without making a QString: the
// ASCII letters are upper-cased one by one, the other characters as Qt does. `upperAscii` is
// the upper-cased search text when it is ASCII, and null otherwise (no ASCII word can equal it
// then); `words` splits the cell at every blank, so consecutive blanks give empty words.
// nullopt for a cell left to matchesUpper: bytes that are not strict UTF-8, or any character
// beyond ASCII when the search text is not ASCII.
std::optional<bool> matchesUtf8Cell(QByteArrayView cell, QByteArrayView upperAscii, bool words,
                                    AsciiUpperCase &upperCase)
{
    const bool comparable = !upperAscii.isNull();
    bool found = false;
    // The upper case of the current word so far equals the start of the text, which is `at`
    // bytes long.
    bool equal = comparable;
    qsizetype at = 0;
    const auto *in = reinterpret_cast<const unsigned char *>(cell.data());
    const auto *const end = in + cell.size();
    while (in != end) {
        const unsigned char byte = *in;
        if (byte >= 0x80) {
            if (!comparable)
                return std::nullopt;
            const std::optional<char32_t> code = strictCodePoint(in, end);
            if (!code)
                return std::nullopt;
            if (equal) {
                const std::optional<QByteArrayView> upper = upperCase.of(*code);
                equal = upper && upperAscii.sliced(at).startsWith(*upper);
                at += upper ? upper->size() : 0;
            }
            continue;
        }
        ++in;
        if (byte == ' ' && words) {
            found = found || (equal && at == upperAscii.size());
            equal = comparable;
            at = 0;
            continue;
        }
        if (equal) {
            const auto upper =
                static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte);
            equal = at < upperAscii.size() && upper == upperAscii[at];
            ++at;
        }
    }
    return found || (equal && at == upperAscii.size());
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
    AsciiUpperCase upperCase;
    QList<qint64> keys;
    for (int r = 0; r < model.recordCount(); ++r) {
        const std::optional<qint64> key = model.key(r);
        if (!key)
            continue;
        const std::optional<bool> quick = request.column == Key
                                              ? std::nullopt
                                              : matchesUtf8Cell(model.cellUtf8(r, request.column),
                                                                upperAsciiView, words, upperCase);
        if (quick ? *quick : matchesUpper(model.cell(r, request.column), upperText, request))
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
