#include "benchutil.h"
#include "scenarios.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "import/fileimport.h"
#include "import/searchfolder.h"
#include "inspection/collectioncounters.h"
#include "inspection/drivetable.h"
#include "platform/dialogs.h"
#include "platform/drivelistentry.h"
#include "platform/linuxvolumes.h"
#include "tags/taglibid3v2reader.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace Bench {

namespace {

constexpr int kArtists = 100;
constexpr int kAlbumsPerArtist = 10;
constexpr int kTracksPerAlbum = 10;
constexpr qsizetype kTagSize = 128;

constexpr int kWalkFolders = 1000;
constexpr int kWalkFilesPerFolder = 100;

// The import's messages have no one to read them here.
class SilentDialogs : public Dialogs
{
public:
    void critical(const QString &, const QString &) override {}
    bool question(const QString &, const QString &) override { return false; }
    void information(const QString &, const QString &) override {}
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
};

// The files of a tree: ID3v1 tags only, or a quarter of them with an ID3v2 tag only.
enum class Corpus { Id3v1, QuarterId3v2Only };

// An ID3v2.3 tag as tag programs write it: Latin-1 text frames, a comment, a numeric genre and
// some padding.
QByteArray id3v2Tag(int i)
{
    QByteArray frames;
    const auto frame = [&frames](const char *id, const QByteArray &data) {
        const qsizetype size = data.size();
        frames += QByteArray(id) + char(size >> 24) + char((size >> 16) & 0xFF) +
                  char((size >> 8) & 0xFF) + char(size & 0xFF) + QByteArray(2, '\0') + data;
    };
    const QByteArray latin1(1, '\0');
    frame("TIT2", latin1 + "Brano v2 numero " + QByteArray::number(i));
    frame("TPE1", latin1 + "Artista " + QByteArray::number(i / 100));
    frame("TALB", latin1 + "Album " + QByteArray::number(i / 10));
    frame("TYER", latin1 + QByteArray::number(1960 + i % 60));
    frame("TCON", latin1 + "(" + QByteArray::number(i % 148) + ")");
    frame("COMM", latin1 + "ita" + '\0' + "Commento \xE8");
    frames += QByteArray(256, '\0');
    const qsizetype size = frames.size();
    return QByteArray("ID3\x03\x00\x00", 6) + char((size >> 21) & 0x7F) +
           char((size >> 14) & 0x7F) + char((size >> 7) & 0x7F) + char(size & 0x7F) + frames;
}

// Two silent MPEG-1 Layer III frames, then (most of the time) a tag.
QByteArray fileContents(int i, Corpus corpus)
{
    QByteArray frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x64';
    QByteArray bytes = frame.repeated(2);
    if (corpus == Corpus::QuarterId3v2Only && i % 4 == 3)
        return id3v2Tag(i) + bytes;
    switch (i % 40) {
    case 0:
        return {}; // empty
    case 1:
        return bytes.left(100); // shorter than a tag
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
        return bytes; // untagged, 15 %
    default:
        break;
    }
    const auto field = [&bytes](const QByteArray &text, qsizetype width) {
        bytes.append(text.left(width));
        bytes.append(width - qMin(text.size(), width), ' ');
    };
    bytes.append("TAG");
    field("Brano numero " + QByteArray::number(i), 30);
    field("Artista " + QByteArray::number(i / (kAlbumsPerArtist * kTracksPerAlbum)), 30);
    field("Album " + QByteArray::number(i / kTracksPerAlbum), 30);
    field(QByteArray::number(1960 + i % 60), 4);
    field("Commento \xE8", 30);
    bytes.append(static_cast<char>(i % 148));
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Artist/album folders of ten tracks each, with a cover picture beside them.
qsizetype writeMusicTree(const QString &root, Corpus corpus)
{
    int i = 0;
    for (int artist = 0; artist < kArtists; ++artist) {
        for (int album = 0; album < kAlbumsPerArtist; ++album) {
            const QString folder =
                QStringLiteral("%1/Artista %2/Album %3").arg(root).arg(artist).arg(album);
            if (!QDir().mkpath(folder))
                qFatal("cannot make %s", qPrintable(folder));
            writeFile(folder + QStringLiteral("/cover.jpg"), QByteArray(64, 'j'));
            for (int track = 0; track < kTracksPerAlbum; ++track, ++i) {
                writeFile(QStringLiteral("%1/%2 - Brano %3.mp3").arg(folder).arg(track + 1).arg(i),
                          fileContents(i, corpus));
            }
        }
    }
    return i;
}

// The plainest walk: every folder read once, files ending in ".mp3" kept, nothing sorted.
void plainWalk(const std::string &folder, std::vector<std::string> &found)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.')
            continue;
        const std::string path = folder + '/' + name;
        if (entry->d_type == DT_DIR) {
            plainWalk(path, found);
        } else {
            const size_t length = std::strlen(name);
            if (length >= 4 && ::strncasecmp(name + length - 4, ".mp3", 4) == 0)
                found.push_back(path);
        }
    }
    ::closedir(dir);
}

