#pragma once

// Captions of the window listing the media of the catalogue.

namespace MediaWindowTexts {

inline constexpr char kCaption[] = "Supporti";
/// Caption of the list of media, read by screen readers as its name.
inline constexpr char kListCaption[] = "Supporti del catalogo:";
inline constexpr char kSortCaption[] = "Ordina per:";

/// Column headers, in the order of MediaTableModel::Column.
inline constexpr const char *kHeaders[6] = {"Etichetta", "Numero di serie", "Tipo",
                                            "File",      "Dimensione",      "Collegato"};
/// The type of a medium whose records carry no drive-type word.
inline constexpr char kNoType[] = "—";
/// "Collegato": mounted now at %1, or not.
inline constexpr char kConnected[] = "Sì (%1)";
inline constexpr char kNotConnected[] = "No";

inline constexpr char kRename[] = "Rinomina...";
inline constexpr char kRenameToolTip[] = "Dà un'altra etichetta al supporto scelto";
inline constexpr char kShow[] = "Mostra nel catalogo";
inline constexpr char kShowToolTip[] =
    "Mostra nella Lista solo i brani del supporto scelto (Refresh Lista li mostra tutti)";
inline constexpr char kRemove[] = "Elimina dal catalogo";
inline constexpr char kRemoveToolTip[] =
    "Toglie dal catalogo tutti i brani del supporto scelto, senza toccare i file";
inline constexpr char kClose[] = "Chiudi";

/// The list of media could not be read; %1 why.
inline constexpr char kCannotRead[] = "Impossibile leggere i supporti del catalogo.\n%1";

} // namespace MediaWindowTexts
