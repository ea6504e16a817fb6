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
inline constexpr char kQueryFailed[] = "Errore del catalogo \"%1\" (%2): %3";

} // namespace CatalogueTexts
