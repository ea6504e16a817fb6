#include "platform/sdlaudiooutput.h"

#include <QTest>

#include <algorithm>
#include <csignal>

namespace {

// A source of samples of 0.25, `limit` frames at most, counting what it hands out.
struct CountingSource : AudioSource
{
    explicit CountingSource(qint64 limit)
        : m_limit(limit)
    {}
    qsizetype pull(float *samples, qsizetype frames) override
    {
        const auto given = qsizetype(std::min<qint64>(frames, m_limit - pulled));
        std::fill(samples, samples + given * AudioOutput::kChannels, 0.25f);
        pulled += given;
        return given;
    }
    qint64 pulled = 0;
    const qint64 m_limit;
};

} // namespace

class TestSdlAudioOutput : public QObject
{
    Q_OBJECT

private slots:
    void noSoundDeviceFallsBackToTheSilentDriver()
    {
        // A driver that does not exist fails like a machine without sound; the output goes on
        // silently. (Run first: the fallback then holds for the whole process.) The test framework
        // has a SIGTERM handler of its own; opening must leave it as it is.
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        struct sigaction before = {};
        struct sigaction after = {};
        QCOMPARE(sigaction(SIGTERM, nullptr, &before), 0);
        SdlAudioOutput output;
        QVERIFY(!output.isOpen());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^no sound device")));
        QVERIFY(output.open() && output.open());
        QCOMPARE(output.driverName(), QStringLiteral("dummy"));
        QCOMPARE(sigaction(SIGTERM, nullptr, &after), 0);
        QVERIFY(after.sa_handler == before.sa_handler);
        qputenv("SDL_AUDIODRIVER", "dummy");
    }

    // Rendered directly, the device not opened: what the source leaves is silence, and a source
    // taken off is not pulled.
    void renderFillsWhatTheSourceLeaves()
    {
        for (const bool removed : {false, true}) {
            SdlAudioOutput output;
            CountingSource source(700);
            output.setSource(&source);
            if (removed)
                output.removeSource(&source);
            std::vector<float> samples(2048 * AudioOutput::kChannels, 0.75f);
            output.render(samples.data(), 2048);
            const qint64 frames = removed ? 0 : 700;
            QCOMPARE(std::count(samples.cbegin(), samples.cend(), 0.0f),
                     qsizetype(samples.size() - frames * AudioOutput::kChannels));
            QCOMPARE(source.pulled, frames);
            output.removeSource(&source);
        }
    }
};

QTEST_GUILESS_MAIN(TestSdlAudioOutput)
#include "tst_sdlaudiooutput.moc"
