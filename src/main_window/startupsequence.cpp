#include "startupsequence.h"

#include "catalogue/compattadb.h"
#include "catalogue/storedtextcleanup.h"
#include "maintenance/startupcheck.h"
#include "missing_files/missingfileswindow.h"
#include "platform/dialogs.h"

#include "widgets/busycursor.h"

void cleanStoredTextsAtStart(CatalogueStore &store, Dialogs &dialogs)
{
    const TextCleanup cleanup = cleanStoredTexts(store);
    if (!cleanup.ok())
        dialogs.critical(QString(), cleanup.error);
    else if (cleanup.cleaned > 0)
        CompattaDB(store, dialogs, busyCursorPointer());
}

MissingFilesWindow *checkFilesAtStart(CatalogueStore &store, const CatalogueModel &model,
                                      Dialogs &dialogs, std::vector<FileLook> looks,
                                      QWidget *window)
{
    QList<MissingFileCheck::MissingEntry> missing;
    {
        const BusyCursor busy;
        missing = checkFilesAtStartup(store, model, dialogs, {}, std::move(looks)).missing;
    }
    if (missing.isEmpty())
        return nullptr;
    return new MissingFilesWindow(store, dialogs, missing, window);
}
