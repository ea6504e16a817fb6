#include "missingfilecheck.h"

#include "maintenancetexts.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/recordfile.h"
#include "utf8text.h"

#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <optional>
#include <sys/stat.h>

Q_LOGGING_CATEGORY(lcMissing, "tracklodge.maintenance.missing")

namespace MissingFileCheck {

namespace {

using namespace MaintenanceTexts;

// The file is missing only when the system says so: no such entry, or a folder on the way that
// is not there (or is not a folder).
bool systemSaysAbsent(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return false;
    return errno == ENOENT || errno == ENOTDIR;
}

QString failure(const QString &entry, const QString &reason)
{
    return text(kFileAndReason).arg(entry, reason);
}

} // namespace

bool isMissing(const QString &folder, const QString &name)
{
    return !findRecordFile(folder, name) && nothingThere(folder, name);
}

bool nothingThere(const QString &folder, const QString &name)
{
    return systemSaysAbsent(recordFilePath(folder, name)) &&
           systemSaysAbsent(folder + name + QLatin1StringView(".MP3"));
}

QString MissingEntry::text() const
{
    return fullName + QLatin1StringView(kKeyOpen) + QString::number(key) +
           QLatin1StringView(kKeyClose);
}

QList<MissingEntry> missingEntries(const CatalogueModel &model, const std::vector<FileLook> &looks)
{
    QList<MissingEntry> entries;
    for (int r = 0; r < model.recordCount(); ++r) {
        if (looks[static_cast<size_t>(r)].missing) {
            const CatalogueRecord record = model.record(r);
            entries << MissingEntry{record.id, recordFilePath(record.percorso, record.nome)};
        }
    }
    return entries;
}

PurgeResult deleteEntries(CatalogueStore &store, const QList<MissingEntry> &entries)
{
    PurgeResult result;
    if (entries.isEmpty())
        return result;
    CatalogueStore::Transaction transaction(store);
    if (!transaction.isActive()) {
        for (const MissingEntry &entry : entries)
            result.failures << failure(entry.text(), store.lastError());
        return result;
    }
    for (const MissingEntry &entry : entries) {
        // The record of the key may have been replaced meanwhile: it must still be the file the
        // entry names.
        const Lookup<CatalogueRecord> record = store.recordById(entry.key);
        if (!record.isFound()) {
            result.failures << failure(entry.text(),
                                       record.isFailed() ? store.lastError() : text(kNoSuchRecord));
            continue;
        }
        if (recordFilePath(record->percorso, record->nome) != entry.fullName) {
            result.failures << failure(entry.text(), text(kNotTheListedFile));
            continue;
        }
        if (store.remove(entry.key) != CatalogueStore::WriteResult::Done) {
            result.failures << failure(entry.text(), store.lastError());
            continue;
        }
        ++result.deleted;
    }
    if (result.deleted > 0 && !transaction.commit()) {
        const QString error = store.lastError();
        qCWarning(lcMissing).noquote() << "missing entries not deleted:" << error;
        result.failures.clear();
        for (const MissingEntry &entry : entries)
            result.failures << failure(entry.text(), error);
        result.deleted = 0;
    }
    return result;
}

} // namespace MissingFileCheck
