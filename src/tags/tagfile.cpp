#include "tagfile.h"

#include "tagblock.h"
#include "tagtexts.h"
#include "windows1252.h"

#include "platform/fileopen.h"

#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcTags, "tracklodge.tags")

using namespace TagLayout;

namespace {

// Owns a file descriptor and closes it on every way out.
class FileHandle
{
public:
    explicit FileHandle(int fd)
        : m_fd(fd)
    {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    /// Closes now and reports whether the system accepted the close (some file systems report
    /// a failed write only there).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Opening with O_NONBLOCK keeps a FIFO from blocking the open; such a path is then refused as
// not a regular file.
int openFile(const QString &path, int mode)
{
    return openUninterrupted(QFile::encodeName(path).constData(), mode | O_CLOEXEC | O_NONBLOCK);
}

// Reads or writes all of `size` bytes at `offset` in as many calls as the system needs.
bool readAt(int fd, char *data, qsizetype size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pread(fd, data, static_cast<size_t>(size), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

bool writeAt(int fd, const char *data, qsizetype size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, static_cast<size_t>(size), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

TagWriteResult failure(const QString &path, const QString &reason, int error = errno)
{
    qCWarning(lcTags) << "tag write failed:" << path << reason << "errno" << error;
    return {QString::fromUtf8(TagTexts::kWriteFailed).arg(path, reason)};
}

TagWriteResult failure(const QString &path, const char *reason, int error = errno)
{
    return failure(path, QString::fromUtf8(reason), error);
}

// An ID3v1.1 tag keeps a track number in the last byte of the comment field, after a NUL: a
// new comment short enough to leave that room keeps the old block's number, which every other
// tag program shows.
void keepTrackNumber(QByteArray &block, QByteArrayView old, const QString &comment)
{
    const char trackMarker = old[kTrackMarkerOffset];
    const char track = old[kTrackOffset];
    if (trackMarker == '\0' && track != '\0' &&
        toWindows1252(comment).size() <= kCommentWidthWithTrack) {
        block[kTrackMarkerOffset] = '\0';
        block[kTrackOffset] = track;
    }
}

} // namespace

QString fileBaseName(const QString &path)
{
    const QStringView name = QStringView(path).sliced(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return (dot < 0 ? name : name.first(dot)).toString();
}

TagReadResult readTag(const QString &path)
{
    FileFacts facts;
    return readTag(path, facts);
}

TagReadResult readTag(const QString &path, FileFacts &facts)
{
    return readTag(path, fileBaseName(path), facts);
}

TagReadResult readTag(const QString &path, const QString &baseName, FileFacts &facts)
{
    facts = {};
    FileHandle file(openFile(path, O_RDONLY));
    if (!file.isOpen())
        return {};
    struct stat info;
    if (::fstat(file.fd(), &info) != 0)
        return {};
    facts.known = true;
    facts.regular = S_ISREG(info.st_mode);
    facts.size = info.st_size;
    facts.ownerWritable = (info.st_mode & S_IWUSR) != 0;
    if (!facts.regular || info.st_size < kBlockSize)
        return {};
    char block[kBlockSize];
    if (!readAt(file.fd(), block, kBlockSize, info.st_size - kBlockSize))
        return {};
    file.close();
    return decodeTagBlock(QByteArrayView(block, kBlockSize), baseName);
}

TagWriteResult writeTag(const QString &path, const TagValues &values, int genreByte)
{
    QByteArray block = encodeTagBlock(values, genreByte);
    if (block.isEmpty())
        return failure(path, QString::fromUtf8(TagTexts::kBadGenre).arg(genreByte));

    // No O_CREAT: a path that does not name an existing file is an error, never a new file.
    FileHandle file(openFile(path, O_RDWR));
    if (!file.isOpen())
        return failure(path, errno == ENOENT   ? TagTexts::kNoSuchFile
                             : errno == EISDIR ? TagTexts::kNotAFile
                                               : TagTexts::kCannotOpen);
    struct stat info;
    if (::fstat(file.fd(), &info) != 0)
        return failure(path, TagTexts::kCannotRead);
    if (!S_ISREG(info.st_mode))
        return failure(path, TagTexts::kNotAFile);

    const off_t length = info.st_size;
    char old[kBlockSize];
    bool tagged = false;
    if (length >= kBlockSize) {
        if (!readAt(file.fd(), old, kBlockSize, length - kBlockSize))
            return failure(path, TagTexts::kCannotRead);
        tagged = hasTagMarker(QByteArrayView(old, kBlockSize));
    }
    const off_t offset = tagged ? length - kBlockSize : length;
    if (tagged)
        keepTrackNumber(block, QByteArrayView(old, kBlockSize), values.comment);

    if (!writeAt(file.fd(), block.constData(), kBlockSize, offset)) {
        const int writeError = errno;
        if (!tagged) {
            // An append that stopped halfway is cut back, so the audio ends where it did.
            if (::ftruncate(file.fd(), length) == 0)
                return failure(path, TagTexts::kCannotWrite, writeError);
        } else if (writeAt(file.fd(), old, kBlockSize, offset)) {
            return failure(path, TagTexts::kCannotWrite, writeError);
        }
        return failure(path, TagTexts::kPartlyWritten, writeError);
    }
    if (!file.close())
        return failure(path, TagTexts::kCannotClose);
    return {};
}
