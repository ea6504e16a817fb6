#pragma once

// Texts of the file import: the medium label message, the generated labels and the report of
// files that could not be imported.

namespace ImportTexts {

/// The extension of the files the disk search lists, compared in any letter case.
inline constexpr char kMp3Extension[] = ".mp3";

/// Every generated medium label starts with this; the number follows it.
inline constexpr char kGeneratedLabelPrefix[] = "TRACKLODGE_";

/// Title of the message that names a new medium.
inline constexpr char kLabelTitle[] = "ETICHETTA SUPPORTO";
/// The message that names a new medium: this, the label, then kLabelMessageEnd.
inline constexpr char kLabelMessage[] = "Il supporto si chiamerà: ";
inline constexpr char kLabelMessageEnd[] = "   ";

/// The report of the names the disk search left out. %1 is their number, %2 the list, one a
/// line.
inline constexpr char kNamesLeftOut[] =
    "%1 nomi di file MP3 o di cartelle non sono testo UTF-8 valido e sono stati esclusi dalla "
    "ricerca: con questi nomi il catalogo non potrebbe ritrovare i file. Rinominarli, poi "
    "ripetere la ricerca (i byte che non si possono mostrare sono scritti come \\xNN, le "
    "cartelle finiscono con \"/\"):\n%2";

/// Why a file was left out: the serial number of its medium cannot be read.
inline constexpr char kNoMediumSerial[] = "impossibile leggere il numero di serie del supporto";
/// The report after an import that left files out. %1 is their number, %2 the list.
inline constexpr char kFilesLeftOut[] = "%1 file non sono stati importati:\n%2";
/// One line of that list: %1 the file, %2 the reason.
inline constexpr char kFileLeftOut[] = "%1: %2";
/// Ends the list when it is cut short. %1 is the number of files not listed.
inline constexpr char kMoreLeftOut[] = "... e altri %1";
/// The report after an import stopped by a catalogue failure. %1 is the store's error.
inline constexpr char kImportStopped[] =
    "Importazione interrotta per un errore del catalogo: i file elaborati dopo l'ultimo "
    "salvataggio non sono stati registrati.\n%1";

} // namespace ImportTexts
