#include "player.h"

#include "playerdisplay.h"
#include "resampler.h"

#include <QFile>
#include <QLoggingCategory>

#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

Q_LOGGING_CATEGORY(lcPlayer, "tracklodge.player")

namespace {

constexpr qsizetype kFrameBytes = AudioOutput::kChannels * qsizetype(sizeof(float));
// Frames decoded at a time for the resampler.
constexpr qsizetype kDecodeBlock = 2048;

struct HandleDeleter
{
    void operator()(mpg123_handle *handle) const
    {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using HandlePtr = std::unique_ptr<mpg123_handle, HandleDeleter>;

struct Decoder
{
    HandlePtr handle;
    long rate = 0;
    qint64 frames = 0;
};

bool hasOutputFormat(mpg123_handle *handle, long rate)
{
    long currentRate = 0;
    int channels = 0;
    int encoding = 0;
    return mpg123_getformat(handle, &currentRate, &channels, &encoding) == MPG123_OK &&
           currentRate == rate && channels == MPG123_STEREO && encoding == MPG123_ENC_FLOAT_32;
}

std::optional<Decoder> openDecoder(const QString &path)
{
    int error = MPG123_OK;
    HandlePtr handle(mpg123_new(nullptr, &error));
    if (!handle) {
        qCWarning(lcPlayer) << "cannot make a decoder:" << mpg123_plain_strerror(error);
        return std::nullopt;
    }
    mpg123_handle *h = handle.get();
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET, 0);
    // Every rate as it is, always as float stereo; libmpg123's own rate conversion only drops
    // or repeats samples, so the player resamples itself.
    mpg123_format_none(h);
    const long *rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(h, rates[i], MPG123_STEREO, MPG123_ENC_FLOAT_32);

    // mpg123_open takes any file that opens, MPEG audio or not: the scan and the first frame's
    // format tell. The full scan also gives the exact length where a header would only guess.
    Decoder decoder;
    int channels = 0;
    int encoding = 0;
    if (mpg123_open(h, QFile::encodeName(path).constData()) != MPG123_OK ||
        mpg123_scan(h) != MPG123_OK ||
        mpg123_getformat(h, &decoder.rate, &channels, &encoding) != MPG123_OK) {
        qCDebug(lcPlayer) << "cannot decode" << path << mpg123_strerror(h);
        return std::nullopt;
    }
    decoder.frames = mpg123_length(h);
    if (decoder.frames <= 0 || decoder.rate <= 0) {
        qCDebug(lcPlayer) << "no audio in" << path;
        return std::nullopt;
    }
    decoder.handle = std::move(handle);
    return decoder;
}

} // namespace

Player::Player(AudioOutput &output, QObject *parent)
    : QObject(parent)
    , m_output(output)
{}

Player::~Player()
{
    closeFile();
    m_output.removeSource(this);
}

bool Player::init()
{
    return m_output.open();
}

bool Player::openFile(const QString &path)
{
    closeFile();
    std::optional<Decoder> decoder = openDecoder(path);
    if (!decoder)
        return false;
    std::unique_ptr<Resampler> resampler;
    if (decoder->rate != AudioOutput::kRate) {
        resampler = std::make_unique<Resampler>(decoder->rate, AudioOutput::kRate, kDecodeBlock);
        if (!resampler->isValid())
            return false;
    }
    {
        AudioOutputLocker locker(m_output);
        m_handle = decoder->handle.release();
        m_rate = decoder->rate;
        m_totalFrames = decoder->frames;
        m_playedFrames = 0;
        m_atEnd = false;
        m_resampler = std::move(resampler);
        if (m_resampler) {
            // Every buffer the output's thread uses is made here, not while it plays.
            m_decoded.assign(size_t(kDecodeBlock * AudioOutput::kChannels), 0.0f);
            m_spare.assign(size_t(m_resampler->maxOutputFrames() * AudioOutput::kChannels), 0.0f);
        }
        m_spareStart = m_spareEnd = 0;
        m_output.setSource(this);
    }
    m_state = State::Stopped;
    return true;
}

void Player::closeFile()
{
    if (m_state == State::NoFile)
        return;
    m_playing = false;
    m_output.pause();
    m_output.removeSource(this);
    HandlePtr released;
    std::unique_ptr<Resampler> releasedResampler;
    {
        AudioOutputLocker locker(m_output);
        released.reset(m_handle);
        m_handle = nullptr;
        releasedResampler = std::move(m_resampler);
        m_totalFrames = 0;
        m_playedFrames = 0;
        m_atEnd = false;
        m_spareStart = m_spareEnd = 0;
    }
    m_pendingFrame.reset();
    m_state = State::NoFile;
}

qint64 Player::length() const
{
    return m_state == State::NoFile ? -1 : unitsOf(m_totalFrames);
}

qint64 Player::position() const
{
    if (m_state == State::NoFile)
        return 0;
    return unitsOf(m_pendingFrame.value_or(m_playedFrames.load()));
}

void Player::setPosition(qint64 units)
{
    if (m_state == State::NoFile)
        return;
    const auto frame =
        std::llround(double(units) * double(m_rate) / PlayerDisplay::kUnitsPerSecond);
    m_pendingFrame = std::clamp<qint64>(frame, 0, m_totalFrames);
}

void Player::seek()
{
    if (!m_pendingFrame)
        return;
    moveTo(*m_pendingFrame);
    m_pendingFrame.reset();
}

void Player::setVolume(int percent)
{
    m_volume = std::clamp(percent, 0, 100);
}

void Player::play(Repeat repeat)
{
    if (m_state == State::NoFile)
        return;
    m_repeat = repeat == Repeat::On;
    if (m_pendingFrame)
        seek();
    else if (m_atEnd)
        moveTo(0);
    if (m_state == State::Playing)
        return;
    m_state = State::Playing;
    m_playing = true;
    m_output.resume();
}

void Player::pause()
{
    if (m_state != State::Playing)
        return;
    m_playing = false;
    m_output.pause();
    m_state = State::Paused;
}

void Player::stop()
{
    if (m_state == State::NoFile)
        return;
    m_playing = false;
    m_output.pause();
    m_state = State::Stopped;
    m_pendingFrame = 0;
}

void Player::moveTo(qint64 frame)
{
    AudioOutputLocker locker(m_output);
    off_t reached = mpg123_seek(m_handle, off_t(frame), SEEK_SET);
    if (reached < 0) {
        qCWarning(lcPlayer) << "cannot seek:" << mpg123_strerror(m_handle);
        reached = mpg123_tell(m_handle);
    }
    m_playedFrames = std::clamp<qint64>(reached, 0, m_totalFrames);
    m_atEnd = false;
    m_spareStart = m_spareEnd = 0;
}

qint64 Player::unitsOf(qint64 frames) const
{
    return std::llround(double(frames) * PlayerDisplay::kUnitsPerSecond / double(m_rate));
}

qsizetype Player::pull(float *samples, qsizetype frames)
{
    if (!m_handle || !m_playing.load())
        return 0;
    const qsizetype written = m_resampler      ? resample(samples, frames)
                              : m_atEnd.load() ? 0
                                               : decode(samples, frames);
    applyVolume(samples, written);
    return written;
}

qsizetype Player::resample(float *samples, qsizetype frames)
{
    constexpr auto kChannels = AudioOutput::kChannels;
    qsizetype done = 0;
    while (done < frames) {
        if (m_spareStart == m_spareEnd) {
            if (m_atEnd.load())
                break;
            const qsizetype decoded =
                decode(m_decoded.data(), m_resampler->inputFor(frames - done));
            if (decoded == 0)
                break;
            m_spareStart = 0;
            m_spareEnd = m_resampler->run(m_decoded.data(), decoded, m_spare.data());
        }
        const qsizetype taken = std::min(frames - done, m_spareEnd - m_spareStart);
        std::copy_n(m_spare.data() + m_spareStart * kChannels, taken * kChannels,
                    samples + done * kChannels);
        m_spareStart += taken;
        done += taken;
    }
    return done;
}

qsizetype Player::decode(float *samples, qsizetype frames)
{
    qsizetype done = 0;
    // Set after a restart for repeat: a file that gives nothing more ends rather than spins.
    bool restarted = false;
    while (done < frames) {
        size_t bytes = 0;
        const int result = mpg123_read(m_handle, samples + done * AudioOutput::kChannels,
                                       size_t((frames - done) * kFrameBytes), &bytes);
        const auto got = qsizetype(bytes) / kFrameBytes;
        if (got > 0) {
            done += got;
            m_playedFrames = std::min(m_playedFrames.load() + got, m_totalFrames);
            restarted = false;
        }
        if (result == MPG123_OK && got > 0)
            continue;
        if (result == MPG123_NEW_FORMAT && hasOutputFormat(m_handle, m_rate))
            continue;
        // The end of the file, a decoding error or another format in mid-file: the track ends.
        if (m_repeat.load() && !restarted && mpg123_seek(m_handle, 0, SEEK_SET) == 0) {
            m_playedFrames = 0;
            restarted = true;
            continue;
        }
        endTrack();
        break;
    }
    return done;
}

void Player::endTrack()
{
    // The display relies on the played position reaching the length exactly, even when the
    // track ends early because the file shrank or broke.
    m_playedFrames = m_totalFrames;
    m_atEnd = true;
}

void Player::applyVolume(float *samples, qsizetype frames) const
{
    const int volume = m_volume.load();
    if (volume == 100)
        return;
    const float factor = float(volume) / 100.0f;
    std::for_each(samples, samples + frames * AudioOutput::kChannels,
                  [factor](float &sample) { sample *= factor; });
}
