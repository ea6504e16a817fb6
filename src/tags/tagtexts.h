#pragma once

// Italian texts of the tag writer's failures. %1 is the file's path.

namespace TagTexts {

inline constexpr char kWriteFailed[] = "Impossibile scrivere il TAG nel file \"%1\": %2";
inline constexpr char kNoSuchFile[] = "il file non esiste";
inline constexpr char kNotAFile[] = "il percorso non è un file";
inline constexpr char kCannotOpen[] = "il file non può essere aperto in scrittura";
inline constexpr char kCannotRead[] = "il file non può essere letto";
inline constexpr char kCannotWrite[] = "errore di scrittura, il file è rimasto com'era";
inline constexpr char kPartlyWritten[] = "errore di scrittura, il TAG del file è danneggiato";
inline constexpr char kCannotClose[] =
    "errore nella chiusura del file, il TAG potrebbe non essere stato scritto";
inline constexpr char kBadGenre[] = "numero di genere non valido (%1)";

} // namespace TagTexts
