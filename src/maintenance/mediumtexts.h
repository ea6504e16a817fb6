#pragma once

// Titles and messages of the commands over a whole medium: rename, show, remove.

namespace MediumTexts {

/// The rename: title of its question and messages, and the question itself (%1 the label).
inline constexpr char kRenameTitle[] = "Rinomina supporto";
inline constexpr char kRenamePrompt[] = "Nuova etichetta del supporto \"%1\":";
/// The longest label a medium may take, in characters.
inline constexpr int kMaximumLabelLength = 255;
inline constexpr char kLabelEmpty[] = "L'etichetta non può essere vuota.";
/// %1 the most characters, %2 the characters typed.
inline constexpr char kLabelTooLong[] =
    "L'etichetta può avere al massimo %1 caratteri; quella scritta ne ha %2.";
/// %1 the label typed, %2 the label of the other medium as it is written there.
inline constexpr char kLabelTaken[] =
    "L'etichetta \"%1\" è già usata da un altro supporto (\"%2\"): sceglierne un'altra.";
/// %1 the store's reason.
inline constexpr char kCannotRename[] =
    "Impossibile rinominare il supporto: %1\nIl catalogo è rimasto com'era.";

/// The removal: title, question (%1 the label, %2 the number of records), failure (%1 why).
inline constexpr char kRemoveTitle[] = "Elimina supporto";
inline constexpr char kRemoveQuestion[] =
    "Eliminare dal catalogo il supporto \"%1\" con i suoi %2 brani?\n"
    "I file sul disco non vengono toccati.";
inline constexpr char kRemoveQuestionOne[] =
    "Eliminare dal catalogo il supporto \"%1\" con il suo unico brano?\n"
    "Il file sul disco non viene toccato.";
inline constexpr char kCannotRemove[] =
    "Impossibile eliminare il supporto dal catalogo: %1\nIl catalogo è rimasto com'era.";

/// The catalogue could not be read to show a medium's records; %1 why.
inline constexpr char kCannotShow[] = "Impossibile leggere il catalogo.\n%1";

} // namespace MediumTexts
