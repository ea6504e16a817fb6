#pragma once

#include <QString>
#include <QtGlobal>

class CatalogueModel;
class Dialogs;
class Player;

/// What the tag editor's load step decided about a record, for the window to show.
struct LoadOutcome
{
    QString filePath;           ///< the record's file, found whatever the case of ".mp3"
    bool tagWritable = true;    ///< "Salva il TAG nel File MP3" enabled and ticked
    bool reachable = true;      ///< the file could be opened
    bool playable = false;      ///< the player loaded the file (its length is not -1)
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
/// - initialises the player and, for a reachable file, has it load the file;
/// - when the file is unreachable, or the player is available but cannot play it, writes
///   "File Corrotto!" into the row's state cell (the grid only) and returns the status text
///   "FILE CORROTTO o ERRORE NON PREVISTO!". A player that is not available marks nothing: the
///   file is merely not playable in this program.
LoadOutcome runLoadStep(CatalogueModel &grid, int row, Dialogs &dialogs, Player &player);

/// A length or position in player units as minutes and seconds, "mm:ss": whole seconds, then
/// minutes and the remaining seconds, each with at least two digits (minutes are not limited).
QString playerTimeText(qint64 units);

/// The seek bar's maximum for a length: the length divided by 100, rounded to the nearest whole
/// number, an exact half to the even one.
qint64 seekBarMaximum(qint64 length);
