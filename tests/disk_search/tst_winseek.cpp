#include "catalogue/cataloguestore.h"
#include "disk_search/folderlist.h"
#include "disk_search/winseek.h"
#include "grid/cataloguemodel.h"
#include "main_window/mainwindow.h"

#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "support/widgettest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList rowsOf(const QAbstractItemView *view)
{
    QStringList rows;
    const QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString();
    return rows;
}

QByteArray tagged(const QByteArray &title)
{
    return mpegFrames(2) + tagBlock(title, "Artista", "Album", "2001", "Commento", 13);
}

} // namespace

class TestWinSeek : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controlsAtStart_data();
    void controlsAtStart();
    void hoverFaces_data();
    void hoverFaces();
    void importDrivesTheWholeRoad();
    void folderListOpensTheHighlightedFolderWhenLeft();
    void searchThatFindsNothingClosesSilently();
    void cancelKeepsWhatWasListed();
    void closingDuringASearchCancelsIt();
    void fullListStopsTheSearchWithOneMessage();
    void resetPreparesANewSearch();
    void esciShowsTheMainWindow();
    void driveThatCannotBeReadIsNotTaken();
    void emptyWorkListStillReloadsTheGrid();
    void filesLeftOutAreReportedOnce();
    void undecodableNamesAreListedOnce();

private:
    void startMainWindow();
    void openSearch();
    void clickSearch();
    void searchFolder(const QString &folder, bool subfolders);
    void whileSearching(const std::function<bool()> &step);
    QString music(const QString &relative) const { return m_music.path() + u'/' + relative; }
    QString song(const QString &relative, const QByteArray &bytes = mpegFrames(2));
    template <typename T = QWidget> T *control(const char *name)
    {
        if (!m_winSeek)
            qFatal("no search window for %s", name);
        return childNamed<T>(m_winSeek, name);
    }
    template <typename T = QWidget> T *mainControl(const char *name)
    {
        return childNamed<T>(m_window.get(), name);
    }

    QString m_startFolder;
    QTemporaryDir m_music;
    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    FakeDialogs m_dialogs;
    FakeVolumes m_volumes;
    std::unique_ptr<MainWindow> m_window;
    QPointer<WinSeek> m_winSeek;
};

void TestWinSeek::init()
{
    m_startFolder = QDir::currentPath();
    QVERIFY(QDir(m_music.path()).removeRecursively() && QDir().mkpath(m_music.path()));
    QVERIFY(QDir::setCurrent(m_music.path()));
    m_temp = std::make_unique<TempCatalogue>();
    m_dialogs = FakeDialogs();
    VolumeInfo root;
    root.mountPoint = QStringLiteral("/");
    root.type = DriveType::Fixed;
    root.serial = QStringLiteral("1111");
    VolumeInfo cd;
    cd.mountPoint = music(QStringLiteral("cd"));
    cd.type = DriveType::CdRom;
    cd.serial = QStringLiteral("2222");
    VolumeInfo empty;
    empty.mountPoint = music(QStringLiteral("empty-drive"));
    empty.type = DriveType::Removable;
    empty.label = QStringLiteral("VUOTA");
    m_volumes.list = {root, cd, empty};
}

void TestWinSeek::cleanup()
{
    delete m_winSeek;
    m_window.reset();
    m_store.reset();
    m_temp.reset();
    QDir::setCurrent(m_startFolder);
}

QString TestWinSeek::song(const QString &relative, const QByteArray &bytes)
{
    const QString path = music(relative);
    QDir().mkpath(QFileInfo(path).path());
    return writeMp3(QFileInfo(path).path(), QFileInfo(path).fileName(), bytes);
}

