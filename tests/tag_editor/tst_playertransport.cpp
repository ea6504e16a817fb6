#include "platform/sdlaudiooutput.h"
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

#include <type_traits>

namespace {

// Silent MPEG frames for a track of about `seconds` seconds (each frame is 1152 / 44100 s).
QByteArray silentTrack(double seconds)
{
    return mpegFrames(int(std::ceil(seconds * 44100 / 1152)));
}

// Frames of a track made by silentTrack(), as the player plays them.
int framesOf(double seconds)
{
    return int(std::ceil(seconds * 44100 / 1152)) * 1152;
}

enum class ButtonKind { Push, Picture };

// A window carrying the tag editor's player controls, of the kinds and with the captions the
// editor gives them, and the editor's own buttons and tag box.
struct EditorForm
{
    explicit EditorForm(ButtonKind kind = ButtonKind::Push)
    {
        window.setObjectName(QStringLiteral("Form2"));
        p1 = add<QLabel>("p1", "MP3 Player");
        p1->setEnabled(false);
        for (QWidget **button : {&p2, &p3, &p4}) {
            const char *name = button == &p2 ? "p2" : button == &p3 ? "p3" : "p4";
            if (kind == ButtonKind::Push)
                *button = add<QToolButton>(name);
            else
                *button = add<QLabel>(name);
            (*button)->resize(32, 32);
        }
        p5 = add<QLabel>("p5", "PLAY");
        p6 = add<QLabel>("p6", "PAUSA");
        p7 = add<QLabel>("p7", "STOP");
        for (QLabel *lamp : {p5, p6, p7})
            lamp->setEnabled(false);
        avanti = add<QSlider>("avanti", Qt::Horizontal);
        Slider1 = add<QSlider>("Slider1", Qt::Horizontal);
        Slider1->setRange(0, 100);
        vol = add<QLabel>("vol", "100%");
        durata = add<QLabel>("durata", "");
        tempo = add<QLabel>("tempo", "0");
        Check1 = add<QCheckBox>("Check1", "Salva il TAG nel File MP3");
        Check2 = add<QCheckBox>("Check2", "Ripeti");
        Command1 = add<QPushButton>("Command1", "Modifica");
        Command2 = add<QPushButton>("Command2", "Annulla");
        Command1->setEnabled(false);
        Timer1 = new QTimer(&window);
        Timer1->setObjectName(QStringLiteral("Timer1"));
        window.show();
    }

    // A control of the window named `name`, made from `args` (a caption, an orientation) first.
    template <typename T, typename... Args> T *add(const char *name, Args... args)
    {
        T *widget;
        if constexpr (sizeof...(args) == 0)
            widget = new T(&window);
        else if constexpr ((std::is_same_v<Args, const char *> && ...))
            widget = new T(QString::fromUtf8(args)..., &window);
        else
            widget = new T(args..., &window);
        widget->setObjectName(QLatin1String(name));
        return widget;
    }

    QWidget window;
    QLabel *p1;
    QWidget *p2 = nullptr;
    QWidget *p3 = nullptr;
    QWidget *p4 = nullptr;
    QLabel *p5, *p6, *p7;
    QSlider *avanti, *Slider1;
    QLabel *vol, *durata, *tempo;
    QCheckBox *Check1, *Check2;
    QPushButton *Command1, *Command2;
    QTimer *Timer1;
};

void click(QWidget *button)
{
    if (auto *pushButton = qobject_cast<QAbstractButton *>(button))
        pushButton->click();
    else
        QTest::mouseClick(button, Qt::LeftButton);
}

QColor backColour(QWidget *widget)
{
    return widget->palette().color(widget->backgroundRole());
}

// Which of the lamps PLAY, PAUSA, STOP is lit, as "PLAY", "PAUSA", "STOP" or "" for none.
QString litLamp(const EditorForm &form)
{
    QStringList lit;
    for (QLabel *lamp : {form.p5, form.p6, form.p7}) {
        if (lamp->isEnabled())
            lit << lamp->text();
    }
    return lit.join(u',');
}

// The editor's controls with a transport attached, over a player on a fake device.
struct Rig
{
    explicit Rig(ButtonKind kind = ButtonKind::Push)
        : form(kind)
    {}

    // The load step for a file, reachable unless told otherwise.
    PlayerTransport::Outcome
    load(const QString &path,
         PlayerTransport::FileAccess access = PlayerTransport::FileAccess::Reachable)
    {
        transport.initPlayer();
        return transport.loadFile(path, access);
    }

