// The catalogue store's commands over whole media (the records of one serial number) and the
// read of the duplicates view, kept apart from the everyday queries of cataloguestore.cpp. Each
// runs once per user action, so its statement is prepared for the call and not kept.
#include "cataloguestore.h"

#include "cataloguesql.h"
#include "rowbinding.h"

#include "inspection/sizetext.h"
#include "inspection/statewords.h"

#include <sqlite3.h>

#include <memory>

using RowBinding::TextBinder;

namespace {

struct Finalize
{
    void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
};
using OwnedStatement = std::unique_ptr<sqlite3_stmt, Finalize>;

QByteArrayView columnView(sqlite3_stmt *stmt, int column)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return bytes ? QByteArrayView(bytes, sqlite3_column_bytes(stmt, column)) : QByteArrayView();
}

// The drive-type words of a medium, in the order of the counts kSelectMedia gives.
constexpr const char *kDriveTypeWords[] = {StateWords::kCdRom, StateWords::kRemovable,
                                           StateWords::kFixed};

} // namespace

void CatalogueStore::sizeKb(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(arguments[0]));
    const int length = sqlite3_value_bytes(arguments[0]);
    sqlite3_result_int64(context, bytes ? kilobytesOf(QByteArrayView(bytes, length)) : 0);
}

sqlite3_stmt *CatalogueStore::prepareOnce(const char *sql)
{
    m_lastError.clear();
    sqlite3_stmt *stmt = nullptr;
    if (!m_db || sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        failOn(sql);
        sqlite3_finalize(stmt);
        return nullptr;
    }
    return stmt;
}

std::optional<QList<Medium>> CatalogueStore::media()
{
    const OwnedStatement stmt(prepareOnce(CatalogueSql::kSelectMedia));
    if (!stmt)
        return std::nullopt;
    for (int i = 0; i < 3; ++i)
        sqlite3_bind_text(stmt.get(), i + 1, kDriveTypeWords[i], -1, SQLITE_STATIC);
    QList<Medium> media;
    bool row = false;
    while (step(stmt.get(), row) && row) {
        Medium medium;
        medium.supporto = RowBinding::columnText(stmt.get(), 0);
        medium.labelD = RowBinding::columnText(stmt.get(), 1);
        medium.files = sqlite3_column_int64(stmt.get(), 3);
        medium.kilobytes = sqlite3_column_int64(stmt.get(), 4);
        qint64 most = 0;
        for (int i = 0; i < 3; ++i) {
            const qint64 carrying = sqlite3_column_int64(stmt.get(), 5 + i);
            if (carrying > most) {
                most = carrying;
                medium.driveType = QString::fromUtf8(kDriveTypeWords[i]);
            }
        }
        media.append(medium);
    }
    if (!m_lastError.isEmpty())
        return std::nullopt;
    return media;
}

std::optional<QStringList> CatalogueStore::labelsOfOtherMedia(const QString &supporto)
{
    const OwnedStatement stmt(prepareOnce(CatalogueSql::kSelectOtherMediaLabels));
    if (!stmt)
        return std::nullopt;
    QByteArray buffer;
    TextBinder binder(stmt.get(), buffer, supporto.size());
    binder.bind(1, supporto);
    QStringList labels;
    bool row = false;
    while (step(stmt.get(), row) && row)
        labels << RowBinding::columnText(stmt.get(), 0);
    if (!m_lastError.isEmpty())
        return std::nullopt;
    return labels;
}

std::optional<qint64> CatalogueStore::relabelMedium(const QString &supporto, const QString &labelD)
{
    const OwnedStatement stmt(prepareOnce(CatalogueSql::kRelabelMedium));
    if (!stmt)
        return std::nullopt;
    QByteArray buffer;
    TextBinder binder(stmt.get(), buffer, labelD.size() + supporto.size());
    binder.bind(1, labelD);
    binder.bind(2, supporto);
    bool row = false;
    if (!step(stmt.get(), row))
        return std::nullopt;
    return sqlite3_changes64(m_db);
}

std::optional<qint64> CatalogueStore::removeMedium(const QString &supporto)
{
    const OwnedStatement stmt(prepareOnce(CatalogueSql::kDeleteMedium));
    if (!stmt)
        return std::nullopt;
    QByteArray buffer;
    TextBinder binder(stmt.get(), buffer, supporto.size());
    binder.bind(1, supporto);
    bool row = false;
    if (!step(stmt.get(), row))
        return std::nullopt;
    return sqlite3_changes64(m_db);
}

std::optional<QList<qint64>> CatalogueStore::keysOfMedium(const QString &supporto)
{
    const OwnedStatement stmt(prepareOnce(CatalogueSql::kSelectKeysOfMedium));
    if (!stmt)
        return std::nullopt;
    QByteArray buffer;
    TextBinder binder(stmt.get(), buffer, supporto.size());
    binder.bind(1, supporto);
    QList<qint64> keys;
    bool row = false;
    while (step(stmt.get(), row) && row)
        keys.append(sqlite3_column_int64(stmt.get(), 0));
    if (!m_lastError.isEmpty())
        return std::nullopt;
    return keys;
}

bool CatalogueStore::visitDuplicateFields(const DuplicateFieldsVisitor &visit)
{
    const OwnedStatement stmt(prepareOnce(CatalogueSql::kSelectDuplicateFields));
    if (!stmt)
        return false;
    bool row = false;
    while (step(stmt.get(), row) && row) {
        sqlite3_stmt *s = stmt.get();
        visit(sqlite3_column_int64(s, 0), columnView(s, 1), columnView(s, 2), columnView(s, 3),
              columnView(s, 4));
    }
    return m_lastError.isEmpty();
}
