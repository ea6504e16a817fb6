#pragma once

#include "catalogue/cataloguerecord.h"

#include <QList>

namespace Bench {

/// `n` realistic catalogue records: varied titles, artists and albums, folders per album,
/// sizes, state words and a handful of media. Always the same for the same `n`.
QList<CatalogueRecord> makeRecords(qsizetype n);

/// Writes the records into a new catalogue file at `path` in one transaction.
void writeCatalogue(const QString &path, const QList<CatalogueRecord> &records);

} // namespace Bench
