#include "cataloguestore.h"

#include "cataloguesql.h"
#include "cataloguetexts.h"
#include "rowbinding.h"
#include "utf8text.h"

#include <QLoggingCategory>

#include <sqlite3.h>

#include <iterator>

using RowBinding::TextBinder;

Q_LOGGING_CATEGORY(lcCatalogue, "tracklodge.catalogue")

namespace {

// The SQL of each kept statement, in the order of CatalogueStore::Statement.
constexpr const char *kStatementTexts[] = {CatalogueSql::kSelectAll,
                                           CatalogueSql::kSelectBelow,
                                           CatalogueSql::kSelectById,
                                           CatalogueSql::kSelectWanted,
                                           CatalogueSql::kSelectByNameAndFolder,
                                           CatalogueSql::kSelectNamesAndFolders,
                                           CatalogueSql::kSelectHighestKey,
                                           CatalogueSql::kSelectLabelOfSerial,
                                           CatalogueSql::kSelectGeneratedLabels,
                                           CatalogueSql::kInsert,
                                           CatalogueSql::kUpdate,
                                           CatalogueSql::kUpdateFull,
                                           CatalogueSql::kDeleteById};

} // namespace

CatalogueStore::Transaction::Transaction(CatalogueStore &store)
    : m_store(store)
{
    m_active = store.execute(CatalogueSql::kBegin);
}

CatalogueStore::Transaction::~Transaction()
{
    if (m_active && m_store.m_db)
        sqlite3_exec(m_store.m_db, CatalogueSql::kRollback, nullptr, nullptr, nullptr);
}

bool CatalogueStore::Transaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (m_store.execute(CatalogueSql::kCommit))
        return true;
    // A failed COMMIT may leave the transaction open; it must not outlive this object.
    if (m_store.m_db && !sqlite3_get_autocommit(m_store.m_db))
        sqlite3_exec(m_store.m_db, CatalogueSql::kRollback, nullptr, nullptr, nullptr);
    return false;
}

void CatalogueStore::keyWanted(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const auto *wanted =
        *static_cast<const std::function<bool(qint64)> **>(sqlite3_user_data(context));
    if (!wanted) {
        sqlite3_result_error(context, "no scan running", -1);
        return;
    }
    sqlite3_result_int(context, (*wanted)(sqlite3_value_int64(arguments[0])) ? 1 : 0);
}

void CatalogueStore::fail(const QString &what, const QString &detail)
{
    m_lastError = text(CatalogueTexts::kQueryFailed).arg(m_path, what, detail);
    qCWarning(lcCatalogue).noquote() << m_lastError;
}

void CatalogueStore::failOn(const char *sql)
{
    fail(QString::fromLatin1(sql),
         m_db ? text(sqlite3_errmsg(m_db)) : text(CatalogueTexts::kNotOpen));
}

// Runs one statement without values and rows.
bool CatalogueStore::execute(const char *sql)
{
    m_lastError.clear();
    if (m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    failOn(sql);
    return false;
}

// The statement kept for `which`, reset and without values; nullptr (with lastError() set) when
// the catalogue is not open or the statement cannot be prepared. A prepared statement lives
// only while the connection is open: close() finalizes it.
sqlite3_stmt *CatalogueStore::prepared(Statement which)
{
    static_assert(std::size(kStatementTexts) == StatementCount);
    m_lastError.clear();
    const char *sql = kStatementTexts[which];
    sqlite3_stmt *&slot = m_statements[which];
    if (slot) {
        sqlite3_reset(slot);
        sqlite3_clear_bindings(slot);
        return slot;
    }
    if (!m_db) {
        failOn(sql);
        return nullptr;
    }
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr) != SQLITE_OK) {
        failOn(sql);
        sqlite3_finalize(slot);
        slot = nullptr;
    }
    return slot;
}

// One step of a statement: true with `row` set when it gave a row or finished; false (with the
// statement reset and lastError() set) on failure.
bool CatalogueStore::step(sqlite3_stmt *stmt, bool &row)
{
    const int rc = sqlite3_step(stmt);
    row = rc == SQLITE_ROW;
    if (row || rc == SQLITE_DONE)
        return true;
    // The error code and text of a failed step are the connection's after the reset.
    sqlite3_reset(stmt);
    failOn(sqlite3_sql(stmt));
    return false;
}