void TestWinSeek::startMainWindow()
{
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY2(m_store->open(), qPrintable(m_store->lastError()));
    m_window = std::make_unique<MainWindow>(*m_store, m_dialogs, m_volumes);
    // The search works on files made for it: no start-up checks or tag completion.
    m_window->start(MainWindow::StartupChecks::Skip);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWinSeek::openSearch()
{
    if (!m_window)
        startMainWindow();
    moveOver(mainControl("Label2"));
    auto *importa = mainControl<QPushButton>("Importa");
    QVERIFY(importa->isVisible());
    QTest::mouseClick(importa, Qt::LeftButton);
    m_winSeek = m_window->findChild<WinSeek *>(QStringLiteral("WinSeek"));
    QVERIFY(m_winSeek);
    QVERIFY(QTest::qWaitForWindowExposed(m_winSeek));
}

void TestWinSeek::clickSearch()
{
    moveOver(control("pip1"));
    auto *cmdSearch = control<QPushButton>("cmdSearch");
    QVERIFY(cmdSearch->isVisible());
    QTest::mouseClick(cmdSearch, Qt::LeftButton);
}

void TestWinSeek::searchFolder(const QString &folder, bool subfolders)
{
    control<FolderList>("dirList")->setPath(folder);
    control<QCheckBox>("Check1")->setChecked(subfolders);
    clickSearch();
}

// Runs `step` each time the search lets events through, until it returns true.
void TestWinSeek::whileSearching(const std::function<bool()> &step)
{
    auto *timer = new QTimer(m_winSeek);
    timer->setInterval(0);
    connect(timer, &QTimer::timeout, timer, [timer, step] {
        if (step())
            timer->stop();
    });
    timer->start();
}

void TestWinSeek::controlsAtStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char *name, const char *caption, bool shown, bool enabled) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << shown
                            << enabled;
    };
    row("Picture1", "", true, true);
    row("txtSearchSpec", "*.MP3", true, true);
    row("lblCriteria", "C&riteri di ricerca:", true, true);
    row("Check1", "Includi Sottocartelle", true, true);
    row("Picture2", "", false, true);
    row("lblfound", "MP3 trovati:", false, true);
    row("lblCount", "0", false, true);
    row("cmdSearch", "&Cerca", false, true);
    row("pip1", "Cerca", true, true);
    row("cmdExit", "E&sci", false, true);
    row("pip2", "Esci", true, true);
    row("Command1", "Ripristina", false, false);
    row("Label1", "Ripristina", true, false);
}

void TestWinSeek::controlsAtStart()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, shown);
    QFETCH(bool, enabled);
    startMainWindow();
    mainControl<QListView>("List1")->model()->insertRows(0, 1);
    openSearch();
    QCOMPARE(m_winSeek->windowTitle(), QStringLiteral("Ricerca MP3"));
    QWidget *widget = m_winSeek->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(captionOf(widget), caption);
    QCOMPARE(widget->isVisible(), shown);
    QCOMPARE(widget->isEnabled(), enabled);
    QVERIFY(!control<QCheckBox>("Check1")->isChecked());
    QCOMPARE(control<QListView>("lstFoundFiles")->model()->rowCount(), 0);
    QCOMPARE(control<FolderList>("dirList")->path(), m_music.path());
    QCOMPARE(control<QComboBox>("drvList")->currentText(), QStringLiteral("/"));
    QCOMPARE(control<QComboBox>("drvList")->count(), 3);
    QCOMPARE(control<QComboBox>("drvList")->itemText(2), music("empty-drive") + " [VUOTA]");
    // "Importa" empties the work list before anything is searched.
    QCOMPARE(mainControl<QListView>("List1")->model()->rowCount(), 0);
}

void TestWinSeek::hoverFaces_data()
{
    QTest::addColumn<QString>("over");
    QTest::addColumn<QList<bool>>("shown"); // cmdSearch, cmdExit, Command1
    QTest::newRow("pip1") << "pip1" << QList<bool>{true, false, false};
    QTest::newRow("pip2") << "pip2" << QList<bool>{false, true, false};
    QTest::newRow("Label1") << "Label1" << QList<bool>{false, false, true};
    QTest::newRow("window background") << "WinSeek" << QList<bool>{false, false, false};
    QTest::newRow("criteria panel") << "Picture1" << QList<bool>{false, false, true};
}

void TestWinSeek::hoverFaces()
{
    QFETCH(QString, over);
    QFETCH(QList<bool>, shown);
    openSearch();
    const QList<QWidget *> buttons = {control("cmdSearch"), control("cmdExit"),
                                      control("Command1")};
    QWidget *target =
        over == QLatin1String("WinSeek") ? m_winSeek.data() : control(qPrintable(over));
    if (over.startsWith(u'P') || over == QLatin1String("WinSeek")) {
        for (QWidget *button : buttons)
            button->show();
    }
    moveOver(target);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(buttons.at(i)->isVisible(), shown.at(i));
}

