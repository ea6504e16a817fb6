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
