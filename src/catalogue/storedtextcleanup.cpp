#include "storedtextcleanup.h"

#include "cataloguestore.h"
#include "cataloguetexts.h"
#include "recordcuts.h"

#include "utf8text.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCleanup, "tracklodge.catalogue.cleanup")

QString withoutNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : recordText(text.first(nul), nul);
}

CatalogueRecord cleanedRecord(CatalogueRecord record)
{
    const bool titleHadNul = record.titolo.contains(QChar(0));
    for (QString *field : {&record.titolo, &record.autore, &record.album, &record.anno,
                           &record.genere, &record.commento, &record.nome, &record.percorso,
                           &record.dimenzione, &record.info, &record.labelD, &record.supporto})
        *field = withoutNul(*field);
    if (titleHadNul && record.titolo.isEmpty())
        record.titolo = record.nome;
    if (record.genere.trimmed().isEmpty())
        record.genere = QLatin1String("");
    return record;
}

TextCleanup cleanStoredTexts(CatalogueStore &store)
{
    using namespace CatalogueTexts;
    TextCleanup result;
    const auto failed = [&store, &result] {
        result.cleaned = 0;
        result.error = text(kCleanupFailed).arg(store.lastError());
        qCWarning(lcCleanup).noquote() << result.error;
        return result;
    };
    // The search reads every text of every record: a marked catalogue is spared it at each start.
    const std::optional<bool> cleaned = store.textsCleaned();
    if (!cleaned)
        return failed();
    if (*cleaned)
        return result;
    CatalogueStore::Transaction transaction(store);
    if (!transaction.isActive())
        return failed();
    const std::optional<QList<qint64>> keys = store.keysToClean();
    if (!keys)
        return failed();
    for (const qint64 key : *keys) {
        const Lookup<CatalogueRecord> record = store.recordById(key);
        if (!record.isFound())
            return failed();
        if (store.updateWithMedium(cleanedRecord(*record)) != CatalogueStore::WriteResult::Done)
            return failed();
        ++result.cleaned;
    }
    if (!store.markCleaned() || !transaction.commit())
        return failed();
    return result;
}
