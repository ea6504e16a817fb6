#pragma once

// Titles and messages of the delete, the missing-file check, the start-up tag completion and
// the read-only change.

namespace MaintenanceTexts {

/// The refusals of the delete when the file is to be deleted too: title and texts.
inline constexpr char kRefusalTitle[] = "Info";
inline constexpr char kReadOnlyRefusal[] =
    "Il File è di Solo Lettura Cambiare gli Attributi per poter Cancellarlo dal Disco!";
inline constexpr char kCdRomRefusal[] = "Il File è su CDROM non puoi cancellarlo";
inline constexpr char kRemovableRefusal[] = "Il File è su un Disco Esterno";

/// The question before a delete.
inline constexpr char kDeleteTitle[] = "Cancellazione MP3";
inline constexpr char kDeleteQuestion[] = "Sei sicuro di voler cancellare?";

/// A delete that could not be done. %1 is the file's path, %2 the system's reason.
inline constexpr char kCannotDeleteFile[] =
    "Impossibile cancellare il file \"%1\": %2.\nLa voce resta nel catalogo.";
/// %1 is the catalogue's own explanation.
inline constexpr char kCannotDeleteRecord[] =
    "Impossibile cancellare la voce dal catalogo; la voce resta nell'elenco.\n%1";
inline constexpr char kFileDeletedRecordKept[] =
    "Il file \"%1\" è stato cancellato, ma la voce non è stata tolta dal catalogo.\n%2";

/// An entry of the missing-file list: the full name, then the key between these two marks.
inline constexpr char kKeyOpen[] = "(***";
inline constexpr char kKeyClose[] = "***)";

/// A row or list entry whose record has gone from the catalogue meanwhile.
inline constexpr char kNoSuchRecord[] = "la voce non è più nel catalogo";

/// Why one entry of the missing-file list was not deleted from the catalogue.
inline constexpr char kNotTheListedFile[] =
    "la voce del catalogo con questa chiave non è più il file elencato";

/// Why a file of the tag completion or of the read-only change was left out.
inline constexpr char kFileNotFound[] = "il file non esiste";
inline constexpr char kCannotReadFile[] = "il file non può essere letto";
inline constexpr char kCannotMakeWritable[] = "impossibile rendere il file scrivibile (%1)";
inline constexpr char kRecordNotWritten[] = "la voce non è stata aggiornata (%1)";

/// The read-only change's report of the files it could not change: %1 is one line per file.
inline constexpr char kAttributesTitle[] = "Cambia Attributi";
inline constexpr char kAttributesFailed[] =
    "Questi file sono rimasti di Solo Lettura nel catalogo:\n%1";
/// One line of a report: the file, then why.
inline constexpr char kFileAndReason[] = "%1: %2";

} // namespace MaintenanceTexts
