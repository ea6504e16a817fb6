#include "catalogue/cataloguestore.h"
#include "catalogue/compattadb.h"
#include "support/fakedialogs.h"
#include "support/filestate.h"
#include "support/tempcatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kMessageStart =
    QStringLiteral("Errore durante il tentativo di compattazione del database: ");

} // namespace

class TestCompattaDB : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void compactsInPlace();
    void keepsOwnerModeAndLink_data();
    void keepsOwnerModeAndLink();
    void damagedCopyIsNotPutInPlace();
    void leftOverWorkFile_data();
    void leftOverWorkFile();
    void workFileThatCannotBeWritten();
    void failedRenameKeepsTheCatalogue();
    void refusedWhileNotPossible_data();
    void refusedWhileNotPossible();

private:
    QString workFile() const { return m_temp->folder() + QStringLiteral("/Temp.mdb"); }
    /// Runs CompattaDB, checking the busy pointer is shown once and restored once.
    bool compact(const CompactionFiles &files = {});
    /// Checks the failure message and that the catalogue and the store are as before.
    void verifyFailedAndUntouched(const QString &reasonPart);

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    FakeDialogs m_dialogs;
    QList<CatalogueRecord> m_records; ///< the records after the deletions
    QByteArray m_digest;              ///< the catalogue file before compacting
};

void TestCompattaDB::init()
{
    m_temp = std::make_unique<TempCatalogue>();
    m_dialogs = FakeDialogs();
    QList<CatalogueRecord> many;
    for (int i = 0; i < 600; ++i)
        many << sampleRecord(QStringLiteral("record %1").arg(i));
    const QList<qint64> ids = m_temp->add(many);
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY(m_store->open());
    // Deleting most records leaves free pages that a compaction gives back.
    {
        CatalogueStore::Transaction transaction(*m_store);
        for (int i = 0; i < ids.size(); i += 3) {
            QCOMPARE(m_store->remove(ids[i]), CatalogueStore::WriteResult::Done);
            QCOMPARE(m_store->remove(ids[i + 1]), CatalogueStore::WriteResult::Done);
        }
        QVERIFY(transaction.commit());
    }
    m_records = *m_store->allRecords();
    QCOMPARE(m_records.size(), 200);
    m_digest = fileDigest(m_temp->path());
}

void TestCompattaDB::cleanup()
{
    m_store.reset();
    m_temp.reset();
}

bool TestCompattaDB::compact(const CompactionFiles &files)
{
    QStringList busy;
    const BusyPointer pointer{[&busy] { busy << QStringLiteral("show"); },
                              [&busy] {
                                  busy << QStringLiteral("restore");
                              }};
    const bool ok = CompattaDB(*m_store, m_dialogs, pointer, files);
    if (busy != QStringList{"show", "restore"})
        qWarning() << "busy pointer calls:" << busy;
    return ok && busy == QStringList{"show", "restore"};
}

void TestCompattaDB::verifyFailedAndUntouched(const QString &reasonPart)
{
    QCOMPARE(m_dialogs.messages.size(), 1);
    const FakeDialogs::Message &message = m_dialogs.messages.constFirst();
    QCOMPARE(message.kind, FakeDialogs::Kind::Critical);
    QCOMPARE(message.title, QStringLiteral("Service"));
    QVERIFY2(message.text.startsWith(kMessageStart), qPrintable(message.text));
    QVERIFY2(message.text.endsWith(u'.'), qPrintable(message.text));
    QVERIFY2(message.text.contains(reasonPart), qPrintable(message.text));
    QCOMPARE(fileDigest(m_temp->path()), m_digest);
    QVERIFY(m_store->isOpen());
    QCOMPARE(*m_store->allRecords(), m_records);
}

