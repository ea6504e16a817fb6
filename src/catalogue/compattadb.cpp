#include "compattadb.h"

#include "cataloguestore.h"
#include "cataloguetexts.h"
#include "platform/dialogs.h"

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

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

bool renameFile(const QString &from, const QString &to, QString &reason)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    reason = systemReason(errno);
    return false;
}

// Flushes a file or a folder to disk; the error number, or 0.
int flushToDisk(const QString &path, int flags)
{
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
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

// Reopens the store after its connection was closed for the rename.
CompactionResult reopen(CatalogueStore &store, CompactionResult result)
{
    if (!store.open() && result.ok())
        result.errorText = text(CatalogueTexts::kCannotReopen).arg(store.lastError());
    return result;
}

} // namespace

CompactionResult compactCatalogue(CatalogueStore &store, const ReplaceFile &replace)
{
    const QString catalogue = store.path();
    const QString folder = QFileInfo(catalogue).absolutePath();
    const QString work = folder + u'/' + QLatin1String(kCompactionWorkFile);

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
    // SQLite does not flush the copy it writes; it must be on disk before it replaces the
    // catalogue, or a crash could leave a renamed but empty file.
    if (const int error = flushToDisk(work, O_RDONLY)) {
        removeWorkFile(work, reason);
        return {text(CatalogueTexts::kCannotFlushCopy).arg(work, systemReason(error))};
    }

    store.close();
    const ReplaceFile &put = replace ? replace : ReplaceFile(renameFile);
    if (!put(work, catalogue, reason)) {
        QString ignored;
        removeWorkFile(work, ignored);
        return reopen(store, {text(CatalogueTexts::kCannotReplace).arg(catalogue, reason)});
    }
    // The rename itself is on disk only once the folder is.
    if (const int error = flushToDisk(folder, O_RDONLY | O_DIRECTORY))
        qCWarning(lcCompaction) << "cannot flush the catalogue folder:" << systemReason(error);
    return reopen(store, {});
}

bool CompattaDB(CatalogueStore &store, Dialogs &dialogs, const BusyPointer &busy,
                const ReplaceFile &replace)
{
    if (busy.show)
        busy.show();
    const CompactionResult result = compactCatalogue(store, replace);
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
