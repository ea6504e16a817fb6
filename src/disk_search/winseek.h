#pragma once

#include "platform/volumes.h"
#include "tags/id3v2reader.h"
#include "widgets/busycursor.h"

#include <QStringList>
#include <QWidget>

#include <optional>

class Dialogs;
class FolderList;
class FoundFilesModel;
class HoverController;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLayout;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;

/// The disk search window (object name `WinSeek`, caption "Ricerca MP3"): the user picks a
/// drive and a folder, the search lists the MP3 files below it, and "&Importa" hands them over to
/// be imported. It is wiring and display: the search is SearchFolder, the import the receiver of
/// importRequested(). Closing it by any means shows its parent, the main window, again.
class WinSeek : public QWidget
{
    Q_OBJECT

public:
    /// A search window over the drives of `volumes`, opened on the process's current folder.
    /// `parent` is the main window; the window deletes itself when closed.
    WinSeek(Volumes &volumes, Dialogs &dialogs, QWidget *parent = nullptr);
    ~WinSeek() override;

    /// The most entries the found list takes (kFoundListLimit unless changed).
    void setFoundLimit(qsizetype limit) { m_foundLimit = limit; }

signals:
    /// "&Importa" was clicked: import `files` (full names, in the order found) from the drive
    /// chosen in the drive list (none when the list is empty), reading ID3v2 tags as `id3v2`
    /// says ("Leggi anche i tag ID3v2", remembered between runs). The window waits for the
    /// receiver, then closes.
    void importRequested(const QStringList &files, const std::optional<VolumeInfo> &chosenDrive,
                         Id3v2Fallback id3v2);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QFrame *buildCriteriaPanel();
    QFrame *buildResultsPanel();
    QLayout *buildButtons();
    QWidget *hoverCommand(QPushButton *button, QLabel *face);
    void buildHoverRules();
    void searchClicked();
    void runSearch();
    void runImport();
    void exitClicked();
    void resetSearch();
    void driveActivated(int index);
    void folderOpened(const QString &path);
    void showFound();
    void selectDriveOf(const QString &path);
    void setBusy(bool busy);

    Volumes &m_volumes;
    Dialogs &m_dialogs;
    HoverController *m_hover;
    FoundFilesModel *m_foundModel;
    QStringListModel *m_filesModel;
    qsizetype m_foundLimit;
    bool m_searchRunning = false; ///< cleared by "Annulla"
    bool m_searching = false;     ///< a search is on the stack
    bool m_importing = false;     ///< an import is on the stack
    bool m_closeAfterSearch = false;
    std::optional<BusyCursor> m_busyCursor; ///< the wait cursor while a search or import runs
    QList<VolumeInfo> m_drives;             ///< the drives of the drive chooser, in its order
    /// What the first command does: search (before a search) or import what was found.
    enum class Step { Search, Import } m_step = Step::Search;

    // The controls, by what they are; each keeps its own name as its objectName.
    QFrame *m_criteriaPanel = nullptr; ///< `Picture1`
    QComboBox *m_driveChooser = nullptr;
    FolderList *m_folderList = nullptr;
    QListView *m_fileList = nullptr;
    QLineEdit *m_patternEdit = nullptr;
    QLabel *m_patternCaption = nullptr;
    QCheckBox *m_subfoldersCheck = nullptr;
    QCheckBox *m_id3v2Check = nullptr; ///< `Check2`, "Leggi anche i tag ID3v2"
    QFrame *m_resultsPanel = nullptr;
    QListView *m_foundList = nullptr;
    QLabel *m_foundCaption = nullptr;
    QLabel *m_foundCount = nullptr;
    QPushButton *m_searchButton = nullptr;
    QLabel *m_searchFace = nullptr;
    QPushButton *m_exitButton = nullptr;
    QLabel *m_exitFace = nullptr;
    QPushButton *m_resetButton = nullptr;
    QLabel *m_resetFace = nullptr;
};