// The baseline import: walk, stat, read the last 128 bytes, one row per file in one
// transaction with the sqlite3 C API.
qsizetype plainImport(const QString &root, const QString &catalogue)
{
    std::vector<std::string> found;
    plainWalk(QFile::encodeName(root).toStdString(), found);
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(catalogue).constData(), &db) != SQLITE_OK)
        qFatal("sqlite3_open failed");
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Mp3 (titolo, autore, album, anno, commento, nome, "
                       "percorso, dimenzione, info) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    qsizetype rows = 0;
    char block[kTagSize];
    for (const std::string &path : found) {
        struct stat info;
        const bool sized = ::stat(path.c_str(), &info) == 0;
        bool tagged = false;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            tagged = sized && info.st_size >= kTagSize &&
                     ::pread(fd, block, kTagSize, info.st_size - kTagSize) == kTagSize &&
                     std::memcmp(block, "TAG", 3) == 0;
            ::close(fd);
        }
        const size_t slash = path.rfind('/');
        sqlite3_reset(insert);
        for (int field = 0; field < 5; ++field) {
            static constexpr int offsets[5] = {3, 33, 63, 93, 97};
            static constexpr int widths[5] = {30, 30, 30, 4, 30};
            if (tagged)
                sqlite3_bind_text(insert, field + 1, block + offsets[field], widths[field],
                                  SQLITE_TRANSIENT);
            else
                sqlite3_bind_text(insert, field + 1, "", 0, SQLITE_STATIC);
        }
        sqlite3_bind_text(insert, 6, path.c_str() + slash + 1, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 7, path.c_str(), static_cast<int>(slash + 1), SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 8, sized ? info.st_size : 0);
        sqlite3_bind_text(insert, 9, tagged ? "OK" : "Nessun TAG ID3", -1, SQLITE_STATIC);
        if (sqlite3_step(insert) == SQLITE_DONE)
            ++rows;
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rows;
}

// An empty catalogue in place of the last run's.
void emptyCatalogue(const QString &path)
{
    QFile::remove(path);
    CatalogueStore store(path);
    if (!store.open())
        qFatal("cannot make the catalogue: %s", qPrintable(store.lastError()));
}

// With Corpus::QuarterId3v2Only the import reads the ID3v2 tags of files without an ID3v1 tag,
// as with "Leggi anche i tag ID3v2" ticked.
void runImportOfTree(Corpus corpus)
{
    QTemporaryDir musicDir;
    const QString root = makeTempFolder(musicDir);
    const qsizetype files = writeMusicTree(root, corpus);
    QTemporaryDir catalogueDir;
    const QString catalogue = cataloguePath(makeTempFolder(catalogueDir));

    LinuxVolumes volumes;
    const DriveTable driveTable = buildDriveTable(volumes.volumes());
    const std::optional<VolumeInfo> volume = volumes.volumeOf(root);
    const QString driveEntry = volume ? DriveListEntry::text(*volume) : QStringLiteral("/");
    SilentDialogs dialogs;
    const TagLibId3v2Reader id3v2Reader;

    int loaded = 0;
    int fromId3v2 = 0;
    FileImport::Result result;
    const double ms = medianMs(
        [&] {
            QStringList found;
            SearchFolder(root, {true}, found);
            CatalogueStore store(catalogue);
            if (!store.open())
                qFatal("cannot open the catalogue");
            FileImport fileImport(store, dialogs, volumes, driveTable, driveEntry);
            if (corpus == Corpus::QuarterId3v2Only)
                fileImport.setId3v2Reader(&id3v2Reader);
            result = fileImport.riempi(found);
            CatalogueModel model;
            CollectionCounters counters;
            caricaDB(store, model, counters);
            loaded = model.recordCount();
            fromId3v2 = 0;
            for (int r = 0; r < loaded; ++r)
                fromId3v2 += model.cell(r, Title).startsWith(QLatin1String("Brano v2")) ? 1 : 0;
        },
        [&] { emptyCatalogue(catalogue); });
    qsizetype baselineRows = 0;
    const double baseline = medianMs([&] { baselineRows = plainImport(root, catalogue); },
                                     [&] { emptyCatalogue(catalogue); });
    if (loaded != files || baselineRows != files || !result.failures.isEmpty())
        qFatal("import scenario imported %d of %lld files", loaded, static_cast<long long>(files));
    const bool id3v2 = corpus == Corpus::QuarterId3v2Only;
    if (fromId3v2 != (id3v2 ? files / 4 : 0))
        qFatal("import scenario took %d titles from ID3v2 tags", fromId3v2);
    report(id3v2 ? "import-id3v2" : "import", files, ms, baseline);
}

void runWalk()
{
    QTemporaryDir dir;
    const QString root = makeTempFolder(dir);
    for (int f = 0; f < kWalkFolders; ++f) {
        const QString folder = QStringLiteral("%1/%2/%3").arg(root).arg(f / 10).arg(f % 10);
        if (!QDir().mkpath(folder))
            qFatal("cannot make %s", qPrintable(folder));
        for (int i = 0; i < kWalkFilesPerFolder; ++i)
            writeFile(QStringLiteral("%1/Brano %2.mp3").arg(folder).arg(i), {});
    }
    qsizetype found = 0;
    const double ms = medianMs([&] {
        QStringList list;
        SearchFolder(root, {true}, list, [](const QString &) { return true; });
        found = list.size();
    });
    size_t baselineFound = 0;
    const std::string rootName = QFile::encodeName(root).toStdString();
    const double baseline = medianMs([&] {
        std::vector<std::string> list;
        plainWalk(rootName, list);
        baselineFound = list.size();
    });
    if (found != kWalkFolders * kWalkFilesPerFolder || baselineFound != size_t(found))
        qFatal("walk scenario found %lld files", static_cast<long long>(found));
    report("walk", found, ms, baseline);
}

} // namespace

void runImport()
{
    runImportOfTree(Corpus::Id3v1);
    runImportOfTree(Corpus::QuarterId3v2Only);
    runWalk();
}

} // namespace Bench
