#pragma once

#include "fileaccess.h"

#include <QObject>
#include <QRgb>

class Player;
class QAbstractButton;
class QAbstractSlider;
class QCheckBox;
class QLabel;
class QTimer;
class QWidget;

/// The controls of the tag editor window that the transport drives; the editor owns them all
/// and hands them over, none missing.
struct PlayerControls
{
    QWidget *window = nullptr;               ///< the editor; closing it stops playback
    QWidget *title = nullptr;                ///< `p1`, the title of the area
    QAbstractButton *play = nullptr;         ///< `p2`
    QAbstractButton *pause = nullptr;        ///< `p3`
    QAbstractButton *stop = nullptr;         ///< `p4`
    QWidget *playLamp = nullptr;             ///< `p5`, "PLAY"
    QWidget *pauseLamp = nullptr;            ///< `p6`, "PAUSA"
    QWidget *stopLamp = nullptr;             ///< `p7`, "STOP"
    QAbstractSlider *seekBar = nullptr;      ///< `avanti`
    QAbstractSlider *volumeSlider = nullptr; ///< `Slider1`
    QLabel *volumeText = nullptr;            ///< `vol`
    QLabel *lengthText = nullptr;            ///< `durata`
    QLabel *elapsedText = nullptr;           ///< `tempo`
    QCheckBox *writeTag = nullptr;           ///< `Check1`, write the tag into the file
    QCheckBox *repeat = nullptr;             ///< `Check2`
    QWidget *save = nullptr;                 ///< `Command1`, disabled from PLAY until STOP
    QWidget *cancel = nullptr;               ///< `Command2`, likewise
    QTimer *timer = nullptr;                 ///< `Timer1`, the display's tick
};

/// The player controls of the tag editor window, driven for a Player. Closing the window stops
/// playback and releases the file.
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

    /// Attaches `player` to `controls`; the transport becomes a child of their window.
    PlayerTransport(Player &player, const PlayerControls &controls);

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
    void setLamps(bool play, bool pause, bool stop);
    void setButtonsUsable(bool usable);
    void setPlayControlsEnabled(bool enabled);
    void setEditorButtonsEnabled(bool enabled);
    void seekTo(int seekBarValue);
    bool repeatTicked() const;

    Player &m_player;
    PlayerControls m_controls;
};
