#include "compattadb.h"

#include "cataloguepath.h"
#include "cataloguestore.h"
#include "cataloguetexts.h"
#include "platform/dialogs.h"
#include "platform/fileopen.h"
#include "utf8text.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcCompaction, "tracklodge.catalogue.compaction")

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Removes the work file; a directory or anything else that cannot go is a failure.
bool removeWorkFile(const QString &path, QString &reason)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        if (errno == ENOENT)
            return true;
        reason = systemReason(errno);
        return false;
    }
    if (::unlink(QFile::encodeName(path).constData()) == 0)
        return true;
    reason = systemReason(errno);
    return false;
}

// The file a compaction replaces: the final target when the catalogue is a symbolic link, so
// that the link stays and keeps leading to the compacted catalogue.
QString replacedFile(const QString &catalogue)
{
    const QString target = QFileInfo(catalogue).canonicalFilePath();
    return target.isEmpty() ? catalogue : target;
}

// "Temp.mdb" beside the catalogue. A link may lead to a catalogue of another name in a folder
// that holds other catalogues as well: its work file carries its name, so that two compactions
// there never take each other's work file for a left-over.
QString workFileFor(const QString &catalogue)
{
    const QFileInfo info(catalogue);
    const QString work = QLatin1String(kCompactionWorkFile);
    if (info.fileName() == QLatin1String(kCatalogueFileName))
        return info.absolutePath() + u'/' + work;
    return info.absolutePath() + u'/' + info.fileName() + u'.' + work;
}

// The copy takes the catalogue's owner, group and permission bits: a catalogue kept private
// must not turn world-readable, nor one shared in a group become the property of whoever
// compacted it last.
bool takeOwnership(const QString &catalogue, const QString &work, QString &reason)
{
    struct stat original;
    struct stat copy;
    const QByteArray workName = QFile::encodeName(work);
    if (::stat(QFile::encodeName(catalogue).constData(), &original) != 0 ||
        ::stat(workName.constData(), &copy) != 0) {
        reason = systemReason(errno);
        return false;
    }
    // chown before chmod: a change of owner may clear set-id bits.
    if ((copy.st_uid != original.st_uid || copy.st_gid != original.st_gid) &&
        ::chown(workName.constData(), original.st_uid, original.st_gid) != 0) {
        reason = systemReason(errno);
        return false;
    }
    if (::chmod(workName.constData(), original.st_mode & 07777) != 0) {
        reason = systemReason(errno);
        return false;
    }
    return true;
}

// The copy is checked as any catalogue is when opened; the reason when it fails.
bool copyIsSound(const QString &work, QString &reason)
{
    CatalogueStore copy(work);
    if (copy.open())
        return true;
    reason = copy.refusal().isEmpty() ? copy.lastError() : copy.refusal();
    return false;
}

// Reopens the store after its connection was closed for the rename. The file it opens is either
// the catalogue as it was or the copy that has just passed the check, so it is not checked again.
CompactionResult reopen(CatalogueStore &store, CompactionResult result)
{
    if (!store.open(CatalogueStore::IntegrityCheck::Skip) && result.ok())
        result.errorText = text(CatalogueTexts::kCannotReopen).arg(store.lastError());
    return result;
}

} // namespace

bool renameIntoPlace(const QString &from, const QString &to, QString &reason)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    reason = systemReason(errno);
    return false;
}

int flushToDisk(const QString &path)
{
    const int fd = openUninterrupted(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

CompactionResult compactCatalogue(CatalogueStore &store, const CompactionFiles &files)
{
    const QString catalogue = replacedFile(store.path());
    const QString folder = QFileInfo(catalogue).absolutePath();
    const QString work = workFileFor(catalogue);
    const ReplaceFile &replace = files.replace ? files.replace : ReplaceFile(renameIntoPlace);
    const FlushFile &flush = files.flush ? files.flush : FlushFile(flushToDisk);

    // With the atomic rename a left-over work file is never the only copy of the catalogue,
    // so it can simply go.
    QString reason;
    if (!removeWorkFile(work, reason))
        return {text(CatalogueTexts::kWorkFileInTheWay).arg(work, reason)};

    if (!store.vacuumInto(work)) {
        const QString error = store.lastError();
        removeWorkFile(work, reason);
        return {text(CatalogueTexts::kCannotWriteCopy).arg(work, error)};
    }
    if (!takeOwnership(catalogue, work, reason)) {
        QString ignored;
        removeWorkFile(work, ignored);
        return {text(CatalogueTexts::kCannotCopyOwnership).arg(work, reason)};
    }
    // SQLite does not flush the copy it writes; it must be on disk before it replaces the
    // catalogue, or a crash could leave a renamed but empty file.
    if (const int error = flush(work)) {
        removeWorkFile(work, reason);
        return {text(CatalogueTexts::kCannotFlushCopy).arg(work, systemReason(error))};
    }
    if (!copyIsSound(work, reason)) {
        QString ignored;
        removeWorkFile(work, ignored);
        return {text(CatalogueTexts::kCopyUnsound).arg(work, reason)};
    }

    store.close();
    if (!replace(work, catalogue, reason)) {
        QString ignored;
        removeWorkFile(work, ignored);
        return reopen(store, {text(CatalogueTexts::kCannotReplace).arg(catalogue, reason)});
    }
    // The rename itself is on disk only once the folder is.
    if (const int error = flush(folder))
        qCWarning(lcCompaction) << "cannot flush the catalogue folder:" << systemReason(error);
    return reopen(store, {});
}

bool CompattaDB(CatalogueStore &store, Dialogs &dialogs, const BusyPointer &busy,
                const CompactionFiles &files)
{
    if (busy.show)
        busy.show();
    const CompactionResult result = compactCatalogue(store, files);
    if (busy.restore)
        busy.restore();
    if (result.ok())
        return true;
    qCWarning(lcCompaction).noquote() << result.errorText;
    dialogs.critical(text(CatalogueTexts::kCompactionTitle),
                     text(CatalogueTexts::kCompactionFailed) + result.errorText +
                         text(CatalogueTexts::kCompactionEnd));
    return false;
}
