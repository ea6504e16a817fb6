#include "grid/cataloguemodel.h"
#include "support/fakedialogs.h"
#include "support/testmp3.h"
#include "tag_editor/loadstep.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCdWarning = QStringLiteral("|ATTENZIONE!\nIl supporto CDROM con Etichetta: ROCK CD "
                                          "non è inserito.Non puoi ascolgtare il brano.");
const QString kRemovableWarning =
    QStringLiteral("|ATTENZIONE!\nIl supporto MY USB non è inserito.Non puoi Salvare il TAG ed "
                   "ascolgtare il brano.");
const QString kFileGone = QStringLiteral("MP3 ASSENTE|FILE cancellato o Spostato!!!");

} // namespace

class TestLoadStep : public QObject
{
    Q_OBJECT

private slots:
    void loadStep_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("file");   // "mp3", "MP3" (the extension on disk) or "none"
        QTest::addColumn<QString>("player"); // "plays", "cannot" (length -1) or "none" (no audio)
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("outcome"); // W tag writable, R reachable, P playable, M marked

        const auto row = [](const char *name, const char *state, const char *label,
                            const char *file, const char *player, const QString &message,
                            const char *outcome) {
            QTest::newRow(name) << QString::fromUtf8(state) << QString::fromUtf8(label)
                                << QString::fromLatin1(file) << QString::fromLatin1(player)
                                << (message.isEmpty() ? QStringList() : QStringList{message})
                                << QString::fromLatin1(outcome);
        };
        const QString none;
        row("OK, extension in upper case", "OK", "L", "MP3", "plays", none, "WRP-");
        row("OK, no audio in the program", "OK", "L", "mp3", "none", none, "WR--");
        row("OK, cannot be decoded", "OK", "L", "mp3", "cannot", none, "-R-M");
        row("OK, file gone", "OK", "L", "none", "plays", kFileGone, "---M");
        row("CDROM, disc in", "CDROM", "Rock CD", "MP3", "plays", kCdWarning, "-RP-");
        row("Solo Lettura, present", "Solo Lettura", "L", "mp3", "plays", none, "-RP-");
        row("Solo Lettura, gone", "Solo Lettura", "L", "none", "plays", none, "---M");
        row("File Corrotto!, present", "File Corrotto!", "L", "mp3", "plays", none, "---M");
        row("Disco Rimovibile, present", "Disco Rimovibile", "My usb", "mp3", "plays", none,
            "WRP-");
        row("Disco Rimovibile, medium out", "Disco Rimovibile", "My usb", "none", "plays",
            kRemovableWarning, "---M");
        row("state words compare exactly", "cdrom", "L", "none", "plays", kFileGone, "---M");
    }

    void loadStep()
    {
        QFETCH(QString, state);
        QFETCH(QString, label);
        QFETCH(QString, file);
        QFETCH(QString, player);
        QFETCH(QStringList, messages);
        QFETCH(QString, outcome);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        if (file != QLatin1String("none"))
            QVERIFY(
                !writeMp3(dir.path(), QStringLiteral("Brano.") + file, mpegFrames(3)).isEmpty());
        CatalogueRecord record{7,         u"Titolo"_s,   u"Artista"_s, u"Album"_s, u"1999"_s,
                               u"Rock"_s, u"Commento"_s, u"Brano"_s,   folder,     u"1 KB"_s,
                               state,     label,         u"-1"_s};
        GridRows rows;
        rows.append(record);
        CatalogueModel grid;
        grid.setRows(std::move(rows));

        // The player at the audio seam: it plays any file or none, or the program has no audio.
        QStringList calls;
        LoadIntoPlayer loadIntoPlayer;
        if (player != QLatin1String("none")) {
            loadIntoPlayer = [&](const QString &path, FileAccess access) {
                calls << (access == FileAccess::Reachable ? u"load "_s : u"grey "_s) + path;
                return access == FileAccess::Reachable && player == QLatin1String("plays");
            };
        }
        FakeDialogs dialogs;
        const LoadOutcome result = runLoadStep(grid, 0, dialogs, loadIntoPlayer);

        QStringList shown;
        for (const FakeDialogs::Message &m : dialogs.messages)
            shown << m.title + u'|' + m.text;
        QCOMPARE(shown, messages);
        QCOMPARE(QString(QChar(result.tagWritable ? u'W' : u'-')) +
                     (result.reachable ? u'R' : u'-') + (result.playable ? u'P' : u'-') +
                     (result.markedCorrupt ? u'M' : u'-'),
                 outcome);
        const QString path = folder + u"Brano."_s + (file == QLatin1String("MP3") ? "MP3" : "mp3");
        QCOMPARE(result.filePath, path);
        // The player is told about the file once, after the messages, and loads it only when the
        // file can be reached.
        const QString call = (result.reachable ? u"load "_s : u"grey "_s) + path;
        QCOMPARE(calls, player == QLatin1String("none") ? QStringList() : QStringList{call});
        // The mark goes into the grid row only, with the status text for the main window.
        QCOMPARE(grid.cell(0, State), result.markedCorrupt ? u"File Corrotto!"_s : state);
        QCOMPARE(result.statusText,
                 result.markedCorrupt ? u"FILE CORROTTO o ERRORE NON PREVISTO!"_s : QString());
    }
};

QTEST_GUILESS_MAIN(TestLoadStep)
#include "tst_loadstep.moc"
