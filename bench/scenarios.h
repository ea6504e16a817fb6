#pragma once

// Every benchmark scenario: each prints one result line per size it measures.

namespace Bench {

/// Catalogues of 10,000 and 100,000 records loaded into the grid model, against reading the
/// same rows with the sqlite3 C API into strings.
void runLoad();

/// readTag over 10,000 small tagged MP3 files, against opening each file and reading its last
/// 128 bytes with pread.
void runTags();

} // namespace Bench
