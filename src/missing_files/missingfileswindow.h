#pragma once

#include "maintenance/missingfilecheck.h"

#include <QList>
#include <QWidget>

class CatalogueStore;
class Dialogs;
class QListWidget;
class QPushButton;

/// The missing files window (object name `errati`, caption "MP3 Cancellati o Spostati"): the
/// catalogue entries whose file has vanished, and the one command "Elimina dal DB" that deletes
/// them all from the catalogue.
class MissingFilesWindow : public QWidget
{
    Q_OBJECT

public:
    /// The window listing `entries` (as MissingFileCheck::missingEntries makes them), one per line
    /// of `List1`. The store and the dialogs outlive the window.
    MissingFilesWindow(CatalogueStore &store, Dialogs &dialogs,
                       const QList<MissingFileCheck::MissingEntry> &entries,
                       QWidget *parent = nullptr);

    /// The entries still listed.
    QList<MissingFileCheck::MissingEntry> entries() const { return m_entries; }

signals:
    /// "Elimina dal DB" has deleted the listed entries from the catalogue (failures were
    /// reported in one message); the grid is to be reloaded. The window closes right after.
    void entriesDeleted();
    /// The window has closed, by "Elimina dal DB" or in any other way.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void deleteFromCatalogue();

    CatalogueStore &m_store;
    Dialogs &m_dialogs;
    QList<MissingFileCheck::MissingEntry> m_entries; ///< the entries still listed
    QListWidget *m_entryList;                        ///< `List1`
    QPushButton *m_deleteButton;                     ///< `Command1`, "Elimina dal DB"
};
