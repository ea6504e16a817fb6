// The catalogue store's look for texts that earlier versions could store and that no reader
// should see, kept apart from the everyday queries of cataloguestore.cpp.
#include "cataloguestore.h"

#include "cataloguesql.h"

#include <sqlite3.h>

namespace {

// The format number from which a catalogue holds no such texts.
constexpr int kCleanedFormat = 1;

} // namespace

std::optional<bool> CatalogueStore::textsCleaned()
{
    m_lastError.clear();
    // Run once per start: prepared here and not kept.
    sqlite3_stmt *stmt = nullptr;
    if (!m_db ||
        sqlite3_prepare_v2(m_db, CatalogueSql::kReadFormat, -1, &stmt, nullptr) != SQLITE_OK) {
        failOn(CatalogueSql::kReadFormat);
        return std::nullopt;
    }
    const int rc = sqlite3_step(stmt);
    const int format = rc == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW) {
        failOn(CatalogueSql::kReadFormat);
        return std::nullopt;
    }
    return format >= kCleanedFormat;
}

std::optional<QList<qint64>> CatalogueStore::keysToClean()
{
    m_lastError.clear();
    sqlite3_stmt *stmt = nullptr;
    if (!m_db || sqlite3_prepare_v2(m_db, CatalogueSql::kSelectUncleanKeys, -1, &stmt, nullptr) !=
                     SQLITE_OK) {
        failOn(CatalogueSql::kSelectUncleanKeys);
        return std::nullopt;
    }
    QList<qint64> keys;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        keys.append(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        failOn(CatalogueSql::kSelectUncleanKeys);
        return std::nullopt;
    }
    return keys;
}

bool CatalogueStore::markCleaned()
{
    static_assert(kCleanedFormat == 1, "kMarkCleaned writes format 1");
    return execute(CatalogueSql::kMarkCleaned);
}
