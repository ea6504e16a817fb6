#include "platform/sdlaudiooutput.h"

#include <QTest>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <limits>

namespace {

// A source of a constant sample value, counting what it hands out; `limit` frames at most.
class CountingSource : public AudioSource
{
public:
    explicit CountingSource(float value, qint64 limit = std::numeric_limits<qint64>::max())
        : m_value(value)
        , m_limit(limit)
    {}

    qsizetype pull(float *samples, qsizetype frames) override
    {
        if (m_removed.load())
            m_calledAfterRemoval = true;
        const auto given = qsizetype(std::min<qint64>(frames, m_limit - m_pulled.load()));
        std::fill(samples, samples + given * AudioOutput::kChannels, m_value);
        m_pulled += given;
        return given;
    }

    qint64 pulled() const { return m_pulled.load(); }
    void markRemoved() { m_removed = true; }
    bool calledAfterRemoval() const { return m_calledAfterRemoval.load(); }

private:
    const float m_value;
    const qint64 m_limit;
    std::atomic<qint64> m_pulled{0};
    std::atomic<bool> m_removed{false};
    std::atomic<bool> m_calledAfterRemoval{false};
};

} // namespace

class TestSdlAudioOutput : public QObject
{
    Q_OBJECT

private slots:
    void fallsBackToTheSilentDriverAndOpensOnce();
    void leavesSigtermAlone();
    void pullsOnlyTheCurrentSource();
    void renderFillsWhatTheSourceLeaves_data();
    void renderFillsWhatTheSourceLeaves();
};

void TestSdlAudioOutput::fallsBackToTheSilentDriverAndOpensOnce()
{
    // A driver that does not exist fails like a machine without sound; the output goes on
    // silently. (Run first: the fallback then holds for the whole process.)
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    SdlAudioOutput output;
    QVERIFY(output.driverName().isEmpty());
    QVERIFY(!output.isOpen());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^no sound device")));
    QVERIFY(output.open());
    QVERIFY(output.isOpen());
    QCOMPARE(output.driverName(), QStringLiteral("dummy"));
    // A second open keeps the device it has.
    QVERIFY(output.open());
    QCOMPARE(output.driverName(), QStringLiteral("dummy"));
    qputenv("SDL_AUDIODRIVER", "dummy");
}

void TestSdlAudioOutput::leavesSigtermAlone()
{
    // The test framework has handlers of its own; opening must leave them as they are.
    struct sigaction termBefore = {};
    struct sigaction intBefore = {};
    QCOMPARE(sigaction(SIGTERM, nullptr, &termBefore), 0);
    QCOMPARE(sigaction(SIGINT, nullptr, &intBefore), 0);
    SdlAudioOutput output;
    QVERIFY(output.open());
    struct sigaction after = {};
    QCOMPARE(sigaction(SIGTERM, nullptr, &after), 0);
    QVERIFY(after.sa_handler == termBefore.sa_handler);
    QCOMPARE(sigaction(SIGINT, nullptr, &after), 0);
    QVERIFY(after.sa_handler == intBefore.sa_handler);
}

void TestSdlAudioOutput::pullsOnlyTheCurrentSource()
{
    SdlAudioOutput output;
    QVERIFY(output.open());
    CountingSource first(0.25f);
    CountingSource second(0.5f);
    output.setSource(&first);
    // Removing a source that is not the current one keeps the current one.
    output.removeSource(&second);
    output.resume();
    QTRY_VERIFY_WITH_TIMEOUT(first.pulled() > 0, 10000);
    QCOMPARE(second.pulled(), qint64(0));

    output.removeSource(&first);
    first.markRemoved();
    output.setSource(&second);
    // Once the second source is being pulled, the device has run on; the first is left alone.
    QTRY_VERIFY_WITH_TIMEOUT(second.pulled() > 0, 10000);
    QVERIFY(!first.calledAfterRemoval());

    output.pause();
    output.removeSource(&second);
}

void TestSdlAudioOutput::renderFillsWhatTheSourceLeaves_data()
{
    QTest::addColumn<qint64>("left");
    QTest::addColumn<bool>("removed"); // the source is taken off before the render

    QTest::newRow("source removed") << qint64(5000) << true;
    QTest::newRow("part of a buffer") << qint64(700) << false;
    QTest::newRow("more than a buffer") << qint64(5000) << false;
}

void TestSdlAudioOutput::renderFillsWhatTheSourceLeaves()
{
    QFETCH(qint64, left);
    QFETCH(bool, removed);

    // Rendered directly: the device is not opened.
    SdlAudioOutput output;
    CountingSource source(0.25f, left);
    output.setSource(&source);
    if (removed)
        output.removeSource(&source);
    std::vector<float> samples(2048 * AudioOutput::kChannels, 0.75f);
    output.render(samples.data(), 2048);
    const qint64 frames = removed ? 0 : std::min<qint64>(left, 2048);
    const qsizetype sounding = qsizetype(frames) * AudioOutput::kChannels;
    QCOMPARE(std::count(samples.cbegin(), samples.cend(), 0.25f), sounding);
    QCOMPARE(std::count(samples.cbegin(), samples.cend(), 0.0f),
             qsizetype(samples.size()) - sounding);
    QCOMPARE(source.pulled(), frames);
    output.removeSource(&source);
}

QTEST_GUILESS_MAIN(TestSdlAudioOutput)
#include "tst_sdlaudiooutput.moc"
