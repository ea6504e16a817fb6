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

qint64 unitsOf(qint64 frames, int rate)
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

// Names under /proc/self/fd that point at `path`: the descriptors this process holds on it.
int descriptorsOn(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    QDir fds(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString &fd : fds.entryList(QDir::Files | QDir::System)) {
        if (QFile::symLinkTarget(fds.filePath(fd)) == target)
            ++count;
    }
    return count;
}

// 1.5 s of a tone at 44.1 kHz, constant bit rate: lame's header frame gives the exact length.
constexpr int kCbrFrames = 66150;
const QByteArray &cbrTrack()
{
    static const QByteArray bytes = lameMp3(tonePcm(kCbrFrames, 44100, 2), 44100, 2,
                                            {QStringLiteral("-b"), QStringLiteral("128")});
    return bytes;
}

// 1 s at 44.1 kHz: silence for the first half, then the tone.
constexpr int kHalfSilentFrames = 44100;
const QByteArray &halfSilentTrack()
{
    static const QByteArray bytes =
        lameMp3(tonePcm(kHalfSilentFrames, 44100, 2, kHalfSilentFrames / 2), 44100, 2,
                {QStringLiteral("-b"), QStringLiteral("128")});
    return bytes;
}

// Opens the device and then `path`, as the editor does.
bool open(Player &player, const QString &path)
{
    return player.init() && player.openFile(path);
}

} // namespace

class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void length_data();
    void length();
    void lengthCountsWhatIsThere();
    void undecodable_data();
    void undecodable();
    void undecodableAfterPlayable();

    void playsToTheEnd_data();
    void playsToTheEnd();
    void positionFollowsPlayedFrames();
    void repeatStartsAgain();
    void repeatSwitchedOnWhilePlaying();
    void pauseHoldsPosition();
    void playStartsAgain_data();
    void playStartsAgain();
    void seekLands_data();
    void seekLands();
    void seekAfterTheEnd();
    void positionWrittenWithoutSeekAppliesOnPlay();
    void volume_data();
    void volume();
    void volumeIsKeptFromFileToFile();
    void monoPlaysOnBothChannels();
    void formatChangeEndsTheTrack();
    void shrunkFileEndsTheTrack();
    void otherRatesAreResampled_data();
    void otherRatesAreResampled();

    void closeFileReleasesTheFile();
    void destructionReleasesTheOutput();
    void initWithoutDevice();

    void controlledWhilePlayingOnTheSilentDevice();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QString cbrFile() { return write(QStringLiteral("cbr.mp3"), cbrTrack()); }

    std::unique_ptr<QTemporaryDir> m_dir;
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
}

QString TestPlayer::write(const QString &name, const QByteArray &bytes)
{
    return writeMp3(m_dir->path(), name, bytes);
}

void TestPlayer::length_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<int>("rate");

    const QStringList cbr{QStringLiteral("-b"), QStringLiteral("128")};
    const QStringList vbr{QStringLiteral("-V"), QStringLiteral("4")};
    const QByteArray tag = tagBlock("Titolo", "Autore", "Album", "2001", "", 17);

    QTest::newRow("CBR with header frame") << cbrTrack() << qint64(kCbrFrames) << 44100;
    QTest::newRow("CBR with ID3v1 tag") << cbrTrack() + tag << qint64(kCbrFrames) << 44100;
    QTest::newRow("VBR") << lameMp3(tonePcm(kCbrFrames, 44100, 2), 44100, 2, vbr)
                         << qint64(kCbrFrames) << 44100;
    QTest::newRow("VBR at 48 kHz")
        << lameMp3(tonePcm(72000, 48000, 2), 48000, 2, vbr) << qint64(72000) << 48000;
    QTest::newRow("mono") << lameMp3(tonePcm(30000, 44100, 1), 44100, 1, cbr) << qint64(30000)
                          << 44100;
    // Without a header frame every frame's 1152 samples count, the decoder's delay included.
    QTest::newRow("header-less 44.1 kHz") << mpegFrames(40) << qint64(40 * 1152) << 44100;
    QTest::newRow("header-less 44.1 kHz with tag")
        << mpegFrames(40) + tag << qint64(40 * 1152) << 44100;
    QTest::newRow("header-less 48 kHz")
        << silentFrames(SilentFrameKind::Mpeg1Stereo48k, 30) << qint64(30 * 1152) << 48000;
    QTest::newRow("header-less MPEG-2 22.05 kHz mono")
        << silentFrames(SilentFrameKind::Mpeg2Mono22k, 30) << qint64(30 * 576) << 22050;
    QTest::newRow("two frames") << mpegFrames(2) << qint64(2 * 1152) << 44100;
}

