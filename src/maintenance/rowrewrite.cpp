#include "rowrewrite.h"

#include "maintenancetexts.h"

#include "catalogue/modificadb.h"

QString rewriteRowRecord(CatalogueStore &store,
                         std::optional<CatalogueStore::Transaction> &transaction,
                         const GridRow &row, std::optional<qint64> key, const QString &stateWord)
{
    using namespace MaintenanceTexts;
    if (!transaction) {
        transaction.emplace(store);
        if (!transaction->isActive()) {
            transaction.reset();
            return QString::fromUtf8(kRecordNotWritten).arg(store.lastError());
        }
    }
    if (!key)
        return QString::fromUtf8(kNoSuchRecord);
    CatalogueRecord record;
    record.id = *key;
    record.titolo = row[Title];
    record.autore = row[Artist];
    record.album = row[Album];
    record.anno = row[Year];
    record.genere = row[Genre];
    record.commento = row[Comment];
    record.nome = row[FileName];
    record.percorso = row[Folder];
    record.dimenzione = row[Size];
    record.info = stateWord;
    record.labelD = row[MediumLabel];
    const CatalogueStore::WriteResult written = ModificaDB(store, record);
    switch (written) {
    case CatalogueStore::WriteResult::Done:
        return {};
    case CatalogueStore::WriteResult::NoSuchRecord:
        return QString::fromUtf8(kNoSuchRecord);
    case CatalogueStore::WriteResult::Failed:
        break;
    }
    return QString::fromUtf8(kRecordNotWritten).arg(store.lastError());
}
