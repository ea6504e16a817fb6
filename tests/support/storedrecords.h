#pragma once

#include "catalogue/cataloguestore.h"

#include <QList>

#include <optional>

/// Every record of the open catalogue, in stored order, as the store hands them to
/// visitAllRecords(); nullopt on failure.
std::optional<QList<CatalogueRecord>> storedRecords(CatalogueStore &store);

/// The records of the given keys, as visitRecordsByIds() hands them over; nullopt on failure.
std::optional<QList<CatalogueRecord>> storedRecordsByIds(CatalogueStore &store,
                                                         const QList<qint64> &ids);
