// The catalogue store's opening: the file checked (header, SQLite's quick check, the columns of
// the table, whether the table is the program's own) or created, kept apart from the queries and
// writes of cataloguestore.cpp.
#include "cataloguestore.h"

#include "cataloguesql.h"
#include "cataloguetexts.h"
#include "rowbinding.h"
#include "utf8text.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

constexpr const char *kRequiredColumns[] = {
    "id",   "titolo",   "autore",     "album", "anno",   "genere",  "commento",
    "nome", "percorso", "dimenzione", "info",  "labelD", "supporto"};

// Every SQLite 3 database file starts with these 16 bytes.
constexpr char kSqliteHeader[] = "SQLite format 3";

// A lock held by another connection is waited for this long before a statement fails.
constexpr int kBusyTimeoutMs = 5000;

bool hasSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(sizeof kSqliteHeader);
    return head == QByteArray(kSqliteHeader, sizeof kSqliteHeader);
}

} // namespace

CatalogueStore::CatalogueStore(const QString &path)
    : m_path(path)
{}

CatalogueStore::~CatalogueStore()
{
    close();
}

bool CatalogueStore::open(IntegrityCheck check)
{
    close();
    m_lastError.clear();
    m_refusal.clear();
    m_created = false;
    const QFileInfo info(m_path);
    if (info.exists()) {
        if (!hasSqliteHeader(m_path))
            return refuse(text(CatalogueTexts::kNotSqlite));
        if (!openConnection())
            return false;
        if ((check == IntegrityCheck::Run && !checkIntegrity()) || !validateExisting()) {
            close();
            return false;
        }
        return true;
    }
    if (!openConnection())
        return false;
    if (!createSchema()) {
        close();
        QFile::remove(m_path);
        return false;
    }
    m_created = true;
    return true;
}

bool CatalogueStore::openConnection()
{
    // The connection is only ever used from the thread of its store, so SQLite need not lock it
    // at every call.
    const int rc =
        sqlite3_open_v2(QFile::encodeName(m_path).constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    // The functions are for the store's own statements: the file's schema may not call them.
    if (rc == SQLITE_OK &&
        sqlite3_create_function_v2(m_db, CatalogueSql::kKeyWantedFunction, 1,
                                   SQLITE_UTF8 | SQLITE_DIRECTONLY, &m_wanted, &keyWanted, nullptr,
                                   nullptr, nullptr) == SQLITE_OK &&
        sqlite3_create_function_v2(m_db, CatalogueSql::kSizeKbFunction, 1,
                                   SQLITE_UTF8 | SQLITE_DIRECTONLY | SQLITE_DETERMINISTIC, nullptr,
                                   &sizeKb, nullptr, nullptr, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        return true;
    }
    // A handle is given back even on failure, with the reason; it must still be closed.
    const QString reason = m_db ? text(sqlite3_errmsg(m_db)) : text(sqlite3_errstr(rc));
    m_lastError = text(CatalogueTexts::kCannotOpen).arg(m_path, reason);
    sqlite3_close(m_db);
    m_db = nullptr;
    return false;
}

bool CatalogueStore::refuse(const QString &reason)
{
    m_refusal = reason;
    m_lastError = text(CatalogueTexts::kNotACatalogue).arg(m_path, reason);
    return false;
}

// A damaged file can still answer queries, with phantom rows or rows cut short, and a
// compaction would copy the damage: it is refused before anything reads it.
bool CatalogueStore::checkIntegrity()
{
    sqlite3_stmt *stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, CatalogueSql::kQuickCheck, -1, &stmt, nullptr);
    QString verdict;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            verdict = RowBinding::columnText(stmt, 0);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        // SQLITE_NOTADB: the header is there, the rest is not SQLite's.
        if (sqlite3_errcode(m_db) == SQLITE_NOTADB)
            return refuse(text(CatalogueTexts::kNotSqlite));
        return refuse(text(CatalogueTexts::kDamaged).arg(text(sqlite3_errmsg(m_db))));
    }
    if (verdict == QLatin1String("ok"))
        return true;
    return refuse(text(CatalogueTexts::kDamaged).arg(verdict));
}

bool CatalogueStore::validateExisting()
{
    // A file with the SQLite header that SQLite still cannot read fails here.
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, CatalogueSql::kColumnsOfTable, -1, &stmt, nullptr) != SQLITE_OK)
        return refuse(text(CatalogueTexts::kNotSqlite));
    QStringList columns;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        columns << RowBinding::columnText(stmt, 1).toLower();
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return refuse(text(CatalogueTexts::kNotSqlite));
    if (columns.isEmpty())
        return refuse(text(CatalogueTexts::kNoTable));
    for (const char *column : kRequiredColumns) {
        const QString name = QString::fromLatin1(column);
        if (!columns.contains(name.toLower()))
            return refuse(text(CatalogueTexts::kMissingColumn).arg(name));
    }
    m_ownTable = readOwnTable();
    return true;
}

// The table exactly as createSchema makes it, and no trigger that could change a row as it is
// written: a text is then stored as it was bound and keys only grow.
bool CatalogueStore::readOwnTable()
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, CatalogueSql::kSchemaOfTable, -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    bool own = false;
    int tables = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const QByteArrayView type(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)),
                                  sqlite3_column_bytes(stmt, 0));
        const QByteArrayView sql(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)),
                                 sqlite3_column_bytes(stmt, 1));
        if (type == QByteArrayView("trigger")) {
            own = false;
            break;
        }
        ++tables;
        own = sql == QByteArrayView(CatalogueSql::kCreateTable);
    }
    sqlite3_finalize(stmt);
    return own && tables == 1;
}

bool CatalogueStore::createSchema()
{
    const auto createFailed = [this] {
        m_lastError = text(CatalogueTexts::kCannotCreate).arg(m_path, text(sqlite3_errmsg(m_db)));
        return false;
    };
    if (sqlite3_exec(m_db, CatalogueSql::kBegin, nullptr, nullptr, nullptr) != SQLITE_OK)
        return createFailed();
    for (const char *sql : {CatalogueSql::kCreateTable, CatalogueSql::kCreateIndexNameFolder,
                            CatalogueSql::kCreateIndexSerial, CatalogueSql::kCreateIndexLabel,
                            CatalogueSql::kMarkCleaned, CatalogueSql::kCommit}) {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            createFailed();
            sqlite3_exec(m_db, CatalogueSql::kRollback, nullptr, nullptr, nullptr);
            return false;
        }
    }
    m_ownTable = true;
    return true;
}

void CatalogueStore::close()
{
    m_ownTable = false;
    for (sqlite3_stmt *&stmt : m_statements) {
        sqlite3_finalize(stmt);
        stmt = nullptr;
    }
    sqlite3_close(m_db);
    m_db = nullptr;
}