void TestCompattaDB::compactsInPlace()
{
    const qint64 sizeBefore = QFileInfo(m_temp->path()).size();
    bool storeClosedAtRename = false;
    bool catalogueThereAtRename = false;
    QStringList steps;
    CompactionFiles watch;
    watch.replace = [&](const QString &from, const QString &to, QString &reason) {
        storeClosedAtRename = !m_store->isOpen();
        catalogueThereAtRename = fileDigest(to) == m_digest && QFileInfo(from).size() > 0;
        steps << QStringLiteral("rename ") + QFileInfo(from).fileName() + u' ' +
                     QFileInfo(to).fileName();
        return renameIntoPlace(from, to, reason);
    };
    watch.flush = [&](const QString &path) {
        steps << QStringLiteral("flush ") + QFileInfo(path).fileName();
        return flushToDisk(path);
    };
    QVERIFY(compact(watch));
    QVERIFY(m_dialogs.messages.isEmpty());
    // The copy is on disk before it takes the catalogue's name, and the new name after.
    QCOMPARE(steps, (QStringList{"flush Temp.mdb", "rename Temp.mdb Mp3Db.mdb",
                                 "flush " + QFileInfo(m_temp->folder()).fileName()}));
    QVERIFY2(storeClosedAtRename, "the connection is closed around the rename");
    QVERIFY2(catalogueThereAtRename, "the old catalogue is in place until the rename");
    QVERIFY(!QFile::exists(workFile()));
    QVERIFY2(QFileInfo(m_temp->path()).size() < sizeBefore,
             qPrintable(
                 QStringLiteral("%1 -> %2").arg(sizeBefore).arg(QFileInfo(m_temp->path()).size())));
    QVERIFY(m_store->isOpen());
    QCOMPARE(*m_store->allRecords(), m_records);
    // The reopened store writes, and keys are never given twice after a compaction.
    const auto added = m_store->add(sampleRecord(QStringLiteral("new")));
    QVERIFY(added);
    QVERIFY(*added > 600);
    // The default steps work the same way.
    QVERIFY(compact());
    QVERIFY(!QFile::exists(workFile()));
    QCOMPARE(m_store->allRecords()->size(), 201);
}

void TestCompattaDB::keepsOwnerModeAndLink_data()
{
    QTest::addColumn<bool>("nobodys");
    QTest::addColumn<bool>("linked");
    QTest::newRow("mode 0640, owned by nobody") << true << false;
    QTest::newRow("symbolic link to a catalogue in another folder") << false << true;
}

void TestCompattaDB::keepsOwnerModeAndLink()
{
    QFETCH(bool, nobodys);
    QFETCH(bool, linked);
    QTemporaryDir elsewhere;
    QString catalogue = m_temp->path();
    // The folder of the link's target holds another catalogue, whose compaction is under way.
    const QString othersWork = elsewhere.path() + QStringLiteral("/Temp.mdb");
    if (linked) {
        m_store->close();
        catalogue = elsewhere.path() + QStringLiteral("/catalogo.db");
        QVERIFY(QFile::rename(m_temp->path(), catalogue));
        QVERIFY(QFile::link(catalogue, m_temp->path()));
        QVERIFY(m_store->open());
        QVERIFY(QFile::copy(catalogue, othersWork));
    }
    const passwd *nobody = ::getpwnam("nobody");
    if (nobodys) {
        if (::geteuid() != 0 || !nobody)
            QSKIP("giving a file to another user needs root and the user nobody");
        QVERIFY(::chown(QFile::encodeName(catalogue).constData(), nobody->pw_uid, nobody->pw_gid) ==
                0);
    }
    QVERIFY(::chmod(QFile::encodeName(catalogue).constData(), 0640) == 0);
    struct stat before;
    QVERIFY(::stat(QFile::encodeName(catalogue).constData(), &before) == 0);

    QVERIFY(compact());
    QVERIFY(m_dialogs.messages.isEmpty());
    QVERIFY(fileDigest(catalogue) != m_digest);
    QCOMPARE(*m_store->allRecords(), m_records);
    struct stat after;
    QVERIFY(::stat(QFile::encodeName(catalogue).constData(), &after) == 0);
    QCOMPARE(after.st_mode & 07777, 0640u);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    if (linked) {
        QCOMPARE(QFileInfo(m_temp->path()).symLinkTarget(), catalogue);
        QCOMPARE(fileDigest(othersWork), m_digest);
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files),
                 (QStringList{"catalogo.db", "Temp.mdb"}));
    }
    QVERIFY(!QFile::exists(workFile()));
}

