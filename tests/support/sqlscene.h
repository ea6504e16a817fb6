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

/// The integer of the first row's first column of one SQL text run on an SQLite file through a
/// connection of its own; -1 without a row.
inline qint64 integerOn(const QString &sqlitePath, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    qint64 value = -1;
    if (sqlite3_open(QFile::encodeName(sqlitePath).constData(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}
