#include "catalogue/cataloguestore.h"
#include "disk_search/folderlist.h"
#include "disk_search/foundfilesmodel.h"
#include "disk_search/winseek.h"
#include "grid/cataloguemodel.h"
#include "main_window/mainwindow.h"

#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "support/widgettest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListView>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray tagged(const QByteArray &title)
{
    return mpegFrames(2) + tagBlock(title, "Artista", "Album", "2001", "Commento", 13);
}

} // namespace

class TestWinSeek : public QObject
{
    Q_OBJECT

    void openSearch()
    {
        if (!m_window) {
            m_store.emplace(m_temp->path());
            QVERIFY(m_store->open());
            m_window.emplace(*m_store, m_dialogs, m_volumes);
            m_window->start();
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

private slots:
    // Names that are not UTF-8 are beyond QDir: the music folder goes byte by byte.
    void cleanupTestCase() { std::filesystem::remove_all(m_music.path().toStdString()); }
    void init()
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

    void cleanup()
    {
        delete m_winSeek;
        m_window.reset();
        m_store.reset();
    }

    void cancelKeepsWhatWasListed()
    {
        for (int i = 0; i < 6; ++i)
            song(QStringLiteral("A/%1/x.mp3").arg(i));
        openSearch();
        auto *list = control<QListView>("lstFoundFiles");
        // Each time the search lets events through, until two files are listed.
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            if (list->model()->rowCount() < 2)
                return;
            timer.stop();
            clickCommand(control("pip2"));
        });
        timer.start(0);
        searchFolder(music("A"), true);
        // The walk stops at the next folder it enters: the two files listed stay, no more come.
        QCOMPARE(found(), (QStringList{music("A/5/x.mp3"), music("A/4/x.mp3")}));
        QVERIFY(m_winSeek->isVisible() && m_dialogs.messages.isEmpty());
    }

    void fullListStopsTheSearchWithOneMessage()
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

    void resetPreparesANewSearch()
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

    void filesLeftOutAreReportedOnce()
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

    void undecodableNamesAreListedOnce()
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
        QVERIFY2(text.startsWith(QStringLiteral("4 nomi di file MP3 o di cartelle")),
                 qPrintable(text));
        for (const char *shown :
             {"A/vecchi\\xe0/", "A/bad\\xfe\\xff.mp3", "A/bad\\xff\\xfe.mp3", "A/caf\\xe9.mp3"})
            QVERIFY2(text.contains(u'\n' + music(QString::fromLatin1(shown))), qPrintable(text));
    }
};

QTEST_MAIN(TestWinSeek)
#include "tst_winseek.moc"
