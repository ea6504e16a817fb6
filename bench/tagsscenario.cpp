#include "benchutil.h"
#include "collection.h"
#include "scenarios.h"

#include "tags/tagfile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace Bench {

namespace {

constexpr qsizetype kFiles = 10000;
constexpr qsizetype kTagSize = 128;

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
            ::pread(fd, block, kTagSize, info.st_size - kTagSize) == kTagSize &&
            std::memcmp(block, "TAG", 3) == 0)
            ++tagged;
        ::close(fd);
    }
    return tagged;
}

} // namespace

void runTags()
{
    QTemporaryDir dir;
    const Collection collection = writeCollection(makeTempFolder(dir), kFiles, Tagging::Mixed);
    const QStringList &paths = collection.mp3Files;
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
    if (present != collection.id3v1Tagged || baselineTagged != present)
        qFatal("tags scenario read the wrong number of tags");
    report("tags", paths.size(), ms, baseline, QStringLiteral("tagged=%1").arg(present));
}

} // namespace Bench
