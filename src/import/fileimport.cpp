#include "fileimport.h"

#include "importtexts.h"
#include "mediumlabel.h"

#include "catalogue/recordcuts.h"
#include "inspection/fileclassifier.h"
#include "inspection/sizetext.h"
#include "inspection/statewords.h"
#include "platform/dialogs.h"
#include "tags/tagfile.h"

#include <QFile>
#include <QLoggingCategory>

#include <sys/stat.h>

Q_LOGGING_CATEGORY(lcImport, "tracklodge.import")

namespace {

// Files listed by name in the report; the rest are counted.
constexpr qsizetype kReportedFiles = 20;

// The folder of a path: everything up to and including its last "/".
QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

// The length of a regular file; 0 for anything else, or when the file cannot be looked at.
qint64 fileLength(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return 0;
    return status.st_size;
}

bool takesVolumeName(const QString &state)
{
    return state == QLatin1String(StateWords::kCdRom) ||
           state == QLatin1String(StateWords::kRemovable);
}

} // namespace

QString FileImport::Result::report() const
{
    if (stopped) {
        const QString reason = failures.isEmpty() ? QString() : failures.last().reason;
        return QString::fromUtf8(ImportTexts::kImportStopped).arg(reason);
    }
    if (failures.isEmpty())
        return {};
    QStringList lines;
    for (qsizetype i = 0; i < failures.size() && i < kReportedFiles; ++i) {
        lines << QString::fromUtf8(ImportTexts::kFileLeftOut)
                     .arg(failures.at(i).path, failures.at(i).reason);
    }
    if (failures.size() > kReportedFiles) {
        lines << QString::fromUtf8(ImportTexts::kMoreLeftOut).arg(failures.size() - kReportedFiles);
    }
    return QString::fromUtf8(ImportTexts::kFilesLeftOut)
        .arg(QString::number(failures.size()), lines.join(u'\n'));
}

FileImport::FileImport(CatalogueStore &store, Dialogs &dialogs, Volumes &volumes,
                       const DriveTable &driveTable, const std::optional<VolumeInfo> &chosenDrive)
    : m_store(store)
    , m_dialogs(dialogs)
    , m_volumes(volumes)
    , m_driveTable(driveTable)
    , m_driveLabel(chosenDrive && !chosenDrive->label.isEmpty() ? chosenDrive->label : QString())
    , m_driveMountPoint(chosenDrive ? chosenDrive->mountPoint : QString())
    , m_hasMediumEntry(hasMediumEntry(driveTable))
{}

FileImport::~FileImport() = default;

FileImport::Result FileImport::riempi(const QStringList &workList, const Progress &progress)
{
    Result result;
    const qsizetype total = workList.size();
    if (total == 0)
        return result;
    forgetLabels();
    if (!beginTransaction()) {
        result.failures.append({QString(), m_lastFailure});
        result.stopped = true;
        return result;
    }
    m_catalogued.load(m_store, total);
    for (qsizetype i = 0; i < total; ++i) {
        const QString &path = workList.at(i);
        if (!path.isEmpty()) {
            switch (ScriviDb(readFile(path))) {
            case Outcome::Added:
                ++result.added;
                break;
            case Outcome::Updated:
                ++result.updated;
                break;
            case Outcome::Skipped:
                result.failures.append({path, m_lastFailure});
                break;
            case Outcome::Failed:
                result.failures.append({path, m_lastFailure});
                result.stopped = true;
                break;
            }
        }
        if (result.stopped)
            break;
        if (progress)
            progress(i + 1, total);
    }
    if (!result.stopped && !commitTransaction()) {
        result.failures.append({QString(), m_lastFailure});
        result.stopped = true;
    }
    m_transaction.reset();
    forgetLabels();
    m_catalogued.clear();
    return result;
}

