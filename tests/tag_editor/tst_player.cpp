#include "platform/sdlaudiooutput.h"
#include "support/fakeaudiooutput.h"
#include "support/testaudio.h"
#include "support/testmp3.h"
#include "tag_editor/player.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
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

bool allSilent(const QList<float> &samples)
{
    return std::all_of(samples.cbegin(), samples.cend(), [](float s) { return s == 0.0f; });
}

// Frequency of the tone in `samples` (output frames at 44.1 kHz), from its rising zero crossings.
double toneFrequency(const QList<float> &samples)
{
    int crossings = 0;
    for (qsizetype i = 2; i < samples.size(); i += 2) {
        if (samples[i - 2] < 0.0f && samples[i] >= 0.0f)
            ++crossings;
    }
    return crossings / (double(framesIn(samples)) / 44100);
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

QByteArray lame(int frames, int rate, int channels, const char *mode, const char *value,
                int silentFrames = 0)
{
    return lameMp3(tonePcm(frames, rate, channels, silentFrames), rate, channels,
                   {QString::fromLatin1(mode), QString::fromLatin1(value)});
}

// 1.5 s of a tone at 44.1 kHz, constant bit rate: lame's header frame gives the exact length.
constexpr int kCbrFrames = 66150;
const QByteArray &cbrTrack()
{
    static const QByteArray bytes = lame(kCbrFrames, 44100, 2, "-b", "128");
    return bytes;
}

// 1 s at 44.1 kHz: silence for the first half, then the tone.
constexpr int kHalfSilentFrames = 44100;
const QByteArray &halfSilentTrack()
{
    static const QByteArray bytes =
        lame(kHalfSilentFrames, 44100, 2, "-b", "128", kHalfSilentFrames / 2);
    return bytes;
}

} // namespace

class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void playsItsLengthToTheEnd_data();
    void playsItsLengthToTheEnd();
    void undecodable_data();
    void undecodable();

    void repeatSwitchedOnWhilePlaying();
    void interruptedAndPlayedAgain_data();
    void interruptedAndPlayedAgain();
    void seekLands_data();
    void seekLands();
    void volume_data();
    void volume();
    void formatChangeEndsTheTrack();
    void shrunkFileEndsTheTrack();
    void otherRatesAreResampled_data();
    void otherRatesAreResampled();

    void closeAndDestructionReleaseFileAndOutput();
    void initWithoutDevice();
    void controlledWhilePlayingOnTheSilentDevice();

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        return writeMp3(m_dir->path(), name, bytes);
    }
    QString cbrFile() { return write(QStringLiteral("cbr.mp3"), cbrTrack()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeAudioOutput> m_output;
    std::unique_ptr<Player> m_player;
};

void TestPlayer::initTestCase()
{
    // The silent driver even where a sound card is present: tests must not make noise.
    qputenv("SDL_AUDIODRIVER", "dummy");
    QVERIFY2(!cbrTrack().isEmpty(), "lame is needed to make the test files");
    QVERIFY(!halfSilentTrack().isEmpty());
}

void TestPlayer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_player.reset();
    m_output = std::make_unique<FakeAudioOutput>();
    m_player = std::make_unique<Player>(*m_output);
    QVERIFY(m_player->init());
}

void TestPlayer::playsItsLengthToTheEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("chunk"); // frames the device pulls at a time

    const QByteArray tag = tagBlock("Titolo", "Autore", "Album", "2001", "", 17);
    QTest::newRow("CBR with header frame") << cbrTrack() << qint64(kCbrFrames) << 44100 << 2048;
    QTest::newRow("CBR with ID3v1 tag, tiny pulls")
        << cbrTrack() + tag << qint64(kCbrFrames) << 44100 << 7;
    QTest::newRow("VBR, one pull beyond the end")
        << lame(kCbrFrames, 44100, 2, "-V", "4") << qint64(kCbrFrames) << 44100 << 100000;
    QTest::newRow("VBR at 48 kHz")
        << lame(72000, 48000, 2, "-V", "4") << qint64(72000) << 48000 << 1024;
    // Without a header frame every frame's 1152 samples count, the decoder's delay included.
    QTest::newRow("header-less 44.1 kHz with tag")
        << mpegFrames(40) + tag << qint64(40 * 1152) << 44100 << 1000;
    QTest::newRow("header-less MPEG-2 22.05 kHz mono")
        << silentFrames(SilentFrameKind::Mpeg2Mono22k, 30) << qint64(30 * 576) << 22050 << 1024;
}

