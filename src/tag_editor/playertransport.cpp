#include "playertransport.h"

#include "player.h"
#include "playerdisplay.h"

#include "widgets/backcolour.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <QWidget>

PlayerTransport::PlayerTransport(Player &player, const PlayerControls &controls)
    : QObject(controls.window)
    , m_player(player)
    , m_controls(controls)
{
    const PlayerControls &c = m_controls;
    c.timer->stop();
    c.timer->setInterval(kTickMs);
    connect(c.timer, &QTimer::timeout, this, &PlayerTransport::tick);

    connect(c.play, &QAbstractButton::clicked, this, &PlayerTransport::playClicked);
    connect(c.pause, &QAbstractButton::clicked, this, &PlayerTransport::pauseClicked);
    connect(c.stop, &QAbstractButton::clicked, this, &PlayerTransport::stopClicked);
    connect(c.repeat, &QCheckBox::clicked, this, &PlayerTransport::repeatClicked);
    connect(c.seekBar, &QAbstractSlider::sliderPressed, this, &PlayerTransport::seekBarTaken);
    connect(c.seekBar, &QAbstractSlider::sliderReleased, this, &PlayerTransport::seekBarReleased);
    // A click on the groove or a key moves the bar without taking hold of it: seek at once.
    connect(c.seekBar, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove && !m_controls.seekBar->isSliderDown())
            seekTo(m_controls.seekBar->sliderPosition());
    });
    connect(c.volumeSlider, &QAbstractSlider::valueChanged, this, &PlayerTransport::volumeMoved);
    c.window->installEventFilter(this);
}

bool PlayerTransport::initPlayer()
{
    const bool opened = m_player.init();
    m_controls.writeTag->setEnabled(true);
    m_controls.writeTag->setChecked(true);
    return opened;
}

PlayerTransport::Outcome PlayerTransport::loadFile(const QString &path, FileAccess access)
{
    const bool reachable = access == FileAccess::Reachable;
    m_controls.title->setEnabled(reachable);
    setButtonsUsable(reachable);
    setLamps(false, false, false);

    if (reachable) {
        setPlayControlsEnabled(true);
        if (m_player.openFile(path)) {
            m_controls.volumeSlider->setValue(m_player.volume());
            m_controls.seekBar->setRange(0, PlayerDisplay::seekBarValue(m_player.length()));
            m_controls.lengthText->setText(PlayerDisplay::timeText(m_player.length()));
            m_controls.elapsedText->setText(PlayerDisplay::timeText(m_player.position()));
            return Outcome::Playable;
        }
    }

    setPlayControlsEnabled(false);
    {
        // The handle shows the "0%" of the caption; the player keeps its volume for the next
        // file.
        const QSignalBlocker quiet(m_controls.volumeSlider);
        m_controls.volumeSlider->setValue(0);
    }
    m_controls.volumeText->setText(PlayerDisplay::volumeText(0));
    setButtonsUsable(false);
    m_controls.writeTag->setChecked(false);
    m_controls.writeTag->setEnabled(false);
    return Outcome::NotPlayable;
}

void PlayerTransport::release()
{
    m_controls.timer->stop();
    m_player.stop();
    m_player.closeFile();
}

void PlayerTransport::playClicked()
{
    setLamps(true, false, false);
    m_player.play(repeatTicked() ? Player::Repeat::On : Player::Repeat::Off);
    m_controls.timer->start();
    setEditorButtonsEnabled(false);
}

void PlayerTransport::pauseClicked()
{
    setLamps(false, true, false);
    m_player.pause();
    m_controls.timer->stop();
}

void PlayerTransport::stopClicked()
{
    setLamps(false, false, true);
    m_controls.timer->stop();
    setEditorButtonsEnabled(true);
    m_player.stop();
    m_player.setPosition(0);
    m_controls.seekBar->setValue(0);
}

void PlayerTransport::repeatClicked()
{
    m_player.play(repeatTicked() ? Player::Repeat::On : Player::Repeat::Off);
}

void PlayerTransport::tick()
{
    m_controls.elapsedText->setText(PlayerDisplay::timeText(m_player.position()));
    if (!repeatTicked() && m_player.position() >= m_player.length())
        stopClicked();
    m_controls.seekBar->setValue(PlayerDisplay::seekBarValue(m_player.position()));
}

void PlayerTransport::seekBarTaken()
{
    m_controls.timer->stop();
}

void PlayerTransport::seekBarReleased()
{
    m_controls.timer->start();
    seekTo(m_controls.seekBar->value());
}

void PlayerTransport::volumeMoved(int percent)
{
    m_player.setVolume(percent);
    m_controls.volumeText->setText(PlayerDisplay::volumeText(percent));
}

bool PlayerTransport::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.window && event->type() == QEvent::Close)
        release();
    return QObject::eventFilter(watched, event);
}

void PlayerTransport::setLamps(bool play, bool pause, bool stop)
{
    m_controls.playLamp->setEnabled(play);
    m_controls.pauseLamp->setEnabled(pause);
    m_controls.stopLamp->setEnabled(stop);
}

void PlayerTransport::setButtonsUsable(bool usable)
{
    const QColor colour = QColor::fromRgb(usable ? kPlayableColour : kNotPlayableColour);
    for (QWidget *button : {m_controls.play, m_controls.pause, m_controls.stop}) {
        setBackColour(button, colour);
        button->setEnabled(usable);
    }
}

void PlayerTransport::setPlayControlsEnabled(bool enabled)
{
    for (QWidget *widget :
         {static_cast<QWidget *>(m_controls.seekBar), static_cast<QWidget *>(m_controls.repeat),
          static_cast<QWidget *>(m_controls.volumeSlider)})
        widget->setEnabled(enabled);
}

void PlayerTransport::setEditorButtonsEnabled(bool enabled)
{
    m_controls.save->setEnabled(enabled);
    m_controls.cancel->setEnabled(enabled);
}

void PlayerTransport::seekTo(int seekBarValue)
{
    m_player.setPosition(PlayerDisplay::unitsOfSeekBar(seekBarValue));
    m_player.seek();
}

bool PlayerTransport::repeatTicked() const
{
    return m_controls.repeat->isChecked();
}
