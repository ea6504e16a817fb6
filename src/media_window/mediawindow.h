#pragma once

#include <QWidget>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;
class Dialogs;
class MediaTableModel;
class QComboBox;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class Volumes;
struct Medium;

/// The window of the media of the catalogue (object name `FormSupporti`, caption "Supporti"):
/// one row per medium, sortable by every column, and the commands "Rinomina...", "Mostra nel
/// catalogo" and "Elimina dal catalogo" over the medium chosen. The work is MediumCommands'.
class MediaWindow : public QWidget
{
    Q_OBJECT

public:
    /// A window over the catalogue and the grid that shows it; all of them outlive the window.
    MediaWindow(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
                Dialogs &dialogs, Volumes &volumes, QWidget *parent = nullptr);

    /// Lists the media anew from the catalogue and the mounted volumes, the medium chosen
    /// staying chosen while it is there.
    void reload();

signals:
    /// A medium was renamed or removed: the grid shows the catalogue as it now is.
    void catalogueChanged();
    /// The grid shows only the records of one medium.
    void gridNarrowed();

private:
    // The medium of the chosen row, if a row is chosen.
    const Medium *chosen() const;
    void updateCommands();
    void rename();
    void showMedium();
    void remove();

    CatalogueStore &m_store;
    CatalogueModel &m_model;
    CollectionCounters &m_counters;
    Dialogs &m_dialogs;
    Volumes &m_volumes;
    MediaTableModel *m_media;
    QSortFilterProxyModel *m_sorted;
    QTableView *m_list = nullptr;          ///< `ListaSupporti`
    QComboBox *m_sortChooser = nullptr;    ///< `OrdinaSupporti`
    QPushButton *m_renameButton = nullptr; ///< `Rinomina`
    QPushButton *m_showButton = nullptr;   ///< `Mostra`
    QPushButton *m_removeButton = nullptr; ///< `Elimina`
};
