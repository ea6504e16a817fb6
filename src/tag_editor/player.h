#pragma once

#include <QString>
#include <QtGlobal>

/// What the tag editor asks of the component that decodes and sounds an MP3 file. Lengths and
/// positions are in player units, kUnitsPerSecond of them to a second.
class Player
{
public:
    /// Player units in one second.
    static constexpr double kUnitsPerSecond = 44305.7023255814;
    /// Whether playback starts again by itself at the end of the track.
    enum class Repeat { Off, On };

    virtual ~Player() = default;

    /// True when this player can sound files at all; the null player cannot.
    virtual bool isAvailable() const = 0;
    /// Prepares the audio output; called first when the editor loads a record.
    virtual void init() = 0;
    /// Loads a file; afterwards length() tells whether it can be played.
    virtual void openFile(const QString &path) = 0;
    /// Length of the loaded file, or -1 when nothing can be played.
    virtual qint64 length() const = 0;
    /// Current playing point.
    virtual qint64 position() const = 0;
    /// Moves the playing point; seek() makes playback go on from there.
    virtual void setPosition(qint64 position) = 0;
    /// Loudness, 0 to 100.
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;
    /// Starts (or goes on with) playback.
    virtual void play(Repeat repeat) = 0;
    /// Halts playback at the current position.
    virtual void pause() = 0;
    /// Ends playback.
    virtual void stop() = 0;
    /// Goes on from the position written last.
    virtual void seek() = 0;
    /// Releases the loaded file.
    virtual void closeFile() = 0;
};

/// The player of a program built without audio: it plays nothing, and length() is always -1.
class NullPlayer : public Player
{
public:
    bool isAvailable() const override { return false; }
    void init() override {}
    void openFile(const QString &) override {}
    qint64 length() const override { return -1; }
    qint64 position() const override { return 0; }
    void setPosition(qint64) override {}
    int volume() const override { return 0; }
    void setVolume(int) override {}
    void play(Repeat) override {}
    void pause() override {}
    void stop() override {}
    void seek() override {}
    void closeFile() override {}
};
