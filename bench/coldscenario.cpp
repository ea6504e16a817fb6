#include "benchutil.h"
#include "collection.h"
#include "corpus.h"
#include "importwork.h"
#include "scenarios.h"
#include "startupwork.h"

#include "catalogue/cataloguepath.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

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
    const QString path = writeTaggedCatalogue(startupDir, kFiles);
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
