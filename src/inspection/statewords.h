#pragma once

// The one-word states of a catalogued file, stored in the field `info` and shown in the grid.
// They are compared as exact text everywhere.

namespace StateWords {

inline constexpr char kOk[] = "OK";
inline constexpr char kNoTag[] = "Nessun TAG ID3";
inline constexpr char kCorrupt[] = "File Corrotto!";
inline constexpr char kReadOnly[] = "Solo Lettura";
inline constexpr char kRemovable[] = "Disco Rimovibile";
inline constexpr char kFixed[] = "Fissa";
inline constexpr char kCdRom[] = "CDROM";

/// How the status line names the medium of a file in the state "OK".
inline constexpr char kHardDisk[] = "HARD DISK";

} // namespace StateWords
