#include "missingfilecheck.h"

#include "filechecks.h"
#include "maintenancetexts.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"

#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <optional>
#include <sys/stat.h>

Q_LOGGING_CATEGORY(lcMissing, "tracklodge.maintenance.missing")

namespace MissingFileCheck {

namespace {

using namespace MaintenanceTexts;

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

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
    if (findRecordFile(folder, name))
        return false;
    return systemSaysAbsent(recordFilePath(folder, name)) &&
           systemSaysAbsent(folder + name + QLatin1StringView(".MP3"));
}

QString entryText(const QString &fullName, const QString &key)
{
    return fullName + QLatin1StringView(kKeyOpen) + key + QLatin1StringView(kKeyClose);
}

QString keyOfEntry(const QString &entry)
{
    const QLatin1StringView open(kKeyOpen);
    const QLatin1StringView close(kKeyClose);
    const qsizetype length = entry.size();
    const auto markAt = [&entry](qsizetype p, QLatin1StringView mark) {
        return QStringView(entry).sliced(p).startsWith(mark);
    };
    QString key;
    bool inside = false;
    // 0-based: each marker is four characters; after a marker the position stands on its last
    // character and the step to the next one leaves it.
    for (qsizetype p = 0; p < length; ++p) {
        if (inside && markAt(p, close)) {
            inside = false;
            p += close.size() - 1;
        }
        if (inside)
            key += entry.at(p);
        if (markAt(p, open)) {
            inside = true;
            p += open.size() - 1;
        }
    }
    return key;
}

QStringList findMissing(const CatalogueModel &model)
{
    // The files are looked at several at once; the entries follow in grid order.
    const std::vector<char> missing = checkEach<char>(model.recordCount(), [&model](qsizetype i) {
        const int r = static_cast<int>(i);
        const QString state = model.cell(r, State);
        if (state == QLatin1String(StateWords::kCdRom) ||
            state == QLatin1String(StateWords::kRemovable))
            return false;
        // A row without a key is no record; there is nothing to remove from the catalogue.
        return model.key(r).has_value() &&
               isMissing(model.cell(r, Folder), model.cell(r, FileName));
    });
    QStringList entries;
    for (int r = 0; r < model.recordCount(); ++r) {
        if (missing[static_cast<size_t>(r)]) {
            entries << entryText(recordFilePath(model.cell(r, Folder), model.cell(r, FileName)),
                                 QString::number(*model.key(r)));
        }
    }
    return entries;
}

PurgeResult deleteEntries(CatalogueStore &store, const QStringList &entries)
{
    PurgeResult result;
    if (entries.isEmpty())
        return result;
    CatalogueStore::Transaction transaction(store);
    if (!transaction.isActive()) {
        for (const QString &entry : entries)
            result.failures << failure(entry, store.lastError());
        return result;
    }
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 key = keyOfEntry(entry).toLongLong(&numeric);
        if (!numeric) {
            result.failures << failure(entry, text(kNoKeyInEntry));
            continue;
        }
        // The key is read back from the entry's text; a file name that itself holds the marks
        // would give another number, so the record must still be the file the entry names.
        const std::optional<CatalogueRecord> record = store.recordById(key);
        if (!record) {
            const QString error = store.lastError();
            result.failures << failure(entry, error.isEmpty() ? text(kNoSuchRecord) : error);
            continue;
        }
        const GridRow shown = MettiDati(*record);
        if (entryText(recordFilePath(shown[Folder], shown[FileName]), shown[Key]) != entry) {
            result.failures << failure(entry, text(kNotTheListedFile));
            continue;
        }
        if (store.remove(key) != CatalogueStore::WriteResult::Done) {
            result.failures << failure(entry, store.lastError());
            continue;
        }
        ++result.deleted;
    }
    if (result.deleted > 0 && !transaction.commit()) {
        const QString error = store.lastError();
        qCWarning(lcMissing).noquote() << "missing entries not deleted:" << error;
        result.failures.clear();
        for (const QString &entry : entries)
            result.failures << failure(entry, error);
        result.deleted = 0;
    }
    return result;
}

} // namespace MissingFileCheck
