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
#include "maintenance/missingfilecheck.h"
#include "maintenance/tagcompletion.h"
#include "platform/dialogs.h"

#include <QElapsedTimer>
#include <QFile>

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
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
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

namespace {} // namespace

StartupFigures startUp(const QString &path)
{
    FatalDialogs dialogs;
    CatalogueStore store(path);
    CatalogueModel model;
    CollectionCounters counters;
    QElapsedTimer timer;
    timer.start();
    if (!store.open() || !caricaDB(store, model, counters))
        qFatal("load failed: %s", qPrintable(store.lastError()));
    StartupFigures figures;
    figures.loadMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    figures.rows = model.recordCount();
    figures.missing = MissingFileCheck::findMissing(model).size();
    figures.checkMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    if (figures.missing == 0) {
        const BusyPointer busy{[&figures] { ++figures.compactions; },
                               [] {
                               }};
        const CompletionResult result = CompleteMissingTags(store, model, dialogs, busy);
        if (!result.failures.isEmpty())
            qFatal("completion failed: %s", qPrintable(result.failures.constFirst()));
        figures.completed = result.completed;
    }
    figures.completionMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
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

void runStartup()
{
    {
        constexpr qsizetype n = 100000;
        QTemporaryDir dir;
        const QString folder = makeTempFolder(dir);
        const Collection collection =
            writeCollection(folder + QStringLiteral("/files"), n, Tagging::AllId3v1);
        const QString path = cataloguePath(folder);
        writeCatalogue(path, collectionRecords(collection));

        StartupFigures figures;
        std::vector<double> load, check, completion;
        const double ms = medianMs([&] {
            figures = startUp(path);
            load.push_back(figures.loadMs);
            check.push_back(figures.checkMs);
            completion.push_back(figures.completionMs);
        });
        const double baseline = loadOnly(path);
        if (figures.rows != n || figures.missing != 0 || figures.completed != 0)
            qFatal("startup scenario: every file should be there with its tag");
        report("startup", n, ms, baseline,
               QStringLiteral("missing=%1 completed=%2 compactions=%3 load_ms=%4 check_ms=%5 "
                              "completion_ms=%6")
                   .arg(figures.missing)
                   .arg(figures.completed)
                   .arg(figures.compactions)
                   .arg(median(load), 0, 'f', 2)
                   .arg(median(check), 0, 'f', 2)
                   .arg(median(completion), 0, 'f', 2));
    }
    {
        constexpr qsizetype n = 1000;
        QTemporaryDir dir;
        const QString folder = makeTempFolder(dir);
        const Collection collection =
            writeCollection(folder + QStringLiteral("/files"), n, Tagging::AllId3v1);
        const QList<CatalogueRecord> records = collectionRecords(collection);
        const QString path = cataloguePath(folder);
        writeCatalogue(path, records);

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
