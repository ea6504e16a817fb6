#pragma once

#include "cataloguestore.h"
#include "recordcuts.h"

#include <QString>

/// ModificaDB: rewrites the record whose key is the decimal text `id` with the values handed
/// over, in this order (the comment comes before the genre): `titolo`, `autore`, `album` cut to
/// their first 30 characters, `anno` to its first 4, `commento` to its first 30; `genere`,
/// `info`, `nome`, `percorso`, `dimenzione` and `labelD` stored as passed. Nothing is padded and
/// every value is stored as text (an empty value as an empty text, never NULL). `id` and
/// `supporto` are not touched.
///
/// Returns Done, NoSuchRecord when `id` is not a key of the catalogue (nothing is written), or
/// Failed (the reason in the store's lastError(), the record as it was). It does not compact:
/// a user action that rewrites records compacts once at its end (CompattaDB).
CatalogueStore::WriteResult ModificaDB(CatalogueStore &store, const QString &txttitle,
                                       const QString &txtartist, const QString &txtalbum,
                                       const QString &txtyear, const QString &txtcomment,
                                       const QString &genere, const QString &notag,
                                       const QString &nomeFile, const QString &percorso,
                                       const QString &dimenzione, const QString &labelD,
                                       const QString &id);
/// ModificaDB for a record key held as a number.
CatalogueStore::WriteResult ModificaDB(CatalogueStore &store, const QString &txttitle,
                                       const QString &txtartist, const QString &txtalbum,
                                       const QString &txtyear, const QString &txtcomment,
                                       const QString &genere, const QString &notag,
                                       const QString &nomeFile, const QString &percorso,
                                       const QString &dimenzione, const QString &labelD, qint64 id);
