#include "startupcheck.h"

#include "filelook.h"

#include <utility>

StartupCheckResult checkFilesAtStartup(CatalogueStore &store, const CatalogueModel &model,
                                       Dialogs &dialogs, const BusyPointer &busy)
{
    StartupCheckResult result;
    std::vector<FileLook> looks = lookAtRows(model, LookFor::Both);
    result.missing = MissingFileCheck::missingEntries(model, looks);
    if (result.missing.isEmpty())
        result.completion = CompleteMissingTags(store, model, dialogs, busy, std::move(looks));
    return result;
}