void TestWinSeek::importDrivesTheWholeRoad()
{
    CatalogueRecord old = sampleRecord(QStringLiteral("vecchio"));
    m_temp->add({old});
    song("Musica/A/a1.mp3", tagged("Primo"));
    song("Musica/A/B/b1.mp3");
    song("Musica/A/B/b2.MP3", tagged("Terzo"));
    QVERIFY(QDir().mkpath(music("cd")));
    song("cd/c1.mp3", tagged("Su CD"));
    QVERIFY(QFile::link(music("cd"), music("Musica/A/cd")));
    song("Musica/fuori.mp3");

    openSearch();
    auto *dirList = control<FolderList>("dirList");
    // Open Musica, then pick A in it: the first click on "&Cerca" opens A.
    dirList->setPath(music("Musica"));
    QCOMPARE(control<QListView>("filList")->model()->rowCount(), 1);
    QCOMPARE(dirList->subfolderCount(), 1);
    QVERIFY(dirList->highlight(music("Musica/A")));
    clickSearch();
    QCOMPARE(dirList->path(), music("Musica/A"));
    QVERIFY(control("Picture1")->isVisible());
    QCOMPARE(rowsOf(control<QListView>("filList")), QStringList{"a1.mp3"});
    QCOMPARE(control<QPushButton>("cmdSearch")->text(), QStringLiteral("&Cerca"));
    // The second click searches the folder now open.
    control<QCheckBox>("Check1")->setChecked(true);
    clickSearch();

    // The CD is reached through a link, which the search does not follow.
    const QStringList found = {music("Musica/A/B/b1.mp3"), music("Musica/A/B/b2.MP3"),
                               music("Musica/A/a1.mp3")};
    QCOMPARE(rowsOf(control<QListView>("lstFoundFiles")), found);
    QCOMPARE(control<QLabel>("lblCount")->text(), QStringLiteral(" 3"));
    QVERIFY(control("Picture2")->isVisible());
    QVERIFY(!control("Picture1")->isVisible());
    QCOMPARE(control<QPushButton>("cmdSearch")->text(), QStringLiteral("&Importa"));
    QCOMPARE(control<QLabel>("pip1")->text(), QStringLiteral("Importa"));
    QVERIFY(control("cmdSearch")->isEnabled());
    QVERIFY(control("Command1")->isEnabled());
    QVERIFY(control("Label1")->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(m_dialogs.messages.isEmpty());

    // A second search, of the CD drive, after a reset: its files go with the first ones.
    clickSearch();
    QTRY_VERIFY(!m_winSeek);
    QCOMPARE(rowsOf(mainControl<QListView>("List1")), found);

    openSearch();
    QCOMPARE(mainControl<QListView>("List1")->model()->rowCount(), 0);
    auto *drvList = control<QComboBox>("drvList");
    drvList->setFocus();
    QTest::keyClick(drvList, Qt::Key_Down);
    QCOMPARE(drvList->currentText(), music("cd"));
    QCOMPARE(control<FolderList>("dirList")->path(), music("cd"));
    clickSearch();
    QCOMPARE(rowsOf(control<QListView>("lstFoundFiles")), QStringList{music("cd/c1.mp3")});
    clickSearch();
    QTRY_VERIFY(!m_winSeek);

    // The import itself (labels, states, counters) is FileImport's: here both lists reach it,
    // one medium label each, and the grid is reloaded.
    QCOMPARE(m_dialogs.messages.size(), 2);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->model().recordCount(), 5);
    QCOMPARE(m_window->model().cell(1, MediumLabel), QStringLiteral("TRACKLODGE_1"));
    QCOMPARE(m_window->model().cell(4, MediumLabel), QStringLiteral("TRACKLODGE_2"));
    QCOMPARE(mainControl<QLabel>("mp3found")->text(), QStringLiteral("5"));
    QVERIFY(!QApplication::overrideCursor());
}

void TestWinSeek::folderListOpensTheHighlightedFolderWhenLeft()
{
    song("A/B/b.mp3");
    openSearch();
    QApplication::setActiveWindow(m_winSeek);
    QVERIFY(QTest::qWaitForWindowActive(m_winSeek));
    auto *dirList = control<FolderList>("dirList");
    dirList->setPath(music("A"));
    dirList->setFocus(Qt::MouseFocusReason);
    QVERIFY(dirList->highlight(music("A/B")));
    QCOMPARE(dirList->path(), music("A"));
    control("Check1")->setFocus(Qt::TabFocusReason);
    QCOMPARE(dirList->path(), music("A/B"));
    QCOMPARE(rowsOf(control<QListView>("filList")), QStringList{"b.mp3"});
}