void TestPlayer::length()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, frames);
    QFETCH(int, rate);
    QVERIFY(!bytes.isEmpty());

    FakeAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    const QString path = write(QStringLiteral("brano.mp3"), bytes);
    QVERIFY(player.openFile(path));
    QCOMPARE(player.length(), unitsOf(frames, rate));
    QCOMPARE(player.position(), qint64(0));
    QCOMPARE(player.state(), Player::State::Stopped);

    // Played to its end, the file gives the frames its length counts, at the output's rate.
    player.play(Player::Repeat::Off);
    const QList<float> played = output.render(200000);
    QCOMPARE(framesIn(played), frames * 44100 / rate);
    QCOMPARE(player.position(), player.length());
}

void TestPlayer::lengthCountsWhatIsThere()
{
    // The header frame promises 1.5 s; the file holds about half of it. The full scan counts the
    // frames that are there, and playing gives exactly those.
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    QVERIFY(
        player.openFile(write(QStringLiteral("cut.mp3"), cbrTrack().left(cbrTrack().size() / 2))));
    QVERIFY(player.length() > unitsOf(kCbrFrames / 3, 44100));
    QVERIFY(player.length() < unitsOf(kCbrFrames * 2 / 3, 44100));
    player.play(Player::Repeat::Off);
    QCOMPARE(unitsOf(framesIn(output.render(200000)), 44100), player.length());
}

void TestPlayer::undecodable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("folder");

    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator random(20240607);
    random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QByteArray text;
    for (int i = 0; i < 200; ++i)
        text += "Questo non \xC3\xA8 un file MP3, solo una riga di testo.\n";

    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("ID3v1 tag only") << tagBlock("Titolo", "", "", "", "", 0) << false;
    QTest::newRow("text") << text << false;
    QTest::newRow("random bytes") << noise << false;
    QTest::newRow("WAV named .mp3") << wavFile(tonePcm(44100, 44100, 2)) << false;
    QTest::newRow("a single frame header") << mpegFrames(1).left(4) << false;
    QTest::newRow("a folder named .mp3") << QByteArray() << true;
}

void TestPlayer::undecodable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, folder);

    QString path = m_dir->filePath(QStringLiteral("brano.mp3"));
    if (folder)
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("brano.mp3")));
    else
        path = write(QStringLiteral("brano.mp3"), bytes);

    FakeAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    QVERIFY(player.init());
    QVERIFY(!player.openFile(path));
    QCOMPARE(player.length(), qint64(-1));
    QCOMPARE(player.position(), qint64(0));
    QCOMPARE(player.state(), Player::State::NoFile);
    QCOMPARE(descriptorsOn(path), 0);

    player.play(Player::Repeat::On);
    QVERIFY(output.isPaused());
    QCOMPARE(player.state(), Player::State::NoFile);
    player.setPosition(1000);
    player.seek();
    QCOMPARE(player.position(), qint64(0));
}

void TestPlayer::undecodableAfterPlayable()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    const QString good = cbrFile();
    QVERIFY(player.openFile(good));
    player.play(Player::Repeat::Off);
    QVERIFY(!output.render(1000).isEmpty());

    QVERIFY(!player.openFile(m_dir->filePath(QStringLiteral("missing.mp3"))));
    QCOMPARE(player.length(), qint64(-1));
    QCOMPARE(player.state(), Player::State::NoFile);
    QVERIFY(output.isPaused());
    QCOMPARE(descriptorsOn(good), 0);
}

void TestPlayer::playsToTheEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("chunk");

    QTest::newRow("CBR, device-sized pulls") << cbrTrack() << 2048;
    QTest::newRow("CBR, tiny pulls") << cbrTrack() << 7;
    QTest::newRow("CBR, one pull beyond the end") << cbrTrack() << 100000;
    QTest::newRow("header-less") << mpegFrames(12) << 1000;
}

void TestPlayer::playsToTheEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, chunk);

    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, write(QStringLiteral("brano.mp3"), bytes)));
    player.play(Player::Repeat::Off);
    QVERIFY(!output.isPaused());

    const QList<float> played = output.render(200000, chunk);
    QCOMPARE(unitsOf(framesIn(played), 44100), player.length());
    // The end is reached exactly, once, and held there: the player keeps playing silence until
    // it is told to stop.
    QCOMPARE(player.position(), player.length());
    QCOMPARE(player.state(), Player::State::Playing);
    QVERIFY(output.render(5000, chunk).isEmpty());
    QCOMPARE(player.position(), player.length());
}

