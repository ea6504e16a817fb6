#include "rowbinding.h"

#include <sqlite3.h>

#include <array>
#include <cstring>

namespace RowBinding {

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(stmt, column)) : QString();
}

RecordView viewOf(sqlite3_stmt *stmt)
{
    RecordView view;
    view.id = sqlite3_column_int64(stmt, 0);
    for (int field = 0; field < static_cast<int>(view.fields.size()); ++field) {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, field + 1));
        if (bytes)
            view.fields[static_cast<size_t>(field)] =
                QByteArrayView(bytes, sqlite3_column_bytes(stmt, field + 1));
    }
    return view;
}

CatalogueRecord recordFrom(const RecordView &view)
{
    CatalogueRecord r;
    r.id = view.id;
    QString *fields[] = {&r.titolo, &r.autore,   &r.album,      &r.anno, &r.genere, &r.commento,
                         &r.nome,   &r.percorso, &r.dimenzione, &r.info, &r.labelD, &r.supporto};
    size_t field = 0;
    for (QString *value : fields)
        *value = QString::fromUtf8(view.fields[field++]);
    return r;
}

CatalogueRecord recordFrom(sqlite3_stmt *stmt)
{
    return recordFrom(viewOf(stmt));
}

TextBinder::TextBinder(sqlite3_stmt *stmt, QByteArray &buffer, qsizetype utf16Length)
    : m_stmt(stmt)
{
    // Three bytes per UTF-16 unit is the most UTF-8 can take (a surrogate pair takes four for
    // its two units): the encoder never writes past the room made here.
    if (buffer.size() < 3 * utf16Length)
        buffer.resize(3 * utf16Length);
    m_next = buffer.data();
}

QByteArrayView TextBinder::bind(int position, const QString &value)
{
    if (value.isNull()) {
        sqlite3_bind_null(m_stmt, position);
        return {};
    }
    char *const start = m_next;
    m_next = m_encoder.appendToBuffer(start, value);
    if (m_encoder.hasError()) {
        // A lone surrogate, in a text cut in the middle of a pair: it is stored as the "?" of
        // QString::toUtf8(), as it always was, not as the encoder's U+FFFD.
        m_encoder.resetState();
        const QByteArray utf8 = value.toUtf8();
        std::memcpy(start, utf8.constData(), static_cast<size_t>(utf8.size()));
        m_next = start + utf8.size();
    }
    sqlite3_bind_text(m_stmt, position, start, static_cast<int>(m_next - start), SQLITE_STATIC);
    return QByteArrayView(start, m_next - start);
}

namespace {

// The eleven fields that every write carries, in the order of the SQL texts.
std::array<const QString *, 11> textFields(const CatalogueRecord &r)
{
    return {&r.titolo, &r.autore,   &r.album,      &r.anno, &r.genere, &r.commento,
            &r.nome,   &r.percorso, &r.dimenzione, &r.info, &r.labelD};
}

} // namespace

qsizetype lengthOf(const CatalogueRecord &r)
{
    qsizetype length = r.supporto.size();
    for (const QString *field : textFields(r))
        length += field->size();
    return length;
}

void bindTextFields(TextBinder &binder, const CatalogueRecord &r, RecordView *view)
{
    int position = 1;
    for (const QString *field : textFields(r)) {
        const QByteArrayView bound = binder.bind(position, *field);
        if (view)
            view->fields[static_cast<size_t>(position - 1)] = bound;
        ++position;
    }
}

} // namespace RowBinding
