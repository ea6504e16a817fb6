#pragma once

#include "inspection/drivetable.h"
#include "maintenance/filelook.h"
#include "tags/id3v2reader.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;
class Dialogs;
class HoverController;
class MediaWindow;
class MissingFilesWindow;
class Player;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class TagEditor;
class Volumes;
class WaitWindow;
class WinSeek;

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

    /// The start-up sequence: loads the catalogue into the grid under the wait window, builds
    /// the drive table, fills the genre chooser, then checks for vanished files: with some, the
    /// window is disabled and `missingFiles` lists them; otherwise the tag completion runs. Last,
    /// the DEL key on the grid is routed to the delete. Call once, before the window is shown.
    /// Skipping the checks leaves the files and the catalogue as they are (for a window opened
    /// over a catalogue whose files are being worked on elsewhere, as in tests of other windows).
    enum class StartupChecks { Run, Skip };
    void start(StartupChecks checks = StartupChecks::Run);
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
    QGroupBox *buildSearchFrame();
    QGroupBox *buildSortFrame();
    QGroupBox *buildDeleteFrame();
    QGroupBox *buildInfoFrame();
    QGroupBox *buildImportFrame();
    QWidget *buildRefreshPair();
    QWidget *hoverCommand(QPushButton *button, QLabel *face);
    QTableView *buildGrid();
    void buildHoverRules();
    void showCounters();
    void refresh();
    void searchOptionClicked(int index);
    void searchTextChanged(const QString &text);
    void runSearch();
    void runSort();
    void setSearchEnabled(bool enabled);
    void setRefreshEnabled(bool enabled);
    void gridClicked(const QModelIndex &index);
    void showStatus(const QString &text, std::optional<qint64> key);
    void applyColumnWidths();
    void openEditor(const QModelIndex &index);

    // The import: the search window, the files it found, and their import.
    void openDiskSearch();
    void importFound(const QStringList &files, const QString &driveEntry, Id3v2Fallback id3v2);
    void riempi(const QString &driveEntry, Id3v2Fallback id3v2);

    /// Rewrites once the texts earlier versions stored with NUL characters, then compacts.
    void cleanStoredTexts();
    void runStartupChecks(std::vector<FileLook> looks);
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
    WaitWindow *m_wait = nullptr;
    Player *m_player = nullptr;
    int m_searchOption = -1;           ///< last search option clicked, -1 for none
    int m_sortOption = -1;             ///< last sort option clicked, -1 for none
    std::optional<qint64> m_statusKey; ///< key of the record the status line describes
    DriveTable m_driveTable;           ///< built at start-up, read by the import
    QStringList m_workList;            ///< the import's work list: full names of the files

    // The controls, by what they are; each keeps its own name as its objectName.
    QTableView *m_grid = nullptr;           ///< `dati`
    QLabel *m_statusLine = nullptr;         ///< `Label4`
    QGroupBox *m_searchFrame = nullptr;     ///< `Ricerca`
    QRadioButton *m_searchOptions[5] = {};  ///< `Option1_0..4`
    QLineEdit *m_searchEdit = nullptr;      ///< `Text1`
    QComboBox *m_genreChooser = nullptr;    ///< `Combo1`
    QCheckBox *m_inFieldCheck = nullptr;    ///< `Check1`, "Ricerca in tutto il campo"
    QPushButton *m_searchButton = nullptr;  ///< `Command1`
    QLabel *m_searchFace = nullptr;         ///< `cerca`
    QListWidget *m_foundKeysList = nullptr; ///< `List3`
    QGroupBox *m_sortFrame = nullptr;       ///< `Frame7`
    QRadioButton *m_sortOptions[10] = {};   ///< `ordina_0..9`
    QPushButton *m_sortButton = nullptr;    ///< `ordinamento`
    QLabel *m_sortFace = nullptr;           ///< `selordina`
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
    QPointer<WinSeek> m_winSeek;
    QPushButton *m_mediaButton = nullptr;      ///< `Supporti`
    QPushButton *m_duplicatesButton = nullptr; ///< `Doppioni`
    QPointer<MediaWindow> m_mediaWindow;

    QPointer<TagEditor> m_editor;                       ///< the open tag editor, if any
    QPointer<MissingFilesWindow> m_pendingMissingFiles; ///< to be shown once this window is
};
