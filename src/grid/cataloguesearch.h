#pragma once

#include "gridcolumns.h"

#include <QList>
#include <QString>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;

/// The search of the catalogue grid: it scans the rows the grid shows, keeps the keys of the
/// rows that match, and rebuilds the grid from the catalogue with exactly those records.
namespace CatalogueSearch {

/// How to match a row.
struct Request
{
    Column column = Title;   ///< Title, Artist, Album, FileName or Genre
    QString text;            ///< the search text, or the chosen genre for Genre
    bool wordSearch = false; ///< "Ricerca in tutto il campo": compare single words of the cell
};

/// The column searched for the last search option set (0 to 4), or -1 for none: the options
/// stand for title, artist, album, file name and genre.
Column columnOfOption(int optionIndex);

/// True when a cell matches: whole-text equality after upper-casing; with a word search and a
/// blank in the cell, equality with any of the words between the blanks (consecutive blanks
/// give empty words). Genre cells are compared whole, always.
bool matches(const QString &cell, const Request &request);

/// The record keys of the grid rows that match, in grid order; rows without key are left out.
QList<qint64> matchingKeys(const CatalogueModel &model, const Request &request);

/// Rebuilds the grid from the records of the keys, in their order,
/// and recounts the counters; the header is the full one when a record is listed, the narrow
/// one otherwise. Keys that match no record are left out. The model is reset once. False when
/// the catalogue cannot be read (the grid is then empty).
bool rebuild(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
             const QList<qint64> &keys);

} // namespace CatalogueSearch
