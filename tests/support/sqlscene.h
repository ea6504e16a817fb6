#pragma once

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

/// Runs one SQL text on an SQLite file (made when missing) through a connection of its own, to
/// set the scene: a trigger that makes one write fail, a table of a foreign program …
inline bool execOn(const QString &sqlitePath, const QString &sql)
{
    bool ok = false;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("scene"));
        db.setDatabaseName(sqlitePath);
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
