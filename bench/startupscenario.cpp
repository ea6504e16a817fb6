#include "benchutil.h"
#include "corpus.h"
#include "scenarios.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "inspection/recordfile.h"
#include "maintenance/missingfilecheck.h"
#include "maintenance/tagcompletion.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFile>

namespace Bench {

namespace {

constexpr qsizetype kFrameSize = 417;
constexpr qsizetype kTagSize = 128;

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

// One silent MPEG-1 Layer III frame (128 kbit/s, 44.1 kHz), with a tag block when asked.
QByteArray fileContents(bool tagged)
{
    QByteArray bytes(kFrameSize, '\0');
    bytes[0] = '\xFF';
    bytes[1] = '\xFB';
    bytes[2] = '\x90';
    bytes[3] = '\x64';
    if (tagged) {
        QByteArray tag("TAG");
        tag.append(kTagSize - tag.size() - 1, ' ');
        tag.append('\x11');
        bytes += tag;
    }
    return bytes;
}

// The corpus records, every one in the state "OK" and with its folder below `base`, so that
// every row is checked and opened at start-up; their files are written with or without a tag.
QList<CatalogueRecord> recordsWithFiles(qsizetype n, const QString &base, bool tagged)
{
    QList<CatalogueRecord> records = makeRecords(n);
    const QByteArray bytes = fileContents(tagged);
    QString madeFolder;
    for (CatalogueRecord &r : records) {
        r.percorso = base + r.percorso;
        r.info = QStringLiteral("OK");
        if (r.percorso != madeFolder) {
            if (!QDir().mkpath(r.percorso))
                qFatal("cannot make %s", qPrintable(r.percorso));
            madeFolder = r.percorso;
        }
        QFile file(recordFilePath(r.percorso, r.nome));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    return records;
}

struct StartupFigures
{
    qsizetype rows = 0;
    qsizetype missing = 0;
    int completed = 0;
    int compactions = 0;
};

// The start-up's own work without windows: load, missing-file check, and the tag completion
// when nothing is missing.
StartupFigures startUp(const QString &path)
{
    FatalDialogs dialogs;
    CatalogueStore store(path);
    CatalogueModel model;
    CollectionCounters counters;
    if (!store.open() || !caricaDB(store, model, counters))
        qFatal("load failed: %s", qPrintable(store.lastError()));
    StartupFigures figures;
    figures.rows = model.recordCount();
    figures.missing = MissingFileCheck::findMissing(model).size();
    if (figures.missing == 0) {
        const BusyPointer busy{[&figures] { ++figures.compactions; },
                               [] {
                               }};
        const CompletionResult result = CompleteMissingTags(store, model, dialogs, busy);
        if (!result.failures.isEmpty())
            qFatal("completion failed: %s", qPrintable(result.failures.constFirst()));
        figures.completed = result.completed;
    }
    return figures;
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
        if (!QFile::resize(recordFilePath(r.percorso, r.nome), kFrameSize))
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
        const QList<CatalogueRecord> records =
            recordsWithFiles(n, folder + QStringLiteral("/files"), true);
        const QString path = cataloguePath(folder);
        writeCatalogue(path, records);

        StartupFigures figures;
        const double ms = medianMs([&] { figures = startUp(path); });
        const double baseline = loadOnly(path);
        if (figures.rows != n || figures.missing != 0 || figures.completed != 0)
            qFatal("startup scenario: every file should be there with its tag");
        report("startup", n, ms, baseline,
               QStringLiteral("missing=%1 completed=%2 compactions=%3")
                   .arg(figures.missing)
                   .arg(figures.completed)
                   .arg(figures.compactions));
    }
    {
        constexpr qsizetype n = 1000;
        QTemporaryDir dir;
        const QString folder = makeTempFolder(dir);
        const QList<CatalogueRecord> records =
            recordsWithFiles(n, folder + QStringLiteral("/files"), false);
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
