#pragma once

#include "gridcolumns.h"

// Texts of the catalogue grid and its status line.

namespace GridTexts {

/// Column labels, in column order ("Percoso File" is spelled so).
inline constexpr const char *kHeaderLabels[kColumnCount] = {
    "Titolo",    "Artista",      "Album",           "Anno", "Genere",          "Commento",
    "Nome File", "Percoso File", "Dimensione File", "Info", "Etichetta Disco", "IdKey"};
/// Blanks after each label in the full header; they fix the column widths.
inline constexpr int kHeaderBlanks[kColumnCount] = {50, 48, 49, 1, 20, 46, 40, 95, 7, 25, 10, 5};

/// Separators of the status line: name, " - ", medium word, " (", drive, ") - ", label.
inline constexpr char kStatusDash[] = " - ";
inline constexpr char kStatusOpen[] = " (";
inline constexpr char kStatusClose[] = ") - ";

/// An export that could not be written. %1 is the file, %2 the reason.
inline constexpr char kExportFailed[] =
    "Impossibile esportare la lista nel file \"%1\": il file non è stato scritto.\n%2";

/// The one sheet of an XLSX export.
inline constexpr char kExportSheetName[] = "Lista";
/// Reasons of a failed XLSX export.
inline constexpr char kXlsxTooManyRows[] =
    "La lista ha %1 righe: un foglio di lavoro ne contiene al massimo %2 oltre alle intestazioni.";
inline constexpr char kXlsxTextTooLong[] =
    "Il testo della riga %1, colonna \"%2\", supera i %3 caratteri che una cella può contenere.";
inline constexpr char kXlsxNoMemory[] = "Memoria insufficiente.";
/// %1 is the folder.
inline constexpr char kXlsxNoTemporaryFile[] =
    "Impossibile creare un file temporaneo nella cartella \"%1\".";
inline constexpr char kXlsxIncomplete[] =
    "La cartella di lavoro è risultata incompleta alla verifica: forse il disco è pieno.";
/// %1 is the library's own description of the fault.
inline constexpr char kXlsxWriteFailed[] = "Errore nella scrittura del file XLSX (%1).";

/// The status line after "Doppioni": %1 groups, %2 records.
inline constexpr char kDuplicates[] = "Doppioni: %1 gruppi, %2 brani";
inline constexpr char kDuplicatesOneGroup[] = "Doppioni: %1 gruppo, %2 brani";
inline constexpr char kNoDuplicates[] = "Doppioni: nessun brano è catalogato due volte";

} // namespace GridTexts
