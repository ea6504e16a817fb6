#include "readonlychange.h"

#include "maintenancetexts.h"

#include "catalogue/cataloguestore.h"
#include "catalogue/modificadb.h"
#include "grid/cataloguemodel.h"
#include "inspection/collectioncounters.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"
#include "platform/dialogs.h"
#include "platform/fileattributes.h"
#include "tags/tagfile.h"

#include <QLoggingCategory>

#include <optional>
#include <utility>
#include <vector>

Q_LOGGING_CATEGORY(lcReadOnly, "tracklodge.maintenance.readonly")

namespace {

using namespace MaintenanceTexts;

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString stateOfTag(TagOutcome outcome)
{
    switch (outcome) {
    case TagOutcome::Present:
        return QString::fromLatin1(StateWords::kOk);
    case TagOutcome::Absent:
        return QString::fromLatin1(StateWords::kNoTag);
    case TagOutcome::Unreadable:
        break;
    }
    return QString::fromLatin1(StateWords::kCorrupt);
}

} // namespace

ReadOnlyChangeResult changeReadOnlyFiles(CatalogueStore &store, CatalogueModel &model,
                                         CollectionCounters &counters, Dialogs &dialogs,
                                         const BusyPointer &busy)
{
    ReadOnlyChangeResult result;
    std::optional<CatalogueStore::Transaction> transaction;
    std::vector<std::pair<int, QString>> changes; // row and its new state word
    const auto fail = [&result](const QString &path, const QString &reason) {
        qCWarning(lcReadOnly).noquote() << "left read-only:" << path << reason;
        result.failures << text(kFileAndReason).arg(path, reason);
    };

    for (int r = 0; r < model.recordCount(); ++r) {
        const GridRow &row = model.row(r);
        if (row[State] != QLatin1String(StateWords::kReadOnly))
            continue;
        const QString path = resolveRecordFile(row[Folder], row[FileName]);
        const QString state = stateOfTag(readTag(path).outcome);
        QString reason;
        if (makeOwnerWritable(path, &reason) == OwnerWrite::Failed) {
            fail(path, text(kCannotMakeWritable).arg(reason));
            continue;
        }
        if (!transaction) {
            transaction.emplace(store);
            if (!transaction->isActive()) {
                fail(path, text(kRecordNotWritten).arg(store.lastError()));
                transaction.reset();
                continue;
            }
        }
        const CatalogueStore::WriteResult written = ModificaDB(
            store, row[Title], row[Artist], row[Album], row[Year], row[Comment], row[Genre], state,
            row[FileName], row[Folder], row[Size], row[MediumLabel], row[Key]);
        if (written != CatalogueStore::WriteResult::Done) {
            fail(path, written == CatalogueStore::WriteResult::NoSuchRecord
                           ? text(kRecordGone)
                           : text(kRecordNotWritten).arg(store.lastError()));
            continue;
        }
        changes.emplace_back(r, state);
    }

    if (!changes.empty() && !transaction->commit()) {
        const QString error = store.lastError();
        for (const auto &[r, state] : changes)
            fail(resolveRecordFile(model.cell(r, Folder), model.cell(r, FileName)),
                 text(kRecordNotWritten).arg(error));
        changes.clear();
    }
    for (const auto &[r, state] : changes) {
        model.setCell(r, State, state);
        counters.uncount(QString::fromLatin1(StateWords::kReadOnly));
        counters.count(state);
    }
    result.changed = static_cast<int>(changes.size());
    if (!result.failures.isEmpty())
        dialogs.critical(text(kAttributesTitle),
                         text(kAttributesFailed).arg(result.failures.join(u'\n')));
    if (!changes.empty())
        result.compacted = CompattaDB(store, dialogs, busy);
    return result;
}
