#include "collection.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <sys/stat.h>

namespace Bench {

namespace {

constexpr qsizetype kFrameSize = 417;
constexpr qsizetype kTagSize = 128;
// 10,000 files in 842 folders: 11.876 files a folder on average.
constexpr qsizetype kFilesPerThousandFolders = 11876;

const char *const kFirstNames[] = {"Lucio",    "Fabrizio",  "Mina",   "Franco",   "Ornella",
                                   "Adriano",  "Nicolò",    "Zoë",    "Renée",    "Björk",
                                   "Sinéad",   "Raffaella", "Gino",   "Miles",    "Ella",
                                   "Frédéric", "Antonín",   "Jürgen", "Ludovico", "Pino"};
const char *const kLastNames[] = {"Dalla",      "De André", "Battiato",   "Vanoni",  "Celentano",
                                  "D'Angelo",   "Fabi",     "O'Connor",   "Mazzini", "Davis",
                                  "Fitzgerald", "Chopin",   "Dvořák",     "Daniele", "Einaudi",
                                  "Paoli",      "Gaber",    "Ramazzotti", "Carrà",   "Zucchero"};
const char *const kWords[] = {
    "Amore",  "Notte",    "Città",    "Perché",        "L'estate", "Cuore", "\"Live\"",
    "Café",   "Mare",     "Tempo",    "Rock 'n' Roll", "Dream",    "Già",   "Vento",
    "Strada", "Sole",     "Silenzio", "Bohème",        "Blue",     "Luna",  "Dell'anima",
    "Naïve",  "Señorita", "Heart",    "Fuoco",         "Così"};
const char *const kCompanions[] = {"cover.jpg", "folder.jpg", "playlist.m3u",
                                   "info.txt",  "Thumbs.db",  "album.nfo"};

template <size_t N> QString pick(QRandomGenerator &rng, const char *const (&list)[N])
{
    return QString::fromUtf8(list[rng.bounded(static_cast<quint32>(N))]);
}

QString words(QRandomGenerator &rng, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << pick(rng, kWords);
    return parts.join(u' ');
}

QByteArray latin1Field(const QString &text, qsizetype width)
{
    QByteArray bytes = text.toLatin1().left(width);
    bytes.append(width - bytes.size(), ' ');
    return bytes;
}

// Silent MPEG-1 Layer III frames, a few of them.
QByteArray audio(int frames)
{
    QByteArray frame(kFrameSize, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x64';
    return frame.repeated(frames);
}

QByteArray id3v1Tag(const QString &title, const QString &artist, const QString &album, int year,
                    int genre)
{
    QByteArray tag("TAG");
    tag += latin1Field(title, 30);
    tag += latin1Field(artist, 30);
    tag += latin1Field(album, 30);
    tag += latin1Field(QString::number(year), 4);
    tag += latin1Field(QStringLiteral("Commento è"), 30);
    tag += static_cast<char>(genre);
    Q_ASSERT(tag.size() == kTagSize);
    return tag;
}

// An ID3v2.3 tag as tag programs write it: Latin-1 text frames, a comment, a numeric genre and
// some padding.
QByteArray id3v2Tag(qsizetype i)
{
    QByteArray frames;
    const auto frame = [&frames](const char *id, const QByteArray &data) {
        const qsizetype size = data.size();
        frames += QByteArray(id) + char(size >> 24) + char((size >> 16) & 0xFF) +
                  char((size >> 8) & 0xFF) + char(size & 0xFF) + QByteArray(2, '\0') + data;
    };
    const QByteArray latin1(1, '\0');
    frame("TIT2", latin1 + "Brano v2 numero " + QByteArray::number(i));
    frame("TPE1", latin1 + "Artista " + QByteArray::number(i / 100));
    frame("TALB", latin1 + "Album " + QByteArray::number(i / 10));
    frame("TYER", latin1 + QByteArray::number(1960 + i % 60));
    frame("TCON", latin1 + "(" + QByteArray::number(i % 148) + ")");
    frame("COMM", latin1 + "ita" + '\0' + "Commento \xE8");
    frames += QByteArray(256, '\0');
    const qsizetype size = frames.size();
    return QByteArray("ID3\x03\x00\x00", 6) + char((size >> 21) & 0x7F) +
           char((size >> 14) & 0x7F) + char((size >> 7) & 0x7F) + char(size & 0x7F) + frames;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

Collection writeCollection(const QString &root, qsizetype files, Tagging tagging)
{
    QRandomGenerator rng(15);
    Collection c;
    const qsizetype folders = std::max<qsizetype>(1, (files * 1000 + kFilesPerThousandFolders / 2) /
                                                         kFilesPerThousandFolders);
    qsizetype written = 0;
    for (qsizetype folder = 0; folder < folders; ++folder) {
        // Seven albums an artist, on average; the last folder takes what is left.
        const qsizetype artistNumber = folder / 7;
        QRandomGenerator artistRng(static_cast<quint32>(artistNumber) * 7919u + 1u);
        const QString artist = pick(artistRng, kFirstNames) + u' ' + pick(artistRng, kLastNames);
        const QString album =
            words(rng, 1 + static_cast<int>(rng.bounded(3))) + QStringLiteral(" (%1)").arg(folder);
        const int year = 1960 + static_cast<int>(rng.bounded(65));
        const QString path = QStringLiteral("%1/%2 %3/%4 - %5")
                                 .arg(root, artist)
                                 .arg(artistNumber)
                                 .arg(year)
                                 .arg(album);
        if (!QDir().mkpath(path))
            qFatal("cannot make %s", qPrintable(path));
        ++c.folders;
        const qsizetype remaining = files - written;
        const qsizetype left = folders - folder;
        qsizetype tracks = remaining / left;
        if (left > 1 && tracks > 4)
            tracks += static_cast<qsizetype>(rng.bounded(5)) - 2;
        tracks = std::min(tracks, remaining);
        for (const char *companion : kCompanions) {
            if (rng.bounded(3) != 0 || QByteArrayView(companion) == "cover.jpg")
                writeFile(path + u'/' + QString::fromUtf8(companion), QByteArray(200, 'x'));
        }
        for (qsizetype track = 0; track < tracks; ++track, ++written) {
            const qsizetype i = written;
            const QString title = words(rng, 1 + static_cast<int>(rng.bounded(4)));
            const quint32 extension = rng.bounded(100);
            const QString suffix = extension < 8    ? QStringLiteral(".MP3")
                                   : extension < 11 ? QStringLiteral(".Mp3")
                                                    : QStringLiteral(".mp3");
            const QString file = QStringLiteral("%1/%2 - %3%4")
                                     .arg(path)
                                     .arg(track + 1, 2, 10, QLatin1Char('0'))
                                     .arg(title, suffix);
            QByteArray bytes = audio(2 + static_cast<int>(rng.bounded(3)));
            const quint32 kind = rng.bounded(100);
            if (tagging == Tagging::MixedId3v2 && i % 4 == 3) {
                bytes = id3v2Tag(i) + bytes;
                ++c.id3v2Only;
            } else if (tagging != Tagging::AllId3v1 && kind < 2) {
                bytes = kind == 0 ? QByteArray() : bytes.left(100); // empty, or shorter than a tag
            } else if (tagging != Tagging::AllId3v1 && kind < 18) {
                // untagged audio
            } else {
                bytes += id3v1Tag(title, artist, album, year, static_cast<int>(i % 148));
                ++c.id3v1Tagged;
            }
            writeFile(file, bytes);
            if (rng.bounded(100) < 4)
                ::chmod(QFile::encodeName(file).constData(), 0444);
            c.mp3Files << file;
        }
    }
    return c;
}

void splitFilePath(const QString &path, QString &folder, QString &baseName)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    folder = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    baseName = name.left(name.lastIndexOf(u'.'));
}

} // namespace Bench
