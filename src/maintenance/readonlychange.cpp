#include "readonlychange.h"

#include "maintenancetexts.h"
#include "rowrewrite.h"

#include "catalogue/cataloguestore.h"
#include "catalogue/modificadb.h"
#include "grid/cataloguemodel.h"
#include "inspection/collectioncounters.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"
#include "platform/dialogs.h"
#include "platform/fileattributes.h"
#include "tags/tagfile.h"
#include "utf8text.h"

#include <QLoggingCategory>

#include <map>
#include <optional>
#include <utility>
#include <vector>

Q_LOGGING_CATEGORY(lcReadOnly, "tracklodge.maintenance.readonly")

namespace {

using namespace MaintenanceTexts;

using Counter = CollectionCounters::Counter;

// The new state word of a read-only file and the counter it moves to.
struct NewState
{
    QString word;
    Counter counter;
};

NewState stateOfTag(TagOutcome outcome)
{
    switch (outcome) {
    case TagOutcome::Present:
        return {QString::fromLatin1(StateWords::kOk), Counter::WithTag};
    case TagOutcome::Absent:
        return {QString::fromLatin1(StateWords::kNoTag), Counter::WithoutTag};
    case TagOutcome::Unreadable:
        break;
    }
    return {QString::fromLatin1(StateWords::kCorrupt), Counter::Corrupt};
}

} // namespace

ReadOnlyChangeResult changeReadOnlyFiles(CatalogueStore &store, CatalogueModel &model,
                                         CollectionCounters &counters, Dialogs &dialogs,
                                         const BusyPointer &busy)
{
    ReadOnlyChangeResult result;
    std::optional<CatalogueStore::Transaction> transaction;
    std::vector<std::pair<int, NewState>> changes; // row and its new state
    std::vector<CatalogueRecord> rewritten;        // the rows' records as now stored
    const auto fail = [&result](const QString &path, const QString &reason) {
        qCWarning(lcReadOnly).noquote() << "left read-only:" << path << reason;
        result.failures << text(kFileAndReason).arg(path, reason);
    };

    for (int r = 0; r < model.recordCount(); ++r) {
        if (model.cell(r, State) != QLatin1String(StateWords::kReadOnly))
            continue;
        CatalogueRecord record = model.record(r);
        const QString path = resolveRecordFile(record.percorso, record.nome);
        const NewState state = stateOfTag(readTag(path).outcome);
        record.info = state.word;
        QString reason;
        if (makeOwnerWritable(path, &reason) == OwnerWrite::Failed) {
            fail(path, text(kCannotMakeWritable).arg(reason));
            continue;
        }
        if (const QString why = rewriteRowRecord(store, transaction, record); !why.isEmpty()) {
            fail(path, why);
            continue;
        }
        changes.emplace_back(r, state);
        rewritten.push_back(storedByModificaDB(record));
    }

    if (!changes.empty() && !transaction->commit()) {
        const QString error = store.lastError();
        for (const CatalogueRecord &record : rewritten)
            fail(resolveRecordFile(record.percorso, record.nome),
                 text(kRecordNotWritten).arg(error));
        changes.clear();
    }
    // Each counter moves once, not once per row.
    std::map<Counter, int> moved;
    for (size_t i = 0; i < changes.size(); ++i) {
        model.setRecord(changes[i].first, rewritten[i]);
        ++moved[changes[i].second.counter];
    }
    result.changed = static_cast<int>(changes.size());
    if (result.changed > 0) {
        counters.add(Counter::ReadOnly, -result.changed);
        for (const auto &[counter, count] : moved)
            counters.add(counter, count);
    }
    if (!result.failures.isEmpty())
        dialogs.critical(text(kAttributesTitle),
                         text(kAttributesFailed).arg(result.failures.join(u'\n')));
    if (!changes.empty())
        result.compacted = CompattaDB(store, dialogs, busy);
    return result;
}
