#pragma once

// Italian texts of the catalogue store's failures.

namespace CatalogueTexts {

inline constexpr char kNotACatalogue[] =
    "Il file \"%1\" non è un catalogo TRACKLODGE valido (%2).\n"
    "Il file non è stato modificato. Spostarlo o rinominarlo, poi avviare di nuovo il programma.";
inline constexpr char kNotSqlite[] = "non è un database SQLite";
inline constexpr char kNoTable[] = "manca la tabella Mp3";
/// A file SQLite reads whose own check fails. %1 is SQLite's first finding.
inline constexpr char kDamaged[] = "il file è danneggiato: %1";
inline constexpr char kMissingColumn[] = "nella tabella Mp3 manca il campo %1";
inline constexpr char kCannotOpen[] = "Impossibile aprire il catalogo \"%1\": %2";
inline constexpr char kCannotCreate[] = "Impossibile creare il catalogo \"%1\": %2";
inline constexpr char kNotOpen[] = "catalogo non aperto";
inline constexpr char kQueryFailed[] = "Errore del catalogo \"%1\" (%2): %3";

/// A second program on the same catalogue. %1 the catalogue, %2 and %3 the process id and the
/// computer of the program that uses it, %4 the lock file.
inline constexpr char kInUse[] =
    "Il catalogo \"%1\" è già in uso: lo tiene aperto un altro TRACKLODGE (processo %2 sul "
    "computer \"%3\").\nChiudere quel programma, poi avviare di nuovo questo. Se quel programma "
    "non è più aperto, cancellare il file \"%4\".";
/// %1 the catalogue, %2 the lock file.
inline constexpr char kCannotLock[] =
    "Impossibile riservare il catalogo \"%1\" a questo programma: il file \"%2\" non può "
    "essere scritto.";

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
inline constexpr char kCopyUnsound[] =
    "la copia compattata \"%1\" non è valida (%2); il catalogo è rimasto com'era";
inline constexpr char kCannotCopyOwnership[] =
    "impossibile dare alla copia compattata \"%1\" il proprietario e i permessi del catalogo "
    "(%2); il catalogo è rimasto com'era";
/// The one-time rewrite of texts stored with NUL characters by earlier versions failed; %1 says
/// why. The catalogue is as it was.
inline constexpr char kCleanupFailed[] =
    "Impossibile ripulire i testi del catalogo dai caratteri nulli: %1. Il catalogo è rimasto "
    "com'era.";
inline constexpr char kCannotReopen[] = "impossibile riaprire il catalogo compattato: %1";

} // namespace CatalogueTexts