void TestPlayer::playsItsLengthToTheEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, frames);
    QFETCH(int, rate);
    QFETCH(int, chunk);
    QVERIFY(!bytes.isEmpty());
    QVERIFY(m_player->openFile(write(QStringLiteral("brano.mp3"), bytes)));
    QCOMPARE(m_player->length(), unitsOf(frames, rate));
    QCOMPARE(m_player->position(), qint64(0));
    QCOMPARE(m_player->state(), Player::State::Stopped);

    // Played to its end, the file gives the frames its length counts, at the output's rate.
    m_player->play(Player::Repeat::Off);
    QCOMPARE(framesIn(m_output->render(200000, chunk)), frames * 44100 / rate);
    // The end is reached exactly, once, and held there until the player is told to stop.
    QCOMPARE(m_player->position(), m_player->length());
    QCOMPARE(m_player->state(), Player::State::Playing);
    QVERIFY(m_output->render(5000, chunk).isEmpty());
    QCOMPARE(m_player->position(), m_player->length());
}

void TestPlayer::undecodable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("folder");

    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator random(20240607);
    random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("ID3v1 tag only") << tagBlock("Titolo", "", "", "", "", 0) << false;
    QTest::newRow("random bytes") << noise << false;
    QTest::newRow("WAV named .mp3") << wavFile(tonePcm(44100, 44100, 2)) << false;
    QTest::newRow("a single frame header") << mpegFrames(1).left(4) << false;
    QTest::newRow("a folder named .mp3") << QByteArray() << true;
}

// Also after a playable file: the old one is let go and nothing plays.
void TestPlayer::undecodable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, folder);
    const QString good = cbrFile();
    QVERIFY(m_player->openFile(good));
    m_player->play(Player::Repeat::Off);
    QVERIFY(!m_output->render(1000).isEmpty());

    QString path = m_dir->filePath(QStringLiteral("brano.mp3"));
    if (folder)
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("brano.mp3")));
    else
        path = write(QStringLiteral("brano.mp3"), bytes);
    QVERIFY(!m_player->openFile(path));
    QCOMPARE(m_player->length(), qint64(-1));
    QCOMPARE(m_player->state(), Player::State::NoFile);
    QCOMPARE(descriptorsOn(path), 0);
    QCOMPARE(descriptorsOn(good), 0);
    QVERIFY(m_output->isPaused());

    m_player->play(Player::Repeat::On);
    QVERIFY(m_output->isPaused());
    m_player->setPosition(1000);
    m_player->seek();
    QCOMPARE(m_player->position(), qint64(0));
}

void TestPlayer::repeatSwitchedOnWhilePlaying()
{
    QVERIFY(m_player->openFile(cbrFile()));
    m_player->play(Player::Repeat::Off);
    const QList<float> first = m_output->render(20000);
    m_player->play(Player::Repeat::On);
    QCOMPARE(m_player->position(), unitsOf(20000));
    // Round the end and on to the same point; the second round starts with the first samples.
    const QList<float> round = m_output->render(kCbrFrames);
    QCOMPARE(framesIn(round), kCbrFrames);
    QCOMPARE(m_player->position(), unitsOf(20000));
    QCOMPARE(round.mid((kCbrFrames - 20000) * 2), first);

    m_player->play(Player::Repeat::Off);
    QCOMPARE(framesIn(m_output->render(kCbrFrames)), kCbrFrames - 20000);
    QCOMPARE(m_player->position(), m_player->length());
}

void TestPlayer::interruptedAndPlayedAgain_data()
{
    QTest::addColumn<bool>("paused"); // else played to its end
    QTest::newRow("pause goes on where it stopped") << true;
    QTest::newRow("after the end from the start") << false;
}

// STOP and PLAY again start from the first samples; so does PLAY after the end.
void TestPlayer::interruptedAndPlayedAgain()
{
    QFETCH(bool, paused);
    QVERIFY(m_player->openFile(cbrFile()));
    m_player->play(Player::Repeat::Off);
    const QList<float> whole = m_output->render(kCbrFrames);
    m_player->stop();
    m_player->play(Player::Repeat::Off);
    QCOMPARE(m_output->render(5000), whole.first(5000 * 2));
    if (paused) {
        m_player->pause();
        QCOMPARE(m_player->state(), Player::State::Paused);
        QVERIFY(m_output->isPaused());
        QVERIFY(m_output->render(5000).isEmpty());
    } else {
        m_output->render(kCbrFrames);
    }
    m_player->play(Player::Repeat::Off);
    const qint64 from = paused ? 5000 : 0;
    QCOMPARE(m_output->render(1000), whole.mid(from * 2, 1000 * 2));
    QCOMPARE(m_player->position(), unitsOf(from + 1000));
}

