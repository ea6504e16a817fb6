#include "gridrows.h"

#include "catalogue/cataloguerecord.h"

#include <functional>
#include <limits>
#include <string_view>

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

using Bytes = std::vector<char>;

// The standard library's byte hash: several times quicker than Qt's, which a row pays for every
// text that differs from the one before it.
size_t hashOf(QByteArrayView text)
{
    return std::hash<std::string_view>{}(
        std::string_view(text.data(), static_cast<size_t>(text.size())));
}

// Appends a text: its length in seven-bit groups, low first, the high bit marking another
// group, then its bytes.
void putText(Bytes &out, QByteArrayView text)
{
    auto length = static_cast<size_t>(text.size());
    while (length >= 0x80) {
        out.push_back(static_cast<char>(length | 0x80));
        length >>= 7;
    }
    out.push_back(static_cast<char>(length));
    out.insert(out.end(), text.begin(), text.end());
}

// The text at `start`; `next` is where the one after it starts.
QByteArrayView textAt(const Bytes &bytes, qsizetype start, qsizetype *next = nullptr)
{
    const char *in = bytes.data() + start;
    size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        length |= static_cast<size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            break;
    }
    const QByteArrayView text(in, static_cast<qsizetype>(length));
    if (next)
        *next = (in - bytes.data()) + text.size();
    return text;
}

} // namespace

GridRows::GridRows() = default;
GridRows::~GridRows() = default;
GridRows::GridRows(GridRows &&) noexcept = default;
GridRows &GridRows::operator=(GridRows &&) noexcept = default;

QByteArrayView GridRows::Pool::at(quint32 index) const
{
    return textAt(m_bytes, m_starts[index]);
}

quint32 GridRows::Pool::intern(QByteArrayView utf8)
{
    if (!m_starts.empty() && at(m_last) == utf8)
        return m_last;
    if (m_slots.size() < 2 * (m_starts.size() + 1))
        grow();
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hashOf(utf8) & mask;; slot = (slot + 1) & mask) {
        if (m_slots[slot] == 0) {
            m_last = static_cast<quint32>(m_starts.size());
            m_starts.push_back(static_cast<qsizetype>(m_bytes.size()));
            putText(m_bytes, utf8);
            m_slots[slot] = m_last + 1;
            return m_last;
        }
        if (at(m_slots[slot] - 1) == utf8) {
            m_last = m_slots[slot] - 1;
            return m_last;
        }
    }
}

// Doubles the hash table (at least 16 slots, at most half of them taken) and puts every text
// back in.
void GridRows::Pool::grow()
{
    size_t size = 16;
    while (size < 4 * (m_starts.size() + 1))
        size *= 2;
    m_slots.assign(size, 0);
    const size_t mask = size - 1;
    for (quint32 index = 0; index < m_starts.size(); ++index) {
        const QByteArrayView text = at(index);
        size_t slot = hashOf(text) & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = index + 1;
    }
}

void GridRows::appendRow(Row row, const QByteArrayView (&inlineTexts)[kInlineCount])
{
    row.texts = static_cast<qsizetype>(m_texts.size());
    for (const QByteArrayView &text : inlineTexts)
        putText(m_texts, text);
    m_rows.push_back(row);
}

QByteArrayView GridRows::inlineText(const Row &row, int index) const
{
    qsizetype start = row.texts;
    for (int i = 0; i < index; ++i)
        textAt(m_texts, start, &start);
    return textAt(m_texts, start);
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
    appendRow(row, inlineTexts);
}

void GridRows::append(const GridRow &texts)
{
    Row row;
    QByteArray utf8[kColumnCount - 1];
    QByteArrayView inlineTexts[kInlineCount];
    for (int column = 0; column < Key; ++column) {
        utf8[column] = texts[column].toUtf8();
        const Place place = kPlaces[column];
        if (place.pooled)
            row.pooled[place.index] = m_pools[place.index].intern(utf8[column]);
        else
            inlineTexts[place.index] = utf8[column];
    }
    bool isNumber = false;
    const qint64 key = texts[Key].toLongLong(&isNumber);
    row.key = isNumber ? key : kNoKey;
    appendRow(row, inlineTexts);
}

void GridRows::append(const GridRows &other)
{
    m_rows.reserve(m_rows.size() + other.m_rows.size());
    for (const Row &from : other.m_rows) {
        Row row;
        row.key = from.key;
        for (int pool = 0; pool < 4; ++pool)
            row.pooled[pool] = m_pools[pool].intern(other.m_pools[pool].at(from.pooled[pool]));
        QByteArrayView inlineTexts[kInlineCount];
        qsizetype start = from.texts;
        for (QByteArrayView &text : inlineTexts)
            text = textAt(other.m_texts, start, &start);
        appendRow(row, inlineTexts);
    }
}

QString GridRows::text(int r, Column column) const
{
    const Row &row = m_rows[static_cast<size_t>(r)];
    if (column == Key)
        return row.key == kNoKey ? QString() : QString::number(row.key);
    return QString::fromUtf8(utf8(r, column));
}

QByteArrayView GridRows::utf8(int r, Column column) const
{
    const Row &row = m_rows[static_cast<size_t>(r)];
    const Place place = kPlaces[column];
    return place.pooled ? m_pools[place.index].at(row.pooled[place.index])
                        : inlineText(row, place.index);
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

// The row's inline texts are written again at the end of the buffer; the old ones stay unused
// until the rows are replaced.
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
    const QByteArray utf8 = text.toUtf8();
    if (place.pooled) {
        target.pooled[place.index] = m_pools[place.index].intern(utf8);
        return;
    }
    QByteArray kept[kInlineCount];
    QByteArrayView inlineTexts[kInlineCount];
    for (int i = 0; i < kInlineCount; ++i) {
        kept[i] = i == place.index ? utf8 : inlineText(target, i).toByteArray();
        inlineTexts[i] = kept[i];
    }
    target.texts = static_cast<qsizetype>(m_texts.size());
    for (const QByteArrayView &piece : inlineTexts)
        putText(m_texts, piece);
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
        rows.push_back(m_rows[static_cast<size_t>(from)]);
    m_rows = std::move(rows);
}
