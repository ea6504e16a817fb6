#include "cataloguestore.h"

#include "cataloguesql.h"
#include "cataloguetexts.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <sqlite3.h>

#include <array>

Q_LOGGING_CATEGORY(lcCatalogue, "tracklodge.catalogue")

namespace {

constexpr std::array<const char *, 13> kRequiredColumns = {
    "id",   "titolo",   "autore",     "album", "anno",   "genere",  "commento",
    "nome", "percorso", "dimenzione", "info",  "labelD", "supporto"};

// Every SQLite 3 database file starts with these 16 bytes.
constexpr char kSqliteHeader[] = "SQLite format 3";

CatalogueRecord recordFrom(const QSqlQuery &query)
{
    CatalogueRecord r;
    r.id = query.value(0).toLongLong();
    r.titolo = query.value(1).toString();
    r.autore = query.value(2).toString();
    r.album = query.value(3).toString();
    r.anno = query.value(4).toString();
    r.genere = query.value(5).toString();
    r.commento = query.value(6).toString();
    r.nome = query.value(7).toString();
    r.percorso = query.value(8).toString();
    r.dimenzione = query.value(9).toString();
    r.info = query.value(10).toString();
    r.labelD = query.value(11).toString();
    r.supporto = query.value(12).toString();
    return r;
}

// Binds the eleven fields that every write carries, in the order of the SQL texts.
void bindTextFields(QSqlQuery &query, const CatalogueRecord &r)
{
    // A null QString is bound as NULL, so an absent field stays absent.
    query.bindValue(0, r.titolo);
    query.bindValue(1, r.autore);
    query.bindValue(2, r.album);
    query.bindValue(3, r.anno);
    query.bindValue(4, r.genere);
    query.bindValue(5, r.commento);
    query.bindValue(6, r.nome);
    query.bindValue(7, r.percorso);
    query.bindValue(8, r.dimenzione);
    query.bindValue(9, r.info);
    query.bindValue(10, r.labelD);
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(stmt, column)) : QString();
}

// The record of the current row of a statement that selects the columns in table order.
CatalogueRecord recordFrom(sqlite3_stmt *stmt)
{
    CatalogueRecord r;
    r.id = sqlite3_column_int64(stmt, 0);
    r.titolo = columnText(stmt, 1);
    r.autore = columnText(stmt, 2);
    r.album = columnText(stmt, 3);
    r.anno = columnText(stmt, 4);
    r.genere = columnText(stmt, 5);
    r.commento = columnText(stmt, 6);
    r.nome = columnText(stmt, 7);
    r.percorso = columnText(stmt, 8);
    r.dimenzione = columnText(stmt, 9);
    r.info = columnText(stmt, 10);
    r.labelD = columnText(stmt, 11);
    r.supporto = columnText(stmt, 12);
    return r;
}

// A null QString is bound as NULL, so an absent field stays absent. The catalogue holds UTF-8,
// which Qt makes faster than SQLite would from UTF-16.
void bindText(sqlite3_stmt *stmt, int position, const QString &text)
{
    if (text.isNull()) {
        sqlite3_bind_null(stmt, position);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, position, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
}

// Binds the eleven fields that every write carries, from position 1, in the order of the SQL
// texts.
void bindTextFields(sqlite3_stmt *stmt, const CatalogueRecord &r)
{
    const QString *fields[] = {&r.titolo,     &r.autore,   &r.album, &r.anno,
                               &r.genere,     &r.commento, &r.nome,  &r.percorso,
                               &r.dimenzione, &r.info,     &r.labelD};
    int position = 1;
    for (const QString *field : fields)
        bindText(stmt, position++, *field);
}

bool hasSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(sizeof kSqliteHeader);
    return head == QByteArray(kSqliteHeader, sizeof kSqliteHeader);
}

} // namespace

CatalogueStore::Transaction::Transaction(CatalogueStore &store)
    : m_store(store)
{
    QSqlDatabase db = QSqlDatabase::database(store.m_connectionName, false);
    m_active = db.isOpen() && db.transaction();
    if (!m_active)
        store.fail(QStringLiteral("BEGIN"), db.lastError().text());
}

CatalogueStore::Transaction::~Transaction()
{
    if (m_active)
        QSqlDatabase::database(m_store.m_connectionName, false).rollback();
}

