#pragma once

#include "cataloguerecord.h"
#include "lookup.h"
#include "medium.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

/// The catalogue file (`Mp3Db.mdb`, an SQLite file with the table `Mp3`): the one owner of its
/// connection, which goes straight through SQLite's own interface. Every function reports
/// failure by its result and keeps the reason in lastError(); a failed write leaves the file as
/// it was.
class CatalogueStore
{
public:
    /// Result of a write addressed by key.
    enum class WriteResult { Done, NoSuchRecord, Failed };

    /// Groups writes into one transaction that is rolled back unless commit() succeeds.
    class Transaction
    {
    public:
        explicit Transaction(CatalogueStore &store);
        ~Transaction();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;
        /// True when the transaction could be started.
        bool isActive() const { return m_active; }
        /// Makes the writes permanent; false (and rolled back) on failure.
        bool commit();

    private:
        CatalogueStore &m_store;
        bool m_active = false;
    };

    /// A store for the catalogue file at `path`; nothing is opened until open().
    explicit CatalogueStore(const QString &path);
    ~CatalogueStore();
    CatalogueStore(const CatalogueStore &) = delete;
    CatalogueStore &operator=(const CatalogueStore &) = delete;

    /// Opens the catalogue. A missing file is created with an empty table. A file that exists
    /// but is not an SQLite catalogue with the table `Mp3`, or that fails SQLite's quick check
    /// (a damaged file), is refused and never modified. False on failure, with an Italian
    /// explanation naming the file in lastError() and, for a refused file, the reason alone in
    /// refusal(). `check` Skip leaves the quick check out, for a file that has just passed it
    /// (the compacted copy renamed over the catalogue).
    enum class IntegrityCheck { Run, Skip };
    bool open(IntegrityCheck check = IntegrityCheck::Run);
    /// Closes the connection (open() may be called again).
    void close();
    /// True while the connection is open.
    bool isOpen() const { return m_db != nullptr; }
    /// True when the last open() created the file.
    bool created() const { return m_created; }
    /// Path of the catalogue file.
    QString path() const { return m_path; }
    /// Italian text of the last failure, empty after a success.
    QString lastError() const { return m_lastError; }
    /// True when the open catalogue's table is the one this program creates, without triggers:
    /// every text is then read back exactly as it was written, and the key of an added record
    /// is above every key the table ever held.
    bool hasOwnTable() const { return m_ownTable; }
    /// Why the last open() refused an existing file ("il file è danneggiato: …"); empty when it
    /// did not.
    QString refusal() const { return m_refusal; }

    /// Receives the rows a read goes through, one at a time.
    using RecordVisitor = std::function<void(const RecordView &)>;

    /// Hands every record, in stored order, to `visit`; false on failure (some rows may have
    /// been handed over by then).
    bool visitAllRecords(const RecordVisitor &visit);
    /// Hands the records whose keys are below `key`, in stored order, to `visit`; false on
    /// failure.
    bool visitRecordsBelow(qint64 key, const RecordVisitor &visit);
    /// Hands the records of the given keys, in the order of `ids`, to `visit`; keys without a
    /// record are left out. False on failure.
    bool visitRecordsByIds(const QList<qint64> &ids, const RecordVisitor &visit);
    /// Hands the records with keys from `first` to `last` that `wanted` accepts, in key order,
    /// to `visit`; `wanted` is asked once about each row of the range, in key order, and the
    /// rows it refuses are passed over without reading their fields. False on failure.
    bool visitRecordsWhere(qint64 first, qint64 last, const std::function<bool(qint64)> &wanted,
                           const RecordVisitor &visit);
    /// The record of a key; NotFound when there is none, Failed on failure (then lastError()
    /// is set).
    Lookup<CatalogueRecord> recordById(qint64 id);
    /// The first record of a file name (without extension) and folder; NotFound when there is
    /// none, Failed on failure (then lastError() is set).
    Lookup<CatalogueRecord> findByNameAndFolder(const QString &nome, const QString &percorso);
    /// Receives the key, name and folder (UTF-8 as stored, a null view for NULL) of a record.
    using NameVisitor =
        std::function<void(qint64 id, QByteArrayView nome, QByteArrayView percorso)>;
    /// Hands the key, name and folder of every record, in no particular order, to `visit`;
    /// false on failure.
    bool visitNamesAndFolders(const NameVisitor &visit);
    /// The highest key of the table, 0 when it is empty; nullopt on failure.
    std::optional<qint64> highestKey();
    /// Label of the first record of a medium serial; NotFound when no record has that serial,
    /// Failed on failure (then lastError() is set). A NULL label is found as a null QString.
    Lookup<QString> labelOfSerial(const QString &supporto);
    /// Every label that starts with "TRACKLODGE_", one per record, in text order of the label;
    /// nullopt on failure.
    std::optional<QStringList> generatedLabels();

    /// Adds a record (its id is ignored); the new key, or nullopt on failure. When given,
    /// `stored` is handed the record as the file now holds it (its texts as written, its new
    /// key) before add returns.
    std::optional<qint64> add(const CatalogueRecord &record, const RecordVisitor &stored = {});
    /// Rewrites the eleven fields other than `id` and `supporto` of the record with key
    /// `record.id`.
    WriteResult update(const CatalogueRecord &record);
    /// Rewrites every field but `id` (medium serial included) of the record with key
    /// `record.id`.
    WriteResult updateWithMedium(const CatalogueRecord &record);
    /// Deletes the record of a key.
    WriteResult remove(qint64 id);