ImportValues FileImport::readFile(const QString &path)
{
    ImportValues v;
    v.baseName = fileBaseName(path);
    v.folder = folderOf(path);
    // The file is opened once: its size and mode come from the descriptor the tag is read from.
    FileFacts facts;
    const TagReadResult tag = readTag(path, v.baseName, facts);
    if (tag.outcome == TagOutcome::Present) {
        v.title = tag.values.title;
        v.artist = tag.values.artist;
        v.album = tag.values.album;
        v.year = tag.values.year;
        v.comment = tag.values.comment;
        v.genre = tag.values.genre;
    } else {
        v.title = v.baseName;
        v.artist = v.album = v.year = v.comment = v.genre = QLatin1String("");
        std::optional<Id3v2Fields> id3v2;
        if (tag.outcome == TagOutcome::Absent && m_id3v2Reader)
            id3v2 = m_id3v2Reader->read(path);
        if (id3v2) {
            const TagValues values = catalogueValues(*id3v2);
            if (!values.title.isEmpty())
                v.title = values.title;
            v.artist = values.artist;
            v.album = values.album;
            v.year = values.year;
            v.comment = values.comment;
            v.genre = values.genre;
        }
    }
    v.state = stateWord(path, v.folder, tag.outcome, facts);
    if (takesVolumeName(v.state)) {
        const std::optional<VolumeInfo> volume = volumeOfFolder(v.folder);
        v.comment = volume ? volume->label : m_driveLabel;
        if (v.comment.isNull())
            v.comment = QLatin1String("");
    }
    if (!facts.known)
        v.size = padSize(fileLength(path), m_locale);
    else
        v.size = padSize(facts.regular ? facts.size : 0, m_locale);
    return v;
}

FileImport::Outcome FileImport::ScriviDb(const ImportValues &v)
{
    m_lastFailure.clear();
    std::optional<CataloguedFiles::Record> existing;
    if (!m_catalogued.find(m_store, v.baseName, v.folder, existing))
        return fail(Outcome::Failed, m_store.lastError());

    const std::optional<VolumeInfo> volume = volumeOfFolder(v.folder);
    if (!volume || volume->serial.isEmpty()) {
        qCWarning(lcImport).noquote() << "no medium serial for" << v.folder;
        return fail(Outcome::Skipped, QString::fromUtf8(ImportTexts::kNoMediumSerial));
    }

    CatalogueRecord r = recordOf(v, volume->serial);
    if (existing)
        r.id = existing->id;
    const Lookup<QString> serialLabel = labelOfSerial(r.supporto);
    if (serialLabel.isFailed())
        return fail(Outcome::Failed, m_store.lastError());
    r.labelD = MediumLabel::knownLabel(serialLabel.asOptional().value_or(QString()),
                                       driveLabelOf(*volume), r.commento);
    const bool generated = r.labelD.isEmpty();
    if (generated) {
        const std::optional<QStringList> labels = m_store.generatedLabels();
        if (!labels)
            return fail(Outcome::Failed, m_store.lastError());
        r.labelD = MediumLabel::nextGenerated(*labels);
    }

    if (existing) {
        if (m_store.updateWithMedium(r) != CatalogueStore::WriteResult::Done)
            return fail(Outcome::Failed, m_store.lastError());
    } else {
        const std::optional<qint64> key = m_store.add(r, m_added);
        if (!key)
            return fail(Outcome::Failed, m_store.lastError());
        r.id = *key;
    }
    m_catalogued.noteWritten(r);
    // A rewritten record may have been, or may now be, the first of its serial; an added one
    // (its key is the highest) is the first only of a serial that had no record.
    if (existing) {
        m_labelOfSerial.remove(r.supporto);
        m_labelOfSerial.remove(existing->supporto);
    } else if (const auto it = m_labelOfSerial.constFind(r.supporto);
               it != m_labelOfSerial.cend() && it->isNotFound()) {
        m_labelOfSerial.erase(it);
    }

    if (generated && !announceLabel(r.labelD))
        return fail(Outcome::Failed, m_lastFailure);
    return existing ? Outcome::Updated : Outcome::Added;
}

