#pragma once

#include "cataloguedfiles.h"

#include "catalogue/cataloguestore.h"
#include "inspection/drivetable.h"
#include "platform/volumes.h"
#include "tags/id3v2reader.h"
#include "tags/tagfile.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

class Dialogs;
class Id3v2Reader;

/// The values of one file that ScriviDb writes, as riempi reads them from the file.
struct ImportValues
{
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;  ///< the tag's comment, or the medium's volume name on CD and removable media
    QString genre;    ///< genre name
    QString state;    ///< state word
    QString baseName; ///< file name without its extension
    QString folder;   ///< folder of the file, ending with "/"
    QString size;     ///< padded size text

    friend bool operator==(const ImportValues &, const ImportValues &) = default;
};

/// The file import: turns a list of MP3 files into catalogue records, reading each file's tag,
/// classifying it, and naming its medium. Widget-free; the user is told of a new medium label
/// through the dialogs interface.
class FileImport
{
public:
    /// A file that was not imported, and why (Italian).
    struct Failure
    {
        QString path;
        QString reason;
    };

    /// What an import did.
    struct Result
    {
        int added = 0;           ///< records added
        int updated = 0;         ///< records of files already catalogued, rewritten
        QList<Failure> failures; ///< files left out, in list order
        /// The catalogue failed: the import stopped, and the records written since the last
        /// commit (the start, or the last new medium label) were rolled back. The reason is the
        /// last failure's.
        bool stopped = false;

        /// The Italian report of the files left out or of the stop; empty when all went well.
        QString report() const;
        /// True when the import rewrote no record and kept every record it added.
        bool onlyAdded() const { return !stopped && updated == 0; }
    };

    /// What ScriviDb did with one file.
    enum class Outcome {
        Added,
        Updated,
        Skipped, ///< the file's medium has no readable serial number; nothing was written
        Failed,  ///< the catalogue failed; nothing of this file was written
    };

    /// Progress of riempi: `done` of `total` entries processed.
    using Progress = std::function<void(qsizetype done, qsizetype total)>;

    /// An import into `store` (open). `driveTable` is the main window's drive table;
    /// `chosenDrive` the volume chosen in the disk search window, whose label names the media
    /// of its files (none when no drive was chosen).
    FileImport(CatalogueStore &store, Dialogs &dialogs, Volumes &volumes,
               const DriveTable &driveTable, const std::optional<VolumeInfo> &chosenDrive);
    ~FileImport();
    FileImport(const FileImport &) = delete;
    FileImport &operator=(const FileImport &) = delete;

    /// Imports every non-empty entry of `workList` (full file paths) in order (riempi), in one
    /// transaction that is committed at the end and before every new medium label is
    /// announced. A file that cannot be read becomes a "File Corrotto!" record; a file whose
    /// medium serial cannot be read is left out; a catalogue failure stops the import (see
    /// Result::stopped). `progress` is told after every entry. The grid is not touched: the
    /// caller reloads it.
    Result riempi(const QStringList &workList, const Progress &progress = {});

    /// Reads the ID3v2 tag of every file without an ID3v1 tag through `reader` (not owned, it
    /// outlives the import); nullptr, the default, reads ID3v1 tags only.
    void setId3v2Reader(const Id3v2Reader *reader) { m_id3v2Reader = reader; }

    /// Hands every record riempi or ScriviDb adds, as the catalogue now holds it, to `added`
    /// (see CatalogueStore::add); none, the default, hands nothing over.
    void setAddedRecords(CatalogueStore::RecordVisitor added) { m_added = std::move(added); }

    /// The values of the file at `path`: tag, state word, comment, base name, folder and size.
    /// Never fails: an unreadable or missing file gives the state "File Corrotto!", the base
    /// name as title and every other tag value empty. A file without an ID3v1 tag keeps the
    /// state "Nessun TAG ID3"; with an ID3v2 reader set and an ID3v2 tag in the file, its tag
    /// values come from that tag (see catalogueValues), the base name standing in for an empty
    /// title.
    ImportValues readFile(const QString &path);

    /// Writes the record of one file (ScriviDb): rewrites the record of the same base name and
    /// folder (compared exactly) or adds one, with the medium's serial number and label. When
    /// the medium gets a generated label, the record is saved, the transaction of riempi (if
    /// one runs) is committed and begun again, and the user is told the label
    /// ("ETICHETTA SUPPORTO").
    Outcome ScriviDb(const ImportValues &values);

private:
    QString stateWord(const QString &path, const QString &folder, TagOutcome outcome,
                      const FileFacts &facts);
    Lookup<QString> labelOfSerial(const QString &serial);
    void forgetLabels();
    std::optional<VolumeInfo> volumeOfFolder(const QString &folder);
    QString driveLabelOf(const VolumeInfo &volume) const;
    static CatalogueRecord recordOf(const ImportValues &values, const QString &serial);
    bool announceLabel(const QString &label);
    bool beginTransaction();
    bool commitTransaction();
    Outcome fail(Outcome outcome, const QString &reason);

    CatalogueStore &m_store;
    Dialogs &m_dialogs;
    Volumes &m_volumes;
    const Id3v2Reader *m_id3v2Reader = nullptr;
    CatalogueStore::RecordVisitor m_added;
    DriveTable m_driveTable;
    QString m_driveLabel;      ///< of the chosen drive, null when it has none
    QString m_driveMountPoint; ///< of the chosen drive
    bool m_hasMediumEntry = false;
    QString m_lastFailure;
    QLocale m_locale; ///< of the size texts
    std::optional<CatalogueStore::Transaction> m_transaction;
    /// The volume of each folder, asked once: the volumes seam reads the mount table at every
    /// question, which a file would otherwise pay for (`tracklodge-bench import`).
    QHash<QString, std::optional<VolumeInfo>> m_volumeOfFolder;
    CataloguedFiles m_catalogued;
    /// Answers of labelOfSerial while riempi runs, which saves a query per file (`tracklodge-bench
    /// import`); an entry goes when a write may change it.
    QHash<QString, Lookup<QString>> m_labelOfSerial;
};