void TestPlayer::positionFollowsPlayedFrames()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, cbrFile()));
    player.play(Player::Repeat::Off);
    QCOMPARE(framesIn(output.render(10000, 1000)), 10000);
    QCOMPARE(player.position(), unitsOf(10000, 44100));
    QCOMPARE(framesIn(output.render(33333, 4096)), 33333);
    QCOMPARE(player.position(), unitsOf(43333, 44100));
}

void TestPlayer::repeatStartsAgain()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, cbrFile()));
    player.play(Player::Repeat::On);
    const QList<float> played = output.render(kCbrFrames + 3000, 1000);
    QCOMPARE(framesIn(played), kCbrFrames + 3000);
    QCOMPARE(player.position(), unitsOf(3000, 44100));
    // The second round starts with the track's first samples.
    QCOMPARE(played.mid(kCbrFrames * 2, 200), played.first(200));
}

void TestPlayer::repeatSwitchedOnWhilePlaying()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, cbrFile()));
    player.play(Player::Repeat::Off);
    output.render(20000);
    player.play(Player::Repeat::On);
    QCOMPARE(player.position(), unitsOf(20000, 44100));
    QCOMPARE(framesIn(output.render(kCbrFrames)), kCbrFrames);
    QCOMPARE(player.position(), unitsOf(20000, 44100));

    player.play(Player::Repeat::Off);
    QCOMPARE(framesIn(output.render(kCbrFrames)), kCbrFrames - 20000);
    QCOMPARE(player.position(), player.length());
}

void TestPlayer::pauseHoldsPosition()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, cbrFile()));
    player.play(Player::Repeat::Off);
    const QList<float> before = output.render(5000);
    player.pause();
    QCOMPARE(player.state(), Player::State::Paused);
    QVERIFY(output.isPaused());
    const qint64 held = player.position();
    QCOMPARE(held, unitsOf(5000, 44100));
    QVERIFY(output.render(5000).isEmpty());
    QCOMPARE(player.position(), held);

    player.play(Player::Repeat::Off);
    const QList<float> after = output.render(1000);
    QCOMPARE(player.position(), unitsOf(6000, 44100));

    // It goes on where it stopped: the same samples as an uninterrupted run.
    FakeAudioOutput referenceOutput;
    Player reference(referenceOutput);
    QVERIFY(reference.init());
    QVERIFY(reference.openFile(cbrFile()));
    reference.play(Player::Repeat::Off);
    QCOMPARE(referenceOutput.render(6000), before + after);
}

void TestPlayer::playStartsAgain_data()
{
    QTest::addColumn<bool>("stopped"); // by STOP rather than by reaching the end
    QTest::newRow("after stop") << true;
    QTest::newRow("after the end") << false;
}

void TestPlayer::playStartsAgain()
{
    QFETCH(bool, stopped);

    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, cbrFile()));
    player.play(Player::Repeat::Off);
    const QList<float> first = output.render(5000);
    if (stopped) {
        player.stop();
        QCOMPARE(player.state(), Player::State::Stopped);
        QVERIFY(output.isPaused());
        QCOMPARE(player.position(), qint64(0));
    } else {
        output.render(kCbrFrames);
        QCOMPARE(player.position(), player.length());
    }

    player.play(Player::Repeat::Off);
    QCOMPARE(output.render(5000), first);
    QCOMPARE(player.position(), unitsOf(5000, 44100));
}

void TestPlayer::seekLands_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<qint64>("frame");

    // A frame is 44305.7023255814 / 44100 units: units round to the nearest frame.
    QTest::newRow("start") << qint64(0) << qint64(0);
    QTest::newRow("one second") << qint64(44306) << qint64(44100);
    QTest::newRow("rounds down to a frame") << qint64(1004) << qint64(999);
    QTest::newRow("rounds up to a frame") << qint64(1005) << qint64(1000);
    QTest::newRow("into the tone half") << qint64(33229) << qint64(33075);
    QTest::newRow("last frame") << qint64(44305) << qint64(44099);
    QTest::newRow("past the end") << qint64(10'000'000) << qint64(kHalfSilentFrames);
    QTest::newRow("negative") << qint64(-500) << qint64(0);
}

