#include "sdlaudiooutput.h"

#include <QLoggingCategory>

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <algorithm>

Q_LOGGING_CATEGORY(lcAudio, "tracklodge.platform.audio")

namespace {

constexpr int kFrameBytes = AudioOutput::kChannels * int(sizeof(float));
// 2048 frames are 46 ms at 44.1 kHz: short enough for the display to follow, long enough not
// to stutter on a busy machine.
constexpr Uint16 kDeviceFrames = 2048;

} // namespace

SdlAudioOutput::~SdlAudioOutput()
{
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

SdlAudioOutput &SdlAudioOutput::instance()
{
    // Never deleted: destroying it would close the device, which can block at exit.
    static auto *output = new SdlAudioOutput;
    return *output;
}

bool SdlAudioOutput::open()
{
    if (m_triedOpen)
        return m_openResult;
    m_triedOpen = true;
    // Audio alone installs no handlers today; the hint keeps it so should SDL ever change.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!openDevice()) {
        qCWarning(lcAudio) << "no sound device:" << SDL_GetError() << "- playing silently";
        // The dummy driver is never picked by itself; the override beats SDL_AUDIODRIVER too.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        if (!openDevice())
            qCWarning(lcAudio) << "no silent audio device either:" << SDL_GetError();
    }
    m_openResult = m_device != 0;
    return m_openResult;
}

bool SdlAudioOutput::openDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = kRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = kChannels;
    wanted.samples = kDeviceFrames;
    wanted.callback = &SdlAudioOutput::callback;
    wanted.userdata = this;
    // No changes allowed: SDL converts to whatever the hardware wants. A device opens paused.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (m_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void SdlAudioOutput::setSource(AudioSource *source)
{
    AudioOutputLocker locker(*this);
    m_source = source;
}

void SdlAudioOutput::removeSource(AudioSource *source)
{
    AudioOutputLocker locker(*this);
    if (m_source == source)
        m_source = nullptr;
}

void SdlAudioOutput::pause()
{
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 1);
}

void SdlAudioOutput::resume()
{
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 0);
}

void SdlAudioOutput::lock()
{
    if (m_device != 0)
        SDL_LockAudioDevice(m_device);
}

void SdlAudioOutput::unlock()
{
    if (m_device != 0)
        SDL_UnlockAudioDevice(m_device);
}

QString SdlAudioOutput::driverName() const
{
    if (m_device == 0)
        return {};
    return QString::fromUtf8(SDL_GetCurrentAudioDriver());
}

void SdlAudioOutput::render(float *samples, qsizetype frames)
{
    const qsizetype written =
        m_source ? std::clamp<qsizetype>(m_source->pull(samples, frames), 0, frames) : 0;
    std::fill(samples + written * kChannels, samples + frames * kChannels, 0.0f);
}

void SdlAudioOutput::callback(void *userdata, quint8 *stream, int length)
{
    static_cast<SdlAudioOutput *>(userdata)->render(reinterpret_cast<float *>(stream),
                                                    length / kFrameBytes);
}
