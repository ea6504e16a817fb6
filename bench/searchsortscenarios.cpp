#include "benchutil.h"
#include "corpus.h"
#include "scenarios.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/cataloguesearch.h"
#include "grid/gridloader.h"
#include "grid/gridsort.h"
#include "inspection/collectioncounters.h"

#include <algorithm>
#include <vector>

namespace Bench {

void runSearch()
{
    // Half of the 100,000 records carry the artist searched for.
    const qsizetype n = 100000;
    QTemporaryDir dir;
    const QString path = cataloguePath(makeTempFolder(dir));
    QList<CatalogueRecord> records = makeRecords(n);
    for (qsizetype i = 0; i < n; i += 2)
        records[i].autore = QStringLiteral("Lucio Dalla");
    writeCatalogue(path, records);
    QTemporaryDir halfDir;
    const QString halfPath = cataloguePath(makeTempFolder(halfDir));
    QList<CatalogueRecord> half;
    for (qsizetype i = 0; i < n; i += 2)
        half << records[i];
    writeCatalogue(halfPath, half);

    CatalogueStore store(path);
    if (!store.open())
        qFatal("cannot open the search catalogue");
    CatalogueModel model;
    CollectionCounters counters;
    int found = 0;
    const CatalogueSearch::Request request{Artist, QStringLiteral("dalla"), true};
    const double ms = medianMs(
        [&] {
            const QList<qint64> keys = CatalogueSearch::matchingKeys(model, request);
            CatalogueSearch::rebuild(store, model, counters, keys);
            found = model.recordCount();
        },
        [&] { caricaDB(store, model, counters); });
    CatalogueStore halfStore(halfPath);
    if (!halfStore.open())
        qFatal("cannot open the half catalogue");
    const double baseline = medianMs([&] {
        CatalogueModel halfModel;
        caricaDB(halfStore, halfModel, counters);
    });
    if (found != n / 2)
        qFatal("search found %d records", found);
    report("search", n, ms, baseline, QStringLiteral("matches=%1").arg(found));
}

void runSort()
{
    const qsizetype n = 100000;
    const QList<CatalogueRecord> records = makeRecords(n);
    CatalogueModel model;
    CollectionCounters counters;
    const double ms = medianMs([&] { GridSort::sortRows(model, Title); },
                               [&] { showRecords(records, model, counters); });
    std::vector<QString> titles;
    const double baseline = medianMs(
        [&] {
            std::stable_sort(titles.begin(), titles.end(), [](const QString &a, const QString &b) {
                return GridSort::compareCells(a, b) < 0;
            });
        },
        [&] {
            titles.clear();
            for (const CatalogueRecord &r : records)
                titles.push_back(r.titolo);
        });
    report("sort", n, ms, baseline);
}

} // namespace Bench
