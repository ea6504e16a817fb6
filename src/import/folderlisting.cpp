#include "folderlisting.h"

#include "importtexts.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

// Closes the directory stream on every way out.
struct DirCloser
{
    void operator()(DIR *dir) const { ::closedir(dir); }
};

enum class Kind { Folder, File, Other };

Kind kindOfMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return Kind::Folder;
    return S_ISREG(mode) ? Kind::File : Kind::Other;
}

// A symbolic link is never followed into a folder (a link back up the tree would never end),
// while a link to a file, or a dangling one, counts as a file.
Kind kindOfLink(int dirFd, const char *name)
{
    struct stat target;
    if (::fstatat(dirFd, name, &target, 0) != 0)
        return Kind::File;
    const Kind kind = kindOfMode(target.st_mode);
    return kind == Kind::Folder ? Kind::Other : kind;
}

Kind kindOf(int dirFd, const dirent *entry)
{
    switch (entry->d_type) {
    case DT_DIR:
        return Kind::Folder;
    case DT_REG:
        return Kind::File;
    case DT_LNK:
        return kindOfLink(dirFd, entry->d_name);
    case DT_UNKNOWN:
        break;
    default:
        return Kind::Other;
    }
    // Some file systems do not give the type in the listing.
    struct stat status;
    if (::fstatat(dirFd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return Kind::Other;
    if (S_ISLNK(status.st_mode))
        return kindOfLink(dirFd, entry->d_name);
    return kindOfMode(status.st_mode);
}

bool hasMp3Extension(const char *name)
{
    constexpr size_t extension = sizeof(ImportTexts::kMp3Extension) - 1;
    const size_t length = qstrlen(name);
    return length >= extension &&
           qstrnicmp(name + length - extension, ImportTexts::kMp3Extension, extension) == 0;
}

char16_t folded(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    return QChar::toCaseFolded(c);
}

// Folder order: by name ignoring case, names equal but for case in exact text order. Most
// names are plain ASCII, which is folded here without a look at Unicode's tables.
bool folderOrderLess(const QString &a, const QString &b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a.at(i).unicode();
        const char16_t y = b.at(i).unicode();
        if (x == y)
            continue;
        const char16_t fx = folded(x);
        const char16_t fy = folded(y);
        if (fx != fy)
            return fx < fy;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

} // namespace

QString entryPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

FolderListing listFolder(const QString &folder)
{
    FolderListing listing;
    const QByteArray encoded = QFile::encodeName(folder);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(encoded.constData()));
    if (!dir)
        return listing;
    const int dirFd = ::dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                return {};
            break;
        }
        const char *name = entry->d_name;
        if (name[0] == '.')
            continue;
        // Only names that could be listed are worth a look at the entry's kind: links and
        // unknown kinds cost a system call each.
        const bool mp3Name = hasMp3Extension(name);
        if (!mp3Name && entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN)
            continue;
        switch (kindOf(dirFd, entry)) {
        case Kind::Folder:
            listing.subfolders << QFile::decodeName(name);
            break;
        case Kind::File:
            if (mp3Name)
                listing.mp3Files << QFile::decodeName(name);
            break;
        case Kind::Other:
            break;
        }
    }
    std::sort(listing.subfolders.begin(), listing.subfolders.end(), folderOrderLess);
    std::sort(listing.mp3Files.begin(), listing.mp3Files.end(), folderOrderLess);
    listing.readable = true;
    return listing;
}