// Hands every row of the statement to `visit`; the statement is reset afterwards.
bool CatalogueStore::readRows(sqlite3_stmt *stmt, const RecordVisitor &visit)
{
    bool row = false;
    while (step(stmt, row) && row)
        visit(RowBinding::viewOf(stmt));
    sqlite3_reset(stmt);
    return !row && m_lastError.isEmpty();
}

Lookup<CatalogueRecord> CatalogueStore::firstRecord(sqlite3_stmt *stmt)
{
    bool row = false;
    if (!step(stmt, row))
        return Lookup<CatalogueRecord>::failed();
    if (!row)
        return Lookup<CatalogueRecord>::notFound();
    const Lookup<CatalogueRecord> found =
        Lookup<CatalogueRecord>::found(RowBinding::recordFrom(stmt));
    sqlite3_reset(stmt);
    return found;
}

bool CatalogueStore::visitAllRecords(const RecordVisitor &visit)
{
    sqlite3_stmt *stmt = prepared(SelectAll);
    return stmt && readRows(stmt, visit);
}

bool CatalogueStore::visitRecordsBelow(qint64 key, const RecordVisitor &visit)
{
    sqlite3_stmt *stmt = prepared(SelectBelow);
    if (!stmt)
        return false;
    sqlite3_bind_int64(stmt, 1, key);
    return readRows(stmt, visit);
}

bool CatalogueStore::visitRecordsByIds(const QList<qint64> &ids, const RecordVisitor &visit)
{
    sqlite3_stmt *stmt = prepared(SelectById);
    if (!stmt)
        return false;
    // One read transaction for every lookup: otherwise SQLite takes and drops its file lock,
    // and checks the file, once per key.
    std::optional<Transaction> read;
    if (sqlite3_get_autocommit(m_db)) {
        read.emplace(*this);
        if (!read->isActive())
            return false;
    }
    for (qint64 id : ids) {
        sqlite3_bind_int64(stmt, 1, id);
        if (!readRows(stmt, visit))
            return false;
    }
    return true;
}

bool CatalogueStore::visitRecordsWhere(qint64 first, qint64 last,
                                       const std::function<bool(qint64)> &wanted,
                                       const RecordVisitor &visit)
{
    sqlite3_stmt *stmt = prepared(SelectWanted);
    if (!stmt)
        return false;
    sqlite3_bind_int64(stmt, 1, first);
    sqlite3_bind_int64(stmt, 2, last);
    m_wanted = &wanted;
    const bool read = readRows(stmt, visit);
    m_wanted = nullptr;
    return read;
}

Lookup<CatalogueRecord> CatalogueStore::recordById(qint64 id)
{
    sqlite3_stmt *stmt = prepared(SelectById);
    if (!stmt)
        return Lookup<CatalogueRecord>::failed();
    sqlite3_bind_int64(stmt, 1, id);
    return firstRecord(stmt);
}

Lookup<CatalogueRecord> CatalogueStore::findByNameAndFolder(const QString &nome,
                                                            const QString &percorso)
{
    sqlite3_stmt *stmt = prepared(SelectByNameAndFolder);
    if (!stmt)
        return Lookup<CatalogueRecord>::failed();
    TextBinder binder(stmt, m_bindBuffer, nome.size() + percorso.size());
    binder.bind(1, nome);
    binder.bind(2, percorso);
    return firstRecord(stmt);
}

bool CatalogueStore::visitNamesAndFolders(const NameVisitor &visit)
{
    sqlite3_stmt *stmt = prepared(SelectNamesAndFolders);
    if (!stmt)
        return false;
    bool row = false;
    while (step(stmt, row) && row) {
        const auto *nome = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1));
        const int nomeBytes = sqlite3_column_bytes(stmt, 1);
        const auto *percorso = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 2));
        const int percorsoBytes = sqlite3_column_bytes(stmt, 2);
        visit(sqlite3_column_int64(stmt, 0),
              nome ? QByteArrayView(nome, nomeBytes) : QByteArrayView(),
              percorso ? QByteArrayView(percorso, percorsoBytes) : QByteArrayView());
    }
    sqlite3_reset(stmt);
    return !row && m_lastError.isEmpty();
}

