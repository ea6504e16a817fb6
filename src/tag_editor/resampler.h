#pragma once

#include <QtGlobal>

struct syn123_struct;

/// Converts interleaved float stereo from one rate to another as it streams, with libsyn123's
/// resampler: output comes as soon as input goes in, held back only by a few frames of filter
/// delay, so nothing is left to flush at the end of a track.
class Resampler
{
public:
    /// A resampler from `inputRate` to `outputRate` for blocks of at most `maxInputFrames`
    /// frames. isValid() is false when the rates cannot be handled.
    Resampler(long inputRate, long outputRate, qsizetype maxInputFrames);
    ~Resampler();
    Resampler(const Resampler &) = delete;
    Resampler &operator=(const Resampler &) = delete;

    bool isValid() const { return m_handle != nullptr; }
    /// Input frames that give at least `outputFrames` frames now, but at most one block.
    qsizetype inputFor(qsizetype outputFrames) const;
    /// The most frames one block of input can give.
    qsizetype maxOutputFrames() const { return m_maxOutputFrames; }
    /// Resamples `frames` frames of `input` (at most one block) into `output`, which has room for
    /// maxOutputFrames(); returns the frames written.
    qsizetype run(float *input, qsizetype frames, float *output);

private:
    syn123_struct *m_handle = nullptr;
    qsizetype m_maxInputFrames = 0;
    qsizetype m_maxOutputFrames = 0;
};
