#include "playertransport.h"

#include "player.h"
#include "playerdisplay.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QWidget>

Q_LOGGING_CATEGORY(lcTransport, "tracklodge.player.transport")

PlayerTransport::PlayerTransport(Player &player, QWidget *form)
    : QObject(form)
    , m_player(player)
    , m_form(form)
{
    m_title = control<QWidget>("p1");
    m_playButton = control<QWidget>("p2");
    m_pauseButton = control<QWidget>("p3");
    m_stopButton = control<QWidget>("p4");
    m_playLamp = control<QWidget>("p5");
    m_pauseLamp = control<QWidget>("p6");
    m_stopLamp = control<QWidget>("p7");
    m_seekBar = control<QAbstractSlider>("avanti");
    m_volumeSlider = control<QAbstractSlider>("Slider1");
    m_volumeText = control<QLabel>("vol");
    m_lengthText = control<QLabel>("durata");
    m_elapsedText = control<QLabel>("tempo");
    m_writeTag = control<QCheckBox>("Check1");
    m_repeat = control<QCheckBox>("Check2");
    m_save = control<QWidget>("Command1");
    m_cancel = control<QWidget>("Command2");
    m_timer = form->findChild<QTimer *>(QStringLiteral("Timer1"));
    if (!m_timer) {
        m_timer = new QTimer(form);
        m_timer->setObjectName(QStringLiteral("Timer1"));
    }
    m_timer->stop();
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &PlayerTransport::tick);

    connectButton(m_playButton, &PlayerTransport::playClicked);
    connectButton(m_pauseButton, &PlayerTransport::pauseClicked);
    connectButton(m_stopButton, &PlayerTransport::stopClicked);
    if (m_repeat)
        connect(m_repeat, &QCheckBox::clicked, this, &PlayerTransport::repeatClicked);
    if (m_seekBar) {
        connect(m_seekBar, &QAbstractSlider::sliderPressed, this, &PlayerTransport::seekBarTaken);
        connect(m_seekBar, &QAbstractSlider::sliderReleased, this,
                &PlayerTransport::seekBarReleased);
        // A click on the groove or a key moves the bar without taking hold of it: seek at once.
        connect(m_seekBar, &QAbstractSlider::actionTriggered, this, [this](int action) {
            if (action != QAbstractSlider::SliderMove && !m_seekBar->isSliderDown())
                seekTo(m_seekBar->sliderPosition());
        });
    }
    if (m_volumeSlider) {
        connect(m_volumeSlider, &QAbstractSlider::valueChanged, this,
                &PlayerTransport::volumeMoved);
    }
    form->installEventFilter(this);
}

template <typename T> T *PlayerTransport::control(const char *name) const
{
    T *found = m_form->findChild<T *>(QLatin1String(name));
    if (!found)
        qCWarning(lcTransport) << "the editor has no player control" << name;
    return found;
}

void PlayerTransport::connectButton(QWidget *button, void (PlayerTransport::*action)())
{
    if (!button)
        return;
    if (auto *pushButton = qobject_cast<QAbstractButton *>(button)) {
        connect(pushButton, &QAbstractButton::clicked, this, action);
        return;
    }
    // A picture that acts as a button: its clicks are watched in eventFilter().
    button->installEventFilter(this);
}

bool PlayerTransport::initPlayer()
{
    const bool opened = m_player.init();
    if (m_writeTag) {
        m_writeTag->setEnabled(true);
        m_writeTag->setChecked(true);
    }
    return opened;
}

PlayerTransport::Outcome PlayerTransport::loadFile(const QString &path, FileAccess access)
{
    const bool reachable = access == FileAccess::Reachable;
    if (m_title)
        m_title->setEnabled(reachable);
    setButtonsUsable(reachable);
    setLamps(false, false, false);

    if (reachable) {
        setPlayControlsEnabled(true);
        if (m_player.openFile(path)) {
            if (m_volumeSlider)
                m_volumeSlider->setValue(m_player.volume());
            if (m_seekBar)
                m_seekBar->setRange(0, PlayerDisplay::seekBarValue(m_player.length()));
            if (m_lengthText)
                m_lengthText->setText(PlayerDisplay::timeText(m_player.length()));
            if (m_elapsedText)
                m_elapsedText->setText(PlayerDisplay::timeText(m_player.position()));
            return Outcome::Playable;
        }
    }

    setPlayControlsEnabled(false);
    if (m_volumeSlider) {
        // The handle shows the "0%" of the caption; the player keeps its volume for the next
        // file.
        const QSignalBlocker quiet(m_volumeSlider);
        m_volumeSlider->setValue(0);
    }
    if (m_volumeText)
        m_volumeText->setText(PlayerDisplay::volumeText(0));
    setButtonsUsable(false);
    if (m_writeTag) {
        m_writeTag->setChecked(false);
        m_writeTag->setEnabled(false);
    }
    return Outcome::NotPlayable;
}

