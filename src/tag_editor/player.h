#pragma once

#include "platform/audiooutput.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class Resampler;
struct mpg123_handle_struct;

/// The tag editor's player: decodes one MP3 file with libmpg123 and plays it through an
/// AudioOutput, resampled to the output's rate when the file has another. Lengths and positions
/// are in player units (PlayerDisplay::kUnitsPerSecond per second) and count the file's own
/// frames at its own rate. Every function is called on the thread that owns the player; the
/// decoding runs on the output's thread, which takes the output's lock, so opening, closing and
/// moving the play point lock it too, while the played frames, the volume and the repeat flag pass
/// as atomics.
class Player : public QObject, private AudioSource
{
    Q_OBJECT

public:
    enum class Repeat { Off, On };
    enum class State { NoFile, Stopped, Playing, Paused };

    /// A player that plays through `output`, which must outlive it.
    explicit Player(AudioOutput &output, QObject *parent = nullptr);
    /// Stops and releases the file.
    ~Player() override;

    /// Opens the audio output (once per output; later calls repeat its answer). False when no
    /// device opened, not even a silent one: files still open and report their length, but
    /// playing does not advance.
    bool init();

    /// Stops, releases any previous file and opens `path`, scanning it whole for its exact
    /// length. True when it can be played; otherwise the player has no file and length() is -1
    /// (missing, empty, tag-only, or not MPEG audio at all). The play point is at the start.
    bool openFile(const QString &path);
    /// Stops and releases the file; length() is -1 afterwards.
    void closeFile();

    /// Length of the file: round(frames × units per second / rate); -1 without a playable file.
    qint64 length() const;
    /// The play point: round(played frames × units per second / rate), from 0 up to length()
    /// exactly, which it reaches when the track ends. 0 without a file.
    qint64 position() const;
    /// Moves the play point to round(`units` × rate / units per second) frames, clamped to the
    /// track; position() shows it at once, playback goes on from it after seek() or play().
    void setPosition(qint64 units);
    /// Makes playback go on from the position written last with setPosition().
    void seek();

    /// Loudness, 0 to 100; 100 at first, kept from file to file.
    int volume() const { return m_volume.load(); }
    /// Sets the loudness, clamped to 0 to 100; it applies at once, also while playing.
    void setVolume(int percent);

    /// Plays from the play point (from the start when the track had ended), or just sets the
    /// repeat flag when already playing. With Repeat::On the track starts again by itself at its
    /// end; with Repeat::Off it ends there, position() staying at length() until stop() or
    /// play(). Does nothing without a file.
    void play(Repeat repeat);
    /// Halts playback at the play point.
    void pause();
    /// Ends playback and puts the play point back at the start.
    void stop();

    State state() const { return m_state; }

private:
    using Handle = mpg123_handle_struct;

    qsizetype pull(float *samples, qsizetype frames) override;
    qsizetype resample(float *samples, qsizetype frames);
    qsizetype decode(float *samples, qsizetype frames);
    void endTrack();
    void applyVolume(float *samples, qsizetype frames) const;
    void moveTo(qint64 frame);
    qint64 unitsOf(qint64 frames) const;

    AudioOutput &m_output;
    State m_state = State::NoFile;

    // Written by the owner's thread with the output locked; read by the output's thread.
    Handle *m_handle = nullptr;
    long m_rate = AudioOutput::kRate;
    qint64 m_totalFrames = 0;
    // For a file at another rate than the output's: the resampler, its input block, and what
    // it gave beyond the last pull (from m_spareStart on).
    std::unique_ptr<Resampler> m_resampler;
    std::vector<float> m_decoded;
    std::vector<float> m_spare;
    qsizetype m_spareStart = 0;
    qsizetype m_spareEnd = 0;

    // Only on the owner's thread: a play point written but not yet sought to.
    std::optional<qint64> m_pendingFrame;

    std::atomic<qint64> m_playedFrames{0};
    std::atomic<bool> m_playing{false};
    std::atomic<bool> m_atEnd{false};
    std::atomic<bool> m_repeat{false};
    std::atomic<int> m_volume{100};
};