bool CatalogueStore::Transaction::commit()
{
    if (!m_active)
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_store.m_connectionName, false);
    m_active = false;
    if (db.commit())
        return true;
    m_store.fail(QStringLiteral("COMMIT"), db.lastError().text());
    db.rollback();
    return false;
}

CatalogueStore::CatalogueStore(const QString &path)
    : m_path(path)
    , m_connectionName(QStringLiteral("catalogue-") +
                       QUuid::createUuid().toString(QUuid::WithoutBraces))
{}

CatalogueStore::~CatalogueStore()
{
    close();
}

bool CatalogueStore::open()
{
    close();
    m_lastError.clear();
    m_refusal.clear();
    m_created = false;
    const QFileInfo info(m_path);
    if (info.exists()) {
        if (!hasSqliteHeader(m_path))
            return refuse(QString::fromUtf8(CatalogueTexts::kNotSqlite));
        if (!openConnection())
            return false;
        if (!checkIntegrity() || !validateExisting()) {
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
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (db.open())
        return true;
    m_lastError = QString::fromUtf8(CatalogueTexts::kCannotOpen).arg(m_path, db.lastError().text());
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    return false;
}

bool CatalogueStore::refuse(const QString &reason)
{
    m_refusal = reason;
    m_lastError = QString::fromUtf8(CatalogueTexts::kNotACatalogue).arg(m_path, reason);
    return false;
}

// A damaged file can still answer queries, with phantom rows or rows cut short, and a
// compaction would copy the damage: it is refused before anything reads it.
bool CatalogueStore::checkIntegrity()
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.exec(QString::fromLatin1(CatalogueSql::kQuickCheck))) {
        // SQLITE_NOTADB: the header is there, the rest is not SQLite's.
        if (query.lastError().nativeErrorCode() == QString::number(SQLITE_NOTADB))
            return refuse(QString::fromUtf8(CatalogueTexts::kNotSqlite));
        return refuse(
            QString::fromUtf8(CatalogueTexts::kDamaged).arg(query.lastError().databaseText()));
    }
    const QString verdict = query.next() ? query.value(0).toString() : QString();
    if (verdict == QLatin1String("ok"))
        return true;
    return refuse(QString::fromUtf8(CatalogueTexts::kDamaged).arg(verdict));
}

bool CatalogueStore::validateExisting()
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    // A file with the SQLite header that SQLite still cannot read fails here.
    if (!query.exec(QString::fromLatin1(CatalogueSql::kColumnsOfTable)))
        return refuse(QString::fromUtf8(CatalogueTexts::kNotSqlite));
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString().toLower();
    if (columns.isEmpty())
        return refuse(QString::fromUtf8(CatalogueTexts::kNoTable));
    for (const char *column : kRequiredColumns) {
        const QString name = QString::fromLatin1(column);
        if (!columns.contains(name.toLower()))
            return refuse(QString::fromUtf8(CatalogueTexts::kMissingColumn).arg(name));
    }
    return true;
}

bool CatalogueStore::createSchema()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    const auto createFailed = [this](const QString &detail) {
        m_lastError = QString::fromUtf8(CatalogueTexts::kCannotCreate).arg(m_path, detail);
        return false;
    };
    if (!db.transaction())
        return createFailed(db.lastError().text());
    QSqlQuery query(db);
    for (const char *sql : {CatalogueSql::kCreateTable, CatalogueSql::kCreateIndexNameFolder,
                            CatalogueSql::kCreateIndexSerial, CatalogueSql::kCreateIndexLabel}) {
        if (!query.exec(QString::fromLatin1(sql))) {
            const QString detail = query.lastError().text();
            db.rollback();
            return createFailed(detail);
        }
    }
    if (!db.commit()) {
        const QString detail = db.lastError().text();
        db.rollback();
        return createFailed(detail);
    }
    return true;
}

void CatalogueStore::close()
{
    finalizeRaw();
    m_selectById.reset();
    m_selectGeneratedLabels.reset();
    m_update.reset();
    m_delete.reset();
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

bool CatalogueStore::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) &&
           QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlQuery &CatalogueStore::prepared(std::unique_ptr<QSqlQuery> &slot, const char *sql)
{
    if (!slot) {
        slot = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connectionName, false));
        slot->setForwardOnly(true);
        if (!slot->prepare(QString::fromLatin1(sql)))
            qCWarning(lcCatalogue) << "cannot prepare" << sql << slot->lastError().text();
    }
    return *slot;
}

