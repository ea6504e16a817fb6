#include "cataloguestore.h"

#include "cataloguesql.h"
#include "cataloguetexts.h"
#include "utf8text.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <sqlite3.h>

#include <array>
#include <cstring>
#include <iterator>

Q_LOGGING_CATEGORY(lcCatalogue, "tracklodge.catalogue")

namespace {

constexpr const char *kRequiredColumns[] = {
    "id",   "titolo",   "autore",     "album", "anno",   "genere",  "commento",
    "nome", "percorso", "dimenzione", "info",  "labelD", "supporto"};

// Every SQLite 3 database file starts with these 16 bytes.
constexpr char kSqliteHeader[] = "SQLite format 3";

// A lock held by another connection is waited for this long before a statement fails.
constexpr int kBusyTimeoutMs = 5000;

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(stmt, column)) : QString();
}

// The current row of a statement that selects the columns in table order.
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

// The one mapping from a row to a record.
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

// Binds texts to one statement as UTF-8 (the catalogue's own encoding, which Qt makes faster
// than SQLite would from UTF-16), all in one buffer that grows only when a statement needs more
// than ever before: a record is bound without an allocation per field. SQLite reads the texts
// in place at the step, so the binder and its buffer must outlive it. A null QString is bound
// as NULL, so an absent field stays absent.
class TextBinder
{
public:
    // `buffer` is the store's, `utf16Length` the length of every text to be bound together.
    TextBinder(sqlite3_stmt *stmt, QByteArray &buffer, qsizetype utf16Length)
        : m_stmt(stmt)
    {
        // Three bytes per UTF-16 unit is the most UTF-8 can take (a surrogate pair takes four
        // for its two units).
        if (buffer.size() < 3 * utf16Length)
            buffer.resize(3 * utf16Length);
        m_next = buffer.data();
    }

