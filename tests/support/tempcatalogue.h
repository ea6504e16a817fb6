#pragma once

#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguerecord.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

/// A catalogue file in a fresh temporary folder, removed with the object.
class TempCatalogue
{
public:
    TempCatalogue();
    /// The folder (the program's working folder in tests).
    QString folder() const { return m_dir.path(); }
    /// The catalogue path inside the folder.
    QString path() const { return cataloguePath(m_dir.path()); }
    /// Creates the catalogue (if needed) and adds the records; returns their keys. Fails the
    /// calling test on any error.
    QList<qint64> add(const QList<CatalogueRecord> &records) const;

private:
    QTemporaryDir m_dir;
};

/// A record with every field filled from `stem` (title "stem title", state "OK" …).
CatalogueRecord sampleRecord(const QString &stem);