void CatalogueStore::fail(const QString &what, const QString &detail)
{
    m_lastError = QString::fromUtf8(CatalogueTexts::kQueryFailed).arg(m_path, what, detail);
    qCWarning(lcCatalogue).noquote() << m_lastError;
}

bool CatalogueStore::exec(QSqlQuery &query)
{
    m_lastError.clear();
    if (!isOpen()) {
        fail(query.lastQuery(), QStringLiteral("catalogo non aperto"));
        return false;
    }
    if (query.exec())
        return true;
    fail(query.lastQuery(), query.lastError().text());
    return false;
}

sqlite3 *CatalogueStore::rawHandle()
{
    if (!isOpen())
        return nullptr;
    const QVariant handle = QSqlDatabase::database(m_connectionName, false).driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(handle.constData());
    return nullptr;
}

// Bulk reads go straight through SQLite's own interface on the same connection: going through
// QSqlQuery values costs three times as much on large catalogues.
bool CatalogueStore::readRaw(const char *sql, const QList<qint64> *ids,
                             QList<CatalogueRecord> &records)
{
    m_lastError.clear();
    sqlite3 *db = rawHandle();
    if (!db) {
        fail(QString::fromLatin1(sql), QStringLiteral("catalogo non aperto"));
        return false;
    }
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        fail(QString::fromLatin1(sql), QString::fromUtf8(sqlite3_errmsg(db)));
        return false;
    }
    const auto readRows = [&] {
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            records.append(recordFrom(stmt));
        return rc == SQLITE_DONE;
    };
    bool ok = true;
    if (!ids) {
        ok = readRows();
    } else {
        records.reserve(ids->size());
        for (qint64 id : *ids) {
            sqlite3_reset(stmt);
            sqlite3_bind_int64(stmt, 1, id);
            if (!(ok = readRows()))
                break;
        }
    }
    if (!ok)
        fail(QString::fromLatin1(sql), QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_finalize(stmt);
    return ok;
}

std::optional<QList<CatalogueRecord>> CatalogueStore::allRecords()
{
    QList<CatalogueRecord> records;
    if (!readRaw(CatalogueSql::kSelectAll, nullptr, records))
        return std::nullopt;
    return records;
}

std::optional<QList<CatalogueRecord>> CatalogueStore::recordsByIds(const QList<qint64> &ids)
{
    QList<CatalogueRecord> records;
    if (!readRaw(CatalogueSql::kSelectById, &ids, records))
        return std::nullopt;
    return records;
}

std::optional<CatalogueRecord> CatalogueStore::recordById(qint64 id)
{
    QSqlQuery &query = prepared(m_selectById, CatalogueSql::kSelectById);
    query.bindValue(0, id);
    if (!exec(query))
        return std::nullopt;
    std::optional<CatalogueRecord> record;
    if (query.next())
        record = recordFrom(query);
    query.finish();
    return record;
}

std::optional<CatalogueRecord> CatalogueStore::findByNameAndFolder(const QString &nome,
                                                                   const QString &percorso)
{
    const char *sql = CatalogueSql::kSelectByNameAndFolder;
    sqlite3_stmt *stmt = rawPrepared(m_rawSelectByNameAndFolder, sql);
    if (!stmt)
        return std::nullopt;
    bindText(stmt, 1, nome);
    bindText(stmt, 2, percorso);
    bool row = false;
    if (!rawStep(stmt, sql, row))
        return std::nullopt;
    std::optional<CatalogueRecord> record;
    if (row)
        record = recordFrom(stmt);
    sqlite3_reset(stmt);
    return record;
}

std::optional<QString> CatalogueStore::labelOfSerial(const QString &supporto)
{
    const char *sql = CatalogueSql::kSelectLabelOfSerial;
    sqlite3_stmt *stmt = rawPrepared(m_rawSelectLabelOfSerial, sql);
    if (!stmt)
        return std::nullopt;
    bindText(stmt, 1, supporto);
    bool row = false;
    if (!rawStep(stmt, sql, row))
        return std::nullopt;
    std::optional<QString> label;
    if (row)
        label = columnText(stmt, 0);
    sqlite3_reset(stmt);
    return label;
}

std::optional<QStringList> CatalogueStore::generatedLabels()
{
    QSqlQuery &query = prepared(m_selectGeneratedLabels, CatalogueSql::kSelectGeneratedLabels);
    if (!exec(query))
        return std::nullopt;
    QStringList labels;
    while (query.next())
        labels << query.value(0).toString();
    query.finish();
    return labels;
}

