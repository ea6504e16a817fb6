#pragma once

#include <QByteArray>
#include <QStringList>

// Audio for the player's tests: raw PCM of a known number of frames, MP3 files encoded from it
// with the lame program, and silent MPEG frames at rates other than testmp3.h's.

/// `frames` frames of 16-bit little-endian PCM with `channels` interleaved channels: the first
/// `silentFrames` are silence, the rest a 440 Hz tone at `rate` Hz, the same in every channel.
QByteArray tonePcm(int frames, int rate, int channels, int silentFrames = 0);

/// `pcm` (as tonePcm makes it) encoded by lame with `options` (e.g. "-b", "128" or "-V", "4").
/// lame writes its header frame, so a decoder that honours it yields exactly the input's frames;
/// add "-t" for a file without one. Empty, with a warning, when lame fails or is missing.
QByteArray lameMp3(const QByteArray &pcm, int rate, int channels, const QStringList &options);

/// Silent MPEG Layer III frames without any header frame, like mpegFrames() but of other kinds.
enum class SilentFrameKind {
    Mpeg1Stereo48k, ///< 128 kbit/s, 384 bytes and 1152 frames of audio each
    Mpeg2Mono22k,   ///< 64 kbit/s, 208 bytes and 576 frames of audio each
};
QByteArray silentFrames(SilentFrameKind kind, int count);

/// A RIFF WAVE file of `pcm`, 16-bit stereo at 44.1 kHz.
QByteArray wavFile(const QByteArray &pcm);
