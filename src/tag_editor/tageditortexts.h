#pragma once

// Captions and messages of the tag editor window, its load step and its save.

namespace TagEditorTexts {

inline constexpr char kCaption[] = "Modifica ID3";

inline constexpr char kTagFrame[] = "ID3 TAG MP3";
inline constexpr char kFileNameCaption[] = "Nome File:";
inline constexpr char kTitleCaption[] = "Titolo:";
inline constexpr char kArtistCaption[] = "Autore:";
inline constexpr char kAlbumCaption[] = "Album:";
inline constexpr char kYearCaption[] = "Anno:";
inline constexpr char kGenreCaption[] = "Genere";
inline constexpr char kCommentCaption[] = "Commento:";
inline constexpr char kSaveTag[] = "Salva il TAG nel File MP3";
inline constexpr char kSave[] = "Modifica";
inline constexpr char kCancel[] = "Annulla";

inline constexpr char kPlayerTitle[] = "MP3 Player";
inline constexpr char kPlayLamp[] = "PLAY";
inline constexpr char kPauseLamp[] = "PAUSA";
inline constexpr char kStopLamp[] = "STOP";
inline constexpr char kVolumeCaption[] = "Volume";
inline constexpr char kFullVolume[] = "100%";
inline constexpr char kNoVolume[] = "0%";
inline constexpr char kLengthCaption[] = "Durata";
inline constexpr char kStartTime[] = "0";
inline constexpr char kRepeat[] = "Ripeti";
/// Accessible name of the seek bar.
inline constexpr char kSeekBar[] = "Posizione";

/// Load step: the CD warning is kAttention, a line break, kCdMissing, the label in capitals,
/// kNotInserted and kCannotListen, the last two joined without a blank.
inline constexpr char kAttention[] = "ATTENZIONE!";
inline constexpr char kCdMissing[] = "Il supporto CDROM con Etichetta: ";
inline constexpr char kNotInserted[] = " non è inserito.";
inline constexpr char kCannotListen[] = "Non puoi ascolgtare il brano.";
/// A removable medium that is not there, with a label: kAttention, a line break, kMedium, the
/// label in capitals, kNotInserted and kCannotSaveOrListen.
inline constexpr char kMedium[] = "Il supporto ";
inline constexpr char kCannotSaveOrListen[] = "Non puoi Salvare il TAG ed ascolgtare il brano.";
/// The same without a label: kAttention, kMediumNotInserted and kCannotSaveOrListenNoLabel on
/// three lines.
inline constexpr char kMediumNotInserted[] = "Il supporto non è inserito.";
inline constexpr char kCannotSaveOrListenNoLabel[] =
    "Non puoi Salvare il TAG ed ascoltare il brano.";
inline constexpr char kFileGone[] = "FILE cancellato o Spostato!!!";
inline constexpr char kFileGoneTitle[] = "MP3 ASSENTE";
/// The main window's status line when the record cannot be played.
inline constexpr char kCorruptStatus[] = "FILE CORROTTO o ERRORE NON PREVISTO!";

/// Save: the question of a folder-wide change.
inline constexpr char kTagWideTitle[] = "Modifica TAG Generale";
inline constexpr char kDbWideTitle[] = "Modifica DB Generale";
inline constexpr char kArtistLine[] = "AUTORE: ";
inline constexpr char kAlbumLine[] = "ALBUM   : ";
inline constexpr char kTagWideQuestion[] =
    "Assegno le Modifiche a tutti i file, del DB ed i TAG, che si trovano nella cartella:";
inline constexpr char kDbWideQuestion[] =
    "Assegno le Modifiche a tutti i file, del DB, che si trovano nella cartella:";
inline constexpr char kTagsUntouched[] = "I <TAG> NON VERRANNO MODIFICATI!!!";

/// Save: what could not be done, each told once after the whole action.
inline constexpr char kTagsNotWritten[] = "Il TAG non è stato scritto nei file seguenti:";
inline constexpr char kReadOnlyFile[] = "Impossibile scrivere il TAG nel file \"%1\": il file è di "
                                        "sola lettura";
inline constexpr char kMoreFiles[] = "… e altri %1 file.";
inline constexpr char kRecordsGone[] =
    "Questi record non sono più nel catalogo e non sono stati aggiornati (chiave): %1";
inline constexpr char kRecordNotShown[] =
    "Il record non è più nella lista: nessuna modifica è stata salvata.";
inline constexpr char kDatabaseFailed[] =
    "Impossibile aggiornare il catalogo: nessun record è stato modificato (i TAG già scritti nei "
    "file restano).\n%1";

} // namespace TagEditorTexts
