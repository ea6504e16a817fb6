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

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>
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
                               [&] {
                                   GridRows rows;
                                   for (const CatalogueRecord &record : records)
                                       rows.append(record);
                                   showRows(std::move(rows), model, counters);
                               });
    // The fair baseline: each title read as a number once, then std::stable_sort over the
    // extracted keys with the same order.
    struct SortKey
    {
        QString text;
        std::optional<double> number;
        int row;
    };
    std::vector<SortKey> keys;
    const auto less = [](const SortKey &a, const SortKey &b) {
        if (a.number && b.number)
            return *a.number < *b.number;
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    };
    const double baseline = medianMs([&] {
        keys.clear();
        keys.reserve(records.size());
        int row = 0;
        for (const CatalogueRecord &r : records) {
            const QString trimmed = r.titolo.trimmed();
            bool ok = false;
            const double value = trimmed.isEmpty() ? 0.0 : QLocale::c().toDouble(trimmed, &ok);
            keys.push_back({r.titolo,
                            ok && std::isfinite(value) ? std::optional(value) : std::nullopt,
                            row++});
        }
        std::stable_sort(keys.begin(), keys.end(), less);
    });
    report("sort", n, ms, baseline);
}

} // namespace Bench
