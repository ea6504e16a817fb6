#include "rowrewrite.h"

#include "maintenancetexts.h"

#include "catalogue/modificadb.h"

QString rewriteRowRecord(CatalogueStore &store,
                         std::optional<CatalogueStore::Transaction> &transaction,
                         const CatalogueRecord &record)
{
    using namespace MaintenanceTexts;
    if (!transaction) {
        transaction.emplace(store);
        if (!transaction->isActive()) {
            transaction.reset();
            return QString::fromUtf8(kRecordNotWritten).arg(store.lastError());
        }
    }
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
