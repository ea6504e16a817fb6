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

/// A CSV export that could not be written. %1 is the file, %2 the system's reason.
inline constexpr char kExportFailed[] =
    "Impossibile esportare la lista nel file \"%1\": il file non è stato scritto.\n%2";

} // namespace GridTexts
