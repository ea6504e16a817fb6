#include "gridrows.h"

#include "catalogue/cataloguerecord.h"

#include <functional>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace {

// Where each field lives: an index into the inline texts or into the pools.
struct Place
{
    bool pooled;
    int index;
};

// In table order: titolo, autore, album, anno, genere, commento, nome, percorso, dimenzione,
// info, labelD, supporto. The columns Title to MediumLabel show the fields of the same index.
constexpr Place kPlaces[12] = {
    {false, 0}, {false, 1}, {false, 2}, {false, 3}, {true, 0}, {false, 4},
    {false, 5}, {true, 1},  {false, 6}, {true, 2},  {true, 3}, {true, 4},
};

// The pool index of NULL.
constexpr quint32 kNull = std::numeric_limits<quint32>::max();

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

// The twelve text fields of a record in table order.
template <typename Record> auto textsOf(Record &r)
{
    return std::array{&r.titolo, &r.autore,   &r.album,      &r.anno, &r.genere, &r.commento,
                      &r.nome,   &r.percorso, &r.dimenzione, &r.info, &r.labelD, &r.supporto};
}

using Bytes = std::vector<char>;

// The standard library's byte hash: several times quicker than Qt's, which a row pays for every
// text that differs from the one before it (`tracklodge-bench load`).
size_t hashOf(QByteArrayView text)
{
    return std::hash<std::string_view>{}(
        std::string_view(text.data(), static_cast<size_t>(text.size())));
}

// Appends a text: twice its length, plus one for NULL, in seven-bit groups, low first, the high
// bit marking another group, then its bytes.
void putText(Bytes &out, QByteArrayView text)
{
    auto head = static_cast<size_t>(text.size()) * 2 + (text.isNull() ? 1 : 0);
    while (head >= 0x80) {
        out.push_back(static_cast<char>(head | 0x80));
        head >>= 7;
    }
    out.push_back(static_cast<char>(head));
    out.insert(out.end(), text.begin(), text.end());
}

// The text at `start` (a null view for NULL); `next` is where the one after it starts.
QByteArrayView textAt(const Bytes &bytes, size_t start, size_t *next = nullptr)
{
    const char *in = bytes.data() + start;
    size_t head = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        head |= static_cast<size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            break;
    }
    const QByteArrayView text =
        (head & 1) ? QByteArrayView() : QByteArrayView(in, static_cast<qsizetype>(head / 2));
    if (next)
        *next = static_cast<size_t>(in - bytes.data()) + static_cast<size_t>(text.size());
    return text;
}

} // namespace

GridRows::GridRows() = default;
GridRows::~GridRows() = default;
GridRows::GridRows(GridRows &&) noexcept = default;
GridRows &GridRows::operator=(GridRows &&) noexcept = default;

QByteArrayView GridRows::Pool::at(quint32 index) const
{
    return textAt(m_bytes, static_cast<size_t>(m_starts[index]));
}

// One copy of each distinct genre, folder, state word, label and serial: these repeat over
// thousands of rows, and sharing them keeps a record near 200 bytes (`tracklodge-bench memory`).
quint32 GridRows::Pool::intern(QByteArrayView utf8)
{
    if (utf8.isNull())
        return kNull;
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

// The inline fields go at the end of the buffer; texts a row held before stay unused until the
// rows are replaced.
void GridRows::setFields(Row &row, const Fields &fields)
{
    // Four bytes keep a row at 32 bytes (`tracklodge-bench memory`); 4 GiB of texts would take some
    // twenty million records.
    if (m_texts.size() > std::numeric_limits<quint32>::max())
        throw std::length_error("catalogue grid texts over 4 GiB");
    row.texts = static_cast<quint32>(m_texts.size());
    for (size_t field = 0; field < fields.size(); ++field) {
        const Place place = kPlaces[field];
        if (place.pooled)
            row.pooled[place.index] = m_pools[place.index].intern(fields[field]);
    }
    for (size_t field = 0; field < fields.size(); ++field) {
        if (!kPlaces[field].pooled)
            putText(m_texts, fields[field]);
    }
}

GridRows::Fields GridRows::fields(const Row &row) const
{
    Fields fields;
    size_t next = row.texts;
    for (size_t field = 0; field < fields.size(); ++field) {
        const Place place = kPlaces[field];
        if (place.pooled) {
            const quint32 index = row.pooled[place.index];
            fields[field] = index == kNull ? QByteArrayView() : m_pools[place.index].at(index);
        } else {
            fields[field] = textAt(m_texts, next, &next);
        }
    }
    return fields;
}

QByteArrayView GridRows::field(const Row &row, int field) const
{
    const Place place = kPlaces[field];
    if (place.pooled) {
        const quint32 index = row.pooled[place.index];
        return index == kNull ? QByteArrayView() : m_pools[place.index].at(index);
    }
    size_t next = row.texts;
    for (int i = 0; i < place.index; ++i)
        textAt(m_texts, next, &next);
    return textAt(m_texts, next);
}

void GridRows::append(const RecordView &record)
{
    Row row;
    row.key = record.id;
    setFields(row, record.fields);
    m_rows.push_back(row);
}

void GridRows::append(const CatalogueRecord &record)
{
    const auto texts = textsOf(record);
    QByteArray utf8[std::size(texts)];
    RecordView view;
    view.id = record.id;
    for (size_t i = 0; i < std::size(texts); ++i) {
        if (texts[i]->isNull())
            continue;
        utf8[i] = texts[i]->toUtf8();
        view.fields[i] = QByteArrayView(utf8[i].constData(), utf8[i].size());
    }
    append(view);
}

void GridRows::append(const GridRows &other)
{
    m_rows.reserve(m_rows.size() + other.m_rows.size());
    for (const Row &from : other.m_rows) {
        Row row;
        row.key = from.key;
        setFields(row, other.fields(from));
        m_rows.push_back(row);
    }
}

CatalogueRecord GridRows::record(int r) const
{
    const Row &row = m_rows[static_cast<size_t>(r)];
    const Fields fields = this->fields(row);
    CatalogueRecord record;
    record.id = row.key;
    const auto texts = textsOf(record);
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!fields[i].isNull())
            *texts[i] = fields[i].isEmpty() ? QStringLiteral("") : QString::fromUtf8(fields[i]);
    }
    return record;
}

void GridRows::setRecord(int r, const CatalogueRecord &record)
{
    GridRows one;
    one.append(record);
    Row &row = m_rows[static_cast<size_t>(r)];
    row.key = record.id;
    setFields(row, one.fields(one.m_rows.front()));
}

QString GridRows::text(int r, Column column) const
{
    if (column == Key)
        return QString::number(key(r));
    return QString::fromUtf8(utf8(r, column));
}

QByteArrayView GridRows::utf8(int r, Column column) const
{
    return shownBytes(field(m_rows[static_cast<size_t>(r)], column), column);
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
