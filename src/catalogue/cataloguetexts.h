#pragma once

// Italian texts of the catalogue store's failures.

namespace CatalogueTexts {

inline constexpr char kNotACatalogue[] =
    "Il file \"%1\" non è un catalogo TRACKLODGE valido (%2).\n"
    "Il file non è stato modificato. Spostarlo o rinominarlo, poi avviare di nuovo il programma.";
inline constexpr char kNotSqlite[] = "non è un database SQLite";
inline constexpr char kNoTable[] = "manca la tabella Mp3";
inline constexpr char kMissingColumn[] = "nella tabella Mp3 manca il campo %1";
inline constexpr char kCannotOpen[] = "Impossibile aprire il catalogo \"%1\": %2";
inline constexpr char kCannotCreate[] = "Impossibile creare il catalogo \"%1\": %2";
inline constexpr char kNotOpen[] = "catalogo non aperto";
inline constexpr char kQueryFailed[] = "Errore del catalogo \"%1\" (%2): %3";

/// Title and text of the message of a failed compaction: the text, the reason, then ".".
inline constexpr char kCompactionTitle[] = "Service";
inline constexpr char kCompactionFailed[] =
    "Errore durante il tentativo di compattazione del database: ";
inline constexpr char kCompactionEnd[] = ".";
/// Reasons of a failed compaction. %1 is a path, %2 the system's or SQLite's own words.
inline constexpr char kWorkFileInTheWay[] = "il file di lavoro \"%1\" non può essere rimosso (%2)";
inline constexpr char kCannotWriteCopy[] = "impossibile scrivere la copia compattata \"%1\" (%2)";
inline constexpr char kCannotFlushCopy[] =
    "impossibile salvare su disco la copia compattata \"%1\" (%2)";
inline constexpr char kCannotReplace[] =
    "impossibile sostituire il catalogo con la copia compattata (%2); il catalogo \"%1\" è "
    "rimasto com'era";
inline constexpr char kCannotReopen[] = "impossibile riaprire il catalogo compattato: %1";

} // namespace CatalogueTexts
