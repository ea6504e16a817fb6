#include "platform/sdlaudiooutput.h"
#include "support/fakeaudiooutput.h"
#include "support/testaudio.h"
#include "support/testmp3.h"
#include "tag_editor/player.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// Written out here rather than taken from the program, so a changed unit shows.
constexpr double kUnitsPerSecond = 44305.7023255814;

qint64 unitsOf(qint64 frames, int rate = 44100)
{
    return std::llround(double(frames) * kUnitsPerSecond / rate);
}

qsizetype framesIn(const QList<float> &samples)
{
    return samples.size() / AudioOutput::kChannels;
}

// The descriptors this process holds on `path`.
int descriptorsOn(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    QDir fds(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString &fd : fds.entryList(QDir::Files | QDir::System))
        count += QFile::symLinkTarget(fds.filePath(fd)) == target ? 1 : 0;
    return count;
}

QByteArray lame(int frames, int rate, int channels, const char *mode, const char *value)
{
    return lameMp3(tonePcm(frames, rate, channels), rate, channels,
                   {QString::fromLatin1(mode), QString::fromLatin1(value)});
}

// 1.5 s of a tone at 44.1 kHz, constant bit rate: lame's header frame gives the exact length.
constexpr int kCbrFrames = 66150;
const QByteArray &cbrTrack()
{
    static const QByteArray bytes = lame(kCbrFrames, 44100, 2, "-b", "128");
    return bytes;
}

} // namespace

class TestPlayer : public QObject
{
    Q_OBJECT

