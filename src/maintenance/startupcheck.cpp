#include "startupcheck.h"

#include "filelook.h"

#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"

#include <utility>

StartupCheckResult checkFilesAtStartup(CatalogueStore &store, const CatalogueModel &model,
                                       Dialogs &dialogs, const BusyPointer &busy,
                                       std::vector<FileLook> looks)
{
    // Looks of other rows than the grid's (none should be) are taken again.
    if (looks.size() != static_cast<size_t>(model.recordCount()))
        looks = lookAtRows(model, LookFor::Both);
    StartupCheckResult result;
    result.missing = MissingFileCheck::missingEntries(model, looks);
    if (result.missing.isEmpty())
        result.completion = CompleteMissingTags(store, model, dialogs, busy, std::move(looks));
    return result;
}

StartupLoad loadLookingAtFiles(CatalogueStore &store, CatalogueModel &model,
                               CollectionCounters &counters)
{
    RowLooker looker(LookFor::Both);
    StartupLoad load;
    load.loaded = caricaDB(store, model, counters, [&looker](const GridRows &rows, int r) {
        looker.add(RowFile{rows.utf8(r, Folder), rows.utf8(r, FileName), rows.utf8(r, State)});
    });
    if (load.loaded)
        load.looks = looker.finish();
    return load;
}