void TestPlayer::seekLands()
{
    QFETCH(qint64, units);
    QFETCH(qint64, frame);

    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, write(QStringLiteral("half.mp3"), halfSilentTrack())));
    player.play(Player::Repeat::Off);
    const QList<float> whole = output.render(kHalfSilentFrames);
    QCOMPARE(framesIn(whole), kHalfSilentFrames);
    QVERIFY(allSilent(whole.first(kHalfSilentFrames / 4 * 2)));
    QVERIFY(!allSilent(whole.last(kHalfSilentFrames / 4 * 2)));

    player.setPosition(units);
    QCOMPARE(player.position(), unitsOf(frame, 44100));
    player.seek();
    QCOMPARE(player.position(), unitsOf(frame, 44100));
    const QList<float> after = output.render(2000);
    QCOMPARE(framesIn(after), std::min<qint64>(2000, kHalfSilentFrames - frame));
    QCOMPARE(after, whole.mid(frame * 2, after.size()));
    QCOMPARE(player.position(), unitsOf(frame + framesIn(after), 44100));
}

void TestPlayer::seekAfterTheEnd()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, cbrFile()));
    player.play(Player::Repeat::Off);
    output.render(kCbrFrames + 100);
    QCOMPARE(player.position(), player.length());

    player.setPosition(unitsOf(40000, 44100));
    player.seek();
    QCOMPARE(framesIn(output.render(kCbrFrames)), kCbrFrames - 40000);
    QCOMPARE(player.position(), player.length());
}

void TestPlayer::positionWrittenWithoutSeekAppliesOnPlay()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, cbrFile()));
    player.setPosition(unitsOf(60000, 44100));
    QCOMPARE(player.position(), unitsOf(60000, 44100));
    player.play(Player::Repeat::Off);
    QCOMPARE(framesIn(output.render(kCbrFrames)), kCbrFrames - 60000);
}

void TestPlayer::volume_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("percent");

    QTest::newRow("full") << 100 << 100;
    QTest::newRow("37") << 37 << 37;
    QTest::newRow("silent") << 0 << 0;
    QTest::newRow("above 100") << 150 << 100;
    QTest::newRow("below 0") << -5 << 0;
}

void TestPlayer::volume()
{
    QFETCH(int, set);
    QFETCH(int, percent);

    FakeAudioOutput referenceOutput;
    Player reference(referenceOutput);
    QVERIFY(reference.init());
    QVERIFY(reference.openFile(cbrFile()));
    QCOMPARE(reference.volume(), 100);
    reference.play(Player::Repeat::Off);
    const QList<float> full = referenceOutput.render(8000);

    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, cbrFile()));
    player.play(Player::Repeat::Off);
    const QList<float> before = output.render(4000);
    // Changed while playing: it applies from the next samples on.
    player.setVolume(set);
    QCOMPARE(player.volume(), percent);
    const QList<float> after = output.render(4000);

    QCOMPARE(before, full.first(8000));
    const QList<float> fullAfter = full.mid(8000);
    QCOMPARE(after.size(), fullAfter.size());
    for (qsizetype i = 0; i < after.size(); ++i)
        QVERIFY(qAbs(after[i] - fullAfter[i] * percent / 100) < 1e-6f);
    QVERIFY(!allSilent(fullAfter));
    QCOMPARE(allSilent(after), percent == 0);
}

void TestPlayer::volumeIsKeptFromFileToFile()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    player.setVolume(37);
    QVERIFY(player.openFile(cbrFile()));
    QCOMPARE(player.volume(), 37);
    player.closeFile();
    QVERIFY(player.openFile(write(QStringLiteral("other.mp3"), mpegFrames(5))));
    QCOMPARE(player.volume(), 37);
}

void TestPlayer::monoPlaysOnBothChannels()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    const QByteArray mono =
        lameMp3(tonePcm(30000, 44100, 1), 44100, 1, {QStringLiteral("-b"), QStringLiteral("64")});
    QVERIFY(player.openFile(write(QStringLiteral("mono.mp3"), mono)));
    player.play(Player::Repeat::Off);
    const QList<float> played = output.render(40000);
    QCOMPARE(framesIn(played), 30000);
    QVERIFY(!allSilent(played));
    for (qsizetype i = 0; i < played.size(); i += 2)
        QCOMPARE(played[i], played[i + 1]);
}