void TestWinSeek::searchThatFindsNothingClosesSilently()
{
    song("A/B/notes.txt");
    openSearch();
    m_window->hide();
    searchFolder(music("A"), true);
    QTRY_VERIFY(!m_winSeek);
    QVERIFY(m_window->isVisible());
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(m_window->model().recordCount(), 0);
    QVERIFY(!QApplication::overrideCursor());
}

void TestWinSeek::cancelKeepsWhatWasListed()
{
    for (int i = 0; i < 6; ++i)
        song(QStringLiteral("A/%1/x.mp3").arg(i));
    openSearch();
    auto *found = control<QListView>("lstFoundFiles");
    bool checked = false;
    whileSearching([&] {
        if (found->model()->rowCount() < 2)
            return false;
        checked = control<QPushButton>("cmdExit")->text() == QLatin1String("Annulla") &&
                  control<QLabel>("pip2")->text() == QLatin1String("Annulla") &&
                  control("Picture2")->isVisible() && !control("cmdSearch")->isVisible() &&
                  !control("cmdSearch")->isEnabled() && QApplication::overrideCursor();
        moveOver(control("pip2"));
        QTest::mouseClick(control<QPushButton>("cmdExit"), Qt::LeftButton);
        return true;
    });
    searchFolder(music("A"), true);
    QVERIFY2(checked, "the window was not in its searching state");
    // The walk stops at the next folder it enters: the two files listed stay, no more come.
    QCOMPARE(rowsOf(found), (QStringList{music("A/5/x.mp3"), music("A/4/x.mp3")}));
    QCOMPARE(control<QLabel>("lblCount")->text(), QStringLiteral(" 2"));
    QCOMPARE(control<QPushButton>("cmdExit")->text(), QStringLiteral("E&sci"));
    QCOMPARE(control<QPushButton>("cmdSearch")->text(), QStringLiteral("&Importa"));
    QVERIFY(control("cmdSearch")->isEnabled());
    QVERIFY(m_winSeek->isVisible());
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestWinSeek::closingDuringASearchCancelsIt()
{
    for (int i = 0; i < 4; ++i)
        song(QStringLiteral("A/%1/x.mp3").arg(i));
    openSearch();
    whileSearching([&] {
        if (control<QListView>("lstFoundFiles")->model()->rowCount() < 1)
            return false;
        m_winSeek->close();
        return true;
    });
    m_window->hide();
    searchFolder(music("A"), true);
    QTRY_VERIFY(!m_winSeek);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->model().recordCount(), 0);
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestWinSeek::fullListStopsTheSearchWithOneMessage()
{
    for (int i = 0; i < 5; ++i)
        song(QStringLiteral("A/%1.mp3").arg(i));
    song("A/B/b.mp3");
    openSearch();
    m_winSeek->setFoundLimit(3);
    searchFolder(music("A"), true);
    QCOMPARE(rowsOf(control<QListView>("lstFoundFiles")),
             (QStringList{music("A/B/b.mp3"), music("A/0.mp3"), music("A/1.mp3")}));
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages.first().title, QString());
    QCOMPARE(m_dialogs.messages.first().text,
             QStringLiteral("La casella di riepilogo è piena. Interruzione della ricerca..."));
    QCOMPARE(control<QPushButton>("cmdSearch")->text(), QStringLiteral("&Importa"));
    QCOMPARE(control<QPushButton>("cmdExit")->text(), QStringLiteral("E&sci"));
    QVERIFY(control("cmdSearch")->isEnabled());
}

void TestWinSeek::resetPreparesANewSearch()
{
    song("A/a.mp3");
    song("A/B/b.mp3");
    openSearch();
    // Without subfolders only the folder itself is searched.
    searchFolder(music("A"), false);
    QCOMPARE(rowsOf(control<QListView>("lstFoundFiles")), QStringList{music("A/a.mp3")});
    QCOMPARE(control<QLabel>("lblCount")->text(), QStringLiteral(" 1"));
    moveOver(control("Label1"));
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(control<QListView>("lstFoundFiles")->model()->rowCount(), 0);
    QCOMPARE(control<QLabel>("lblCount")->text(), QStringLiteral("0"));
    QVERIFY(control("Picture1")->isVisible());
    QVERIFY(!control("Picture2")->isVisible());
    QCOMPARE(control<QPushButton>("cmdSearch")->text(), QStringLiteral("&Cerca"));
    QCOMPARE(control<QLabel>("pip1")->text(), QStringLiteral("Cerca"));
    QVERIFY(!control("Command1")->isEnabled());
    QVERIFY(!control("Label1")->isEnabled());
    QCOMPARE(control<FolderList>("dirList")->path(), m_music.path());
    QCOMPARE(control<QComboBox>("drvList")->currentText(), QStringLiteral("/"));
    // A new search starts from an empty list.
    searchFolder(music("A"), false);
    QCOMPARE(rowsOf(control<QListView>("lstFoundFiles")), QStringList{music("A/a.mp3")});
}

