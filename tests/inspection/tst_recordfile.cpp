#include "inspection/recordfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestRecordFile : public QObject
{
    Q_OBJECT

private slots:
    void findsTheFileWhateverTheExtensionCase_data()
    {
        // Entries made in the folder: a file; "dir:x" a folder, "fifo:x" a FIFO without a writer,
        // "x->target" a symbolic link.
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found"); // entry found, empty for none
        QTest::newRow("lower case wins")
            << QStringList{"Brano.MP3", "Brano.mp3", "Brano.mP3"} << u"Brano"_s << u"Brano.mp3"_s;
        QTest::newRow("a folder before the file, upper case before mixed")
            << QStringList{"dir:Brano.mp3", "Brano.mP3", "Brano.MP3"} << u"Brano"_s
            << u"Brano.MP3"_s;
        QTest::newRow("mixed spellings in name order")
            << QStringList{"Brano.mp3x", "Brano.mP3", "Brano.Mp3"} << u"Brano"_s << u"Brano.Mp3"_s;
        QTest::newRow("hidden file") << QStringList{".Brano.mP3"} << u".Brano"_s << u".Brano.mP3"_s;
        QTest::newRow("longer name, name case counts")
            << QStringList{"Brano 2.MP3", "brano.mp3"} << u"Brano"_s << u""_s;
        QTest::newRow("wildcards in the name")
            << QStringList{"[a]*?.Mp3", "xa.Mp3"} << u"[a]*?"_s << u"[a]*?.Mp3"_s;
        QTest::newRow("link to a file")
            << QStringList{"t", "Brano.mp3->t"} << u"Brano"_s << u"Brano.mp3"_s;
        QTest::newRow("dangling link, FIFO")
            << QStringList{"Brano.mp3->nowhere", "fifo:Brano.MP3"} << u"Brano"_s << u""_s;
    }

    void findsTheFileWhateverTheExtensionCase()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, name);
        QFETCH(QString, found);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        for (const QString &entry : entries) {
            const QByteArray path =
                QFile::encodeName(folder + entry.section(u':', -1).section(u"->"_s, 0, 0));
            if (entry.startsWith(u"dir:"))
                QVERIFY(::mkdir(path.constData(), 0755) == 0);
            else if (entry.startsWith(u"fifo:"))
                QVERIFY(::mkfifo(path.constData(), 0644) == 0);
            else if (entry.contains(u"->"))
                QVERIFY(::symlink(QFile::encodeName(entry.section(u"->"_s, 1)).constData(),
                                  path.constData()) == 0);
            else
                QVERIFY(QFile(QFile::decodeName(path)).open(QIODevice::WriteOnly));
        }
        const std::optional<QString> path = findRecordFile(folder, name);
        QCOMPARE(path.value_or(QString()), found.isEmpty() ? QString() : folder + found);
        // Without a file, the expected name stands in.
        QCOMPARE(resolveRecordFile(folder, name),
                 folder + (found.isEmpty() ? name + u".mp3"_s : found));
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
