#include "filelook.h"

#include "filechecks.h"
#include "maintenancetexts.h"
#include "missingfilecheck.h"

#include "grid/cataloguemodel.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"
#include "tags/tagblock.h"
#include "utf8text.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace MaintenanceTexts;

int openForReading(const char *path)
{
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens `path` when it is a regular file; -1 otherwise, with `notARegularFile` set when nothing
// is there or what is there opened and is something else (a folder, a FIFO).
int openRegularFile(const char *path, struct stat &info, bool &notARegularFile)
{
    const int fd = openForReading(path);
    if (fd < 0) {
        notARegularFile = errno == ENOENT;
        return -1;
    }
    if (::fstat(fd, &info) == 0) {
        if (S_ISREG(info.st_mode))
            return fd;
        notARegularFile = true;
    }
    ::close(fd);
    return -1;
}

int openRegularFile(const char *path, struct stat &info)
{
    bool notARegularFile = false;
    return openRegularFile(path, info, notARegularFile);
}

// Reads whether the open file ends in a tag block. A file shorter than a block has no place
// for one and is left as it is.
void lookForTag(int fd, const struct stat &info, FileLook &look)
{
    look.opened = true;
    look.device = info.st_dev;
    look.inode = info.st_ino;
    look.mode = info.st_mode;
    look.tag = TagLook::LeaveAlone;
    if (info.st_size < TagLayout::kBlockSize)
        return;
    char marker[TagLayout::kMarkerWidth];
    const ssize_t n = ::pread(fd, marker, sizeof marker, info.st_size - TagLayout::kBlockSize);
    if (n != static_cast<ssize_t>(sizeof marker)) {
        look.reason = text(kCannotReadFile);
        look.tag = TagLook::Failed;
    } else if (!hasTagMarker(QByteArrayView(marker, sizeof marker))) {
        look.tag = TagLook::NeedsTag;
    }
}

// Looks at the file found under `path` (one that is not the expected name), or notes that it
// cannot be read.
void lookAtFoundFile(const QString &path, FileLook &look)
{
    look.path = path;
    struct stat info;
    const int fd = openRegularFile(QFile::encodeName(path).constData(), info);
    if (fd < 0) {
        look.reason = text(kCannotReadFile);
        look.tag = TagLook::Failed;
        return;
    }
    lookForTag(fd, info, look);
    ::close(fd);
}

} // namespace

FileLook lookAtRow(const CatalogueModel &model, int row, LookFor what)
{
    FileLook look;
    const QByteArrayView state = model.cellUtf8(row, State);
    const bool onMedium = state == QByteArrayView(StateWords::kCdRom) ||
                          state == QByteArrayView(StateWords::kRemovable);
    const bool askMissing =
        (int(what) & int(LookFor::Missing)) && !onMedium && model.key(row).has_value();
    const bool askTag = (int(what) & int(LookFor::Tag)) && !onMedium &&
                        state != QByteArrayView(StateWords::kReadOnly);
    if (!askMissing && !askTag)
        return look;

    // Nearly always the expected name is the file, and otherwise mostly the name with ".MP3"
    // (findRecordFile's next choice once nothing but a missing or odd entry has the first name):
    // opening it answers both questions. Names are kept as UTF-8, the system's encoding of
    // file names.
    if (askTag) {
        QByteArray path;
        const QByteArrayView folder = model.cellUtf8(row, Folder);
        const QByteArrayView name = model.cellUtf8(row, FileName);
        path.reserve(folder.size() + name.size() + 4);
        path.append(folder).append(name).append(".mp3");
        struct stat info;
        bool notARegularFile = false;
        int fd = openRegularFile(path.constData(), info, notARegularFile);
        if (fd < 0 && notARegularFile) {
            path.replace(path.size() - 3, 3, "MP3");
            fd = openRegularFile(path.constData(), info);
            if (fd >= 0)
                look.path = QString::fromUtf8(path);
        }
        if (fd >= 0) {
            lookForTag(fd, info, look);
            ::close(fd);
            return look;
        }
    }
    // The long way: the folder's entries for any other spelling of the extension.
    const QString folder = model.cell(row, Folder);
    const QString name = model.cell(row, FileName);
    const std::optional<QString> found = findRecordFile(folder, name);
    if (askMissing)
        look.missing = !found && MissingFileCheck::nothingThere(folder, name);
    if (!askTag)
        return look;
    if (found) {
        lookAtFoundFile(*found, look);
    } else {
        look.path = recordFilePath(folder, name);
        look.reason = text(kFileNotFound);
        look.tag = TagLook::Failed;
    }
    return look;
}

std::vector<FileLook> lookAtRows(const CatalogueModel &model, LookFor what)
{
    return checkEach<FileLook>(model.recordCount(), [&model, what](qsizetype r) {
        return lookAtRow(model, static_cast<int>(r), what);
    });
}
