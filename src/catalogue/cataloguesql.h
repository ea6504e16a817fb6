#pragma once

// Every SQL text the program sends to the catalogue. Values are always bound, never pasted.

namespace CatalogueSql {

inline constexpr char kCreateTable[] =
    "CREATE TABLE Mp3 ("
    "id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "titolo TEXT, autore TEXT, album TEXT, anno TEXT, genere TEXT, commento TEXT, "
    "nome TEXT, percorso TEXT, dimenzione TEXT, info TEXT, labelD TEXT, supporto TEXT)";
inline constexpr char kCreateIndexNameFolder[] =
    "CREATE INDEX Mp3_nome_percorso ON Mp3 (nome, percorso)";
inline constexpr char kCreateIndexSerial[] = "CREATE INDEX Mp3_supporto ON Mp3 (supporto)";
inline constexpr char kCreateIndexLabel[] = "CREATE INDEX Mp3_labelD ON Mp3 (labelD)";

/// SQLite's own check of the whole file (every page, record and index readable and linked as
/// they should be), cheaper than integrity_check; one row "ok", or the first fault found.
inline constexpr char kQuickCheck[] = "PRAGMA quick_check(1)";

/// The definition of the table Mp3 and every trigger of the file (one row each: type, SQL).
inline constexpr char kSchemaOfTable[] =
    "SELECT type, sql FROM sqlite_master WHERE (type = 'table' AND name = 'Mp3') "
    "OR type = 'trigger'";

/// Columns of the table, in the order every SELECT below returns them.
inline constexpr char kColumnsOfTable[] = "PRAGMA table_info(Mp3)";

#define TRACKLODGE_MP3_COLUMNS                                                                     \
    "id, titolo, autore, album, anno, genere, commento, nome, percorso, dimenzione, info, "        \
    "labelD, supporto"

inline constexpr char kSelectAll[] = "SELECT " TRACKLODGE_MP3_COLUMNS " FROM Mp3 ORDER BY id";
inline constexpr char kSelectBelow[] =
    "SELECT " TRACKLODGE_MP3_COLUMNS " FROM Mp3 WHERE id < ? ORDER BY id";
inline constexpr char kSelectById[] = "SELECT " TRACKLODGE_MP3_COLUMNS " FROM Mp3 WHERE id = ?";
/// The function the store registers on its connection to pick rows out of a scan by their key:
/// 1 when the running scan wants the row of its argument, 0 when not.
#define TRACKLODGE_KEY_WANTED "tracklodge_key_wanted"
inline constexpr char kKeyWantedFunction[] = TRACKLODGE_KEY_WANTED;
/// The wanted records of a key range (?1 to ?2), in key order: the other rows are passed over by
/// their key alone, before any field is read.
inline constexpr char kSelectWanted[] =
    "SELECT " TRACKLODGE_MP3_COLUMNS
    " FROM Mp3 WHERE id BETWEEN ?1 AND ?2 AND " TRACKLODGE_KEY_WANTED "(id) ORDER BY id";
inline constexpr char kSelectByNameAndFolder[] =
    "SELECT " TRACKLODGE_MP3_COLUMNS
    " FROM Mp3 WHERE nome = ? AND percorso = ? ORDER BY id LIMIT 1";
// The key, name and folder of every record, for a look-up of many files at once; the index on
// name and folder holds all three, so the table itself is not read.
inline constexpr char kSelectNamesAndFolders[] = "SELECT id, nome, percorso FROM Mp3";
inline constexpr char kSelectHighestKey[] = "SELECT max(id) FROM Mp3";
inline constexpr char kSelectLabelOfSerial[] =
    "SELECT labelD FROM Mp3 WHERE supporto = ? ORDER BY id LIMIT 1";
// The program's generated medium names: "TRACKLODGE_" and anything after it, in label order.
// The underscore is escaped because it is a one-character wildcard of LIKE.
inline constexpr char kSelectGeneratedLabels[] =
    "SELECT labelD FROM Mp3 WHERE labelD LIKE 'TRACKLODGE\\_%' ESCAPE '\\' ORDER BY labelD";
inline constexpr char kInsert[] =
    "INSERT INTO Mp3 (titolo, autore, album, anno, genere, commento, nome, percorso, "
    "dimenzione, info, labelD, supporto) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
inline constexpr char kUpdate[] =
    "UPDATE Mp3 SET titolo = ?, autore = ?, album = ?, anno = ?, genere = ?, commento = ?, "
    "nome = ?, percorso = ?, dimenzione = ?, info = ?, labelD = ? WHERE id = ?";
inline constexpr char kUpdateFull[] =
    "UPDATE Mp3 SET titolo = ?, autore = ?, album = ?, anno = ?, genere = ?, commento = ?, "
    "nome = ?, percorso = ?, dimenzione = ?, info = ?, labelD = ?, supporto = ? WHERE id = ?";
inline constexpr char kDeleteById[] = "DELETE FROM Mp3 WHERE id = ?";
inline constexpr char kBegin[] = "BEGIN";
inline constexpr char kCommit[] = "COMMIT";
inline constexpr char kRollback[] = "ROLLBACK";
/// Writes a compacted copy of the whole catalogue to a new file, named by the bound value.
inline constexpr char kVacuumInto[] = "VACUUM INTO ?";

/// The catalogue's format number, kept in the file's header (0 in a file no version marked).
inline constexpr char kReadFormat[] = "PRAGMA user_version";
/// Marks the file as holding no NUL character in any text and one form of "no genre": format 1.
inline constexpr char kMarkCleaned[] = "PRAGMA user_version = 1";
/// The records holding a NUL character in a text field, or a genre that is NULL or blanks only.
/// A text is searched as its bytes, so a NUL is found wherever it stands.
inline constexpr char kSelectUncleanKeys[] =
    "SELECT id FROM Mp3 WHERE "
    "instr(CAST(titolo AS BLOB), x'00') OR instr(CAST(autore AS BLOB), x'00') OR "
    "instr(CAST(album AS BLOB), x'00') OR instr(CAST(anno AS BLOB), x'00') OR "
    "instr(CAST(genere AS BLOB), x'00') OR instr(CAST(commento AS BLOB), x'00') OR "
    "instr(CAST(nome AS BLOB), x'00') OR instr(CAST(percorso AS BLOB), x'00') OR "
    "instr(CAST(dimenzione AS BLOB), x'00') OR instr(CAST(info AS BLOB), x'00') OR "
    "instr(CAST(labelD AS BLOB), x'00') OR instr(CAST(supporto AS BLOB), x'00') OR "
    "genere IS NULL OR (genere <> '' AND trim(genere, ' ') = '') ORDER BY id";

// --- The media of the catalogue ---

/// The function the store registers on its connection for the media list: the kilobytes of a
/// size text ("   1.024 KB"), its ASCII digits read as one number; 0 for NULL.
#define TRACKLODGE_SIZE_KB "tracklodge_size_kb"
inline constexpr char kSizeKbFunction[] = TRACKLODGE_SIZE_KB;
/// One row per medium: serial, the label of its lowest key (SQLite takes the bare column from
/// the row of the one min()), records, kilobytes, and how many records carry each drive-type
/// word ?1, ?2, ?3. `supporto` IS ? below matches NULL too, and still uses the serial's index.
inline constexpr char kSelectMedia[] =
    "SELECT supporto, labelD, min(id), count(*), sum(" TRACKLODGE_SIZE_KB "(dimenzione)), "
    "sum(info = ?1), sum(info = ?2), sum(info = ?3) FROM Mp3 GROUP BY supporto";
inline constexpr char kSelectOtherMediaLabels[] =
    "SELECT DISTINCT labelD FROM Mp3 WHERE supporto IS NOT ?";
inline constexpr char kRelabelMedium[] = "UPDATE Mp3 SET labelD = ?1 WHERE supporto IS ?2";
inline constexpr char kDeleteMedium[] = "DELETE FROM Mp3 WHERE supporto IS ?";
inline constexpr char kSelectKeysOfMedium[] = "SELECT id FROM Mp3 WHERE supporto IS ? ORDER BY id";
/// What the duplicates view compares, in key order.
inline constexpr char kSelectDuplicateFields[] =
    "SELECT id, titolo, autore, nome, dimenzione FROM Mp3 ORDER BY id";

#undef TRACKLODGE_SIZE_KB
#undef TRACKLODGE_MP3_COLUMNS
#undef TRACKLODGE_KEY_WANTED

} // namespace CatalogueSql
