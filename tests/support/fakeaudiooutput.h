#pragma once

#include "platform/audiooutput.h"

#include <QList>

#include <mutex>

/// A sound device for tests. Nothing plays by itself: render() pulls from the source as the
/// device's thread would, on the calling thread, so a test decides exactly how much is played.
class FakeAudioOutput : public AudioOutput
{
public:
    /// Makes open() fail, as on a machine where no device opens at all.
    void setOpenFails(bool fails) { m_openFails = fails; }

    bool open() override;
    bool isOpen() const override { return m_open; }
    void setSource(AudioSource *source) override
    {
        locked([&] { m_source = source; });
    }
    void removeSource(AudioSource *source) override
    {
        locked([&] { m_source = m_source == source ? nullptr : m_source; });
    }
    void pause() override
    {
        locked([this] { m_paused = true; });
    }
    void resume() override
    {
        locked([this] { m_paused = false; });
    }
    void lock() override { m_mutex.lock(); }
    void unlock() override { m_mutex.unlock(); }

    /// Plays up to `frames` frames, pulling at most `chunk` at a time, as a device does; returns
    /// the samples the source wrote (interleaved stereo), without the silence of pulls it left
    /// short. Nothing when the output is closed, paused or has no source.
    QList<float> render(qsizetype frames, qsizetype chunk = 1024);

    bool isPaused() const { return m_paused; }
    int openCalls() const { return m_openCalls; }
    AudioSource *source() const { return m_source; }

private:
    template <typename Change> void locked(Change change)
    {
        std::lock_guard locker(m_mutex);
        change();
    }

    // A standard mutex so ThreadSanitizer sees the locking.
    std::recursive_mutex m_mutex;
    bool m_openFails = false;
    bool m_open = false;
    bool m_triedOpen = false;
    int m_openCalls = 0;
    bool m_paused = true;
    AudioSource *m_source = nullptr;
};
