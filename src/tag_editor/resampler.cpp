#include "resampler.h"

#include "platform/audiooutput.h"

#include <QLoggingCategory>

#include <syn123.h>

#include <algorithm>

Q_LOGGING_CATEGORY(lcResampler, "tracklodge.player.resampler")

Resampler::Resampler(long inputRate, long outputRate, qsizetype maxInputFrames)
{
    int error = SYN123_OK;
    m_handle = syn123_new(outputRate, AudioOutput::kChannels, MPG123_ENC_FLOAT_32, 0, &error);
    if (m_handle) {
        // The full-quality mode (108 dB), without smoothing: the ratio never changes on the way.
        error =
            syn123_setup_resample(m_handle, inputRate, outputRate, AudioOutput::kChannels, 0, 0);
    }
    const auto blockInput =
        std::min<size_t>(size_t(maxInputFrames), syn123_resample_maxincount(inputRate, outputRate));
    const size_t blockOutput = syn123_resample_count(inputRate, outputRate, blockInput);
    if (!m_handle || error != SYN123_OK || blockInput == 0 || blockOutput == 0) {
        qCWarning(lcResampler) << "cannot resample from" << inputRate << "to" << outputRate
                               << syn123_strerror(error);
        if (m_handle)
            syn123_del(m_handle);
        m_handle = nullptr;
        return;
    }
    m_maxInputFrames = qsizetype(blockInput);
    m_maxOutputFrames = qsizetype(blockOutput);
}

Resampler::~Resampler()
{
    if (m_handle)
        syn123_del(m_handle);
}

qsizetype Resampler::inputFor(qsizetype outputFrames) const
{
    const ssize_t needed =
        syn123_resample_inexpect(m_handle, size_t(std::max<qsizetype>(outputFrames, 1)));
    return std::clamp<qsizetype>(needed, 1, m_maxInputFrames);
}

qsizetype Resampler::run(float *input, qsizetype frames, float *output)
{
    return qsizetype(
        syn123_resample(m_handle, output, input, size_t(std::min(frames, m_maxInputFrames))));
}
