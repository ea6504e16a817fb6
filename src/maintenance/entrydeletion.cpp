#include "entrydeletion.h"

#include "maintenancetexts.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "inspection/collectioncounters.h"
#include "inspection/recordfile.h"
#include "inspection/statewords.h"
#include "platform/dialogs.h"
#include "utf8text.h"

#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>
#include <optional>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcDeletion, "tracklodge.maintenance.deletion")

namespace {

using namespace MaintenanceTexts;

// Deletes the file; true when it is gone afterwards, also when it was gone already. A folder of
// that name is never removed: unlink refuses it, and that is a failure like any other.
bool removeFile(const QString &path, QString &reason)
{
    if (::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT || errno == ENOTDIR)
        return true;
    reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

EntryDeletion::EntryDeletion(CatalogueStore &store, CatalogueModel &model,
                             CollectionCounters &counters, Dialogs &dialogs)
    : m_store(store)
    , m_model(model)
    , m_counters(counters)
    , m_dialogs(dialogs)
{}

bool EntryDeletion::refused(const QString &stateWord)
{
    const char *refusal = nullptr;
    if (stateWord == QLatin1String(StateWords::kReadOnly))
        refusal = kReadOnlyRefusal;
    else if (stateWord == QLatin1String(StateWords::kCdRom))
        refusal = kCdRomRefusal;
    else if (stateWord == QLatin1String(StateWords::kRemovable))
        refusal = kRemovableRefusal;
    if (!refusal)
        return false;
    m_dialogs.critical(text(kRefusalTitle), text(refusal));
    return true;
}

EntryDeletion::Outcome EntryDeletion::deleteRow(int row, Confirmation confirmation,
                                                FileAction fileAction)
{
    if (row < 0 || row >= m_model.recordCount())
        return Outcome::NoRow;
    // One row is both checked and deleted, so the refusal always speaks of the row that goes.
    const CatalogueRecord entry = m_model.record(row);
    const bool withFile = fileAction == FileAction::DeleteFile;
    if (withFile && refused(entry.info))
        return Outcome::Refused;
    if (confirmation == Confirmation::Ask &&
        !m_dialogs.question(text(kDeleteTitle), text(kDeleteQuestion)))
        return Outcome::Declined;

    CatalogueStore::Transaction transaction(m_store);
    if (!transaction.isActive() ||
        m_store.remove(entry.id) == CatalogueStore::WriteResult::Failed) {
        m_dialogs.critical(text(kDeleteTitle), text(kCannotDeleteRecord).arg(m_store.lastError()));
        return Outcome::Failed;
    }
    // A record that is no longer there (deleted meanwhile) does not keep its row.

    const QString path = withFile ? resolveRecordFile(entry.percorso, entry.nome) : QString();
    QString reason;
    if (withFile && !removeFile(path, reason)) {
        qCWarning(lcDeletion) << "cannot delete" << path << reason;
        m_dialogs.critical(text(kDeleteTitle), text(kCannotDeleteFile).arg(path, reason));
        return Outcome::Failed; // the transaction rolls back: the record stays
    }
    if (!transaction.commit()) {
        const QString error = m_store.lastError();
        m_dialogs.critical(text(kDeleteTitle), withFile
                                                   ? text(kFileDeletedRecordKept).arg(path, error)
                                                   : text(kCannotDeleteRecord).arg(error));
        return Outcome::Failed;
    }

    // The counters count the state words the grid shows.
    const QString shownState = m_model.cell(row, State);
    m_model.removeRows(row, 1);
    m_counters.uncount(shownState);
    return Outcome::Deleted;
}