    // The bytes bound, which stay in the buffer until the next binder; a null view for NULL.
    QByteArrayView bind(int position, const QString &value)
    {
        if (value.isNull()) {
            sqlite3_bind_null(m_stmt, position);
            return {};
        }
        char *const start = m_next;
        if (!encode(value)) {
            // Surrogates are rare in a catalogue; Qt's own conversion settles them.
            const QByteArray utf8 = value.toUtf8();
            std::memcpy(start, utf8.constData(), static_cast<size_t>(utf8.size()));
            m_next = start + utf8.size();
        }
        sqlite3_bind_text(m_stmt, position, start, static_cast<int>(m_next - start), SQLITE_STATIC);
        return QByteArrayView(start, m_next - start);
    }

private:
    // UTF-8 of text without surrogates; false (with m_next where it was) for any other text.
    bool encode(const QString &value)
    {
        char *out = m_next;
        for (const QChar qc : value) {
            const char16_t c = qc.unicode();
            if (c < 0x80) {
                *out++ = static_cast<char>(c);
            } else if (c < 0x800) {
                *out++ = static_cast<char>(0xC0 | (c >> 6));
                *out++ = static_cast<char>(0x80 | (c & 0x3F));
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                return false;
            } else {
                *out++ = static_cast<char>(0xE0 | (c >> 12));
                *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *out++ = static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        m_next = out;
        return true;
    }

    sqlite3_stmt *m_stmt;
    char *m_next;
};

// The eleven fields that every write carries, in the order of the SQL texts.
std::array<const QString *, 11> textFields(const CatalogueRecord &r)
{
    return {&r.titolo, &r.autore,   &r.album,      &r.anno, &r.genere, &r.commento,
            &r.nome,   &r.percorso, &r.dimenzione, &r.info, &r.labelD};
}

qsizetype lengthOf(const CatalogueRecord &r)
{
    qsizetype length = r.supporto.size();
    for (const QString *field : textFields(r))
        length += field->size();
    return length;
}

// Binds the eleven fields that every write carries, from position 1; the next position is 12.
// `view`, when given, takes the bytes bound as its first eleven fields.
void bindTextFields(TextBinder &binder, const CatalogueRecord &r, RecordView *view = nullptr)
{
    int position = 1;
    for (const QString *field : textFields(r)) {
        const QByteArrayView bound = binder.bind(position, *field);
        if (view)
            view->fields[static_cast<size_t>(position - 1)] = bound;
        ++position;
    }
}

bool hasSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(sizeof kSqliteHeader);
    return head == QByteArray(kSqliteHeader, sizeof kSqliteHeader);
}

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
    // The function is for the store's own statements: the file's schema may not call it.
    if (rc == SQLITE_OK &&
        sqlite3_create_function_v2(m_db, CatalogueSql::kKeyWantedFunction, 1,
                                   SQLITE_UTF8 | SQLITE_DIRECTONLY, &m_wanted, &keyWanted, nullptr,
                                   nullptr, nullptr) == SQLITE_OK) {
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
            verdict = columnText(stmt, 0);
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
        columns << columnText(stmt, 1).toLower();
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
        visit(viewOf(stmt));
    sqlite3_reset(stmt);
    return !row && m_lastError.isEmpty();
}

std::optional<CatalogueRecord> CatalogueStore::firstRecord(sqlite3_stmt *stmt)
{
    bool row = false;
    if (!step(stmt, row))
        return std::nullopt;
    std::optional<CatalogueRecord> record;
    if (row)
        record = recordFrom(stmt);
    sqlite3_reset(stmt);
    return record;
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

std::optional<QList<CatalogueRecord>> CatalogueStore::allRecords()
{
    QList<CatalogueRecord> records;
    if (!visitAllRecords([&records](const RecordView &view) { records.append(recordFrom(view)); }))
        return std::nullopt;
    return records;
}

std::optional<QList<CatalogueRecord>> CatalogueStore::recordsByIds(const QList<qint64> &ids)
{
    QList<CatalogueRecord> records;
    records.reserve(ids.size());
    if (!visitRecordsByIds(
            ids, [&records](const RecordView &view) { records.append(recordFrom(view)); }))
        return std::nullopt;
    return records;
}

std::optional<CatalogueRecord> CatalogueStore::recordById(qint64 id)
{
    sqlite3_stmt *stmt = prepared(SelectById);
    if (!stmt)
        return std::nullopt;
    sqlite3_bind_int64(stmt, 1, id);
    return firstRecord(stmt);
}

std::optional<CatalogueRecord> CatalogueStore::findByNameAndFolder(const QString &nome,
                                                                   const QString &percorso)
{
    sqlite3_stmt *stmt = prepared(SelectByNameAndFolder);
    if (!stmt)
        return std::nullopt;
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

std::optional<QString> CatalogueStore::labelOfSerial(const QString &supporto)
{
    sqlite3_stmt *stmt = prepared(SelectLabelOfSerial);
    if (!stmt)
        return std::nullopt;
    TextBinder binder(stmt, m_bindBuffer, supporto.size());
    binder.bind(1, supporto);
    bool row = false;
    if (!step(stmt, row))
        return std::nullopt;
    std::optional<QString> label;
    if (row)
        label = columnText(stmt, 0);
    sqlite3_reset(stmt);
    return label;
}

std::optional<QStringList> CatalogueStore::generatedLabels()
{
    sqlite3_stmt *stmt = prepared(SelectGeneratedLabels);
    if (!stmt)
        return std::nullopt;
    QStringList labels;
    bool row = false;
    while (step(stmt, row) && row)
        labels << columnText(stmt, 0);
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
    TextBinder binder(stmt, m_bindBuffer, lengthOf(record));
    RecordView view;
    bindTextFields(binder, record, &view);
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
    TextBinder binder(stmt, m_bindBuffer, lengthOf(record));
    bindTextFields(binder, record);
    sqlite3_bind_int64(stmt, 12, record.id);
    return writeByKey(stmt);
}

CatalogueStore::WriteResult CatalogueStore::updateWithMedium(const CatalogueRecord &record)
{
    sqlite3_stmt *stmt = prepared(UpdateWithMedium);
    if (!stmt)
        return WriteResult::Failed;
    TextBinder binder(stmt, m_bindBuffer, lengthOf(record));
    bindTextFields(binder, record);
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