void TestPlayer::formatChangeEndsTheTrack()
{
    // 44.1 kHz frames followed by 48 kHz ones: the track ends where the rate changes, and the
    // position still reaches the length, which counts both parts.
    const QByteArray bytes = mpegFrames(20) + silentFrames(SilentFrameKind::Mpeg1Stereo48k, 20);
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, write(QStringLiteral("mixed.mp3"), bytes)));
    QVERIFY(player.length() > unitsOf(20 * 1152, 44100));

    player.play(Player::Repeat::Off);
    QCOMPARE(framesIn(output.render(100000)), 20 * 1152);
    QCOMPARE(player.position(), player.length());

    player.stop();
    player.play(Player::Repeat::On);
    QCOMPARE(framesIn(output.render(20 * 1152 + 500)), 20 * 1152 + 500);
    QCOMPARE(player.position(), unitsOf(500, 44100));
}

void TestPlayer::shrunkFileEndsTheTrack()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    const QString path = cbrFile();
    QVERIFY(player.openFile(path));
    const qint64 length = player.length();
    QVERIFY(QFile::resize(path, cbrTrack().size() / 3));

    player.play(Player::Repeat::Off);
    const qsizetype played = framesIn(output.render(200000));
    QVERIFY(played > 0);
    QVERIFY(played < kCbrFrames / 2);
    QCOMPARE(player.length(), length);
    QCOMPARE(player.position(), length);
}

void TestPlayer::otherRatesAreResampled_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");

    QTest::newRow("48 kHz") << 48000 << 2;
    QTest::newRow("32 kHz") << 32000 << 2;
    QTest::newRow("22.05 kHz mono") << 22050 << 1;
}

void TestPlayer::otherRatesAreResampled()
{
    QFETCH(int, rate);
    QFETCH(int, channels);

    // A second and a half of the 440 Hz tone: still 440 Hz and still a second and a half at
    // the output's rate, and the position still counts the file's own frames.
    const QByteArray bytes = lameMp3(tonePcm(rate * 3 / 2, rate, channels), rate, channels,
                                     {QStringLiteral("-V"), QStringLiteral("2")});
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(open(player, write(QStringLiteral("brano.mp3"), bytes)));
    player.play(Player::Repeat::Off);
    const QList<float> first = output.render(44100 / 2);
    QCOMPARE(framesIn(first), 44100 / 2);
    const qint64 halfSecond = player.position();
    QVERIFY2(qAbs(halfSecond - unitsOf(44100 / 2, 44100)) < 500,
             qPrintable(QString::number(halfSecond)));
    const QList<float> played = first + output.render(200000);
    QCOMPARE(player.position(), player.length());
    const qint64 seconds = framesIn(played) * 1000 / 44100;
    QVERIFY2(seconds >= 1400 && seconds <= 1600, qPrintable(QString::number(seconds)));
    const double frequency = toneFrequency(played.mid(44100 / 4 * 2, 44100 * 2));
    QVERIFY2(qAbs(frequency - 440) < 3, qPrintable(QString::number(frequency)));
}

void TestPlayer::closeFileReleasesTheFile()
{
    FakeAudioOutput output;
    Player player(output);
    QVERIFY(player.init());
    const QString path = cbrFile();
    QVERIFY(player.openFile(path));
    QVERIFY(output.source());
    QCOMPARE(descriptorsOn(path), 1);
    player.play(Player::Repeat::Off);
    output.render(1000);

    player.closeFile();
    QCOMPARE(descriptorsOn(path), 0);
    QCOMPARE(player.length(), qint64(-1));
    QCOMPARE(player.position(), qint64(0));
    QCOMPARE(player.state(), Player::State::NoFile);
    QVERIFY(output.isPaused());
    QVERIFY(!output.source());
    player.play(Player::Repeat::Off);
    QVERIFY(output.isPaused());
}

void TestPlayer::destructionReleasesTheOutput()
{
    FakeAudioOutput output;
    const QString path = cbrFile();
    {
        Player player(output);
        QVERIFY(player.init());
        QVERIFY(player.openFile(path));
        player.play(Player::Repeat::Off);
        output.render(1000);
    }
    QCOMPARE(descriptorsOn(path), 0);
    QVERIFY(!output.source());
    QVERIFY(output.isPaused());

    // A player going away leaves a newer player's source alone.
    Player newer(output);
    QVERIFY(newer.init());
    QVERIFY(newer.openFile(path));
    {
        Player older(output);
    }
    QVERIFY(output.source());
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
    QCOMPARE(player.length(), unitsOf(kCbrFrames, 44100));
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
