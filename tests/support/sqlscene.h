#pragma once

#include <QDebug>
#include <QFile>
#include <QString>

#include <sqlite3.h>

/// Runs one SQL text on an SQLite file (made when missing) through a connection of its own, to
/// set the scene: a trigger that makes one write fail, a table of a foreign program …
inline bool execOn(const QString &sqlitePath, const QString &sql)
{
    sqlite3 *db = nullptr;
    char *error = nullptr;
    const bool ok =
        sqlite3_open(QFile::encodeName(sqlitePath).constData(), &db) == SQLITE_OK &&
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK;
    if (!ok)
        qWarning() << (error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

/// A trigger that makes the catalogue at `path` refuse an `event` ("DELETE", "UPDATE") of the
/// records `which` picks ("old.id = 7") with the reason "record locked".
inline bool refuseOn(const QString &path, const char *event, const QString &which)
{
    return execOn(path, QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON Mp3 WHEN %2 BEGIN "
                                       "SELECT RAISE(ABORT, 'record locked'); END")
                            .arg(QLatin1String(event), which));
}