void TestCompattaDB::damagedCopyIsNotPutInPlace()
{
    // The disk gives back less than was written: the copy is cut short after its flush.
    CompactionFiles shortening;
    shortening.flush = [this](const QString &path) {
        const int error = flushToDisk(path);
        if (path == workFile())
            QFile::resize(path, QFileInfo(path).size() - 1234);
        return error;
    };
    QVERIFY(!compact(shortening));
    verifyFailedAndUntouched(QStringLiteral("il file è danneggiato"));
    QVERIFY(!QFile::exists(workFile()));
}

void TestCompattaDB::leftOverWorkFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("half-written file: removed") << "junk";
    QTest::newRow("dangling link: removed") << "link";
    QTest::newRow("folder that cannot go: nothing done") << "folder";
}

void TestCompattaDB::leftOverWorkFile()
{
    QFETCH(QString, kind);
    if (kind == QLatin1String("link")) {
        QVERIFY(::symlink("nowhere/Temp.mdb", QFile::encodeName(workFile()).constData()) == 0);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(m_temp->folder()).mkpath(QStringLiteral("Temp.mdb/inside")));
        QVERIFY(!compact());
        verifyFailedAndUntouched(QStringLiteral("Temp.mdb"));
        QVERIFY(QFileInfo(workFile()).isDir());
        return;
    } else {
        QFile file(workFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(5000, 'x'));
    }
    QVERIFY(compact());
    QVERIFY(m_dialogs.messages.isEmpty());
    QVERIFY(!QFileInfo(workFile()).exists() && !QFileInfo(workFile()).isSymLink());
    QCOMPARE(*m_store->allRecords(), m_records);
    QVERIFY(fileDigest(m_temp->path()) != m_digest);
}

void TestCompattaDB::workFileThatCannotBeWritten()
{
    // A folder without write permission refuses the work file; root writes into any folder,
    // so a file-size limit makes writing the copy fail part way as well, as a full disk would.
    const QFile::Permissions folderPermissions = QFile::permissions(m_temp->folder());
    QVERIFY(QFile::setPermissions(m_temp->folder(), QFile::ReadOwner | QFile::ExeOwner));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old;
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
    rlimit small = old;
    small.rlim_cur = 8192;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool ok = compact();
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &old) == 0);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(QFile::setPermissions(m_temp->folder(), folderPermissions));
    QVERIFY(!ok);
    verifyFailedAndUntouched(QStringLiteral("Temp.mdb"));
    QVERIFY2(!QFile::exists(workFile()), "the partial copy is removed");
}

void TestCompattaDB::failedRenameKeepsTheCatalogue()
{
    bool copyComplete = false;
    CompactionFiles refuse;
    refuse.replace = [&](const QString &from, const QString &, QString &reason) {
        // The copy is whole when the rename is attempted.
        CatalogueStore copy(from);
        copyComplete = copy.open() && copy.allRecords() == m_records;
        reason = QStringLiteral("Operation not permitted");
        return false;
    };
    QVERIFY(!compact(refuse));
    QVERIFY(copyComplete);
    verifyFailedAndUntouched(QStringLiteral("Operation not permitted"));
    QVERIFY2(!QFile::exists(workFile()), "no second copy is left beside the catalogue");
    QVERIFY(m_store->add(sampleRecord(QStringLiteral("after"))));
}

void TestCompattaDB::refusedWhileNotPossible_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("open transaction") << "transaction";
    QTest::newRow("closed store") << "closed";
}

void TestCompattaDB::refusedWhileNotPossible()
{
    QFETCH(QString, situation);
    if (situation == QLatin1String("closed")) {
        m_store->close();
        QVERIFY(!compact());
        QCOMPARE(m_dialogs.messages.size(), 1);
        QCOMPARE(m_dialogs.messages.constFirst().title, QStringLiteral("Service"));
        QCOMPARE(fileDigest(m_temp->path()), m_digest);
        QVERIFY(!QFile::exists(workFile()));
        return;
    }
    CatalogueStore::Transaction transaction(*m_store);
    QVERIFY(transaction.isActive());
    QVERIFY(!compact());
    QVERIFY(!QFile::exists(workFile()));
    QVERIFY(transaction.commit());
    verifyFailedAndUntouched(QStringLiteral("Temp.mdb"));
}

QTEST_GUILESS_MAIN(TestCompattaDB)
#include "tst_compattadb.moc"
