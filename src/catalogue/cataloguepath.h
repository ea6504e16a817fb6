#pragma once

#include <QString>

/// File name of the catalogue inside the folder the program was started in.
inline constexpr char kCatalogueFileName[] = "Mp3Db.mdb";

/// The catalogue path for a folder: the folder, one "/" and "Mp3Db.mdb" (no doubled separator
/// when the folder is the root).
QString cataloguePath(const QString &folder);