void PlayerTransport::release()
{
    m_timer->stop();
    m_player.stop();
    m_player.closeFile();
}

void PlayerTransport::playClicked()
{
    setLamps(true, false, false);
    m_player.play(repeatTicked() ? Player::Repeat::On : Player::Repeat::Off);
    m_timer->start();
    setEditorButtonsEnabled(false);
}

void PlayerTransport::pauseClicked()
{
    setLamps(false, true, false);
    m_player.pause();
    m_timer->stop();
}

void PlayerTransport::stopClicked()
{
    setLamps(false, false, true);
    m_timer->stop();
    setEditorButtonsEnabled(true);
    m_player.stop();
    m_player.setPosition(0);
    if (m_seekBar)
        m_seekBar->setValue(0);
}

void PlayerTransport::repeatClicked()
{
    m_player.play(repeatTicked() ? Player::Repeat::On : Player::Repeat::Off);
}

void PlayerTransport::tick()
{
    if (m_elapsedText)
        m_elapsedText->setText(PlayerDisplay::timeText(m_player.position()));
    if (!repeatTicked() && m_player.position() >= m_player.length())
        stopClicked();
    if (m_seekBar)
        m_seekBar->setValue(PlayerDisplay::seekBarValue(m_player.position()));
}

void PlayerTransport::seekBarTaken()
{
    m_timer->stop();
}

void PlayerTransport::seekBarReleased()
{
    m_timer->start();
    seekTo(m_seekBar->value());
}

void PlayerTransport::volumeMoved(int percent)
{
    m_player.setVolume(percent);
    if (m_volumeText)
        m_volumeText->setText(PlayerDisplay::volumeText(percent));
}

bool PlayerTransport::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form && event->type() == QEvent::Close) {
        release();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto *widget = static_cast<QWidget *>(watched);
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (widget->isEnabled() && mouse->button() == Qt::LeftButton &&
            widget->rect().contains(mouse->position().toPoint())) {
            if (widget == m_playButton)
                playClicked();
            else if (widget == m_pauseButton)
                pauseClicked();
            else if (widget == m_stopButton)
                stopClicked();
        }
    }
    return QObject::eventFilter(watched, event);
}

void PlayerTransport::setLamps(bool play, bool pause, bool stop)
{
    if (m_playLamp)
        m_playLamp->setEnabled(play);
    if (m_pauseLamp)
        m_pauseLamp->setEnabled(pause);
    if (m_stopLamp)
        m_stopLamp->setEnabled(stop);
}

void PlayerTransport::setButtonsUsable(bool usable)
{
    const QColor colour = QColor::fromRgb(usable ? kPlayableColour : kNotPlayableColour);
    for (QWidget *button : {m_playButton.data(), m_pauseButton.data(), m_stopButton.data()}) {
        if (!button)
            continue;
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, colour);
        palette.setColor(QPalette::Window, colour);
        button->setPalette(palette);
        button->setAutoFillBackground(true);
        button->setEnabled(usable);
    }
}

void PlayerTransport::setPlayControlsEnabled(bool enabled)
{
    const QList<QWidget *> controls{m_seekBar.data(), m_repeat.data(), m_volumeSlider.data()};
    for (QWidget *widget : controls) {
        if (widget)
            widget->setEnabled(enabled);
    }
}

void PlayerTransport::setEditorButtonsEnabled(bool enabled)
{
    if (m_save)
        m_save->setEnabled(enabled);
    if (m_cancel)
        m_cancel->setEnabled(enabled);
}

void PlayerTransport::seekTo(int seekBarValue)
{
    m_player.setPosition(PlayerDisplay::unitsOfSeekBar(seekBarValue));
    m_player.seek();
}

bool PlayerTransport::repeatTicked() const
{
    return m_repeat && m_repeat->isChecked();
}
