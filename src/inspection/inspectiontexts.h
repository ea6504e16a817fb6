#pragma once

#include "statewords.h"

// Texts of the drive table and the size text. The drive-type names of removable, fixed and CD
// drives are also state words, so they are taken from there rather than written twice.

namespace InspectionTexts {

/// The drive-type names, indexed by the drive-type code (DriveType).
inline constexpr const char *kDriveTypeNames[] = {
    "Sconosciuta",          // 0 Unknown
    StateWords::kRemovable, // 1 "Disco Rimovibile"
    StateWords::kFixed,     // 2 "Fissa"
    "Rete",                 // 3 Network
    StateWords::kCdRom,     // 4 "CDROM"
    "Disco RAM",            // 5 RAM disk
};
inline constexpr int kDriveTypeCount = 6;
static_assert(sizeof(kDriveTypeNames) / sizeof(kDriveTypeNames[0]) == kDriveTypeCount);

/// Between the mount point and the type name in a drive table entry.
inline constexpr char kDriveTableSeparator = '=';

/// After the number of kilobytes in a size text.
inline constexpr char kSizeSuffix[] = " KB";
/// After the number of megabytes and of gigabytes in a readable size.
inline constexpr char kMegabytes[] = " MB";
inline constexpr char kGigabytes[] = " GB";
/// Width of the padded size text stored in the catalogue.
inline constexpr int kPaddedSizeWidth = 20;

} // namespace InspectionTexts