    EditorForm form;
    FakeAudioOutput output;
    Player player{output};
    PlayerTransport transport{player, &form.window};
};

// Stopped, by STOP or at the end: STOP lit, the editor free again, the bar and player at the start.
void verifyStopped(Rig &rig)
{
    QCOMPARE(litLamp(rig.form), QStringLiteral("STOP"));
    QVERIFY(!rig.form.Timer1->isActive());
    QVERIFY(rig.form.Command1->isEnabled());
    QVERIFY(rig.form.Command2->isEnabled());
    QCOMPARE(rig.form.avanti->value(), 0);
    QCOMPARE(rig.player.position(), qint64(0));
    QCOMPARE(rig.player.state(), Player::State::Stopped);
    QVERIFY(rig.output.isPaused());
}

} // namespace

class TestPlayerTransport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void attachesToTheTimer();
    void makesTheTimerWhenMissing();
    void initPlayerTicksTheTagBox();
    void loadPlayable();
    void loadNotPlayable_data();
    void loadNotPlayable();

    void tickShowsTheElapsedTime();
    void endWithoutRepeatStops();
    void endWithRepeatGoesOn();
    void playThenPauseKeepsTheEditorLocked_data();
    void playThenPauseKeepsTheEditorLocked();
    void stop_data();
    void stop();
    void repeatWhileStoppedPlaysWithoutLamp();
    void volume();
    void seekBarHeldAndLetGo();
    void seekBarClickedWithoutHold();
    void closingTheWindowReleasesTheFile();
    void disabledPictureButtonDoesNothing();

    void playsToTheEndOnTheSilentDevice();

private:
    static void buttonKinds_data();
    QString write(const QByteArray &bytes)
    {
        return writeMp3(m_dir->path(), QStringLiteral("brano.mp3"), bytes);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPlayerTransport::initTestCase()
{
    qputenv("SDL_AUDIODRIVER", "dummy");
}

void TestPlayerTransport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestPlayerTransport::attachesToTheTimer()
{
    EditorForm form;
    form.Timer1->setInterval(1000);
    form.Timer1->start();
    FakeAudioOutput output;
    Player player(output);
    PlayerTransport transport(player, &form.window);
    QCOMPARE(form.Timer1->interval(), PlayerTransport::kTickMs);
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.window.findChildren<QTimer *>(QStringLiteral("Timer1")).size(), 1);
}

void TestPlayerTransport::makesTheTimerWhenMissing()
{
    EditorForm form;
    delete form.Timer1;
    FakeAudioOutput output;
    Player player(output);
    PlayerTransport transport(player, &form.window);
    auto *timer = form.window.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), PlayerTransport::kTickMs);

    // And it drives the display like the window's own.
    QVERIFY(transport.initPlayer());
    QCOMPARE(transport.loadFile(write(silentTrack(3)), PlayerTransport::FileAccess::Reachable),
             PlayerTransport::Outcome::Playable);
    click(form.p2);
    QVERIFY(timer->isActive());
    output.render(framesOf(1.2));
    QTRY_COMPARE(form.tempo->text(), QStringLiteral("00:01"));
}

void TestPlayerTransport::initPlayerTicksTheTagBox()
{
    EditorForm form;
    form.Check1->setEnabled(false);
    form.Check1->setChecked(false);
    FakeAudioOutput output;
    Player player(output);
    PlayerTransport transport(player, &form.window);
    QVERIFY(transport.initPlayer());
    QVERIFY(output.isOpen());
    QVERIFY(form.Check1->isEnabled());
    QVERIFY(form.Check1->isChecked());

    FakeAudioOutput noDevice;
    noDevice.setOpenFails(true);
    Player silent(noDevice);
    EditorForm other;
    PlayerTransport withoutDevice(silent, &other.window);
    QVERIFY(!withoutDevice.initPlayer());
    QVERIFY(other.Check1->isChecked());
}

void TestPlayerTransport::loadPlayable()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(125))), PlayerTransport::Outcome::Playable);
    QVERIFY(output.isOpen());

    QVERIFY(form.p1->isEnabled());
    for (QWidget *button : {form.p2, form.p3, form.p4}) {
        QVERIFY(button->isEnabled());
        QCOMPARE(backColour(button), QColor(0xC0, 0xC0, 0xFF));
    }
    QCOMPARE(litLamp(form), QString());
    QVERIFY(form.avanti->isEnabled());
    QVERIFY(form.Check2->isEnabled());
    QVERIFY(form.Slider1->isEnabled());
    QCOMPARE(form.Slider1->value(), 100);
    QCOMPARE(form.vol->text(), QStringLiteral("100%"));
    QCOMPARE(form.avanti->maximum(), PlayerDisplay::seekBarValue(player.length()));
    QCOMPARE(form.avanti->minimum(), 0);
    QCOMPARE(form.durata->text(), QStringLiteral("02:05"));
    QCOMPARE(form.tempo->text(), QStringLiteral("00:00"));
    QVERIFY(form.Check1->isChecked());
    QVERIFY(!form.Timer1->isActive());
}

