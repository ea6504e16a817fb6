#include "benchutil.h"
#include "corpus.h"
#include "scenarios.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"

#include <QFile>

#include <cstdio>
#include <malloc.h>
#include <unistd.h>

namespace Bench {

namespace {

// Resident bytes of this process, from /proc/self/statm (pages).
double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/statm");
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

void load(CatalogueStore &store, CatalogueModel &model)
{
    CollectionCounters counters;
    if (!store.open() || !caricaDB(store, model, counters) || model.recordCount() == 0)
        qFatal("load failed: %s", qPrintable(store.lastError()));
}

} // namespace

void runMemory()
{
    for (const qsizetype n : {qsizetype(100000), qsizetype(1000000)}) {
        QTemporaryDir dir;
        const QString path = cataloguePath(makeTempFolder(dir));
        writeGeneratedCatalogue(path, n);
        // What writing the catalogue left free goes back first, so that only the load counts.
        ::malloc_trim(0);

        const double before = residentBytes();
        double added = 0;
        {
            CatalogueStore store(path);
            CatalogueModel model;
            load(store, model);
            added = residentBytes() - before;
        }
        const double ms = medianMs(
            [&] {
                CatalogueStore store(path);
                CatalogueModel model;
                load(store, model);
            },
            {}, 3);
        const double baseline = medianMs([&] { loadWithSqlite(path); }, {}, 3);
        std::printf("memory n=%lld bytes_per_record=%.0f ms=%.2f baseline_ms=%.2f ratio=%.2f\n",
                    static_cast<long long>(n), added / static_cast<double>(n), ms, baseline,
                    baseline > 0 ? ms / baseline : 0.0);
        std::fflush(stdout);
    }
}

} // namespace Bench
