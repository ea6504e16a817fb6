#pragma once

#include "collection.h"

#include "catalogue/cataloguerecord.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace Bench {

/// The records of a collection's files, every one in the state "OK", with the generated texts
/// of makeRecords.
QList<CatalogueRecord> collectionRecords(const Collection &collection);

/// Writes a generated collection of `n` files, every one with an ID3v1 tag, under `dir`, and a
/// catalogue of their records (collectionRecords) beside it; the catalogue's path. `records`,
/// when given, receives the records.
QString writeTaggedCatalogue(QTemporaryDir &dir, qsizetype n,
                             QList<CatalogueRecord> *records = nullptr);

/// What a start-up did.
struct StartupFigures
{
    qsizetype rows = 0;
    qsizetype missing = 0;
    int completed = 0;
    int compactions = 0;
    double loadMs = 0;  ///< open and load
    double checkMs = 0; ///< the file check and the tag completion
};

/// The start-up's own work without windows: load, then the file check with the tag completion
/// when nothing is missing.
StartupFigures startUp(const QString &path);

/// The start-up's physical work done plainly: every row read with the sqlite3 C API, and each
/// row's file (the name with ".mp3", then ".MP3", then any spelling found in the folder's
/// listing) opened, its size taken, its last 128 bytes read and closed. The files found with a
/// tag.
qsizetype plainStartupCheck(const QString &path);

} // namespace Bench
