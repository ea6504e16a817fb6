#pragma once

#include "fileaccess.h"

#include <QObject>
#include <QPointer>
#include <QRgb>

class Player;
class QAbstractSlider;
class QCheckBox;
class QLabel;
class QTimer;
class QWidget;

/// The player controls of the tag editor window, driven for a Player. It finds them among the
/// window's children by objectName: `p1` (title of the area), `p2` `p3` `p4` (play, pause,
/// stop: buttons, or any widget clicked with the mouse), `p5` `p6` `p7` (the lamps PLAY, PAUSA,
/// STOP), the seek bar `avanti` and the volume `Slider1` (sliders), the labels `vol`, `durata`
/// and `tempo`, the check boxes `Check1` (write the tag into the file) and `Check2` (repeat), the
/// timer `Timer1` (made when the window has none) and the editor's buttons `Command1` and
/// `Command2`, which are disabled from PLAY until STOP. A control it does not find is left out.
/// Closing the window stops playback and releases the file.
class PlayerTransport : public QObject
{
    Q_OBJECT

public:
    /// Back colour of `p2`, `p3`, `p4` when the file can be played: light blue.
    static constexpr QRgb kPlayableColour = 0xC0C0FF;
    /// Back colour of `p2`, `p3`, `p4` when it cannot: grey.
    static constexpr QRgb kNotPlayableColour = 0xE0E0E0;
    /// Interval of `Timer1` in milliseconds: about one screen refresh, the shortest a display
    /// can show.
    static constexpr int kTickMs = 16;

    /// Whether the editor could reach the record's file before playing it.
    using FileAccess = ::FileAccess;
    enum class Outcome { Playable, NotPlayable };

    /// Attaches `player` to the controls of `form`, of which the transport becomes a child.
    PlayerTransport(Player &player, QWidget *form);

    /// First step of loading the editor: initialises the player and makes `Check1` enabled and
    /// ticked. False when no audio device opened.
    bool initPlayer();
    /// The player's part of loading the editor, once the editor knows whether the file is
    /// reachable: lights the player area or greys it, opens `path` in the player when reachable
    /// and fills the display (volume, seek bar maximum, length and elapsed time). NotPlayable
    /// when the file was unreachable or cannot be decoded: the area is greyed, the sliders and
    /// `Check2` disabled, `vol` shows "0%", `Check1` is unticked and disabled; the caller then
    /// marks the record as corrupt in the main window.
    Outcome loadFile(const QString &path, FileAccess access);
    /// Stops playback and releases the file.
    void release();

    /// The transport's actions, as the controls trigger them.
    void playClicked();
    void pauseClicked();
    void stopClicked();
    void repeatClicked();
    void tick();
    void seekBarTaken();
    void seekBarReleased();
    void volumeMoved(int percent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <typename T> T *control(const char *name) const;
    void connectButton(QWidget *button, void (PlayerTransport::*action)());
    void setLamps(bool play, bool pause, bool stop);
    void setButtonsUsable(bool usable);
    void setPlayControlsEnabled(bool enabled);
    void setEditorButtonsEnabled(bool enabled);
    void seekTo(int seekBarValue);
    bool repeatTicked() const;

    Player &m_player;
    QWidget *m_form;
    QPointer<QWidget> m_title;
    QPointer<QWidget> m_playButton, m_pauseButton, m_stopButton;
    QPointer<QWidget> m_playLamp, m_pauseLamp, m_stopLamp;
    QPointer<QAbstractSlider> m_seekBar, m_volumeSlider;
    QPointer<QLabel> m_volumeText, m_lengthText, m_elapsedText;
    QPointer<QCheckBox> m_writeTag, m_repeat;
    QPointer<QWidget> m_save, m_cancel;
    QPointer<QTimer> m_timer;
};
