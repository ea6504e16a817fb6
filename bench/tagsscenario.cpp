#include "benchutil.h"
#include "scenarios.h"

#include "tags/tagfile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace Bench {

namespace {

constexpr qsizetype kFiles = 10000;
constexpr int kFramesPerFile = 3;
constexpr qsizetype kFrameSize = 417;
constexpr qsizetype kTagSize = 128;

// Three silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz) and a tag with varied texts.
QByteArray fileContents(qsizetype i)
{
    QByteArray frame(kFrameSize, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x64';
    QByteArray bytes = frame.repeated(kFramesPerFile);

    const auto field = [&bytes](const QByteArray &text, qsizetype width) {
        bytes.append(text.left(width));
        bytes.append(width - qMin(text.size(), width), ' ');
    };
    bytes.append("TAG");
    field("Brano numero " + QByteArray::number(i), 30);
    field("Artista " + QByteArray::number(i % 500), 30);
    field("Album " + QByteArray::number(i % 1000), 30);
    field(QByteArray::number(1960 + i % 60), 4);
    field("Commento \xE8 \x80", 30);
    bytes.append(static_cast<char>(i % 148));
    return bytes;
}

QStringList writeFiles(const QString &folder)
{
    QStringList paths;
    paths.reserve(kFiles);
    for (qsizetype i = 0; i < kFiles; ++i) {
        const QString path = QStringLiteral("%1/brano %2.mp3")
                                 .arg(folder)
                                 .arg(static_cast<qlonglong>(i), 5, 10, QChar(u'0'));
        QFile file(path);
        const QByteArray bytes = fileContents(i);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        paths << path;
    }
    return paths;
}

// The plainest reading of the same bytes: open, size, one positioned read, close.
qsizetype readLastBlocks(const std::vector<QByteArray> &names)
{
    qsizetype tagged = 0;
    char block[kTagSize];
    for (const QByteArray &name : names) {
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info;
        if (::fstat(fd, &info) == 0 && info.st_size >= kTagSize &&
            ::pread(fd, block, kTagSize, info.st_size - kTagSize) == kTagSize && block[0] == 'T')
            ++tagged;
        ::close(fd);
    }
    return tagged;
}

} // namespace

void runTags()
{
    QTemporaryDir dir;
    const QStringList paths = writeFiles(makeTempFolder(dir));
    std::vector<QByteArray> names;
    names.reserve(paths.size());
    for (const QString &path : paths)
        names.push_back(QFile::encodeName(path));

    qsizetype present = 0;
    const double ms = medianMs([&] {
        present = 0;
        for (const QString &path : paths) {
            if (readTag(path).outcome == TagOutcome::Present)
                ++present;
        }
    });
    qsizetype baselineTagged = 0;
    const double baseline = medianMs([&] { baselineTagged = readLastBlocks(names); });
    if (present != kFiles || baselineTagged != kFiles)
        qFatal("tags scenario read the wrong number of tags");
    report("tags", kFiles, ms, baseline);
}

} // namespace Bench
