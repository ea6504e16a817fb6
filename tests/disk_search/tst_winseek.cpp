#include "catalogue/cataloguestore.h"
#include "disk_search/folderlist.h"
#include "disk_search/foundfilesmodel.h"
#include "disk_search/winseek.h"
#include "grid/cataloguemodel.h"
#include "main_window/mainwindow.h"

#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/tempcatalogue.h"
#include "support/testid3v2.h"
#include "support/testmp3.h"
#include "support/widgettest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The number of rows `view` paints with something on them. The picture is taken first: asking
// for a row's place lays the rows out, which a repaint alone may not have done.
int paintedRows(QAbstractItemView *view)
{
    const QImage shot = view->viewport()->grab().toImage();
    const QRgb background = shot.pixel(shot.width() - 1, shot.height() - 1);
    int rows = 0;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QRect place = view->visualRect(view->model()->index(row, 0)) & shot.rect();
        bool inked = false;
        for (int y = place.top(); y <= place.bottom() && !inked; ++y)
            for (int x = place.left(); x <= place.right() && !inked; ++x)
                inked = shot.pixel(x, y) != background;
        rows += inked ? 1 : 0;
    }
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
    // Names that are not UTF-8 are beyond QDir: the music folder goes byte by byte.
    void cleanupTestCase() { std::filesystem::remove_all(m_music.path().toStdString()); }
    void readersAndPointerFindTheCommands();
    void cancelKeepsWhatWasListedAndPaintedIt();
    void fullListStopsTheSearchWithOneMessage();
    void resetPreparesANewSearch();
    void id3v2BoxIsRememberedAndReachesTheImport();
    void filesLeftOutAreReportedOnce();
    void undecodableNamesAreListedOnce();

private:
    void openSearch()
    {
        if (!m_window) {
            m_store.emplace(m_temp->path());
            QVERIFY(m_store->open());
            m_window.emplace(*m_store, m_dialogs, m_volumes);
            m_window->start(MainWindow::StartupChecks::Skip);
            m_window->show();
            QVERIFY(QTest::qWaitForWindowExposed(&*m_window));
        }
        clickCommand(childNamed(&*m_window, "Label2"));
        m_winSeek = m_window->findChild<WinSeek *>(QStringLiteral("WinSeek"));
        QVERIFY(m_winSeek && QTest::qWaitForWindowExposed(m_winSeek));
    }
    void clickSearch() { clickCommand(control("pip1")); }
    void searchFolder(const QString &folder, bool subfolders)
    {
        control<FolderList>("dirList")->setPath(folder);
        control<QCheckBox>("Check1")->setChecked(subfolders);
        clickSearch();
    }
    QString music(const QString &relative) const { return m_music.path() + u'/' + relative; }
    QString song(const QString &relative, const QByteArray &bytes = mpegFrames(2))
    {
        const QFileInfo path(music(relative));
        QDir().mkpath(path.path());
        return writeMp3(path.path(), path.fileName(), bytes);
    }
    QStringList found()
    {
        return static_cast<FoundFilesModel *>(control<QListView>("lstFoundFiles")->model())->list();
    }
    template <typename T = QWidget> T *control(const char *name)
    {
        return childNamed<T>(m_winSeek.data(), name);
    }

    QTemporaryDir m_music;
    std::optional<TempCatalogue> m_temp;
    std::optional<CatalogueStore> m_store;
    FakeDialogs m_dialogs;
    FakeVolumes m_volumes;
    std::optional<MainWindow> m_window;
    QPointer<WinSeek> m_winSeek;
};

void TestWinSeek::init()
{
    // Settings kept between runs start empty, away from the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
    QVERIFY(QDir(m_music.path()).removeRecursively() && QDir().mkpath(m_music.path()));
    QVERIFY(QDir::setCurrent(m_music.path()));
    m_temp.emplace();
    m_dialogs = FakeDialogs();
    m_volumes.list = {{"/", DriveType::Fixed, {}, "1111", {}, {}},
                      {music("empty-drive"), DriveType::Removable, "VUOTA", {}, {}, {}}};
}

void TestWinSeek::cleanup()
{
    delete m_winSeek;
    m_window.reset();
    m_store.reset();
}

void TestWinSeek::readersAndPointerFindTheCommands()
{
    openSearch();
    const QList<std::pair<const char *, const char *>> names = {
        {"txtSearchSpec", "Criteri di ricerca:"},
        {"dirList", "Cartelle"},
        {"filList", "File MP3"},
        {"lstFoundFiles", "MP3 trovati:"}};
    for (const auto &[name, accessible] : names)
        QCOMPARE(accessibleName(control(name)), QString::fromUtf8(accessible));
    QCOMPARE(controlsWithoutCaption(m_winSeek).join(u' '), QString());
    // The button a face shows lies on top of it and takes the click.
    for (const auto &[face, button] : {std::pair{"pip1", "cmdSearch"}, std::pair{"pip2", "cmdExit"},
                                       std::pair{"Label1", "Command1"}}) {
        QWidget *faceWidget = control(face);
        pointAt(faceWidget);
        QCOMPARE(m_winSeek->childAt(faceWidget->mapTo(m_winSeek, faceWidget->rect().center())),
                 control(button));
        // Off every face, on the window's background, the button goes again.
        pointAt(m_winSeek, QPoint(1, 1));
        QVERIFY(!control(button)->isVisible());
    }
}

