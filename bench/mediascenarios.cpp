#include "benchutil.h"
#include "corpus.h"
#include "scenarios.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "catalogue/duplicategroups.h"
#include "grid/cataloguemodel.h"
#include "grid/duplicatesview.h"
#include "inspection/collectioncounters.h"
#include "maintenance/mediumcommands.h"

#include <QList>

#include <sqlite3.h>

namespace Bench {

namespace {

// What one plain query gives back, read row by row with the sqlite3 C API; the rows read.
qsizetype plainQuery(const QString &path, const char *sql)
{
    sqlite3 *db = openPlainSqlite(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        qFatal("cannot prepare the baseline: %s", sqlite3_errmsg(db));
    qsizetype rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            sqlite3_column_text(stmt, c);
        ++rows;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

} // namespace

void runMedia()
{
    // Twenty media of 5,000 records each.
    const qsizetype n = 100000;
    QTemporaryDir dir;
    const QString path = cataloguePath(makeTempFolder(dir));
    writeGeneratedCatalogue(path, n);
    // Some of the media are mounted now.
    QList<VolumeInfo> volumes;
    for (int i = 0; i < 20; i += 3) {
        volumes.append({QStringLiteral("/media/disco%1").arg(i),
                        DriveType::Removable,
                        {},
                        QString::number(static_cast<qint32>(0x5A000000 + i)),
                        {},
                        {}});
    }
    qsizetype media = 0;
    qsizetype connected = 0;
    const double ms = medianMs([&] {
        // What the window does to open: its own connection, the media, their mount points.
        CatalogueStore store(path);
        if (!store.open(CatalogueStore::IntegrityCheck::Skip))
            qFatal("cannot open the media catalogue");
        const std::optional<QList<Medium>> found = store.media();
        if (!found)
            qFatal("cannot read the media: %s", qPrintable(store.lastError()));
        media = found->size();
        connected = 0;
        for (const Medium &medium : *found)
            connected += mountPointOf(medium, volumes) ? 1 : 0;
    });
    qsizetype baselineMedia = 0;
    const double baseline = medianMs([&] {
        baselineMedia = plainQuery(
            path, "SELECT supporto, labelD, count(*), "
                  "sum(CAST(replace(replace(trim(dimenzione), ',', ''), ' KB', '') AS INTEGER)) "
                  "FROM Mp3 GROUP BY supporto");
    });
    if (media != 20 || baselineMedia != media)
        qFatal("found %lld media, the baseline %lld", static_cast<long long>(media),
               static_cast<long long>(baselineMedia));
    report("media", n, ms, baseline,
           QStringLiteral("media=%1 connected=%2").arg(media).arg(connected));
}

void runDuplicates()
{
    const qsizetype n = 100000;
    QList<CatalogueRecord> records = makeRecords(n);
    // One record in 25 is a song met before, its title and artist written in other capitals
    // with blanks around; one in 40 a file of the same name and size in another folder. Only
    // ASCII letters change case: the baseline's lower() folds no others ("CITTÀ").
    const auto asciiUpper = [](QString text) {
        for (QChar &c : text) {
            if (c >= u'a' && c <= u'z')
                c = QChar(c.unicode() - u'a' + u'A');
        }
        return text;
    };
    for (qsizetype i = 1000; i < n; i += 25) {
        const CatalogueRecord &earlier = records.at(i - 997);
        records[i].titolo = QStringLiteral(" ") + asciiUpper(earlier.titolo);
        records[i].autore = earlier.autore + QStringLiteral(" ");
    }
    for (qsizetype i = 1003; i < n; i += 40) {
        records[i].nome = records.at(i - 1001).nome;
        records[i].dimenzione = records.at(i - 1001).dimenzione;
    }
    QTemporaryDir dir;
    const QString path = cataloguePath(makeTempFolder(dir));
    writeCatalogue(path, records);

    CatalogueStore store(path);
    if (!store.open())
        qFatal("cannot open the duplicates catalogue");
    qsizetype groups = 0;
    qsizetype found = 0;
    const double ms = medianMs([&] {
        const std::optional<QList<QList<qint64>>> duplicates = findDuplicates(store);
        if (!duplicates)
            qFatal("cannot read the duplicates: %s", qPrintable(store.lastError()));
        groups = duplicates->size();
        found = 0;
        for (const QList<qint64> &group : *duplicates)
            found += group.size();
    });
    // The same grouping in one query; SQLite's lower() folds ASCII letters only, which is all
    // the planted duplicates need.
    qsizetype baselineFound = 0;
    const double baseline = medianMs([&] {
        baselineFound = plainQuery(
            path, "WITH r AS (SELECT id, lower(trim(titolo)) AS t, lower(trim(autore)) AS a, nome, "
                  "replace(replace(trim(dimenzione), ',', ''), '.', '') AS d FROM Mp3), "
                  "ta AS (SELECT t, a FROM r WHERE t <> '' GROUP BY t, a HAVING count(*) > 1), "
                  "nd AS (SELECT nome, d FROM r WHERE nome <> '' GROUP BY nome, d "
                  "HAVING count(*) > 1) "
                  "SELECT id FROM r WHERE (t, a) IN (SELECT t, a FROM ta) "
                  "OR (nome, d) IN (SELECT nome, d FROM nd) ORDER BY t, id");
    });
    // "Doppioni" as the user sees it: the grouping and the grid narrowed to the groups.
    CatalogueModel model;
    CollectionCounters counters;
    const double withGrid = medianMs([&] {
        if (!showDuplicates(store, model, counters))
            qFatal("cannot show the duplicates");
    });
    if (found == 0 || baselineFound != found || model.recordCount() != found)
        qFatal("found %lld duplicates, the baseline %lld, the grid %d",
               static_cast<long long>(found), static_cast<long long>(baselineFound),
               model.recordCount());
    report("duplicates", n, ms, baseline,
           QStringLiteral("groups=%1 records=%2 with_grid_ms=%3")
               .arg(groups)
               .arg(found)
               .arg(withGrid, 0, 'f', 1));
}

} // namespace Bench
