#pragma once

#include "cataloguestore.h"
#include "recordcuts.h"

/// ModificaDB: rewrites the record whose key is `record.id` with the values of `record`:
/// `titolo`, `autore`, `album` cut to their first 30 characters, `anno` to its first 4,
/// `commento` to its first 30, each then without trailing blanks (recordText); `genere` stored
/// as passed, or as an empty text when it is empty or blanks only ("no genre"); `info`, `nome`,
/// `percorso`, `dimenzione` and `labelD` stored as passed. Nothing is padded and every value is
/// stored as text (a null value as an empty text, never NULL). `supporto` is not touched.
///
/// Returns Done, NoSuchRecord when `record.id` is not a key of the catalogue (nothing is
/// written), or Failed (the reason in the store's lastError(), the record as it was). It does
/// not compact: a user action that rewrites records compacts once at its end (CompattaDB).
CatalogueStore::WriteResult ModificaDB(CatalogueStore &store, const CatalogueRecord &record);

/// `record` as ModificaDB stores it, `supporto` as given: what the grid shows of a record it has
/// rewritten, so that grid and catalogue agree without reading the record back.
CatalogueRecord storedByModificaDB(const CatalogueRecord &record);
