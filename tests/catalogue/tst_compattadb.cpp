#include "catalogue/cataloguestore.h"
#include "catalogue/compattadb.h"
#include "support/fakedialogs.h"
#include "support/filestate.h"
#include "support/sqlscene.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kMessageStart =
    QStringLiteral("Errore durante il tentativo di compattazione del database: ");

} // namespace

class TestCompattaDB : public QObject
{
    Q_OBJECT

    QString workFile() const { return m_temp->folder() + QStringLiteral("/Temp.mdb"); }

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    FakeDialogs m_dialogs;
    QList<CatalogueRecord> m_records; ///< the records after the deletions
    QByteArray m_digest;              ///< the catalogue file before compacting

    /// Runs CompattaDB; false also when the busy pointer is not shown and restored once.
    bool compact(const CompactionFiles &files = {})
    {
        int shown = 0, restored = 0;
        const BusyPointer busy{[&] { ++shown; },
                               [&] {
                                   ++restored;
                               }};
        const bool ok = CompattaDB(*m_store, m_dialogs, busy, files);
        return ok && shown == 1 && restored == 1;
    }

    /// The failure message, and the catalogue and the store as before.
    void verifyFailedAndUntouched(const QString &reasonPart)
    {
        QCOMPARE(m_dialogs.messages.size(), 1);
        const FakeDialogs::Message &message = m_dialogs.messages.constFirst();
        QVERIFY2(message.text.startsWith(kMessageStart) && message.text.contains(reasonPart),
                 qPrintable(message.text));
        QCOMPARE(fileDigest(m_temp->path()), m_digest);
        QVERIFY(m_store->isOpen());
        QCOMPARE(*storedRecords(*m_store), m_records);
    }

private slots:
    void init()
    {
        m_temp = std::make_unique<TempCatalogue>();
        m_dialogs = FakeDialogs();
        QList<CatalogueRecord> many;
        for (int i = 0; i < 600; ++i)
            many << sampleRecord(QStringLiteral("record %1").arg(i));
        m_temp->add(many);
        // Deleting most records leaves free pages that a compaction gives back.
        QVERIFY(execOn(m_temp->path(), u"DELETE FROM Mp3 WHERE id % 3 != 0"_s));
        m_store = std::make_unique<CatalogueStore>(m_temp->path());
        QVERIFY(m_store->open());
        m_records = *storedRecords(*m_store);
        QCOMPARE(m_records.size(), 200);
        m_digest = fileDigest(m_temp->path());
    }

    void cleanup()
    {
        m_store.reset();
        m_temp.reset();
    }

    void compactsInPlace()
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
        QVERIFY(QFileInfo(m_temp->path()).size() < sizeBefore);
        QCOMPARE(*storedRecords(*m_store), m_records);
        // The reopened store writes, and keys are never given twice after a compaction.
        QVERIFY(m_store->add(sampleRecord(QStringLiteral("new"))).value() > 600);
    }

    // A catalogue that is a symbolic link to one in another folder, owned by nobody (when run
    // as root), mode 0640: the copy is made beside the target, and keeps its owner and mode.
    void keepsOwnerModeAndLink()
    {
        QTemporaryDir elsewhere;
        m_store->close();
        const QString catalogue = elsewhere.path() + QStringLiteral("/catalogo.db");
        QVERIFY(QFile::rename(m_temp->path(), catalogue));
        QVERIFY(QFile::link(catalogue, m_temp->path()));
        QVERIFY(m_store->open());
        // The folder of the link holds another catalogue, whose compaction is under way.
        QVERIFY(QFile::copy(catalogue, workFile()));
        const QByteArray name = QFile::encodeName(catalogue);
        if (const passwd *nobody = ::getpwnam("nobody"); nobody && ::geteuid() == 0)
            QVERIFY(::chown(name.constData(), nobody->pw_uid, nobody->pw_gid) == 0);
        QVERIFY(::chmod(name.constData(), 0640) == 0);
        struct stat before, after;
        QVERIFY(::stat(name.constData(), &before) == 0);
        QVERIFY(compact());
        QVERIFY(fileDigest(catalogue) != m_digest);
        QVERIFY(::stat(name.constData(), &after) == 0);
        QCOMPARE(after.st_mode & 07777, 0640u);
        QVERIFY(after.st_uid == before.st_uid && after.st_gid == before.st_gid);
        QCOMPARE(QFileInfo(m_temp->path()).symLinkTarget(), catalogue);
        QCOMPARE(fileDigest(workFile()), m_digest);
    }

    void damagedCopyIsNotPutInPlace()
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

    void leftOverWorkFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("dangling link: removed") << "link";
        QTest::newRow("folder that cannot go: nothing done") << "folder";
    }

    void leftOverWorkFile()
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
        }
        QVERIFY(compact());
        QVERIFY(!QFileInfo(workFile()).exists() && !QFileInfo(workFile()).isSymLink());
        QCOMPARE(*storedRecords(*m_store), m_records);
    }

    void workFileThatCannotBeWritten()
    {
        // A folder without write permission refuses the work file; root writes into any folder,
        // so a file-size limit makes writing the copy fail part way as well, as a full disk would.
        const QFile::Permissions folderPermissions = QFile::permissions(m_temp->folder());
        QVERIFY(QFile::setPermissions(m_temp->folder(), QFile::ReadOwner | QFile::ExeOwner));
        const bool ok = withFileSizeLimit(8192, [this] { return compact(); });
        QVERIFY(QFile::setPermissions(m_temp->folder(), folderPermissions));
        QVERIFY(!ok);
        verifyFailedAndUntouched(QStringLiteral("Temp.mdb"));
        QVERIFY2(!QFile::exists(workFile()), "the partial copy is removed");
    }

    void failedRenameKeepsTheCatalogue()
    {
        bool copyComplete = false;
        CompactionFiles refuse;
        refuse.replace = [&](const QString &from, const QString &, QString &reason) {
            // The copy is whole when the rename is attempted.
            CatalogueStore copy(from);
            copyComplete = copy.open() && storedRecords(copy) == m_records;
            reason = QStringLiteral("Operation not permitted");
            return false;
        };
        QVERIFY(!compact(refuse));
        QVERIFY(copyComplete);
        verifyFailedAndUntouched(QStringLiteral("Operation not permitted"));
        QVERIFY2(!QFile::exists(workFile()), "no second copy is left beside the catalogue");
    }

    void refusedInATransaction()
    {
        CatalogueStore::Transaction transaction(*m_store);
        QVERIFY(!compact());
        QVERIFY(!QFile::exists(workFile()));
        QVERIFY(transaction.commit());
        verifyFailedAndUntouched(QStringLiteral("Temp.mdb"));
    }
};

QTEST_GUILESS_MAIN(TestCompattaDB)
#include "tst_compattadb.moc"
