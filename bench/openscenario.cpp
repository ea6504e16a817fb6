#include "benchutil.h"
#include "corpus.h"
#include "scenarios.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"

#include <QFile>

#include <sqlite3.h>

namespace Bench {

namespace {

// The plainest opening that still looks at the file: open it and read the table's columns,
// without the integrity check.
int openWithSqlite(const QString &path)
{
    sqlite3 *db = openPlainSqlite(path, SQLITE_OPEN_READWRITE);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA table_info(Mp3)", -1, &stmt, nullptr);
    int columns = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        ++columns;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return columns;
}

} // namespace

void runOpen()
{
    for (const qsizetype n : {qsizetype(10000), qsizetype(100000)}) {
        QTemporaryDir dir;
        const QString path = cataloguePath(makeTempFolder(dir));
        writeCatalogue(path, makeRecords(n));

        const double ms = medianMs([&] {
            CatalogueStore store(path);
            if (!store.open())
                qFatal("open failed: %s", qPrintable(store.lastError()));
        });
        int columns = 0;
        const double baseline = medianMs([&] { columns = openWithSqlite(path); });
        if (columns != 13)
            qFatal("open scenario read the wrong table");
        // The check against what the start-up does next anyway: loading every record.
        const double loadMs = medianMs([&] {
            CatalogueStore store(path);
            CatalogueModel model;
            CollectionCounters counters;
            if (!store.open() || !caricaDB(store, model, counters))
                qFatal("load failed: %s", qPrintable(store.lastError()));
        });
        report("open", n, ms, baseline, QStringLiteral("load_ms=%1").arg(loadMs, 0, 'f', 2));
    }
}

} // namespace Bench