void TestPlayer::seekLands_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<qint64>("frame");
    QTest::addColumn<bool>("ended"); // moved after the track had ended
    QTest::addColumn<bool>("seek");  // false: written only, applied by play

    // A frame is 44305.7023255814 / 44100 units: units round to the nearest frame.
    QTest::newRow("rounds down to a frame") << qint64(1004) << qint64(999) << false << true;
    QTest::newRow("rounds up to a frame") << qint64(1005) << qint64(1000) << false << true;
    QTest::newRow("past the end") << qint64(10'000'000) << qint64(kHalfSilentFrames) << false
                                  << true;
    QTest::newRow("negative") << qint64(-500) << qint64(0) << false << true;
    QTest::newRow("after the end") << qint64(33229) << qint64(33075) << true << true;
    QTest::newRow("written without seek applies on play")
        << qint64(33229) << qint64(33075) << false << false;
}

void TestPlayer::seekLands()
{
    QFETCH(qint64, units);
    QFETCH(qint64, frame);
    QFETCH(bool, ended);
    QFETCH(bool, seek);
    QVERIFY(m_player->openFile(write(QStringLiteral("half.mp3"), halfSilentTrack())));
    m_player->play(Player::Repeat::Off);
    const QList<float> whole = m_output->render(kHalfSilentFrames);
    QCOMPARE(framesIn(whole), kHalfSilentFrames);
    QVERIFY(allSilent(whole.first(kHalfSilentFrames / 4 * 2)));
    QVERIFY(!allSilent(whole.last(kHalfSilentFrames / 4 * 2)));
    if (!ended) {
        m_player->stop();
        if (seek)
            m_player->play(Player::Repeat::Off);
    }

    m_player->setPosition(units);
    QCOMPARE(m_player->position(), unitsOf(frame));
    if (seek)
        m_player->seek();
    else
        m_player->play(Player::Repeat::Off);
    QCOMPARE(m_player->position(), unitsOf(frame));
    const QList<float> after = m_output->render(2000);
    QCOMPARE(framesIn(after), std::min<qint64>(2000, kHalfSilentFrames - frame));
    QCOMPARE(after, whole.mid(frame * 2, after.size()));
    QCOMPARE(m_player->position(), unitsOf(frame + framesIn(after)));
}

void TestPlayer::volume_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("percent");
    QTest::newRow("37") << 37 << 37;
    QTest::newRow("above 100") << 150 << 100;
    QTest::newRow("below 0") << -5 << 0;
}

void TestPlayer::volume()
{
    QFETCH(int, set);
    QFETCH(int, percent);
    QCOMPARE(m_player->volume(), 100);
    QVERIFY(m_player->openFile(cbrFile()));
    m_player->play(Player::Repeat::Off);
    const QList<float> full = m_output->render(8000);
    m_player->stop();
    m_player->play(Player::Repeat::Off);
    QCOMPARE(m_output->render(4000), full.first(8000));
    // Changed while playing: it applies from the next samples on.
    m_player->setVolume(set);
    QCOMPARE(m_player->volume(), percent);
    const QList<float> after = m_output->render(4000);
    const QList<float> fullAfter = full.mid(8000);
    QCOMPARE(after.size(), fullAfter.size());
    for (qsizetype i = 0; i < after.size(); ++i)
        QVERIFY(qAbs(after[i] - fullAfter[i] * percent / 100) < 1e-6f);
    QCOMPARE(allSilent(after), percent == 0);

    // Kept from file to file.
    QVERIFY(m_player->openFile(write(QStringLiteral("other.mp3"), mpegFrames(5))));
    QCOMPARE(m_player->volume(), percent);
}

void TestPlayer::formatChangeEndsTheTrack()
{
    // 44.1 kHz frames followed by 48 kHz ones: the track ends where the rate changes, and the
    // position still reaches the length, which counts both parts.
    const QByteArray bytes = mpegFrames(20) + silentFrames(SilentFrameKind::Mpeg1Stereo48k, 20);
    QVERIFY(m_player->openFile(write(QStringLiteral("mixed.mp3"), bytes)));
    QVERIFY(m_player->length() > unitsOf(20 * 1152));
    m_player->play(Player::Repeat::Off);
    QCOMPARE(framesIn(m_output->render(100000)), 20 * 1152);
    QCOMPARE(m_player->position(), m_player->length());
}

void TestPlayer::shrunkFileEndsTheTrack()
{
    const QString path = cbrFile();
    QVERIFY(m_player->openFile(path));
    const qint64 length = m_player->length();
    QVERIFY(QFile::resize(path, cbrTrack().size() / 3));
    m_player->play(Player::Repeat::Off);
    const qsizetype played = framesIn(m_output->render(200000));
    QVERIFY(played > 0 && played < kCbrFrames / 2);
    QCOMPARE(m_player->length(), length);
    QCOMPARE(m_player->position(), length);
    // Opened so, the header frame still promises 1.5 s: the length counts the frames that are
    // there, and playing gives exactly those.
    QVERIFY(m_player->openFile(path));
    QVERIFY(m_player->length() < unitsOf(kCbrFrames / 2));
    m_player->play(Player::Repeat::Off);
    QCOMPARE(unitsOf(framesIn(m_output->render(200000))), m_player->length());
}

