#include "tagcompletion.h"

#include "filechecks.h"
#include "maintenancetexts.h"
#include "rowrewrite.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"
#include "tags/genretable.h"
#include "tags/tagblock.h"
#include "tags/tagfile.h"
#include "tags/windows1252.h"
#include "utf8text.h"

#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

Q_LOGGING_CATEGORY(lcCompletion, "tracklodge.maintenance.completion")

namespace {

using namespace MaintenanceTexts;

constexpr int kBlankByte = 32;

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool skippedState(const QString &stateWord)
{
    return stateWord == QLatin1String(StateWords::kReadOnly) ||
           stateWord == QLatin1String(StateWords::kCdRom) ||
           stateWord == QLatin1String(StateWords::kRemovable);
}

// What the look at one file found.
enum class FileCheck { NeedsTag, LeaveAlone, Failed, Skipped };

// The look at one row's file, kept until the rows are handled in order.
struct FileLook
{
    FileCheck check = FileCheck::Skipped;
    QString path;
    QString reason;      ///< why the look failed
    QString notWritable; ///< why the file could not be made owner-writable, when it could not
    bool opened = false; ///< the file was opened: device and inode say which one it is
    dev_t device = 0;
    ino_t inode = 0;
};

int openForReading(const QString &path)
{
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens the record's file for reading and returns the descriptor, or -1 with the reason. The
// expected name is nearly always the file, so it is opened straight away; only when it is not a
// regular file is the folder searched for another spelling of the extension.
int openRecordFile(const QString &folder, const QString &name, QString &path, struct stat &info,
                   QString &reason)
{
    path = recordFilePath(folder, name);
    int fd = openForReading(path);
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        return fd;
    if (fd >= 0)
        ::close(fd);
    const std::optional<QString> found = findRecordFile(folder, name);
    if (!found) {
        reason = text(kFileNotFound);
        return -1;
    }
    path = *found;
    fd = openForReading(path);
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        return fd;
    if (fd >= 0)
        ::close(fd);
    reason = text(kCannotReadFile);
    return -1;
}

// Opens the file once: makes it owner-writable when it is not, and looks for the tag marker.
FileCheck checkFile(const QString &folder, const QString &name, FileLook &look)
{
    struct stat info;
    const int fd = openRecordFile(folder, name, look.path, info, look.reason);
    if (fd < 0)
        return FileCheck::Failed;
    look.opened = true;
    look.device = info.st_dev;
    look.inode = info.st_ino;
    // A failed change is noted; the file is still looked at, and the tag write then fails on
    // its own if the file stays unwritable.
    if (!(info.st_mode & S_IWUSR) && ::fchmod(fd, (info.st_mode & 07777) | S_IWUSR) != 0)
        look.notWritable = systemReason();
    FileCheck check = FileCheck::LeaveAlone;
    // A file shorter than a tag block is left unchanged: there is no place to look for one.
    if (info.st_size >= TagLayout::kBlockSize) {
        char marker[TagLayout::kMarkerWidth];
        const ssize_t n = ::pread(fd, marker, sizeof marker, info.st_size - TagLayout::kBlockSize);
        if (n != static_cast<ssize_t>(sizeof marker)) {
            look.reason = text(kCannotReadFile);
            check = FileCheck::Failed;
        } else if (!hasTagMarker(QByteArrayView(marker, sizeof marker))) {
            check = FileCheck::NeedsTag;
        }
    }
    ::close(fd);
    return check;
}

FileLook lookAt(const CatalogueModel &model, int r)
{
    FileLook look;
    if (!skippedState(model.cell(r, State)))
        look.check = checkFile(model.cell(r, Folder), model.cell(r, FileName), look);
    return look;
}

} // namespace

int completionGenreByte(const QString &genreName)
{
    const int index = genreIndex(genreName);
    if (index >= 0)
        return index;
    if (genreName.isEmpty())
        return kBlankByte;
    // The first character, a surrogate pair counting as one.
    const qsizetype width = genreName.size() > 1 && genreName.at(0).isHighSurrogate() &&
                                    genreName.at(1).isLowSurrogate()
                                ? 2
                                : 1;
    return static_cast<unsigned char>(toWindows1252(QStringView(genreName).first(width)).at(0));
}

CompletionResult CompleteMissingTags(CatalogueStore &store, const CatalogueModel &model,
                                     Dialogs &dialogs, const BusyPointer &busy)
{
    CompletionResult result;
    std::optional<CatalogueStore::Transaction> transaction;
    int rewritten = 0;
    const auto fail = [&result](const QString &path, const QString &reason) {
        qCWarning(lcCompletion).noquote() << "tag not completed:" << path << reason;
        result.failures << text(kFileAndReason).arg(path, reason);
    };

    // The files are looked at several at once; what was found is handled row by row, in order.
    std::vector<FileLook> looks = checkEach<FileLook>(
        model.recordCount(), [&model](qsizetype r) { return lookAt(model, static_cast<int>(r)); });
    // Files given a tag so far: a file behind two records is looked at again once written.
    std::set<std::pair<dev_t, ino_t>> written;
    for (int r = 0; r < model.recordCount(); ++r) {
        FileLook look = std::move(looks[static_cast<size_t>(r)]);
        if (look.check == FileCheck::Skipped)
            continue;
        if (look.opened && written.count({look.device, look.inode}) > 0)
            look = lookAt(model, r);
        const QString &path = look.path;
        if (!look.notWritable.isEmpty())
            qCWarning(lcCompletion) << "cannot make writable:" << path << look.notWritable;
        if (look.check == FileCheck::Failed)
            fail(path, look.reason);
        if (look.check != FileCheck::NeedsTag)
            continue;
        // Only a file that gets a tag needs the rest of its row.
        const GridRow row = model.row(r);

        if (const QString why = rewriteRowRecord(store, transaction, row, model.key(r), row[State]);
            !why.isEmpty()) {
            fail(path, why);
            continue;
        }
        ++rewritten;
        TagValues values;
        values.title = row[Title];
        values.artist = row[Artist];
        values.album = row[Album];
        values.year = row[Year];
        values.comment = row[Comment];
        // The record keeps the grid's values even when the block cannot be written: they are
        // the values it was loaded with.
        const TagWriteResult tagged = writeTag(path, values, completionGenreByte(row[Genre]));
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
