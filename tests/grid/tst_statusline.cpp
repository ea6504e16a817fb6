#include "grid/statusline.h"
#include "support/fakevolumes.h"

#include <QTest>

class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
};

void TestStatusLine::text_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expected");
    QTest::newRow("OK is a hard disk") << "OK"
                                       << "/home/ada/Musica/"
                                       << "TRACKLODGE_1"
                                       << "brano - HARD DISK (/) - TRACKLODGE_1";
    QTest::newRow("read-only in capitals") << "Solo Lettura"
                                           << "/home/ada/"
                                           << "Dati"
                                           << "brano - SOLO LETTURA (/) - DATI";
    QTest::newRow("CD on its mount point") << "CDROM"
                                           << "/media/cdrom/Rock/"
                                           << "Rock"
                                           << "brano - CDROM (/media/cdrom) - ROCK";
    QTest::newRow("removable nested mount") << "Disco Rimovibile"
                                            << "/media/cdrom2/x/"
                                            << "usb"
                                            << "brano - DISCO RIMOVIBILE (/) - USB";
    QTest::newRow("no tag") << "Nessun TAG ID3"
                            << "/srv/"
                            << " "
                            << "brano - NESSUN TAG ID3 (/) -  ";
}

void TestStatusLine::text()
{
    QFETCH(QString, state);
    QFETCH(QString, folder);
    QFETCH(QString, label);
    QFETCH(QString, expected);
    FakeVolumes volumes;
    VolumeInfo root;
    root.mountPoint = QStringLiteral("/");
    VolumeInfo cd;
    cd.mountPoint = QStringLiteral("/media/cdrom");
    volumes.list = {root, cd};
    GridRow row;
    row[FileName] = QStringLiteral("brano");
    row[State] = state;
    row[Folder] = folder;
    row[MediumLabel] = label;
    QCOMPARE(statusLineText(row, volumes), expected);
}

QTEST_GUILESS_MAIN(TestStatusLine)
#include "tst_statusline.moc"
