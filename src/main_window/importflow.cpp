#include "importflow.h"

#include "importprogress.h"

#include "disk_search/winseek.h"
#include "grid/gridloader.h"
#include "import/fileimport.h"
#include "platform/dialogs.h"
#include "tags/taglibid3v2reader.h"

#include "widgets/busycursor.h"

ImportFlow::ImportFlow(CatalogueStore &store, Dialogs &dialogs, Volumes &volumes,
                       const DriveTable &driveTable, CatalogueModel &model,
                       CollectionCounters &counters, ShowCatalogue showCatalogue, QWidget *window)
    : QObject(window)
    , m_store(store)
    , m_dialogs(dialogs)
    , m_volumes(volumes)
    , m_driveTable(driveTable)
    , m_model(model)
    , m_counters(counters)
    , m_showCatalogue(std::move(showCatalogue))
    , m_window(window)
{}

void ImportFlow::openDiskSearch()
{
    m_workList.clear();
    if (!m_winSeek) {
        m_winSeek = new WinSeek(m_volumes, m_dialogs, m_window);
        connect(m_winSeek, &WinSeek::importRequested, this, &ImportFlow::importFound);
    }
    m_winSeek->show();
    m_winSeek->raise();
    m_winSeek->activateWindow();
}

void ImportFlow::importFound(const QStringList &files, const std::optional<VolumeInfo> &chosenDrive,
                             Id3v2Fallback id3v2)
{
    m_workList += files;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    riempi(chosenDrive, id3v2);
}

void ImportFlow::riempi(const std::optional<VolumeInfo> &chosenDrive, Id3v2Fallback id3v2)
{
    const TagLibId3v2Reader id3v2Reader;
    FileImport::Result result;
    // The grid shows the added records from their rows as written, without reading them back.
    AddedRows added;
    {
        const BusyCursor busy;
        ImportProgress progress(m_window);
        FileImport fileImport(m_store, m_dialogs, m_volumes, m_driveTable, chosenDrive);
        if (id3v2 == Id3v2Fallback::On)
            fileImport.setId3v2Reader(&id3v2Reader);
        fileImport.setAddedRecords([&added](const RecordView &record) { added.take(record); });
        result = fileImport.riempi(m_workList, [&progress](qsizetype done, qsizetype total) {
            progress.update(done, total);
        });
    }
    m_showCatalogue([&] {
        return added.caricaDB(m_store, m_model, m_counters,
                              result.onlyAdded() ? AddedRows::Import::OnlyAdded
                                                 : AddedRows::Import::Other);
    });
    if (const QString report = result.report(); !report.isEmpty())
        m_dialogs.critical(QString(), report);
}