    QString write(const QString &name, const QByteArray &bytes)
    {
        return writeMp3(m_dir->path(), name, bytes);
    }
    QString cbrFile() { return write(QStringLiteral("cbr.mp3"), cbrTrack()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeAudioOutput> m_output;
    std::unique_ptr<Player> m_player;

private slots:
    void initTestCase()
    {
        // The silent driver even where a sound card is present: tests must not make noise.
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY2(!cbrTrack().isEmpty(), "lame is needed to make the test files");
    }

    void init()
    {
        m_player.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_output = std::make_unique<FakeAudioOutput>();
        m_player = std::make_unique<Player>(*m_output);
        QVERIFY(m_player->init());
    }

    void playsItsLengthToTheEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("chunk"); // frames the device pulls at a time

        QTest::newRow("CBR with ID3v1 tag, tiny pulls")
            << cbrTrack() + tagBlock("Titolo", "Autore", "Album", "2001", "", 17)
            << qint64(kCbrFrames) << 44100 << 7;
        QTest::newRow("VBR at 48 kHz, one pull beyond the end")
            << lame(72000, 48000, 2, "-V", "4") << qint64(72000) << 48000 << 100000;
        // Without a header frame every frame's samples count, the decoder's delay included.
        QTest::newRow("header-less MPEG-2 22.05 kHz mono")
            << silentFrames(SilentFrameKind::Mpeg2Mono22k, 30) << qint64(30 * 576) << 22050 << 1024;
    }

    void playsItsLengthToTheEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, frames);
        QFETCH(int, rate);
        QFETCH(int, chunk);
        QVERIFY(m_player->openFile(write(QStringLiteral("brano.mp3"), bytes)));
        QCOMPARE(m_player->length(), unitsOf(frames, rate));
        // Played to its end, the file gives the frames its length counts, at the output's rate; the
        // end is reached exactly, once, and held there until the player is told to stop.
        m_player->play(Player::Repeat::Off);
        QCOMPARE(framesIn(m_output->render(200000, chunk)), frames * 44100 / rate);
        QCOMPARE(m_player->position(), m_player->length());
        QVERIFY(m_output->render(5000, chunk).isEmpty());
        QCOMPARE(m_player->state(), Player::State::Playing);
    }

    // Also after a playable file: the old one is let go and nothing plays.
    void undecodable()
    {
        const QString good = cbrFile();
        const QString folder = m_dir->filePath(QStringLiteral("folder.mp3"));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.mp3")));
        for (const QString &path : {write(QStringLiteral("empty.mp3"), {}), folder}) {
            QVERIFY(m_player->openFile(good));
            m_player->play(Player::Repeat::Off);
            QVERIFY(!m_output->render(1000).isEmpty());
            QVERIFY2(!m_player->openFile(path), qPrintable(path));
            QCOMPARE(m_player->length(), qint64(-1));
            QCOMPARE(m_player->state(), Player::State::NoFile);
            QCOMPARE(descriptorsOn(path) + descriptorsOn(good), 0);
            m_player->play(Player::Repeat::On);
            QVERIFY(m_output->isPaused());
        }
    }

    // PAUSE goes on where it stopped; STOP, or the end, and PLAY again start from the start.
    void interruptedAndPlayedAgain()
    {
        QVERIFY(m_player->openFile(cbrFile()));
        m_player->play(Player::Repeat::Off);
        const QList<float> whole = m_output->render(kCbrFrames);
        m_player->stop();
        m_player->play(Player::Repeat::Off);
        m_output->render(5000);
        m_player->pause();
        QVERIFY(m_output->render(5000).isEmpty());
        m_player->play(Player::Repeat::Off);
        QCOMPARE(m_output->render(1000), whole.mid(5000 * 2, 1000 * 2));
        m_output->render(kCbrFrames);
        m_player->play(Player::Repeat::Off);
        QCOMPARE(m_output->render(1000), whole.first(1000 * 2));
    }

    void seekLands_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<qint64>("frame");
        QTest::addColumn<bool>("ended"); // moved after the track had ended
        QTest::addColumn<bool>("seek");  // false: written only, applied by play

        // A frame is 44305.7023255814 / 44100 units: units round to the nearest frame.
        QTest::newRow("rounds up to a frame") << qint64(502) << qint64(500) << false << true;
        QTest::newRow("rounds down to a frame") << qint64(1005) << qint64(1000) << false << true;
        QTest::newRow("past the end") << qint64(10'000'000) << qint64(kCbrFrames) << false << true;
        QTest::newRow("after the end") << qint64(33229) << qint64(33075) << true << true;
        QTest::newRow("written without seek applies on play")
            << qint64(33229) << qint64(33075) << false << false;
    }

    void seekLands()
    {
        QFETCH(qint64, units);
        QFETCH(qint64, frame);
        QFETCH(bool, ended);
        QFETCH(bool, seek);
        QVERIFY(m_player->openFile(cbrFile()));
        m_player->play(Player::Repeat::Off);
        const QList<float> whole = m_output->render(kCbrFrames);
        if (!ended) {
            m_player->stop();
            if (seek)
                m_player->play(Player::Repeat::Off);
        }
        m_player->setPosition(units);
        if (seek)
            m_player->seek();
        else
            m_player->play(Player::Repeat::Off);
        QCOMPARE(m_player->position(), unitsOf(frame));
        const QList<float> after = m_output->render(2000);
        QCOMPARE(framesIn(after), std::min<qint64>(2000, kCbrFrames - frame));
        QCOMPARE(after, whole.mid(frame * 2, after.size()));
    }

    void volume()
    {
        QVERIFY(m_player->openFile(cbrFile()));
        m_player->play(Player::Repeat::Off);
        const QList<float> full = m_output->render(8000);
        m_player->stop();
        m_player->play(Player::Repeat::Off);
        m_output->render(4000);
        // Changed while playing: it applies from the next samples on, and is kept for the next
        // file.
        m_player->setVolume(37);
        const QList<float> after = m_output->render(4000);
        for (qsizetype i = 0; i < after.size(); ++i)
            QVERIFY(qAbs(after[i] - full[8000 + i] * 37 / 100) < 1e-6f);
        QVERIFY(m_player->openFile(write(QStringLiteral("other.mp3"), mpegFrames(5))));
        QCOMPARE(m_player->volume(), 37);
        m_player->setVolume(150);
        QCOMPARE(m_player->volume(), 100);
        m_player->setVolume(-5);
        QCOMPARE(m_player->volume(), 0);
    }

    void formatChangeEndsTheTrack()
    {
        // 44.1 kHz frames followed by 48 kHz ones: the track ends where the rate changes, and the
        // position still reaches the length, which counts both parts.
        const QByteArray bytes = mpegFrames(20) + silentFrames(SilentFrameKind::Mpeg1Stereo48k, 20);
        QVERIFY(m_player->openFile(write(QStringLiteral("mixed.mp3"), bytes)));
        m_player->play(Player::Repeat::Off);
        QCOMPARE(framesIn(m_output->render(100000)), 20 * 1152);
        QCOMPARE(m_player->position(), m_player->length());
    }

    void shrunkFileEndsTheTrack()
    {
        const QString path = cbrFile();
        QVERIFY(m_player->openFile(path));
        const qint64 length = m_player->length();
        QVERIFY(QFile::resize(path, cbrTrack().size() / 3));
        m_player->play(Player::Repeat::Off);
        const qsizetype played = framesIn(m_output->render(200000));
        QVERIFY(played > 0 && played < kCbrFrames / 2);
        QCOMPARE(m_player->position(), length);
        // Opened so, the header frame still promises 1.5 s: the length counts the frames that are
        // there, and playing gives exactly those.
        QVERIFY(m_player->openFile(path));
        m_player->play(Player::Repeat::Off);
        QCOMPARE(unitsOf(framesIn(m_output->render(200000))), m_player->length());
    }

    void otherRatesAreResampled()
    {
        // The 440 Hz tone, mono at 22.05 kHz: still 440 Hz, the same samples on both channels.
        QVERIFY(m_player->openFile(
            write(QStringLiteral("brano.mp3"), lame(22050 * 3 / 2, 22050, 1, "-V", "2"))));
        m_player->play(Player::Repeat::Off);
        const QList<float> played = m_output->render(200000);
        int crossings = 0; // rising zero crossings of the left channel in one second
        for (qsizetype i = 44100 / 2 + 2; i < 44100 / 2 + 44100 * 2; i += 2)
            crossings += played[i - 2] < 0.0f && played[i] >= 0.0f ? 1 : 0;
        QVERIFY2(qAbs(crossings - 440) < 3, qPrintable(QString::number(crossings)));
        for (qsizetype i = 0; i < played.size(); i += 2)
            QCOMPARE(played[i], played[i + 1]);
    }

    // Closing is also what opening another file does (undecodable); here the destructor.
    void destructionReleasesFileAndOutput()
    {
        const QString path = cbrFile();
        QVERIFY(m_player->openFile(path));
        m_player->play(Player::Repeat::Off);
        m_output->render(1000);
        m_player.reset();
        QCOMPARE(descriptorsOn(path), 0);
        QVERIFY(m_output->isPaused() && !m_output->source());
        // A player going away leaves a newer player's source alone.
        Player newer(*m_output);
        QVERIFY(newer.openFile(path));
        {
            Player older(*m_output);
        }
        QVERIFY(m_output->source());
    }

    void initWithoutDevice()
    {
        FakeAudioOutput output;
        output.setOpenFails(true);
        Player player(output);
        QVERIFY(!player.init());
        QVERIFY(!player.init());
        QCOMPARE(output.openCalls(), 2);
        QVERIFY(player.openFile(cbrFile()));
        QCOMPARE(player.length(), unitsOf(kCbrFrames));
    }

    void controlledWhilePlayingOnTheSilentDevice()
    {
        // Every control while the audio thread decodes, for the ThreadSanitizer build; round the
        // end with repeat on, through the resampler (48 kHz) and at the output's own rate.
        SdlAudioOutput output;
        Player player(output);
        QVERIFY(player.init());
        QVERIFY(player.openFile(
            write(QStringLiteral("a.mp3"), silentFrames(SilentFrameKind::Mpeg1Stereo48k, 20))));
        const qint64 length = player.length();
        player.play(Player::Repeat::On);
        QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, 10000);
        player.setVolume(37);
        player.setPosition(length * 3 / 4);
        player.seek();
        QTRY_VERIFY_WITH_TIMEOUT(player.position() < length / 4, 10000);
        player.pause();
        player.play(Player::Repeat::Off);
        QTRY_COMPARE_WITH_TIMEOUT(player.position(), length, 10000);
        // Another file while playing: the old one goes, the new one plays.
        player.play(Player::Repeat::Off);
        QVERIFY(player.openFile(write(QStringLiteral("b.mp3"), mpegFrames(10))));
        player.play(Player::Repeat::Off);
        QTRY_COMPARE_WITH_TIMEOUT(player.position(), player.length(), 10000);
        player.stop();
        QCOMPARE(player.position(), qint64(0));
    }
};

QTEST_GUILESS_MAIN(TestPlayer)
#include "tst_player.moc"
