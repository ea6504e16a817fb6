#pragma once

#include <QString>

#include <sys/types.h>

#include <vector>

class CatalogueModel;

/// What the start-up asks of a row's file: whether it is gone, whether it needs a tag block, or
/// both at once (one look per file answers both).
enum class LookFor { Missing = 1, Tag = 2, Both = 3 };

/// What a look found about the tag block of a row's file.
enum class TagLook { NeedsTag, LeaveAlone, Failed, Skipped };

/// One look at a row's file. A look changes nothing on disk.
struct FileLook
{
    /// The file is gone (MissingFileCheck::isMissing). Not asked for rows on CDs or removable
    /// disks nor for rows without a key.
    bool missing = false;
    /// Skipped for rows in the states "Solo Lettura", "CDROM" and "Disco Rimovibile".
    TagLook tag = TagLook::Skipped;
    QString path;        ///< the file looked at when not recordFilePath's name, else empty
    QString reason;      ///< why the tag look failed
    bool opened = false; ///< the file was opened: device, inode and mode are its own
    dev_t device = 0;
    ino_t inode = 0;
    mode_t mode = 0;
};

/// Looks at the file of grid row `row`.
FileLook lookAtRow(const CatalogueModel &model, int row, LookFor what);

/// Looks at the file of every grid row, several at once; the looks come in grid order.
std::vector<FileLook> lookAtRows(const CatalogueModel &model, LookFor what);
