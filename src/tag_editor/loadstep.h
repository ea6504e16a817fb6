#pragma once

#include "fileaccess.h"

#include <QString>

#include <functional>

class CatalogueModel;
class Dialogs;

/// Loads the record's file into the player: called with the file and whether the load step
/// could reach it; true when the player can play it.
using LoadIntoPlayer = std::function<bool(const QString &path, FileAccess access)>;

/// What the tag editor's load step decided about a record, for the window to show.
struct LoadOutcome
{
    QString filePath;           ///< the record's file, found whatever the case of ".mp3"
    bool tagWritable = true;    ///< "Salva il TAG nel File MP3" enabled and ticked
    bool reachable = true;      ///< the file could be opened
    bool playable = false;      ///< the player loaded the file and can play it
    bool markedCorrupt = false; ///< the grid row now shows "File Corrotto!"
    QString statusText;         ///< new text of the main window's status line, or empty
};

/// The load step of the tag editor for grid row `row` (which must be in range). It reads the
/// row's folder, file name, state word and medium label, and:
/// - warns through `dialogs` for every "CDROM" record (before looking for the file), for a
///   "Disco Rimovibile" record whose file cannot be opened (two wordings, with and without a
///   medium label), and for any other record whose file cannot be opened ("FILE cancellato o
///   Spostato!!!", titled "MP3 ASSENTE");
/// - withdraws the tag writing for "Solo Lettura", "CDROM", "File Corrotto!" and unreachable
///   files; "File Corrotto!" counts as unreachable without a look at the file;
/// - hands the file to the player through `loadIntoPlayer` (the player greys its area for an
///   unreachable file);
/// - when the file is unreachable, or the player cannot play it, writes "File Corrotto!" into
///   the row's state cell (the grid only) and returns the status text "FILE CORROTTO o ERRORE
///   NON PREVISTO!". Without a player (an empty `loadIntoPlayer`, a program without audio) a
///   reachable file marks nothing: it is merely not playable in this program.
LoadOutcome runLoadStep(CatalogueModel &grid, int row, Dialogs &dialogs,
                        const LoadIntoPlayer &loadIntoPlayer);
