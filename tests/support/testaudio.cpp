#include "testaudio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtDebug>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace {

void appendLe16(QByteArray &bytes, qint16 value)
{
    const quint16 raw = static_cast<quint16>(value);
    bytes.append(static_cast<char>(raw & 0xFF));
    bytes.append(static_cast<char>(raw >> 8));
}

void appendLe32(QByteArray &bytes, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(static_cast<char>((value >> shift) & 0xFF));
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
            appendLe16(pcm, sample);
    }
    return pcm;
}

QByteArray lameMp3(const QByteArray &pcm, int rate, int channels, const QStringList &options)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("in.raw"));
    const QString output = dir.filePath(QStringLiteral("out.mp3"));
    QFile raw(input);
    if (!raw.open(QIODevice::WriteOnly) || raw.write(pcm) != pcm.size()) {
        qWarning() << "cannot write" << input;
        return {};
    }
    raw.close();
    // Files, not pipes: lame fills in its header frame only in a file it can seek back into.
    QStringList arguments{
        QStringLiteral("--quiet"),    QStringLiteral("-r"),
        QStringLiteral("-s"),         QString::number(rate / 1000.0),
        QStringLiteral("--bitwidth"), QStringLiteral("16"),
        QStringLiteral("--signed"),   QStringLiteral("--little-endian"),
        QStringLiteral("-m"),         channels == 1 ? QStringLiteral("m") : QStringLiteral("s")};
    arguments << options << input << output;
    QProcess lame;
    lame.start(QStringLiteral("lame"), arguments);
    if (!lame.waitForFinished(60000) || lame.exitStatus() != QProcess::NormalExit ||
        lame.exitCode() != 0) {
        qWarning() << "lame failed:" << lame.errorString() << lame.readAllStandardError();
        return {};
    }
    QFile encoded(output);
    if (!encoded.open(QIODevice::ReadOnly))
        return {};
    return encoded.readAll();
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
    QByteArray wav("RIFF");
    appendLe32(wav, quint32(36 + pcm.size()));
    wav.append("WAVEfmt ");
    appendLe32(wav, 16);
    appendLe16(wav, 1); // PCM
    appendLe16(wav, 2);
    appendLe32(wav, 44100);
    appendLe32(wav, 44100 * 4);
    appendLe16(wav, 4);
    appendLe16(wav, 16);
    wav.append("data");
    appendLe32(wav, quint32(pcm.size()));
    return wav + pcm;
}
