#include "winseek.h"

#include "folderlist.h"
#include "foundfilesmodel.h"
#include "foundlistview.h"
#include "winseektexts.h"

#include "import/folderlisting.h"
#include "import/searchfolder.h"
#include "platform/dialogs.h"
#include "platform/drivelistentry.h"
#include "platform/volumes.h"
#include "widgets/accessiblecaption.h"
#include "widgets/hovercontroller.h"
#include "widgets/named.h"
#include "widgets/screenfit.h"

#include "utf8text.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QStringListModel>
#include <QVBoxLayout>

namespace {

using namespace WinSeekTexts;

// Whether the import reads ID3v2 tags, kept between runs.
constexpr char kId3v2SettingKey[] = "diskSearch/readId3v2Tags";

bool isInside(const QString &path, const QString &mountPoint)
{
    return mountPoint == QLatin1String("/") || path == mountPoint ||
           path.startsWith(mountPoint + u'/');
}

} // namespace

WinSeek::WinSeek(Volumes &volumes, Dialogs &dialogs, QWidget *parent)
    // A dialog window is a transient of its parent: the window manager keeps it above the
    // main window, which stays above other programs' windows.
    : QWidget(parent, Qt::Dialog)
    , m_volumes(volumes)
    , m_dialogs(dialogs)
    , m_hover(new HoverController(this))
    , m_foundModel(new FoundFilesModel(this))
    , m_filesModel(new QStringListModel(this))
    , m_foundLimit(kFoundListLimit)
{
    setObjectName(QStringLiteral("WinSeek"));
    setWindowTitle(text(kCaption));
    setAttribute(Qt::WA_DeleteOnClose);

    // Both panels take the same place; one is shown at a time.
    auto *panels = new QGridLayout;
    panels->addWidget(buildCriteriaPanel(), 0, 0);
    panels->addWidget(buildResultsPanel(), 0, 0);
    m_resultsPanel->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addLayout(buildButtons());
    buildHoverRules();

    m_foundModel->clear();
    m_folderList->setPath(QDir::currentPath());
    selectDriveOf(m_folderList->path());
    ScreenFit::resizeToFit(this, QSize(640, 480));
}

WinSeek::~WinSeek()
{
    setBusy(false);
}

QFrame *WinSeek::buildCriteriaPanel()
{
    m_criteriaPanel = named(new QFrame, "Picture1");
    m_patternCaption = named(new QLabel(text(kCriteria)), "lblCriteria");
    m_patternEdit = named(new QLineEdit(text(kPattern)), "txtSearchSpec");
    captionBy(m_patternCaption, m_patternEdit);
    m_driveChooser = named(new QComboBox, "drvList");
    m_driveChooser->setAccessibleName(text(kDrives));
    m_drives = m_volumes.volumes();
    for (const VolumeInfo &volume : std::as_const(m_drives))
        m_driveChooser->addItem(DriveListEntry::text(volume));
    m_folderList = named(new FolderList, "dirList");
    m_folderList->setAccessibleName(text(kFolders));
    m_fileList = named(new QListView, "filList");
    m_fileList->setAccessibleName(text(kFiles));
    m_fileList->setModel(m_filesModel);
    m_fileList->setUniformItemSizes(true);
    m_fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_subfoldersCheck = named(new QCheckBox(text(kIncludeSubfolders)), "Check1");
    m_id3v2Check = named(new QCheckBox(text(kReadId3v2)), "Check2");
    m_id3v2Check->setChecked(QSettings().value(QLatin1String(kId3v2SettingKey), false).toBool());
    connect(m_id3v2Check, &QCheckBox::toggled, this,
            [](bool checked) { QSettings().setValue(QLatin1String(kId3v2SettingKey), checked); });

    auto *grid = new QGridLayout(m_criteriaPanel);
    grid->addWidget(m_patternCaption, 0, 0);
    grid->addWidget(m_patternEdit, 0, 1);
    grid->addWidget(m_driveChooser, 1, 0, 1, 2);
    grid->addWidget(m_folderList, 2, 0);
    grid->addWidget(m_fileList, 2, 1);
    grid->addWidget(m_subfoldersCheck, 3, 0, 1, 2);
    grid->addWidget(m_id3v2Check, 4, 0, 1, 2);
    grid->setRowStretch(2, 1);

    connect(m_driveChooser, &QComboBox::activated, this, &WinSeek::driveActivated);
    connect(m_folderList, &FolderList::pathChanged, this, &WinSeek::folderOpened);
    return m_criteriaPanel;
}

