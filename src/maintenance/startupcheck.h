#pragma once

#include "missingfilecheck.h"
#include "tagcompletion.h"

#include <QList>

#include <optional>

/// What the start-up check of the catalogue's files found and did.
struct StartupCheckResult
{
    QList<MissingFileCheck::MissingEntry> missing; ///< rows whose file is gone, in grid order
    std::optional<CompletionResult> completion;    ///< run only when no file is missing
};

/// The start-up check: every row's file is looked at once, for both questions at the same time
/// (MissingFileCheck::isMissing and the tag block CompleteMissingTags looks for); when no file is
/// missing, the tag completion follows with those looks. While any file is missing, no file is
/// changed.
StartupCheckResult checkFilesAtStartup(CatalogueStore &store, const CatalogueModel &model,
                                       Dialogs &dialogs, const BusyPointer &busy = {});
