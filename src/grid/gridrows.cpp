#include "gridrows.h"

#include "catalogue/cataloguerecord.h"

#include <cstring>
#include <limits>

namespace {

constexpr qint64 kNoKey = std::numeric_limits<qint64>::min();

// Where each column lives: an index into the inline texts (0 to 6) or into the pools (0 to 3).
struct Place
{
    bool pooled;
    int index;
};

constexpr Place kPlaces[kColumnCount - 1] = {
    {false, 0}, // Title
    {false, 1}, // Artist
    {false, 2}, // Album
    {false, 3}, // Year
    {true, 0},  // Genre
    {false, 4}, // Comment
    {false, 5}, // FileName
    {true, 1},  // Folder
    {false, 6}, // Size
    {true, 2},  // State
    {true, 3},  // MediumLabel
};

constexpr int kInlineCount = 7;

// The record fields in table order, as the grid columns they fill (Key comes from the id, the
// medium serial is not shown).
constexpr int kColumnOfField[12] = {Title,    Artist, Album, Year,  Genre,       Comment,
                                    FileName, Folder, Size,  State, MediumLabel, -1};

// MettiDati trims the trailing blanks of these columns.
constexpr bool trimmed(int column)
{
    return column == Title || column == Artist || column == Album || column == Year ||
           column == Comment;
}

// A NULL field shows as one blank; an empty text stays empty.
QByteArrayView shownBytes(QByteArrayView field, int column)
{
    if (field.isNull())
        return QByteArrayView(" ", 1);
    if (trimmed(column)) {
        qsizetype end = field.size();
        while (end > 0 && field[end - 1] == ' ')
            --end;
        field = field.first(end);
    }
    return field;
}

// Lengths are stored in seven-bit groups, low first, the high bit marking another group.
char *putLength(char *out, size_t length)
{
    while (length >= 0x80) {
        *out++ = static_cast<char>(length | 0x80);
        length >>= 7;
    }
    *out++ = static_cast<char>(length);
    return out;
}

const char *getLength(const char *in, size_t &length)
{
    length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        length |= static_cast<size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return in;
    }
}

} // namespace

GridRows::GridRows() = default;
GridRows::~GridRows() = default;
GridRows::GridRows(GridRows &&) noexcept = default;
GridRows &GridRows::operator=(GridRows &&) noexcept = default;

quint32 GridRows::Pool::intern(QByteArrayView utf8)
{
    if (m_hasLast && QByteArrayView(m_lastUtf8) == utf8)
        return m_lastIndex;
    m_lastIndex = intern(QString::fromUtf8(utf8));
    m_lastUtf8 = utf8.toByteArray();
    m_hasLast = true;
    return m_lastIndex;
}

quint32 GridRows::Pool::intern(const QString &text)
{
    const auto found = m_index.constFind(text);
    if (found != m_index.cend())
        return found.value();
    const auto index = static_cast<quint32>(m_texts.size());
    m_texts.push_back(text);
    m_index.insert(text, index);
    return index;
}

std::unique_ptr<char[]> GridRows::pack(const QByteArrayView (&texts)[kInlineCount])
{
    size_t bytes = 0;
    for (const QByteArrayView &text : texts)
        bytes += static_cast<size_t>(text.size()) + 10;
    char buffer[256];
    std::unique_ptr<char[]> large;
    char *start = buffer;
    if (bytes > sizeof buffer) {
        large = std::make_unique<char[]>(bytes);
        start = large.get();
    }
    char *out = start;
    for (const QByteArrayView &text : texts) {
        out = putLength(out, static_cast<size_t>(text.size()));
        if (!text.isEmpty())
            std::memcpy(out, text.data(), static_cast<size_t>(text.size()));
        out += text.size();
    }
    const auto used = static_cast<size_t>(out - start);
    auto packed = std::make_unique_for_overwrite<char[]>(used);
    std::memcpy(packed.get(), start, used);
    return packed;
}

void GridRows::append(const RecordView &record)
{
    Row row;
    row.key = record.id;
    QByteArrayView inlineTexts[kInlineCount];
    for (size_t field = 0; field < record.fields.size(); ++field) {
        const int column = kColumnOfField[field];
        if (column < 0)
            continue;
        const QByteArrayView shown = shownBytes(record.fields[field], column);
        const Place place = kPlaces[column];
        if (place.pooled)
            row.pooled[place.index] = m_pools[place.index].intern(shown);
        else
            inlineTexts[place.index] = shown;
    }
    row.texts = pack(inlineTexts);
    m_rows.push_back(std::move(row));
}

void GridRows::append(const GridRow &texts)
{
    Row row;
    QByteArray utf8[kInlineCount];
    QByteArrayView inlineTexts[kInlineCount];
    for (int column = 0; column < Key; ++column) {
        const Place place = kPlaces[column];
        if (place.pooled) {
            row.pooled[place.index] = m_pools[place.index].intern(texts[column]);
        } else {
            utf8[place.index] = texts[column].toUtf8();
            inlineTexts[place.index] = utf8[place.index];
        }
    }
    bool isNumber = false;
    const qint64 key = texts[Key].toLongLong(&isNumber);
    row.key = isNumber ? key : kNoKey;
    row.texts = pack(inlineTexts);
    m_rows.push_back(std::move(row));
}

QString GridRows::text(int r, Column column) const
{
    const Row &row = m_rows[static_cast<size_t>(r)];
    if (column == Key)
        return row.key == kNoKey ? QString() : QString::number(row.key);
    const Place place = kPlaces[column];
    if (place.pooled)
        return m_pools[place.index].at(row.pooled[place.index]);
    const char *in = row.texts.get();
    size_t length = 0;
    for (int i = 0;; ++i) {
        in = getLength(in, length);
        if (i == place.index)
            return QString::fromUtf8(in, static_cast<qsizetype>(length));
        in += length;
    }
}

std::optional<qint64> GridRows::key(int r) const
{
    const qint64 key = m_rows[static_cast<size_t>(r)].key;
    if (key == kNoKey)
        return std::nullopt;
    return key;
}

GridRow GridRows::row(int r) const
{
    GridRow texts;
    for (int column = 0; column < kColumnCount; ++column)
        texts[column] = text(r, static_cast<Column>(column));
    return texts;
}

void GridRows::setText(int r, Column column, const QString &text)
{
    Row &target = m_rows[static_cast<size_t>(r)];
    if (column == Key) {
        bool isNumber = false;
        const qint64 key = text.toLongLong(&isNumber);
        target.key = isNumber ? key : kNoKey;
        return;
    }
    const Place place = kPlaces[column];
    if (place.pooled) {
        target.pooled[place.index] = m_pools[place.index].intern(text);
        return;
    }
    QByteArray utf8[kInlineCount];
    QByteArrayView inlineTexts[kInlineCount];
    const char *in = target.texts.get();
    for (int i = 0; i < kInlineCount; ++i) {
        size_t length = 0;
        in = getLength(in, length);
        utf8[i] = i == place.index ? text.toUtf8() : QByteArray(in, static_cast<qsizetype>(length));
        inlineTexts[i] = utf8[i];
        in += length;
    }
    target.texts = pack(inlineTexts);
}

void GridRows::erase(int first, int count)
{
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + first + count);
}

void GridRows::reorder(const std::vector<int> &order)
{
    std::vector<Row> rows;
    rows.reserve(order.size());
    for (int from : order)
        rows.push_back(std::move(m_rows[static_cast<size_t>(from)]));
    m_rows = std::move(rows);
}
