#include "grid/cataloguemodel.h"
#include "support/fakedialogs.h"
#include "support/testmp3.h"
#include "tag_editor/loadstep.h"
#include "tag_editor/player.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

/// A player at the audio seam: available or not, and a fixed length for any file it loads.
class ScriptedPlayer : public Player
{
public:
    bool available = true;
    qint64 lengthOfFiles = -1;
    QStringList calls;
    QString opened;

    bool isAvailable() const override { return available; }
    void init() override { calls << QStringLiteral("init"); }
    void openFile(const QString &path) override
    {
        calls << QStringLiteral("open");
        opened = path;
    }
    qint64 length() const override { return opened.isEmpty() ? -1 : lengthOfFiles; }
    qint64 position() const override { return 0; }
    void setPosition(qint64) override {}
    int volume() const override { return 80; }
    void setVolume(int) override {}
    void play(Repeat) override {}
    void pause() override {}
    void stop() override {}
    void seek() override {}
    void closeFile() override {}
};

QString message(const QString &title, const QString &text)
{
    return title + u'|' + text;
}

const QString kCdWarning = QStringLiteral("|ATTENZIONE!\nIl supporto CDROM con Etichetta: ROCK CD "
                                          "non è inserito.Non puoi ascolgtare il brano.");
const QString kRemovableWarning =
    QStringLiteral("|ATTENZIONE!\nIl supporto MY USB non è inserito.Non puoi Salvare il TAG ed "
                   "ascolgtare il brano.");
const QString kRemovableWarningNoLabel =
    QStringLiteral("|ATTENZIONE!\nIl supporto non è inserito.\nNon puoi Salvare il TAG ed "
                   "ascoltare il brano.");
const QString kFileGone = QStringLiteral("MP3 ASSENTE|FILE cancellato o Spostato!!!");

} // namespace

class TestLoadStep : public QObject
{
    Q_OBJECT

private slots:
    void loadStep_data();
    void loadStep();
    void playerTimeText_data();
    void playerTimeText();
    void seekBarMaximum_data();
    void seekBarMaximum();
};

void TestLoadStep::loadStep_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("file");   // "mp3", "MP3" (the extension on disk) or "none"
    QTest::addColumn<QString>("player"); // "plays", "cannot" (length -1) or "none" (no audio)
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("tagWritable");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<bool>("playable");
    QTest::addColumn<bool>("marked");

    const QStringList none;
    QTest::newRow("OK, plays") << "OK"
                               << "L"
                               << "mp3"
                               << "plays" << none << true << true << true << false;
    QTest::newRow("OK, extension in upper case")
        << "OK"
        << "L"
        << "MP3"
        << "plays" << none << true << true << true << false;
    QTest::newRow("OK, no audio in the program")
        << "OK"
        << "L"
        << "mp3"
        << "none" << none << true << true << false << false;
    QTest::newRow("OK, cannot be decoded") << "OK"
                                           << "L"
                                           << "mp3"
                                           << "cannot" << none << false << true << false << true;
    QTest::newRow("OK, file gone")
        << "OK"
        << "L"
        << "none"
        << "plays" << QStringList{kFileGone} << false << false << false << true;
    QTest::newRow("OK, file gone, no audio")
        << "OK"
        << "L"
        << "none"
        << "none" << QStringList{kFileGone} << false << false << false << true;
    QTest::newRow("Nessun TAG ID3, plays") << "Nessun TAG ID3"
                                           << "L"
                                           << "mp3"
                                           << "plays" << none << true << true << true << false;
    QTest::newRow("Fissa, plays") << "Fissa"
                                  << "L"
                                  << "mp3"
                                  << "plays" << none << true << true << true << false;
    QTest::newRow("CDROM, disc in")
        << "CDROM"
        << "Rock CD"
        << "MP3"
        << "plays" << QStringList{kCdWarning} << false << true << true << false;
    QTest::newRow("CDROM, disc out")
        << "CDROM"
        << "Rock CD"
        << "none"
        << "plays" << QStringList{kCdWarning} << false << false << false << true;
    QTest::newRow("Solo Lettura, present") << "Solo Lettura"
                                           << "L"
                                           << "mp3"
                                           << "plays" << none << false << true << true << false;
    QTest::newRow("Solo Lettura, gone") << "Solo Lettura"
                                        << "L"
                                        << "none"
                                        << "plays" << none << false << false << false << true;
    QTest::newRow("File Corrotto!, present") << "File Corrotto!"
                                             << "L"
                                             << "mp3"
                                             << "plays" << none << false << false << false << true;
    QTest::newRow("Disco Rimovibile, present") << "Disco Rimovibile"
                                               << "My usb"
                                               << "mp3"
                                               << "plays" << none << true << true << true << false;
    QTest::newRow("Disco Rimovibile, medium out")
        << "Disco Rimovibile"
        << "My usb"
        << "none"
        << "plays" << QStringList{kRemovableWarning} << false << false << false << true;
    QTest::newRow("Disco Rimovibile, medium out, no label")
        << "Disco Rimovibile"
        << ""
        << "none"
        << "plays" << QStringList{kRemovableWarningNoLabel} << false << false << false << true;
    QTest::newRow("Disco Rimovibile, medium out, blank label")
        << "Disco Rimovibile"
        << " "
        << "none"
        << "none"
        << QStringList{QStringLiteral("|ATTENZIONE!\nIl supporto   non è inserito.Non puoi "
                                      "Salvare il TAG ed ascolgtare il brano.")}
        << false << false << false << true;
    QTest::newRow("state words compare exactly")
        << "cdrom"
        << "L"
        << "none"
        << "plays" << QStringList{kFileGone} << false << false << false << true;
}

