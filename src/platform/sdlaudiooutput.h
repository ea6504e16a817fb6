#pragma once

#include "audiooutput.h"

#include <QString>

/// The sound device through SDL2's audio: float stereo at kRate Hz, pulled by SDL's audio
/// thread; SDL converts it to whatever the hardware takes.
class SdlAudioOutput : public AudioOutput
{
public:
    SdlAudioOutput() = default;
    /// Closes the device and shuts SDL's audio down when this output had opened them.
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput &) = delete;
    SdlAudioOutput &operator=(const SdlAudioOutput &) = delete;

    /// The program's one output, made on first use and never destroyed, so the device is never
    /// closed while the program runs.
    static SdlAudioOutput &instance();

    /// Tells SDL to leave the signal handlers alone, so the program still ends on SIGTERM, then
    /// opens the default device; when that fails, SDL's "dummy" driver instead.
    bool open() override;
    bool isOpen() const override { return m_device != 0; }
    void setSource(AudioSource *source) override;
    void removeSource(AudioSource *source) override;
    void pause() override;
    void resume() override;
    void lock() override;
    void unlock() override;

    /// Name of the SDL audio driver in use ("dummy" for the silent one); empty when not open.
    QString driverName() const;

    /// Fills `frames` frames from the source, and silence where it has nothing: what SDL's audio
    /// thread calls, with the device locked. Callable directly when the output is not open.
    void render(float *samples, qsizetype frames);

private:
    bool openDevice();
    static void callback(void *userdata, quint8 *stream, int length);

    quint32 m_device = 0;
    bool m_triedOpen = false;
    bool m_openResult = false;
    AudioSource *m_source = nullptr;
};
