#include "tagcompletion.h"

#include "maintenancetexts.h"
#include "rowrewrite.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "inspection/recordfile.h"
#include "tags/genretable.h"
#include "tags/tagfile.h"
#include "utf8text.h"

#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <utility>
#include <vector>

Q_LOGGING_CATEGORY(lcCompletion, "tracklodge.maintenance.completion")

namespace {

using namespace MaintenanceTexts;

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool needsWriteBit(const FileLook &look)
{
    return look.opened && !(look.mode & S_IWUSR);
}

// Makes the looked-at file writable by its owner when it is not. A failure is noted; the tag
// write then fails on its own if the file stays unwritable.
void addMissingOwnerWriteBit(const FileLook &look, const QString &path)
{
    if (needsWriteBit(look) &&
        ::chmod(QFile::encodeName(path).constData(), (look.mode & 07777) | S_IWUSR) != 0)
        qCWarning(lcCompletion) << "cannot make writable:" << path << systemReason();
}

} // namespace

CompletionResult CompleteMissingTags(CatalogueStore &store, const CatalogueModel &model,
                                     Dialogs &dialogs, const BusyPointer &busy,
                                     std::vector<FileLook> looks)
{
    CompletionResult result;
    std::optional<CatalogueStore::Transaction> transaction;
    int rewritten = 0;
    const auto fail = [&result](const QString &path, const QString &reason) {
        qCWarning(lcCompletion).noquote() << "tag not completed:" << path << reason;
        result.failures << text(kFileAndReason).arg(path, reason);
    };

    // The files were looked at before any is written; what was found is handled row by row.
    // Files given a tag so far: a file behind two records is looked at again once written.
    std::set<std::pair<dev_t, ino_t>> written;
    for (int r = 0; r < model.recordCount(); ++r) {
        FileLook look = std::move(looks[static_cast<size_t>(r)]);
        if (look.tag == TagLook::Skipped)
            continue;
        if (look.opened && written.count({look.device, look.inode}) > 0)
            look = lookAtRow(model, r, LookFor::Tag);
        // Nearly every file has its tag and its write bit: nothing to do, no name to make.
        if (look.tag == TagLook::LeaveAlone && !needsWriteBit(look))
            continue;
        // Only a file that gets a tag needs the rest of its record.
        const CatalogueRecord record = look.path.isEmpty() || look.tag == TagLook::NeedsTag
                                           ? model.record(r)
                                           : CatalogueRecord();
        const QString path =
            look.path.isEmpty() ? recordFilePath(record.percorso, record.nome) : look.path;
        addMissingOwnerWriteBit(look, path);
        if (look.tag == TagLook::Failed)
            fail(path, look.reason);
        if (look.tag != TagLook::NeedsTag)
            continue;
        if (const QString why = rewriteRowRecord(store, transaction, record); !why.isEmpty()) {
            fail(path, why);
            continue;
        }
        ++rewritten;
        TagValues values;
        values.title = record.titolo;
        values.artist = record.autore;
        values.album = record.album;
        values.year = record.anno;
        values.comment = record.commento;
        // The record keeps the grid's values even when the block cannot be written: they are
        // the values it was loaded with.
        const TagWriteResult tagged = writeTag(path, values, genreByteOf(record.genere));
        written.insert({look.device, look.inode});
        if (!tagged.ok()) {
            fail(path, tagged.errorText);
            continue;
        }
        ++result.completed;
    }

    if (rewritten == 0)
        return result;
    if (!transaction->commit()) {
        qCWarning(lcCompletion).noquote() << "completed records not written:" << store.lastError();
        result.failures << text(kRecordNotWritten).arg(store.lastError());
        return result;
    }
    result.compacted = CompattaDB(store, dialogs, busy);
    return result;
}
