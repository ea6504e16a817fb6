#pragma once

#include <QtGlobal>

/// What an audio output plays: it hands out stereo audio on the output's own thread.
class AudioSource
{
public:
    virtual ~AudioSource() = default;
    /// Writes up to `frames` frames at AudioOutput::kRate into `samples`, left and right
    /// interleaved, each sample a float from -1 to 1, and returns how many it wrote; the output
    /// plays silence for the rest. Called on the output's thread, with the output locked.
    virtual qsizetype pull(float *samples, qsizetype frames) = 0;
};

/// The sound device. It is opened once, at kRate Hz in stereo, and stays open: it is paused when
/// there is nothing to play, because closing a device can block for a long time. While it runs,
/// it pulls audio from its one source on a thread of its own.
class AudioOutput
{
public:
    /// Frames per second the device plays.
    static constexpr int kRate = 44100;
    /// Samples per frame: left and right.
    static constexpr int kChannels = 2;

    virtual ~AudioOutput() = default;

    /// Opens the device, paused; later calls only repeat the first result. When no sound device
    /// opens, a silent one that consumes audio in real time is used instead. False when not even
    /// that opens; the output then never pulls.
    virtual bool open() = 0;
    /// True after a successful open().
    virtual bool isOpen() const = 0;

    /// Makes `source` the one the output pulls from, replacing any other. The source must stay
    /// alive until it is removed. Locks the output while it changes.
    virtual void setSource(AudioSource *source) = 0;
    /// Stops pulling from `source` when it is the current one; another source is left alone.
    /// Once this returns, `source` is not called any more.
    virtual void removeSource(AudioSource *source) = 0;

    /// Stops the device pulling; the device stays open. Once this returns the source is not
    /// called until resume().
    virtual void pause() = 0;
    /// Lets the device pull again.
    virtual void resume() = 0;

    /// While locked, the output does not call its source, so the source's state may change.
    /// Locks nest: each lock() needs its unlock().
    virtual void lock() = 0;
    virtual void unlock() = 0;
};

/// Holds an AudioOutput locked for the life of the scope.
class AudioOutputLocker
{
public:
    explicit AudioOutputLocker(AudioOutput &output)
        : m_output(output)
    {
        m_output.lock();
    }
    ~AudioOutputLocker() { m_output.unlock(); }
    AudioOutputLocker(const AudioOutputLocker &) = delete;
    AudioOutputLocker &operator=(const AudioOutputLocker &) = delete;

private:
    AudioOutput &m_output;
};
