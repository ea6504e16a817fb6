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

bool isAscii(const char *name)
{
    for (const char *c = name; *c; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80)
            return false;
    }
    return true;
}

// A name as text: `faithful` when the text leads back to the file, that is when the name is
// UTF-8 that decodes and encodes again to the same bytes; anything else (a Latin-1 name from an
// old system, say) is decoded lossily. ASCII, most names, is the same text in every encoding.
QString decodedName(const char *name, bool &faithful)
{
    if (isAscii(name)) {
        faithful = true;
        return QString::fromLatin1(name);
    }
    QString decoded = QFile::decodeName(name);
    faithful = QFile::encodeName(decoded) == QByteArrayView(name);
    return decoded;
}

// The length of a UTF-8 sequence from its first byte; 0 for a byte no sequence starts with.
qsizetype sequenceLength(unsigned char first)
{
    if (first < 0x80)
        return 1;
    if ((first & 0xe0) == 0xc0)
        return 2;
    if ((first & 0xf0) == 0xe0)
        return 3;
    return (first & 0xf8) == 0xf0 ? 4 : 0;
}

// A name as it can be shown: its valid UTF-8 sequences as text, every other byte as "\xNN".
QString shownName(QByteArrayView name)
{
    QString shown;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype length = sequenceLength(static_cast<unsigned char>(name.at(i)));
        const QByteArrayView sequence = name.sliced(i, std::min(length, name.size() - i));
        if (length > 0 && sequence.size() == length && sequence.isValidUtf8()) {
            shown += QString::fromUtf8(sequence);
            i += length;
        } else {
            shown += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(name.at(i)), 2, 16,
                                                 QLatin1Char('0'));
            ++i;
        }
    }
    return shown;
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
    // Made in one allocation: the disk search makes one for every file it finds.
    const bool slash = !folder.endsWith(u'/');
    QString path;
    path.reserve(folder.size() + (slash ? 1 : 0) + name.size());
    path.append(folder);
    if (slash)
        path.append(u'/');
    return path.append(name);
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
        const Kind kind = kindOf(dirFd, entry);
        if (kind == Kind::Other || (kind == Kind::File && !mp3Name))
            continue;
        const bool isFolder = kind == Kind::Folder;
        bool faithful = false;
        const QString decoded = decodedName(name, faithful);
        if (faithful)
            (isFolder ? listing.subfolders : listing.mp3Files) << decoded;
        else
            (isFolder ? listing.undecodableSubfolders : listing.undecodableMp3Files)
                << shownName(name);
    }
    std::sort(listing.subfolders.begin(), listing.subfolders.end(), folderOrderLess);
    std::sort(listing.mp3Files.begin(), listing.mp3Files.end(), folderOrderLess);
    std::sort(listing.undecodableSubfolders.begin(), listing.undecodableSubfolders.end());
    std::sort(listing.undecodableMp3Files.begin(), listing.undecodableMp3Files.end());
    listing.readable = true;
    return listing;
}
