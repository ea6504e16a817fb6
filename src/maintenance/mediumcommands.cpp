#include "mediumcommands.h"

#include "mediumtexts.h"

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/cataloguesearch.h"
#include "platform/dialogs.h"
#include "utf8text.h"

using namespace MediumTexts;

MediumCommands::MediumCommands(CatalogueStore &store, CatalogueModel &model,
                               CollectionCounters &counters, Dialogs &dialogs, BusyPointer busy,
                               CompactionFiles files)
    : m_store(store)
    , m_model(model)
    , m_counters(counters)
    , m_dialogs(dialogs)
    , m_busy(std::move(busy))
    , m_files(std::move(files))
{}

QString MediumCommands::labelProblem(const QString &label, const QStringList &otherLabels)
{
    const QString wanted = label.trimmed();
    if (wanted.isEmpty())
        return text(kLabelEmpty);
    if (wanted.size() > kMaximumLabelLength)
        return text(kLabelTooLong).arg(kMaximumLabelLength).arg(wanted.size());
    for (const QString &other : otherLabels) {
        if (other.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return text(kLabelTaken).arg(wanted, other);
    }
    return {};
}

bool MediumCommands::reshowGrid()
{
    QList<qint64> keys;
    keys.reserve(m_model.recordCount());
    for (int row = 0; row < m_model.recordCount(); ++row) {
        if (const std::optional<qint64> key = m_model.key(row))
            keys.append(*key);
    }
    if (CatalogueSearch::rebuild(m_store, m_model, m_counters, keys))
        return true;
    m_dialogs.critical(QString(), text(kCannotShow).arg(m_store.lastError()));
    return false;
}

MediumCommands::Outcome MediumCommands::rename(const Medium &medium, const QString &label)
{
    const QString wanted = label.trimmed();
    if (wanted == medium.labelD)
        return Outcome::Done;
    const std::optional<QStringList> others = m_store.labelsOfOtherMedia(medium.supporto);
    if (!others) {
        m_dialogs.critical(text(kRenameTitle), text(kCannotRename).arg(m_store.lastError()));
        return Outcome::Failed;
    }
    if (const QString problem = labelProblem(wanted, *others); !problem.isEmpty()) {
        m_dialogs.critical(text(kRenameTitle), problem);
        return Outcome::Refused;
    }
    return writeWholeMedium([&] { return m_store.relabelMedium(medium.supporto, wanted); },
                            text(kRenameTitle), text(kCannotRename));
}

MediumCommands::Outcome
MediumCommands::writeWholeMedium(const std::function<std::optional<qint64>()> &write,
                                 const QString &title, const QString &failure)
{
    {
        CatalogueStore::Transaction transaction(m_store);
        if (!transaction.isActive() || !write() || !transaction.commit()) {
            m_dialogs.critical(title, failure.arg(m_store.lastError()));
            return Outcome::Failed;
        }
    }
    // A failed compaction is reported by itself and loses nothing: the written catalogue stays.
    CompattaDB(m_store, m_dialogs, m_busy, m_files);
    return reshowGrid() ? Outcome::Done : Outcome::Failed;
}

MediumCommands::Outcome MediumCommands::remove(const Medium &medium)
{
    const QString question = medium.files == 1
                                 ? text(kRemoveQuestionOne).arg(medium.labelD)
                                 : text(kRemoveQuestion).arg(medium.labelD).arg(medium.files);
    if (!m_dialogs.question(text(kRemoveTitle), question))
        return Outcome::Declined;
    return writeWholeMedium([&] { return m_store.removeMedium(medium.supporto); },
                            text(kRemoveTitle), text(kCannotRemove));
}

MediumCommands::Outcome MediumCommands::show(const Medium &medium)
{
    const std::optional<QList<qint64>> keys = m_store.keysOfMedium(medium.supporto);
    if (keys && CatalogueSearch::rebuild(m_store, m_model, m_counters, *keys))
        return Outcome::Done;
    m_dialogs.critical(QString(), text(kCannotShow).arg(m_store.lastError()));
    return Outcome::Failed;
}

std::optional<QString> mountPointOf(const Medium &medium, const QList<VolumeInfo> &volumes)
{
    if (medium.supporto.isEmpty())
        return std::nullopt;
    for (const VolumeInfo &volume : volumes) {
        if (volume.serial == medium.supporto)
            return volume.mountPoint;
    }
    return std::nullopt;
}
