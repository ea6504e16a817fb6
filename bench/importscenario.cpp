#include "benchutil.h"
#include "collection.h"
#include "importwork.h"
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
#include "platform/linuxvolumes.h"
#include "tags/taglibid3v2reader.h"

#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace Bench {

namespace {

constexpr qsizetype kFiles = 10000;
constexpr qsizetype kTagSize = 128;

// The import's messages have no one to read them here.
class SilentDialogs : public Dialogs
{
public:
    void critical(const QString &, const QString &) override {}
    bool question(const QString &, const QString &) override { return false; }
    void information(const QString &, const QString &) override {}
    SaveFileChoice saveFileName(const QString &, const QString &, const QStringList &) override
    {
        return {};
    }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

// The baseline's decoding of a tag field: Latin-1 to UTF-8, trailing blanks and NULs cut.
int decodeField(const char *field, int width, char *out)
{
    while (width > 0 && (field[width - 1] == ' ' || field[width - 1] == '\0'))
        --width;
    int n = 0;
    for (int i = 0; i < width; ++i) {
        const auto c = static_cast<unsigned char>(field[i]);
        if (c < 0x80) {
            out[n++] = static_cast<char>(c);
        } else {
            out[n++] = static_cast<char>(0xC0 | (c >> 6));
            out[n++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return n;
}

} // namespace

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
                       "INSERT INTO Mp3 (titolo, autore, album, anno, genere, commento, nome, "
                       "percorso, dimenzione, info, labelD, supporto) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    qsizetype rows = 0;
    char block[kTagSize];
    char decoded[5][64];
    for (const std::string &path : found) {
        struct stat info;
        bool tagged = false;
        bool sized = false;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            sized = ::fstat(fd, &info) == 0;
            tagged = sized && info.st_size >= kTagSize &&
                     ::pread(fd, block, kTagSize, info.st_size - kTagSize) == kTagSize &&
                     std::memcmp(block, "TAG", 3) == 0;
            ::close(fd);
        }
        const size_t slash = path.rfind('/');
        const size_t dot = path.rfind('.');
        sqlite3_reset(insert);
        static constexpr int columns[5] = {1, 2, 3, 4, 6};
        static constexpr int offsets[5] = {3, 33, 63, 93, 97};
        static constexpr int widths[5] = {30, 30, 30, 4, 30};
        for (int field = 0; field < 5; ++field) {
            if (tagged) {
                const int n = decodeField(block + offsets[field], widths[field], decoded[field]);
                sqlite3_bind_text(insert, columns[field], decoded[field], n, SQLITE_STATIC);
            } else {
                sqlite3_bind_text(insert, columns[field], "", 0, SQLITE_STATIC);
            }
        }
        sqlite3_bind_text(insert, 5, tagged ? "Blues" : "", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 7, path.c_str() + slash + 1, static_cast<int>(dot - slash - 1),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 8, path.c_str(), static_cast<int>(slash + 1), SQLITE_STATIC);
        sqlite3_bind_int64(insert, 9, sized ? info.st_size : 0);
        sqlite3_bind_text(insert, 10, tagged ? "OK" : "Nessun TAG ID3", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 11, "Musica", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 12, "1234567890", -1, SQLITE_STATIC);
        if (sqlite3_step(insert) == SQLITE_DONE)
            ++rows;
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rows;
}

void emptyCatalogue(const QString &path)
{
    QFile::remove(path);
    CatalogueStore store(path);
    if (!store.open())
        qFatal("cannot make the catalogue: %s", qPrintable(store.lastError()));
}

ProgramImport::ProgramImport(const QString &root)
    : m_root(root)
{
    m_driveTable = buildDriveTable(m_volumes.volumes());
    m_chosenDrive = m_volumes.volumeOf(root);
}

ProgramImport::Run ProgramImport::run(const QString &catalogue, bool id3v2)
{
    static const TagLibId3v2Reader id3v2Reader;
    SilentDialogs dialogs;
    Run run;
    QElapsedTimer timer;
    timer.start();
    QStringList found;
    SearchFolder(m_root, {true}, found);
    run.walkMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    CatalogueStore store(catalogue);
    if (!store.open())
        qFatal("cannot open the catalogue");
    FileImport fileImport(store, dialogs, m_volumes, m_driveTable, m_chosenDrive);
    if (id3v2)
        fileImport.setId3v2Reader(&id3v2Reader);
    AddedRows added;
    fileImport.setAddedRecords([&added](const RecordView &record) { added.take(record); });
    run.result = fileImport.riempi(found);
    run.riempiMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    CatalogueModel model;
    CollectionCounters counters;
    added.caricaDB(store, model, counters,
                   run.result.onlyAdded() ? AddedRows::Import::OnlyAdded
                                          : AddedRows::Import::Other);
    run.loadMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    run.loaded = model.recordCount();
    for (int r = 0; r < run.loaded; ++r)
        run.fromId3v2 += model.cell(r, Title).startsWith(QLatin1String("Brano v2")) ? 1 : 0;
    return run;
}

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// With Tagging::MixedId3v2 the import reads the ID3v2 tags of files without an ID3v1 tag, as
// with "Leggi anche i tag ID3v2" ticked.
void runImportOfTree(Tagging tagging)
{
    QTemporaryDir musicDir;
    const QString root = makeTempFolder(musicDir);
    const Collection collection = writeCollection(root, kFiles, tagging);
    QTemporaryDir catalogueDir;
    const QString catalogue = cataloguePath(makeTempFolder(catalogueDir));
    const bool id3v2 = tagging == Tagging::MixedId3v2;

    ProgramImport program(root);
    ProgramImport::Run last;
    std::vector<double> walk, riempi, load;
    const double ms = medianMs(
        [&] {
            last = program.run(catalogue, id3v2);
            walk.push_back(last.walkMs);
            riempi.push_back(last.riempiMs);
            load.push_back(last.loadMs);
        },
        [&] { emptyCatalogue(catalogue); });
    qsizetype baselineRows = 0;
    const double baseline = medianMs([&] { baselineRows = plainImport(root, catalogue); },
                                     [&] { emptyCatalogue(catalogue); });
    const qsizetype files = collection.mp3Files.size();
    if (last.loaded != files || baselineRows != files || !last.result.failures.isEmpty())
        qFatal("import scenario imported %d of %lld files", last.loaded,
               static_cast<long long>(files));
    if (last.fromId3v2 != collection.id3v2Only)
        qFatal("import scenario took %d titles from ID3v2 tags", last.fromId3v2);
    report(id3v2 ? "import-id3v2" : "import", files, ms, baseline,
           QStringLiteral("folders=%1 walk_ms=%2 riempi_ms=%3 load_ms=%4")
               .arg(collection.folders)
               .arg(median(walk), 0, 'f', 2)
               .arg(median(riempi), 0, 'f', 2)
               .arg(median(load), 0, 'f', 2));
}

void runWalk()
{
    QTemporaryDir dir;
    const QString root = makeTempFolder(dir);
    const Collection collection = writeCollection(root, kFiles, Tagging::Mixed);
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
    if (found != collection.mp3Files.size() || baselineFound != size_t(found))
        qFatal("walk scenario found %lld files", static_cast<long long>(found));
    report("walk", found, ms, baseline);
}

} // namespace

void runImportTrace()
{
    QTemporaryDir musicDir;
    const QString root = makeTempFolder(musicDir);
    const Collection collection = writeCollection(root, kFiles, Tagging::Mixed);
    QTemporaryDir catalogueDir;
    const QString catalogue = cataloguePath(makeTempFolder(catalogueDir));
    for (const bool program : {true, false}) {
        emptyCatalogue(catalogue);
        ProgramImport import(root);
        // Failing look-ups of names nobody uses mark the traced stretch in a system call trace.
        ::access(program ? "/tracklodge-bench-program-begin" : "/tracklodge-bench-plain-begin",
                 F_OK);
        const qsizetype rows =
            program ? import.run(catalogue, false).loaded : plainImport(root, catalogue);
        ::access("/tracklodge-bench-end", F_OK);
        report(program ? "import-trace" : "import-trace-plain", rows, 0, 0);
    }
}

void runImport()
{
    runImportOfTree(Tagging::Mixed);
    runImportOfTree(Tagging::MixedId3v2);
    runWalk();
}

} // namespace Bench
