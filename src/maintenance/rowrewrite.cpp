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
    const CatalogueStore::WriteResult written =
        key ? ModificaDB(store, row[Title], row[Artist], row[Album], row[Year], row[Comment],
                         row[Genre], stateWord, row[FileName], row[Folder], row[Size],
                         row[MediumLabel], *key)
            : CatalogueStore::WriteResult::NoSuchRecord;
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
