#pragma once

#include "catalogue/compattadb.h"
#include "catalogue/medium.h"
#include "platform/volumes.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;
class Dialogs;

/// The commands over a whole medium (the records of one `supporto`): rename it, show only its
/// records in the grid, remove its records from the catalogue. Each write is one transaction
/// followed by one compaction; the grid then shows the rows it showed (those still there) as
/// the catalogue now holds them, and the counters follow.
class MediumCommands
{
public:
    /// How a command ended.
    enum class Outcome {
        Done,     ///< done (a rename to the label the medium has already changes nothing)
        Refused,  ///< the new label cannot be taken; message shown, nothing changed
        Declined, ///< the user answered No; nothing changed
        Failed,   ///< the catalogue could not be read or written; message shown, nothing lost
    };

    /// Commands over the grid and the catalogue shown in it. All of them outlive the object.
    /// `busy` is shown during the compaction; `files` are its steps (see CompactionFiles).
    MediumCommands(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
                   Dialogs &dialogs, BusyPointer busy = {}, CompactionFiles files = {});

    /// Why `label`, trimmed of surrounding blanks, cannot be a medium's new label: empty, longer
    /// than 255 characters, or the label of another medium (`otherLabels`) whatever its letter
    /// case, as the status line shows labels in capitals. An Italian text, empty when it can.
    static QString labelProblem(const QString &label, const QStringList &otherLabels);

    /// Gives every record of `medium` the label `label` trimmed of surrounding blanks. A label
    /// with a problem (see labelProblem, asked of the catalogue) is refused with a critical
    /// message titled "Rinomina supporto".
    Outcome rename(const Medium &medium, const QString &label);
    /// Asks whether to remove `medium`, naming it and its number of records, and on Yes deletes
    /// all of its records. No file is touched.
    Outcome remove(const Medium &medium);
    /// The grid shows only the records of `medium`, in key order, as a search does.
    Outcome show(const Medium &medium);

private:
    // The grid again with the rows it showed, read anew; false (reported) on failure.
    bool reshowGrid();
    // One write over a whole medium in one transaction, then one compaction and the grid shown
    // again; a failed write is reported under `title` with `failure` (its %1 the reason).
    Outcome writeWholeMedium(const std::function<std::optional<qint64>()> &write,
                             const QString &title, const QString &failure);

    CatalogueStore &m_store;
    CatalogueModel &m_model;
    CollectionCounters &m_counters;
    Dialogs &m_dialogs;
    BusyPointer m_busy;
    CompactionFiles m_files;
};

/// The mount point of the mounted volume whose serial is the medium's, nullopt when none is
/// mounted (a medium without serial never is).
std::optional<QString> mountPointOf(const Medium &medium, const QList<VolumeInfo> &volumes);
