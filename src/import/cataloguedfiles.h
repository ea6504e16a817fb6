#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <string>
#include <unordered_map>

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
    using ByName = std::unordered_map<std::string, Known>;

    static void setKey(std::string &key, const QString &text);

    /// By folder, then by name, in UTF-8.
    std::optional<std::unordered_map<std::string, ByName>> m_records;
    /// The folder last looked up and its records in m_records; files come folder by folder.
    QString m_folder;
    ByName *m_ofFolder = nullptr;
    /// The place in m_records of the file find looked up last, for noteWritten.
    Known *m_last = nullptr;
    std::string m_nameKey;
};
