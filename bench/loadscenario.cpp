#include "benchutil.h"
#include "corpus.h"
#include "scenarios.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"

namespace Bench {

void runLoad()
{
    for (const qsizetype n : {qsizetype(10000), qsizetype(100000)}) {
        QTemporaryDir dir;
        const QString path = cataloguePath(makeTempFolder(dir));
        writeCatalogue(path, makeRecords(n));

        int loaded = 0;
        const double ms = medianMs([&] {
            CatalogueStore store(path);
            CatalogueModel model;
            CollectionCounters counters;
            if (!store.open() || !caricaDB(store, model, counters))
                qFatal("load failed: %s", qPrintable(store.lastError()));
            loaded = model.recordCount();
        });
        size_t baselineRows = 0;
        const double baseline = medianMs([&] { baselineRows = loadWithSqlite(path); });
        if (loaded != n || baselineRows != static_cast<size_t>(n))
            qFatal("load scenario read the wrong number of rows");
        report("load", n, ms, baseline);
    }
}

} // namespace Bench