void TestWinSeek::esciShowsTheMainWindow()
{
    // Closed otherwise, see closingDuringASearchCancelsIt.
    openSearch();
    m_window->hide();
    moveOver(control("pip2"));
    QTest::mouseClick(control<QPushButton>("cmdExit"), Qt::LeftButton);
    QTRY_VERIFY(!m_winSeek);
    QVERIFY(m_window->isVisible());
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestWinSeek::driveThatCannotBeReadIsNotTaken()
{
    openSearch();
    auto *drvList = control<QComboBox>("drvList");
    auto *dirList = control<FolderList>("dirList");
    drvList->setFocus();
    QTest::keyClick(drvList, Qt::Key_End);
    QCOMPARE(drvList->currentText(), QStringLiteral("/"));
    QCOMPARE(dirList->path(), m_music.path());
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestWinSeek::emptyWorkListStillReloadsTheGrid()
{
    openSearch();
    // Another program adds a record meanwhile; the reload after the import shows it.
    m_temp->add({sampleRecord(QStringLiteral("altrove"))});
    QCOMPARE(m_window->model().recordCount(), 0);
    emit m_winSeek->importRequested({}, QStringLiteral("/"));
    QCOMPARE(m_window->model().recordCount(), 1);
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestWinSeek::filesLeftOutAreReportedOnce()
{
    VolumeInfo share;
    share.mountPoint = music(QStringLiteral("rete"));
    share.type = DriveType::Fixed;
    m_volumes.list << share;
    const QString lost = song("rete/a.mp3", tagged("Perso"));
    song("rete/b.mp3", tagged("Perso anche"));
    openSearch();
    searchFolder(music("rete"), false);
    clickSearch();
    QTRY_VERIFY(!m_winSeek);
    QCOMPARE(m_window->model().recordCount(), 0);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages.first().kind, FakeDialogs::Kind::Critical);
    QVERIFY(m_dialogs.messages.first().text.startsWith(
        QStringLiteral("2 file non sono stati importati:\n") + lost + ": "));
}

void TestWinSeek::undecodableNamesAreListedOnce()
{
    // Names copied from an old system, in Latin-1: as text they would not lead to their files.
    const QByteArray good = QFile::encodeName(song("A/ok.mp3", tagged("Buono")));
    const QByteArray folder = QFile::encodeName(music("A"));
    for (const char *name : {"/caf\xe9.mp3", "/bad\xff\xfe.mp3", "/bad\xfe\xff.mp3"})
        QVERIFY(::link(good.constData(), (folder + name).constData()) == 0);
    QVERIFY(::mkdir((folder + "/vecchi\xe0").constData(), 0755) == 0);
    QVERIFY(::link(good.constData(), (folder + "/vecchi\xe0/x.mp3").constData()) == 0);
    openSearch();
    searchFolder(music("A"), true);
    QCOMPARE(rowsOf(control<QListView>("lstFoundFiles")), QStringList{music("A/ok.mp3")});
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages.first().kind, FakeDialogs::Kind::Information);
    const QString text = m_dialogs.messages.first().text;
    QVERIFY2(text.startsWith(QStringLiteral("4 nomi di file MP3 o di cartelle")), qPrintable(text));
    for (const char *shown :
         {"A/vecchi\\xe0/", "A/bad\\xfe\\xff.mp3", "A/bad\\xff\\xfe.mp3", "A/caf\\xe9.mp3"})
        QVERIFY2(text.contains(u'\n' + music(QString::fromLatin1(shown))), qPrintable(text));
    clickSearch();
    QTRY_VERIFY(!m_winSeek);
    QCOMPARE(m_window->model().recordCount(), 1);
}

QTEST_MAIN(TestWinSeek)
#include "tst_winseek.moc"
