#include "winseek.h"

#include "folderlist.h"
#include "foundfilesmodel.h"
#include "winseektexts.h"

#include "import/folderlisting.h"
#include "import/searchfolder.h"
#include "main_window/hovercontroller.h"
#include "platform/dialogs.h"
#include "platform/drivelistentry.h"
#include "platform/volumes.h"

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
#include <QStackedLayout>
#include <QStringListModel>
#include <QVBoxLayout>

namespace {

using namespace WinSeekTexts;

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A command button lying over its face, a label of the same caption: the face is always there,
// the button only once the mouse has moved over the face.
QWidget *hoverPair(QPushButton *button, QLabel *face)
{
    auto *pair = new QWidget;
    auto *stack = new QStackedLayout(pair);
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->setContentsMargins(0, 0, 0, 0);
    face->setFrameStyle(QFrame::Panel | QFrame::Raised);
    face->setAlignment(Qt::AlignCenter);
    face->setMinimumSize(button->sizeHint());
    // A move over the face is the face's own, not also one over the window behind it.
    face->setAttribute(Qt::WA_NoMousePropagation);
    stack->addWidget(face);
    stack->addWidget(button);
    button->hide();
    return pair;
}

bool isInside(const QString &path, const QString &mountPoint)
{
    return mountPoint == QLatin1String("/") || path == mountPoint ||
           path.startsWith(mountPoint + u'/');
}

} // namespace

WinSeek::WinSeek(Volumes &volumes, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
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
    m_picture2->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addLayout(buildButtons());
    buildHoverRules();

    m_foundModel->clear();
    m_dirList->setPath(QDir::currentPath());
    selectDriveOf(m_dirList->path());
    resize(640, 480);
}

WinSeek::~WinSeek()
{
    setBusy(false);
}

QFrame *WinSeek::buildCriteriaPanel()
{
    m_picture1 = named(new QFrame, "Picture1");
    m_lblCriteria = named(new QLabel(text(kCriteria)), "lblCriteria");
    m_txtSearchSpec = named(new QLineEdit(text(kPattern)), "txtSearchSpec");
    m_lblCriteria->setBuddy(m_txtSearchSpec);
    m_drvList = named(new QComboBox, "drvList");
    m_drvList->setAccessibleName(QStringLiteral("drvList"));
    for (const VolumeInfo &volume : m_volumes.volumes())
        m_drvList->addItem(DriveListEntry::text(volume), volume.mountPoint);
    m_dirList = named(new FolderList, "dirList");
    m_dirList->setAccessibleName(QStringLiteral("dirList"));
    m_filList = named(new QListView, "filList");
    m_filList->setAccessibleName(QStringLiteral("filList"));
    m_filList->setModel(m_filesModel);
    m_filList->setUniformItemSizes(true);
    m_filList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_check1 = named(new QCheckBox(text(kIncludeSubfolders)), "Check1");

    auto *grid = new QGridLayout(m_picture1);
    grid->addWidget(m_lblCriteria, 0, 0);
    grid->addWidget(m_txtSearchSpec, 0, 1);
    grid->addWidget(m_drvList, 1, 0, 1, 2);
    grid->addWidget(m_dirList, 2, 0);
    grid->addWidget(m_filList, 2, 1);
    grid->addWidget(m_check1, 3, 0, 1, 2);
    grid->setRowStretch(2, 1);

    connect(m_drvList, &QComboBox::activated, this, &WinSeek::driveActivated);
    connect(m_dirList, &FolderList::pathChanged, this, &WinSeek::folderOpened);
    return m_picture1;
}

