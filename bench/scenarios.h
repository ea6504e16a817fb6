#pragma once

// Every benchmark scenario: each prints one result line per size it measures.

namespace Bench {

/// Catalogues of 10,000 and 100,000 records loaded into the grid model, against reading the
/// same rows with the sqlite3 C API into strings.
void runLoad();

/// A search over 100,000 rows that matches 50,000 of them, against loading 50,000 records.
void runSearch();

/// Sorting 100,000 rows by title, against std::stable_sort of the titles with the same order.
void runSort();

/// readTag over 10,000 small tagged MP3 files, against opening each file and reading its last
/// 128 bytes with pread.
void runTags();

/// The start-up's work (load, missing-file check, tag completion) over 100,000 records whose
/// files are all there with a tag, and over 1,000 files without a tag, against the load alone.
void runStartup();

} // namespace Bench
