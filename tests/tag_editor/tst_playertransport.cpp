#include "support/fakeaudiooutput.h"
#include "support/testaudio.h"
#include "support/testmp3.h"
#include "tag_editor/player.h"
#include "tag_editor/playerdisplay.h"
#include "tag_editor/playertransport.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

using Access = PlayerTransport::FileAccess;
using Outcome = PlayerTransport::Outcome;

// Frames of a silent track of about `seconds` seconds (each frame is 1152 / 44100 s).
int framesOf(double seconds)
{
    return int(std::ceil(seconds * 44100 / 1152)) * 1152;
}

// The player area's controls as the editor makes them, with a transport over a player on a
// fake device.
struct Rig
{
    Rig()
    {
        volume->setRange(0, 100);
        volume->setValue(100);
    }
    // Loads a file of `bytes`, or a silent track of about `seconds` seconds.
    Outcome load(const QByteArray &bytes, Access access = Access::Reachable)
    {
        transport.initPlayer();
        return transport.loadFile(writeMp3(dir.path(), QStringLiteral("a.mp3"), bytes), access);
    }
    Outcome load(double seconds) { return load(mpegFrames(framesOf(seconds) / 1152)); }
    // Which of the lamps is lit: "PLAY", "PAUSA", "STOP", or "" for none.
    QString litLamp() const
    {
        QString lit;
        for (QLabel *lamp : {playLamp, pauseLamp, stopLamp})
            lit += lamp->isEnabled() ? lamp->text() : QString();
        return lit;
    }
    QList<QWidget *> controls() const { return {play, pause, stop, seekBar, repeat, volume}; }
    // Stopped, by STOP or at the end: the editor free again, the bar and the player at the start.
    void verifyStopped()
    {
        QCOMPARE(litLamp(), QStringLiteral("STOP"));
        QVERIFY(!timer->isActive() && save->isEnabled() && cancel->isEnabled());
        QVERIFY(seekBar->value() == 0 && player.position() == 0 && output.isPaused());
        QCOMPARE(player.state(), Player::State::Stopped);
    }

    QTemporaryDir dir;
    QWidget window;
    QLabel *title = new QLabel(&window);
    QToolButton *play = new QToolButton(&window), *pause = new QToolButton(&window),
                *stop = new QToolButton(&window);
    QLabel *playLamp = new QLabel(QStringLiteral("PLAY"), &window);
    QLabel *pauseLamp = new QLabel(QStringLiteral("PAUSA"), &window);
    QLabel *stopLamp = new QLabel(QStringLiteral("STOP"), &window);
    QSlider *seekBar = new QSlider(&window), *volume = new QSlider(&window);
    QLabel *volText = new QLabel(&window), *length = new QLabel(&window),
           *elapsed = new QLabel(&window);
    QCheckBox *writeTag = new QCheckBox(&window), *repeat = new QCheckBox(&window);
    QPushButton *save = new QPushButton(&window), *cancel = new QPushButton(&window);
    QTimer *timer = new QTimer(&window);
    FakeAudioOutput output;
    Player player{output};
    PlayerTransport transport{player,
                              {&window, title, play, pause, stop, playLamp, pauseLamp, stopLamp,
                               seekBar, volume, volText, length, elapsed, writeTag, repeat, save,
                               cancel, timer}};
};

} // namespace

class TestPlayerTransport : public QObject
{
    Q_OBJECT

private slots:
    // The file is there, but the editor found it unusable: the player does not even open it.
    // (A file that is reachable but cannot be decoded is the journeys'.)
    void loadUnreachable()
    {
        Rig rig;
        QCOMPARE(rig.load(mpegFrames(100), Access::Unreachable), Outcome::NotPlayable);
        QVERIFY(!rig.title->isEnabled());
        for (QWidget *w : rig.controls())
            QVERIFY(!w->isEnabled());
        // The handle agrees with the caption; the player keeps its volume for the next file.
        QVERIFY(rig.volume->value() == 0 && rig.player.volume() == 100);
        QVERIFY(!rig.writeTag->isChecked() && !rig.writeTag->isEnabled());
    }

    void playPauseStopSeek()
    {
        Rig rig;
        rig.writeTag->setEnabled(false);
        QCOMPARE(rig.load(125), Outcome::Playable);
        QVERIFY(rig.title->isEnabled() && rig.writeTag->isEnabled());
        for (QWidget *w : rig.controls())
            QVERIFY(w->isEnabled());
        QCOMPARE(rig.litLamp(), QString());
        QCOMPARE(rig.seekBar->maximum(), PlayerDisplay::seekBarValue(rig.player.length()));
        QVERIFY(rig.length->text() == u"02:05" && rig.elapsed->text() == u"00:00");
        rig.volume->setValue(37);
        QVERIFY(rig.volText->text() == u"37%" && rig.player.volume() == 37);

        rig.play->click();
        QCOMPARE(rig.litLamp(), QStringLiteral("PLAY"));
        QVERIFY(rig.timer->isActive() && !rig.save->isEnabled() && !rig.cancel->isEnabled());
        rig.output.render(framesOf(2.2));
        QTRY_COMPARE(rig.elapsed->text(), QStringLiteral("00:02"));
        rig.pause->click();
        QCOMPARE(rig.litLamp(), QStringLiteral("PAUSA"));
        QVERIFY(!rig.timer->isActive() && !rig.save->isEnabled() && rig.output.isPaused());
        rig.stop->click();
        rig.verifyStopped();

        // A click on the groove seeks at once.
        rig.seekBar->setPageStep(200);
        rig.seekBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(rig.player.position(), qint64(20000));
        // A drag holds the ticks and seeks where it is let go.
        rig.play->click();
        rig.seekBar->setSliderDown(true);
        QVERIFY(!rig.timer->isActive());
        rig.seekBar->setSliderPosition(300);
        rig.seekBar->setSliderDown(false);
        QVERIFY(rig.timer->isActive());
        // 30000 units are frame 29861, which shows as 30000 again.
        QCOMPARE(rig.player.position(), qint64(30000));
        // Closing the window lets the file and the device go.
        QVERIFY(rig.window.close());
        QVERIFY(!rig.timer->isActive() && rig.output.isPaused() && !rig.output.source());
    }

    void reachingTheEnd_data()
    {
        QTest::addColumn<bool>("repeat");
        QTest::newRow("stops") << false;
        QTest::newRow("repeat goes on") << true;
    }
    void reachingTheEnd()
    {
        QFETCH(bool, repeat);
        Rig rig;
        QCOMPARE(rig.load(2), Outcome::Playable);
        if (repeat)
            rig.repeat->click();
        rig.play->click();
        rig.output.render(framesOf(1.5));
        QTRY_COMPARE(rig.elapsed->text(), QStringLiteral("00:01"));
        rig.output.render(framesOf(2) - framesOf(1.5) + 4410);
        // Without repeat the tick that stops shows the end; with it, playback goes round.
        QTRY_COMPARE(rig.elapsed->text(), repeat ? u"00:00"_s : u"00:02"_s);
        if (!repeat)
            return rig.verifyStopped();
        QVERIFY(rig.litLamp() == u"PLAY" && rig.player.state() == Player::State::Playing);
    }
};

QTEST_MAIN(TestPlayerTransport)
#include "tst_playertransport.moc"
