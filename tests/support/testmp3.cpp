#include "testmp3.h"

#include <QFile>
#include <QtDebug>

namespace {

// Sync word, MPEG-1 Layer III without CRC; 128 kbit/s, 44.1 kHz, no padding; joint stereo,
// original. 144 * 128000 / 44100 = 417 bytes per frame.
constexpr char kFrameHeader[] = {'\xFF', '\xFB', '\x90', '\x64'};
constexpr qsizetype kFrameSize = 417;

} // namespace

QByteArray mpegFrames(int count)
{
    QByteArray frame(kFrameSize, '\0');
    frame.replace(0, sizeof(kFrameHeader), QByteArray(kFrameHeader, sizeof(kFrameHeader)));
    return frame.repeated(qMax(count, 0));
}

QByteArray tagBlock(const QByteArray &title, const QByteArray &artist, const QByteArray &album,
                    const QByteArray &year, const QByteArray &comment, quint8 genreByte)
{
    QByteArray block("TAG");
    for (const auto &[text, width] :
         {std::pair{&title, 30}, {&artist, 30}, {&album, 30}, {&year, 4}, {&comment, 30}})
        block.append(text->leftJustified(width, ' ', true));
    block.append(static_cast<char>(genreByte));
    Q_ASSERT(block.size() == 128);
    return block;
}

QString writeMp3(const QString &folder, const QString &fileName, const QByteArray &audio,
                 const QByteArray &tag)
{
    const QString path = folder + u'/' + fileName;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(audio + tag) != audio.size() + tag.size() || !file.flush()) {
        qWarning() << "cannot write test MP3" << path << file.errorString();
        return {};
    }
    return path;
}