    /// True when the catalogue is marked as holding no text that a reader should not see (see
    /// keysToClean()): markCleaned() marked it, or this version created it. nullopt on failure.
    std::optional<bool> textsCleaned();
    /// The keys of the records holding a text that no reader should see: a NUL character in any
    /// text field, or a genre that is NULL or blanks only (the one stored form of "no genre" is
    /// an empty text). Earlier versions of the program could store such texts. Reads every
    /// record; nullopt on failure.
    std::optional<QList<qint64>> keysToClean();
    /// Marks the catalogue as holding no such texts; part of the running Transaction, if any.
    /// False on failure.
    bool markCleaned();

    // --- The media of the catalogue (cataloguemedia.cpp) ---

    /// Every medium of the catalogue, one per distinct `supporto` (the records without one form
    /// one medium of a null serial), in no particular order; one grouping query. nullopt on
    /// failure.
    std::optional<QList<Medium>> media();
    /// The distinct labels of the records whose `supporto` is not `supporto` (a null QString
    /// for NULL); nullopt on failure.
    std::optional<QStringList> labelsOfOtherMedia(const QString &supporto);
    /// Gives every record of the medium `supporto` (a null QString for the records without one)
    /// the label `labelD`; part of the running Transaction, if any. The number of records
    /// changed, or nullopt on failure.
    std::optional<qint64> relabelMedium(const QString &supporto, const QString &labelD);
    /// Deletes every record of the medium `supporto`; part of the running Transaction, if any.
    /// The number of records deleted, or nullopt on failure.
    std::optional<qint64> removeMedium(const QString &supporto);
    /// The keys of the records of the medium `supporto`, in key order; nullopt on failure.
    std::optional<QList<qint64>> keysOfMedium(const QString &supporto);
    /// Receives the fields the duplicates view compares (UTF-8 as stored, a null view for
    /// NULL): key, title, artist, file name and size text.
    using DuplicateFieldsVisitor =
        std::function<void(qint64 id, QByteArrayView titolo, QByteArrayView autore,
                           QByteArrayView nome, QByteArrayView dimenzione)>;
    /// Hands those fields of every record, in key order, to `visit`; false on failure.
    bool visitDuplicateFields(const DuplicateFieldsVisitor &visit);

    /// Writes a compacted copy of the open catalogue to `target`, which must not exist or be
    /// empty. Not inside a Transaction. The copy is not flushed to disk. False on failure, with
    /// the reason in lastError(); a partly written `target` may then be left behind.
    bool vacuumInto(const QString &target);

private:
    /// The statements the store keeps prepared while the connection is open, one slot each.
    enum Statement {
        SelectAll,
        SelectBelow,
        SelectById,
        SelectWanted,
        SelectByNameAndFolder,
        SelectNamesAndFolders,
        SelectHighestKey,
        SelectLabelOfSerial,
        SelectGeneratedLabels,
        Insert,
        Update,
        UpdateWithMedium,
        DeleteById,
        StatementCount
    };

    // The steps of open(), in order.
    bool openConnection();
    bool checkIntegrity();
    bool validateExisting();
    bool createSchema();
    bool readOwnTable();
    bool refuse(const QString &reason);

    sqlite3_stmt *prepared(Statement which);
    bool step(sqlite3_stmt *stmt, bool &row);
    bool execute(const char *sql);
    bool readRows(sqlite3_stmt *stmt, const RecordVisitor &visit);
    Lookup<CatalogueRecord> firstRecord(sqlite3_stmt *stmt);
    WriteResult writeByKey(sqlite3_stmt *stmt);
    void failOn(const char *sql);
    void fail(const QString &what, const QString &detail);

    static void keyWanted(sqlite3_context *context, int, sqlite3_value **arguments);
    // The statements of cataloguemedia.cpp, run once per command and not kept.
    sqlite3_stmt *prepareOnce(const char *sql);
    static void sizeKb(sqlite3_context *context, int, sqlite3_value **arguments);

    QString m_path;
    QString m_lastError;
    QString m_refusal;
    bool m_created = false;
    bool m_ownTable = false;
    sqlite3 *m_db = nullptr;
    /// Kept prepared for the connection's life: the add of each imported file and the update of
    /// each saved record skip SQLite's parse and plan (`tracklodge-bench import`, `save`).
    std::array<sqlite3_stmt *, StatementCount> m_statements{};
    /// The UTF-8 of the texts bound to the statement being run (see RowBinding::TextBinder).
    /// One buffer for every statement spares an allocation per bound text, which an import
    /// (`tracklodge-bench import`) and a folder-wide save (`save`) do once per field and record.
    QByteArray m_bindBuffer;
    /// The choice of rows of the running visitRecordsWhere(), asked by the function its scan
    /// calls; null outside it. The choice made inside SQLite's scan leaves the refused rows
    /// unread: `tracklodge-bench search` rebuilds a grid of 50,000 of 100,000 records with it.
    const std::function<bool(qint64)> *m_wanted = nullptr;
};