std::optional<qint64> CatalogueStore::highestKey()
{
    sqlite3_stmt *stmt = prepared(SelectHighestKey);
    if (!stmt)
        return std::nullopt;
    bool row = false;
    if (!step(stmt, row))
        return std::nullopt;
    const qint64 key = row ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_reset(stmt);
    return key;
}

Lookup<QString> CatalogueStore::labelOfSerial(const QString &supporto)
{
    sqlite3_stmt *stmt = prepared(SelectLabelOfSerial);
    if (!stmt)
        return Lookup<QString>::failed();
    TextBinder binder(stmt, m_bindBuffer, supporto.size());
    binder.bind(1, supporto);
    bool row = false;
    if (!step(stmt, row))
        return Lookup<QString>::failed();
    if (!row)
        return Lookup<QString>::notFound();
    const Lookup<QString> found = Lookup<QString>::found(RowBinding::columnText(stmt, 0));
    sqlite3_reset(stmt);
    return found;
}

std::optional<QStringList> CatalogueStore::generatedLabels()
{
    sqlite3_stmt *stmt = prepared(SelectGeneratedLabels);
    if (!stmt)
        return std::nullopt;
    QStringList labels;
    bool row = false;
    while (step(stmt, row) && row)
        labels << RowBinding::columnText(stmt, 0);
    sqlite3_reset(stmt);
    if (!m_lastError.isEmpty())
        return std::nullopt;
    return labels;
}

std::optional<qint64> CatalogueStore::add(const CatalogueRecord &record,
                                          const RecordVisitor &stored)
{
    sqlite3_stmt *stmt = prepared(Insert);
    if (!stmt)
        return std::nullopt;
    TextBinder binder(stmt, m_bindBuffer, RowBinding::lengthOf(record));
    RecordView view;
    RowBinding::bindTextFields(binder, record, &view);
    view.fields[11] = binder.bind(12, record.supporto);
    bool row = false;
    if (!step(stmt, row))
        return std::nullopt;
    sqlite3_reset(stmt);
    view.id = sqlite3_last_insert_rowid(m_db);
    if (stored)
        stored(view);
    return view.id;
}

CatalogueStore::WriteResult CatalogueStore::writeByKey(sqlite3_stmt *stmt)
{
    bool row = false;
    if (!step(stmt, row))
        return WriteResult::Failed;
    sqlite3_reset(stmt);
    return sqlite3_changes(m_db) > 0 ? WriteResult::Done : WriteResult::NoSuchRecord;
}

CatalogueStore::WriteResult CatalogueStore::update(const CatalogueRecord &record)
{
    sqlite3_stmt *stmt = prepared(Update);
    if (!stmt)
        return WriteResult::Failed;
    TextBinder binder(stmt, m_bindBuffer, RowBinding::lengthOf(record));
    RowBinding::bindTextFields(binder, record);
    sqlite3_bind_int64(stmt, 12, record.id);
    return writeByKey(stmt);
}

CatalogueStore::WriteResult CatalogueStore::updateWithMedium(const CatalogueRecord &record)
{
    sqlite3_stmt *stmt = prepared(UpdateWithMedium);
    if (!stmt)
        return WriteResult::Failed;
    TextBinder binder(stmt, m_bindBuffer, RowBinding::lengthOf(record));
    RowBinding::bindTextFields(binder, record);
    binder.bind(12, record.supporto);
    sqlite3_bind_int64(stmt, 13, record.id);
    return writeByKey(stmt);
}

CatalogueStore::WriteResult CatalogueStore::remove(qint64 id)
{
    sqlite3_stmt *stmt = prepared(DeleteById);
    if (!stmt)
        return WriteResult::Failed;
    sqlite3_bind_int64(stmt, 1, id);
    return writeByKey(stmt);
}

bool CatalogueStore::vacuumInto(const QString &target)
{
    m_lastError.clear();
    // Run once per compaction, so not kept prepared.
    sqlite3_stmt *stmt = nullptr;
    if (!m_db ||
        sqlite3_prepare_v2(m_db, CatalogueSql::kVacuumInto, -1, &stmt, nullptr) != SQLITE_OK) {
        failOn(CatalogueSql::kVacuumInto);
        return false;
    }
    QByteArray buffer;
    TextBinder binder(stmt, buffer, target.size());
    binder.bind(1, target);
    bool row = false;
    const bool ok = step(stmt, row);
    sqlite3_finalize(stmt);
    return ok;
}
