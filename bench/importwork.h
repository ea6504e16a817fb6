#pragma once

#include "import/fileimport.h"
#include "platform/linuxvolumes.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace Bench {

/// The plainest walk: every folder read once, files ending in ".mp3" in any case kept, nothing
/// sorted.
void plainWalk(const std::string &folder, std::vector<std::string> &found);

/// The physical work of an import done plainly: the walk, one open + fstat + pread of the last
/// 128 bytes + close per file, the tag's fields decoded, and one row per file inserted in one
/// transaction with the sqlite3 C API. The number of rows inserted.
qsizetype plainImport(const QString &root, const QString &catalogue);

/// An empty catalogue at `path`, in place of any file there.
void emptyCatalogue(const QString &path);

/// The program's own import of a folder: the disk search with subfolders, riempi, and the grid
/// load that follows it.
class ProgramImport
{
public:
    struct Run
    {
        int loaded = 0;    ///< rows of the reloaded grid
        int fromId3v2 = 0; ///< rows whose title came from an ID3v2 tag
        FileImport::Result result;
        double walkMs = 0;
        double riempiMs = 0;
        double loadMs = 0;
    };

    explicit ProgramImport(const QString &root);
    Run run(const QString &catalogue, bool id3v2);

private:
    QString m_root;
    LinuxVolumes m_volumes;
    DriveTable m_driveTable;
    std::optional<VolumeInfo> m_chosenDrive;
};

} // namespace Bench