void TestPlayer::otherRatesAreResampled_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::newRow("48 kHz") << 48000 << 2;
    QTest::newRow("22.05 kHz mono") << 22050 << 1;
}

void TestPlayer::otherRatesAreResampled()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    // A second and a half of the 440 Hz tone: still 440 Hz and still a second and a half at
    // the output's rate, and the position still counts the file's own frames.
    QVERIFY(m_player->openFile(
        write(QStringLiteral("brano.mp3"), lame(rate * 3 / 2, rate, channels, "-V", "2"))));
    m_player->play(Player::Repeat::Off);
    const QList<float> first = m_output->render(44100 / 2);
    QCOMPARE(framesIn(first), 44100 / 2);
    const qint64 halfSecond = m_player->position();
    QVERIFY2(qAbs(halfSecond - unitsOf(44100 / 2)) < 500, qPrintable(QString::number(halfSecond)));
    const QList<float> played = first + m_output->render(200000);
    QCOMPARE(m_player->position(), m_player->length());
    const qint64 seconds = framesIn(played) * 1000 / 44100;
    QVERIFY2(seconds >= 1400 && seconds <= 1600, qPrintable(QString::number(seconds)));
    const double frequency = toneFrequency(played.mid(44100 / 4 * 2, 44100 * 2));
    QVERIFY2(qAbs(frequency - 440) < 3, qPrintable(QString::number(frequency)));
    // A mono file plays the same samples on both channels.
    for (qsizetype i = 0; channels == 1 && i < played.size(); i += 2)
        QCOMPARE(played[i], played[i + 1]);
}

void TestPlayer::closeAndDestructionReleaseFileAndOutput()
{
    const QString path = cbrFile();
    QVERIFY(m_player->openFile(path));
    QCOMPARE(descriptorsOn(path), 1);
    m_player->play(Player::Repeat::Off);
    m_output->render(1000);
    m_player->closeFile();
    QCOMPARE(descriptorsOn(path), 0);
    QCOMPARE(m_player->length(), qint64(-1));
    QCOMPARE(m_player->state(), Player::State::NoFile);
    QVERIFY(m_output->isPaused());
    QVERIFY(!m_output->source());

    QVERIFY(m_player->openFile(path));
    m_player->play(Player::Repeat::Off);
    m_output->render(1000);
    m_player.reset();
    QCOMPARE(descriptorsOn(path), 0);
    QVERIFY(!m_output->source());
    QVERIFY(m_output->isPaused());

    // A player going away leaves a newer player's source alone.
    Player newer(*m_output);
    QVERIFY(newer.openFile(path));
    {
        Player older(*m_output);
    }
    QVERIFY(m_output->source());
}

void TestPlayer::initWithoutDevice()
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

void TestPlayer::controlledWhilePlayingOnTheSilentDevice()
{
    // Every control while the audio thread decodes: the ThreadSanitizer build watches this. It
    // also goes round the end with repeat on, and plays a resampled file and one at the output's
    // rate to their ends.
    SdlAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    QCOMPARE(output.driverName(), QStringLiteral("dummy"));
    // At 48 kHz, so the resampler's buffers are in play too.
    QVERIFY(player.openFile(
        write(QStringLiteral("a.mp3"), silentFrames(SilentFrameKind::Mpeg1Stereo48k, 20))));
    const qint64 length = player.length();
    player.play(Player::Repeat::On);
    QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, 10000);
    player.setVolume(37);

    player.setPosition(length * 3 / 4);
    player.seek();
    QVERIFY(player.position() >= length * 3 / 4);
    QTRY_VERIFY_WITH_TIMEOUT(player.position() < length / 4, 10000);

    player.pause();
    const qint64 held = player.position();
    player.play(Player::Repeat::Off);
    QTRY_VERIFY_WITH_TIMEOUT(player.position() != held, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(player.position(), length, 10000);

    // Another file while playing: the old one goes, the new one plays.
    player.play(Player::Repeat::Off);
    QVERIFY(player.openFile(write(QStringLiteral("b.mp3"), mpegFrames(10))));
    QCOMPARE(player.state(), Player::State::Stopped);
    player.play(Player::Repeat::Off);
    QTRY_COMPARE_WITH_TIMEOUT(player.position(), player.length(), 10000);
    player.stop();
    QCOMPARE(player.position(), qint64(0));
    player.closeFile();
}

QTEST_GUILESS_MAIN(TestPlayer)
#include "tst_player.moc"
