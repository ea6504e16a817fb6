#include "benchutil.h"
#include "collection.h"
#include "corpus.h"
#include "importwork.h"
#include "scenarios.h"
#include "startupwork.h"

#include "catalogue/cataloguepath.h"

#include <QFile>

#include <sqlite3.h>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace Bench {

namespace {

constexpr qsizetype kFiles = 10000;
constexpr int kColdRuns = 3;

// Empties the page cache, so that the next run reads files and catalogue from the disk. Only
// root may; false when the cache stayed.
bool dropCaches()
{
    ::sync();
    const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool dropped = ::write(fd, "3", 1) == 1;
    ::close(fd);
    return dropped;
}

// The file of a row as a plain program finds it: the name with ".mp3", then ".MP3", then any
// other spelling of the extension in the folder's listing.
int openRowFile(const std::string &folder, const std::string &name)
{
    for (const char *extension : {".mp3", ".MP3"}) {
        const int fd = ::open((folder + name + extension).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT)
            return fd;
    }
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return -1;
    int fd = -1;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strlen(entry->d_name) == name.size() + 4 &&
            std::strncmp(entry->d_name, name.c_str(), name.size()) == 0 &&
            ::strcasecmp(entry->d_name + name.size(), ".mp3") == 0) {
            fd = ::open((folder + entry->d_name).c_str(), O_RDONLY | O_CLOEXEC);
            break;
        }
    }
    ::closedir(dir);
    return fd;
}

// The start-up's physical work done plainly: every row read with the sqlite3 C API, and each
// row's file opened, its size taken, its last 128 bytes read and closed. The files found with
// a tag.
qsizetype plainStartupCheck(const QString &path)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        qFatal("sqlite3_open_v2 failed");
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM Mp3 ORDER BY id", -1, &stmt, nullptr);
    qsizetype tagged = 0;
    char block[128];
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 7));
        const auto *folder = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 8));
        const int fd = openRowFile(folder, name);
        if (fd < 0)
            continue;
        struct stat info;
        if (::fstat(fd, &info) == 0 && info.st_size >= 128 &&
            ::pread(fd, block, 128, info.st_size - 128) == 128 && std::memcmp(block, "TAG", 3) == 0)
            ++tagged;
        ::close(fd);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return tagged;
}

} // namespace

void runCold()
{
    QTemporaryDir musicDir;
    const QString root = makeTempFolder(musicDir);
    const Collection collection = writeCollection(root, kFiles, Tagging::Mixed);
    QTemporaryDir catalogueDir;
    const QString catalogue = cataloguePath(makeTempFolder(catalogueDir));
    const qsizetype files = collection.mp3Files.size();

    bool dropped = true;
    const auto cold = [&dropped] {
        dropped = dropCaches() && dropped;
    };
    ProgramImport program(root);
    ProgramImport::Run last;
    const double importMs = medianMs([&] { last = program.run(catalogue, false); },
                                     [&] {
                                         emptyCatalogue(catalogue);
                                         cold();
                                     },
                                     kColdRuns);
    qsizetype baselineRows = 0;
    const double importBaseline = medianMs([&] { baselineRows = plainImport(root, catalogue); },
                                           [&] {
                                               emptyCatalogue(catalogue);
                                               cold();
                                           },
                                           kColdRuns);
    if (last.loaded != files || baselineRows != files)
        qFatal("cold scenario imported %d of %lld files", last.loaded,
               static_cast<long long>(files));
    const QString caches = dropped ? QStringLiteral("caches=dropped")
                                   : QStringLiteral("caches=warm (could not drop them)");
    report("cold-import", files, importMs, importBaseline, caches);

    // The start-up over records of the same files, all of them tagged.
    QTemporaryDir startupDir;
    const QString startupRoot = makeTempFolder(startupDir);
    const Collection tagged =
        writeCollection(startupRoot + QStringLiteral("/files"), kFiles, Tagging::AllId3v1);
    const QString path = cataloguePath(startupRoot);
    writeCatalogue(path, collectionRecords(tagged));
    StartupFigures figures;
    const double startupMs = medianMs([&] { figures = startUp(path); }, cold, kColdRuns);
    qsizetype baselineTagged = 0;
    const double startupBaseline =
        medianMs([&] { baselineTagged = plainStartupCheck(path); }, cold, kColdRuns);
    if (figures.rows != kFiles || figures.missing != 0 || baselineTagged != kFiles)
        qFatal("cold scenario: every file should be there with its tag");
    report("cold-startup", kFiles, startupMs, startupBaseline, caches);
}

} // namespace Bench
