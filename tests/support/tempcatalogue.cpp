#include "tempcatalogue.h"

#include "catalogue/cataloguestore.h"

#include <QTest>

using namespace Qt::StringLiterals;

TempCatalogue::TempCatalogue()
{
    if (!m_dir.isValid())
        qFatal("cannot make a temporary folder");
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
    return {0,
            stem + u" title"_s,
            stem + u" artist"_s,
            stem + u" album"_s,
            u"1999"_s,
            u"Rock"_s,
            stem + u" comment"_s,
            stem,
            u"/music/"_s + stem + u'/',
            u"            4,321 KB"_s,
            u"OK"_s,
            u"DISK_"_s + stem,
            u"-12345"_s};
}
