#include "benchutil.h"
#include "collection.h"
#include "corpus.h"
#include "scenarios.h"
#include "startupwork.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "inspection/recordfile.h"
#include "maintenance/startupcheck.h"
#include "platform/dialogs.h"

#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include <algorithm>
#include <vector>

namespace Bench {

namespace {

constexpr qsizetype kFrameSize = 417;

// Any message during the benchmark is a failure of the scenario.
class FatalDialogs : public Dialogs
{
public:
    void critical(const QString &title, const QString &text) override
    {
        qFatal("message during the start-up: %s: %s", qPrintable(title), qPrintable(text));
    }
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

} // namespace

QList<CatalogueRecord> collectionRecords(const Collection &collection)
{
    QList<CatalogueRecord> records = makeRecords(collection.mp3Files.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        CatalogueRecord &r = records[i];
        splitFilePath(collection.mp3Files.at(i), r.percorso, r.nome);
        r.info = QStringLiteral("OK");
    }
    return records;
}

QString writeTaggedCatalogue(QTemporaryDir &dir, qsizetype n, QList<CatalogueRecord> *records)
{
    const QString folder = makeTempFolder(dir);
    const Collection collection =
        writeCollection(folder + QStringLiteral("/files"), n, Tagging::AllId3v1);
    const QList<CatalogueRecord> written = collectionRecords(collection);
    const QString path = cataloguePath(folder);
    writeCatalogue(path, written);
    if (records)
        *records = written;
    return path;
}

namespace {

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

} // namespace

qsizetype plainStartupCheck(const QString &path)
{
    sqlite3 *db = openPlainSqlite(path, SQLITE_OPEN_READONLY);
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

StartupFigures startUp(const QString &path)
{
    FatalDialogs dialogs;
    CatalogueStore store(path);
    CatalogueModel model;
    CollectionCounters counters;
    QElapsedTimer timer;
    timer.start();
    if (!store.open())
        qFatal("open failed: %s", qPrintable(store.lastError()));
    StartupLoad load = loadLookingAtFiles(store, model, counters);
    if (!load.loaded)
        qFatal("load failed: %s", qPrintable(store.lastError()));
    StartupFigures figures;
    figures.loadMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    figures.rows = model.recordCount();
    const BusyPointer busy{[&figures] { ++figures.compactions; },
                           [] {
                           }};
    const StartupCheckResult result =
        checkFilesAtStartup(store, model, dialogs, busy, std::move(load.looks));
    figures.missing = result.missing.size();
    if (result.completion) {
        if (!result.completion->failures.isEmpty())
            qFatal("completion failed: %s", qPrintable(result.completion->failures.constFirst()));
        figures.completed = result.completion->completed;
    }
    figures.checkMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return figures;
}

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double loadOnly(const QString &path)
{
    return medianMs([&path] {
        CatalogueStore store(path);
        CatalogueModel model;
        CollectionCounters counters;
        if (!store.open() || !caricaDB(store, model, counters))
            qFatal("load failed: %s", qPrintable(store.lastError()));
    });
}

// Cuts every file back to its audio, so that each run completes the same files.
void removeTags(const QList<CatalogueRecord> &records)
{
    for (const CatalogueRecord &r : records) {
        if (!QFile::resize(resolveRecordFile(r.percorso, r.nome), kFrameSize))
            qFatal("cannot cut back %s", qPrintable(r.nome));
    }
}

} // namespace

void runStartupTrace()
{
    QTemporaryDir dir;
    const QString path = writeTaggedCatalogue(dir, 10000);
    for (const bool program : {true, false}) {
        // Failing look-ups of names nobody uses mark the traced stretch in a system call trace.
        ::access(program ? "/tracklodge-bench-program-begin" : "/tracklodge-bench-plain-begin",
                 F_OK);
        const qsizetype rows = program ? startUp(path).rows : plainStartupCheck(path);
        ::access("/tracklodge-bench-end", F_OK);
        report(program ? "startup-trace" : "startup-trace-plain", rows, 0, 0);
    }
}

void runStartup()
{
    {
        constexpr qsizetype n = 100000;
        QTemporaryDir dir;
        const QString path = writeTaggedCatalogue(dir, n);

        StartupFigures figures;
        std::vector<double> load, check;
        const double ms = medianMs([&] {
            figures = startUp(path);
            load.push_back(figures.loadMs);
            check.push_back(figures.checkMs);
        });
        const double baseline = loadOnly(path);
        qsizetype plainTagged = 0;
        const double plain = medianMs([&] { plainTagged = plainStartupCheck(path); });
        if (figures.rows != n || figures.missing != 0 || figures.completed != 0 || plainTagged != n)
            qFatal("startup scenario: every file should be there with its tag");
        report("startup", n, ms, baseline,
               QStringLiteral("missing=%1 completed=%2 compactions=%3 load_ms=%4 check_ms=%5 "
                              "plain_ms=%6")
                   .arg(figures.missing)
                   .arg(figures.completed)
                   .arg(figures.compactions)
                   .arg(median(load), 0, 'f', 2)
                   .arg(median(check), 0, 'f', 2)
                   .arg(plain, 0, 'f', 2));
    }
    {
        constexpr qsizetype n = 1000;
        QTemporaryDir dir;
        QList<CatalogueRecord> records;
        const QString path = writeTaggedCatalogue(dir, n, &records);

        StartupFigures figures;
        const double ms =
            medianMs([&] { figures = startUp(path); }, [&records] { removeTags(records); });
        const double baseline = loadOnly(path);
        if (figures.rows != n || figures.completed != n || figures.compactions != 1)
            qFatal("startup scenario: every file should have been completed");
        report("startup", n, ms, baseline,
               QStringLiteral("missing=%1 completed=%2 compactions=%3")
                   .arg(figures.missing)
                   .arg(figures.completed)
                   .arg(figures.compactions));
    }
}

} // namespace Bench
