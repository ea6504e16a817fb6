#include "tempcatalogue.h"

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"

#include <QTest>

TempCatalogue::TempCatalogue()
{
    if (!m_dir.isValid())
        qFatal("cannot make a temporary folder");
}

QString TempCatalogue::path() const
{
    return cataloguePath(m_dir.path());
}

QList<qint64> TempCatalogue::add(const QList<CatalogueRecord> &records) const
{
    CatalogueStore store(path());
    if (!store.open())
        qFatal("cannot open the test catalogue: %s", qPrintable(store.lastError()));
    QList<qint64> ids;
    CatalogueStore::Transaction transaction(store);
    for (const CatalogueRecord &r : records) {
        const auto id = store.add(r);
        if (!id)
            qFatal("cannot add a test record: %s", qPrintable(store.lastError()));
        ids << *id;
    }
    if (!transaction.commit())
        qFatal("cannot commit test records: %s", qPrintable(store.lastError()));
    return ids;
}

CatalogueRecord sampleRecord(const QString &stem)
{
    CatalogueRecord r;
    r.titolo = stem + QStringLiteral(" title");
    r.autore = stem + QStringLiteral(" artist");
    r.album = stem + QStringLiteral(" album");
    r.anno = QStringLiteral("1999");
    r.genere = QStringLiteral("Rock");
    r.commento = stem + QStringLiteral(" comment");
    r.nome = stem;
    r.percorso = QStringLiteral("/music/") + stem + u'/';
    r.dimenzione = QStringLiteral("            4,321 KB");
    r.info = QStringLiteral("OK");
    r.labelD = QStringLiteral("DISK_") + stem;
    r.supporto = QStringLiteral("-12345");
    return r;
}
