#pragma once

#include "catalogue/cataloguerecord.h"

#include <QList>

#include <functional>

namespace Bench {

/// `n` realistic catalogue records: varied titles, albums of twelve tracks by one artist in one
/// folder each, sizes, state words and a handful of media. Always the same for the same `n`.
QList<CatalogueRecord> makeRecords(qsizetype n);

/// Hands the `n` records of makeRecords to `take` one at a time, without keeping them.
void generateRecords(qsizetype n, const std::function<void(const CatalogueRecord &)> &take);

/// Writes the records into a new catalogue file at `path` in one transaction.
void writeCatalogue(const QString &path, const QList<CatalogueRecord> &records);
/// Writes the `n` records of makeRecords into a new catalogue file at `path` in one
/// transaction, never holding them all.
void writeGeneratedCatalogue(const QString &path, qsizetype n);

/// The plainest reading of a catalogue's rows: every field of every record into strings, with
/// the sqlite3 C API. The number of rows read.
size_t loadWithSqlite(const QString &path);

} // namespace Bench