QFrame *WinSeek::buildResultsPanel()
{
    m_resultsPanel = named(new QFrame, "Picture2");
    m_foundCaption = named(new QLabel(text(kFound)), "lblfound");
    m_foundCount = named(new QLabel(text(kNoneFound)), "lblCount");
    m_foundList = named(new FoundListView, "lstFoundFiles");
    captionBy(m_foundCaption, m_foundList);
    m_foundList->setModel(m_foundModel);
    m_foundList->setUniformItemSizes(true);
    m_foundList->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto *grid = new QGridLayout(m_resultsPanel);
    grid->addWidget(m_foundCaption, 0, 0);
    grid->addWidget(m_foundCount, 0, 1);
    grid->addWidget(m_foundList, 1, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    return m_resultsPanel;
}

QLayout *WinSeek::buildButtons()
{
    m_searchButton = named(new QPushButton(text(kSearchButton)), "cmdSearch");
    m_searchFace = named(new QLabel(text(kSearchFace)), "pip1");
    m_resetButton = named(new QPushButton(text(kReset)), "Command1");
    m_resetFace = named(new QLabel(text(kReset)), "Label1");
    m_exitButton = named(new QPushButton(text(kExitButton)), "cmdExit");
    m_exitFace = named(new QLabel(text(kExitFace)), "pip2");
    // The folder list opens its highlighted folder when it loses the focus; a click on a hover
    // command leaves the focus where it is, so a first click on "Cerca" can open that folder.
    m_resetButton->setEnabled(false);
    m_resetFace->setEnabled(false);

    // The faces lie on the window itself: the mouse between them is over the background.
    auto *row = new QHBoxLayout;
    row->addWidget(hoverCommand(m_searchButton, m_searchFace));
    row->addWidget(hoverCommand(m_resetButton, m_resetFace));
    row->addWidget(hoverCommand(m_exitButton, m_exitFace));

    connect(m_searchButton, &QPushButton::clicked, this, &WinSeek::searchClicked);
    connect(m_exitButton, &QPushButton::clicked, this, &WinSeek::exitClicked);
    connect(m_resetButton, &QPushButton::clicked, this, &WinSeek::resetSearch);
    return row;
}

QWidget *WinSeek::hoverCommand(QPushButton *button, QLabel *face)
{
    QWidget *pair = m_hover->addCommand(button, face);
    face->setMinimumSize(button->sizeHint());
    // A move over the face is the face's own, not also one over the window behind it.
    face->setAttribute(Qt::WA_NoMousePropagation);
    return pair;
}

void WinSeek::buildHoverRules()
{
    using Effect = HoverController::Effect;
    for (QPushButton *button : {m_searchButton, m_exitButton, m_resetButton})
        m_hover->addRule(this, button, Effect::Hide);
    for (QFrame *panel : {m_criteriaPanel, m_resultsPanel}) {
        panel->setAttribute(Qt::WA_NoMousePropagation);
        m_hover->addRule(panel, m_searchButton, Effect::Hide);
        m_hover->addRule(panel, m_exitButton, Effect::Hide);
    }
}

void WinSeek::searchClicked()
{
    if (m_searching || m_importing)
        return;
    setBusy(true);
    m_searchButton->setEnabled(false);
    m_searchButton->hide();
    m_searchFace->setEnabled(false);
    if (m_step == Step::Import) {
        runImport();
        return;
    }
    // A highlighted folder that is not open yet is opened first, so the user sees where the
    // search will start.
    if (m_folderList->highlightedPath() != m_folderList->path()) {
        m_folderList->setPath(m_folderList->highlightedPath());
        setBusy(false);
        m_searchButton->setEnabled(true);
        m_searchButton->show();
        m_searchFace->setEnabled(true);
        return;
    }
    runSearch();
}

void WinSeek::runSearch()
{
    m_criteriaPanel->hide();
    m_resultsPanel->show();
    m_exitButton->setText(text(kCancel));
    m_exitFace->setText(text(kCancel));

    m_searching = true;
    m_searchRunning = true;
    SearchOptions options;
    options.includeSubfolders = m_subfoldersCheck->isChecked();
    options.limit = m_foundLimit;
    QStringList leftOut;
    const SearchEnd end = SearchFolder(
        m_folderList->path(), options, m_foundModel->list(),
        [this](const QString &) {
            showFound();
            // The one moment the user's cancel gets through.
            QCoreApplication::processEvents();
            return m_searchRunning;
        },
        &leftOut);
    m_searching = false;
    m_searchRunning = false;
    showFound();
    if (end == SearchEnd::ListFull)
        m_dialogs.information(QString(), text(kListFull));
    if (!leftOut.isEmpty())
        m_dialogs.information(QString(), leftOutReport(leftOut));

    m_filesModel->setStringList(listFolder(m_folderList->path()).mp3Files);
    m_step = Step::Import;
    m_searchButton->setText(text(kImportButton));
    m_searchFace->setText(text(kImportFace));
    setBusy(false);
    const bool foundSome = !m_foundModel->list().isEmpty();
    m_searchButton->setEnabled(foundSome);
    m_searchFace->setEnabled(foundSome);
    m_resetButton->setEnabled(true);
    m_resetFace->setEnabled(true);
    m_exitButton->setText(text(kExitButton));
    m_exitFace->setText(text(kExitFace));
    // A search that finds nothing ends without a word.
    if (!foundSome || m_closeAfterSearch)
        close();
}

void WinSeek::runImport()
{
    m_importing = true;
    const int drive = m_driveChooser->currentIndex();
    const std::optional<VolumeInfo> chosenDrive =
        drive >= 0 ? std::optional<VolumeInfo>(m_drives.at(drive)) : std::nullopt;
    emit importRequested(m_foundModel->list(), chosenDrive,
                         m_id3v2Check->isChecked() ? Id3v2Fallback::On : Id3v2Fallback::Off);
    m_importing = false;
    setBusy(false);
    close();
}

void WinSeek::exitClicked()
{
    setBusy(false);
    if (!m_searching) {
        close();
        return;
    }
    m_searchRunning = false;
    m_searchButton->setEnabled(true);
    m_searchFace->setEnabled(true);
}

void WinSeek::resetSearch()
{
    m_resetButton->setEnabled(false);
    m_resetFace->setEnabled(false);
    m_searchButton->setEnabled(true);
    m_step = Step::Search;
    m_searchButton->setText(text(kSearchButton));
    m_searchFace->setText(text(kSearchFace));
    m_searchFace->setEnabled(true);
    m_foundModel->clear();
    m_foundCount->setText(text(kNoneFound));
    m_searchRunning = false;
    m_resultsPanel->hide();
    m_criteriaPanel->show();
    m_exitButton->setText(text(kExitButton));
    m_exitFace->setText(text(kExitFace));
    m_folderList->setPath(QDir::currentPath());
    selectDriveOf(m_folderList->path());
}

void WinSeek::driveActivated(int index)
{
    const QString mountPoint = m_drives.at(index).mountPoint;
    // A drive that cannot be read (an empty CD drive, say) is not taken: the list goes back to
    // the drive of the folder shown.
    if (!listFolder(mountPoint).readable) {
        selectDriveOf(m_folderList->path());
        return;
    }
    m_folderList->setPath(mountPoint);
}

void WinSeek::folderOpened(const QString &path)
{
    m_filesModel->setStringList(listFolder(path).mp3Files);
}

void WinSeek::showFound()
{
    m_foundModel->showNew();
    const qsizetype count = m_foundModel->list().size();
    // The count is written with a blank before it, where a sign would go.
    m_foundCount->setText(count == 0 ? text(kNoneFound) : u' ' + QString::number(count));
}

void WinSeek::selectDriveOf(const QString &path)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < m_driveChooser->count(); ++i) {
        const QString &mountPoint = m_drives.at(i).mountPoint;
        if (isInside(path, mountPoint) && mountPoint.size() > bestLength) {
            best = i;
            bestLength = mountPoint.size();
        }
    }
    if (best >= 0)
        m_driveChooser->setCurrentIndex(best);
}

void WinSeek::setBusy(bool busy)
{
    if (!busy)
        m_busyCursor.reset();
    else if (!m_busyCursor)
        m_busyCursor.emplace();
}

void WinSeek::closeEvent(QCloseEvent *event)
{
    // The search and the import run inside this window's handlers: it closes once they are
    // over. A close during a search cancels it.
    if (m_searching) {
        m_searchRunning = false;
        m_closeAfterSearch = true;
        event->ignore();
        return;
    }
    if (m_importing) {
        event->ignore();
        return;
    }
    setBusy(false);
    if (QWidget *mainWindow = parentWidget()) {
        mainWindow->show();
        mainWindow->raise();
        mainWindow->activateWindow();
    }
    event->accept();
}
