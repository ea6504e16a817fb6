#include "platform/volumelabel.h"
#include "platform/volumeprobe.h"
#include "platform/volumeserial.h"
#include "support/systemtools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMiB = 1024 * 1024;

struct Step
{
    QString tool;
    QStringList arguments;
};

// Runs the steps; an empty result means success, else the reason the row cannot run.
QString run(const QList<Step> &steps, const QProcessEnvironment &environment)
{
    for (const Step &step : steps) {
        const QString program = findTool(step.tool);
        if (program.isEmpty())
            return QStringLiteral("SKIP:%1 is not installed").arg(step.tool);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, step.arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0)
            return QStringLiteral("%1 failed: %2")
                .arg(step.tool, QString::fromLocal8Bit(process.readAllStandardError()));
    }
    return {};
}

bool makeSparseFile(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

bool setTime(const QString &path, qint64 seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace

class TestVolumeProbe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void image_data();
    void image();
    void notAFileSystem_data();
    void notAFileSystem();

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
};

void TestVolumeProbe::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_environment = QProcessEnvironment::systemEnvironment();
    // Fixed dates make the CD images the same on every run.
    m_environment.insert("SOURCE_DATE_EPOCH", "1700000000");
    m_environment.insert("TZ", "UTC");
    m_environment.insert("LC_ALL", "C");
}

void TestVolumeProbe::image_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("label");

    const QString image = QStringLiteral("@IMAGE@");
    const QString folder = QStringLiteral("@FOLDER@");
    const QStringList xorriso = {"-as",        "mkisofs",    "-quiet", "-V",         "CDMUSICA",
                                 "-p",         "TRACKLODGE", "-A",     "TRACKLODGE", "-publisher",
                                 "TRACKLODGE", "-sysid",     "LINUX",  "-o",         image};

    // The serials are stored in catalogues; these values must never change.
    QTest::newRow("fat16") << 16 * kMiB
                           << QList<Step>{{"mkfs.vfat",
                                           {"-F", "16", "-i", "DEADBEEF", "-n", "MUSICA", image}}}
                           << QByteArray("vfat") << u"-559038737"_s << u"MUSICA"_s;
    QTest::newRow("ntfs") << 16 * kMiB
                          << QList<Step>{{"mkntfs", {"-F", "-Q", "-q", "-L", "Archivio", image}},
                                         {"ntfslabel", {"--new-serial=0123456789ABCDEF", image}}}
                          << QByteArray("ntfs") << u"-1985229329"_s << u"Archivio"_s;
    QTest::newRow("ext4") << 8 * kMiB
                          << QList<Step>{{"mkfs.ext4",
                                          {"-q", "-F", "-U", "7daeb3de-f0f6-4bd1-b269-e0cd6fca9fe9",
                                           "-L", "dischi", image}}}
                          << QByteArray("ext4") << u"730331984"_s << u"dischi"_s;
    QTest::newRow("iso9660 joliet")
        << qint64(0) << QList<Step>{{"xorriso", xorriso + QStringList{"-J", folder}}}
        << QByteArray("iso9660") << u"-1699191535"_s << u"CDMUSICA"_s;
}

void TestVolumeProbe::image()
{
    QFETCH(qint64, size);
    QFETCH(QList<Step>, steps);
    QFETCH(QByteArray, type);
    QFETCH(QString, serial);
    QFETCH(QString, label);

    const QString image = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".img");
    const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".d");
    QVERIFY(QDir().mkpath(folder));
    QFile content(folder + "/brano.txt");
    QVERIFY(content.open(QIODevice::WriteOnly) && content.write("brano\n") == 6);
    content.close();
    QVERIFY(setTime(content.fileName(), 1600000000) && setTime(folder, 1600000000));
    if (size > 0)
        QVERIFY(makeSparseFile(image, size));
    for (Step &step : steps) {
        step.arguments.replaceInStrings("@IMAGE@", image);
        step.arguments.replaceInStrings("@FOLDER@", folder);
    }
    const QString failure = run(steps, m_environment);
    if (failure.startsWith("SKIP:"))
        QSKIP(qPrintable(failure.mid(5)));
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    const auto probe = VolumeProbe::probe(image);
    QVERIFY(probe);
    QCOMPARE(probe->type, type);
    const auto value = VolumeSerial::fromProbe(*probe);
    QVERIFY(value);
    QCOMPARE(VolumeSerial::text(*value), serial);
    QCOMPARE(VolumeLabel::decode(probe->type, probe->label), label);
}

void TestVolumeProbe::notAFileSystem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("missing file") << u""_s << QByteArray();
}

void TestVolumeProbe::notAFileSystem()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QString path = m_dir.filePath("missing/nothing.img");
    if (!name.isEmpty()) {
        path = m_dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    QVERIFY(!VolumeProbe::probe(path));
}

QTEST_GUILESS_MAIN(TestVolumeProbe)
#include "tst_volumeprobe.moc"
