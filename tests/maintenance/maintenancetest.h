#pragma once

// Helpers shared by the tests of the maintenance commands: real folders, files and catalogue
// triggers in a temporary folder.

#include "catalogue/cataloguerecord.h"
#include "support/tempcatalogue.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <sys/stat.h>

namespace MaintenanceTest {

/// Makes `relative` below `base` and returns it with its closing "/".
inline QString makeFolder(const QString &base, const QString &relative)
{
    const QString path = base + u'/' + relative;
    if (!QDir().mkpath(path))
        qFatal("cannot make %s", qPrintable(path));
    return QDir::cleanPath(path) + u'/';
}

/// A record of the file `name` (without extension) in `folder`, in the state `state`.
inline CatalogueRecord fileRecord(const QString &folder, const QString &name,
                                  const QString &state = QStringLiteral("OK"))
{
    CatalogueRecord r = sampleRecord(name);
    r.percorso = folder;
    r.nome = name;
    r.info = state;
    return r;
}

/// The whole contents of a file; empty when it cannot be read.
inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The permission bits of a file (links followed), or -1 when there is none.
inline int permissionBits(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 07777);
}

/// Runs one SQL text on the catalogue file through a connection of its own, to set the scene
/// (a trigger that makes one write fail, for instance).
inline bool execOn(const QString &cataloguePath, const QString &sql)
{
    bool ok = false;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("scene"));
        db.setDatabaseName(cataloguePath);
        if (db.open()) {
            QSqlQuery query(db);
            ok = query.exec(sql);
            if (!ok)
                qWarning() << query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("scene"));
    return ok;
}

} // namespace MaintenanceTest