QFrame *WinSeek::buildResultsPanel()
{
    m_picture2 = named(new QFrame, "Picture2");
    m_lblfound = named(new QLabel(text(kFound)), "lblfound");
    m_lblCount = named(new QLabel(text(kNoneFound)), "lblCount");
    m_lstFoundFiles = named(new QListView, "lstFoundFiles");
    m_lstFoundFiles->setAccessibleName(QStringLiteral("lstFoundFiles"));
    m_lstFoundFiles->setModel(m_foundModel);
    m_lstFoundFiles->setUniformItemSizes(true);
    m_lstFoundFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto *grid = new QGridLayout(m_picture2);
    grid->addWidget(m_lblfound, 0, 0);
    grid->addWidget(m_lblCount, 0, 1);
    grid->addWidget(m_lstFoundFiles, 1, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    return m_picture2;
}

QLayout *WinSeek::buildButtons()
{
    m_cmdSearch = named(new QPushButton(text(kSearchButton)), "cmdSearch");
    m_pip1 = named(new QLabel(text(kSearchFace)), "pip1");
    m_command1 = named(new QPushButton(text(kReset)), "Command1");
    m_label1 = named(new QLabel(text(kReset)), "Label1");
    m_cmdExit = named(new QPushButton(text(kExitButton)), "cmdExit");
    m_pip2 = named(new QLabel(text(kExitFace)), "pip2");
    // The folder list opens its highlighted folder when it loses the focus; a click on the
    // search button leaves the focus where it is, so a first click can open that folder.
    m_cmdSearch->setFocusPolicy(Qt::NoFocus);
    m_command1->setEnabled(false);
    m_label1->setEnabled(false);

    // The faces lie on the window itself: the mouse between them is over the background.
    auto *row = new QHBoxLayout;
    row->addWidget(hoverPair(m_cmdSearch, m_pip1));
    row->addWidget(hoverPair(m_command1, m_label1));
    row->addWidget(hoverPair(m_cmdExit, m_pip2));

    connect(m_cmdSearch, &QPushButton::clicked, this, &WinSeek::searchClicked);
    connect(m_cmdExit, &QPushButton::clicked, this, &WinSeek::exitClicked);
    connect(m_command1, &QPushButton::clicked, this, &WinSeek::resetSearch);
    return row;
}

void WinSeek::buildHoverRules()
{
    using Effect = HoverController::Effect;
    m_hover->addRule(m_pip1, m_cmdSearch, Effect::Show);
    m_hover->addRule(m_pip2, m_cmdExit, Effect::Show);
    m_hover->addRule(m_label1, m_command1, Effect::Show);
    for (QPushButton *button : {m_cmdSearch, m_cmdExit, m_command1})
        m_hover->addRule(this, button, Effect::Hide);
    for (QFrame *panel : {m_picture1, m_picture2}) {
        panel->setAttribute(Qt::WA_NoMousePropagation);
        m_hover->addRule(panel, m_cmdSearch, Effect::Hide);
        m_hover->addRule(panel, m_cmdExit, Effect::Hide);
    }
}

void WinSeek::searchClicked()
{
    if (m_searching || m_importing)
        return;
    setBusy(true);
    m_cmdSearch->setEnabled(false);
    m_cmdSearch->hide();
    m_pip1->setEnabled(false);
    if (m_cmdSearch->text() == text(kImportButton)) {
        runImport();
        return;
    }
    // A highlighted folder that is not open yet is opened first, so the user sees where the
    // search will start.
    if (m_dirList->highlightedPath() != m_dirList->path()) {
        m_dirList->setPath(m_dirList->highlightedPath());
        setBusy(false);
        m_cmdSearch->setEnabled(true);
        m_cmdSearch->show();
        m_pip1->setEnabled(true);
        return;
    }
    runSearch();
}

void WinSeek::runSearch()
{
    m_picture1->hide();
    m_picture2->show();
    m_cmdExit->setText(text(kCancel));
    m_pip2->setText(text(kCancel));

    m_searching = true;
    m_searchRunning = true;
    SearchOptions options;
    options.includeSubfolders = m_check1->isChecked();
    options.limit = m_foundLimit;
    QStringList leftOut;
    const SearchEnd end = SearchFolder(
        m_dirList->path(), options, m_foundModel->list(),
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

    m_filesModel->setStringList(listFolder(m_dirList->path()).mp3Files);
    m_cmdSearch->setText(text(kImportButton));
    m_pip1->setText(text(kImportFace));
    setBusy(false);
    const bool foundSome = !m_foundModel->list().isEmpty();
    m_cmdSearch->setEnabled(foundSome);
    m_pip1->setEnabled(foundSome);
    m_command1->setEnabled(true);
    m_label1->setEnabled(true);
    m_cmdExit->setText(text(kExitButton));
    m_pip2->setText(text(kExitFace));
    // A search that finds nothing ends without a word.
    if (!foundSome || m_closeAfterSearch)
        close();
}

void WinSeek::runImport()
{
    m_importing = true;
    emit importRequested(m_foundModel->list(), m_drvList->currentText());
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
    m_cmdSearch->setEnabled(true);
    m_pip1->setEnabled(true);
}

void WinSeek::resetSearch()
{
    m_command1->setEnabled(false);
    m_label1->setEnabled(false);
    m_cmdSearch->setEnabled(true);
    m_cmdSearch->setText(text(kSearchButton));
    m_pip1->setText(text(kSearchFace));
    m_pip1->setEnabled(true);
    m_foundModel->clear();
    m_lblCount->setText(text(kNoneFound));
    m_searchRunning = false;
    m_picture2->hide();
    m_picture1->show();
    m_cmdExit->setText(text(kExitButton));
    m_pip2->setText(text(kExitFace));
    m_dirList->setPath(QDir::currentPath());
    selectDriveOf(m_dirList->path());
}

void WinSeek::driveActivated(int index)
{
    const QString mountPoint = m_drvList->itemData(index).toString();
    // A drive that cannot be read (an empty CD drive, say) is not taken: the list goes back to
    // the drive of the folder shown.
    if (!listFolder(mountPoint).readable) {
        selectDriveOf(m_dirList->path());
        return;
    }
    m_dirList->setPath(mountPoint);
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
    m_lblCount->setText(count == 0 ? text(kNoneFound) : u' ' + QString::number(count));
}

void WinSeek::selectDriveOf(const QString &path)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < m_drvList->count(); ++i) {
        const QString mountPoint = m_drvList->itemData(i).toString();
        if (isInside(path, mountPoint) && mountPoint.size() > bestLength) {
            best = i;
            bestLength = mountPoint.size();
        }
    }
    if (best >= 0)
        m_drvList->setCurrentIndex(best);
}

void WinSeek::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
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
