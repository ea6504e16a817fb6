#pragma once

#include "maintenance/filelook.h"

#include <vector>

class CatalogueModel;
class CatalogueStore;
class Dialogs;
class MissingFilesWindow;
class QWidget;

// What the main window does with the catalogue at start-up besides loading it.

/// Rewrites once the texts earlier versions stored with NUL characters, before the first load
/// so that no cell, search or export ever sees them, and compacts the catalogue when a record
/// changed. A failure is reported and leaves the catalogue as it was.
void cleanStoredTextsAtStart(CatalogueStore &store, Dialogs &dialogs);

/// The start-up check of the grid's files with the looks the load took (checkFilesAtStartup),
/// under the busy pointer. Returns the list of the vanished files as a window of `window`, not
/// yet shown, or nullptr when no file vanished (the tag completion has then run).
MissingFilesWindow *checkFilesAtStart(CatalogueStore &store, const CatalogueModel &model,
                                      Dialogs &dialogs, std::vector<FileLook> looks,
                                      QWidget *window);
