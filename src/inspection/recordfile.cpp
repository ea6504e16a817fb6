#include "recordfile.h"

#include "platform/fileopen.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QLatin1StringView kExtension(".mp3");

bool isRegularFile(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

QString recordFilePath(const QString &folder, const QString &name)
{
    return folder + name + kExtension;
}

std::optional<QString> findRecordFile(const QString &folder, const QString &name)
{
    const QString expected = recordFilePath(folder, name);
    if (isRegularFile(expected))
        return expected;
    const QString upper = folder + name + QLatin1StringView(".MP3");
    if (isRegularFile(upper))
        return upper;

    // Any other spelling of the extension needs a look at the folder's entries, compared by
    // hand (the name may hold characters that are wildcards elsewhere). Whatever kind an entry
    // is, only a regular file (or a link to one) is taken.
    const qsizetype slash = expected.lastIndexOf(u'/');
    const QString directory = slash < 0 ? QStringLiteral(".") : expected.left(slash + 1);
    const QByteArray stem = QFile::encodeName(expected.mid(slash + 1).chopped(kExtension.size()));
    QStringList candidates;
    if (DIR *dir = ::opendir(QFile::encodeName(directory).constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArrayView entryName(entry->d_name);
            if (entryName.size() == stem.size() + kExtension.size() && entryName.startsWith(stem) &&
                qstrnicmp(entryName.sliced(stem.size()).data(), kExtension.data(),
                          kExtension.size()) == 0)
                candidates << QFile::decodeName(entry->d_name);
        }
        ::closedir(dir);
    }
    candidates.sort();
    for (const QString &entry : std::as_const(candidates)) {
        const QString path = directory + entry;
        if (isRegularFile(path))
            return path;
    }
    return std::nullopt;
}

QString resolveRecordFile(const QString &folder, const QString &name)
{
    return findRecordFile(folder, name).value_or(recordFilePath(folder, name));
}

int openRegularFile(const char *path, struct stat &info, bool *notARegularFile)
{
    const int fd = openUninterrupted(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    bool other = false;
    if (fd < 0) {
        other = errno == ENOENT;
    } else if (::fstat(fd, &info) == 0) {
        if (S_ISREG(info.st_mode))
            return fd;
        other = true;
    }
    if (fd >= 0)
        ::close(fd);
    if (notARegularFile)
        *notARegularFile = other;
    return -1;
}

bool opensForReading(const QString &path)
{
    struct stat info;
    const int fd = openRegularFile(QFile::encodeName(path).constData(), info);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
