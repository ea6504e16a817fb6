#pragma once

#include "inspection/drivetable.h"
#include "platform/volumes.h"
#include "tags/id3v2reader.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;
class Dialogs;
class WinSeek;

/// The import as the main window runs it: "Importa" opens the disk search window, whose found
/// files are imported (riempi) under a progress window, and the grid then shows the catalogue.
class ImportFlow : public QObject
{
    Q_OBJECT

public:
    /// Loads the grid through the function it is given and reports a failed load.
    using ShowCatalogue = std::function<void(const std::function<bool()> &load)>;

    /// An import into `store` for the main window `window`, whose grid is `model`. Every
    /// reference outlives the flow; `driveTable` is read at each import.
    ImportFlow(CatalogueStore &store, Dialogs &dialogs, Volumes &volumes,
               const DriveTable &driveTable, CatalogueModel &model, CollectionCounters &counters,
               ShowCatalogue showCatalogue, QWidget *window);

    /// Opens the disk search window (one per main window) above the main window, with an empty
    /// work list.
    void openDiskSearch();

private:
    void importFound(const QStringList &files, const std::optional<VolumeInfo> &chosenDrive,
                     Id3v2Fallback id3v2);
    void riempi(const std::optional<VolumeInfo> &chosenDrive, Id3v2Fallback id3v2);

    CatalogueStore &m_store;
    Dialogs &m_dialogs;
    Volumes &m_volumes;
    const DriveTable &m_driveTable;
    CatalogueModel &m_model;
    CollectionCounters &m_counters;
    ShowCatalogue m_showCatalogue;
    QWidget *m_window;
    QStringList m_workList; ///< full names of the files to import
    QPointer<WinSeek> m_winSeek;
};
