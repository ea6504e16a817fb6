#include "testaudio.h"
#include "filestate.h"
#include "testmp3.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtDebug>

#include <cmath>
#include <numbers>

namespace {

// Appends `value` as `bytes` little-endian bytes.
void appendLe(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

QByteArray tonePcm(int frames, int rate, int channels, int silentFrames)
{
    QByteArray pcm;
    pcm.reserve(qsizetype(frames) * channels * 2);
    for (int i = 0; i < frames; ++i) {
        const double tone = std::sin(2 * std::numbers::pi * 440 * i / rate);
        const auto sample = static_cast<qint16>(i < silentFrames ? 0 : std::lround(12000 * tone));
        for (int c = 0; c < channels; ++c)
            appendLe(pcm, static_cast<quint16>(sample), 2);
    }
    return pcm;
}

QByteArray lameMp3(const QByteArray &pcm, int rate, int channels, const QStringList &options)
{
    QTemporaryDir dir;
    const QString input = writeMp3(dir.path(), QStringLiteral("in.raw"), pcm);
    const QString output = dir.filePath(QStringLiteral("out.mp3"));
    if (input.isEmpty())
        return {};
    // Files, not pipes: lame fills in its header frame only in a file it can seek back into.
    QStringList arguments{"--quiet",    "-r",
                          "-s",         QString::number(rate / 1000.0),
                          "--bitwidth", "16",
                          "--signed",   "--little-endian",
                          "-m",         channels == 1 ? "m" : "s"};
    arguments << options << input << output;
    QProcess lame;
    lame.start(QStringLiteral("lame"), arguments);
    if (!lame.waitForFinished(60000) || lame.exitStatus() != QProcess::NormalExit ||
        lame.exitCode() != 0) {
        qWarning() << "lame failed:" << lame.errorString() << lame.readAllStandardError();
        return {};
    }
    return fileBytes(output);
}

QByteArray silentFrames(SilentFrameKind kind, int count)
{
    // Sync, version, layer III without CRC; bit rate and rate index; padding off; mode; the side
    // information and main data all zero decode to silence.
    QByteArray frame;
    switch (kind) {
    case SilentFrameKind::Mpeg1Stereo48k:
        // 144 × 128000 / 48000 = 384 bytes; joint stereo.
        frame = QByteArray("\xFF\xFB\x94\x64", 4) + QByteArray(384 - 4, '\0');
        break;
    case SilentFrameKind::Mpeg2Mono22k:
        // 72 × 64000 / 22050 = 208 bytes; mono.
        frame = QByteArray("\xFF\xF3\x80\xC4", 4) + QByteArray(208 - 4, '\0');
        break;
    }
    return frame.repeated(qMax(count, 0));
}

QByteArray wavFile(const QByteArray &pcm)
{
    // RIFF size, format chunk size, PCM, 2 channels, 44.1 kHz, bytes per second and per frame,
    // 16 bits; then the data chunk's size.
    QByteArray wav("RIFF");
    appendLe(wav, quint32(36 + pcm.size()), 4);
    wav.append("WAVEfmt ");
    for (const auto &[value, bytes] :
         {std::pair{16U, 4}, {1U, 2}, {2U, 2}, {44100U, 4}, {44100U * 4, 4}, {4U, 2}, {16U, 2}})
        appendLe(wav, value, bytes);
    wav.append("data");
    appendLe(wav, quint32(pcm.size()), 4);
    return wav + pcm;
}
