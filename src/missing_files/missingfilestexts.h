#pragma once

// Captions and messages of the window listing the files that vanished.

namespace MissingFilesTexts {

inline constexpr char kCaption[] = "MP3 Cancellati o Spostati";
inline constexpr char kHeading[] = "***MP3 Cancellati o Spostati***";
inline constexpr char kDeleteFromCatalogue[] = "Elimina dal DB";

/// Entries that could not be deleted: %1 is one line per entry, with the reason.
inline constexpr char kDeleteFailed[] = "Non è stato possibile eliminare dal DB queste voci:\n%1";

} // namespace MissingFilesTexts
