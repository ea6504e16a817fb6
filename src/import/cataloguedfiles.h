#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>

#include <optional>

class CatalogueStore;
struct CatalogueRecord;

/// The duplicate check of an import: the first record (lowest key) of a file, by its exact base
/// name and folder. When the catalogue holds no more records than the import has files, every
/// record's name and folder is read at once and the files are looked up in memory, kept true
/// to the catalogue at every write; otherwise each file is asked of the catalogue.
class CataloguedFiles
{
public:
    /// The key and medium serial of a file's record.
    struct Record
    {
        qint64 id = 0;
        QString supporto;
    };

    /// Prepares the look-ups of an import of `files` entries into `store` (open): reads every
    /// record's name and folder when the store's table is the program's own (which compares
    /// texts as bytes, as the look-up in memory does) and its highest key is at most `files`.
    /// A failed read leaves every look-up to the store.
    void load(CatalogueStore &store, qsizetype files);
    /// Forgets what load read: every look-up goes to the store again. After a write that failed
    /// (and may have been rolled back), and at the end of the import.
    void clear();

    /// The first record of the file `baseName` in `folder` into `record` (left empty when there
    /// is none); false when the catalogue failed (its lastError() says why).
    bool find(CatalogueStore &store, const QString &baseName, const QString &folder,
              std::optional<Record> &record);
    /// After `written`, the record of the file find looked up last, has been saved (added, or
    /// rewritten under its key).
    void noteWritten(const CatalogueRecord &written);

private:
    struct Known
    {
        qint64 id = 0;
        bool exists = false;             ///< false for a file looked up that has no record
        std::optional<QString> supporto; ///< known for the records the import wrote
    };
    using ByName = QHash<QString, Known>;

    /// By folder, then by name. Read whole, they save the import a query per file
    /// (`tracklodge-bench import`, whose catalogue starts empty).
    std::optional<QHash<QString, ByName>> m_records;
    /// The folder and name find looked up last in m_records, for noteWritten.
    std::optional<std::pair<QString, QString>> m_last;
};
