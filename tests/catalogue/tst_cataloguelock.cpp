#include "support/filestate.h"
#include "support/tempcatalogue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

// Generous: the program starts under the sanitizers on a shared machine.
constexpr int kStartTimeoutMs = 60000;

std::unique_ptr<QProcess> startProgram(const QString &folder)
{
    auto program = std::make_unique<QProcess>();
    program->setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    program->setProcessEnvironment(environment);
    program->start(QStringLiteral(TRACKLODGE_PROGRAM), {});
    return program;
}

// The process id written in a lock file, or 0.
qint64 lockHolder(const QString &lockFile)
{
    return fileBytes(lockFile).split('\n').constFirst().toLongLong();
}

// Every entry of a folder with its contents and time of change.
QStringList folderState(const QString &folder)
{
    QStringList state;
    for (const QFileInfo &entry :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        state << entry.fileName() + QString::fromLatin1(fileDigest(entry.filePath()).toHex()) +
                     entry.lastModified().toString(Qt::ISODateWithMs);
    return state;
}

} // namespace

class TestCatalogueLock : public QObject
{
    Q_OBJECT

private slots:
    void oneProgramPerCatalogue()
    {
        TempCatalogue temp;
        temp.add({});
        const QString lockFile = temp.path() + QStringLiteral(".lock");
        const auto first = startProgram(temp.folder());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(lockFile), first->processId(), kStartTimeoutMs);

        // However old its lock file, a program that runs keeps its catalogue.
        QFile lock(lockFile);
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                 QFileDevice::FileModificationTime));
        lock.close();
        const QStringList before = folderState(temp.folder());
        const auto second = startProgram(temp.folder());
        QVERIFY(second->waitForFinished(kStartTimeoutMs));
        QCOMPARE(second->exitCode(), 1);
        const QString said = QString::fromLocal8Bit(second->readAllStandardError());
        QVERIFY2(said.contains(QStringLiteral("Il catalogo \"%1\" è già in uso").arg(temp.path())),
                 qPrintable(said));
        QCOMPARE(folderState(temp.folder()), before);
        QCOMPARE(first->state(), QProcess::Running);

        // A program that crashed leaves its lock file behind; the next start takes it over.
        first->kill();
        QVERIFY(first->waitForFinished(kStartTimeoutMs));
        QVERIFY(QFile::exists(lockFile));
        const auto third = startProgram(temp.folder());
        QTRY_COMPARE_WITH_TIMEOUT(lockHolder(lockFile), third->processId(), kStartTimeoutMs);
        third->kill();
        QVERIFY(third->waitForFinished(kStartTimeoutMs));
    }
};

QTEST_GUILESS_MAIN(TestCatalogueLock)
#include "tst_cataloguelock.moc"
