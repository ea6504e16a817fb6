#include "inspection/recordfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("x");
}

} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void findsTheFileWhateverTheExtensionCase_data();
    void findsTheFileWhateverTheExtensionCase();
    void resolveFallsBackToTheExpectedName();
    void opensForReading_data();
    void opensForReading();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder; ///< the temporary folder with its closing "/"
};

void TestRecordFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->path() + u'/';
}

void TestRecordFile::findsTheFileWhateverTheExtensionCase_data()
{
    QTest::addColumn<QStringList>("entries"); // files made in the folder; "dir:" makes a folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found"); // entry found, empty for none
    QTest::newRow("lower case wins")
        << QStringList{"Brano.MP3", "Brano.mp3", "Brano.mP3"} << u"Brano"_s << u"Brano.mp3"_s;
    QTest::newRow("upper case before mixed")
        << QStringList{"Brano.mP3", "Brano.MP3"} << u"Brano"_s << u"Brano.MP3"_s;
    QTest::newRow("mixed spellings in name order")
        << QStringList{"Brano.mp3x", "Brano.mP3", "Brano.Mp3"} << u"Brano"_s << u"Brano.Mp3"_s;
    QTest::newRow("hidden file") << QStringList{".Brano.mP3"} << u".Brano"_s << u".Brano.mP3"_s;
    QTest::newRow("name case counts") << QStringList{"brano.mp3"} << u"Brano"_s << u""_s;
    QTest::newRow("longer name") << QStringList{"Brano 2.MP3"} << u"Brano"_s << u""_s;
    QTest::newRow("a folder before the file")
        << QStringList{"dir:Brano.mp3", "Brano.MP3"} << u"Brano"_s << u"Brano.MP3"_s;
    QTest::newRow("wildcards in the name")
        << QStringList{"[a]*?.Mp3", "xa.Mp3"} << u"[a]*?"_s << u"[a]*?.Mp3"_s;
}

void TestRecordFile::findsTheFileWhateverTheExtensionCase()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, name);
    QFETCH(QString, found);
    for (const QString &entry : entries) {
        if (entry.startsWith(QLatin1String("dir:")))
            QVERIFY(QDir(m_folder).mkdir(entry.mid(4)));
        else
            touch(m_folder + entry);
    }
    const std::optional<QString> path = findRecordFile(m_folder, name);
    if (found.isEmpty())
        QCOMPARE(path, std::nullopt);
    else
        QCOMPARE(path, std::optional<QString>(m_folder + found));
}

void TestRecordFile::resolveFallsBackToTheExpectedName()
{
    QCOMPARE(resolveRecordFile(m_folder, QStringLiteral("Brano")), m_folder + "Brano.mp3");
    touch(m_folder + "Brano.MP3");
    QCOMPARE(resolveRecordFile(m_folder, QStringLiteral("Brano")), m_folder + "Brano.MP3");
    // A folder that does not exist finds nothing and is not created.
    const QString gone = m_folder + "gone/";
    QCOMPARE(resolveRecordFile(gone, QStringLiteral("Brano")), gone + "Brano.mp3");
    QVERIFY(!QFile::exists(gone));
}

void TestRecordFile::opensForReading_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");
    QTest::newRow("link to a file") << u"link"_s << true;
    QTest::newRow("dangling link") << u"dangling"_s << false;
    QTest::newRow("folder") << u"folder"_s << false;
    QTest::newRow("FIFO without a writer") << u"fifo"_s << false;
}

void TestRecordFile::opensForReading()
{
    QFETCH(QString, kind);
    QFETCH(bool, expected);
    const QString path = m_folder + "Brano.mp3";
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("link")) {
        touch(m_folder + "target");
        QVERIFY(::symlink("target", name.constData()) == 0);
    } else if (kind == QLatin1String("dangling")) {
        QVERIFY(::symlink("nowhere", name.constData()) == 0);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(m_folder).mkdir(QStringLiteral("Brano.mp3")));
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(name.constData(), 0644) == 0);
    }
    QCOMPARE(::opensForReading(path), expected);
    QCOMPARE(findRecordFile(m_folder, QStringLiteral("Brano")).has_value(), expected);
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