std::optional<qint64> CatalogueStore::add(const CatalogueRecord &record)
{
    const char *sql = CatalogueSql::kInsert;
    sqlite3_stmt *stmt = rawPrepared(m_rawInsert, sql);
    if (!stmt)
        return std::nullopt;
    bindTextFields(stmt, record);
    bindText(stmt, 12, record.supporto);
    bool row = false;
    if (!rawStep(stmt, sql, row))
        return std::nullopt;
    sqlite3_reset(stmt);
    return sqlite3_last_insert_rowid(sqlite3_db_handle(stmt));
}

CatalogueStore::WriteResult CatalogueStore::writeByKey(QSqlQuery &query)
{
    if (!exec(query))
        return WriteResult::Failed;
    const int affected = query.numRowsAffected();
    query.finish();
    return affected > 0 ? WriteResult::Done : WriteResult::NoSuchRecord;
}

CatalogueStore::WriteResult CatalogueStore::update(const CatalogueRecord &record)
{
    QSqlQuery &query = prepared(m_update, CatalogueSql::kUpdate);
    bindTextFields(query, record);
    query.bindValue(11, record.id);
    return writeByKey(query);
}

CatalogueStore::WriteResult CatalogueStore::updateWithMedium(const CatalogueRecord &record)
{
    const char *sql = CatalogueSql::kUpdateFull;
    sqlite3_stmt *stmt = rawPrepared(m_rawUpdateWithMedium, sql);
    if (!stmt)
        return WriteResult::Failed;
    bindTextFields(stmt, record);
    bindText(stmt, 12, record.supporto);
    sqlite3_bind_int64(stmt, 13, record.id);
    return rawWriteByKey(stmt, sql);
}

CatalogueStore::WriteResult CatalogueStore::remove(qint64 id)
{
    QSqlQuery &query = prepared(m_delete, CatalogueSql::kDeleteById);
    query.bindValue(0, id);
    return writeByKey(query);
}

bool CatalogueStore::vacuumInto(const QString &target)
{
    m_lastError.clear();
    if (!isOpen()) {
        fail(QString::fromLatin1(CatalogueSql::kVacuumInto), QStringLiteral("catalogo non aperto"));
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(QString::fromLatin1(CatalogueSql::kVacuumInto))) {
        fail(query.lastQuery(), query.lastError().text());
        return false;
    }
    query.bindValue(0, target);
    return exec(query);
}

sqlite3_stmt *CatalogueStore::rawPrepared(sqlite3_stmt *&slot, const char *sql)
{
    m_lastError.clear();
    // A prepared statement lives only while the connection is open: close() finalizes it.
    if (slot) {
        sqlite3_reset(slot);
        sqlite3_clear_bindings(slot);
        return slot;
    }
    sqlite3 *db = rawHandle();
    if (!db) {
        fail(QString::fromLatin1(sql), QStringLiteral("catalogo non aperto"));
        return nullptr;
    }
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr) != SQLITE_OK) {
        fail(QString::fromLatin1(sql), QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_finalize(slot);
        slot = nullptr;
    }
    return slot;
}

// One step of a statement: true with `row` set when it gave a row or finished; false (with the
// statement reset and lastError() set) on failure.
bool CatalogueStore::rawStep(sqlite3_stmt *stmt, const char *sql, bool &row)
{
    const int rc = sqlite3_step(stmt);
    row = rc == SQLITE_ROW;
    if (row || rc == SQLITE_DONE)
        return true;
    // The error code and text of a failed step are the connection's after the reset.
    sqlite3_reset(stmt);
    fail(QString::fromLatin1(sql), QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(stmt))));
    return false;
}

CatalogueStore::WriteResult CatalogueStore::rawWriteByKey(sqlite3_stmt *stmt, const char *sql)
{
    bool row = false;
    if (!rawStep(stmt, sql, row))
        return WriteResult::Failed;
    sqlite3_reset(stmt);
    return sqlite3_changes(sqlite3_db_handle(stmt)) > 0 ? WriteResult::Done
                                                        : WriteResult::NoSuchRecord;
}

void CatalogueStore::finalizeRaw()
{
    for (sqlite3_stmt **slot : {&m_rawSelectByNameAndFolder, &m_rawSelectLabelOfSerial,
                                &m_rawInsert, &m_rawUpdateWithMedium}) {
        sqlite3_finalize(*slot);
        *slot = nullptr;
    }
}