// The record of a file's values on the medium `serial`, its texts cut as the catalogue keeps
// them; without key or label.
CatalogueRecord FileImport::recordOf(const ImportValues &v, const QString &serial)
{
    CatalogueRecord r;
    r.titolo = recordText(v.title, RecordCuts::kTitle);
    r.autore = recordText(v.artist, RecordCuts::kArtist);
    r.album = recordText(v.album, RecordCuts::kAlbum);
    r.anno = recordText(v.year, RecordCuts::kYear);
    r.genere = v.genre;
    r.commento = recordText(v.comment, RecordCuts::kComment);
    r.info = v.state;
    r.nome = v.baseName;
    r.percorso = v.folder;
    r.dimenzione = v.size;
    r.supporto = serial;
    return r;
}

// Tells the user the label just given to a new medium. It is made permanent first: the message
// may wait for a long time, and a program ended meanwhile must not lose it. False when the
// transaction could not be committed or begun again (m_lastFailure says why).
bool FileImport::announceLabel(const QString &label)
{
    const bool inTransaction = m_transaction.has_value();
    if (inTransaction && !commitTransaction())
        return false;
    m_dialogs.information(QString::fromUtf8(ImportTexts::kLabelTitle),
                          QString::fromUtf8(ImportTexts::kLabelMessage) + label +
                              QString::fromLatin1(ImportTexts::kLabelMessageEnd));
    forgetLabels();
    return !inTransaction || beginTransaction();
}

// classifyFile for a file readTag has just looked at: the mode comes from that look, and the
// volume of a file that is no symbolic link is the one of its folder, asked once per folder.
QString FileImport::stateWord(const QString &path, const QString &folder, TagOutcome outcome,
                              const FileFacts &facts)
{
    if (outcome == TagOutcome::Unreadable)
        return tagAndModeWord(outcome, std::nullopt);
    const QString word =
        tagAndModeWord(outcome, facts.known ? std::optional(facts.ownerWritable) : std::nullopt);
    if (!m_hasMediumEntry)
        return word;
    struct stat status;
    const bool link =
        ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
    const std::optional<VolumeInfo> volume =
        link ? m_volumes.volumeOf(path) : volumeOfFolder(folder);
    return volume ? mediumWord(word, m_driveTable, volume->mountPoint) : word;
}

// The label of a serial's first record, asked of the catalogue once for as long as riempi
// writes nothing that could change the answer.
Lookup<QString> FileImport::labelOfSerial(const QString &serial)
{
    if (!m_transaction)
        return m_store.labelOfSerial(serial);
    if (const auto it = m_labelOfSerial.constFind(serial); it != m_labelOfSerial.cend())
        return *it;
    const Lookup<QString> label = m_store.labelOfSerial(serial);
    if (!label.isFailed())
        m_labelOfSerial.insert(serial, label);
    return label;
}

void FileImport::forgetLabels()
{
    m_labelOfSerial.clear();
}

std::optional<VolumeInfo> FileImport::volumeOfFolder(const QString &folder)
{
    auto it = m_volumeOfFolder.constFind(folder);
    if (it == m_volumeOfFolder.cend())
        it = m_volumeOfFolder.insert(folder, m_volumes.volumeOf(folder));
    return *it;
}

// The drive list shows the label of the chosen drive. A file on another volume mounted below
// the chosen folder lies on a medium of its own, which is named by its own label.
QString FileImport::driveLabelOf(const VolumeInfo &volume) const
{
    if (volume.mountPoint == m_driveMountPoint)
        return m_driveLabel;
    return volume.label;
}

bool FileImport::beginTransaction()
{
    m_transaction.reset();
    m_transaction.emplace(m_store);
    if (m_transaction->isActive())
        return true;
    m_lastFailure = m_store.lastError();
    m_transaction.reset();
    return false;
}

bool FileImport::commitTransaction()
{
    const bool committed = m_transaction && m_transaction->commit();
    if (!committed)
        m_lastFailure = m_store.lastError();
    m_transaction.reset();
    return committed;
}

FileImport::Outcome FileImport::fail(Outcome outcome, const QString &reason)
{
    m_lastFailure = reason;
    // A failed write may have rolled the catalogue back.
    forgetLabels();
    if (outcome == Outcome::Failed)
        m_catalogued.clear();
    return outcome;
}
