#pragma once

#include "cataloguerecord.h"

#include <QString>

class CatalogueStore;

/// What cleanStoredTexts() did.
struct TextCleanup
{
    int cleaned = 0; ///< records rewritten
    QString error;   ///< the Italian text of a failure, empty on success
    bool ok() const { return error.isEmpty(); }
};

/// A text as it should have been stored: cut at its first NUL character, then without trailing
/// blanks. A text without NUL is returned as it is (a null text stays null).
QString withoutNul(const QString &text);

/// The record with every text made as a tag reader reads it: each text holding a NUL is cut at
/// it and loses its trailing blanks (withoutNul); a title left empty by that cut takes the file
/// name (`nome`), as an untitled file's record does; a genre that is NULL or blanks only becomes
/// the empty text.
CatalogueRecord cleanedRecord(CatalogueRecord record);

/// Rewrites, once per catalogue (nothing is read or written in a catalogue marked clean), the
/// records that earlier versions stored with NUL characters
/// (tags padded with NULs) or with a NULL or blank genre (see CatalogueStore::keysToClean()),
/// as cleanedRecord() makes them, and marks the catalogue as clean: all in one transaction, so
/// on failure nothing changes. The caller compacts the catalogue when records were rewritten.
TextCleanup cleanStoredTexts(CatalogueStore &store);
