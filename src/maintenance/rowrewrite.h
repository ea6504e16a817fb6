#pragma once

#include "catalogue/cataloguestore.h"

#include <QString>

#include <optional>

/// Rewrites the record of a grid row with ModificaDB inside `transaction`, which is begun at the
/// first rewrite of a pass so that a pass that rewrites nothing writes nothing. Empty on success,
/// otherwise the Italian reason (the transaction could not begin, the record is gone, or the
/// catalogue refused the write).
QString rewriteRowRecord(CatalogueStore &store,
                         std::optional<CatalogueStore::Transaction> &transaction,
                         const CatalogueRecord &record);
