#pragma once

// Every benchmark scenario: each prints one result line per size it measures.

namespace Bench {

/// The import of 10,000 files and the start-up over 10,000 records with a page cache emptied
/// before each run (when the program may: it takes root), against the plain baseline of each
/// under the same conditions. The result lines say whether the caches were dropped.
void runCold();

/// Catalogues of 10,000 and 100,000 records loaded into the grid model, against reading the
/// same rows with the sqlite3 C API into strings.
void runLoad();

/// Catalogues of 100,000 and 1,000,000 records loaded into the grid model: the resident bytes
/// the load adds per record, and its time against reading the same rows with the sqlite3 C API
/// into strings. Prints "memory n=N bytes_per_record=B ms=T baseline_ms=T ratio=R".
void runMemory();

/// Opening catalogues of 10,000 and 100,000 records, SQLite's integrity check included, against
/// opening them with the sqlite3 C API and reading the table's columns; the whole load of the
/// same catalogue follows the result line for scale.
void runOpen();

/// A search over 100,000 rows that matches 50,000 of them, against loading 50,000 records.
void runSearch();

/// Sorting 100,000 rows by title, against std::stable_sort of the titles, each read as a number
/// once, with the same order.
void runSort();

/// A folder-wide save with tags over 500 files in a catalogue of 50,000 records, against writing
/// the same tag blocks with pwrite, updating the records with the sqlite3 C API in one
/// transaction and compacting once.
void runSave();

/// readTag over the 10,000 MP3 files of a generated collection, against opening each file and
/// reading its last 128 bytes with pread.
void runTags();

/// A generated collection of 10,000 MP3 files (see writeCollection) searched and imported into
/// an empty catalogue, grid reload included, against the plain import (see plainImport); the
/// same with a quarter of the files carrying an ID3v2 tag only, read as "Leggi anche i tag
/// ID3v2" reads them; then the search alone over the collection against a plain readdir walk.
void runImport();

/// One program import and one plain import of the collection of runImport, each between two
/// failing access() calls on "/tracklodge-bench-*" names, for counting their system calls with
/// `strace -f`.
void runImportTrace();

/// The start-up's work (load with the files looked at meanwhile, missing-file check, tag
/// completion) over 100,000 records whose files, a generated collection, are all there with a
/// tag, and over 1,000 files without a tag, against the load alone. The line of 100,000 also
/// gives the phases and the time of plainStartupCheck.
void runStartup();

/// The start-up's work over 10,000 tagged files, then plainStartupCheck's, each between marks
/// for a system call trace (see runImportTrace). Not timed.
void runStartupTrace();

/// Listing the media of a catalogue of 100,000 records (20 media) as the media window opens it,
/// with a connection of its own, against one plain GROUP BY supporto query.
void runMedia();

/// The duplicate groups of a catalogue of 100,000 records of which some are alike, against one
/// SQL query doing the same grouping; the line also gives the time with the grid narrowed to
/// them ("Doppioni" as the user sees it).
void runDuplicates();

} // namespace Bench
