#pragma once

#include "inspection/drivetable.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class CatalogueModel;
class CatalogueView;
class CatalogueStore;
class CollectionCounters;
class Dialogs;
class HoverController;
class ImportFlow;
class MediaWindow;
class MissingFilesWindow;
class Player;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class SearchPanel;
class SortPanel;
class TagEditor;
class Volumes;
class WaitWindow;

/// The main window (object name `Form1`): the catalogue grid and the commands around it. It is
/// wiring and display; the work is done by the catalogue store, the grid model and the command
/// classes.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    /// A main window over an open catalogue. The store, dialogs and volumes outlive it.
    MainWindow(CatalogueStore &store, Dialogs &dialogs, Volumes &volumes,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    /// The start-up sequence: cleans the texts of earlier versions once, loads the catalogue
    /// into the grid under the wait window, builds the drive table, then checks for vanished
    /// files: with some, the window is disabled and `missingFiles` lists them; otherwise the tag
    /// completion runs. Last, the DEL key on the grid is routed to the delete. Call once, before
    /// the window is shown.
    void start();
    /// Reloads the whole catalogue into the grid (caricaDB), with the wait window.
    void caricaDB();

    /// The player of the tag editor's player area; without one (the default) the area stays
    /// disabled. The player outlives the window.
    void setPlayer(Player *player) { m_player = player; }

    /// The grid model every command reads.
    CatalogueModel &model() { return *m_model; }
    /// The drive table: one entry per fixed, removable or CD volume, in drive-list order.
    const DriveTable &driveTable() const { return m_driveTable; }
    /// The counts of the records the grid shows.
    CollectionCounters &counters() { return *m_counters; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    /// Becoming the active window closes the tag editor without saving.
    void changeEvent(QEvent *event) override;
    /// Shows the list of vanished files found before the window was shown.
    void showEvent(QShowEvent *event) override;

private:
    // Loads the grid through `load` under the wait window; a failed load is reported.
    void showCatalogue(const std::function<bool()> &load);
    QGroupBox *buildDeleteFrame();
    QGroupBox *buildInfoFrame();
    QGroupBox *buildImportFrame();
    QWidget *buildRefreshPair();
    void buildHoverRules();
    void setTabChain();
    void showCounters();
    void refresh();
    void setRefreshEnabled(bool enabled);
    void gridClicked(const QModelIndex &index);
    void showStatus(const QString &text, std::optional<qint64> key);
    void openEditor(const QModelIndex &index);
    // Disables this window while the list of vanished files is open.
    void showMissingFiles(MissingFilesWindow *missingFiles);
    void deleteCurrentRow();
    void changeAttributes();

    // The media window and the duplicates view (mainwindowmedia.cpp).
    void openMedia();
    void showDuplicates();
    // The status line again for its record as the grid now shows it, or empty when it is gone.
    void refreshStatus();

    CatalogueStore &m_store;
    Dialogs &m_dialogs;
    Volumes &m_volumes;
    CatalogueModel *m_model;
    CollectionCounters *m_counters;
    HoverController *m_hover;
    ImportFlow *m_importFlow;
    WaitWindow *m_wait = nullptr;
    Player *m_player = nullptr;
    std::optional<qint64> m_statusKey; ///< key of the record the status line describes
    DriveTable m_driveTable;           ///< built at start-up, read by the import

    // The controls, by what they are; each keeps its own name as its objectName.
    CatalogueView *m_grid = nullptr;        ///< `dati`
    QLabel *m_statusLine = nullptr;         ///< `Label4`
    SearchPanel *m_searchPanel = nullptr;   ///< `Ricerca`
    SortPanel *m_sortPanel = nullptr;       ///< `Frame7`
    QCheckBox *m_noConfirmCheck = nullptr;  ///< `conferma`
    QCheckBox *m_deleteFileCheck = nullptr; ///< `cancella`
    QGroupBox *m_infoFrame = nullptr;       ///< `Frame2`
    QLabel *m_counterLabels[6] = {};
    QPushButton *m_attributesButton = nullptr; ///< `attrib`
    QLabel *m_attributesFace = nullptr;        ///< `txtattr`
    QPushButton *m_exportButton = nullptr;     ///< `EsportaCsv`, "Esporta Lista"
    QGroupBox *m_importFrame = nullptr;        ///< `Frame1`
    QPushButton *m_importButton = nullptr;     ///< `Importa`
    QLabel *m_importFace = nullptr;            ///< `Label2`
    QPushButton *m_refreshButton = nullptr;    ///< `Command2`
    QLabel *m_refreshFace = nullptr;           ///< `Label3`
    QPushButton *m_mediaButton = nullptr;      ///< `Supporti`
    QPointer<MediaWindow> m_mediaWindow;

    QPointer<TagEditor> m_editor;                       ///< the open tag editor, if any
    QPointer<MissingFilesWindow> m_pendingMissingFiles; ///< to be shown once this window is
};
