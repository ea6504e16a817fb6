#pragma once

// Every benchmark scenario: each prints one result line per size it measures.

namespace Bench {

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

/// Sorting 100,000 rows by title, against std::stable_sort of the titles with the same order.
void runSort();

/// A folder-wide save with tags over 500 files in a catalogue of 50,000 records, against writing
/// the same tag blocks with pwrite, updating the records with the sqlite3 C API in one
/// transaction and compacting once.
void runSave();

/// readTag over 10,000 small tagged MP3 files, against opening each file and reading its last
/// 128 bytes with pread.
void runTags();

/// A tree of 10,000 small MP3 files searched and imported into an empty catalogue, grid reload
/// included, against walking the tree, reading each file's last 128 bytes and inserting one row
/// per file with the sqlite3 C API; the same with a quarter of the files carrying an ID3v2 tag
/// only, read as "Leggi anche i tag ID3v2" reads them, against the same baseline; then the search
/// alone over 100,000 files against a plain readdir walk.
void runImport();

/// The start-up's work (load, missing-file check, tag completion) over 100,000 records whose
/// files are all there with a tag, and over 1,000 files without a tag, against the load alone.
void runStartup();

} // namespace Bench