void TestPlayerTransport::loadNotPlayable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("reachable");

    // The file is there, but the editor found it unusable: the player does not even open it.
    QTest::newRow("unreachable") << mpegFrames(100) << false;
    QTest::newRow("text") << QByteArray("Non sono un MP3.\n").repeated(100) << true;
}

void TestPlayerTransport::loadNotPlayable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, reachable);

    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(bytes), reachable ? PlayerTransport::FileAccess::Reachable
                                              : PlayerTransport::FileAccess::Unreachable),
             PlayerTransport::Outcome::NotPlayable);

    // The title of the area stays lit when the file was reachable and only decoding failed.
    QCOMPARE(form.p1->isEnabled(), reachable);
    for (QWidget *button : {form.p2, form.p3, form.p4}) {
        QVERIFY(!button->isEnabled());
        QCOMPARE(backColour(button), QColor(0xE0, 0xE0, 0xE0));
    }
    QCOMPARE(litLamp(form), QString());
    QVERIFY(!form.avanti->isEnabled());
    QVERIFY(!form.Check2->isEnabled());
    QVERIFY(!form.Slider1->isEnabled());
    QCOMPARE(form.vol->text(), QStringLiteral("0%"));
    // The handle agrees with the caption; the player keeps its volume for the next file.
    QCOMPARE(form.Slider1->value(), 0);
    QCOMPARE(player.volume(), 100);
    QVERIFY(!form.Check1->isChecked());
    QVERIFY(!form.Check1->isEnabled());
    QCOMPARE(player.length(), qint64(-1));
}

void TestPlayerTransport::buttonKinds_data()
{
    QTest::addColumn<ButtonKind>("kind");

    QTest::newRow("buttons") << ButtonKind::Push;
    QTest::newRow("pictures") << ButtonKind::Picture;
}

void TestPlayerTransport::tickShowsTheElapsedTime()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(3))), PlayerTransport::Outcome::Playable);
    click(form.p2);

    output.render(framesOf(2.2));
    QTRY_COMPARE(form.tempo->text(), QStringLiteral("00:02"));
    QCOMPARE(form.avanti->value(), PlayerDisplay::seekBarValue(player.position()));
    QVERIFY(form.avanti->value() > form.avanti->maximum() * 2 / 3);
    QCOMPARE(litLamp(form), QStringLiteral("PLAY"));
}

void TestPlayerTransport::endWithoutRepeatStops()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(2))), PlayerTransport::Outcome::Playable);
    click(form.p2);
    output.render(framesOf(2) + 5000);

    QTRY_COMPARE(litLamp(form), QStringLiteral("STOP"));
    verifyStopped(rig);
    // The tick that stopped showed the end.
    QCOMPARE(form.tempo->text(), QStringLiteral("00:02"));
}

void TestPlayerTransport::endWithRepeatGoesOn()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(2))), PlayerTransport::Outcome::Playable);
    form.Check2->click();
    click(form.p2);
    output.render(framesOf(1.5));
    QTRY_COMPARE(form.tempo->text(), QStringLiteral("00:01"));

    // Round the end and on into the second time through.
    output.render(framesOf(2) - framesOf(1.5) + 4410);
    QTRY_COMPARE(form.tempo->text(), QStringLiteral("00:00"));
    QTRY_VERIFY(form.avanti->value() > 0);
    QCOMPARE(litLamp(form), QStringLiteral("PLAY"));
    QVERIFY(form.Timer1->isActive());
    QVERIFY(!form.Command1->isEnabled());
    QCOMPARE(player.state(), Player::State::Playing);
}

void TestPlayerTransport::playThenPauseKeepsTheEditorLocked_data()
{
    buttonKinds_data();
}

void TestPlayerTransport::playThenPauseKeepsTheEditorLocked()
{
    QFETCH(ButtonKind, kind);

    Rig rig(kind);
    auto &[form, output, player, transport] = rig;
    form.Command1->setEnabled(true);
    QCOMPARE(rig.load(write(silentTrack(3))), PlayerTransport::Outcome::Playable);
    click(form.p2);
    QCOMPARE(litLamp(form), QStringLiteral("PLAY"));
    QCOMPARE(player.state(), Player::State::Playing);
    QVERIFY(!output.isPaused());
    QVERIFY(form.Timer1->isActive());
    QVERIFY(!form.Command1->isEnabled());
    QVERIFY(!form.Command2->isEnabled());
    output.render(framesOf(1.1));
    QTRY_COMPARE(form.tempo->text(), QStringLiteral("00:01"));

    click(form.p3);
    QCOMPARE(litLamp(form), QStringLiteral("PAUSA"));
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(!form.Command1->isEnabled());
    QVERIFY(!form.Command2->isEnabled());
    QVERIFY(output.isPaused());
    QCOMPARE(player.state(), Player::State::Paused);

    click(form.p4);
    QVERIFY(form.Command1->isEnabled());
    QVERIFY(form.Command2->isEnabled());
}

