#pragma once

#include "missingfilecheck.h"
#include "tagcompletion.h"

#include <QList>

#include <optional>
#include <vector>

class CollectionCounters;

/// What the start-up check of the catalogue's files found and did.
struct StartupCheckResult
{
    QList<MissingFileCheck::MissingEntry> missing; ///< rows whose file is gone, in grid order
    std::optional<CompletionResult> completion;    ///< run only when no file is missing
};

/// The start-up check with the looks the start-up's load took (loadLookingAtFiles): one look
/// per grid row, in grid order, answering both questions at once (MissingFileCheck::isMissing
/// and the tag block CompleteMissingTags looks for); looks that do not match the grid's rows are
/// taken again. When no file is missing, the tag completion follows with those looks; while any
/// file is missing, no file is changed.
StartupCheckResult checkFilesAtStartup(CatalogueStore &store, const CatalogueModel &model,
                                       Dialogs &dialogs, const BusyPointer &busy,
                                       std::vector<FileLook> looks);

/// What the start-up's load gave.
struct StartupLoad
{
    bool loaded = false;         ///< as caricaDB
    std::vector<FileLook> looks; ///< one per grid row, in grid order (LookFor::Both)
};

/// The start-up's load: caricaDB, while the files of the rows read so far are looked at on other
/// threads, so that the looks are mostly done when the grid is.
StartupLoad loadLookingAtFiles(CatalogueStore &store, CatalogueModel &model,
                               CollectionCounters &counters);
