#pragma once

// The catalogue store's own passage between its rows and SQLite's statements: values bound to a
// statement, rows read out of one. Only the store's files include it.

#include "cataloguerecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringEncoder>

struct sqlite3_stmt;

namespace RowBinding {

/// The text of a column of the current row; a null QString for NULL.
QString columnText(sqlite3_stmt *stmt, int column);

/// The current row of a statement that selects the columns in table order, without copying:
/// valid until the statement steps or is reset.
RecordView viewOf(sqlite3_stmt *stmt);

/// The one mapping from a row to a record.
CatalogueRecord recordFrom(const RecordView &view);

/// The record of the current row of a statement that selects the columns in table order.
CatalogueRecord recordFrom(sqlite3_stmt *stmt);

/// Binds texts to one statement as UTF-8, the catalogue's own encoding, all in one buffer that
/// grows only when a statement needs more than ever before. SQLite reads the texts in place at
/// the step, so the binder and its buffer must outlive it. A null QString is bound as NULL, so an
/// absent field stays absent.
class TextBinder
{
public:
    /// A binder for `stmt` writing into `buffer` (the store's), room made for texts of
    /// `utf16Length` UTF-16 units in all.
    TextBinder(sqlite3_stmt *stmt, QByteArray &buffer, qsizetype utf16Length);

    /// Binds `value` at `position`; the bytes bound, which stay in the buffer until the next
    /// binder, or a null view for NULL.
    QByteArrayView bind(int position, const QString &value);

private:
    sqlite3_stmt *m_stmt;
    char *m_next;
    /// Stateless: each text is whole, so a lone surrogate at the end of one field is not
    /// carried into the next.
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

/// The length in UTF-16 units of the twelve text fields of a record.
qsizetype lengthOf(const CatalogueRecord &r);

/// Binds the eleven fields that every write carries (`titolo` to `labelD`, in the order of the
/// SQL texts) from position 1; the next position is 12. `view`, when given, takes the bytes bound
/// as its first eleven fields.
void bindTextFields(TextBinder &binder, const CatalogueRecord &r, RecordView *view = nullptr);

} // namespace RowBinding