void TestPlayerTransport::stop_data()
{
    buttonKinds_data();
}

void TestPlayerTransport::stop()
{
    QFETCH(ButtonKind, kind);

    Rig rig(kind);
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(3))), PlayerTransport::Outcome::Playable);
    click(form.p2);
    output.render(framesOf(1.5));
    QTRY_VERIFY(form.avanti->value() > 0);

    click(form.p4);
    verifyStopped(rig);
}

void TestPlayerTransport::repeatWhileStoppedPlaysWithoutLamp()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    form.Command1->setEnabled(true);
    QCOMPARE(rig.load(write(silentTrack(3))), PlayerTransport::Outcome::Playable);

    form.Check2->click();
    QCOMPARE(player.state(), Player::State::Playing);
    QVERIFY(!output.isPaused());
    QCOMPARE(litLamp(form), QString());
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(form.Command1->isEnabled());
    QVERIFY(form.Command2->isEnabled());
    output.render(framesOf(1.5));
    QVERIFY(player.position() > 0);
    QCoreApplication::processEvents();
    QCOMPARE(form.tempo->text(), QStringLiteral("00:00"));

    // Unticking it is a click too: playback goes on, now without repeat.
    form.Check2->click();
    QCOMPARE(player.state(), Player::State::Playing);
    output.render(framesOf(3));
    QCOMPARE(player.position(), player.length());
}

void TestPlayerTransport::volume()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(1))), PlayerTransport::Outcome::Playable);
    for (int value : {37, 0}) {
        form.Slider1->setValue(value);
        QCOMPARE(form.vol->text(), QStringLiteral("%1%").arg(value));
        QCOMPARE(player.volume(), value);
    }
}

void TestPlayerTransport::seekBarHeldAndLetGo()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(3))), PlayerTransport::Outcome::Playable);
    click(form.p2);
    output.render(1152);

    form.avanti->setSliderDown(true);
    QVERIFY(!form.Timer1->isActive());
    form.avanti->setSliderPosition(300);
    output.render(1152);
    // While held, nothing moves the bar or the time.
    QCoreApplication::processEvents();
    QCOMPARE(form.avanti->value(), 300);

    form.avanti->setSliderDown(false);
    QVERIFY(form.Timer1->isActive());
    // 30000 units are frame 29861, which shows as 30000 again.
    QCOMPARE(player.position(), qint64(30000));
    QCOMPARE(litLamp(form), QStringLiteral("PLAY"));
}

void TestPlayerTransport::seekBarClickedWithoutHold()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(3))), PlayerTransport::Outcome::Playable);
    form.avanti->setPageStep(200);
    form.avanti->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(player.position(), qint64(20000));
    QVERIFY(!form.Timer1->isActive());
}

void TestPlayerTransport::closingTheWindowReleasesTheFile()
{
    Rig rig;
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(silentTrack(3))), PlayerTransport::Outcome::Playable);
    click(form.p2);
    output.render(1152);

    QVERIFY(form.window.close());
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(output.isPaused());
    QVERIFY(!output.source());
    QCOMPARE(player.length(), qint64(-1));
}

void TestPlayerTransport::disabledPictureButtonDoesNothing()
{
    Rig rig(ButtonKind::Picture);
    auto &[form, output, player, transport] = rig;
    QCOMPARE(rig.load(write(QByteArray("testo"))), PlayerTransport::Outcome::NotPlayable);
    QTest::mouseClick(form.p2, Qt::LeftButton);
    QCOMPARE(litLamp(form), QString());
    QVERIFY(!form.Timer1->isActive());
}

void TestPlayerTransport::playsToTheEndOnTheSilentDevice()
{
    EditorForm form;
    SdlAudioOutput output;
    Player player(output);
    PlayerTransport transport(player, &form.window);
    QVERIFY(transport.initPlayer());
    QCOMPARE(transport.loadFile(write(silentTrack(0.3)), PlayerTransport::FileAccess::Reachable),
             PlayerTransport::Outcome::Playable);
    click(form.p2);
    QVERIFY(!form.Command1->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(litLamp(form), QStringLiteral("STOP"), 10000);
    QVERIFY(form.Command1->isEnabled());
    QCOMPARE(player.position(), qint64(0));
}

QTEST_MAIN(TestPlayerTransport)
#include "tst_playertransport.moc"
