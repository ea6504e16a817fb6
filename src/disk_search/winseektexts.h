#pragma once

// Captions and messages of the disk search window.

namespace WinSeekTexts {

inline constexpr char kCaption[] = "Ricerca MP3";

inline constexpr char kPattern[] = "*.MP3";
inline constexpr char kCriteria[] = "C&riteri di ricerca:";
inline constexpr char kIncludeSubfolders[] = "Includi Sottocartelle";
inline constexpr char kReadId3v2[] = "Leggi anche i tag ID3v2";
/// Accessible names of the drive chooser, the folder list and the list of the folder's MP3s.
inline constexpr char kDrives[] = "Unità";
inline constexpr char kFolders[] = "Cartelle";
inline constexpr char kFiles[] = "File MP3";
inline constexpr char kFound[] = "MP3 trovati:";
inline constexpr char kNoneFound[] = "0";

inline constexpr char kSearchButton[] = "&Cerca";
inline constexpr char kSearchFace[] = "Cerca";
inline constexpr char kImportButton[] = "&Importa";
inline constexpr char kImportFace[] = "Importa";
inline constexpr char kExitButton[] = "E&sci";
inline constexpr char kExitFace[] = "Esci";
/// Caption of both the exit button and its face while a search runs.
inline constexpr char kCancel[] = "Annulla";
inline constexpr char kReset[] = "Ripristina";

inline constexpr char kListFull[] =
    "La casella di riepilogo è piena. Interruzione della ricerca...";

} // namespace WinSeekTexts
