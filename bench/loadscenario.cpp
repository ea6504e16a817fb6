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

#include <string>
#include <vector>

namespace Bench {

namespace {

// The plainest reading of the same rows: every field of every record into strings.
size_t loadWithSqlite(const QString &path)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        qFatal("sqlite3_open_v2 failed");
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM Mp3 ORDER BY id", -1, &stmt, nullptr);
    std::vector<std::vector<std::string>> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<std::string> row;
        row.reserve(13);
        for (int c = 0; c < 13; ++c) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            row.emplace_back(text ? text : " ");
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows.size();
}

} // namespace

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
