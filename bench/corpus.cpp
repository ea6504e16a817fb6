#include "corpus.h"

#include "benchutil.h"

#include "catalogue/cataloguestore.h"

#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QStringList>

#include <sqlite3.h>

#include <string>
#include <vector>

namespace Bench {

namespace {

const QStringList kWords = {
    QStringLiteral("Amore"),  QStringLiteral("Notte"),   QStringLiteral("Sole"),
    QStringLiteral("Blue"),   QStringLiteral("River"),   QStringLiteral("Città"),
    QStringLiteral("Dance"),  QStringLiteral("Heart"),   QStringLiteral("Vento"),
    QStringLiteral("Strada"), QStringLiteral("Mare"),    QStringLiteral("Light"),
    QStringLiteral("Fire"),   QStringLiteral("Tempo"),   QStringLiteral("Dream"),
    QStringLiteral("Cuore"),  QStringLiteral("Summer"),  QStringLiteral("Luna"),
    QStringLiteral("Storm"),  QStringLiteral("Silenzio")};
const QStringList kGenres = {QStringLiteral("Rock"),  QStringLiteral("Pop"),
                             QStringLiteral("Jazz"),  QStringLiteral("Classical"),
                             QStringLiteral("Dance"), QStringLiteral("")};
const QStringList kStates = {QStringLiteral("OK"),
                             QStringLiteral("OK"),
                             QStringLiteral("OK"),
                             QStringLiteral("Nessun TAG ID3"),
                             QStringLiteral("Solo Lettura"),
                             QStringLiteral("CDROM"),
                             QStringLiteral("File Corrotto!")};

QString words(QRandomGenerator &rng, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << kWords.at(static_cast<int>(rng.bounded(kWords.size())));
    return parts.join(u' ').left(30);
}

} // namespace

void generateRecords(qsizetype n, const std::function<void(const CatalogueRecord &)> &take)
{
    QRandomGenerator rng(20261206);
    QString artist;
    for (qsizetype i = 0; i < n; ++i) {
        CatalogueRecord r;
        const qsizetype album = i / 12;
        // The tracks of an album share its artist and its folder, as on a real disk.
        if (i % 12 == 0)
            artist = words(rng, 2);
        r.titolo = words(rng, 3);
        r.autore = artist;
        r.album = QStringLiteral("Album %1").arg(album);
        r.anno = QString::number(1960 + rng.bounded(65));
        r.genere = kGenres.at(static_cast<int>(rng.bounded(kGenres.size())));
        r.commento = i % 3 == 0 ? QString() : QStringLiteral("Ripped by EAC");
        r.nome = QStringLiteral("%1 - %2").arg(i % 12 + 1, 2, 10, QLatin1Char('0')).arg(r.titolo);
        r.percorso = QStringLiteral("/home/utente/Musica/%1/Album %2/").arg(artist).arg(album);
        r.dimenzione = QStringLiteral("%1 KB")
                           .arg(QLocale::c().toString(2000 + rng.bounded(9000)))
                           .rightJustified(20, u' ');
        r.info = kStates.at(static_cast<int>(rng.bounded(kStates.size())));
        r.labelD = QStringLiteral("TRACKLODGE_%1").arg(i / 5000 + 1);
        r.supporto = QString::number(static_cast<qint32>(0x5A000000 + i / 5000));
        take(r);
    }
}

QList<CatalogueRecord> makeRecords(qsizetype n)
{
    QList<CatalogueRecord> records;
    records.reserve(n);
    generateRecords(n, [&records](const CatalogueRecord &r) { records.append(r); });
    return records;
}

namespace {

void writeEach(
    const QString &path,
    const std::function<void(const std::function<void(const CatalogueRecord &)> &)> &forEach)
{
    CatalogueStore store(path);
    if (!store.open())
        qFatal("cannot create the benchmark catalogue: %s", qPrintable(store.lastError()));
    CatalogueStore::Transaction transaction(store);
    forEach([&store](const CatalogueRecord &r) {
        if (!store.add(r))
            qFatal("cannot write the benchmark catalogue: %s", qPrintable(store.lastError()));
    });
    if (!transaction.commit())
        qFatal("cannot commit the benchmark catalogue: %s", qPrintable(store.lastError()));
}

} // namespace

void writeCatalogue(const QString &path, const QList<CatalogueRecord> &records)
{
    writeEach(path, [&records](const auto &add) {
        for (const CatalogueRecord &r : records)
            add(r);
    });
}

void writeGeneratedCatalogue(const QString &path, qsizetype n)
{
    writeEach(path, [n](const auto &add) { generateRecords(n, add); });
}

size_t loadWithSqlite(const QString &path)
{
    sqlite3 *db = openPlainSqlite(path, SQLITE_OPEN_READONLY);
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

} // namespace Bench