void TestWinSeek::cancelKeepsWhatWasListedAndPaintedIt()
{
    for (int i = 0; i < 6; ++i)
        song(QStringLiteral("A/%1/x.mp3").arg(i));
    openSearch();
    auto *list = control<QListView>("lstFoundFiles");
    bool painted = false;
    // Each time the search lets events through, until two files are listed.
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] {
        if (list->model()->rowCount() < 2)
            return;
        timer.stop();
        // A repaint while the search goes on shows what was found so far.
        painted = paintedRows(list) == 2;
        clickCommand(control("pip2"));
    });
    timer.start(0);
    searchFolder(music("A"), true);
    QVERIFY2(painted, "the found list was painted blank during the search");
    // The walk stops at the next folder it enters: the two files listed stay, no more come.
    QCOMPARE(found(), (QStringList{music("A/5/x.mp3"), music("A/4/x.mp3")}));
    QVERIFY(m_winSeek->isVisible() && m_dialogs.messages.isEmpty());
}

void TestWinSeek::fullListStopsTheSearchWithOneMessage()
{
    for (int i = 0; i < 5; ++i)
        song(QStringLiteral("A/%1.mp3").arg(i));
    song("A/B/b.mp3");
    openSearch();
    m_winSeek->setFoundLimit(3);
    searchFolder(music("A"), true);
    QCOMPARE(found(), (QStringList{music("A/B/b.mp3"), music("A/0.mp3"), music("A/1.mp3")}));
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages.first().text,
             QStringLiteral("La casella di riepilogo è piena. Interruzione della ricerca..."));
}

void TestWinSeek::resetPreparesANewSearch()
{
    song("A/a.mp3");
    song("A/B/b.mp3");
    openSearch();
    // Without subfolders only the folder itself is searched.
    searchFolder(music("A"), false);
    QCOMPARE(found(), QStringList{music("A/a.mp3")});
    clickCommand(control("Label1"));
    QVERIFY(found().isEmpty() && control("Picture1")->isVisible());
    QCOMPARE(control<FolderList>("dirList")->path(), m_music.path());
    // A drive that cannot be read is not taken.
    auto *drvList = control<QComboBox>("drvList");
    drvList->setFocus();
    QTest::keyClick(drvList, Qt::Key_End);
    QCOMPARE(drvList->currentText(), QStringLiteral("/"));
    // The first command searches again, from an empty list, rather than importing.
    searchFolder(music("A"), true);
    QCOMPARE(found(), (QStringList{music("A/B/b.mp3"), music("A/a.mp3")}));
    QCOMPARE(m_window->model().recordCount(), 0);
}

void TestWinSeek::id3v2BoxIsRememberedAndReachesTheImport()
{
    // How the tags are read is FileImport's: here the box's state reaches it.
    const Id3v2Fields fields{"Dal tag ID3v2", "Artista", "Album", "2005", "Commento", {"Jazz"}};
    QVERIFY(writeId3v2(song("v2/solo.mp3"), 3, Id3v2Encoding::Latin1, fields));

    openSearch();
    control<QCheckBox>("Check2")->click();
    clickCommand(control("pip2"));
    QTRY_VERIFY(!m_winSeek);
    openSearch();
    QVERIFY(control<QCheckBox>("Check2")->isChecked());
    searchFolder(music("v2"), false);
    clickSearch();
    QTRY_VERIFY(!m_winSeek);
    QCOMPARE(m_window->model().cell(0, Title), QStringLiteral("Dal tag ID3v2"));
    QCOMPARE(m_window->model().cell(0, Genre), QStringLiteral("Jazz"));
}

void TestWinSeek::filesLeftOutAreReportedOnce()
{
    // A fixed drive without a serial number.
    m_volumes.list << VolumeInfo{music("rete"), DriveType::Fixed, {}, {}, {}, {}};
    const QString lost = song("rete/a.mp3", tagged("Perso"));
    openSearch();
    searchFolder(music("rete"), false);
    clickSearch();
    QTRY_VERIFY(!m_winSeek);
    QCOMPARE(m_window->model().recordCount(), 0);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY(m_dialogs.messages.first().text.startsWith(
        QStringLiteral("1 file non sono stati importati:\n") + lost + ": "));
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
    QCOMPARE(found(), QStringList{music("A/ok.mp3")});
    QCOMPARE(m_dialogs.messages.size(), 1);
    const QString text = m_dialogs.messages.first().text;
    QVERIFY2(text.startsWith(QStringLiteral("4 nomi di file MP3 o di cartelle")), qPrintable(text));
    for (const char *shown :
         {"A/vecchi\\xe0/", "A/bad\\xfe\\xff.mp3", "A/bad\\xff\\xfe.mp3", "A/caf\\xe9.mp3"})
        QVERIFY2(text.contains(u'\n' + music(QString::fromLatin1(shown))), qPrintable(text));
}

QTEST_MAIN(TestWinSeek)
#include "tst_winseek.moc"