void TestLoadStep::loadStep()
{
    QFETCH(QString, state);
    QFETCH(QString, label);
    QFETCH(QString, file);
    QFETCH(QString, player);
    QFETCH(QStringList, messages);
    QFETCH(bool, tagWritable);
    QFETCH(bool, reachable);
    QFETCH(bool, playable);
    QFETCH(bool, marked);

    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    if (file != QLatin1String("none"))
        QVERIFY(!writeMp3(dir.path(), QStringLiteral("Brano.") + file, mpegFrames(3)).isEmpty());
    CatalogueModel grid;
    GridRow other;
    other.fill(QStringLiteral("other"));
    GridRow row = {"Titolo", "Artista", "Album", "1999", "Rock", "Commento",
                   "Brano",  folder,    "1 KB",  state,  label,  "7"};
    grid.appendRow(other);
    grid.appendRow(row);

    ScriptedPlayer scripted;
    scripted.available = player != QLatin1String("none");
    scripted.lengthOfFiles = player == QLatin1String("plays") ? 4430570 : -1;
    FakeDialogs dialogs;

    const LoadOutcome outcome = runLoadStep(grid, 1, dialogs, scripted);

    QStringList shown;
    for (const FakeDialogs::Message &m : dialogs.messages) {
        QCOMPARE(m.kind, FakeDialogs::Kind::Information);
        shown << message(m.title, m.text);
    }
    QCOMPARE(shown, messages);
    QCOMPARE(outcome.tagWritable, tagWritable);
    QCOMPARE(outcome.reachable, reachable);
    QCOMPARE(outcome.playable, playable);
    QCOMPARE(outcome.markedCorrupt, marked);
    const QString expectedPath =
        folder + QStringLiteral("Brano.") + (file == QLatin1String("MP3") ? "MP3" : "mp3");
    QCOMPARE(outcome.filePath, expectedPath);
    // The player is always initialised first, and loads only a file that can be reached.
    const QStringList calls = reachable ? QStringList{"init", "open"} : QStringList{"init"};
    QCOMPARE(scripted.calls, calls);
    if (reachable)
        QCOMPARE(scripted.opened, expectedPath);
    // The mark goes into the grid row only, with the status text for the main window.
    QCOMPARE(grid.cell(1, State), marked ? QStringLiteral("File Corrotto!") : state);
    QCOMPARE(outcome.statusText,
             marked ? QStringLiteral("FILE CORROTTO o ERRORE NON PREVISTO!") : QString());
    QCOMPARE(grid.row(0), other);
}

void TestLoadStep::playerTimeText_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start") << 0.0 << "00:00";
    QTest::newRow("just under a second") << 0.99 << "00:00";
    QTest::newRow("2 minutes 5 seconds") << 125.4 << "02:05";
    QTest::newRow("65 minutes 3 seconds") << 3903.0 << "65:03";
    QTest::newRow("125 minutes") << 7500.0 << "125:00";
    QTest::newRow("one unit short of 3 seconds") << 2.99999 << "00:02";
}

void TestLoadStep::playerTimeText()
{
    QFETCH(double, seconds);
    QFETCH(QString, expected);
    // The first whole unit at or after the time: a unit count just below a whole second shows
    // the second before it.
    const auto units = static_cast<qint64>(std::ceil(seconds * Player::kUnitsPerSecond));
    QCOMPARE(::playerTimeText(units), expected);
}

void TestLoadStep::seekBarMaximum_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("exact") << qint64(1200) << qint64(12);
    QTest::newRow("below half") << qint64(1249) << qint64(12);
    QTest::newRow("above half") << qint64(1251) << qint64(13);
    QTest::newRow("half to even, down") << qint64(1250) << qint64(12);
    QTest::newRow("half to even, up") << qint64(1350) << qint64(14);
    QTest::newRow("zero") << qint64(0) << qint64(0);
}

void TestLoadStep::seekBarMaximum()
{
    QFETCH(qint64, length);
    QFETCH(qint64, expected);
    QCOMPARE(::seekBarMaximum(length), expected);
}

QTEST_GUILESS_MAIN(TestLoadStep)
#include "tst_loadstep.moc"
